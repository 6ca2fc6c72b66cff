#!/usr/bin/python3
"""Compose in-game-like pictures at 1x for review: each stage background
with the witch, a formation of enemies, enemy bullets, her shots,
explosions, potions and the status display at its real positions; and the
screen notices over the playfield.

Usage: tools/art/mockup_playfield.py [OUT_DIR]   (default /tmp/velloria-mockups)
"""
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import BITMAP_DIR, index_to_rgb, read_bmp  # noqa: E402
from frames import BITMAPS  # noqa: E402
from palette import KEY  # noqa: E402

STAGES = [(110, "stage1"), (127, "stage2"), (133, "stage3"), (296, "stage4")]


def load(res_id):
    name = f"{res_id}-{BITMAPS[res_id][4]}.bmp"
    return read_bmp(os.path.join(BITMAP_DIR, name))[0]


def frame(res_id, n=0):
    img = load(res_id)
    fh = BITMAPS[res_id][1] // BITMAPS[res_id][2]
    return img[n * fh:(n + 1) * fh]


def blit(canvas, idx, x, y, keyed=True):
    """Colour-keyed draw, clipped to the screen like the game's sprites."""
    h, w = idx.shape
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + w, canvas.shape[1]), min(y + h, canvas.shape[0])
    if x0 >= x1 or y0 >= y1:
        return
    src = idx[y0 - y:y1 - y, x0 - x:x1 - x]
    dst = canvas[y0:y1, x0:x1]
    if keyed:
        dst[src != KEY] = src[src != KEY]
    else:
        dst[:] = src


def centred(canvas, idx, cx, cy):
    blit(canvas, idx, cx - idx.shape[1] // 2, cy - idx.shape[0] // 2)


def number(canvas, x, y, value, digits):
    text = str(value).rjust(digits, "0")[-digits:]
    for ch in text:
        blit(canvas, frame(108, int(ch)), x, y)
        x += 14
    return x


def hud(canvas, potions, power, stage, level, lives, icon_frame=0):
    blit(canvas, load(151), 8, 4)
    number(canvas, 104, 5, potions, 4)
    blit(canvas, load(148), 200, 4)
    number(canvas, 282, 5, power, 1)
    blit(canvas, load(146), 504, 4)
    x = number(canvas, 577, 5, stage, 1)
    blit(canvas, frame(108, 10), x, 5)
    number(canvas, x + 14, 5, level, 2)
    blit(canvas, load(149), 8, 452)
    for i in range(lives):
        blit(canvas, frame(150, icon_frame), 61 + 19 * i, 454)


def playfield(bg_id, variant):
    c = load(bg_id).copy()
    f = variant % 2
    # Formation: five rows of mixed creatures.
    rows = [(157, 60), (159, 120), (256, 175), (141, 230), (118, 272)]
    for r, (eid, y) in enumerate(rows):
        w = BITMAPS[eid][0]
        count = 4 if w > 80 else 6 if w > 50 else 8
        step = 560 // count
        for i in range(count):
            centred(c, frame(eid, (i + r + f) % 2), 60 + step * i + (r % 2) * 12, y + 40)
    for i, eid in enumerate((120, 122, 257, 258)):
        centred(c, frame(eid, (i + f) % 2), 90 + 150 * i, 355)
    # Enemy fire.
    for i in range(5):
        centred(c, frame(126, i % 2), 150 + 60 * i, 330 + 12 * (i % 3))
    for i in range(3):
        centred(c, frame(181, i % 2), 520 + 20 * i, 300 + 25 * i)
    centred(c, frame(272, variant % 4), 560, 400)
    centred(c, frame(232, f), 40, 300)
    centred(c, frame(233, 1 - f), 600, 250)
    centred(c, frame(222, f), 470, 230)
    # A beam: tail on top, middles, head at the bottom, 48 pixels apart.
    bx, by = 410, 200
    blit(c, load(263), bx, by)
    blit(c, load(178), bx, by + 48)
    blit(c, load(178), bx, by + 96)
    blit(c, load(264), bx, by + 144)
    # The witch and her shots.
    blit(c, frame(116 if variant != 3 else 158, variant % 4), 297, 405)
    for i in range(3):
        centred(c, frame(125, i % 2), 320, 380 - 70 * i)
    for dx in (-40, 40):
        centred(c, frame(130, 0), 320 + dx, 360)
        centred(c, frame(130, 1), 320 + dx * 3 // 2, 300)
    # Explosions and potions.
    centred(c, frame(128, 2 + variant), 250, 270)
    centred(c, frame(128, 6), 120, 160)
    centred(c, frame(129, 1 + variant % 4), 330, 180)
    for i, (x, y) in enumerate(((200, 400), (230, 380), (380, 420), (470, 390))):
        centred(c, load(134), x, y)
    centred(c, load(276), 420, 440)
    hud(c, 137, 2, variant + 1, 5, 5 - variant, variant % 4)
    return c


def notices(bg_id):
    c = playfield(bg_id, 0)
    blit(c, load(160), 98, 240 - 45)
    d = load(bg_id).copy()
    blit(d, load(161), 100, 80)
    blit(d, load(162), 320, 300)
    hud(d, 12, 1, 1, 3, 0)
    e = load(bg_id).copy()
    p = load(154)
    blit(e, p, 320 - p.shape[1] // 2, 180)
    blit(e, load(139), 320 - 451 // 2, 60)
    hud(e, 50, 2, 1, 2, 3)
    return [c, d, e]


def save(idx, path):
    Image.fromarray(index_to_rgb(idx)).save(path)
    print(path)


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for v, (bg, name) in enumerate(STAGES):
        save(playfield(bg, v), os.path.join(out_dir, f"playfield-{name}.png"))
    for bg, name in (STAGES[0], STAGES[3]):
        for i, img in enumerate(notices(bg)):
            save(img, os.path.join(out_dir, f"notices-{name}-{i}.png"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "/tmp/velloria-mockups")
