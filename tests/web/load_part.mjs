// Loading the page: served from a sub-path it installs (a valid manifest, a
// service worker that keeps every file), plays again with the network cut,
// and takes a new build's files at the next visit, saying so; served
// compressed it loads as well; and every way a load can fail shows a short
// word with a way to try again.
import {join} from 'node:path';
import {check, done, kTimeScale, openPage, pressToPlay, sceneState, waitFor} from './lib.mjs';

const kBase = '/games/velloria/';

export async function offline(env, pages) {
  const {browser, origin, server} = env;
  const page = await openPage(browser, origin, kBase, pages, {serviceWorkers: 'allow'});
  const cdp = await page.context().newCDPSession(page);
  const {errors, data} = await cdp.send('Page.getAppManifest');
  const manifest = JSON.parse(data || '{}');
  const icons = (manifest.icons || []).map(i => i.sizes).join(' ');
  const maskable = (manifest.icons || []).find(i => i.purpose === 'maskable');
  const maskableFetched = maskable && (await page.request.get(origin + kBase + maskable.src)).ok();
  check(errors.length === 0 && manifest.name === 'Velloria' && /192x192/.test(icons) && /512x512/.test(icons) &&
            ['fullscreen', 'standalone'].includes(manifest.display) && manifest.start_url === './' && maskableFetched,
        `the manifest is valid (${errors.map(e => e.message).join('; ') || 'no errors'}; icons ${icons}; ` +
            `maskable ${maskable && maskable.src}, served: ${maskableFetched})`);
  const cached = await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.ready;
    const worker = registration.active;
    while (worker.state === 'activating') await new Promise(done => worker.addEventListener('statechange', done));
    const names = await caches.keys();
    const cache = await caches.open(names[0]);
    return {scope: registration.scope, active: registration.active.state, names,
            files: (await cache.keys()).map(r => new URL(r.url).pathname)};
  });
  const wanted = ['index.html', 'velloria.js', 'velloria.wasm', 'page.js', 'sound.js', 'velloria.css'];
  if (env.hasTunes) wanted.push('Music01.ogg', 'Music02.ogg', 'Music03.ogg');
  const firstVisitNotice = await page.isVisible('#update');
  check(cached.scope.endsWith(kBase) && cached.active === 'activated' && cached.names.length === 1 &&
            wanted.every(file => cached.files.includes(kBase + file)) && !firstVisitNotice,
        `served from ${kBase}: the service worker is active and keeps the page, the program and the tunes ` +
            `(${cached.files.length} files in "${cached.names[0]}"); no update notice on a first visit`);

  // Sound and fit as an earlier page kept them, under keys of their own:
  // read once into the settings, then gone.
  const oldKeys = ['KorvaGames/Velloria/page-mute', 'KorvaGames/Velloria/page-fit'];
  await page.evaluate(([mute, fit]) => {
    localStorage.setItem(mute, '1');
    localStorage.setItem(fit, 'fill');
  }, oldKeys);
  await page.context().setOffline(true);
  await page.reload();
  await pressToPlay(page);
  const s = await waitFor(page, 'the logo offline', s => s.scene === sceneState.kLogoRunning && s.frame > 50, 20);
  const taken = await page.evaluate(keys => ({settings: window.velloria.settings(), left: keys.map(k => localStorage.getItem(k)),
                                              pressed: document.getElementById('fit').getAttribute('aria-pressed')}),
                                    oldKeys);
  check(taken.settings.mute === 'on' && taken.settings.fit === 'fill' && taken.pressed === 'true' &&
            taken.left.every(v => v === null),
        `an earlier page's sound and fit go into the settings (mute=${taken.settings.mute}, ` +
            `fit=${taken.settings.fit}) and their own keys are removed (${taken.left})`);
  const tune = await page.evaluate(() => fetch('Music03.ogg').then(r => r.arrayBuffer())
                                          .then(b => b.byteLength, () => 0));
  check(s.frame > 50 && (!env.hasTunes || tune > 100000),
        `with the network cut a reload plays (frame ${s.frame}; a tune comes from the cache: ${tune} bytes)`);

  // A new build on the server: the next visit takes it, and the old cache goes.
  await page.context().setOffline(false);
  server.swBuild = 'a-new-build';
  await page.goto(origin + kBase);
  let names = [];
  for (const end = Date.now() + 20000 * kTimeScale; Date.now() < end;) {
    names = await page.evaluate(() => caches.keys());
    if (names.length === 1 && names[0].endsWith('a-new-build')) break;
    await page.waitForTimeout(200);
  }
  // The visit that found it runs the old build from the cache, and says so.
  const notice = await page.locator('#update').waitFor({state: 'visible', timeout: 10000 * kTimeScale})
                     .then(() => page.locator('#update').innerText(), () => '(none)');
  await Promise.all([page.waitForEvent('load'), page.click('#update-reload')]);
  await page.waitForSelector('#start-text:text-matches("press a key")', {timeout: 60000 * kTimeScale});
  const reloaded = await page.evaluate(async () => ({notice: !document.getElementById('update').hidden,
                                                     controlled: Boolean(navigator.serviceWorker.controller),
                                                     names: await caches.keys()}));
  check(names.length === 1 && names[0].endsWith('a-new-build') && /A new version is ready/.test(notice) &&
            !reloaded.notice && reloaded.controlled && reloaded.names.join() === names.join(),
        `a new build is taken at the next visit (${names}); the page says "${notice.trim()}", and its button ` +
            `reloads into the new build without the notice`);
  await done(page);
}

// Each failure: its page, what to do to it, and the words it must show.
const kFailures = [
  {name: 'no-wasm', route: ['**/velloria.wasm', r => r.fulfill({status: 404})], words: /could not be downloaded/},
  {name: 'no-js', route: ['**/velloria.js', r => r.abort()], words: /could not be downloaded/},
  {name: 'cut-short', path: '/cut/', words: /cut short/},
  {name: 'gzip-cut-short', path: '/gzip-cut/', words: /cut short/},
  {name: 'damaged', route: ['**/velloria.wasm', r => r.fulfill({status: 200, body: Buffer.alloc(4096, 7)})],
   words: /arrived damaged/},
  {name: 'old-browser', init: () => delete window.DecompressionStream, words: /too old/},
  {name: 'sandboxed', path: '/framed.html', frame: true, words: /sandboxed frame/},
];

async function oneFailure(env, pages, failure) {
  const page = await openPage(env.browser, env.origin, null, pages);
  if (failure.route) await page.route(...failure.route);
  if (failure.init) await page.addInitScript(failure.init);
  await page.goto(env.origin + (failure.path || '/'));
  const root = failure.frame ? page.frameLocator('iframe') : page;
  await root.locator('#retry').waitFor({state: 'visible', timeout: 60000 * kTimeScale});
  const shown = await root.locator('#start-text').textContent();
  await page.screenshot({path: join(env.out, `failure-${failure.name}.png`)});
  check(failure.words.test(shown), `a failed load (${failure.name}) says "${shown}", with "Try again"`);
  if (failure.name === 'no-wasm') {
    // Once the network serves the file, "Try again" plays.
    await page.unroute(failure.route[0]);
    await page.click('#retry');
    const s = await pressToPlay(page);
    check(s.frame > 0, 'after a failed load "Try again" loads and plays');
  }
  await done(page);
}

export async function failures(env, pages) {
  await Promise.all(kFailures.map(failure => oneFailure(env, pages, failure).catch(error => {
    check(false, `a failed load (${failure.name}): ${error.message}`);
  })));
}

// A pad's button starts the game from the start screen; where the browser
// still holds the sound back (here a stand-in whose audio never runs), the
// page says what turns it on.
export async function startByPad(env, pages) {
  const page = await openPage(env.browser, env.origin, null, pages);
  await page.addInitScript(() => {
    const buttons = Array.from({length: 16}, (_, i) => ({pressed: i === 0}));
    navigator.getGamepads = () => [{connected: true, axes: [0, 0], buttons}];
    const Real = window.AudioContext;
    window.AudioContext = class extends Real {
      constructor(...args) {
        super(...args);
        this.suspend();
      }
      resume() {
        return Promise.resolve();
      }
    };
  });
  await page.goto(env.origin + '/');
  const s = await waitFor(page, 'the run the pad began', s => s.frame > 25, 60);
  await page.waitForTimeout(600);
  const notice = await page.locator('#notice').innerText();
  check(s.scene === sceneState.kLogoRunning && /click or tap/.test(notice),
        `a pad's button starts the game; the page says: "${notice}"`);
  await done(page);
}

// Served gzip-compressed with the compressed length, the page loads: the bar
// sweeps (the unpacked length is unknown) and the title comes. The title's
// tune is fetched before the title comes, not when the title first wants it.
export async function compressed(env, pages) {
  const page = await openPage(env.browser, env.origin, null, pages);
  let tuneAsked = false;
  page.on('request', request => {
    tuneAsked ||= request.url().endsWith('/Music03.ogg');
  });
  await page.goto(env.origin + '/gzip/');
  await pressToPlay(page);
  const sweeping = await page.evaluate(() => document.getElementById('progress').classList.contains('unknown'));
  let askedInLogo = false;
  const s = await waitFor(page, 'the title', s => {
    askedInLogo ||= tuneAsked && s.scene === sceneState.kLogoRunning;
    return s.scene === sceneState.kTitleRunning;
  }, 40);
  check(sweeping && s.scene === sceneState.kTitleRunning,
        `served gzip-compressed with the compressed length, the page reaches the title (frame ${s.frame}; ` +
            `the bar sweeps: ${sweeping})`);
  if (env.hasTunes) check(askedInLogo, 'the title\'s tune is fetched before the title (seen asked while the logo runs)');
  await done(page);
}
