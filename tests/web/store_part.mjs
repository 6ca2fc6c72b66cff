// The ranking in the browser's storage: two tabs of one browser each enter a
// name and neither entry is lost; a name typed on an AZERTY keyboard is the
// one its keys are labelled with; text the game does not know is kept as it
// is; a reload reads the ranking back; fresh storage gives the defaults; and
// storage that fails or is full is told once while the game plays on.
import {join} from 'node:path';
import {check, done, gameState, kTimeScale, openPage, pressToPlay, sceneState, status, tap, waitFor} from './lib.mjs';

const kKey = 'KorvaGames/Velloria/ranking.ini';
const kSettings = 'KorvaGames/Velloria/settings.ini';
// A line of the stored file written by something else: accents, a character
// outside the first plane, a lone surrogate and a NUL.
const kForeign = 'Note=h\u00e9llo \ud83d\ude00 \ud800 x\u0000y';

// Keys sent by place and character, as an AZERTY keyboard sends them.
async function azerty(page, keys) {
  const cdp = await page.context().newCDPSession(page);
  for (const [code, key] of keys) {
    const event = {code, key, text: key, windowsVirtualKeyCode: key.toUpperCase().charCodeAt(0)};
    await cdp.send('Input.dispatchKeyEvent', {type: 'keyDown', ...event});
    await page.waitForTimeout(100);
    await cdp.send('Input.dispatchKeyEvent', {type: 'keyUp', ...event});
    await page.waitForTimeout(60);
  }
}

async function toNameEntry(page) {
  await pressToPlay(page);
  await waitFor(page, 'the game', s => s.scene === sceneState.kGameRunning, 20);
  await tap(page, 's');  // four times the speed until the game is over
  await waitFor(page, 'the name entry', s => s.state === gameState.kNameEntry, 120);
}

async function twoTabs(env, pages) {
  const first = await openPage(env.browser, env.origin, '/?start=4-5:60&seed=3', pages);
  const context = first.context();
  await first.evaluate(([key, foreign]) => {
    localStorage.setItem(key, `[Software\\KorvaGames\\Velloria]\n${foreign}\n`);
  }, [kKey, kForeign]);
  const second = await context.newPage();
  await second.goto(`${env.origin}/?start=4-5:60&seed=4`);
  // Both runs read the ranking before either enters a name.
  await Promise.all([toNameEntry(first), toNameEntry(second)]);
  // a z q w m on AZERTY: the keys in the places of q w a z and the semicolon.
  await azerty(first, [['KeyQ', 'a'], ['KeyW', 'z'], ['KeyA', 'q'], ['KeyZ', 'w'], ['Semicolon', 'm']]);
  await first.screenshot({path: join(env.out, 'name-entry.png')});
  await tap(first, 'Enter');
  await first.waitForFunction(key => /AZQWM/.test(localStorage.getItem(key)), kKey, {timeout: 5000 * kTimeScale});
  for (const key of ['t', 'w', 'o']) await tap(second, key);
  await tap(second, 'Enter');
  const stored = await second.waitForFunction(key => /TWO/.test(localStorage.getItem(key)) && localStorage.getItem(key),
                                              kKey, {timeout: 5000 * kTimeScale})
                     .then(h => h.jsonValue(), () => second.evaluate(key => localStorage.getItem(key), kKey));
  check(/\nRank5=60,AZQWM\n/.test(stored), `AZERTY keys a z q w m enter "AZQWM" (${JSON.stringify(stored)})`);
  check(/\nRank5=60,AZQWM\n/.test(stored) && /\nRank6=60,TWO\n/.test(stored),
        'two tabs: the later save enters its name into the table the earlier one stored; both are kept');
  check(stored.includes(`\n${kForeign}\n`), 'text in the stored ranking that the game does not know is kept as it is');
  await second.close();

  // F1 opens the options over the picture and holds the game; Left three
  // times on MUSIC sets 70, heard at once and kept; Escape closes them and
  // the game goes on. The sound button's choice is kept beside it.
  await tap(first, 'F1');
  const held = await waitFor(first, 'the options to hold the game', s => s.paused === 1, 3);
  const over = await first.evaluate(() => window.velloria.overlaid());
  const title = await first.title();
  for (let i = 0; i < 3; ++i) await tap(first, 'ArrowLeft');
  const settings = () => first.evaluate(key => localStorage.getItem(key), kSettings);
  const seventy = await settings();
  const level = await first.evaluate(() => window.velloria.levels());
  await first.screenshot({path: join(env.out, 'desktop-options.png')});
  await tap(first, 'Escape');
  const after = await waitFor(first, 'the game to go on', s => s.paused === 0 && s.frame > held.frame, 3)
                    .catch(() => status(first));
  check(over.differing > 10000 && title === 'Velloria - Paused' && /^music-volume=70$/m.test(seventy) &&
            Math.abs(level.music - 0.7) < 1e-6 && after.paused === 0 &&
            (await first.evaluate(() => window.velloria.running())),
        `F1 opens the options over the picture (${over.differing} pixels) and holds the game ("${title}"); ` +
            `Left three times on MUSIC keeps music-volume=70 (gain ${level && level.music}); Escape closes them ` +
            `and the game goes on (frame ${held.frame} -> ${after.frame})`);
  await first.click('#mute');
  await first.waitForFunction(key => /^mute=on$/m.test(localStorage.getItem(key)), kSettings,
                              {timeout: 3000 * kTimeScale}).catch(() => {});

  await first.reload();
  await pressToPlay(first);
  const pressed = await first.getAttribute('#mute', 'aria-pressed');
  const ranking = await first.evaluate(() => window.velloria.ranking());
  check(ranking.some(e => e.name === 'AZQWM') && ranking.some(e => e.name === 'TWO'),
        `the reloaded page reads both back (${ranking.map(e => e.score + ' ' + e.name).join(', ')})`);
  const kept = await first.evaluate(() => window.velloria.settings());
  const gains = await first.evaluate(() => window.velloria.levels());
  check(kept['music-volume'] === '70' && kept.mute === 'on' && pressed === 'true' &&
            gains.music === 0 && gains.effects === 0,
        `after a reload the settings say music-volume=${kept['music-volume']}, mute=${kept.mute}; the sound ` +
            `button shows it (pressed ${pressed}) and nothing sounds (${JSON.stringify(gains)})`);
  await done(first);
}

// Storage that throws at every use, as a browser set to keep nothing does.
const breakStorage = () => {
  for (const name of ['getItem', 'setItem', 'removeItem']) {
    Storage.prototype[name] = () => {
      throw new DOMException('blocked', 'SecurityError');
    };
  }
};

async function failingStorage(env, pages) {
  const page = await openPage(env.browser, env.origin, null, pages);
  await page.addInitScript(breakStorage);
  await page.goto(`${env.origin}/?start=1-1`);
  await pressToPlay(page);
  const s = await waitFor(page, 'the game to go on', s => s.scene === sceneState.kGameRunning && s.frame > 50, 20);
  const notice = await page.locator('#notice').innerText();
  await page.screenshot({path: join(env.out, 'storage-notice.png')});
  check(/will be lost/.test(notice) && s.frame > 50,
        `storage that fails is told (${JSON.stringify(notice)}) and the game plays on (frame ${s.frame})`);
  await done(page);
}

// Fresh storage: the default ranking and settings, and the first change
// makes the settings' key. Full storage: a change is not kept, the page says
// so once, what was stored stays as it was, and the game plays on.
async function freshThenFull(env, pages) {
  const page = await openPage(env.browser, env.origin, '/?start=1-1', pages);
  const stored = () => page.evaluate(keys => keys.map(k => localStorage.getItem(k)), [kKey, kSettings]);
  const before = await stored();
  await pressToPlay(page);
  await waitFor(page, 'the game', s => s.scene === sceneState.kGameRunning, 20);
  const ranking = await page.evaluate(() => window.velloria.ranking());
  const settings = await page.evaluate(() => window.velloria.settings());
  await page.click('#fit');
  const [, kept] = await stored();
  check(before.every(v => v === null) && ranking.length === 8 && ranking.every(e => e.score > 0 && e.name) &&
            settings.fit === undefined && settings.mute === 'off' && /^fit=fill$/m.test(kept || ''),
        `fresh storage: eight default places (first ${JSON.stringify(ranking[0])}), no fit line (auto): ${settings.fit}, ` +
            `mute=${settings.mute}; the first change is stored`);

  await page.evaluate(() => {
    Storage.prototype.setItem = () => {
      throw new DOMException('the quota is used up', 'QuotaExceededError');
    };
  });
  await page.click('#fit');
  const notice = await page.locator('#notice').innerText();
  const [, after] = await stored();
  const s = await status(page);
  const later = await waitFor(page, 'the game to go on', t => t.frame > s.frame + 10, 5).catch(() => status(page));
  check(/is full/.test(notice) && after === kept && later.frame > s.frame + 10 &&
            (await page.evaluate(() => window.velloria.settings().fit)) === 'whole',
        `full storage: the change applies but is not kept, the page says "${notice}", the stored settings are ` +
            `as they were, and the game plays on`);
  await done(page);
}

export const storage = (env, pages) =>
  Promise.all([twoTabs(env, pages), failingStorage(env, pages), freshThenFull(env, pages)]);
