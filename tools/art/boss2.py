#!/usr/bin/python3
"""Boss 2, the great fish: fish 208, shielding bubble 217, mouth 223.

The fish faces right in frame 0 and left in frame 1; the left-facing frame is
drawn again with mirrored geometry (not flipped pixels), so the light still
falls from the upper left. The jaws are a separate part at (130, 47), or at
(1, 47) once it has moved 129 pixels left with the fish turned round; the
body leaves a dark gullet there for the jaws to snap over.
"""
import math

import numpy as np

from artlib import save_bitmap
from boss_drawing import Sprite, bezier

W, H = 150, 122
SCALES = "sea"
FIN = "red"
ARMOUR = "slate"


def scale_texture(s, size=7.0):
    """Overlapping scales: a dark arc at the rim of each, lighter above."""
    u = s.X / size
    col = np.floor(u)
    v = s.Y / size + 0.5 * (col % 2)
    fu, fv = u - col, v - np.floor(v)
    r = np.hypot(fu - 0.5, fv * 1.1)
    arc = np.clip(1 - np.abs(r - 0.62) / 0.12, 0, 1)
    return -0.16 * arc + 0.06 * np.clip(0.6 - r, 0, 1)


def draw_fish(mirror, solid=None):
    s = Sprite(W, H, mirror=mirror)
    # Tail fin, forked, behind the body.
    tail = s.mask().poly([(34, 58), (6, 8), (0, 6), (10, 44), (14, 60), (10, 76), (0, 114), (6, 112), (34, 64)])
    rays = 0.1 * np.sin(np.arctan2(s.Y - 60, s.X - 30) * 14)
    s.paint(tail, FIN, lo=0.04, hi=0.66, relief=5, texture=rays)
    # Dorsal fin: a row of spines webbed together.
    spines = [(40, 26), (48, 4), (58, 18), (66, 0), (76, 14), (86, 1), (96, 16), (104, 6), (112, 22)]
    dorsal = s.mask().poly(spines + [(114, 30), (38, 30)])
    s.paint(dorsal, FIN, lo=0.04, hi=0.62, relief=4, texture=0.1 * np.sin(s.X * 1.3))
    for x, y in spines[1::2]:
        s.paint(s.mask().line([(x - 2, 28), (x, y)], 2.2), "stone", lo=0.3, hi=0.95, relief=1, rim=0.4)
    # Belly fins.
    s.paint(s.mask().poly([(46, 96), (34, 121), (44, 120), (70, 100)]), FIN, lo=0.04, hi=0.6, relief=3)
    s.paint(s.mask().poly([(86, 100), (82, 122), (92, 121), (108, 98)]), FIN, lo=0.04, hi=0.6, relief=3)

    # Body: a deep, heavy hull with a blunt armoured head.
    body = s.mask()
    body.poly(bezier((28, 60), (40, 6), (112, 4), (140, 30), n=24)
              + [(146, 44), (146, 78)]
              + bezier((140, 90), (116, 120), (40, 116), (28, 62), n=24))
    # Dark back, paler flanks: the usual countershading of a hunter.
    back = -0.2 * np.clip((58 - s.Y) / 46, 0, 1)
    s.paint(body, SCALES, lo=0.03, hi=0.66, relief=16, texture=scale_texture(s) + back - 0.1 * (s.X < 44))
    # Lateral line.
    s.paint(s.mask().line(bezier((36, 62), (70, 52), (96, 56), n=12), 1.4), SCALES, flat=0.75, rim=0)
    # Pale belly.
    belly = s.mask().poly(bezier((38, 84), (78, 118), (124, 108), (142, 84), n=20) + [(120, 90), (70, 94)])
    s.paint(belly, "ice", lo=0.08, hi=0.7, relief=6, texture=0.5 * scale_texture(s, 5.0))
    # Armoured head plate with rivets.
    plate = s.mask().poly(bezier((98, 12), (126, 14), (142, 30), (147, 46), n=16)
                          + [(147, 78), (128, 88), (110, 96), (94, 70), (92, 34)])
    s.paint(plate, ARMOUR, lo=0.06, hi=0.82, relief=7, gloss=0.2)
    for x, y in ((100, 30), (104, 76), (118, 22), (118, 86)):
        s.paint(s.mask().circle(x, y, 1.8), "grey", lo=0.3, hi=1.0, relief=1, rim=0.4)
    # Gill slits behind the plate.
    for k in range(3):
        x = 88 - k * 6
        s.paint(s.mask().line(bezier((x, 36), (x - 6, 60), (x, 86), n=10), 1.6), SCALES, flat=0.02, rim=0)
    # Gullet: the jaws part snaps over this dark opening.
    s.paint(s.mask().ellipse(139, 60, 7, 9), "red", lo=0.02, hi=0.25, relief=3, rim=0)
    # A mean eye under a bony brow.
    s.paint(s.mask().circle(122, 38, 7.5), "gold", lo=0.35, hi=1.0, relief=3, rim=0.6, rim_level=0.15)
    s.paint(s.mask().ellipse(123, 38, 1.8, 5.5), "grey", flat=0.02, rim=0)
    s.paint(s.mask().circle(119.5, 35, 1.4), "grey", flat=1.0, rim=0)
    s.paint(s.mask().poly([(108, 26), (132, 32), (140, 38), (116, 33)]), ARMOUR, lo=0.02, hi=0.5, relief=1.5)
    # Pectoral fin over the flank.
    pect = s.mask().poly([(80, 74), (94, 70), (76, 104), (62, 106), (66, 92)])
    s.paint(pect, FIN, lo=0.06, hi=0.7, relief=3, texture=0.12 * np.sin(s.X * 1.6 + s.Y * 0.8))
    return s.finish(solid=solid)


def draw_mouth(open_, mirror, solid=None):
    s = Sprite(19, 26, mirror=mirror)
    gape = 1.0 if open_ else 0.0
    # The throat shows between the jaws when they part.
    s.paint(s.mask().ellipse(6, 13, 9, 6 + 4 * gape), "red", lo=0.02, hi=0.3, relief=2, rim=0)
    # Underbite: a jutting lower jaw with long fangs pointing up.
    low = 15 + 4 * gape
    for x, ln in ((4, 6), (9, 5), (15, 8)):
        s.paint(s.mask().poly([(x - 1.8, low + 1), (x + 1.8, low + 1), (x + 0.5, low - ln)]), "stone",
                lo=0.5, hi=1.0, relief=1, rim=0.35)
    top = 9 - 3 * gape
    for x, ln in ((3, 5), (7, 7), (11, 5)):
        s.paint(s.mask().poly([(x - 1.6, top - 1), (x + 1.6, top - 1), (x, top + ln)]), "stone",
                lo=0.5, hi=1.0, relief=1, rim=0.35)
    upper = s.mask().poly(bezier((0, 1.6), (10, -1), (16, 4 - 2 * gape), n=10)
                          + [(14, top + 1), (0, top + 1)])
    s.paint(upper, ARMOUR, lo=0.06, hi=0.84, relief=3, gloss=0.2)
    lower = s.mask().poly([(0, low), (17, low - 2 - gape), (19, low + 1), (14, 25), (0, 25)])
    s.paint(lower, ARMOUR, lo=0.05, hi=0.7, relief=3)
    s.paint(s.mask().circle(11, 3.5, 1.1), ARMOUR, flat=0.0, rim=0)
    return s.finish(open_edges="r" if mirror else "l", solid=solid)


def draw_bubble(frame):
    s = Sprite(40, 40)
    c = 20
    wob = 0.06 * math.sin(frame * math.pi / 2)
    rx, ry = 19.3 * (1 + wob), 19.3 * (1 - wob)
    d = np.hypot((s.X - c) / rx, (s.Y - c) / ry)
    inside = d <= 1
    a = np.arctan2(s.Y - c, s.X - c)
    # Deep water seen through the film, a bright rim, oily colours swirling round.
    level = 0.15 + 0.75 * np.clip((d - 0.55) / 0.45, 0, 1) ** 2
    col = np.stack([np.interp(level, [0, 1], [0.04, 0.75]), np.interp(level, [0, 1], [0.16, 0.95]),
                    np.interp(level, [0, 1], [0.36, 1.0])], axis=-1)
    # Two oily lobes, pink and gold-green, chase each other round the film.
    wave = np.sin(a * 2 + frame * math.pi / 2 + d * 4)
    film = np.clip((d - 0.45) / 0.55, 0, 1) * 0.75
    pink = (np.clip(wave, 0, 1) * film)[..., None]
    gold = (np.clip(-wave, 0, 1) * film)[..., None]
    col = col * (1 - pink - gold) + np.array([0.98, 0.42, 0.86]) * pink + np.array([0.72, 0.95, 0.45]) * gold
    hl = np.hypot(s.X - (c - 7), s.Y - (c - 8)) < 4.2
    col[hl] = (0.95, 1.0, 1.0)
    hl2 = np.hypot(s.X - (c + 8), s.Y - (c + 9)) < 1.8
    col[hl2] = (0.7, 0.9, 1.0)
    s.rgba[inside, :3] = col[inside]
    s.rgba[inside, 3] = 1
    return s.finish(outline_scale=0.45)


def mirrored_mask(img):
    """The hit mask of a frame, mirrored: the turned-round twin must match it."""
    return img[:, ::-1, 3] > 0.5


def main():
    fish = draw_fish(False)
    jaws = [draw_mouth(False, False), draw_mouth(True, False)]
    out = [save_bitmap(208, "boss2-fish", [fish, draw_fish(True, mirrored_mask(fish))]),
           save_bitmap(217, "boss2-bubble", [draw_bubble(i) for i in range(4)]),
           save_bitmap(223, "boss2-mouth", jaws + [draw_mouth(False, True, mirrored_mask(jaws[0])),
                                                   draw_mouth(True, True, mirrored_mask(jaws[1]))])]
    for p in out:
        print(p)


if __name__ == "__main__":
    main()
