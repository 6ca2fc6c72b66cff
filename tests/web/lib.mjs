// What the browser test's parts share: the static server, the checks' log,
// pages in fresh profiles, keys held as a person holds them, the game's
// status, and the desktop's indexed PNGs.
import {createReadStream, existsSync, readFileSync, statSync} from 'node:fs';
import http from 'node:http';
import {extname, join} from 'node:path';
import {promisify} from 'node:util';
import {gzip, inflateSync} from 'node:zlib';

export const kTimeScale = Number(process.env.VELLORIA_TEST_TIME_SCALE || 1);

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
export const sceneState = namedStates('app/scene.h', 'scene_state');
export const gameState = namedStates('game/game.h', 'game_state');

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css',
  '.ogg': 'audio/ogg', '.png': 'image/png', '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain',
};

// Serves the site at / and at /games/velloria/ (a page served from a
// sub-path), files of the test's own under their names (`extra`), and the
// same site under /cut/ with velloria.wasm cut short halfway, under /gzip/
// gzip-compressed with the compressed Content-Length (as precompressed files
// and content networks serve them), and under /gzip-cut/ so with the wasm's
// compressed bytes cut short. Files at / come without a length.
// `server.swBuild`, when set, replaces the build's name in sw.js: a new build
// as the browser sees it.
const kModes = {'/cut/': {cut: true}, '/gzip/': {gzip: true}, '/gzip-cut/': {gzip: true, cut: true}};

export async function startServer(site, extra) {
  // Each file compressed once, off the server's thread, so that the other
  // parts' pages are served meanwhile.
  const packed = new Map();
  const gzipped = file => {
    if (!packed.has(file)) packed.set(file, promisify(gzip)(readFileSync(file), {level: 1}));
    return packed.get(file);
  };
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    if (name.startsWith('/games/velloria/')) name = name.slice('/games/velloria'.length);
    const prefix = Object.keys(kModes).find(p => name.startsWith(p));
    const mode = prefix ? kModes[prefix] : {};
    if (prefix) name = name.slice(prefix.length - 1);
    const cut = mode.cut && name === '/velloria.wasm';
    name = name.slice(1) || 'index.html';
    const file = extra.has(name) ? extra.get(name) : join(site, name);
    if (typeof file === 'string' && (name.includes('..') || !existsSync(file) || statSync(file).isDirectory())) {
      response.writeHead(404).end();
      return;
    }
    const headers = {'Content-Type': types[extname(name)] || 'application/octet-stream', 'Cache-Control': 'no-cache'};
    if (typeof file !== 'string') {
      response.writeHead(200, headers).end(file);
    } else if (name === 'sw.js' && server.swBuild) {
      const text = readFileSync(file, 'utf8').replace(/const kBuild = '[^']*'/, `const kBuild = '${server.swBuild}'`);
      response.writeHead(200, headers).end(text);
    } else if (mode.gzip || cut) {
      if (mode.gzip) headers['Content-Encoding'] = 'gzip';
      Promise.resolve(mode.gzip ? gzipped(file) : readFileSync(file)).then(bytes => {
        response.writeHead(200, {...headers, 'Content-Length': bytes.length});
        if (cut) response.write(bytes.subarray(0, bytes.length >> 1), () => response.destroy());
        else response.end(bytes);
      });
    } else {
      response.writeHead(200, headers);
      createReadStream(file).pipe(response);
    }
  });
  await new Promise(done => server.listen(0, '127.0.0.1', done));
  server.origin = `http://127.0.0.1:${server.address().port}`;
  return server;
}

export const log = {passes: 0, failures: 0};
export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (ok) log.passes += 1; else log.failures += 1;
}

// A page in a fresh profile (its own empty localStorage), listed in `pages`
// to be closed when its part ends. Service workers only where asked for.
export async function openPage(browser, origin, path, pages, contextOptions = {}) {
  const context = await browser.newContext({viewport: {width: 700, height: 600}, serviceWorkers: 'block',
                                            acceptDownloads: true, ...contextOptions});
  const page = await context.newPage();
  // Every part's first pages load at once: on a busy machine the page's
  // load event may take longer than the default half minute.
  page.setDefaultNavigationTimeout(90000 * kTimeScale);
  pages.push(page);
  watchPage(page, origin);
  if (path !== null) await page.goto(origin + path);
  return page;
}

// A part's page done with: its profile goes at once, so it costs nothing
// while the other parts go on.
export const done = page => page.context().close().catch(() => {});

export function watchPage(page, origin) {
  page.on('pageerror', error => check(false, `no script error (${error.message})`));
  page.on('request', request => {
    const url = request.url();
    if (!url.startsWith(origin) && !url.startsWith('data:') && !url.startsWith('blob:')) {
      check(false, `nothing fetched from outside: ${url}`);
    }
  });
}

// A key held as long as a person holds it: the game reads the keys' state
// once a frame, so a press and release inside one frame would not count.
export async function tap(page, key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(100);
  await page.keyboard.up(key);
  await page.waitForTimeout(60);
}

export const status = page => page.evaluate(() => window.velloria.status());

export async function waitFor(page, what, predicate, seconds) {
  const end = Date.now() + seconds * 1000 * kTimeScale;
  let last = null;
  while (Date.now() < end) {
    last = await status(page);
    if (last && predicate(last)) return last;
    await page.waitForTimeout(50);
  }
  throw new Error(`timed out waiting for ${what}; last status ${JSON.stringify(last)}`);
}

// Starts the game from the start screen as a player does, with a key.
export async function pressToPlay(page) {
  await page.waitForSelector('#start-text:text-matches("press a key")', {timeout: 60000 * kTimeScale});
  await tap(page, 'Shift');
  return waitFor(page, 'the run to begin', s => s.frame > 0, 30);
}

// Plays the title's first item: Enter until EPISODE 1 is under way.
export async function startEpisode(page, press = () => tap(page, 'Enter')) {
  await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 30);
  let s = await status(page);
  for (let i = 0; i < 40 && s.scene !== sceneState.kGameStart && s.scene !== sceneState.kGameRunning; ++i) {
    await press();
    await page.waitForTimeout(150);
    s = await status(page);
  }
  return waitFor(page, 'EPISODE 1 to be under way',
                 s => s.scene === sceneState.kGameRunning && s.state === gameState.kPlaying, 20);
}

export const canvasShot = (page, out, name) => page.locator('#canvas').screenshot({path: join(out, name)});

// A desktop PNG of --shot: 8-bit indexed, rows without filters.
export function readIndexedPng(path) {
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

// How many of the page's kept picture's indices differ from a desktop PNG's
// (every one when the sizes or palettes differ or there is no picture).
export async function differingIndices(page, frame, pngPath) {
  const desktop = readIndexedPng(pngPath);
  const picture = await page.evaluate(f => window.velloria.picture(f), frame);
  if (!picture) return desktop.indices.length;
  const indices = Buffer.from(picture.indices, 'base64');
  const palette = Buffer.from(picture.palette, 'base64');
  if (picture.width !== desktop.width || picture.height !== desktop.height || !palette.equals(desktop.palette)) {
    return desktop.indices.length;
  }
  let differing = 0;
  for (let i = 0; i < desktop.indices.length; ++i) differing += indices[i] !== desktop.indices[i] ? 1 : 0;
  return differing;
}
