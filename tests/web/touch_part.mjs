// The page on phones, with touch: upright (390x844) and lying (844x390), and
// small ones at 320 px wide, lying at 568x320 and 480x320. The picture lies inside the viewport and the
// controls beside it, never over it, in full screen too; lying, it is no
// smaller than upright; a tap starts the game, a held touch steers,
// steering and firing go together, the menus take up, down and OK, and the
// name field types into the name entry.
import {join} from 'node:path';
import {check, done, gameState, kTimeScale, openPage, sceneState, status, waitFor} from './lib.mjs';

const kPhone = {hasTouch: true, isMobile: true, deviceScaleFactor: 1};
const kLabels = ['Left', 'Right', 'Up', 'Down', 'Fire', 'Confirm', 'Pause', 'Options'];

// Touches held as fingers hold them, several at once, through the DevTools
// protocol: each finger is {id, at: [x, y]}.
async function fingers(page) {
  const cdp = await page.context().newCDPSession(page);
  const points = new Map();
  const send = type => cdp.send('Input.dispatchTouchEvent', {
    type,
    touchPoints: [...points.values()].map(p => ({x: p.at[0], y: p.at[1], id: p.id})),
  });
  return {
    async down(id, at) {
      const first = points.size === 0;
      points.set(id, {id, at});
      await send(first ? 'touchStart' : 'touchMove');
    },
    async up(id) {
      points.delete(id);
      await (points.size === 0 ? cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []})
                               : send('touchMove'));
    },
  };
}

const centre = async (page, label) => {
  const box = await page.getByLabel(label, {exact: true}).boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2];
};

// The start screen's tap, where the screen lies before the controls show.
async function tapToPlay(touch, page) {
  await page.waitForSelector('#start-text:text-matches("press a key")', {timeout: 30000 * kTimeScale});
  const box = await page.locator('#start').boundingBox();
  await touch.down(1, [box.x + box.width / 2, box.y + box.height / 2]);
  await touch.up(1);
}

async function touchTap(touch, page, label, ms = 200) {
  await touch.down(1, await centre(page, label));
  await page.waitForTimeout(ms);
  await touch.up(1);
  await page.waitForTimeout(80);
}

// The canvas inside the viewport, and no control over it.
async function layout(page) {
  return page.evaluate(labels => {
    const box = e => e.getBoundingClientRect();
    const canvas = box(document.getElementById('canvas'));
    const inside = canvas.left >= 0 && canvas.top >= 0 && canvas.right <= innerWidth + 0.5 &&
                   canvas.bottom <= innerHeight + 0.5;
    const over = labels.filter(label => {
      const b = box(document.querySelector(`[aria-label="${label}"]`));
      return b.width === 0 || !(b.right <= canvas.left || b.left >= canvas.right || b.bottom <= canvas.top ||
                                b.top >= canvas.bottom) || b.bottom > innerHeight + 0.5 || b.right > innerWidth + 0.5;
    });
    return {canvas: [canvas.left, canvas.top, canvas.width, canvas.height].map(Math.round), inside, over};
  }, kLabels);
}

async function upright(env, pages) {
  const page = await openPage(env.browser, env.origin, '/?start=1-1&seed=5', pages,
                              {...kPhone, viewport: {width: 390, height: 844}});
  const touch = await fingers(page);
  await tapToPlay(touch, page);
  const playing = s => s.scene === sceneState.kGameRunning && s.state === gameState.kPlaying;
  let s = await waitFor(page, 'a game after the tap', playing, 20);
  const placed = await layout(page);
  await page.screenshot({path: join(env.out, 'phone-portrait.png')});
  check(placed.inside && placed.over.length === 0 && placed.canvas[2] === 390,
        `390x844: the picture fills the width inside the viewport (${placed.canvas}), every control under it ` +
            `(misplaced: ${placed.over})`);

  // Right held, then Left held while Fire is tapped by another finger.
  const x0 = s.x;
  await touch.down(1, await centre(page, 'Right'));
  s = await waitFor(page, 'the witch to fly right', s => s.x >= x0 + 40, 5).catch(() => status(page));
  await touch.up(1);
  const x1 = s.x;
  await touch.down(1, await centre(page, 'Left'));
  await page.waitForTimeout(150);
  const enemies = (await status(page)).enemies;
  await touch.down(2, await centre(page, 'Fire'));
  // A volley that hits at once may live between two looks on a busy
  // machine: a fallen enemy counts as fired too.
  let fired = false;
  const both = await waitFor(page, 'a shot while steering', s => {
    fired ||= s.shots > 0 || s.enemies < enemies;
    return fired && s.x <= x1 - 20;
  }, 10).catch(() => status(page));
  await touch.up(2);
  await touch.up(1);
  check(x1 >= x0 + 40 && both.x <= x1 - 20 && fired,
        `a held touch on Right steers (x ${x0} -> ${x1}); Left held while Fire is tapped: both (x ${both.x}, ` +
            `${both.shots} shots, ${enemies - both.enemies} enemies down)`);

  // The Options button opens the options over the picture and holds the
  // game; tapped again it closes them. Pause shows PAUSED.
  await touchTap(touch, page, 'Options');
  const held = await waitFor(page, 'the options', s => s.paused === 1, 3).catch(() => status(page));
  const over = await page.evaluate(() => window.velloria.overlaid());
  await page.screenshot({path: join(env.out, 'phone-portrait-options.png')});
  await touchTap(touch, page, 'Options');
  const going = await waitFor(page, 'the game to go on', s => s.paused === 0, 3).catch(() => status(page));
  check(held.paused === 1 && over.differing > 10000 && going.paused === 0,
        `the Options button opens the options over the picture (${over.differing} pixels) and closes them`);
  await touchTap(touch, page, 'Pause');
  await waitFor(page, 'the pause', s => s.paused === 1, 3).catch(() => {});
  await page.screenshot({path: join(env.out, 'phone-portrait-paused.png')});
  await touchTap(touch, page, 'Pause');

  await page.setViewportSize({width: 320, height: 568});
  await page.waitForTimeout(200);
  const narrow = await layout(page);
  check(narrow.inside && narrow.over.length === 0 && narrow.canvas[2] === 320,
        `320x568: the picture (${narrow.canvas}) and every control fit (misplaced: ${narrow.over})`);

  // Full screen takes the controls along: each is on top where it shows,
  // and a touch reaches it.
  await touch.down(1, await page.locator('#fullscreen').boundingBox().then(b => [b.x + b.width / 2, b.y + 5]));
  await touch.up(1);
  await page.waitForFunction(() => document.fullscreenElement, null, {timeout: 3000 * kTimeScale}).catch(() => {});
  const usable = await page.evaluate(labels => labels.filter(label => {
    const button = document.querySelector(`[aria-label="${label}"]`);
    const b = button.getBoundingClientRect();
    return document.fullscreenElement && document.fullscreenElement.contains(button) &&
           document.elementFromPoint(b.left + b.width / 2, b.top + b.height / 2) === button;
  }), kLabels);
  await touch.down(1, await centre(page, 'Left'));
  const leftHeld = await page.evaluate(() => document.querySelector('[aria-label="Left"]').classList.contains('held'));
  await touch.up(1);
  await page.evaluate(() => document.exitFullscreen().catch(() => {}));
  check(usable.length === kLabels.length && leftHeld,
        `full screen keeps the touch buttons usable (${usable.length} of ${kLabels.length} on top; a touch on ` +
            `Left holds it: ${leftHeld})`);
  await done(page);
}

async function lying(env, pages) {
  const page = await openPage(env.browser, env.origin, '/', pages, {...kPhone, viewport: {width: 844, height: 390}});
  const touch = await fingers(page);
  await tapToPlay(touch, page);
  await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 30);
  await page.waitForTimeout(1500);
  // The title's menu: down to the next item and up again, then OK.
  const menu = await status(page);
  await touchTap(touch, page, 'Down');
  await touchTap(touch, page, 'Up');
  let s = await status(page);
  for (let i = 0; i < 30 && s.scene !== sceneState.kGameRunning; ++i) {
    await touchTap(touch, page, 'Confirm');
    s = await status(page);
  }
  s = await waitFor(page, 'EPISODE 1', s => s.scene === sceneState.kGameRunning && s.state === gameState.kPlaying, 20);
  const placed = await layout(page);
  await page.screenshot({path: join(env.out, 'phone-landscape.png')});
  check(menu.scene === sceneState.kTitleRunning && s.stage === 1 && placed.inside && placed.over.length === 0 && placed.canvas[3] >= 360,
        `844x390: Down, Up and OK on the title start EPISODE 1; the picture (${placed.canvas}) inside the viewport ` +
            `with the controls beside it (misplaced: ${placed.over})`);
  const x0 = s.x;
  await touch.down(1, await centre(page, 'Left'));
  s = await waitFor(page, 'the witch to fly left', s => s.x <= x0 - 40, 5).catch(() => status(page));
  await touch.up(1);
  // The buttons send the game's own keys: with fire moved to Z on the
  // keyboard, Fire (Left Ctrl) still fires.
  const setFire = keys => page.evaluate(k => Module.ccall('velloria_set_setting', 'number', ['string', 'string'],
                                                          ['key-fire', k]), keys);
  const rebound = await setFire('Z');
  const before = await status(page);
  const fired = s => s.shots > 0 || s.enemies < before.enemies;
  // The game reads its keys once a frame: on a busy machine a short tap may
  // go down and up between two frames and count for nothing, so the tap is
  // long and is given three tries (with the bindings in the way, none fires).
  let volley = before;
  for (let i = 0; i < 3 && !fired(volley); ++i) {
    await touchTap(touch, page, 'Fire', 400);
    volley = await waitFor(page, 'a volley with fire on Z', fired, 2).catch(() => status(page));
  }
  await setFire('SPACE,LCTRL,RCTRL');
  check(rebound === 1 && (volley.shots > 0 || volley.enemies < before.enemies),
        `with fire on Z the Fire button still fires (${volley.shots} shots, ${before.enemies - volley.enemies} down)`);
  const covered = {};  // the pause's layer, by the hints it gives
  for (const [label, name] of [['Options', 'options'], ['Pause', 'paused']]) {
    await touchTap(touch, page, label);
    await waitFor(page, label, s => s.paused === 1, 3).catch(() => {});
    if (label === 'Pause') covered.buttons = (await page.evaluate(() => window.velloria.overlaid())).differing;
    await page.screenshot({path: join(env.out, `phone-landscape-${name}.png`)});
    await touchTap(touch, page, label);
  }
  await page.keyboard.press('Shift');
  const hidden = !(await page.isVisible('[aria-label="Fire"]'));
  check(s.x <= x0 - 40 && hidden, `lying: a held touch steers (x ${x0} -> ${s.x}); a key press hides the controls`);
  // PAUSED stands with the buttons out (naming the Pause button) and with
  // them gone (naming the keys): the same band, other words.
  await page.keyboard.press('KeyP');
  await waitFor(page, 'the pause by P', s => s.paused === 1, 3).catch(() => {});
  covered.keys = (await page.evaluate(() => window.velloria.overlaid())).differing;
  await page.keyboard.press('KeyP');
  check(covered.buttons > 1000 && covered.keys > 1000,
        `PAUSED shows its band while the touch buttons are out (${covered.buttons} pixels covered) ` +
            `and once they are gone (${covered.keys})`);

  // Small phones turned on their side: the controls beside the picture give
  // it no less room than it has upright.
  const canvasBox = await page.locator('#canvas').boundingBox();
  await touch.down(1, [canvasBox.x + 20, canvasBox.y + 20]);  // a touch brings the controls back
  await touch.up(1);
  const placedAt = async (width, height) => {
    await page.setViewportSize({width, height});
    await page.waitForTimeout(200);
    return layout(page);
  };
  for (const long of [568, 480]) {
    const uprightSmall = await placedAt(320, long);
    const lyingSmall = await placedAt(long, 320);
    await page.screenshot({path: join(env.out, `phone-landscape-${long}.png`)});
    check(lyingSmall.inside && lyingSmall.over.length === 0 && lyingSmall.canvas[2] >= uprightSmall.canvas[2],
          `${long}x320: the picture (${lyingSmall.canvas}) is no smaller than at 320x${long} ` +
              `(${uprightSmall.canvas}), every control beside it (misplaced: ${lyingSmall.over})`);
  }
  await done(page);
}

// The name entry on a phone: the field opens the keyboard, what it types
// arrives, and its Enter ends the entry.
async function nameOnPhone(env, pages) {
  const page = await openPage(env.browser, env.origin, '/?start=4-5:60&seed=9', pages,
                              {...kPhone, viewport: {width: 390, height: 844}});
  const touch = await fingers(page);
  await tapToPlay(touch, page);
  await waitFor(page, 'the game', s => s.scene === sceneState.kGameRunning, 20);
  // Four times the speed, asked as the page's own controls ask (so they stay).
  await page.evaluate(() => {
    for (const type of ['keydown', 'keyup']) {
      document.getElementById('canvas').dispatchEvent(new KeyboardEvent(type, {code: 'KeyS', key: 's', bubbles: true}));
    }
  });
  await waitFor(page, 'the name entry', s => s.state === gameState.kNameEntry, 120);
  await page.waitForSelector('#typing', {state: 'visible', timeout: 5000});
  await touch.down(1, await page.locator('#typing').boundingBox().then(b => [b.x + 10, b.y + 10]));
  await touch.up(1);
  await page.keyboard.type('ab1', {delay: 30});
  await page.keyboard.press('Enter');
  const ranking = await page.waitForFunction(() => window.velloria.ranking().find(e => e.name === 'AB1'), null,
                                             {timeout: 10000 * kTimeScale}).then(h => h.jsonValue(), () => null);
  await page.screenshot({path: join(env.out, 'phone-name.png')});
  check(ranking && ranking.score === 60, `on a phone the name field types into the name entry: ${JSON.stringify(ranking)}`);
  await done(page);
}

export const phones = (env, pages) => Promise.all([upright(env, pages), lying(env, pages), nameOnPhone(env, pages)]);
