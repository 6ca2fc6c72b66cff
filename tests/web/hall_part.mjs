// The page sends a run to the hall of fame that serves it: velloria-hall on a
// loopback port with a scratch SQLite file and the built site, the page
// opened from its /play/. A short game from the title's EPISODE 3 (which
// starts with 100 potions) is lost at four times the speed, HALL entered
// and the continue refused; nothing goes out before the player's Enter at
// the question, and then the notice gives the place and the hall lists the
// run as the page's own ranking holds it. The same page from a plain server
// names no hall. The hall's own page then lists the run, and its WATCH opens
// the game's page on the run's replay, which gives the desktop's pictures.
import {execFile, spawn} from 'node:child_process';
import {writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {promisify} from 'node:util';
import {check, differingIndices, done, gameState, kTimeScale, openPage, pressToPlay, sceneState, startEpisode, tap,
        waitFor} from './lib.mjs';

// The pictures of a watched run compared with the desktop's.
const kWatchedFrames = [250, 500];

async function startHall(hall, site, scratch) {
  const child = spawn(hall, ['--db', join(scratch, 'hall.db'), '--listen', '127.0.0.1:0', '--site', site,
                             '--workers', '1'], {stdio: ['ignore', 'pipe', 'inherit']});
  const port = await new Promise((resolve, reject) => {
    let text = '';
    child.stdout.on('data', data => {
      text += data;
      const found = /listening on port (\d+)/.exec(text);
      if (found) resolve(Number(found[1]));
    });
    child.on('exit', code => reject(new Error(`velloria-hall ended (${code}) before it listened`)));
  });
  const stop = () => child.kill('SIGKILL');
  process.on('exit', stop);
  // Stopped as a service is, and waited for, so that its files go with the scratch folder.
  const ended = new Promise(resolve => child.once('exit', resolve));
  return {origin: `http://127.0.0.1:${port}`, stop: () => child.kill('SIGTERM') && ended};
}

const hallNamed = page => page.evaluate(() => window.velloria.settings()['hall-of-fame']);

export async function hallOfFame(env, pages) {
  if (!env.hall) {
    check(false, 'the hall part needs velloria-hall (--hall, built with -DVELLORIA_HALL=ON)');
    return;
  }
  const hall = await startHall(env.hall, env.site, env.scratch);
  try {
    const plain = await openPage(env.browser, env.origin, '/', pages);
    await pressToPlay(plain);
    const plainHall = await hallNamed(plain);
    await done(plain);

    const page = await openPage(env.browser, hall.origin, '/play/', pages);
    const posts = [];
    page.on('request', r => {
      if (r.method() === 'POST') posts.push(r.url());
    });
    await pressToPlay(page);
    const ownHall = await hallNamed(page);
    await waitFor(page, 'the title', s => s.scene === sceneState.kTitleRunning, 30);
    await page.waitForTimeout(1500);  // the title's menu takes keys once it has slid in
    await tap(page, 'ArrowDown');
    await tap(page, 'ArrowDown');
    const episode = await startEpisode(page);
    await tap(page, 'KeyS');
    await waitFor(page, 'the name entry', s => s.state === gameState.kNameEntry, 120);
    await page.keyboard.type('hall', {delay: 120});
    await tap(page, 'Enter');
    await waitFor(page, 'the continue', s => s.scene === sceneState.kContinueRunning, 20);
    await page.waitForTimeout(1000);  // the continue takes keys once it stands
    await tap(page, 'ArrowRight');  // NO
    await tap(page, 'Enter');
    await waitFor(page, 'the hall of fame question', s => s.hall === 1, 20);
    const before = posts.length;
    const answered = page.waitForResponse(r => r.request().method() === 'POST', {timeout: 60000});
    await tap(page, 'Enter');
    const answer = await (await answered).json().catch(() => ({}));
    await page.waitForFunction(() => /^(HALL OF FAME|NOT SENT):/.test(window.velloria.notice()), null,
                               {timeout: 10000}).catch(() => {});
    const notice = await page.evaluate(() => window.velloria.notice());
    await page.screenshot({path: join(env.out, 'hall-sent.png')});
    // A setting the page changes is saved; the hall that served it is not.
    await page.click('#mute');
    const stored = await page.evaluate(() => localStorage.getItem('KorvaGames/Velloria/settings.ini') || '');
    const ranked = (await page.evaluate(() => window.velloria.ranking())).find(e => e.name === 'HALL');
    let run = null;
    for (let episode = 1; episode <= 3 && !run; ++episode) {
      const listed = await fetch(`${hall.origin}/api/runs?episode=${episode}`).then(r => r.json());
      run = listed.runs.find(r => r.id === answer.id);
    }
    check(plainHall === '' && ownHall === hall.origin + '/' && /^mute=on$/m.test(stored) &&
              !/^hall-of-fame=./m.test(stored),
          `a page served by a hall sends to it (${ownHall}) without saving it ` +
              `(${stored.match(/^(hall-of-fame|mute)=.*$/gm)} kept); ` +
              `one from a plain server names none ("${plainHall}")`);
    // The first run in a fresh hall is its first.
    check(before === 0 && posts.length === 1 && posts[0] === hall.origin + '/api/runs' &&
              notice === 'HALL OF FAME: 1ST PLACE',
          `nothing sent before Enter at the question (${before}); Enter sends once (${posts}), notice "${notice}" ` +
              `(${JSON.stringify(answer)})`);
    check(run && run.name === 'HALL' && run.episode === episode.stage && ranked &&
              run.potions === ranked.score && answer.potions === ranked.score,
          `the hall lists the run: ${JSON.stringify(run)}, as the page's ranking holds it: ${JSON.stringify(ranked)}`);
    await done(page);
    if (run) await watchFromTheHall(env, hall, run, pages);
  } finally {
    await hall.stop();
  }
}

// The hall's page lists the run with a WATCH that opens the game's page on
// it; played there, its pictures are those the desktop plays from the same
// file.
async function watchFromTheHall(env, hall, run, pages) {
  const table = await openPage(env.browser, hall.origin, '/', pages);
  const watch = table.locator(`a.watch[aria-label="Watch the run of ${run.name}"]`);
  await watch.waitFor({timeout: 20000 * kTimeScale});
  await Promise.all([table.waitForURL(/\/play\//), watch.click()]);
  const opened = new URL(table.url());
  await done(table);

  const replay = join(env.scratch, 'hall-run.txt');
  writeFileSync(replay, await fetch(`${hall.origin}/api/runs/${run.id}/replay`).then(r => r.text()));
  const shots = kWatchedFrames.flatMap(f => ['--shot', `${f}:${join(env.scratch, `hall-run-${f}.png`)}`]);
  await promisify(execFile)(env.velloria, ['--headless', '--input', replay, ...shots],
                            {env: {...process.env, XDG_CONFIG_HOME: env.scratch, XDG_DATA_HOME: env.scratch}});
  const page = await openPage(env.browser, hall.origin, `${opened.pathname}${opened.search}&shot=${kWatchedFrames}`,
                              pages);
  await pressToPlay(page);
  await waitFor(page, 'the watched run', s => s.frame > Math.max(...kWatchedFrames), 60);
  const differing = [];
  for (const frame of kWatchedFrames) {
    differing.push(await differingIndices(page, frame, join(env.scratch, `hall-run-${frame}.png`)));
  }
  check(opened.pathname === '/play/' && opened.searchParams.get('hall-run') === String(run.id) &&
            differing.every(n => n === 0),
        `the hall's page lists the run and WATCH opens ${opened.pathname}${opened.search}, which plays it to the ` +
            `desktop's pictures after frames ${kWatchedFrames} (${differing.join('/')} indices differ)`);
  await done(page);
}
