#!/usr/bin/python3
"""Potions and the status display's pictures: potion 134, life potion 276,
life icon 150 and the words LIFE, POTIONS, POWER, STAGE (149, 151, 148, 146).

The potion is a round glass flask of amber brew; the life potion is a
heart-shaped flask of red brew, so the two never look alike even when
tumbling fast. The life icon is the witch's own hat, its tip swaying.
The words are set in the status digits' letterforms and colours.
"""
import math

import numpy as np

from artlib import save_bitmap
from fonts import big_word
from paint import Figure


def potion():
    f = Figure(19, 23)
    c = 9.5
    f.add(f.rect(6.5, 2.0, 12.5, 5.0), "wood", base=0.6, contrast=0.35, line=True)       # cork
    f.add(f.rect(6.0, 4.0, 13.0, 9.5), "ice", base=0.55, contrast=0.3)                   # neck
    f.add(f.rect(5.5, 5.0, 13.5, 6.6), "gold", base=0.7, contrast=0.2, line=True)       # rim
    body = f.ellipse(c, 14.0, 7.6, 7.0)
    f.add(body, "ice", base=0.5, contrast=0.35, soft=2.5, line=True)                     # glass
    f.add(body & (f.Y > 11.5) & f.ellipse(c, 14.1, 6.6, 6.2), "gold", base=0.7, contrast=0.35, soft=2.5,
          level=lambda X, Y: -0.08 * (Y > 17))                                        # brew
    f.add(f.ellipse(6.6, 12.0, 1.3, 2.0, angle=30), "grey", base=1.0, contrast=0.0)        # shine
    f.add(f.ellipse(11.5, 17.0, 0.9, 0.9), "gold", base=1.0, contrast=0.0)                # bubble
    return f.resolve()


def heart_mask(f, cx, cy, r):
    lobes = f.ellipse(cx - r * 0.52, cy - r * 0.15, r * 0.58, r * 0.58) | f.ellipse(cx + r * 0.52, cy - r * 0.15, r * 0.58, r * 0.58)
    point = f.polygon([(cx - r * 1.08, cy), (cx + r * 1.08, cy), (cx, cy + r * 1.1)])
    return lobes | point


def life_potion():
    f = Figure(19, 19)
    c = 9.5
    f.add(f.rect(7.5, 2.0, 11.5, 4.5), "gold", base=0.75, contrast=0.3, line=True)        # stopper
    glass = heart_mask(f, c, 9.6, 7.0)
    f.add(glass, "rose", base=0.75, contrast=0.3, soft=2.5, line=True)
    f.add(heart_mask(f, c, 10.0, 5.8) & (f.Y > 8.0), "red", base=0.62, contrast=0.4, soft=2.5, gloss=0.2)
    f.add(f.ellipse(5.6, 7.8, 1.3, 1.8, angle=35), "grey", base=1.0, contrast=0.0)
    return f.resolve()


def life_icon(frame):
    f = Figure(19, 19)
    sway = [0.0, 1.0, 0.0, -1.0][frame]
    f.add(f.ellipse(9.5, 14.8, 8.0, 2.4), "violet", base=0.45, contrast=0.35, line=True)   # brim
    cone = [(3.8, 14.6), (15.2, 14.6), (12.0, 8.0), (11.5 + sway, 4.5), (14.5 + 2 * sway, 1.8),
            (9.5 + sway, 3.0), (7.0, 8.0)]
    f.add(f.polygon(cone), "violet", base=0.66, contrast=0.4, soft=2.0, line=True)
    f.add(f.polygon([(5.6, 11.0), (13.4, 11.0), (14.0, 13.6), (5.0, 13.6)]), "gold", base=0.7, contrast=0.3,
          line=True)
    # A twinkle that travels round the brim.
    a = frame * math.pi / 2
    sx, sy = 9.5 + 5.5 * math.cos(a), 14.6 + 0.6 * math.sin(a)
    pts = []
    for k in range(8):
        r = 2.1 if k % 2 == 0 else 0.8
        t = k * math.pi / 4
        pts.append((sx + r * math.cos(t), sy + r * math.sin(t)))
    f.add(f.polygon(pts), "gold", base=1.0, contrast=0.0)
    return f.resolve()


def main():
    print(save_bitmap(134, "potion", [potion()]))
    print(save_bitmap(276, "potion-life", [life_potion()]))
    print(save_bitmap(150, "life-icon", [life_icon(i) for i in range(4)]))
    for res_id, role, word, width in ((149, "label-life", "LIFE", 43), (151, "label-potions", "POTIONS", 86),
                                      (148, "label-power", "POWER", 72), (146, "label-stage", "STAGE", 63)):
        print(save_bitmap(res_id, role, [big_word(word, width)]))


if __name__ == "__main__":
    main()
