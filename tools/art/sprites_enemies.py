#!/usr/bin/python3
"""The enemies, two frames each, seen from above and facing down the screen
towards the witch: starfish 118, small worm 120, armoured worm 122,
scorpion 141, bat 157, bird 159, squid 256, shell 257, butterfly 258.

Each creature has one main material with a contrasting accent (eyes, spots,
claws) so it keeps its identity when many share the screen. The two frames
are the formation's idle motion: arms curl, bodies wriggle, wings beat.
"""
import math

import numpy as np

from artlib import save_bitmap
from paint import Figure


def eyes(f, pts, r=1.6, ramp="grey", look=0.5):
    for x, y in pts:
        f.add(f.ellipse(x, y, r, r * 1.1), ramp, base=0.95, contrast=0.05, line=True)
        f.add(f.ellipse(x, y + look, r * 0.55, r * 0.6), "grey", base=0.0, contrast=0.0)


def starfish(frame):
    f = Figure(38, 42)
    c = (19.0, 21.5)
    curl = 0.35 if frame else -0.35
    for k in range(5):
        a = -math.pi / 2 + k * 2 * math.pi / 5 + 0.1 * frame
        tip = (c[0] + 16.5 * math.cos(a + curl * 0.5), c[1] + 17.5 * math.sin(a + curl * 0.5))
        mid = (c[0] + 9.5 * math.cos(a), c[1] + 10 * math.sin(a))
        f.add(f.taper([c, mid, tip], 10.0, 3.2), "fire", base=0.55, contrast=0.35, soft=2.5)
    f.add(f.ellipse(c[0], c[1], 7.0, 7.0), "fire", base=0.6, contrast=0.3, soft=2.5)
    for k in range(5):  # bumps along each arm
        a = -math.pi / 2 + k * 2 * math.pi / 5 + 0.1 * frame
        for d in (6.0, 10.5):
            f.add(f.ellipse(c[0] + d * math.cos(a + curl * 0.2), c[1] + d * math.sin(a + curl * 0.2), 1.2, 1.2),
                  "gold", base=0.9, contrast=0.1)
    eyes(f, [(c[0] - 2.6, c[1] + 0.5), (c[0] + 2.6, c[1] + 0.5)], r=1.8)
    return f.resolve()


def worm(frame, armoured=False):
    w, h = (41, 48) if armoured else (42, 38)
    f = Figure(w, h)
    n = 7 if armoured else 6
    ph = frame * math.pi
    pts = []
    for i in range(n):
        t = i / (n - 1)
        y = (7.5 if armoured else 6.0) + t * (h - 21)
        x = w / 2 + (7.0 if armoured else 8.0) * math.sin(t * 3.3 + ph * 0.5) * (0.4 + 0.6 * t) - 3 * frame * t
        pts.append((x, y))
    # Tail first (top), head last (bottom, facing the witch).
    for i, (x, y) in enumerate(pts[:-1]):
        t = i / (n - 1)
        r = (4.0 + 3.0 * t) if not armoured else (4.6 + 3.0 * t)
        if armoured:
            f.add(f.ellipse(x, y, r + 1.5, r), "slate", base=0.5, contrast=0.4, soft=2.0, line=True, gloss=0.25)
            f.add(f.ellipse(x, y + r * 0.55, r + 0.5, r * 0.35), "gold", base=0.6, contrast=0.3, line=True)
        else:
            f.add(f.ellipse(x, y, r + 1.0, r), "lime", base=0.5, contrast=0.4, soft=2.0, line=True)
            f.add(f.ellipse(x - r * 0.3, y - r * 0.3, r * 0.35, r * 0.3), "lime", base=0.95, contrast=0.0)
    hx, hy = pts[-1]
    hr = 8.0 if armoured else 7.0
    jaw = 2.0 if frame else 0.5
    for side in (-1, 1):  # mandibles
        f.add(f.taper([(hx + side * 3, hy + 3), (hx + side * (5 + jaw), hy + 8), (hx + side * (2.5 + jaw), hy + 11)],
                      2.6, 1.0), "stone" if armoured else "wood", base=0.6, contrast=0.3, line=True)
    f.add(f.ellipse(hx, hy, hr, hr * 0.85), "slate" if armoured else "leaf", base=0.55, contrast=0.4, soft=2.5,
          line=True, gloss=0.2)
    if armoured:
        f.add(f.polygon([(hx - 6, hy - 3), (hx, hy - 6.5), (hx + 6, hy - 3), (hx, hy - 1)]), "gold", base=0.65,
              contrast=0.3, line=True)
        eyes(f, [(hx - 3.2, hy + 2), (hx + 3.2, hy + 2)], r=1.6, ramp="red", look=0.2)
    else:
        eyes(f, [(hx - 2.8, hy + 1), (hx + 2.8, hy + 1)], r=1.9)
    return f.resolve()


def scorpion(frame):
    f = Figure(46, 42)
    cx = 23.0
    o = 1.5 if frame else -1.0
    # Legs under the body.
    for side in (-1, 1):
        for k in range(3):
            y = 14 + k * 4
            f.add(f.taper([(cx + side * 5, y), (cx + side * 13, y - 2 + k * 1.5 + o * 0.5 * side),
                           (cx + side * 16, y + 3 + k)], 2.2, 1.4), "wood", base=0.4, contrast=0.3, line=True)
    # Tail: from the back of the body curling up and forward over it.
    sway = 2.0 if frame else -2.0
    tail = [(cx, 20), (cx + sway * 0.3, 12), (cx + sway * 0.7, 7), (cx + sway + 4, 4.5), (cx + sway + 8, 6.5)]
    f.add(f.taper(tail, 6.5, 3.5), "wood", base=0.55, contrast=0.35, soft=1.5, line=True,
          level=lambda X, Y: 0.1 * np.sin(Y * 1.4))
    f.add(f.taper([(cx + sway + 8, 6.5), (cx + sway + 9.5, 10), (cx + sway + 8, 12.5)], 3.0, 1.0), "red",
          base=0.6, contrast=0.3, line=True)
    # Body plates.
    for k in range(4):
        f.add(f.ellipse(cx, 14 + k * 4.5, 7.5 - k * 0.3, 3.4), "wood", base=0.58, contrast=0.35, line=True,
              gloss=0.15)
    # Claws reaching forward (down).
    for side in (-1, 1):
        arm = [(cx + side * 5, 28), (cx + side * 11, 30.5), (cx + side * 12, 33.5)]
        f.add(f.taper(arm, 3.4, 3.0), "wood", base=0.55, contrast=0.3, line=True)
        open_ = 2.0 if frame else 0.6
        f.add(f.ellipse(cx + side * 12.5, 35.0, 4.0, 3.2), "red", base=0.55, contrast=0.35, line=True)
        f.add(f.taper([(cx + side * 14.5, 35.5), (cx + side * (14 + open_), 38.0)], 2.4, 1.0), "red", base=0.5,
              contrast=0.3, line=True)
        f.add(f.taper([(cx + side * 10.5, 35.5), (cx + side * (10.5 - open_ * 0.5), 38.0)], 2.2, 1.0), "red",
              base=0.5, contrast=0.3, line=True)
    f.add(f.ellipse(cx, 29.5, 6.0, 4.5), "wood", base=0.62, contrast=0.35, line=True)
    eyes(f, [(cx - 2.3, 30.5), (cx + 2.3, 30.5)], r=1.3, ramp="gold", look=0.2)
    return f.resolve()


def bat(frame):
    f = Figure(90, 79)
    cx = 45.0
    up = frame == 0
    if up:
        elbow, tip, fingers = (19.0, 18.0), (43.0, 5.0), [(40.0, 34.0), (27.0, 46.0), (9.0, 52.0)]
    else:
        elbow, tip, fingers = (20.0, 33.0), (43.0, 56.0), [(35.0, 68.0), (23.0, 64.0), (9.0, 55.0)]
    for s in (-1, 1):
        shoulder = (cx + s * 6, 30.0)
        el = (cx + s * elbow[0], elbow[1])
        tips = [(cx + s * tip[0], tip[1])] + [(cx + s * x, y) for x, y in fingers]
        edge = [shoulder, el, tips[0]]
        for p, q in zip(tips, tips[1:]):  # scalloped trailing edge between the finger tips
            mx, my = (p[0] + q[0]) / 2, (p[1] + q[1]) / 2
            edge += [(mx + (el[0] - mx) * 0.3, my + (el[1] - my) * 0.3), q]
        f.add(f.polygon(edge), "dusk", base=0.45, contrast=0.3, soft=3.0, line=True,
              level=lambda X, Y: 0.06 * np.sin(np.hypot(X - cx, Y - 30) * 0.5))
        for q in tips[:3]:  # finger bones
            f.add(f.taper([el, q], 2.2, 1.0), "stone", base=0.3, contrast=0.2)
        f.add(f.taper([shoulder, el], 3.4, 2.4), "stone", base=0.35, contrast=0.25)
        f.add(f.ellipse(el[0], el[1], 1.6, 1.6), "stone", base=0.6, contrast=0.2)
        f.add(f.polygon([(cx + s * 2.5, 27), (cx + s * 9.5, 16), (cx + s * 8.0, 29)]), "stone", base=0.45,
              contrast=0.35, line=True)
    f.add(f.ellipse(cx, 41, 9.0, 14.0), "stone", base=0.42, contrast=0.4, soft=3.0, line=True,
          level=lambda X, Y: 0.05 * np.sin(Y * 2.0))
    f.add(f.ellipse(cx, 31, 8.0, 7.0), "stone", base=0.5, contrast=0.4, soft=2.5, line=True)
    eyes(f, [(cx - 3.4, 32.5), (cx + 3.4, 32.5)], r=2.0, ramp="red", look=0.3)
    f.add(f.polygon([(cx - 2.5, 36.0), (cx - 1.5, 39.5), (cx - 0.5, 36.0)]), "grey", base=1.0, contrast=0.0)
    f.add(f.polygon([(cx + 0.5, 36.0), (cx + 1.5, 39.5), (cx + 2.5, 36.0)]), "grey", base=1.0, contrast=0.0)
    return f.resolve()


def bird(frame):
    f = Figure(103, 67)
    cx = 51.5
    up = frame == 0
    for side in (-1, 1):
        s = side
        lead_tip = (cx + s * 49, 10 if up else 34)
        # Wing: leading edge from the shoulder to the tip, feathered trailing edge back in.
        outline = [(cx + s * 6, 22), (cx + s * 24, 14 if up else 24), lead_tip]
        feathers = []
        for k in range(6):
            t = k / 5
            bx = cx + s * (48 - 38 * t)
            by = (lead_tip[1] + 6 + 20 * t) if up else (lead_tip[1] + 4 + 2 * t)
            feathers += [(bx, by), (bx - s * 4, by - 3)]
        outline += feathers + [(cx + s * 7, 36)]
        f.add(f.polygon(outline), "azure", base=0.45, contrast=0.35, soft=3.0, line=True,
              level=lambda X, Y: 0.08 * np.sin(X * 0.9))
        cover = [(cx + s * 6, 22), (cx + s * 24, 15 if up else 25), (cx + s * 40, (14 if up else 33)),
                 (cx + s * 24, (27 if up else 32)), (cx + s * 8, 32)]
        f.add(f.polygon(cover), "azure", base=0.62, contrast=0.3, soft=2.5, line=True)
    # Tail fan behind (top of the screen).
    f.add(f.polygon([(cx - 4, 20), (cx - 9, 3), (cx - 3, 5), (cx, 1.5), (cx + 3, 5), (cx + 9, 3), (cx + 4, 20)]),
          "azure", base=0.4, contrast=0.3, line=True)
    f.add(f.ellipse(cx, 27, 8.0, 13.0), "azure", base=0.5, contrast=0.4, soft=3.0, line=True)
    f.add(f.ellipse(cx, 31, 5.0, 8.0), "ice", base=0.7, contrast=0.3, soft=2.0)
    f.add(f.ellipse(cx, 42, 6.0, 5.5), "azure", base=0.58, contrast=0.4, soft=2.0, line=True, gloss=0.15)
    f.add(f.polygon([(cx - 2.6, 45.5), (cx + 2.6, 45.5), (cx + 0.8, 51), (cx, 52), (cx - 0.8, 51)]), "gold",
          base=0.7, contrast=0.3, line=True)
    eyes(f, [(cx - 3.2, 42.5), (cx + 3.2, 42.5)], r=1.5, ramp="gold", look=0.3)
    return f.resolve()


def squid(frame):
    f = Figure(61, 65)
    cx = 30.5
    ph = frame * math.pi
    for k in range(8):  # tentacles dangle towards the witch
        t = (k - 3.5) / 3.5
        x0 = cx + t * 10
        pts = [(x0, 34), (x0 + t * 6 + 2.5 * math.sin(ph + k), 44),
               (x0 + t * 10 + 3.5 * math.sin(ph + k + 1.2), 53),
               (x0 + t * 12 + 3.0 * math.sin(ph + k + 2.4), 61 - abs(t) * 4)]
        f.add(f.taper(pts, 4.4, 1.4), "rose", base=0.5, contrast=0.3, line=True,
              level=lambda X, Y: 0.12 * (np.sin(Y * 1.6) > 0.6))
    # Mantle pointing up, with side fins.
    for side in (-1, 1):
        f.add(f.polygon([(cx + side * 6, 8), (cx + side * (17 + frame), 4 + frame), (cx + side * 11, 18)]),
              "rose", base=0.5, contrast=0.3, line=True)
    f.add(f.polygon([(cx, 1.5), (cx + 11, 16), (cx + 12.5, 30), (cx + 9, 37), (cx - 9, 37), (cx - 12.5, 30),
                     (cx - 11, 16)]), "rose", base=0.6, contrast=0.35, soft=3.5, line=True)
    for k in range(5):  # spots on the mantle
        f.add(f.ellipse(cx - 5 + (k % 3) * 5, 11 + k * 3.5, 1.3, 1.1), "violet", base=0.45, contrast=0.1)
    eyes(f, [(cx - 6.0, 31.0), (cx + 6.0, 31.0)], r=3.0, ramp="gold", look=0.8)
    return f.resolve()


def shell(frame):
    f = Figure(43, 47)
    cx = 21.5
    opened = frame == 1
    # Feet peeping out.
    for side in (-1, 1):
        f.add(f.ellipse(cx + side * 13, 39, 4.0, 3.0), "skin", base=0.55, contrast=0.3, line=True)
    # Upper shell (the back, towards the top) with ribs.
    fan = f.ellipse(cx, 22, 19.5, 20.0) & (f.Y < (25 if not opened else 20))
    f.add(fan, "gold", base=0.55, contrast=0.35, soft=3.0, line=True,
          level=lambda X, Y: 0.14 * np.cos(np.arctan2(X - cx, 27 - Y) * 9.0))
    if opened:
        f.add(f.ellipse(cx, 24, 16.5, 9.0), "red", base=0.4, contrast=0.3, soft=2.0, line=True)
        for k in range(5):  # teeth
            x = cx - 10 + k * 5
            f.add(f.polygon([(x - 1.8, 17.5), (x + 1.8, 17.5), (x, 21.5)]), "grey", base=0.95, contrast=0.05)
        f.add(f.ellipse(cx, 26, 4.0, 3.2), "rose", base=0.75, contrast=0.3, gloss=0.2)
    # Lower shell (front lip).
    lip_top = 29 if opened else 25
    f.add(f.ellipse(cx, lip_top + 4, 18.0, 9.5) & (f.Y > lip_top), "gold", base=0.5, contrast=0.35, soft=2.5,
          line=True, level=lambda X, Y: 0.12 * np.cos((X - cx) * 0.7))
    eyes(f, [(cx - 6.5, 4.8), (cx + 6.5, 4.8)], r=2.2, look=0.6)
    return f.resolve()


def butterfly(frame):
    f = Figure(50, 49)
    cx = 25.0
    spread = 0.9 if frame == 1 else 0.42  # wings down: wide open; up: folded, seen edge-on
    for side in (-1, 1):
        s = side
        upper = [(cx + s * 2, 14), (cx + s * (4 + 19 * spread), 3 + (1 - spread) * 4),
                 (cx + s * (6 + 18.5 * spread), 16), (cx + s * 3, 24)]
        lower = [(cx + s * 2, 23), (cx + s * (4 + 15 * spread), 27), (cx + s * (3 + 12 * spread), 41),
                 (cx + s * 1.5, 34)]
        for shape, base in ((lower, 0.5), (upper, 0.62)):
            f.add(f.polygon(shape), "fire", base=base, contrast=0.35, soft=2.5, line=True,
                  level=lambda X, Y: -0.3 * (np.abs(X - cx) > 21 * spread))
        # Eye spots.
        f.add(f.ellipse(cx + s * (2 + 12 * spread), 12, 2.8 * spread + 0.8, 2.6), "night", base=0.2, contrast=0.1)
        f.add(f.ellipse(cx + s * (2 + 12 * spread), 12, 1.3 * spread + 0.4, 1.2), "ice", base=1.0, contrast=0.0)
        f.add(f.ellipse(cx + s * (2 + 9 * spread), 31, 1.8 * spread + 0.6, 1.8), "gold", base=0.95, contrast=0.0)
        f.add(f.taper([(cx + s * 1, 9), (cx + s * 4, 3), (cx + s * 6, 1.8)], 1.2, 1.0), "night", base=0.3,
              contrast=0.1)
    f.add(f.ellipse(cx, 22, 2.6, 13.0), "night", base=0.55, contrast=0.4, line=True)
    f.add(f.ellipse(cx, 10.5, 3.2, 3.0), "night", base=0.6, contrast=0.4, line=True)
    return f.resolve()


def main():
    print(save_bitmap(118, "starfish", [starfish(i) for i in range(2)]))
    print(save_bitmap(120, "worm-small", [worm(i) for i in range(2)]))
    print(save_bitmap(122, "worm-armoured", [worm(i, armoured=True) for i in range(2)]))
    print(save_bitmap(141, "scorpion", [scorpion(i) for i in range(2)]))
    print(save_bitmap(157, "bat", [bat(i) for i in range(2)]))
    print(save_bitmap(159, "bird", [bird(i) for i in range(2)]))
    print(save_bitmap(256, "squid", [squid(i) for i in range(2)]))
    print(save_bitmap(257, "shell", [shell(i) for i in range(2)]))
    print(save_bitmap(258, "butterfly", [butterfly(i) for i in range(2)]))


if __name__ == "__main__":
    main()
