#!/usr/bin/python3
"""Regenerate every boss bitmap: tools/art/make_all_bosses.py [1 2 3 4 5]"""
import importlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def main():
    which = sys.argv[1:] or ["1", "2", "3", "4", "5"]
    for n in which:
        importlib.import_module(f"boss{n}").main()


if __name__ == "__main__":
    main()
