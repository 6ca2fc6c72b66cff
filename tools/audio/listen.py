#!/usr/bin/python3
"""Renders the tunes with FluidSynth and measures them the way an ear would
judge them in the game: peak, overall loudness, the quietest quarter second
inside the tune (a gap would show here), the loudness of the first and last
two seconds, and the level around the join when the tune is played twice in
a row (a loop seam would show there as a dip). Also prints sox's view of
every effect. Writes the renders and spectrograms to an output folder.

Usage: listen.py [--out DIR] [--soundfont FILE]
Needs fluidsynth and sox; exits non-zero when a tune clips, has a gap,
is under a minute or dips at its loop join.
"""
import argparse
import glob
import os
import subprocess
import sys
import wave

import numpy as np

import smf
from tune import Tune

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
RATE = 22050
GAP_DB = -45.0       # a quarter second quieter than this counts as a gap
CLIP = 0.99


def db(x):
    return 20 * np.log10(max(float(x), 1e-9))


def render(mid, sf2, out_wav):
    subprocess.run(["fluidsynth", "-ni", "-g", "0.5", "-F", out_wav, "-r", str(RATE), sf2, mid],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with wave.open(out_wav) as w:
        raw = w.readframes(w.getnframes())
        chans = w.getnchannels()
    return np.frombuffer(raw, dtype=np.int16).reshape(-1, chans).astype(np.float64) / 32768.0


def tune_seconds(tune_file):
    t = Tune(tune_file)
    _, end = t.render()
    return end / 480 * 60.0 / t.bpm


def seam_check(name, tune_file, sf2, out_dir):
    """Plays the form twice in one file and compares the quarter seconds on
    either side of the join with the tune's typical level: the restart must
    sound like the next bar, not like a stop."""
    t = Tune(tune_file)
    t.form = t.form * 2
    notes, end = t.render()
    tracks = [smf.conductor(t.title, t.bpm, t.beats, end)]
    for part in t.part_order:
        p = t.parts[part]
        tracks.append(smf.instrument(part, p["channel"], p["program"], p["volume"],
                                     p["pan"], p["reverb"], notes[part], end))
    mid = os.path.join(out_dir, name + ".twice.mid")
    with open(mid, "wb") as f:
        f.write(smf.midi_file(tracks))
    mono = render(mid, sf2, mid + ".wav").mean(axis=1)
    join = int(end / 2 / smf.TICKS_PER_QUARTER * 60.0 / t.bpm * RATE)
    win = RATE // 4
    levels = [db(np.sqrt(np.mean(mono[i:i + win] ** 2))) for i in range(0, 2 * join - win, win)]
    typical = float(np.median(levels))
    around = [db(np.sqrt(np.mean(mono[join + k * win:join + (k + 1) * win] ** 2))) for k in range(-4, 4)]
    print("%s  loop join: quarter seconds around it %s dBFS (typical %.1f)"
          % (name, " ".join("%.0f" % v for v in around), typical))
    return ["%s dips at the loop join" % name] if min(around) < typical - 10 else []


def measure_tune(name, tune_file, sf2, out_dir):
    pcm = render(os.path.join(ROOT, "music", name), sf2, os.path.join(out_dir, name + ".wav"))
    mono = pcm.mean(axis=1)
    length = tune_seconds(tune_file)
    body = mono[: int(length * RATE)]
    win = RATE // 4
    rms = [np.sqrt(np.mean(body[i:i + win] ** 2)) for i in range(0, len(body) - win, win)]
    quietest = min(rms)
    head = np.sqrt(np.mean(body[: 2 * RATE] ** 2))
    tail = np.sqrt(np.mean(body[-2 * RATE:] ** 2))
    peak = np.max(np.abs(pcm))
    print("%s  %.1f s  peak %.1f dBFS  RMS %.1f dBFS  quietest 0.25 s %.1f dBFS"
          "  first 2 s %.1f / last 2 s %.1f dBFS"
          % (name, length, db(peak), db(np.sqrt(np.mean(body ** 2))), db(quietest), db(head), db(tail)))
    subprocess.run(["sox", os.path.join(out_dir, name + ".wav"), "-n", "remix", "1",
                    "spectrogram", "-x", "1000", "-y", "300", "-o",
                    os.path.join(out_dir, name + ".png")], check=True)
    problems = []
    if peak >= CLIP:
        problems.append("%s clips" % name)
    if db(quietest) < GAP_DB:
        problems.append("%s has a silent gap" % name)
    if length < 60:
        problems.append("%s is shorter than a minute" % name)
    return problems


def sox_effect(path):
    out = subprocess.run(["sox", path, "-n", "stats"], capture_output=True, text=True).stderr
    vals = {}
    for line in out.splitlines():
        parts = line.split()
        if line.startswith("Pk lev dB"):
            vals["peak"] = float(parts[-1])
        elif line.startswith("RMS lev dB"):
            vals["rms"] = float(parts[-1])
        elif line.startswith("Length s"):
            vals["len"] = float(parts[-1])
    return vals


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default="/tmp/velloria-audio")
    ap.add_argument("--soundfont", default="/usr/share/sounds/sf2/TimGM6mb.sf2")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    problems = []
    for k in (1, 2, 3):
        name, src = "Music0%d.mid" % k, os.path.join(HERE, "tunes", "music0%d.tune" % k)
        problems += measure_tune(name, src, args.soundfont, args.out)
        problems += seam_check(name, src, args.soundfont, args.out)
    for path in sorted(glob.glob(os.path.join(ROOT, "resources", "waves", "*.wav"))):
        v = sox_effect(path)
        print("%-24s %6.3f s  peak %6.2f dBFS  RMS %6.2f dBFS"
              % (os.path.basename(path), v["len"], v["peak"], v["rms"]))
    for p in problems:
        print("PROBLEM:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
