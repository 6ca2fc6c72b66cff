#!/usr/bin/python3
"""Reads a tune written in the small text notation of tools/audio/tunes/
(described in tools/audio/README.md) and turns it into timed notes.

Every bar is measured: a bar that does not add up to the metre, or a part
longer than its section, is an error with the file and line named. That is
what keeps each tune ending exactly on a bar line, so its loop has no seam.
"""
import re

from notation import (DEGREE_RE, DRUM_HITS, DRUMS, NOTE_RE, TuneError,
                      note_number, parse_chord, read_tokens, split_bars)
from smf import TICKS_PER_QUARTER as Q


class Tune:
    def __init__(self, path):
        self.path = path
        self.title = "Tune"
        self.bpm = 120
        self.beats = 4
        self.parts = {}        # name -> settings
        self.part_order = []
        self.phrases = {}      # name -> token bars (absolute notes)
        self.patterns = {}     # name -> one token bar (chord degrees)
        self.grooves = {}      # name -> {drum: steps}
        self.sections = {}     # name -> {"chords": [...], part: [items or bars]}
        self.form = []
        self._parse()

    @property
    def bar_ticks(self):
        return self.beats * Q

    # -- reading the file -------------------------------------------------
    def _parse(self):
        with open(self.path) as f:
            # A comment starts with '#' at the start of a line or after a space
            # ('g#5' and 'C#m' are notes, not comments).
            lines = [(i + 1, re.sub(r"(^|\s)#.*", "", l).rstrip()) for i, l in enumerate(f)]
        target = None  # the phrase, groove or section that indented lines extend
        for number, line in lines:
            if not line.strip():
                continue
            try:
                words = line.split()
                if line[0].isspace() or line.startswith("|"):
                    if target is None:
                        raise TuneError("indented line outside a block")
                    target(line.strip())
                    continue
                target = None
                head = words[0]
                if head == "title":
                    self.title = " ".join(words[1:])
                elif head == "tempo":
                    self.bpm = float(words[1])
                elif head == "meter":
                    beats, unit = words[1].split("/")
                    if unit != "4":
                        raise TuneError("only quarter-note metres")
                    self.beats = int(beats)
                elif head == "part":
                    self._part(words[1:])
                elif head == "pattern":
                    name, eq, *tokens = words[1:]
                    if eq != "=":
                        raise TuneError("pattern NAME = tokens")
                    self.patterns[name] = tokens
                elif head == "phrase":
                    name = words[1]
                    self.phrases[name] = ""
                    rest = line.split(None, 2)[2] if len(words) > 2 else ""
                    target = self._extend_phrase(name)
                    if rest:
                        target(rest)
                elif head == "groove":
                    self.grooves[words[1]] = {}
                    target = self._groove_line(words[1])
                elif head == "section":
                    target = self._section(words[1:])
                elif head == "form":
                    self.form += words[1:]
                else:
                    raise TuneError("unknown line %r" % head)
            except (TuneError, ValueError, IndexError) as e:
                raise TuneError("%s:%d: %s" % (self.path, number, e))
        for name in self.form:
            if name not in self.sections:
                raise TuneError("%s: form names unknown section %r" % (self.path, name))

    def _part(self, words):
        name, opts = words[0], words[1:]
        part = {"channel": 1, "program": 0, "volume": 100, "pan": 64, "reverb": 40,
                "base": 48, "velocity": 90, "gate": 0.92, "transpose": 0, "bass": False,
                "melody": False}
        i = 0
        while i < len(opts):
            key = opts[i]
            if key in ("bass", "melody"):
                part[key] = True
                i += 1
                continue
            value = opts[i + 1]
            if key == "base":
                part[key] = note_number(value)
            elif key == "gate":
                part[key] = float(value)
            elif key in part:
                part[key] = int(value)
            else:
                raise TuneError("unknown part setting %r" % key)
            i += 2
        self.parts[name] = part
        self.part_order.append(name)

    def _extend_phrase(self, name):
        def add(text):
            self.phrases[name] += " " + text
        return add

    def _groove_line(self, name):
        def add(text):
            drum, steps = text.split(None, 1)
            if drum not in DRUMS:
                raise TuneError("unknown drum %r" % drum)
            steps = steps.replace(" ", "")
            if any(c not in DRUM_HITS and c != "." for c in steps):
                raise TuneError("drum steps use X x o and .")
            self.grooves[name][drum] = steps
        return add

    def _section(self, words):
        name = words[0]
        sec = {"chords": [], "dynamics": 1.0, "lines": {}}
        if len(words) == 3 and words[1] == "like":
            base = self.sections[words[2]]
            sec = {"chords": list(base["chords"]), "dynamics": base["dynamics"],
                   "lines": {k: list(v) for k, v in base["lines"].items()}}
        elif len(words) != 1:
            raise TuneError("section NAME [like OTHER]")
        self.sections[name] = sec
        fresh = set()  # parts given again in this section replace the copied ones

        def add(text):
            key, rest = (text.split(None, 1) + [""])[:2]
            if key == "chords":
                sec["chords"] = split_bars(rest) if key not in fresh else sec["chords"] + split_bars(rest)
                fresh.add(key)
            elif key == "dynamics":
                sec["dynamics"] = float(rest)
            elif key in self.parts:
                if key not in fresh:
                    sec["lines"][key] = []
                    fresh.add(key)
                sec["lines"][key].append(rest)
            else:
                raise TuneError("unknown part %r in section" % key)
        return add

    # -- turning it into notes -------------------------------------------
    def chord_timeline(self, section):
        """[(start, end, chord)] for one section, ticks from its start."""
        out = []
        for b, tokens in enumerate(section["chords"]):
            step = self.bar_ticks // len(tokens)
            for k, tok in enumerate(tokens):
                start = b * self.bar_ticks + k * step
                if tok == ".":
                    if not out:
                        raise TuneError("'.' before any chord")
                    s, _, c = out[-1]
                    out[-1] = (s, start + step, c)
                else:
                    out.append((start, start + step, parse_chord(tok)))
        return out

    def _chord_at(self, timeline, tick):
        for s, e, c in timeline:
            if s <= tick < e:
                return c
        raise TuneError("no chord at tick %d" % tick)

    def _degree_pitches(self, body, chord, part):
        """'1' '5,' '3+8' '*' -> MIDI notes for the chord and the part."""
        pitches = []
        shape = chord["shape"]
        root = chord["bass"] if part["bass"] else chord["root"]
        base = part["base"]
        low_root = base + (root - base) % 12
        for item in body.split("+"):
            deg, marks = item[0], item[1:]
            shift = 12 * (marks.count("'") - marks.count(","))
            if deg == "*":
                for iv in shape:
                    pc = (chord["root"] + iv) % 12
                    pitches.append(base + (pc - base) % 12 + shift)
                continue
            d = int(deg)
            if d == 1:
                off = 0
            elif d == 8:
                off = 12
            else:
                off = self._interval(shape, d)
                if part["bass"]:
                    off += chord["root"] - root  # degrees stay the chord's own
            pitches.append(low_root + off + shift)
        return pitches

    @staticmethod
    def _interval(shape, d):
        if d == 3:
            return next((i for i in shape if i in (3, 4)), shape[1])
        if d == 5:
            return next((i for i in shape if i in (6, 7, 8)), 7)
        if d == 7:
            return next((i for i in shape if i in (9, 10, 11)), 10 if 3 in shape else 11)
        if d in (2, 9):
            base = next((i for i in shape if i in (13, 14)), 14)
            return base - 12 if d == 2 else base
        return {4: 5, 6: 9}[d]

    def _items(self, lines):
        """A part line: either '| bars |' or names with optional *N."""
        text = " ".join(lines).strip()
        if text.startswith("|"):
            return [("bars", split_bars(text))]
        items = []
        for word in text.split():
            name, _, count = word.partition("*")
            items += [("name", name)] * (int(count) if count else 1)
        return items

    def render(self):
        """-> {part: [(tick, length, note, velocity)]}, total ticks."""
        notes = {p: [] for p in self.part_order}
        now = 0
        for sname in self.form:
            sec = self.sections[sname]
            nbars = len(sec["chords"])
            timeline = self.chord_timeline(sec)
            for pname, lines in sec["lines"].items():
                if " ".join(lines).strip() == "-":
                    continue  # the part rests for this section
                try:
                    self._render_part(pname, lines, sec, timeline, nbars, now, notes[pname])
                except TuneError as e:
                    raise TuneError("%s: section %s, part %s: %s" % (self.path, sname, pname, e))
            now += nbars * self.bar_ticks
        return notes, now

    def _render_part(self, pname, lines, sec, timeline, nbars, offset, out):
        part = self.parts[pname]
        bt = self.bar_ticks
        items = self._items(lines)
        # Named items (patterns, grooves, phrases) repeat to fill the section.
        if items and items[0][0] == "name":
            seq = []
            length = 0
            while length < nbars:
                for kind, name in items:
                    seq.append(name)
                    length += len(split_bars(self.phrases[name])) if name in self.phrases else 1
            if length != nbars:
                raise TuneError("%d bars of material for a %d-bar section" % (length, nbars))
        else:
            seq = [None]
        bar = 0
        vel_scale = sec["dynamics"]
        for name in seq:
            if name is None:
                bars = items[0][1]
                events = read_tokens(bars, NOTE_RE, bt)
                kind = "notes"
            elif name in self.phrases:
                bars = split_bars(self.phrases[name])
                events = read_tokens(bars, NOTE_RE, bt)
                kind = "notes"
            elif name in self.patterns:
                bars = [self.patterns[name]]
                events = read_tokens(bars, DEGREE_RE, bt)
                kind = "degrees"
            elif name in self.grooves:
                bars = [None]
                events = self._groove_events(self.grooves[name])
                kind = "drums"
            else:
                raise TuneError("unknown phrase, pattern or groove %r" % name)
            if bar + len(bars) > nbars:
                raise TuneError("part runs past the end of the section")
            for start, length, body, accent in events:
                tick = bar * bt + start
                if kind == "drums":
                    pitches, vel = [body[0]], body[1]
                    length = min(length, Q // 4)
                else:
                    vel = part["velocity"] + (18 if accent else 0) + (6 if start % bt == 0 else 0)
                    if kind == "notes":
                        pitches = [note_number(n) for n in body.split("+")]
                    else:
                        pitches = self._degree_pitches(body, self._chord_at(timeline, tick), part)
                    length = max(int(length * part["gate"]), 1)
                vel = max(1, min(127, int(round(vel * vel_scale))))
                for p in pitches:
                    p += part["transpose"] if kind != "drums" else 0
                    if not 0 <= p <= 127:
                        raise TuneError("note %d out of range" % p)
                    out.append((offset + tick, length, p, vel))
            bar += len(bars)
        if bar != nbars:
            raise TuneError("part fills %d of %d bars" % (bar, nbars))

    def _groove_events(self, groove):
        events = []
        for drum, steps in groove.items():
            step = self.bar_ticks / len(steps)
            if step != int(step):
                raise TuneError("%d steps do not divide the bar" % len(steps))
            for k, c in enumerate(steps):
                if c != ".":
                    events.append((int(k * step), int(step), (DRUMS[drum], DRUM_HITS[c]), False))
        return events
