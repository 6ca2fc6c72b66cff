// Plays the web build in Debian's chromium, driven through the DevTools
// protocol (playwright-core, no browser of its own):
//   (a) the logo, then the title, drawn on the canvas;
//   (b) real keys start EPISODE 1, fly right and fire; focus loss pauses and
//       stops the music keeping its place; the tune loops without a restart;
//       Escape ends the run and leaves "Play again";
//   (c) a replayed input file gives, after frame F, the same 8-bit picture as
//       the desktop's headless run, byte for byte;
//   (d) a name entered after a game over is in the ranking after a reload.
// Exits 77 (skipped) when the web build is not there.
//
//   node browser_test.mjs --site build-web/site --velloria build/velloria
//                         --replay tests/replays/title/input.txt --out DIR
import {execFileSync} from 'node:child_process';
import {createReadStream, existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, statSync} from 'node:fs';
import http from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, resolve} from 'node:path';
import {inflateSync} from 'node:zlib';

const option = name => {
  const at = process.argv.indexOf('--' + name);
  return at > 0 ? resolve(process.argv[at + 1]) : null;
};
const site = option('site');
const velloria = option('velloria');
const replay = option('replay');

if (!site || !existsSync(join(site, 'velloria.wasm'))) {
  console.log(`SKIPPED: no web build in ${site} (tools/setup.sh web builds one)`);
  process.exit(77);
}
// What the test makes in the temporary folder goes when it ends, passed or
// failed: the desktop run's settings folder, and the screenshots when no
// --out keeps them. (The browser's profile goes with browser.close().)
const scratch = mkdtempSync(join(tmpdir(), 'velloria-web-'));
const removeScratch = () => rmSync(scratch, {recursive: true, force: true});
process.on('exit', removeScratch);
const out = option('out') || join(scratch, 'screenshots');
mkdirSync(out, {recursive: true});
let chromium;
try {
  ({chromium} = await import(new URL('./node_modules/playwright-core/index.mjs', import.meta.url)));
} catch {
  console.error('playwright-core is missing: run "npm ci" in tests/web');
  process.exit(1);
}

// The scene and game states by the names the program gives them, read from
// its own headers, as status() reports them.
function namedStates(file, space) {
  const text = readFileSync(new URL(`../../${file}`, import.meta.url), 'utf8');
  const block = text.slice(text.indexOf(`namespace ${space} {`));
  const states = {};
  for (const [, name, value] of block.slice(0, block.indexOf('}')).matchAll(/constexpr int (k\w+) = (\d+);/g)) {
    states[name] = Number(value);
  }
  return states;
}
const sceneState = namedStates('app/scene.h', 'scene_state');
const gameState = namedStates('game/game.h', 'game_state');

const kReplayFrame = 500;  // in a game, with a formation, shots and potions
const kTimeScale = Number(process.env.VELLORIA_TEST_TIME_SCALE || 1);

// ---- a static server for the site folder (and the replayed input file) ----
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css',
               '.ogg': 'audio/ogg'};
const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://host').pathname).slice(1) || 'index.html';
  const file = name === 'replay.txt' ? replay : join(site, name);
  if (name.includes('..') || !existsSync(file) || statSync(file).isDirectory()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, {'Content-Type': types[extname(file)] || 'application/octet-stream'});
  createReadStream(file).pipe(response);
});
await new Promise(done => server.listen(0, '127.0.0.1', done));
const origin = `http://127.0.0.1:${server.address().port}`;
const hasTunes = existsSync(join(site, 'Music01.ogg'));

const executablePath = process.env.VELLORIA_CHROMIUM || '/usr/bin/chromium';
if (!existsSync(executablePath)) {
  console.error(`no browser at ${executablePath}: apt-get install chromium`);
  process.exit(1);
}
const browser = await chromium.launch({
  executablePath,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});

let failures = 0;
let passes = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (ok) passes += 1; else failures += 1;
}

// Every page in a fresh profile: its own empty localStorage. `pages` lists
// the part's pages, to be closed when it ends.
async function openPage(query, pages) {
  const context = await browser.newContext({viewport: {width: 700, height: 560}});
  const page = await context.newPage();
  pages.push(page);
  page.on('pageerror', error => check(false, `no script error (${error.message})`));
  page.on('request', request => {
    const url = request.url();
    if (!url.startsWith(origin) && !url.startsWith('data:')) check(false, `nothing fetched from outside: ${url}`);
  });
  await page.goto(`${origin}/index.html${query}`);
  return page;
}

// A key held as long as a person holds it: the game reads the keys' state
// once a frame, so a press and release inside one frame would not count.
async function tap(page, key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(100);
  await page.keyboard.up(key);
  await page.waitForTimeout(60);
}

const status = page => page.evaluate(() => window.velloria.status());

async function waitFor(page, what, predicate, seconds) {
  const end = Date.now() + seconds * 1000 * kTimeScale;
  let last = null;
  while (Date.now() < end) {
    last = await status(page);
    if (last && predicate(last)) return last;
    await page.waitForTimeout(50);
  }
  throw new Error(`timed out waiting for ${what}; last status ${JSON.stringify(last)}`);
}

// The canvas's pixels as the page shows them: how many colours it holds.
const canvasColours = page => page.evaluate(() => {
  const canvas = document.getElementById('canvas');
  const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  const colours = new Set();
  for (let i = 0; i < data.length; i += 4) colours.add((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]);
  return colours.size;
});
const canvasShot = (page, name) => page.locator('#canvas').screenshot({path: join(out, name)});

// A desktop PNG of --shot: 8-bit indexed, rows without filters.
function readIndexedPng(path) {
  const png = readFileSync(path);
  let width = 0;
  let height = 0;
  let palette = null;
  const idat = [];
  for (let at = 8; at < png.length;) {
    const length = png.readUInt32BE(at);
    const type = png.toString('ascii', at + 4, at + 8);
    const data = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      [width, height] = [data.readUInt32BE(0), data.readUInt32BE(4)];
      if (data[8] !== 8 || data[9] !== 3) throw new Error('not an 8-bit indexed PNG');
    }
    if (type === 'PLTE') palette = data;
    if (type === 'IDAT') idat.push(data);
    at += 12 + length;
  }
  const rows = inflateSync(Buffer.concat(idat));
  const indices = Buffer.alloc(width * height);
  for (let y = 0; y < height; ++y) {
    const row = rows.subarray(y * (width + 1), (y + 1) * (width + 1));
    if (row[0] !== 0) throw new Error('filtered PNG rows are not read here');
    row.copy(indices, y * width, 1);
  }
  return {width, height, indices, palette};
}

async function logoTitleAndKeys(pages) {
  const page = await openPage('', pages);
  await waitFor(page, 'the logo', s => s.scene === sceneState.kLogoRunning && s.frame > 60, 20);
  const logoColours = await canvasColours(page);
  await canvasShot(page, 'logo.png');
  await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 30);
  await page.waitForTimeout(500);
  const titleColours = await canvasColours(page);
  await canvasShot(page, 'title.png');
  check(logoColours > 16 && titleColours > 64 && titleColours !== logoColours,
        `(a) logo then title on the canvas (${logoColours} and ${titleColours} colours)`);

  // The title takes keys once its curtain is open; until then Enter does nothing.
  let s = await status(page);
  for (let i = 0; i < 40 && s.scene !== sceneState.kGameStart && s.scene !== sceneState.kGameRunning; ++i) {
    await tap(page, 'Enter');
    await page.waitForTimeout(150);
    s = await status(page);
  }
  s = await waitFor(page, 'EPISODE 1 to be under way', s => s.scene === sceneState.kGameRunning && s.state === gameState.kPlaying, 20);
  check(s.stage === 1 && s.level === 1, `(b) Enter on the title starts EPISODE 1 (stage ${s.stage}-${s.level})`);
  const x0 = s.x;
  await page.keyboard.down('ArrowRight');
  s = await waitFor(page, 'the witch to fly right', s => s.x >= x0 + 60, 5).catch(() => status(page));
  await page.keyboard.up('ArrowRight');
  await tap(page, 'Space');
  const fired = await waitFor(page, 'a shot', s => s.shots > 0, 3).catch(() => status(page));
  await canvasShot(page, 'game.png');
  check(s.x >= x0 + 60 && fired.shots > 0, `(b) the right arrow flies the witch right (x ${x0} -> ${s.x}), Space fires`);

  // A pad (a stand-in for what the Gamepad API lists) pushed left.
  await page.evaluate(() => {
    const buttons = Array.from({length: 16}, () => ({pressed: false}));
    navigator.getGamepads = () => [null, {connected: true, axes: [-0.9, 0], buttons}];
  });
  const padX = (await status(page)).x;
  const steered = await waitFor(page, 'the pad to steer', s => s.x <= padX - 40, 5).catch(() => status(page));
  await page.evaluate(() => {
    navigator.getGamepads = () => [];
  });
  check(steered.x <= padX - 40, `the first pad's stick flies the witch left (x ${padX} -> ${steered.x})`);

  if (hasTunes) {
    const music = await page.waitForFunction(() => window.velloria.music().sounding, null, {timeout: 10000})
                      .then(() => page.evaluate(() => window.velloria.music()), () => null);
    check(music !== null, `the first key started the sound and the tune plays (${JSON.stringify(music)})`);
  }

  // Focus loss pauses the game and stops the music keeping its place.
  await page.evaluate(() => document.getElementById('canvas').blur());
  const paused = await waitFor(page, 'the pause', s => s.paused === 1, 3);
  const stopped = await page.evaluate(() => window.velloria.music());
  await page.waitForTimeout(600);
  const later = await status(page);
  const still = await page.evaluate(() => window.velloria.music());
  check(later.paused === 1 && later.x === paused.x && later.frame > paused.frame && !still.sounding &&
            still.position === stopped.position,
        `focus loss pauses: the witch stays, ticks pass (${paused.frame} -> ${later.frame}), the music stops`);
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
  } else {
    console.log('note: no tunes in the site (music/*.ogg); the music checks are left out');
  }

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

  await tap(page, 'Escape');
  await page.waitForFunction(() => !window.velloria.running(), null, {timeout: 5000 * kTimeScale});
  check(await page.isVisible('#again'), 'Escape ends the run and leaves "Play again"');
}

async function replayedPicture(pages) {
  const desktopPng = join(out, `desktop-${kReplayFrame}.png`);
  execFileSync(velloria, ['--headless', '--seed', '7', '--input', replay, '--frames', String(kReplayFrame + 1),
                          '--shot', `${kReplayFrame}:${desktopPng}`],
               {env: {...process.env, XDG_CONFIG_HOME: join(scratch, 'config')}});
  const desktop = readIndexedPng(desktopPng);

  const page = await openPage(`?seed=7&frames=${kReplayFrame + 1}&input=replay.txt&shot=${kReplayFrame}`, pages);
  await page.waitForFunction(() => !window.velloria.running(), null, {timeout: (kReplayFrame / 25 + 60) * 1000 * kTimeScale});
  const picture = await page.evaluate(frame => window.velloria.picture(frame), kReplayFrame);
  await canvasShot(page, `web-${kReplayFrame}.png`);
  const indices = picture ? Buffer.from(picture.indices, 'base64') : Buffer.alloc(0);
  const palette = picture ? Buffer.from(picture.palette, 'base64') : Buffer.alloc(0);
  let differing = 0;
  for (let i = 0; i < desktop.indices.length; ++i) differing += indices[i] !== desktop.indices[i] ? 1 : 0;
  check(picture && picture.width === desktop.width && picture.height === desktop.height && differing === 0 &&
            palette.equals(desktop.palette),
        `(c) the picture after frame ${kReplayFrame} of the replay equals the desktop's headless one ` +
            `(${differing} of ${desktop.indices.length} indices differ)`);

  await page.click('#again');
  const again = await waitFor(page, 'a new run', s => s.frame > 0, 10);
  check(again.frame < 200, '"Play again" starts a new run');
}

async function rankingSurvivesReload(pages) {
  const page = await openPage('?start=4-5:60', pages);
  await waitFor(page, 'the game', s => s.scene === sceneState.kGameRunning, 20);
  await tap(page, 's');  // four times the speed until the game is over
  await waitFor(page, 'the name entry', s => s.state === gameState.kNameEntry, 120);
  for (const key of ['w', 'e', 'b']) await tap(page, key);
  await canvasShot(page, 'name-entry.png');
  await tap(page, 'Enter');
  const stored = await page.waitForFunction(() => localStorage.getItem('KorvaGames/Velloria/ranking.ini'), null,
                                            {timeout: 5000 * kTimeScale})
                     .then(handle => handle.jsonValue(), () => null);
  await page.reload();
  await waitFor(page, 'the reloaded page', s => s.frame > 0, 20);
  const ranking = await page.evaluate(() => window.velloria.ranking());
  check(stored !== null && stored.startsWith('[Software\\KorvaGames\\Velloria]\n') && /\nRank\d=60,WEB\n/.test(stored),
        `(d) the name entry wrote the ranking into localStorage (${JSON.stringify(stored)})`);
  check(ranking.some(entry => entry.score === 60 && entry.name === 'WEB'),
        `(d) the reloaded page reads it back (${ranking.map(e => e.score + ' ' + e.name).join(', ')})`);
}

// The parts play side by side, each in pages of its own: most of their time
// is spent waiting for the game at its own pace.
const started = Date.now();
try {
  await Promise.all([logoTitleAndKeys, replayedPicture, rankingSurvivesReload].map(async part => {
    const pages = [];
    try {
      await part(pages);
    } catch (error) {
      check(false, `${part.name}: ${error.message}`);
    }
    for (const page of pages) await page.context().close().catch(() => {});
  }));
} finally {
  await browser.close();
  server.close();
}
console.log(`${option('out') ? `screenshots in ${out}; ` : ''}${((Date.now() - started) / 1000).toFixed(1)} s`);
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
