// The page sends a run to the hall of fame that serves it: velloria-hall on a
// loopback port with a scratch SQLite file and the built site, the page
// opened from its /play/. A short game from the title's EPISODE 3 (which
// starts with 100 potions) is lost at four times the speed, HALL entered
// and the continue refused; nothing goes out before the player's Enter at
// the question, and then the notice gives the place and the hall lists the
// run as the page's own ranking holds it. The same page from a plain server
// names no hall.
import {spawn} from 'node:child_process';
import {join} from 'node:path';
import {check, done, gameState, openPage, pressToPlay, sceneState, startEpisode, tap, waitFor} from './lib.mjs';

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
  } finally {
    await hall.stop();
  }
}
