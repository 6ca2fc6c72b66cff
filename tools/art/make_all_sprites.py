#!/usr/bin/python3
"""Regenerate every bitmap drawn by this set of generators, then check them.

Usage: tools/art/make_all_sprites.py [--only module,...] [--no-check]
The colour table carrier (106) is made by make_palette.py. --no-check leaves
the check to the caller (while other generators are still writing bitmaps).
"""
import importlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

# In the order the game needs them most.
MODULES = ["fonts", "sprites_player", "sprites_shots", "sprites_enemies", "sprites_bullets", "effects",
           "sprites_items", "notices", "portrait", "backgrounds"]


def main(argv):
    only = None
    if "--only" in argv:
        only = set(argv[argv.index("--only") + 1].split(","))
    for name in MODULES:
        if only and name not in only:
            continue
        print(f"== {name}")
        importlib.import_module(name).main()
    if "--no-check" in argv:
        return 0
    import check_bitmaps
    return check_bitmaps.main(["--quiet"])


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
