#!/usr/bin/python3
"""Boss 4, the small creature with four flowers: creature 236, flower 237.

The creature loops through its four frames non-stop, so they form one cycle:
leaf wings beating and the body bobbing. The flowers sit on the creature's
centre and spin: every petal ring, leaf ring and ring of teeth repeats every
45 degrees, and the four frames step through that in 11.25 degree turns, so
the spin loops without a jump.
"""
import math

import numpy as np

from artlib import save_bitmap
from boss_drawing import Sprite

SKIN = "violet"
WING = "lime"
PETAL = "rose"
LEAF = "leaf"


def petal(s, c, angle, r0, r1, half_width, ramp, lo, hi, relief):
    """A pointed petal from radius r0 out to its tip at r1."""
    ca, sa = math.cos(angle), math.sin(angle)
    pts = []
    steps = 10
    for k in range(steps + 1):
        t = k / steps
        r = r0 + (r1 - r0) * t
        w = half_width * math.sin(math.pi * min(1.0, t * 1.15)) ** 0.7
        pts.append((r, w))
    outline = [(c[0] + r * ca - w * sa, c[1] + r * sa + w * ca) for r, w in pts]
    outline += [(c[0] + r * ca + w * sa, c[1] + r * sa - w * ca) for r, w in reversed(pts)]
    s.paint(s.mask().poly(outline), ramp, lo=lo, hi=hi, relief=relief, rim=0.8,
            texture=-0.25 * np.clip(1 - (np.hypot(s.X - c[0], s.Y - c[1]) - r0) / (r1 - r0), 0, 1) ** 2)


def draw_flower(frame):
    s = Sprite(96, 96)
    c = (48, 48)
    spin = math.radians(11.25 * frame)
    for k in range(8):
        a = spin + math.radians(22.5 + 45 * k)
        petal(s, c, a, 10, 46, 7, LEAF, 0.05, 0.6, 3)
    for k in range(8):
        a = spin + math.radians(45 * k)
        petal(s, c, a, 8, 44, 13, PETAL, 0.08, 0.85, 5)
    for k in range(8):
        a = -spin + math.radians(22.5 + 45 * k)
        petal(s, c, a, 6, 27, 8, "ember", 0.05, 0.9, 3)
    # A hungry mouth in the middle: a dark throat ringed with teeth.
    s.paint(s.mask().circle(48, 48, 14), "gold", lo=0.1, hi=0.9, relief=4)
    s.paint(s.mask().circle(48, 48, 10), "red", lo=0.0, hi=0.3, relief=5)
    for k in range(16):
        a = -spin + math.radians(22.5 * k)
        ca, sa = math.cos(a), math.sin(a)
        base = [(48 + 10.5 * math.cos(a + 0.17), 48 + 10.5 * math.sin(a + 0.17)),
                (48 + 10.5 * math.cos(a - 0.17), 48 + 10.5 * math.sin(a - 0.17))]
        s.paint(s.mask().poly(base + [(48 + 5 * ca, 48 + 5 * sa)]), "stone", lo=0.55, hi=1.0, relief=1,
                rim=0.4)
    return s.finish()


# Wing angle (degrees above level) and body bob (pixels down) per frame:
# the downstroke is quick and level, the upstroke lags behind it.
BEAT = [(38, 0), (12, 1), (-24, 2), (2, 1)]


def draw_creature(frame):
    s = Sprite(55, 52)
    lift, bob = BEAT[frame]
    cx, cy = 27.5, 29 + bob
    # Leaf wings, beating.
    for side in (-1, 1):
        a = math.radians(lift)
        root = (cx + side * 9, cy - 4)
        tip = (root[0] + side * 17 * math.cos(a), root[1] - 17 * math.sin(a))
        nx, ny = -(tip[1] - root[1]) / 17, (tip[0] - root[0]) / 17
        mid = ((root[0] + tip[0]) / 2, (root[1] + tip[1]) / 2)
        wing = s.mask().poly([root, (mid[0] + nx * 7, mid[1] + ny * 7), tip, (mid[0] - nx * 5, mid[1] - ny * 5)])
        s.paint(wing, WING, lo=0.1, hi=0.9, relief=3, texture=0.1 * np.sin((s.X - root[0]) * 1.4))
        s.paint(s.mask().line([root, tip], 1.0), LEAF, flat=0.15, rim=0)
    # A curly sprout with a bud on its head.
    s.paint(s.mask().tube([(cx, cy - 14), (cx + 2, cy - 20), (cx + 7, cy - 23)], 3.4, 2.4), LEAF,
            lo=0.1, hi=0.8, relief=1.5, rim=0.6)
    s.paint(s.mask().circle(cx + 9, cy - 24, 3.6), PETAL, lo=0.2, hi=1.0, relief=1.6, rim=0.6)
    # Stubby feet.
    for side in (-1, 1):
        s.paint(s.mask().ellipse(cx + side * 8, cy + 17 - bob * 0.5, 5.5, 3.5), SKIN, lo=0.05, hi=0.5,
                relief=2)
    # A skirt of leaves peeps out under the round body.
    for k in range(5):
        lx = cx - 12 + k * 6
        s.paint(s.mask().poly([(lx - 4, cy + 6), (lx + 4, cy + 6), (lx + (k - 2) * 1.2, cy + 19)]), LEAF,
                lo=0.1, hi=0.75, relief=2, rim=0.7)
    s.paint(s.mask().circle(cx, cy, 16), SKIN, lo=0.08, hi=0.85, relief=7, gloss=0.15)
    # Big glowing eyes and a fanged grin: small, but not friendly.
    for side in (-1, 1):
        ex = cx + side * 6
        s.paint(s.mask().ellipse(ex, cy - 4, 4.6, 5.2), "gold", lo=0.55, hi=1.0, relief=2, rim=0.6,
                rim_level=0.2)
        s.paint(s.mask().ellipse(ex + side * 0.6, cy - 3.2, 1.4, 3.0), "red", flat=0.05, rim=0)
        s.paint(s.mask().line([(cx + side * 2, cy - 9), (cx + side * 10, cy - 12)], 1.6), SKIN, flat=0.02,
                rim=0)
    s.paint(s.mask().poly([(cx - 7, cy + 5), (cx + 7, cy + 5), (cx + 4, cy + 9), (cx - 4, cy + 9)]), "red",
            flat=0.08, rim=0)
    for side in (-1, 1):
        s.paint(s.mask().poly([(cx + side * 5 - 1.3, cy + 5), (cx + side * 5 + 1.3, cy + 5),
                               (cx + side * 5, cy + 9)]), "grey", flat=0.95, rim=0)
    return s.finish()


def main():
    out = [save_bitmap(236, "boss4-creature", [draw_creature(i) for i in range(4)]),
           save_bitmap(237, "boss4-flower", [draw_flower(i) for i in range(4)])]
    for p in out:
        print(p)


if __name__ == "__main__":
    main()
