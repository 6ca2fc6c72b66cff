#!/usr/bin/python3
"""Check every bitmap of resources/bitmaps that the game knows about.

For each id in frames.py whose file exists: the file is an uncompressed,
bottom-up, 8-bit BMP of exactly the listed size, carrying the shared colour
table; a keyed sprite has the key colour in its top-left pixel, its frames
listed as empty hold nothing but the key, and none of its other frames is
empty. Ids without a file are listed as missing (other artists may still be
drawing them) but do not fail the check; files with unknown ids do.

Usage: tools/art/check_bitmaps.py [--quiet] [--dir DIR]   exit status 1 on any failure
"""
import os
import struct
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(__file__))
from artlib import BITMAP_DIR  # noqa: E402
from frames import BITMAPS, EMPTY_FRAMES  # noqa: E402
from palette import KEY, PALETTE  # noqa: E402


def check_file(path, res_id):
    """-> list of problems with one file (empty when it is good)."""
    width, height, frames, keyed, role = BITMAPS[res_id]
    problems = []
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 + 1024 or data[:2] != b"BM":
        return ["not a BMP file or truncated header"]
    file_size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    hsize, w, h, planes, bits, comp, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data, 14)
    if file_size != len(data):
        problems.append(f"header says {file_size} bytes, file has {len(data)}")
    if hsize != 40:
        problems.append(f"info header size {hsize}, expected 40")
    if bits != 8:
        problems.append(f"{bits} bits per pixel, expected 8")
    if comp != 0:
        problems.append(f"compression {comp}, expected none")
    if h <= 0:
        problems.append("rows stored top-down, expected bottom-up")
    if (w, abs(h)) != (width, height):
        problems.append(f"size {w}x{abs(h)}, expected {width}x{height}")
    if used not in (0, 256):
        problems.append(f"colour table of {used} entries, expected 256")
    table = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
    if table != [tuple(c) for c in PALETTE]:
        bad = [i for i in range(256) if table[i] != tuple(PALETTE[i])]
        problems.append(f"colour table differs from the shared one at {len(bad)} entries (first {bad[0]})")
    stride = (w + 3) & ~3
    if offset + stride * abs(h) > len(data):
        problems.append("pixel data truncated")
    if problems:
        return problems
    rows = [np.frombuffer(data, np.uint8, w, offset + r * stride) for r in range(h)]
    img = np.array(rows[::-1])
    if height % frames:
        problems.append(f"height {height} is not a multiple of {frames} frames")
        return problems
    fh = height // frames
    if keyed:
        if img[0, 0] != KEY:
            problems.append(f"top-left pixel is {img[0, 0]}, expected the key {KEY}")
        empty = set(EMPTY_FRAMES.get(res_id, []))
        for n in range(frames):
            frame = img[n * fh:(n + 1) * fh]
            blank = bool((frame == KEY).all())
            if n in empty and not blank:
                problems.append(f"frame {n} should hold only the key colour")
            if n not in empty and blank:
                problems.append(f"frame {n} is empty")
    return problems


def main(argv):
    quiet = "--quiet" in argv
    folder = argv[argv.index("--dir") + 1] if "--dir" in argv else BITMAP_DIR
    files = {}
    failures = 0
    for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
        if not name.endswith(".bmp"):
            continue
        head = name.split("-", 1)[0]
        if not head.isdigit() or int(head) not in BITMAPS:
            print(f"FAIL {name}: not a known bitmap id")
            failures += 1
            continue
        rid = int(head)
        if rid in files:
            print(f"FAIL {name}: a second file for id {rid} ({files[rid]})")
            failures += 1
            continue
        files[rid] = name
    checked = 0
    for rid in sorted(files):
        name = files[rid]
        expected = f"{rid}-{BITMAPS[rid][4]}.bmp"
        problems = [] if name == expected else [f"file name should be {expected}"]
        problems += check_file(os.path.join(folder, name), rid)
        checked += 1
        if problems:
            failures += 1
            for p in problems:
                print(f"FAIL {name}: {p}")
        elif not quiet:
            print(f"ok   {name}")
    missing = sorted(set(BITMAPS) - set(files))
    print(f"{checked} checked, {failures} failed, {len(missing)} missing")
    if missing:
        print("missing: " + " ".join(str(m) for m in missing))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
