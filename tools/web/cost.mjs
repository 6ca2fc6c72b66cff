// Measures web pages side by side: for each, the processor time of the
// page's main thread (DevTools' ThreadTime) as a share of the wall-clock
// time, over a stretch of play in EPISODE 1 and a stretch paused; and the
// bytes of velloria.wasm and of the scripts the page loads. (Processor time,
// not the tasks' wall time, so that other work on the machine does not count.)
//   node tools/web/cost.mjs [--seconds N] NAME=SITE_FOLDER...
import {readdirSync, statSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {gameState, sceneState, startServer, status, tap, waitFor} from '../../tests/web/lib.mjs';

const {chromium} = await import(new URL('../../tests/web/node_modules/playwright-core/index.mjs', import.meta.url));
const argv = process.argv.slice(2);
const at = argv.indexOf('--seconds');
const seconds = at >= 0 ? Number(argv.splice(at, 2)[1]) : 10;
const sites = argv.map(arg => {
  const eq = arg.indexOf('=');
  return {name: arg.slice(0, eq), folder: resolve(arg.slice(eq + 1))};
});

function sizes(folder) {
  const bytes = name => statSync(join(folder, name)).size;
  const scripts = readdirSync(folder).filter(name => name.endsWith('.js') && name !== 'sw.js');
  return {wasm: bytes('velloria.wasm'), scripts: scripts.reduce((sum, name) => sum + bytes(name), 0)};
}

async function busyShare(page, cdp) {
  const taskTime = async () => (await cdp.send('Performance.getMetrics')).metrics.find(m => m.name === 'ThreadTime').value;
  const t0 = await taskTime();
  const w0 = Date.now();
  await page.waitForTimeout(seconds * 1000);
  return (await taskTime() - t0) / ((Date.now() - w0) / 1000);
}

async function measure(browser, site) {
  const server = await startServer(site.folder, new Map());
  const context = await browser.newContext({viewport: {width: 700, height: 600}, serviceWorkers: 'block'});
  try {
    const page = await context.newPage();
    await page.goto(server.origin + '/');
    // A page with a start screen waits for a key; an older one starts at once.
    if (await page.locator('#start').count()) {
      await page.waitForSelector('#start-text:text-matches("press a key")', {timeout: 60000});
      await tap(page, 'Shift');
    } else {
      await page.focus('#canvas');
    }
    await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 60);
    let s = await status(page);
    for (let i = 0; i < 60 && s.scene !== sceneState.kGameRunning; ++i) {
      await tap(page, 'Enter');
      await page.waitForTimeout(150);
      s = await status(page);
    }
    await waitFor(page, 'EPISODE 1', s => s.scene === sceneState.kGameRunning && s.state === gameState.kPlaying, 30);
    const cdp = await context.newCDPSession(page);
    await cdp.send('Performance.enable');
    const play = await busyShare(page, cdp);
    await tap(page, 'p');
    await waitFor(page, 'the pause', s => s.paused === 1, 5);
    const paused = await busyShare(page, cdp);
    return {play, paused};
  } finally {
    await context.close();
    server.close();
  }
}

const browser = await chromium.launch({executablePath: process.env.VELLORIA_CHROMIUM || '/usr/bin/chromium',
                                       args: ['--no-sandbox', '--disable-gpu', '--no-first-run']});
try {
  console.log(`the page's main thread: processor time as a share of one core over ${seconds} s; sizes in bytes`);
  console.log('page'.padEnd(12) + 'in play'.padStart(9) + 'paused'.padStart(9) + 'wasm'.padStart(10) +
              'scripts'.padStart(9) + 'together'.padStart(10));
  for (const site of sites) {
    const {play, paused} = await measure(browser, site);
    const {wasm, scripts} = sizes(site.folder);
    const percent = x => (x * 100).toFixed(2) + ' %';
    console.log(site.name.padEnd(12) + percent(play).padStart(9) + percent(paused).padStart(9) +
                String(wasm).padStart(10) + String(scripts).padStart(9) + String(wasm + scripts).padStart(10));
  }
} finally {
  await browser.close();
}
