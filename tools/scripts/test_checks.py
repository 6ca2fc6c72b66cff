#!/usr/bin/python3
"""Self-test of the course checker: the structural rules reject broken texts, and a script
that strays from its course by one frame or one pixel is caught.

Usage: tools/scripts/test_checks.py [--tracer build/velloria-script]
"""

import argparse
import os
import shutil
import sys
import tempfile

import course_lib
from course_lib import Checker, lint, set_tracer
from courses_bosses import check_bosses
from courses_enemies import check_enemies
from courses_potions_events import check_events, check_front, check_potions

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SCRIPTS = os.path.join(ROOT, "resources", "scripts")
END = "~" * 30 + "END_OF_FILE" + "~" * 30
GOOD = ["// Test", "LABEL 1", "MOVE 2", "GOSUB 2", "GOTO_LABEL 1", "LABEL 2", "STOP 1", "RETURN", END]

# Broken texts and the complaint each must draw.
LINT_CASES = [
    ("tab", GOOD[:2] + ["MOVE\t2"] + GOOD[3:], "\r\n", "tab characters"),
    ("lf-only", GOOD, "\n", "line end other than CR LF"),
    ("no-end-line", GOOD[:-1], "\r\n", "no end line"),
    ("no-title", GOOD[1:], "\r\n", "no comment title"),
    ("no-main-loop", ["// T", "MOVE 1", END], "\r\n", "no main loop"),
    ("idle-loop", ["// T", "LABEL 1", "SHIFT_X 1", "GOTO_LABEL 1", END], "\r\n",
     "main loop has no MOVE or STOP"),
    ("nested", ["// T", "LABEL 1", "REPEAT 2", "REPEAT 3", "MOVE 1", "REPEAT_END", "REPEAT_END",
                "GOTO_LABEL 1", END], "\r\n", "REPEAT inside a REPEAT"),
    ("nested-by-call", ["// T", "LABEL 1", "REPEAT 2", "GOSUB 2", "REPEAT_END", "GOTO_LABEL 1",
                        "LABEL 2", "REPEAT 2", "MOVE 1", "REPEAT_END", "RETURN", END], "\r\n",
     "reaches a REPEAT through GOSUB"),
    ("sub-calls", ["// T", "LABEL 1", "GOSUB 2", "MOVE 1", "GOTO_LABEL 1", "LABEL 2", "GOSUB 3",
                   "RETURN", "LABEL 3", "STOP 1", "RETURN", END], "\r\n", "subroutine 2 calls GOSUB"),
    ("empty-repeat", ["// T", "LABEL 1", "REPEAT 4", "SHIFT_Y 1", "REPEAT_END", "MOVE 1",
                      "GOTO_LABEL 1", END], "\r\n", "takes no frame"),
    ("lower-case", ["// T", "LABEL 1", "move 1", "STOP 1", "GOTO_LABEL 1", END], "\r\n",
     "unrecognised keyword"),
]

# One-frame or one-pixel slips in real scripts and the check that must notice them.
COURSE_CASES = [
    ("131-starfish.txt", "SHIFT_X 7", "SHIFT_X 6", "swing to each side"),
    ("259-squid.txt", "STOP 20", "STOP 19", "five-segment beam"),
    ("170-worm.txt", "MOVE 48", "MOVE 47", "shots after each halt"),
    ("166-bird.txt", "SET_BULLET_OFFSET 0,4", "SET_BULLET_OFFSET 0,0", "4 pixels below"),
    ("138-potion-left.txt", "SPEED_PERCENT 150", "SPEED_PERCENT 143", "falling speed"),
    ("164-get-ready.txt", "STOP 25", "STOP 26", "from call 44"),
    ("140-power-up-text.txt", "STOP 8", "STOP 9", "moves away at call 21"),
    ("190-title-character.txt", "REPEAT 8", "REPEAT 7", "glides right"),
    ("254-boss1-laser.txt", "STOP 96", "STOP 97", "beam exactly while the orbs glow"),
    ("224-boss2-mouth.txt", "SHIFT_X -129", "SHIFT_X -128", "mouth at the front"),
    ("230-boss3-shell.txt", "STOP 30", "STOP 31", "repeats itself"),
    ("239-boss4-flower-south.txt", "MOVE 61", "MOVE 60", "122 pixels out"),
    ("270-boss5-ball-left.txt", "MOVE 8", "MOVE 9", "bobs every 24 frames"),
    ("266-boss5-laser.txt", "STOP 64", "STOP 63", "the breath follows the charge"),
]


def run_all(checker):
    check_enemies(checker)
    check_potions(checker)
    check_events(checker)
    check_front(checker)
    check_bosses(checker)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tracer", default=os.path.join(ROOT, "build", "velloria-script"))
    args = parser.parse_args()
    set_tracer(args.tracer)
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        for label, lines, ending, complaint in LINT_CASES:
            name = "%s.txt" % label
            with open(os.path.join(tmp, name), "wb") as out:
                out.write((ending.join(lines) + ending).encode("ascii"))
            checker = Checker(tmp, "")
            lint(checker, name)
            if not any(complaint in f for f in checker.failures):
                problems.append("lint missed '%s' in %s: %s" % (complaint, label, checker.failures))
        good = "good.txt"
        with open(os.path.join(tmp, good), "wb") as out:
            out.write(("\r\n".join(GOOD) + "\r\n").encode("ascii"))
        checker = Checker(tmp, "")
        lint(checker, good)
        if checker.failures:
            problems.append("lint rejected a good script: %s" % checker.failures)

        for name, old, new, complaint in COURSE_CASES:
            folder = os.path.join(tmp, "scripts")
            shutil.rmtree(folder, ignore_errors=True)
            shutil.copytree(SCRIPTS, folder)
            path = os.path.join(folder, name)
            text = open(path, "rb").read()
            if old.encode() + b"\r\n" not in text:
                problems.append("%s has no line '%s' to change" % (name, old))
                continue
            with open(path, "wb") as out:
                out.write(text.replace(old.encode() + b"\r\n", new.encode() + b"\r\n", 1))
            course_lib._cache.clear()
            checker = Checker(folder, "")
            run_all(checker)
            if not any(f.startswith(name) and complaint in f for f in checker.failures):
                problems.append("%s with '%s' -> '%s' passed the '%s' check" % (name, old, new, complaint))
        course_lib._cache.clear()
    for problem in problems:
        print("PROBLEM " + problem)
    print("%d lint cases, %d course slips, %d problems" % (len(LINT_CASES) + 1, len(COURSE_CASES),
                                                          len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
