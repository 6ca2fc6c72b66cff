#!/usr/bin/python3
"""Check every movement script against the course its sprite is meant to fly.

Each script is run through the script tracer (velloria-script) from the place and with
the frame size its owner gives the sprite, and key frames of the trace (turning points,
halts, shots, sounds, frame changes) are compared with the course written down below.
Boss parts are traced side by side to show that they stay in step.

Usage: tools/scripts/check_courses.py [--tracer build/velloria-script] [--only PREFIX]
                                      [--dump FOLDER]
Exit status 0 when every check holds.
"""

import argparse
import math
import os
import sys

from course_lib import Checker, lint, run_trace, set_tracer

from courses_enemies import check_enemies
from courses_potions_events import check_potions, check_events, check_front
from courses_bosses import check_bosses

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SCRIPTS = os.path.join(ROOT, "resources", "scripts")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tracer", default=os.path.join(ROOT, "build", "velloria-script"))
    parser.add_argument("--only", default="", help="check only scripts whose file starts so")
    parser.add_argument("--dump", default="", help="write the boss traces into this folder")
    args = parser.parse_args()
    if not os.access(args.tracer, os.X_OK):
        print("no tracer at %s; build the velloria-script target first" % args.tracer)
        return 2
    set_tracer(args.tracer)

    checker = Checker(SCRIPTS, args.only)
    for name in sorted(os.listdir(SCRIPTS)):
        if name.endswith(".txt") and name.startswith(args.only):
            lint(checker, name)
    check_enemies(checker)
    check_potions(checker)
    check_events(checker)
    check_front(checker)
    check_bosses(checker, args.dump)
    return checker.report()


if __name__ == "__main__":
    sys.exit(main())
