#!/usr/bin/python3
"""Boss 3, the snail in a conch shell: snail 225, shell 227, head 226,
sweat drops 234.

The shell sits at (-66, -34) and hides the whole snail; its spire points up
to where the photons leave, and the head (the gun) pokes out of the aperture
at (54, 84) of the snail. Once the shell is shot away the naked snail shows
its own face, with the drops of sweat beside it at (112, 77).
"""
import math

import numpy as np

from artlib import save_bitmap
from boss_drawing import Sprite, bezier, empty

FLESH = "dusk"
SHELL = "stone"
LIP = "rose"


def spots(s, seed, count, rmin, rmax):
    """Dark blotches on the naked flesh."""
    rng = np.random.default_rng(seed)
    tex = np.zeros(s.X.shape)
    for _ in range(count):
        x, y = rng.uniform(0, s.w), rng.uniform(0, s.h)
        r = rng.uniform(rmin, rmax)
        tex -= 0.13 * (np.hypot(s.X - x, s.Y - y) < r)
    return tex


def eye_stalk(s, base, tip, r_eye, look=(1, 1)):
    s.paint(s.mask().tube([base, ((base[0] + tip[0]) / 2 + 2, (base[1] + tip[1]) / 2), tip], 7, 4),
            FLESH, lo=0.08, hi=0.7, relief=2.5)
    s.paint(s.mask().circle(tip[0], tip[1], r_eye), "grey", lo=0.45, hi=1.0, relief=2, rim=0.6, rim_level=0.2)
    px, py = tip[0] + look[0] * r_eye * 0.35, tip[1] + look[1] * r_eye * 0.3
    s.paint(s.mask().circle(px, py, r_eye * 0.5), "red", flat=0.2, rim=0)
    s.paint(s.mask().circle(px, py, r_eye * 0.22), "grey", flat=0.0, rim=0)


def draw_snail():
    s = Sprite(117, 135)
    tex = spots(s, 3, 26, 1.5, 3.5)
    # The soft hump that lived inside the shell, still coiled.
    hump = s.mask().ellipse(50, 64, 44, 50)
    s.paint(hump, FLESH, lo=0.05, hi=0.66, relief=14, texture=tex)
    a = np.arctan2(s.Y - 64, s.X - 50)
    r = np.hypot(s.X - 50, (s.Y - 64) * 0.88)
    coil = 0.09 * np.sin(r / 4.5 - a * 1.0)
    s.paint(s.mask().ellipse(48, 62, 30, 34), FLESH, lo=0.08, hi=0.7, relief=10, texture=coil + tex,
            rim=0.6, rim_level=0.12)
    # The broad foot it crawls on, ridged underneath.
    foot = s.mask().poly(bezier((4, 120), (20, 100), (96, 98), (116, 118), n=16) + [(112, 132), (8, 132)])
    s.paint(foot, FLESH, lo=0.1, hi=0.72, relief=6, texture=0.08 * np.sin(s.X * 1.1) + 0.5 * tex)
    # Neck and head on the right; it is frightened without its shell.
    s.paint(s.mask().tube([(78, 112), (88, 96), (92, 84)], 30, 26), FLESH, lo=0.08, hi=0.7, relief=8,
            texture=tex)
    s.paint(s.mask().ellipse(92, 82, 22, 19), FLESH, lo=0.1, hi=0.78, relief=8)
    eye_stalk(s, (84, 68), (74, 38), 7, look=(0.3, 0.9))
    eye_stalk(s, (98, 68), (100, 40), 7, look=(0.3, 0.9))
    # Wobbly frown and two feelers by the mouth.
    s.paint(s.mask().line(bezier((82, 94), (92, 87), (104, 94), n=10), 2), FLESH, flat=0.02, rim=0)
    s.paint(s.mask().tube([(80, 97), (72, 106)], 4, 2), FLESH, lo=0.1, hi=0.7, relief=1.5)
    s.paint(s.mask().tube([(106, 97), (113, 106)], 4, 2), FLESH, lo=0.1, hi=0.7, relief=1.5)
    return s.finish()


def draw_shell():
    s = Sprite(229, 215)
    cx, cy = 108, 118
    # Spiral cords wind round the shell, growth lines cross them, and brown
    # flames run down the whorl.
    cords = 0.08 * np.sin((s.Y + 0.004 * (s.X - cx) ** 2) / 3.0)
    growth = 0.03 * np.sin((s.X - 0.25 * s.Y) / 2.2)
    spiral = (s.Y + 0.004 * (s.X - cx) ** 2) / 8.0
    flames = np.sin(spiral + 1.3 * np.sin(s.X / 5.0)) > 0.55
    volume = -0.12 * ((s.X - cx) + (s.Y - cy)) / 100
    # Siphonal canal at the bottom.
    s.paint(s.mask().poly([(88, 180), (134, 176), (122, 214), (112, 214)]), SHELL, lo=0.1, hi=0.85,
            relief=5, texture=cords)
    # Spire: whorls stacked up to the tip where the photons leave.
    for (x, y, rx, ry) in ((104, 56, 62, 26), (102, 34, 40, 16), (101, 18, 23, 10), (100, 8, 11, 6)):
        s.paint(s.mask().ellipse(x, y, rx, ry), SHELL, lo=0.1, hi=0.9, relief=6, texture=growth, rim=0.8)
    s.paint(s.mask().poly([(94, 6), (106, 6), (100, 0)]), SHELL, lo=0.2, hi=0.9, relief=2)
    # The great body whorl, widest at its shoulder, narrowing to the canal.
    whorl = s.mask().poly(bezier((14, 92), (20, 40), (200, 40), (214, 96), n=24)
                          + bezier((214, 96), (210, 160), (160, 196), (112, 196), n=16)
                          + bezier((112, 196), (56, 196), (10, 150), (14, 92), n=16))
    wm = whorl.arr()
    s.paint(wm, SHELL, lo=0.08, hi=0.92, relief=24, texture=cords + growth + volume, gloss=0.1)
    s.paint(wm * flames, "wood", lo=0.1, hi=0.66, relief=24, texture=cords + growth + volume, rim=0)
    # Knobs along the shoulder.
    for k in range(9):
        t = k / 8
        bx = 22 + t * 186
        by = 70 - 26 * math.sin(t * math.pi)
        ox, oy = (bx - 115) / 100, -1.0
        ln = math.hypot(ox, oy)
        ox, oy = ox / ln, oy / ln
        tip = (bx + ox * 17, by + oy * 17)
        s.paint(s.mask().poly([(bx - oy * 7 - ox * 3, by + ox * 7 - oy * 3),
                               (bx + oy * 7 - ox * 3, by - ox * 7 - oy * 3), tip]), SHELL,
                lo=0.12, hi=0.95, relief=3)
    # Aperture: a flared peach lip round the dark mouth the head comes out of.
    lip = s.mask().poly(bezier((140, 74), (238, 72), (236, 182), (176, 200), n=20)
                        + bezier((176, 200), (136, 196), (124, 150), (140, 74), n=16))
    s.paint(lip, "skin", lo=0.25, hi=1.0, relief=8, gloss=0.35,
            texture=0.06 * np.sin(np.hypot(s.X - 170, s.Y - 140) / 2.5))
    mouth = s.mask().poly(bezier((150, 86), (204, 92), (204, 170), (178, 188), n=16)
                          + bezier((178, 188), (150, 186), (136, 136), (150, 86), n=12))
    s.paint(mouth, "dusk", lo=0.0, hi=0.14, relief=10)
    return s.finish()


def draw_head(firing):
    s = Sprite(62, 58)
    # Neck coming down out of the aperture, the head leaning at the player.
    s.paint(s.mask().tube([(42, -4), (40, 10), (36, 20)], 22, 24), FLESH, lo=0.06, hi=0.55, relief=6,
            texture=spots(s, 5, 6, 1, 2.2))
    head = s.mask().ellipse(34, 26, 19, 15)
    s.paint(head, FLESH, lo=0.1, hi=0.78, relief=7, texture=spots(s, 9, 5, 1, 2))
    eye_stalk(s, (24, 18), (14, 6), 4, look=(0.2, 0.9))
    eye_stalk(s, (44, 18), (54, 6), 4, look=(-0.2, 0.9))
    # The gun: a ringed horny snout.
    recoil = 2 if firing else 0
    snout = s.mask().tube([(34, 34), (34, 45 - recoil)], 18, 15)
    s.paint(snout, "wood", lo=0.08, hi=0.8, relief=4, texture=0.12 * np.sin(s.Y * 1.6))
    s.paint(s.mask().ellipse(34, 49 - recoil, 9, 5), "wood", lo=0.15, hi=0.9, relief=2.5, gloss=0.2)
    s.paint(s.mask().ellipse(34, 50 - recoil, 5, 3), "grey", flat=0.02, rim=0)
    if firing:
        d = np.hypot(s.X - 34, s.Y - 52)
        core = d < 6.5
        s.rgba[core, :3] = np.stack([np.ones(core.sum()), 0.55 + 0.45 * (1 - d[core] / 6.5),
                                     0.2 + 0.8 * np.clip(1 - d[core] / 3.5, 0, 1)], -1)
        s.rgba[core, 3] = 1
        for k in range(5):
            t = math.radians(30 + k * 30)
            p = (34 + 9 * math.cos(t), 52 + 6 * math.sin(t))
            s.paint(s.mask().line([(34, 52), p], 1.5), "fire", flat=0.85, rim=0)
    # Angry brow over the face.
    s.paint(s.mask().line([(25, 24), (34, 28), (43, 24)], 2.2), FLESH, flat=0.03, rim=0)
    return s.finish(open_edges="t")


def draw_sweat():
    s = Sprite(27, 35)
    for x, y, r in ((7, 9, 4.2), (19, 14, 5.5), (10, 28, 4.8)):
        drop = s.mask().poly([(x, y - r * 2.2), (x - r * 0.8, y - r * 0.2), (x + r * 0.8, y - r * 0.2)])
        drop.circle(x, y, r)
        s.paint(drop, "ice", lo=0.2, hi=1.0, relief=2.5, gloss=0.5, rim=0.6, rim_level=0.0)
        s.paint(s.mask().circle(x - r * 0.35, y - r * 0.3, r * 0.3), "grey", flat=1.0, rim=0)
    return s.finish()


def main():
    out = [save_bitmap(225, "boss3-snail", draw_snail()),
           save_bitmap(227, "boss3-shell", draw_shell()),
           save_bitmap(226, "boss3-head", [draw_head(False), draw_head(True)]),
           save_bitmap(234, "boss3-sweat", [empty(27, 35), draw_sweat()])]
    for p in out:
        print(p)


if __name__ == "__main__":
    main()
