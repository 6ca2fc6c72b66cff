// Recorded sessions played in the page: every session under tests/replays/
// gives the desktop's pictures at its kept frames, byte for byte (played
// headless, as fast as the page can); and a boss session played at its own
// pace keeps the page's mix under full scale.
import {execFile} from 'node:child_process';
import {promisify} from 'node:util';
import {readdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {check, differingIndices, done, kTimeScale, openPage, pressToPlay, status} from './lib.mjs';

// Two pages take the sessions in turn, longest first.
const kPages = 2;
// How long the boss session plays at its own pace for the mix.
const kMixSeconds = 12;

// The sessions: their command line as URL parameters, and their kept frames.
export function sessions(replays) {
  return readdirSync(replays).sort().map(name => {
    const [line, shots] = readFileSync(join(replays, name, 'args'), 'utf8').split('\n');
    const args = line.trim().split(/\s+/).filter(Boolean);
    const query = [];
    for (let i = 0; i < args.length; ++i) {
      const flag = args[i].slice(2);
      if (i + 1 < args.length && !args[i + 1].startsWith('--')) query.push(`${flag}=${args[++i]}`);
      else query.push(flag);
    }
    const frames = shots.trim().split(/\s+/).slice(1).map(Number);
    const length = Number(args[args.indexOf('--frames') + 1]);
    // Both play up to the last kept picture only.
    const last = Math.max(...frames) + 1;
    const shortened = args.map((arg, i) => (args[i - 1] === '--frames' ? String(last) : arg));
    const shortenedQuery = query.map(q => (q.startsWith('frames=') ? `frames=${last}` : q));
    return {name, args: shortened, query: shortenedQuery, frames, length, input: join(replays, name, 'input.txt')};
  }).sort((a, b) => b.length - a.length);
}

async function playSession(env, page, session) {
  const {origin, velloria, scratch} = env;
  const shots = session.frames.flatMap(f => ['--shot', `${f}:${join(scratch, `${session.name}-${f}.png`)}`]);
  await promisify(execFile)(velloria, ['--headless', ...session.args, '--input', session.input, ...shots],
                            {env: {...process.env, XDG_CONFIG_HOME: scratch}});
  const query = [...session.query, 'headless', `input=replay-${session.name}.txt`, `shot=${session.frames.join(',')}`];
  await page.goto(`${origin}/?${query.join('&')}`);
  await page.waitForFunction(() => !window.velloria.running(), null, {timeout: 120000 * kTimeScale});
  const differing = [];
  for (const frame of session.frames) {
    differing.push(await differingIndices(page, frame, join(scratch, `${session.name}-${frame}.png`)));
  }
  return differing;
}

export async function everySession(env, pages) {
  const queue = sessions(env.replays);
  const results = [];
  await Promise.all(Array.from({length: kPages}, async () => {
    const page = await openPage(env.browser, env.origin, null, pages);
    for (let session = queue.shift(); session; session = queue.shift()) {
      const differing = await playSession(env, page, session);
      results.push(`${session.name} ${differing.join('/')}`);
      if (differing.some(n => n !== 0)) {
        check(false, `session ${session.name}: frames ${session.frames} differ by ${differing}`);
      }
    }
    await done(page);
  }));
  check(results.length === sessions(env.replays).length && results.every(r => /^\S+ 0(\/0)*$/.test(r)),
        `every recorded session gives the desktop's pictures at its kept frames, 0 indices differing ` +
            `(${results.length} ` +
            `sessions, ${sessions(env.replays).reduce((n, s) => n + s.frames.length, 0)} pictures)`);
}

// Everything that reaches the speakers passes a tap that notes the peak and
// the samples at or over full scale.
const tapTheMix = () => {
  const connect = AudioNode.prototype.connect;
  window.mix = {peak: 0, clipped: 0, samples: 0};
  AudioNode.prototype.connect = function(target, ...rest) {
    if (!(target instanceof AudioDestinationNode)) return connect.call(this, target, ...rest);
    const context = target.context;
    if (!context.mixTap) {
      context.mixTap = context.createScriptProcessor(4096, 2, 2);
      context.mixTap.onaudioprocess = event => {
        for (let c = 0; c < event.inputBuffer.numberOfChannels; ++c) {
          for (const v of event.inputBuffer.getChannelData(c)) {
            const a = Math.abs(v);
            if (a > window.mix.peak) window.mix.peak = a;
            if (a >= 1) window.mix.clipped += 1;
          }
          window.mix.samples += event.inputBuffer.length;
        }
      };
      connect.call(context.mixTap, target);
    }
    return connect.call(this, context.mixTap, ...rest);
  };
};

export async function bossMix(env, pages) {
  const boss = sessions(env.replays).find(s => s.name === 'boss-1');
  const page = await openPage(env.browser, env.origin, null, pages);
  await page.addInitScript(tapTheMix);
  await page.goto(`${env.origin}/?${boss.query.join('&')}&input=replay-boss-1.txt`);
  await pressToPlay(page);
  // The window opens once the tune sounds (the first play decodes it).
  const sounding = await page.waitForFunction(() => window.velloria.music().sounding, null,
                                              {timeout: 30000 * kTimeScale})
                       .then(() => true, () => false);
  await page.evaluate(() => Object.assign(window.mix, {peak: 0, clipped: 0, samples: 0}));
  await page.waitForTimeout(kMixSeconds * 1000);
  const mix = await page.evaluate(() => window.mix);
  const s = await status(page);
  const music = await page.evaluate(() => window.velloria.music());
  check(s.boss !== '-' && mix.samples > 44100 * kMixSeconds / 2 && mix.clipped === 0 && mix.peak > 0.05 &&
            (!env.hasTunes || sounding),
        `boss 1 at its own pace for ${kMixSeconds} s: no sample of the page's mix at full scale (peak ` +
            `${mix.peak.toFixed(3)}, ${mix.clipped} of ${mix.samples} at or over; boss ${s.boss}, tune ${music.file} ` +
            `sounded ${sounding})`);
  await done(page);
}
