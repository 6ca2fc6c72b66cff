#!/usr/bin/python3
"""Draw sample lines with both text fonts and the status digits, the way
the game lays them out (11-pixel text cells, 14-pixel digit cells), over a
dark, a mid and a bright strip, and save them at 1x and 3x.

Usage: tools/art/text_sample.py OUT.png
"""
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from artlib import BITMAP_DIR, index_to_rgb, read_bmp  # noqa: E402
from palette import KEY  # noqa: E402

ORDER = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-."


def load(res_id):
    name = next(f for f in os.listdir(BITMAP_DIR) if f.split("-")[0] == str(res_id))
    return read_bmp(os.path.join(BITMAP_DIR, name))[0]


def blit(canvas, idx, x, y):
    h, w = idx.shape
    region = canvas[y:y + h, x:x + w]
    region[idx != KEY] = idx[idx != KEY]


def draw_text(canvas, strip, x, y, text):
    for i, ch in enumerate(text.upper()):
        if ch in ORDER:
            f = ORDER.index(ch)
            blit(canvas, strip[f * 18:(f + 1) * 18], x + 11 * i, y)


def draw_number(canvas, strip, x, y, text):
    for i, ch in enumerate(text):
        f = 10 if ch == "-" else int(ch)
        blit(canvas, strip[f * 22:(f + 1) * 22], x + 14 * i, y)


def main(out):
    from palette import shade
    green, yellow, digits = load(205), load(204), load(108)
    lines = ["It costs 50 potions to continue.", "THE QUICK BROWN FOX JUMPS OVER", "THE LAZY DOG 0123456789 -.",
             "VELLORIA STAGE 1-05"]
    backs = [shade("night", 0.1), shade("sky", 0.55), shade("leaf", 0.75)]
    canvas = np.zeros((len(backs) * 150, 400), dtype=np.uint8)
    for b, colour in enumerate(backs):
        y0 = b * 150
        canvas[y0:y0 + 150] = colour
        for i, line in enumerate(lines[:2]):
            draw_text(canvas, green, 4, y0 + 4 + 20 * i, line)
            draw_text(canvas, yellow, 4, y0 + 48 + 20 * i, lines[2 + i])
        draw_number(canvas, digits, 4, y0 + 92, "0123456789-")
        draw_number(canvas, digits, 4, y0 + 118, "0050")
        draw_number(canvas, digits, 80, y0 + 118, "1-05")
    rgb = index_to_rgb(canvas)
    img = Image.fromarray(rgb)
    img.save(out)
    big = img.resize((img.width * 3, img.height * 3), Image.NEAREST)
    big.save(out.replace(".png", "-3x.png"))
    print(out)


if __name__ == "__main__":
    main(sys.argv[1])
