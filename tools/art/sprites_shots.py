#!/usr/bin/python3
"""The witch's shots: the large bolt (125) and the small spark (130).

Her magic is cold blue-white, so it never looks like the warm enemy fire.
Two frames each: the bolt's trailing sparkles and the spark's points swap,
which reads as flicker at the shots' speed.
"""
import math

import numpy as np

from artlib import save_bitmap
from paint import Figure


def radial(cx, cy, r):
    return lambda X, Y: -np.sqrt((X - cx) ** 2 + (Y - cy) ** 2) / r


def bolt(frame):
    f = Figure(11, 21)
    cx = 5.5
    # Tail of sparkles behind the head (below it: the bolt flies up).
    for k in range(3):
        y = 13.8 + k * 2.1
        x = cx + (1.3 if (k + frame) % 2 else -1.3)
        f.add(f.ellipse(x, y, 1.4 - 0.2 * k, 1.4 - 0.2 * k), "azure", base=0.9 - 0.12 * k, contrast=0.1)
    body = f.polygon([(cx, 1.6), (cx + 3.8, 6.5), (cx + 2.0, 11.0), (cx, 13.5 + frame), (cx - 2.0, 11.0),
                      (cx - 3.8, 6.5)])
    f.add(body, "azure", base=1.35, contrast=0.15, level=radial(cx, 5.5, 11.0))
    f.add(f.polygon([(cx, 2.5), (cx + 1.6, 7.0), (cx, 12.5), (cx - 1.6, 7.0)]), "ice", base=1.0, contrast=0.05)
    return f.resolve()


def spark(frame):
    f = Figure(10, 10)
    c = 4.5
    a = 0.0
    pts = []
    for k in range(8):
        r = (3.1 - 0.6 * frame) if k % 2 == 0 else 1.4 + 0.5 * frame
        t = a + k * math.pi / 4
        pts.append((c + r * math.cos(t), c + r * math.sin(t)))
    f.add(f.polygon(pts), "azure", base=1.2, contrast=0.1, level=radial(c, c, 5.5))
    f.add(f.ellipse(c, c, 1.5 + 0.5 * frame, 1.5 + 0.5 * frame), "ice", base=1.0, contrast=0.0)
    return f.resolve()


def main():
    print(save_bitmap(125, "shot-large", [bolt(i) for i in range(2)]))
    print(save_bitmap(130, "shot-small", [spark(i) for i in range(2)]))


if __name__ == "__main__":
    main()
