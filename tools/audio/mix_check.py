#!/usr/bin/python3
"""Records what the game really sounds like and checks its mix: paced runs
with the autopilot (SDL's dummy video and disk audio drivers), once with
music and effects, once with effects only (--music-volume 0) and once with
music only (--sound-volume 0), on level 1-1 and boss level 1-8. Each
recording (44100 Hz, 16-bit stereo) is measured for samples at full scale,
true peak and integrated loudness (ffmpeg's ebur128 filter).

Usage: mix_check.py [--game build/velloria] [--frames 1500] [--out DIR]
Fails when a full mix has a sample at full scale or a true peak above
-1 dBFS, or when effects and music lie more than 6 LU apart.
Each run takes FRAMES / 25 seconds; the runs of one level go side by side.
"""
import argparse
import os
import subprocess
import sys

import numpy as np

from mixdown import ROOT, measure_file

LEVELS = ("1-1", "1-8")
MIXES = {"full": [], "effects": ["--music-volume", "0"], "music": ["--sound-volume", "0"]}
MAX_TRUE_PEAK = -1.0
MAX_APART = 6.0


def run(game, level, frames, extra, raw):
    # Each run its own runtime folder, so that the one-copy lock lets the
    # three run side by side; one seed, so that they play the same game.
    runtime = raw + ".run"
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw,
               XDG_RUNTIME_DIR=runtime)
    return subprocess.Popen([game, "--start", level, "--autopilot", "--seed", "7", "--frames", str(frames)] + extra,
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def analyse(raw):
    pcm = np.fromfile(raw, dtype="<i2")
    full = int(np.count_nonzero((pcm == 32767) | (pcm == -32768)))
    seconds_at_full = len(np.unique(np.nonzero((pcm == 32767) | (pcm == -32768))[0] // (2 * 44100)))
    wav = raw + ".wav"
    subprocess.run(["ffmpeg", "-y", "-loglevel", "error", "-f", "s16le", "-ar", "44100", "-ac", "2",
                    "-i", raw, wav], check=True)
    lufs, peak = measure_file(wav)
    os.remove(wav)
    return full, seconds_at_full, lufs, peak, len(pcm) / 2 / 44100


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game", default=os.path.join(ROOT, "build", "velloria"))
    ap.add_argument("--frames", type=int, default=1500)
    ap.add_argument("--out", default="/tmp/velloria-mix")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    problems = []
    for level in LEVELS:
        raws = {mix: os.path.join(args.out, "%s-%s.raw" % (level, mix)) for mix in MIXES}
        runs = [run(args.game, level, args.frames, MIXES[mix], raws[mix]) for mix in MIXES]
        for r in runs:
            r.wait()
        found = {}
        for mix, raw in raws.items():
            full, secs, lufs, peak, length = analyse(raw)
            found[mix] = lufs
            print("%s %-8s %5.1f s  samples at full scale %6d (in %2d seconds)  true peak %6.1f dBFS"
                  "  loudness %6.1f LUFS" % (level, mix, length, full, secs, peak, lufs))
            if mix == "full" and (full or peak > MAX_TRUE_PEAK):
                problems.append("%s clips or peaks above %.0f dBFS" % (level, MAX_TRUE_PEAK))
        apart = abs(found["effects"] - found["music"])
        print("%s effects and music %.1f LU apart" % (level, apart))
        if apart > MAX_APART:
            problems.append("%s: effects and music %.1f LU apart" % (level, apart))
    for p in problems:
        print("PROBLEM:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
