#!/usr/bin/python3
"""Render every bitmap of resources/bitmaps into one PNG for review.

Usage: tools/art/contact_sheet.py OUT.png [--scale N] [--ids 116,118,...]
        [--frames ID:COUNT ...]

Each bitmap is shown enlarged on a checkerboard (transparent key pixels show
the board), labelled with its file name; frames are separated by a red line
when their count is known (from --frames or the built-in table).
"""
import argparse
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(__file__))
from artlib import BITMAP_DIR, index_to_rgb, read_bmp  # noqa: E402
from palette import KEY  # noqa: E402
from frames import FRAME_COUNTS  # noqa: E402


def render(path, scale, frames):
    idx, _ = read_bmp(path)
    h, w = idx.shape
    rgb = index_to_rgb(idx)
    board = ((np.indices((h, w)).sum(axis=0) // 4) % 2)[..., None] * 40 + 80
    keyed = idx == KEY
    rgb = np.where(keyed[..., None], board.astype(np.uint8).repeat(3, axis=2), rgb)
    img = Image.fromarray(rgb.astype(np.uint8)).resize((w * scale, h * scale), Image.NEAREST)
    if frames > 1:
        d = ImageDraw.Draw(img)
        fh = h // frames
        for f in range(1, frames):
            d.line([(0, f * fh * scale), (w * scale, f * fh * scale)], fill=(255, 0, 0))
    return img


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--scale", type=int, default=2)
    ap.add_argument("--ids", default="")
    ap.add_argument("--width", type=int, default=1800)
    args = ap.parse_args()
    wanted = {int(x) for x in args.ids.split(",") if x}
    files = sorted(f for f in os.listdir(BITMAP_DIR) if f.endswith(".bmp"))
    files = [f for f in files if not wanted or int(f.split("-")[0]) in wanted]
    tiles = []
    for f in files:
        rid = int(f.split("-")[0])
        scale = args.scale if rid not in (110, 127, 133, 296, 295, 253, 265) else 1
        tiles.append((f, render(os.path.join(BITMAP_DIR, f), scale, FRAME_COUNTS.get(rid, 1))))
    # Simple shelf packing.
    x = y = shelf = 0
    pos = []
    for name, img in tiles:
        w, h = img.size[0], img.size[1] + 14
        if x + w > args.width and x > 0:
            x, y, shelf = 0, y + shelf + 8, 0
        pos.append((x, y))
        x += w + 8
        shelf = max(shelf, h)
    sheet = Image.new("RGB", (args.width, max(1, y + shelf + 8)), (30, 30, 36))
    d = ImageDraw.Draw(sheet)
    for (name, img), (px, py) in zip(tiles, pos):
        d.text((px, py), name[:-4], fill=(255, 255, 255))
        sheet.paste(img, (px, py + 14))
    sheet.save(args.out)
    print(f"{len(tiles)} bitmaps -> {args.out}")


if __name__ == "__main__":
    main()
