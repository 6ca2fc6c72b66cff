#!/usr/bin/python3
"""Builds music/Music01.mid .. Music03.mid from the tunes in tools/audio/tunes/.

Usage: make_midi.py [tune-file ...]   (no arguments: all three)
"""
import os
import sys

import smf
from tune import Tune, TuneError

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
TUNES = {
    "music01.tune": "Music01.mid",
    "music02.tune": "Music02.mid",
    "music03.tune": "Music03.mid",
}


def build(tune_path, out_path):
    tune = Tune(tune_path)
    notes, end = tune.render()
    tracks = [smf.conductor(tune.title, tune.bpm, tune.beats, end)]
    for name in tune.part_order:
        p = tune.parts[name]
        tracks.append(smf.instrument(name, p["channel"], p["program"], p["volume"],
                                     p["pan"], p["reverb"], notes[name], end))
    with open(out_path, "wb") as f:
        f.write(smf.midi_file(tracks))
    seconds = end / smf.TICKS_PER_QUARTER * 60.0 / tune.bpm
    bars = end // tune.bar_ticks
    return "%s: %d bars, %.1f s, %d notes" % (out_path, bars, seconds,
                                             sum(len(v) for v in notes.values()))


if __name__ == "__main__":
    os.makedirs(os.path.join(ROOT, "music"), exist_ok=True)
    names = [os.path.basename(a) for a in sys.argv[1:]] or sorted(TUNES)
    try:
        for name in names:
            print(build(os.path.join(HERE, "tunes", name), os.path.join(ROOT, "music", TUNES[name])))
    except TuneError as e:
        sys.exit(str(e))
