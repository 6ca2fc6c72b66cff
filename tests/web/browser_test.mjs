// Plays the web build in Debian's chromium, driven through the DevTools
// protocol (playwright-core, no browser of its own). Its parts run side by
// side, each in pages of its own:
//   play    real keys on a desktop page (play_part.mjs);
//   replays every recorded session against the desktop's pictures, and a
//           boss session's mix (replay_part.mjs);
//   phones  touch controls upright and lying, and the name field (touch_part.mjs);
//   storage two tabs, AZERTY, foreign text, failing storage (store_part.mjs);
//   offline the sub-path, the manifest, the service worker (load_part.mjs);
//   failures every failed load explained (load_part.mjs);
//   pad     a pad's button starts the game, and held-back sound is explained (load_part.mjs);
//   gzip    the page served compressed (load_part.mjs);
//   comfort a pad's Start and Back, leaving mid-game, refused files (comfort_part.mjs);
//   kept    a run kept, listed in REPLAYS, watched, still there after a reload (kept_part.mjs).
//   hall    a run sent from the page to the hall of fame that serves it (hall_part.mjs).
// Exits 77 (skipped) when the web build is not there. Everything it makes
// goes to one temporary folder, removed at the end, pass or fail; the
// screenshots go to --out.
//
//   node browser_test.mjs --site build-web/site --velloria build/velloria
//                         --replays tests/replays --hall build/velloria-hall
//                         --out DIR [--only PART,...]
import {existsSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {log, check, startServer} from './lib.mjs';
import {comforts} from './comfort_part.mjs';
import {keptRuns} from './kept_part.mjs';
import {hallOfFame} from './hall_part.mjs';
import {compressed, failures, offline, startByPad} from './load_part.mjs';
import {playWithKeys} from './play_part.mjs';
import {bossMix, everySession, sessions} from './replay_part.mjs';
import {storage} from './store_part.mjs';
import {phones} from './touch_part.mjs';

const option = name => {
  const at = process.argv.indexOf('--' + name);
  return at > 0 ? process.argv[at + 1] : null;
};
const site = option('site') && resolve(option('site'));
const velloria = option('velloria') && resolve(option('velloria'));
const replays = option('replays') && resolve(option('replays'));
const hall = option('hall') && resolve(option('hall'));
const only = option('only') ? option('only').split(',') : null;

if (!site || !existsSync(join(site, 'velloria.wasm'))) {
  console.log(`SKIPPED: no web build in ${site} (tools/setup.sh web builds one)`);
  process.exit(77);
}
let chromium;
try {
  ({chromium} = await import(new URL('./node_modules/playwright-core/index.mjs', import.meta.url)));
} catch {
  console.error('playwright-core is missing: run "npm ci" in tests/web');
  process.exit(1);
}
const executablePath = process.env.VELLORIA_CHROMIUM || '/usr/bin/chromium';
if (!existsSync(executablePath)) {
  console.error(`no browser at ${executablePath}: apt-get install chromium`);
  process.exit(1);
}

const scratch = mkdtempSync(join(tmpdir(), 'velloria-web-'));
const removeScratch = () => rmSync(scratch, {recursive: true, force: true});
process.on('exit', removeScratch);
const out = option('out') ? resolve(option('out')) : join(scratch, 'screenshots');
mkdirSync(out, {recursive: true});
// The recorded sessions' input files beside the page, and a page that holds
// the game in a sandboxed frame.
const extra = new Map(sessions(replays).map(s => [`replay-${s.name}.txt`, s.input]));
extra.set('framed.html', Buffer.from('<!doctype html><iframe sandbox="allow-scripts" src="index.html" ' +
                                     'width="680" height="560"></iframe>'));
const server = await startServer(site, extra);
let browser = null;
const started = Date.now();
try {
  // The browser's profiles live in the scratch folder too.
  browser = await chromium.launch({
    executablePath,
    env: {...process.env, TMPDIR: scratch, XDG_CONFIG_HOME: scratch, XDG_CACHE_HOME: scratch},
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  const env = {browser, server, origin: server.origin, out, scratch, velloria, replays, site, hall,
               hasTunes: existsSync(join(site, 'Music01.ogg'))};
  if (!env.hasTunes) console.log('note: no tunes in the site (music/*.ogg); the music checks are left out');
  const parts = {play: playWithKeys, replays: everySession, mix: bossMix, phones, storage, offline, failures,
                 pad: startByPad, gzip: compressed, comfort: comforts, kept: keptRuns,
                 hall: hallOfFame};
  await Promise.all(Object.entries(parts).filter(([name]) => !only || only.includes(name)).map(async ([name, part]) => {
    const pages = [];
    const begun = Date.now();
    try {
      await part(env, pages);
    } catch (error) {
      check(false, `${name}: ${error.message}`);
    }
    for (const page of pages) await page.context().close().catch(() => {});
    console.log(`  (${name}: ${((Date.now() - begun) / 1000).toFixed(1)} s)`);
  }));
} finally {
  if (browser) await browser.close().catch(() => {});
  server.close();
  removeScratch();
}
console.log(`${option('out') ? `screenshots in ${out}; ` : ''}${((Date.now() - started) / 1000).toFixed(1)} s`);
console.log(`${log.passes} passed, ${log.failures} failed`);
process.exit(log.failures ? 1 : 0);
