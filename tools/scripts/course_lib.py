"""Shared pieces of the course checks: running the tracer, reading its lines, the
bookkeeping of checks, and the structural rules every script text must keep."""

import os
import re
import subprocess

_tracer = None
_scripts_dir = None
END_LINE = "~" * 30 + "END_OF_FILE" + "~" * 30
FRAME_RE = re.compile(r"^t=(\d+) x=(-?\d+) y=(-?\d+) speed=(\S+) dir=(-?\d+) img=(\d+)(.*)$")
RECORD_RE = re.compile(r"^(\d+): \((-?\d+), (-?\d+), (-?\d+)\)")
MOVE, STOP, LABEL, GOTO, REPEAT, REPEAT_END, GOSUB, RETURN = 1, 2, 12, 13, 16, 17, 21, 22


def set_tracer(path):
    global _tracer
    _tracer = path


class Frame:
    def __init__(self, match):
        self.t = int(match.group(1))
        self.x = int(match.group(2))
        self.y = int(match.group(3))
        self.speed = float(match.group(4))
        self.dir = int(match.group(5))
        self.img = int(match.group(6))
        self.sounds = []
        self.shots = []
        for word in match.group(7).split():
            key, _, value = word.partition("=")
            if key == "sound":
                self.sounds.append(int(value))
            elif key == "shoot":
                pattern, _, point = value.partition("@")
                px, py = point.split(",")
                self.shots.append((int(pattern), int(px), int(py)))


class Trace:
    """The tracer's frames, indexed from t = 1."""

    def __init__(self, frames, start):
        self.frames = frames
        self.start = start

    def __len__(self):
        return len(self.frames)

    def at(self, t):
        """Position after call t; t = 0 is the start position."""
        if t == 0:
            return self.start
        return self.frames[t - 1]

    def pos(self, t):
        f = self.at(t)
        return (f[0], f[1]) if t == 0 else (f.x, f.y)

    def sound_frames(self, sound=None):
        return [f.t for f in self.frames for s in f.sounds if sound is None or s == sound]

    def shot_frames(self, pattern=None):
        return [f.t for f in self.frames for s in f.shots if pattern is None or s[0] == pattern]

    def shots(self):
        return [(f.t,) + s for f in self.frames for s in f.shots]

    def frames_where(self, predicate, first=1, last=None):
        last = len(self.frames) if last is None else last
        return [t for t in range(first, last + 1) if predicate(self.at(t))]


_cache = {}


def run_trace(name, frames, at, size, images=1, reduced=False, player=None):
    key = (name, frames, at, size, images, reduced, player)
    if key in _cache:
        return _cache[key]
    cmd = [_tracer, os.path.join(_scripts_dir, name), "--trace", str(frames),
           "--at", "%d,%d" % at, "--size", "%dx%d" % size, "--frames-in-bitmap", str(images)]
    if reduced:
        cmd.append("--reduced")
    if player:
        cmd += ["--player", "%d,%d" % player]
    out = subprocess.run(cmd, capture_output=True, text=True, check=True).stdout
    parsed = []
    for line in out.splitlines():
        m = FRAME_RE.match(line)
        if m:
            parsed.append(Frame(m))
    trace = Trace(parsed, at)
    trace.raw = out
    _cache[key] = trace
    return trace


def records(name):
    out = subprocess.run([_tracer, os.path.join(_scripts_dir, name)], capture_output=True,
                         text=True, check=True).stdout
    result = []
    for line in out.splitlines():
        m = RECORD_RE.match(line)
        if m:
            result.append((int(m.group(2)), int(m.group(3)), int(m.group(4))))
    return result


class Checker:
    def __init__(self, scripts_dir, only):
        global _scripts_dir
        _scripts_dir = scripts_dir
        self.only = only
        self.counts = {}
        self.failures = []

    def wants(self, name):
        return name.startswith(self.only) and os.path.exists(os.path.join(_scripts_dir, name))

    def expect(self, name, condition, what):
        passed, failed = self.counts.get(name, (0, 0))
        if condition:
            self.counts[name] = (passed + 1, failed)
        else:
            self.counts[name] = (passed, failed + 1)
            self.failures.append("%s: %s" % (name, what))
        return condition

    def expect_equal(self, name, got, wanted, what):
        return self.expect(name, got == wanted, "%s: got %r, wanted %r" % (what, got, wanted))

    def expect_near(self, name, got, wanted, tolerance, what):
        return self.expect(name, abs(got - wanted) <= tolerance,
                           "%s: got %r, wanted %r +- %r" % (what, got, wanted, tolerance))

    def report(self):
        total_passed = total_failed = 0
        for name in sorted(self.counts):
            passed, failed = self.counts[name]
            total_passed += passed
            total_failed += failed
            print("%-30s %4d checks, %d failed" % (name, passed + failed, failed))
        for failure in self.failures:
            print("FAILED " + failure)
        print("%d scripts, %d checks, %d failed" % (len(self.counts), total_passed + total_failed,
                                                      total_failed))
        return 1 if total_failed else 0


def lint(checker, name):
    """The language's rules of form: line ends, end line, title, the main loop, loops that
    take time, no nested REPEAT blocks, subroutines that do not call further."""
    raw = open(os.path.join(_scripts_dir, name), "rb").read()
    text = raw.decode("ascii", errors="replace")
    checker.expect(name, b"\t" not in raw, "tab characters in the text")
    checker.expect(name, raw.count(b"\n") == raw.count(b"\r\n"), "a line end other than CR LF")
    lines = text.split("\r\n")
    checker.expect(name, lines[0].startswith("// "), "no comment title on the first line")
    checker.expect(name, END_LINE in lines, "no end line")
    recs = records(name)
    ops = [r[0] for r in recs]
    checker.expect(name, 0 not in ops, "an unrecognised keyword")
    if not checker.expect(name, (LABEL, 1, 0) in recs and (GOTO, 1, 0) in recs,
                          "no main loop from LABEL 1 to GOTO_LABEL 1"):
        return
    start = recs.index((LABEL, 1, 0))
    end = recs.index((GOTO, 1, 0))
    checker.expect(name, start < end and _takes_time(recs[start:end], recs),
                   "the main loop has no MOVE or STOP of at least 1")
    subs = _subroutines(recs, end)
    for k, body in subs.items():
        checker.expect(name, GOSUB not in [r[0] for r in body], "subroutine %d calls GOSUB" % k)
    inside = None
    for i, (op, a1, _) in enumerate(recs):
        if op == REPEAT:
            checker.expect(name, inside is None, "REPEAT inside a REPEAT block at record %d" % i)
            inside = i
        elif op == REPEAT_END:
            if checker.expect(name, inside is not None, "REPEAT_END without REPEAT at %d" % i):
                block = recs[inside + 1:i]
                checker.expect(name, _takes_time(block, recs),
                               "REPEAT block at %d takes no frame" % inside)
                for callee in [r[1] for r in block if r[0] == GOSUB]:
                    checker.expect(name, REPEAT not in [r[0] for r in subs.get(callee, [])],
                                   "REPEAT block at %d reaches a REPEAT through GOSUB" % inside)
            inside = None
        elif op == GOSUB:
            checker.expect(name, a1 in subs, "GOSUB %d has no subroutine after the main loop" % a1)


def _subroutines(recs, main_end):
    subs = {}
    current = None
    for op, a1, _ in recs[main_end + 1:]:
        if op == LABEL and current is None:
            current = a1
            subs[current] = []
        elif op == RETURN:
            current = None
        elif current is not None:
            subs[current].append((op, a1, 0))
    return subs


def _takes_time(block, recs):
    if any(op in (MOVE, STOP) and a1 >= 1 for op, a1, _ in block):
        return True
    subs = _subroutines(recs, recs.index((GOTO, 1, 0)))
    return any(op == GOSUB and _takes_time(subs.get(a1, []), recs) for op, a1, _ in block)
