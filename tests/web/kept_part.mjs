// Runs kept on the page: a run played and left is listed in the options'
// REPLAYS, EXPORT downloads it, WATCH plays it with REPLAY over the game and
// Escape returns to the title; after a reload it is listed still, and once
// deleted it stays gone through the next. A browser without IndexedDB, or
// with its storage full, says so once, and plays on.
import {readFileSync} from 'node:fs';
import {canvasShot, check, done, kTimeScale, openPage, pressToPlay, sceneState, startEpisode, status, tap,
        waitFor} from './lib.mjs';

// REPLAYS' and PRACTICE's places among the options' items, and START's on
// PRACTICE's page.
const kReplaysItem = 9;
const kPracticeItem = 10;
const kPracticeStart = 3;
// How long the run is played before it is left.
const kPlayedFrames = 300;

const listed = page => page.evaluate(() => window.velloria.keptRuns());
const overlaid = page => page.evaluate(() => window.velloria.overlaid().differing);

async function openItem(page, item) {
  await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 30);
  await page.evaluate(() => Module._velloria_options());
  for (let i = 0; i < item; ++i) await tap(page, 'ArrowDown');
  await tap(page, 'Enter');
}

async function leaveGame(page) {
  await tap(page, 'Escape');
  await waitFor(page, 'the quit question', s => s.paused === 1, 3);
  await tap(page, 'Escape');
}

// The list as the page reads it back from the browser after a reload.
async function reloaded(page) {
  await page.waitForFunction(() => !window.velloria.keptRunsSaving(), null, {timeout: 10000 * kTimeScale});
  await page.reload();
  await pressToPlay(page);
  return listed(page);
}

async function playedAndKept(env, pages) {
  const page = await openPage(env.browser, env.origin, '/?seed=5', pages);
  await pressToPlay(page);
  const begun = await startEpisode(page);
  await waitFor(page, 'some play', s => s.frame > begun.frame + kPlayedFrames, 30);
  await leaveGame(page);
  await page.waitForFunction(() => !window.velloria.running(), null, {timeout: 5000 * kTimeScale});
  const kept = await listed(page);

  await page.click('#again');
  await openItem(page, kReplaysItem);
  await page.waitForTimeout(200);
  const shownOver = await overlaid(page);
  await canvasShot(page, env.out, 'kept-replays.png');
  await tap(page, 'ArrowRight');
  await tap(page, 'ArrowRight');
  const [download] = await Promise.all([page.waitForEvent('download'), tap(page, 'Enter')]);
  const exported = readFileSync(await download.path(), 'utf8');
  check(/^velloria-\d{8}-\d{6}-1\.txt$/.test(download.suggestedFilename()) && /^version /m.test(exported) &&
            /^check 250 /m.test(exported),
        `EXPORT downloads the run's file (${download.suggestedFilename()}, ${exported.split('\n').length} lines)`);
  await tap(page, 'ArrowLeft');
  await tap(page, 'ArrowLeft');
  await tap(page, 'Enter');  // WATCH, the newest run chosen
  const watched = await waitFor(page, 'the kept run to play',
                                s => s.options === 0 && s.scene === sceneState.kGameRunning, 20);
  const later = await waitFor(page, 'its frames to advance', s => s.frame > watched.frame + 50, 20)
                    .catch(() => status(page));
  const replayOver = await overlaid(page);
  await canvasShot(page, env.out, 'kept-watched.png');
  check(kept.length === 1 && /^\d\d-\d\d \d\d\.\d\d EPISODE 1 /.test(kept[0]) && shownOver > 2000 &&
            later.frame > watched.frame + 50 && replayOver > 0,
        `a run left mid-game is kept: REPLAYS lists it ("${kept[0]}", ${shownOver} pixels of the list); WATCH ` +
            `plays it (frame ${watched.frame} to ${later.frame}) with REPLAY over it (${replayOver} pixels)`);
  // P holds the replay (no frame runs) and lets it go on.
  await tap(page, 'p');
  const held = await status(page);
  await page.waitForTimeout(500);
  const stillHeld = await status(page);
  await tap(page, 'p');
  const goesOn = await waitFor(page, 'the replay to go on', s => s.frame > stillHeld.frame + 10, 5)
                     .catch(() => status(page));
  check(held.frame === stillHeld.frame && goesOn.frame > stillHeld.frame + 10,
        `P holds the watched run at frame ${held.frame} (${stillHeld.frame} half a second later) and P again ` +
            `lets it go on (frame ${goesOn.frame})`);
  await tap(page, 'Escape');
  const title = await waitFor(page, 'the title after the replay', s => s.scene === sceneState.kTitleRunning, 10)
                    .catch(() => status(page));
  const again = await reloaded(page);
  check(title.scene === sceneState.kTitleRunning && again.length === 1 && again[0] === kept[0],
        `Escape leaves the replay for the title; after a reload the run is listed still ("${again[0]}")`);

  // PRACTICE offers the level the run reached; the practice run left, the
  // title follows.
  await openItem(page, kPracticeItem);
  for (let i = 0; i < kPracticeStart; ++i) await tap(page, 'ArrowDown');
  await tap(page, 'Enter');
  const practice = await waitFor(page, 'the practice run', s => s.scene === sceneState.kGameRunning && s.level === 1,
                                 20);
  await leaveGame(page);
  const back = await waitFor(page, 'the title after practice', s => s.scene === sceneState.kTitleRunning, 10)
                   .catch(() => status(page));
  const withPractice = await listed(page);
  check(practice.stage === 1 && back.scene === sceneState.kTitleRunning && withPractice.length === 2 &&
            / PRACTICE 1-1 /.test(withPractice[0]),
        `PRACTICE plays 1-1 and returns to the title; its run is kept ("${withPractice[0]}")`);

  await openItem(page, kReplaysItem);
  await tap(page, 'ArrowLeft');
  await tap(page, 'ArrowLeft');
  await tap(page, 'Enter');  // DELETE asks
  await tap(page, 'Enter');
  const deleted = await listed(page);
  const afterDelete = await reloaded(page);
  check(deleted.join() === kept.join() && afterDelete.join() === kept.join(),
        `DELETE takes the newest run out, and it stays out after a reload (${afterDelete.length} listed)`);
  await done(page);
}

async function noDatabase(env, pages) {
  const page = await openPage(env.browser, env.origin, null, pages);
  await page.addInitScript(() => {
    Object.defineProperty(window, 'indexedDB', {get: () => undefined});
  });
  await page.goto(env.origin + '/');
  const begun = await pressToPlay(page);
  const notice = await page.locator('#notice').innerText();
  const goesOn = await waitFor(page, 'the page to play on', s => s.frame > begun.frame + 25, 10).catch(() => null);
  check(/does not let the page keep replays/.test(notice) && goesOn !== null,
        `without IndexedDB the page says so ("${notice}") and plays on`);
  await done(page);
}

async function fullDatabase(env, pages) {
  const page = await openPage(env.browser, env.origin, null, pages);
  await page.addInitScript(() => {
    IDBObjectStore.prototype.put = () => {
      throw new DOMException('no room', 'QuotaExceededError');
    };
  });
  await page.goto(env.origin + '/');
  await pressToPlay(page);
  await startEpisode(page);
  await leaveGame(page);
  await page.waitForFunction(() => !window.velloria.running(), null, {timeout: 5000 * kTimeScale});
  const notice = await page.locator('#notice').innerText();
  check(/storage for this page is full: runs played now/.test(notice) && (await listed(page)).length === 1,
        `storage full: the page says so ("${notice}"), and the run is listed until the page closes`);
  await done(page);
}

export const keptRuns = (env, pages) =>
  Promise.all([playedAndKept(env, pages), noDatabase(env, pages), fullDatabase(env, pages)]);
