#!/usr/bin/python3
"""Renders the tunes to music/Music01.ogg .. Music03.ogg, which the game
plays in place of the MIDI files: the same music without a synthesiser
running during play.

Each recording is exactly one pass of the tune, as long as the MIDI file to
the nearest sample. What the synthesiser still sounds after the loop point
(releases, reverb) is added onto the recording's start, so its last sample
runs straight on into its first: played in a loop it sounds like the
synthesiser playing the form over and over, every pass starting on the very
sample, with no gap and no click at the join. The level is set to the
same integrated loudness for every tune.

Usage: render_music.py [--soundfont FILE] [tune-file ...]
Needs fluidsynth, ffmpeg and oggenc (Debian: fluidsynth, fluid-soundfont-gm,
ffmpeg, vorbis-tools). The MIDI file must be current (make_midi.py), and the
output is the same bytes every time with the same programs.
"""
import argparse
import os
import subprocess
import sys
import tempfile

import numpy as np

import mixdown
from mixdown import FONTS, RATE, ROOT, TUNES

# Integrated loudness of every recording; with the effects' levels this keeps
# the game's whole mix below -1 dBFS.
TARGET_LUFS = -21.0
MAX_TRUE_PEAK = -3.0
QUALITY = "3"
# A join whose last or first 50 ms lie this far under the median, or whose
# click energy ranks above this share of the tune, fails.
DIP_DB = 10.0
CLICK_RANK = 99.0
# A fixed stream serial number keeps the files byte-identical between runs.
SERIAL = {"music01.tune": "1", "music02.tune": "2", "music03.tune": "3"}


def decode(path):
    out = subprocess.run(["ffmpeg", "-loglevel", "error", "-i", path, "-f", "f32le", "-ac", "2",
                          "-ar", str(RATE), "-"], capture_output=True, check=True).stdout
    return np.frombuffer(out, dtype="<f4").reshape(-1, 2).astype(np.float64)


def db(x):
    return 20 * np.log10(max(float(x), 1e-12))


def join_report(decoded):
    """How the loop's join sounds: the level in the 50 ms on either side of it
    against the tune's median 50 ms level (a gap would show as a dip), and
    the high-frequency energy of the 1 ms across it against that of every
    other millisecond of the tune (a click would rank near the top)."""
    n = len(decoded)
    mono = decoded.mean(axis=1)
    win = RATE // 20
    levels = [np.sqrt(np.mean(mono[i:i + win] ** 2)) for i in range(0, n - win, win)]
    typical = float(np.median(levels))
    before = np.sqrt(np.mean(mono[n - win:] ** 2))
    after = np.sqrt(np.mean(mono[:win] ** 2))
    looped = np.concatenate([mono[-RATE:], mono[:RATE]])
    edge = np.diff(looped) ** 2
    ms = RATE // 1000
    energy = np.convolve(np.diff(np.concatenate([mono, mono[:1]])) ** 2, np.ones(ms), "valid")
    at_join = float(np.sum(edge[RATE - ms // 2:RATE + ms // 2]))
    rank = 100.0 * np.mean(energy < at_join)
    return db(before / typical), db(after / typical), rank


def build(tune_file, sf2, out_dir):
    tune = mixdown.load(tune_file)
    stem = TUNES[tune_file]
    with open(os.path.join(ROOT, "music", stem + ".mid"), "rb") as f:
        if f.read() != mixdown.midi_bytes(tune):
            sys.exit("%s.mid is not the current tune: run make_midi.py first" % stem)
    once = mixdown.render(mixdown.midi_bytes(tune), sf2)
    n = mixdown.loop_frames(tune)
    # What rings on past the loop point sounds over the start, as it does
    # when the synthesiser plays the form twice in a row.
    loop = once[:n].copy()
    tail = once[n:n + n]
    loop[:len(tail)] += tail
    lufs, peak = mixdown.measure(loop)
    gain = 10 ** ((TARGET_LUFS - lufs) / 20)
    if peak + db(gain) > MAX_TRUE_PEAK:
        sys.exit("%s: true peak %.1f dBFS at %.1f LUFS" % (stem, peak + db(gain), TARGET_LUFS))
    out = os.path.join(out_dir, stem + ".ogg")
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, stem + ".wav")
        mixdown.write_wav_float(wav, loop * gain)
        subprocess.run(["oggenc", "-Q", "-q", QUALITY, "--serial", SERIAL[tune_file],
                        "-t", tune.title, "-o", out, wav], check=True)
    decoded = decode(out)
    if len(decoded) != n:
        sys.exit("%s: %d frames decoded, %d written" % (out, len(decoded), n))
    lufs_out, peak_out = mixdown.measure(decoded)
    before, after, rank = join_report(decoded)
    print("%s: %d frames at %d Hz (%.3f s), %d bytes, %.1f LUFS, true peak %.1f dBFS; join: "
          "last / first 50 ms %+.1f / %+.1f dB from the median, click energy above %.1f %% of the tune"
          % (out, n, RATE, n / RATE, os.path.getsize(out), lufs_out, peak_out, before, after, rank))
    return rank < CLICK_RANK and min(before, after) > -DIP_DB


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--soundfont", default=FONTS["FluidR3"])
    ap.add_argument("--out", default=os.path.join(ROOT, "music"))
    ap.add_argument("tunes", nargs="*")
    args = ap.parse_args()
    ok = [build(name, args.soundfont, args.out)
          for name in [os.path.basename(t) for t in args.tunes] or sorted(TUNES)]
    return 0 if all(ok) else 1


if __name__ == "__main__":
    sys.exit(main())
