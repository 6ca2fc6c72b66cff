#!/usr/bin/python3
"""Regenerate every front-end picture, then check them.

Usage: tools/art/make_all_frontend.py [--only title,continue,ranking,ending,icon] [--no-check]
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import check_frontend  # noqa: E402
import frontend_continue  # noqa: E402
import frontend_ending  # noqa: E402
import frontend_icon  # noqa: E402
import frontend_ranking  # noqa: E402
import frontend_title  # noqa: E402

GROUPS = {
    "title": frontend_title.make,
    "continue": frontend_continue.make,
    "ranking": frontend_ranking.make,
    "ending": frontend_ending.make,
    "icon": frontend_icon.make,
}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--only", default=",".join(GROUPS))
    ap.add_argument("--no-check", action="store_true", help="leave the check to the caller")
    args = ap.parse_args()
    for name in args.only.split(","):
        for path in GROUPS[name]():
            print(os.path.relpath(path))
    sys.exit(0 if args.no_check else check_frontend.main())


if __name__ == "__main__":
    main()
