#!/usr/bin/python3
"""The small pieces of the tune notation: note names, lengths, chord symbols,
drum names, and reading a run of bars into timed notes. tune.py puts them
together into whole tunes; the notation itself is described in README.md."""
import re

from smf import TICKS_PER_QUARTER as Q

DURATIONS = {"w": 4 * Q, "h": 2 * Q, "q": Q, "e": Q // 2, "s": Q // 4, "t": Q // 3}
NOTE_STEPS = {"c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "b": 11}
CHORD_SHAPES = {
    "": (0, 4, 7), "m": (0, 3, 7), "5": (0, 7), "dim": (0, 3, 6), "aug": (0, 4, 8),
    "sus2": (0, 2, 7), "sus4": (0, 5, 7), "6": (0, 4, 7, 9), "m6": (0, 3, 7, 9),
    "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10), "maj7": (0, 4, 7, 11), "dim7": (0, 3, 6, 9),
    "m7b5": (0, 3, 6, 10), "add9": (0, 4, 7, 14), "madd9": (0, 3, 7, 14),
    "9": (0, 4, 7, 10, 14), "m9": (0, 3, 7, 10, 14), "maj9": (0, 4, 7, 11, 14),
    "7b9": (0, 4, 7, 10, 13), "7sus4": (0, 5, 7, 10),
}
DRUMS = {
    "kick": 36, "rim": 37, "snare": 38, "clap": 39, "esnare": 40, "ftom": 41,
    "hat": 42, "ltom": 45, "phat": 44, "ohat": 46, "mtom": 47, "htom": 50,
    "crash": 49, "ride": 51, "china": 52, "bell": 53, "tamb": 54, "splash": 55,
    "cowbell": 56, "shaker": 70, "tri": 81,
}
DRUM_HITS = {"X": 118, "x": 92, "o": 58}

NOTE_RE = re.compile(r"^(>?)((?:[a-g][#b]?-?\d)(?:\+[a-g][#b]?-?\d)*|r|_)([whqest]\.?)?$")
DEGREE_RE = re.compile(r"^(>?)((?:[1-9*][',]*)(?:\+[1-9*][',]*)*|r|_)([whqest]\.?)?$")
CHORD_RE = re.compile(r"^([A-G])([#b]?)([a-z0-9]*)(?:/([A-G])([#b]?))?$")


class TuneError(Exception):
    pass


def note_number(text):
    """'c#5' -> 73 (c4 is middle C, 60)."""
    m = re.match(r"^([a-g])([#b]?)(-?\d)$", text)
    if not m:
        raise TuneError("bad note %r" % text)
    acc = {"": 0, "#": 1, "b": -1}[m.group(2)]
    return 12 * (int(m.group(3)) + 1) + NOTE_STEPS[m.group(1)] + acc


def parse_chord(text):
    m = CHORD_RE.match(text)
    if not m or m.group(3) not in CHORD_SHAPES:
        raise TuneError("bad chord %r" % text)
    acc = {"": 0, "#": 1, "b": -1}
    root = (NOTE_STEPS[m.group(1).lower()] + acc[m.group(2)]) % 12
    bass = root
    if m.group(4):
        bass = (NOTE_STEPS[m.group(4).lower()] + acc[m.group(5)]) % 12
    return {"name": text, "root": root, "shape": CHORD_SHAPES[m.group(3)], "bass": bass}


def duration(code, previous):
    if not code:
        return previous
    ticks = DURATIONS[code[0]]
    return ticks * 3 // 2 if code.endswith(".") else ticks


def split_bars(text):
    """'| a b | c |' -> [['a','b'], ['c']]; '%' repeats the bar before."""
    text = text.strip()
    if not text.startswith("|") or not text.endswith("|"):
        raise TuneError("bars must start and end with '|'")
    bars = []
    for chunk in text.strip("|").split("|"):
        tokens = chunk.split()
        if not tokens:
            continue  # '| |' where two lines of bars were joined
        if tokens == ["%"]:
            if not bars:
                raise TuneError("'%' with no bar to repeat")
            tokens = list(bars[-1])
        bars.append(tokens)
    return bars


def read_tokens(bars, regex, bar_ticks):
    """Token bars -> list of (start, length, body, accent), ties merged.
    Each bar must fill bar_ticks exactly."""
    events = []
    now = 0
    dur = Q
    for b, tokens in enumerate(bars):
        start_of_bar = now
        for tok in tokens:
            m = regex.match(tok)
            if not m:
                raise TuneError("bad token %r in bar %d" % (tok, b + 1))
            dur = duration(m.group(3), dur)
            body = m.group(2)
            if body == "_":
                if not events or events[-1][2] == "r":
                    raise TuneError("tie with nothing to hold in bar %d" % (b + 1))
                s, length, prev, acc = events[-1]
                events[-1] = (s, length + dur, prev, acc)
            else:
                events.append((now, dur, body, bool(m.group(1))))
            now += dur
        if now - start_of_bar != bar_ticks:
            raise TuneError("bar %d lasts %d/%d of a beat, not %d beats"
                            % (b + 1, now - start_of_bar, Q, bar_ticks // Q))
    return [e for e in events if e[2] != "r"]
