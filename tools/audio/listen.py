#!/usr/bin/python3
"""Renders the tunes with FluidSynth and measures them the way an ear would
judge them in the game: peak, overall loudness, the quietest quarter second
inside the tune (a gap would show here), the loudness of the first and last
two seconds, and the level around the join when the tune is played twice in
a row (a loop seam would show there as a dip). Also prints sox's view of
every effect. Writes the renders and spectrograms to an output folder.

Then the balance of every tune under each General MIDI soundfont found
(TimGM6mb and FluidR3): each part rendered alone and measured for its
integrated loudness. The melody (the part marked `melody`) must be the
loudest part by at least MELODY_LEAD LU, and no part may lie more than
AUDIBLE LU under the melody, where the rest would bury it.

Usage: listen.py [--out DIR] [--soundfont FILE] [--parts-only] [tune-file ...]
Needs fluidsynth, sox and ffmpeg; exits non-zero when a tune clips, has a
gap, is under a minute, dips at its loop join or is out of balance.
"""
import argparse
import glob
import os
import subprocess
import sys
import wave

import numpy as np

import mixdown
import smf
from tune import Tune

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
RATE = 22050
GAP_DB = -45.0       # a quarter second quieter than this counts as a gap
CLIP = 0.99
MELODY_LEAD = 3.0    # LU the melody stands above every other part
AUDIBLE = 12.0       # LU under the melody that a part may lie at most


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


def balance(tune_file):
    """Each part alone under each soundfont: loudness in LUFS, and how far it
    lies under the melody."""
    tune = mixdown.load(tune_file)
    melody = [p for p in tune.part_order if tune.parts[p]["melody"]]
    if len(melody) != 1:
        return ["%s marks %d parts as the melody" % (tune_file, len(melody))]
    fonts = {f: path for f, path in mixdown.FONTS.items() if os.path.exists(path)}
    loud = {f: {p: mixdown.measure(mixdown.render(mixdown.midi_bytes(tune, only=p), path, RATE))[0]
                for p in tune.part_order} for f, path in fonts.items()}
    for f, path in fonts.items():
        loud[f]["(mix)"] = mixdown.measure(mixdown.render(mixdown.midi_bytes(tune), path, RATE))[0]
    print("%s: LUFS of each part alone, and LU under the melody (%s)" % (tune_file, melody[0]))
    print("  %-10s" % "part" + "".join("%24s" % f for f in fonts))
    problems = []
    for p in tune.part_order + ["(mix)"]:
        row = "  %-10s" % p
        for f in fonts:
            under = loud[f][melody[0]] - loud[f][p]
            row += "%14.1f  %6.1f  " % (loud[f][p], under)
            if p in (melody[0], "(mix)"):
                continue
            if under < MELODY_LEAD:
                problems.append("%s, %s: %s only %.1f LU under the melody" % (tune_file, f, p, under))
            if under > AUDIBLE:
                problems.append("%s, %s: %s %.1f LU under the melody" % (tune_file, f, p, under))
        print(row)
    return problems


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default="/tmp/velloria-audio")
    ap.add_argument("--soundfont", default="/usr/share/sounds/sf2/TimGM6mb.sf2")
    ap.add_argument("--parts-only", action="store_true")
    ap.add_argument("tunes", nargs="*")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    problems = []
    names = [os.path.basename(t) for t in args.tunes] or sorted(mixdown.TUNES)
    for tune_file in names:
        problems += balance(tune_file)
    for tune_file in [] if args.parts_only else names:
        name, src = mixdown.TUNES[tune_file] + ".mid", mixdown.tune_path(tune_file)
        problems += measure_tune(name, src, args.soundfont, args.out)
        problems += seam_check(name, src, args.soundfont, args.out)
    if args.parts_only:
        for p in problems:
            print("PROBLEM:", p)
        return 1 if problems else 0
    for path in sorted(glob.glob(os.path.join(ROOT, "resources", "waves", "*.wav"))):
        v = sox_effect(path)
        print("%-24s %6.3f s  peak %6.2f dBFS  RMS %6.2f dBFS"
              % (os.path.basename(path), v["len"], v["peak"], v["rms"]))
    for p in problems:
        print("PROBLEM:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
