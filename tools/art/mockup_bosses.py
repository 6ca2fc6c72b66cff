#!/usr/bin/python3
"""Compose each boss from its parts, as the game places them, for review.

Usage: tools/art/mockup_bosses.py OUTDIR [--scale N]

Writes OUTDIR/boss<N>-<scene>.png: a 640x480 screen over a dark backdrop with
the body moved on screen so the whole boss shows. Parts other than the body
sit at the body's top-left plus their local position; the centre rule puts a
part's frame centre on the body's frame centre (halves in whole numbers) and
then shifts it. Parts are drawn in the boss's own drawing order.
"""
import argparse
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from artlib import BITMAP_DIR, index_to_rgb, read_bmp  # noqa: E402
from frames import BITMAPS  # noqa: E402
from palette import KEY  # noqa: E402

SCREEN_W, SCREEN_H = 640, 480


def load_frames(res_id):
    w, h, n, _, role = BITMAPS[res_id]
    idx, _ = read_bmp(os.path.join(BITMAP_DIR, f"{res_id}-{role}.bmp"))
    assert idx.shape == (h, w), (res_id, idx.shape)
    fh = h // n
    return [idx[i * fh:(i + 1) * fh] for i in range(n)]


def backdrop():
    """A dark night sky with a few stars, like the playfield behind a boss."""
    y = np.linspace(0, 1, SCREEN_H)[:, None, None]
    sky = (np.array([6, 8, 26]) * (1 - y) + np.array([26, 14, 40]) * y) * np.ones((1, SCREEN_W, 1))
    rng = np.random.default_rng(7)
    for _ in range(160):
        sky[rng.integers(0, SCREEN_H), rng.integers(0, SCREEN_W)] = rng.integers(90, 220)
    return sky.astype(np.uint8)


def blit(screen, frame, x, y):
    h, w = frame.shape
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(SCREEN_W, x + w), min(SCREEN_H, y + h)
    if x0 >= x1 or y0 >= y1:
        return
    sub = frame[y0 - y:y1 - y, x0 - x:x1 - x]
    rgb = index_to_rgb(sub)
    opaque = sub != KEY
    screen[y0:y1, x0:x1][opaque] = rgb[opaque]


def centred(body_id, part_id, dx, dy):
    """Local top-left of a part placed on the body's centre, then shifted."""
    bw, bh = BITMAPS[body_id][0], BITMAPS[body_id][1] // BITMAPS[body_id][2]
    pw, ph = BITMAPS[part_id][0], BITMAPS[part_id][1] // BITMAPS[part_id][2]
    return bw // 2 - pw // 2 + dx, bh // 2 - ph // 2 + dy


# Each scene: body top-left on screen, then (bitmap, frame, local x, local y)
# in drawing order; the body is the entry with local position None.
def scenes():
    b2 = [centred(208, 217, dx, dy) for dx, dy in ((122, 0), (0, 122), (-122, 0), (0, -122))]
    f4 = [centred(236, 237, dx, dy) for dx, dy in ((122, 0), (0, 122), (-122, 0), (0, -122))]
    f4c = centred(236, 237, 0, 0)
    return {
        "boss1-charge": ((187, 60), [(172, 0, -73, -31), (174, 0, None, None), (173, 0, 103, -24),
                                     (179, 3, 3, 34), (179, 4, 219, 34), (253, 0, 15, 78), (253, 0, 231, 78)]),
        "boss1-small": ((187, 60), [(172, 1, -73, -31), (174, 0, None, None), (173, 0, 103, -24),
                                    (179, 1, 3, 34), (179, 2, 219, 34), (253, 0, 15, 78), (253, 0, 231, 78)]),
        "boss1-laser": ((187, 60), [(172, 1, -73, -31), (174, 0, None, None), (173, 1, 103, -24),
                                    (179, 5, 3, 34), (179, 6, 219, 34), (253, 1, 15, 78), (253, 2, 231, 78)]),
        "boss2-right": ((245, 179), [(208, 0, None, None), (223, 0, 130, 47)]
                        + [(217, i, x, y) for i, (x, y) in enumerate(b2)]),
        "boss2-left": ((245, 179), [(208, 1, None, None), (223, 3, 1, 47)]
                       + [(217, (i + 2) % 4, x, y) for i, (x, y) in enumerate(b2)]),
        "boss3-shell": ((262, 150), [(225, 0, None, None), (227, 0, -66, -34), (226, 0, 54, 85)]),
        "boss3-fire": ((262, 150), [(225, 0, None, None), (227, 0, -66, -34), (226, 1, 54, 85)]),
        "boss3-bare": ((262, 150), [(225, 0, None, None), (234, 1, 112, 77)]),
        "boss4-gather": ((292, 214), [(236, 0, None, None)] + [(237, i, *f4c) for i in range(4)]),
        "boss4-orbit": ((292, 214), [(236, 2, None, None)] + [(237, i, x, y) for i, (x, y) in enumerate(f4)]),
        "boss5-idle": ((178, 20), [(247, 0, None, None), (246, 0, 95, -3), (269, 0, 50, 48),
                                   (269, 2, 210, 48), (265, 0, 28, 102), (267, 0, 131, 80)]),
        "boss5-breath": ((178, 20), [(247, 0, None, None), (246, 2, 95, -3), (269, 1, 50, 48),
                                     (269, 3, 210, 48), (265, 1, 28, 102), (267, 2, 131, 80)]),
    }


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("outdir")
    ap.add_argument("--scale", type=int, default=1)
    ap.add_argument("--only", default="")
    args = ap.parse_args()
    os.makedirs(args.outdir, exist_ok=True)
    for name, ((bx, by), parts) in scenes().items():
        if args.only and not name.startswith(args.only):
            continue
        try:
            cache = {pid: load_frames(pid) for pid, *_ in parts}
        except FileNotFoundError as e:
            print(f"{name}: skipped, missing {os.path.basename(e.filename)}")
            continue
        screen = backdrop()
        for pid, fr, lx, ly in parts:
            x, y = (bx, by) if lx is None else (bx + lx, by + ly)
            blit(screen, cache[pid][fr], x, y)
        img = Image.fromarray(screen)
        if args.scale > 1:
            img = img.resize((SCREEN_W * args.scale, SCREEN_H * args.scale), Image.NEAREST)
        path = os.path.join(args.outdir, f"{name}.png")
        img.save(path)
        print(path)


if __name__ == "__main__":
    main()
