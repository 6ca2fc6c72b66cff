// The page on a desktop, played with real keys: the start screen, the logo
// and the title, EPISODE 1 flown and fired, the pad, the music, focus loss
// (a pause that runs nothing, keys let go), the tab's title, the sound
// button, Escape asking and "Play again", and the run's replay saved and watched.
import {execFile} from 'node:child_process';
import {promisify} from 'node:util';
import {readFileSync} from 'node:fs';
import {join} from 'node:path';
import {canvasShot, check, differingIndices, kTimeScale, openPage, pressToPlay, sceneState, startEpisode, status, tap,
        waitFor} from './lib.mjs';

// Frames whose pictures the page keeps, to compare with the desktop's
// replay of the saved file: the ones the run reached.
const kKept = [150, 300, 450, 600, 750, 900, 1050, 1200, 1350, 1500];

// The canvas's pixels as the page shows them: how many colours it holds.
const canvasColours = page => page.evaluate(() => {
  const canvas = document.getElementById('canvas');
  const copy = document.createElement('canvas');
  [copy.width, copy.height] = [canvas.width, canvas.height];
  const context = copy.getContext('2d');
  context.drawImage(canvas, 0, 0);
  const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
  const colours = new Set();
  for (let i = 0; i < data.length; i += 4) colours.add((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]);
  return colours.size;
});

// Counts the page's animation frames, to see that nothing runs while paused.
const countFrames = () => {
  const request = window.requestAnimationFrame.bind(window);
  window.animationFrames = 0;
  window.requestAnimationFrame = callback => request(time => {
    window.animationFrames += 1;
    callback(time);
  });
};

export async function playWithKeys(env, pages) {
  const {browser, origin, out, velloria, hasTunes, scratch} = env;
  const page = await openPage(browser, origin, null, pages);
  await page.addInitScript(countFrames);
  // The first tune cannot be fetched until the network is back (below).
  const noTune = route => route.abort();
  if (hasTunes) await page.route('**/Music01.ogg', noTune);
  await page.goto(`${origin}/?shot=${kKept.join(',')}`);
  await page.waitForSelector('#start-text:text-matches("press a key")', {timeout: 30000 * kTimeScale});
  await page.screenshot({path: join(out, 'start-screen.png')});
  const waiting = await status(page);
  await page.waitForTimeout(300);
  const waited = await status(page);
  const tuneFile = await page.evaluate(() => window.velloria.music().file);
  check((waiting === null || waiting.frame === waited.frame) && !tuneFile,
        'the start screen waits: nothing runs and nothing sounds before the first key');
  await pressToPlay(page);
  await waitFor(page, 'the logo', s => s.scene === sceneState.kLogoRunning && s.frame > 60, 20);
  const logoColours = await canvasColours(page);
  await canvasShot(page, out, 'logo.png');
  const music = hasTunes ? await page.evaluate(() => window.velloria.music()) : null;
  // Enter skips the rest of the logo (over six seconds of it): the title
  // comes at once, and the run's replay (saved below) knows nothing of it.
  await tap(page, 'Enter');
  const skipped = await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 3).catch(() => status(page));
  check(skipped.scene === sceneState.kTitleRunning, `Enter during the logo skips to the title (scene ${skipped.scene})`);
  await page.waitForTimeout(500);
  const titleColours = await canvasColours(page);
  await canvasShot(page, out, 'title.png');
  check(logoColours > 16 && titleColours > 64 && titleColours !== logoColours,
        `(a) logo then title on the canvas (${logoColours} and ${titleColours} colours)`);
  if (hasTunes) check(music.audio === 'running', `the key that started the game started the sound (${music.audio})`);

  let s = await startEpisode(page);
  check(s.stage === 1 && s.level === 1, `(b) Enter on the title starts EPISODE 1 (stage ${s.stage}-${s.level})`);
  const x0 = s.x;
  await page.keyboard.down('ArrowRight');
  s = await waitFor(page, 'the witch to fly right', s => s.x >= x0 + 60, 15).catch(() => status(page));
  await page.keyboard.up('ArrowRight');
  // Held until the shot shows: a busy machine may run no frame in a short tap.
  await page.keyboard.down('Space');
  const fired = await waitFor(page, 'a shot', s => s.shots > 0, 10).catch(() => status(page));
  await page.keyboard.up('Space');
  await page.screenshot({path: join(out, 'desktop.png')});
  check(s.x >= x0 + 60 && fired.shots > 0,
        `(b) the right arrow flies the witch right (x ${x0} -> ${s.x}), Space fires`);

  // P: PAUSED lies over the game's picture on the canvas, and is gone once
  // P resumes the game (the canvas is the game's picture again).
  await tap(page, 'p');
  await waitFor(page, 'the pause', s => s.paused === 1, 3);
  const pausedOver = await page.evaluate(() => window.velloria.overlaid());
  const pausedTitle = await page.title();
  await page.screenshot({path: join(out, 'desktop-paused.png')});
  await tap(page, 'p');
  await waitFor(page, 'the game to resume', s => s.paused === 0, 3);
  await page.waitForTimeout(100);
  const playOver = await page.evaluate(() => window.velloria.overlaid());
  check(pausedOver.differing > 2000 && pausedOver.differing < pausedOver.of / 4 &&
            pausedOver.dimmed > pausedOver.of / 2 && playOver.differing + playOver.dimmed === 0 &&
            pausedTitle === 'Velloria - Paused',
        `P shows PAUSED over the picture (${pausedOver.differing} of ${pausedOver.of} pixels differ from the ` +
            `game's own, ${pausedOver.dimmed} dimmed; the tab reads "${pausedTitle}"), gone after P again ` +
            `(${playOver.differing})`);

  // A pad (a stand-in for what the Gamepad API lists) pushed left.
  await page.evaluate(() => {
    const buttons = Array.from({length: 16}, () => ({pressed: false}));
    navigator.getGamepads = () => [null, {connected: true, axes: [-0.9, 0], buttons}];
    window.dispatchEvent(new Event('gamepadconnected'));
  });
  const padX = (await status(page)).x;
  const steered = await waitFor(page, 'the pad to steer', s => s.x <= padX - 40, 15).catch(() => status(page));
  await page.evaluate(() => {
    navigator.getGamepads = () => [];
  });
  check(steered.x <= padX - 40, `the first pad's stick flies the witch left (x ${padX} -> ${steered.x})`);

  // The network is back: the tune is fetched again the next time it is
  // wanted (when the game resumes below), not silent for the session.
  const silent = hasTunes ? await page.evaluate(() => window.velloria.music()) : null;
  if (hasTunes) await page.unroute('**/Music01.ogg', noTune);

  // Right held while the focus goes elsewhere and let go there: back in the
  // game the witch does not fly on, and Left steers.
  await page.keyboard.down('ArrowRight');
  await page.waitForTimeout(200);
  await page.evaluate(() => document.getElementById('fullscreen').focus());
  await page.keyboard.up('ArrowRight');
  await page.focus('#canvas');
  await waitFor(page, 'the game to resume', s => s.paused === 0, 3);
  const back = await status(page);
  await page.waitForTimeout(400);
  const still = await status(page);
  await page.keyboard.down('ArrowLeft');
  const left = await waitFor(page, 'Left to steer', s => s.x <= still.x - 20, 3).catch(() => status(page));
  await page.keyboard.up('ArrowLeft');
  check(still.x === back.x && still.frame > back.frame && left.x <= still.x - 20,
        `a key let go outside the game is let go in it: the witch stays (x ${back.x} -> ${still.x}), ` +
            `Left steers (${left.x})`);

  if (hasTunes) {
    const sounding = await page.waitForFunction(() => window.velloria.music().sounding, null, {timeout: 10000})
                         .then(() => true, () => false);
    check(silent.file === 'Music01.ogg' && !silent.sounding && sounding,
          'a tune whose fetch failed is fetched again when next wanted, and plays');
  }

  // Focus loss pauses the game, stops the music keeping its place, names the
  // pause in the tab's title, and runs nothing: no animation frames.
  await page.evaluate(() => document.getElementById('canvas').blur());
  const paused = await waitFor(page, 'the pause', s => s.paused === 1, 3);
  const stopped = await page.evaluate(() => window.velloria.music());
  const framesBefore = await page.evaluate(() => window.animationFrames);
  await page.waitForTimeout(600);
  const later = await status(page);
  const framesAfter = await page.evaluate(() => window.animationFrames);
  const still2 = await page.evaluate(() => window.velloria.music());
  const title = await page.title();
  check(later.paused === 1 && later.x === paused.x && !still2.sounding && still2.position === stopped.position &&
            framesAfter - framesBefore <= 1 && title === 'Velloria - Paused',
        `focus loss pauses: the witch stays, the music stops, ${framesAfter - framesBefore} animation frames in ` +
            `600 ms, the tab reads "${title}"`);
  await page.focus('#canvas');
  await waitFor(page, 'the game to resume', s => s.paused === 0, 3);
  if (hasTunes) {
    const resumed = await page.waitForFunction(() => window.velloria.music().sounding, null, {timeout: 3000})
                        .then(() => page.evaluate(() => window.velloria.music()), () => null);
    check(resumed && resumed.position >= stopped.position && resumed.position < stopped.position + 1,
          `focus back: the tune resumes where it stopped (${stopped.position.toFixed(2)} s)`);
    // The tune's end: the loop runs on into the next play and the game's
    // replay adopts it (a join) instead of starting the tune again.
    const before = await page.evaluate(() => window.velloria.music());
    await page.evaluate(() => window.velloria.seekMusic(window.velloria.music().duration - 0.5));
    await page.waitForTimeout(1500 * kTimeScale);
    const after = await page.evaluate(() => window.velloria.music());
    check(after.joins === before.joins + 1 && after.plays === before.plays + 1 && after.sounding &&
              after.position > 0.5 && after.position < 2.5,
          `the tune loops at its end without a restart (${JSON.stringify(after)})`);
    const storedMute = () => page.evaluate(() => /^mute=(.*)$/m.exec(
        localStorage.getItem('KorvaGames/Velloria/settings.ini'))?.[1]);
    await page.click('#mute');
    const gains = await page.evaluate(() => window.velloria.levels());
    const stored = await storedMute();
    await page.click('#mute');
    const unmuted = await page.evaluate(() => window.velloria.levels());
    const unstored = await storedMute();
    check(gains.effects === 0 && gains.music === 0 && stored === 'on' && unmuted.effects === 1 &&
              unmuted.music === 1 && unstored === 'off',
          `the sound button silences music and effects and is kept with the settings (${JSON.stringify(gains)}, ` +
              `mute=${stored}, then mute=${unstored})`);
  }

  // Fast mode shows in the tab's title too.
  await tap(page, 's');
  const fastTitle = await page.title();
  await tap(page, 's');
  check(fastTitle === 'Velloria - Fast' && (await page.title()) === 'Velloria',
        `fast mode: the tab reads "${fastTitle}"`);

  // A hidden page gets no animation frames: the pause must happen inside the
  // visibility event itself, music included.
  const hide = hidden => page.evaluate(hidden => {
    Object.defineProperty(document, 'hidden', {value: hidden, configurable: true});
    Object.defineProperty(document, 'visibilityState', {value: hidden ? 'hidden' : 'visible', configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
    return [window.velloria.status().paused, window.velloria.music().playing];
  }, hidden);
  const [hiddenPaused, hiddenPlaying] = await hide(true);
  const [shownPaused] = await hide(false);
  check(hiddenPaused === 1 && !hiddenPlaying && shownPaused === 0,
        'a hidden page pauses at once and stops the music; shown again it resumes');

  // Escape in a game holds it and asks; any other key plays on, and a second
  // Escape ends the run.
  await tap(page, 'Escape');
  await waitFor(page, 'the quit question', s => s.paused === 1, 3);
  const askedOver = await page.evaluate(() => window.velloria.overlaid());
  await tap(page, 'ArrowUp');
  const goesOn = await waitFor(page, 'the game to go on', s => s.paused === 0, 3).catch(() => status(page));
  check(askedOver.differing > 2000 && goesOn.paused === 0 && (await page.evaluate(() => window.velloria.running())),
        `Escape in a game asks (${askedOver.differing} pixels of the question) and another key plays on`);
  await tap(page, 'Escape');
  await waitFor(page, 'the quit question', s => s.paused === 1, 3);
  await tap(page, 'Escape');
  await page.waitForFunction(() => !window.velloria.running(), null, {timeout: 5000 * kTimeScale});
  const lastFrame = (await status(page)).frame;
  check(await page.isVisible('#again'), 'Escape twice ends the run and leaves "Play again"');

  // The run's replay: saved as a file the desktop plays to the same pictures.
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-replay')]);
  const saved = join(scratch, 'saved-replay.txt');
  await download.saveAs(saved);
  const frame = kKept.filter(f => f < lastFrame).pop();
  const desktopPng = join(scratch, `saved-${frame}.png`);
  await promisify(execFile)(velloria, ['--headless', '--input', saved, '--frames', String(frame + 1), '--shot',
                                       `${frame}:${desktopPng}`], {env: {...process.env, XDG_CONFIG_HOME: scratch}});
  const differing = await differingIndices(page, frame, desktopPng);
  check(download.suggestedFilename() === 'velloria-replay.txt' && differing === 0,
        `"Save replay" gives the run's input file: the desktop's --input plays it to the same picture after frame ` +
            `${frame} (${differing} indices differ; ${readFileSync(saved, 'utf8').split('\n').length} lines)`);

  // "Watch a replay" plays a picked file in the page: the same picture again.
  const early = kKept[0];
  const first = await page.evaluate(f => window.velloria.picture(f).indices, early);
  await page.evaluate(() => window.velloria.forgetPictures());
  await page.setInputFiles('#replay-file', saved);
  await page.waitForFunction(f => window.velloria.picture(f), early, {timeout: 20000 * kTimeScale});
  const watched = await page.evaluate(f => window.velloria.picture(f).indices, early);
  check(watched === first, `"Watch a replay" plays the picked file: the picture after frame ${early} is the run's`);

  await page.click('#again').catch(() => {});
}
