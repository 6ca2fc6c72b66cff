#!/usr/bin/python3
"""The power-up portrait (154): the witch from the front, head and
shoulders, over a round night-sky medallion with a gold rim, her broom
across the medallion behind her and sparkles of new power around it.

Same design as the flying sprite: dark violet hat with a gold band and the
tip bent back, copper plaits tied with rose ribbons, rose scarf, violet robe,
green eyes.
"""
import math

import numpy as np

from artlib import save_bitmap
from paint import Figure

W, H = 296, 287


def star(f, cx, cy, r, thin=0.28):
    pts = []
    for k in range(8):
        rr = r if k % 2 == 0 else r * thin
        t = k * math.pi / 4
        pts.append((cx + rr * math.cos(t), cy + rr * math.sin(t)))
    return f.polygon(pts)


def portrait():
    f = Figure(W, H, ss=2)
    cx, cy, R = 148.0, 150.0, 128.0
    medal = f.ellipse(cx, cy, R, R)
    f.add(f.ellipse(cx, cy, R + 7, R + 7), "gold", base=0.6, contrast=0.35, soft=6, line=True)
    f.add(medal, "night", base=0.0, contrast=0.0,
          level=lambda X, Y: 0.25 + 0.55 * np.clip(1 - np.hypot(X - cx + 30, Y - cy + 40) / 170, 0, 1))
    for x, y, r in ((70, 90, 3), (96, 60, 2), (210, 70, 2.5), (232, 120, 2), (60, 160, 2), (245, 175, 3),
                    (120, 40, 2), (180, 36, 2)):
        f.add(star(f, x, y, r * 1.6) & medal, "ice", base=0.8, contrast=0.1)
    # Broom across the medallion, bristles down to the left.
    f.add(f.line([(62, 236), (262, 52)], 9), "wood", base=0.55, contrast=0.4, soft=4, line=True,
          level=lambda X, Y: 0.05 * np.sin((X + Y) * 0.5))
    fan = f.polygon([(76, 222), (40, 226), (12, 260), (18, 270), (30, 268), (44, 282), (60, 276), (84, 244)])
    f.add(fan, "gold", base=0.6, contrast=0.35, soft=5, line=True,
          level=lambda X, Y: 0.12 * np.sin((X - Y) * 0.7))
    f.add(f.line([(70, 218), (86, 236)], 8), "red", base=0.5, contrast=0.35, line=True)
    # Shoulders and robe, cut by the medallion's lower rim.
    robe = f.polygon([(58, 287), (66, 236), (92, 204), (126, 192), (170, 192), (204, 204), (230, 236), (238, 287)])
    f.add(robe & f.ellipse(cx, cy, R + 3, R + 3), "violet", base=0.55, contrast=0.35, soft=8, line=True)
    f.add(f.polygon([(148, 200), (156, 282), (140, 282)]) & medal, "violet", base=0.3, contrast=0.2)
    for y in (224, 246, 268):
        f.add(f.ellipse(160, y, 4, 4), "gold", base=0.75, contrast=0.3, line=True)
    # Plaits falling over the shoulders.
    for s in (-1, 1):
        pts = [(cx + s * 34, 150), (cx + s * 42, 180), (cx + s * 44, 212), (cx + s * 40, 240)]
        f.add(f.taper(pts, 20, 12), "fire", base=0.55, contrast=0.35, soft=4, line=True,
              level=lambda X, Y: 0.12 * np.sin((Y + X * 0.5) * 0.45))
        f.add(f.ellipse(cx + s * 40, 244, 9, 6), "rose", base=0.6, contrast=0.35, line=True)
    # Neck, scarf.
    f.add(f.rect(cx - 11, 160, cx + 11, 196), "skin", base=0.55, contrast=0.3)
    f.add(f.ellipse(cx, 194, 30, 11), "rose", base=0.58, contrast=0.35, soft=4, line=True)
    f.add(f.taper([(cx + 10, 196), (cx + 24, 216), (cx + 20, 236)], 14, 8), "rose", base=0.52, contrast=0.35,
          line=True)
    # Face.
    f.add(f.ellipse(cx, 140, 37, 41), "skin", base=0.72, contrast=0.25, soft=10, line=True)
    for s in (-1, 1):
        ex = cx + s * 15
        f.add(f.ellipse(ex, 142, 8.5, 10.5), "grey", base=0.97, contrast=0.05, line=True)
        f.add(f.ellipse(ex + 1, 143.5, 6, 8), "leaf", base=0.45, contrast=0.3, gloss=0.3,
              level=lambda X, Y: 0.25 * np.clip((Y - 143) / 8, -1, 1))
        f.add(f.ellipse(ex + 1, 144, 3, 4.2), "leaf", base=0.06, contrast=0.0)
        f.add(f.ellipse(ex - 2, 139, 2.2, 2.6), "grey", base=1.0, contrast=0.0)
        f.add(f.taper([(ex - 9, 132 - 0.5 * s * 0), (ex, 129.5), (ex + 9, 132)], 2.8, 2.2), "wood", base=0.2,
              contrast=0.1)
        f.add(f.ellipse(cx + s * 25, 156, 6, 3.5), "rose", base=0.62, contrast=0.05)
    f.add(f.taper([(cx - 8, 164), (cx, 168), (cx + 8, 164)], 3.0, 2.4), "red", base=0.35, contrast=0.1)
    f.add(f.ellipse(cx - 1, 154, 1.6, 1.2), "skin", base=0.45, contrast=0.0)
    # Fringe of copper hair under the brim.
    fringe = f.polygon([(106, 114), (112, 104), (184, 104), (191, 116), (189, 134), (179, 121), (169, 128),
                        (158, 118), (148, 127), (138, 118), (127, 128), (117, 121), (108, 136)])
    f.add(fringe, "fire", base=0.6, contrast=0.35, soft=4, line=True,
          level=lambda X, Y: 0.1 * np.sin(X * 0.5))
    # Hat: wide brim, crown with gold band, tip bent back to the right.
    f.add(f.ellipse(cx, 102, 112, 22, angle=-6), "violet", base=0.3, contrast=0.35, soft=6, line=True)
    crown = f.polygon([(102, 100), (112, 64), (130, 36), (152, 22), (170, 24), (186, 60), (196, 100)])
    f.add(crown, "violet", base=0.38, contrast=0.45, soft=10, line=True)
    tip = [(160, 28), (184, 14), (212, 12), (236, 26)]
    f.add(f.taper(tip, 22, 6), "violet", base=0.36, contrast=0.4, soft=4, line=True)
    f.add(f.ellipse(238, 28, 6, 6), "gold", base=0.8, contrast=0.3, line=True)
    band = crown & (f.Y > 80) & (f.Y < 96)
    f.add(band, "gold", base=0.62, contrast=0.35, soft=3, line=True)
    f.add(star(f, 150, 88, 9, 0.4), "gold", base=0.95, contrast=0.1, line=True)
    # Sparkles of new power outside the medallion.
    for x, y, r in ((26, 40, 10), (270, 210, 9), (30, 150, 6), (266, 96, 6), (250, 262, 5)):
        f.add(star(f, x, y, r), "gold", base=0.95, contrast=0.1)
    return f.resolve()


def main():
    print(save_bitmap(154, "power-up-portrait", [portrait()]))


if __name__ == "__main__":
    main()
