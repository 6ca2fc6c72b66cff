// What the page does around a game in progress: a standard pad's Start
// pauses and Back opens the options; leaving or reloading asks first; a
// replay file too large or not a replay is refused in the page while the
// game plays on.
import {check, done, gameState, kTimeScale, openPage, pressToPlay, sceneState, status, waitFor} from './lib.mjs';

const kStart = 9;
const kBack = 8;
const kMegabyte = 1024 * 1024;

// A button of the stand-in pad held as a thumb holds it.
async function pressPad(page, button) {
  await page.evaluate(b => {
    window.padButtons[b].pressed = true;
  }, button);
  await page.waitForTimeout(200);
  await page.evaluate(b => {
    window.padButtons[b].pressed = false;
  }, button);
  await page.waitForTimeout(100);
}

async function goesOn(page, what) {
  const before = await status(page);
  const after = await waitFor(page, what, s => s.frame > before.frame + 10, 5).catch(() => status(page));
  return after.scene === sceneState.kGameRunning && after.frame > before.frame + 10 && after.paused === 0;
}

async function pad(page) {
  await page.evaluate(() => window.dispatchEvent(new Event('gamepadconnected')));
  const paused = s => s.paused === 1;
  await pressPad(page, kStart);
  const byStart = await waitFor(page, 'Start to pause', paused, 3).catch(() => status(page));
  await pressPad(page, kStart);
  const resumed = await waitFor(page, 'Start to resume', s => s.paused === 0, 3).catch(() => status(page));
  await pressPad(page, kBack);
  const byBack = await waitFor(page, 'Back to open the options', s => s.options === 1, 3).catch(() => status(page));
  await pressPad(page, kBack);
  const closed = await waitFor(page, 'Back to close them', s => s.options === 0 && s.paused === 0, 3)
                     .catch(() => status(page));
  check(byStart.paused === 1 && byStart.options === 0 && resumed.paused === 0 && byBack.options === 1 &&
            closed.options === 0 && closed.paused === 0,
        `the pad's Start (button 9) pauses and resumes (paused ${byStart.paused}, then ${resumed.paused}); ` +
            `Back (8) opens the options and closes them (options ${byBack.options}, then ${closed.options})`);
}

// The browser's own question before the page goes: turned down, the game
// is still there and runs.
async function leaving(page) {
  const asked = page.waitForEvent('dialog', {timeout: 5000 * kTimeScale}).then(async dialog => {
    await dialog.dismiss();
    return dialog.type();
  }, () => 'none');
  await page.evaluate(() => {
    window.sameDocument = true;
    setTimeout(() => location.reload(), 0);
  });
  const type = await asked;
  const kept = await page.evaluate(() => window.sameDocument === true).catch(() => false);
  check(type === 'beforeunload' && kept && (await goesOn(page, 'the game after staying')),
        `a reload mid-game asks first (${type}); staying, the game plays on`);
}

// A 300 MB file, made in the page from one megabyte repeated (nothing of
// it on disk), dropped; then a file that is not a replay, picked.
async function files(page) {
  const dropped = await page.evaluate(megabyte => {
    const chunk = new Blob([new Uint8Array(megabyte)]);
    const file = new File(Array.from({length: 300}, () => chunk), 'huge.txt', {type: 'text/plain'});
    const transfer = new DataTransfer();
    transfer.items.add(file);
    document.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
    return file.size;
  }, kMegabyte);
  const huge = await page.waitForSelector('#message:text-matches("MB")', {timeout: 3000 * kTimeScale})
                   .then(e => e.innerText(), () => '(nothing said)');
  const afterHuge = await goesOn(page, 'the game after the large file');
  check(dropped === 300 * kMegabyte && /huge\.txt is 300 MB, larger than the 16 MB/.test(huge) && afterHuge,
        `a 300 MB file dropped is refused unread: "${huge}"; the game goes on`);

  await page.setInputFiles('#replay-file', {name: 'notes.txt', mimeType: 'text/plain',
                                            buffer: Buffer.from('shopping: eggs, flour\n')});
  const garbage = await page.waitForSelector('#message:text-matches("not a Velloria replay")',
                                             {timeout: 3000 * kTimeScale})
                      .then(e => e.innerText(), () => '(nothing said)');
  const afterGarbage = await goesOn(page, 'the game after the wrong file');
  check(/^This is not a Velloria replay: line 1\b/.test(garbage) && afterGarbage,
        `a picked file that is not a replay is told: "${garbage}"; the game goes on`);
}

export async function comforts(env, pages) {
  const page = await openPage(env.browser, env.origin, null, pages);
  await page.addInitScript(() => {
    window.padButtons = Array.from({length: 17}, () => ({pressed: false, value: 0}));
    navigator.getGamepads = () => [{connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                                    buttons: window.padButtons}];
  });
  // Invulnerable, so that no game over ends the game under the checks on a slow machine.
  await page.goto(env.origin + '/?start=1-1&seed=3&invulnerable');
  await pressToPlay(page);
  await waitFor(page, 'the game', s => s.scene === sceneState.kGameRunning && s.state === gameState.kPlaying, 30);
  await pad(page);
  await leaving(page);
  await files(page);
  await done(page);
}
