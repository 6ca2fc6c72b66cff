#!/usr/bin/python3
"""Boss 5, the coiled dragon: coil 247, head 246, fire orb 267, breath 265,
rolling ball 269.

The coil rings round the middle of its bitmap and the neck rises to the head
at (95, -3); the mouth opens round the point where the orb charges, at the
orb's place (131, 80), and the breath fans out from the same point, from
(28, 102), 390 pixels down and 248 wide at its far end. The balls rest at
(50, 48) and (210, 48), either side of the head.
"""
import math

import numpy as np

from artlib import save_bitmap
from boss_drawing import Sprite, empty, energy_rgb

W, H = 283, 226
SCALES = "leaf"
BELLY = "gold"
MANE = "fire"
HORN = "stone"

FIRE = [(0.0, (0.45, 0.04, 0.02)), (0.25, (0.86, 0.22, 0.04)), (0.5, (1.0, 0.55, 0.08)),
        (0.75, (1.0, 0.86, 0.35)), (1.0, (1.0, 1.0, 0.9))]


def spline(ctrl, per=12):
    """Catmull-Rom curve through the control points."""
    out = []
    p = [ctrl[0]] + list(ctrl) + [ctrl[-1]]
    for i in range(1, len(p) - 2):
        p0, p1, p2, p3 = p[i - 1], p[i], p[i + 1], p[i + 2]
        for k in range(per):
            t = k / per
            out.append(tuple(0.5 * ((2 * p1[j]) + (-p0[j] + p2[j]) * t
                                    + (2 * p0[j] - 5 * p1[j] + 4 * p2[j] - p3[j]) * t * t
                                    + (-p0[j] + 3 * p1[j] - 3 * p2[j] + p3[j]) * t ** 3) for j in range(2)))
    out.append(ctrl[-1])
    return out


def scale_texture(s, size=6.0):
    u = s.X / size
    col = np.floor(u)
    v = s.Y / size + 0.5 * (col % 2)
    fu, fv = u - col, v - np.floor(v)
    r = np.hypot(fu - 0.5, fv * 1.1)
    return -0.15 * np.clip(1 - np.abs(r - 0.62) / 0.13, 0, 1) + 0.05 * np.clip(0.6 - r, 0, 1)


def coil_piece(s, pts, w0, w1, belly_side=1, spine_side=-1):
    """A length of scaly body: spines along one side, gold plates along the other."""
    n = len(pts)
    widths = [w0 + (w1 - w0) * i / (n - 1) for i in range(n)]
    normals = []
    for i in range(n):
        a, b = pts[max(0, i - 1)], pts[min(n - 1, i + 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1
        normals.append((-dy / ln, dx / ln))
    for i in range(2, n - 1, 3):
        (x, y), (nx, ny), w = pts[i], normals[i], widths[i]
        base = (x + spine_side * nx * w * 0.42, y + spine_side * ny * w * 0.42)
        tip = (x + spine_side * nx * (w * 0.5 + 10), y + spine_side * ny * (w * 0.5 + 10))
        tx, ty = ny, -nx
        s.paint(s.mask().poly([(base[0] - tx * 5, base[1] - ty * 5), (base[0] + tx * 5, base[1] + ty * 5),
                               (tip[0] - tx * 4, tip[1] - ty * 4)]), MANE, lo=0.1, hi=0.85, relief=2, rim=0.7)
    body = s.mask()
    for i in range(n - 1):
        body.capsule(pts[i], pts[i + 1], widths[i] / 2, widths[i + 1] / 2)
    s.paint(body, SCALES, lo=0.04, hi=0.7, relief=9, texture=scale_texture(s))
    # Belly: a paler strip along the inner side, crossed by plate seams.
    strip = s.mask()
    seams = s.mask()
    for i in range(n - 1):
        (x, y), (nx, ny), w = pts[i], normals[i], widths[i]
        (x2, y2), (nx2, ny2), w2 = pts[i + 1], normals[i + 1], widths[i + 1]
        strip.capsule((x + belly_side * nx * w * 0.2, y + belly_side * ny * w * 0.2),
                      (x2 + belly_side * nx2 * w2 * 0.2, y2 + belly_side * ny2 * w2 * 0.2), w * 0.22, w2 * 0.22)
        if i % 2 == 0:
            seams.line([(x + belly_side * nx * w * 0.0, y + belly_side * ny * w * 0.0),
                        (x + belly_side * nx * w * 0.45, y + belly_side * ny * w * 0.45)], 1.1)
    sm = strip.arr()
    s.paint(sm, BELLY, lo=0.08, hi=0.62, relief=4, rim=0.6, rim_level=0.05)
    s.paint(sm * seams.arr(), BELLY, flat=0.08, rim=0)


def draw_coil():
    s = Sprite(W, H)
    # The tail end first: everything later in the body lies over it.
    tail = spline([(14, 196), (54, 212), (110, 214), (170, 212), (226, 194), (254, 150), (256, 96),
                   (230, 52), (190, 30), (150, 26)], per=10)
    coil_piece(s, tail, 14, 44, belly_side=-1, spine_side=1)
    s.paint(s.mask().poly([(16, 188), (0, 178), (4, 200), (0, 220), (18, 206)]), MANE, lo=0.1, hi=0.85,
            relief=3)
    upper = spline([(152, 26), (100, 26), (52, 52), (28, 116), (40, 166), (76, 186)], per=10)
    coil_piece(s, upper, 44, 46, belly_side=-1, spine_side=1)
    front = spline([(72, 184), (118, 170), (148, 130), (150, 90), (146, 50)], per=10)
    coil_piece(s, front, 46, 50, belly_side=-1, spine_side=1)
    # Short clawed forelegs gripping the front of the coil.
    for sx in (-1, 1):
        sh = (148 + sx * 22, 104)
        elbow = (148 + sx * 40, 120)
        paw = (148 + sx * 30, 138)
        s.paint(s.mask().tube([sh, elbow, paw], 20, 14), SCALES, lo=0.06, hi=0.7, relief=5,
                texture=scale_texture(s, 4.0))
        for k in (-1, 0, 1):
            tip = (paw[0] + k * 5 - sx * 4, paw[1] + 9)
            s.paint(s.mask().tube([(paw[0] + k * 4, paw[1] + 3), tip], 4.5, 1.2), HORN, lo=0.3, hi=1.0,
                    relief=1, rim=0.5)
    return s.finish()


def draw_head(stage):
    hw, hh = 101, 130
    s = Sprite(hw, hh)
    cx, mouth_x = 50.5, 54
    gape = (0, 7, 14)[stage]
    mirror = (lambda p: [(hw - x, y) for x, y in p])
    ident = (lambda p: p)
    # Neck going down behind the head into the coil.
    s.paint(s.mask().tube([(cx, 60), (cx + 1, 100)], 42, 44), SCALES, lo=0.04, hi=0.55, relief=10,
            texture=scale_texture(s))
    # Mane of flames behind the skull.
    for f in (ident, mirror):
        for k in range(4):
            y0 = 30 + k * 12
            s.paint(s.mask().poly(f([(30, y0), (30, y0 + 14), (2 + k * 2, y0 + 16 + k * 4)])), MANE,
                    lo=0.1, hi=0.9, relief=2.5, rim=0.7)
    # Horns sweep back and up.
    for f in (ident, mirror):
        s.paint(s.mask().tube(f([(36, 28), (22, 14), (12, 2)]), 10, 2.5), HORN, lo=0.12, hi=0.95, relief=3,
                texture=0.08 * np.sin(s.Y * 1.8))
    # Lower jaw drops as the mouth opens; the throat glows.
    jaw = s.mask().poly([(30, 90 + gape * 0.3), (71, 90 + gape * 0.3), (67, 106 + gape), (58, 113 + gape),
                         (43, 113 + gape), (34, 106 + gape)])
    s.paint(jaw, SCALES, lo=0.08, hi=0.72, relief=4, texture=scale_texture(s, 4.0))
    chin = s.mask().poly([(36, 104 + gape), (65, 104 + gape), (58, 111 + gape), (43, 111 + gape)])
    s.paint(chin, BELLY, lo=0.1, hi=0.7, relief=2, rim=0.6,
            texture=-0.15 * (np.sin(s.X * 1.2) > 0.6))
    if gape:
        maw = s.mask().ellipse(mouth_x - 1, 100 + gape * 0.45, 15, 3 + gape * 0.55)
        s.paint(maw, "red", flat=0.05, rim=0)
        d = np.hypot((s.X - (mouth_x - 1)) / 1.6, s.Y - (102 + gape * 0.45))
        g = (d < 2 + gape * 0.5) & (maw.arr() > 0.5)
        s.rgba[g, :3] = energy_rgb(1 - d[g] / (2 + gape * 0.5), FIRE)
        for k in (-1, 1):
            x = mouth_x - 1 + k * 11
            s.paint(s.mask().poly([(x - 2, 106 + gape), (x + 2, 106 + gape), (x, 98 + gape * 0.7)]), HORN,
                    lo=0.55, hi=1.0, relief=1, rim=0.4)
    # Skull and long snout.
    skull = s.mask().ellipse(cx, 46, 30, 26)
    skull.poly([(24, 52), (77, 52), (72, 92), (62, 100), (39, 100), (29, 92)])
    s.paint(skull, SCALES, lo=0.06, hi=0.8, relief=11, texture=scale_texture(s, 5.0))
    # Bony ridge down the snout and heavy brows.
    s.paint(s.mask().tube([(cx, 24), (cx, 50), (cx, 74)], 7, 3.5), SCALES, lo=0.1, hi=0.85, relief=2.5)
    # Flared nose over the upper fangs.
    for nx in (41, 60):
        s.paint(s.mask().ellipse(nx, 88, 10, 7), SCALES, lo=0.08, hi=0.8, relief=4, rim=0.7,
                texture=scale_texture(s, 4.0))
    for f in (ident, mirror):
        s.paint(s.mask().poly(f([(20, 36), (46, 44), (44, 50), (22, 44)])), SCALES, lo=0.02, hi=0.5,
                relief=2)
        eye = s.mask().poly(f([(25, 45), (42, 50), (39, 55), (27, 51)]))
        s.paint(eye, "gold", lo=0.55, hi=1.0, relief=1.5, rim=0.5, rim_level=0.3)
        s.paint(s.mask().ellipse(*f([(34, 51)])[0], 1.2, 2.4), "red", flat=0.05, rim=0)
        s.paint(s.mask().ellipse(*f([(40, 89)])[0], 3.2, 2.2), SCALES, flat=0.0, rim=0)
        # Upper fangs.
        s.paint(s.mask().poly(f([(34, 96), (39, 98), (36, 108)])), HORN, lo=0.55, hi=1.0, relief=1, rim=0.4)
        # Whiskers curling out from the snout.
        pts = [(30, 86), (14, 92), (6, 104), (10, 116), (4, 126)]
        s.paint(s.mask().tube(f(pts), 4, 1.5), MANE, lo=0.3, hi=0.9, relief=1.5, rim=0.5)
    return s.finish()


def fire_blob(s, cx, cy, r, spikes, phase, wobble):
    d = np.hypot(s.X - cx, s.Y - cy)
    a = np.arctan2(s.Y - cy, s.X - cx)
    edge = r * (1 + wobble * np.sin(a * spikes + phase))
    t = 1 - d / edge
    inside = t >= 0
    s.rgba[inside, :3] = energy_rgb(t * 1.3, FIRE)[inside]
    s.rgba[inside, 3] = 1


def draw_orb(frame):
    s = Sprite(44, 44)
    fire_blob(s, 22, 22, (9, 14, 19)[frame], 7 + frame * 2, frame * 1.3, 0.14 + 0.04 * frame)
    return s.finish(outline=False)


def draw_breath():
    bw, bh = 248, 390
    s = Sprite(bw, bh)
    cx = 124
    y = s.Y
    # A fan of fire widening from the mouth; tongues of flame lick its edges.
    half = 10 + 114 * (y / bh) ** 0.85
    lick = 1 + 0.08 * np.sin(y / 9.0) + 0.05 * np.sin(y / 3.7 + 1)
    half = np.minimum(half * lick, cx - 0.5)
    u = (s.X - cx) / half
    t = 1 - np.abs(u)
    streak = 0.12 * np.sin(u * 9 + y / 40.0) * np.clip(y / 120, 0, 1)
    t = np.clip(t + streak, 0, 1) * (t > 0)
    inside = t > 0
    s.rgba[inside, :3] = energy_rgb(np.clip(t * 1.2 - 0.12 * y / bh, 0, 1), FIRE)[inside]
    s.rgba[inside, 3] = 1
    return s.finish(outline=False)


def draw_ball(frame):
    """A spiked ball; everything on it repeats every quarter turn, so four
    steps of 22.5 degrees loop seamlessly."""
    s = Sprite(44, 44)
    c, r = 22, 14.5
    rot = frame * math.pi / 8
    for k in range(8):
        a = rot + k * math.pi / 4
        base = [(c + (r - 2) * math.cos(a + 0.24), c + (r - 2) * math.sin(a + 0.24)),
                (c + (r - 2) * math.cos(a - 0.24), c + (r - 2) * math.sin(a - 0.24))]
        tip = (c + 21 * math.cos(a), c + 21 * math.sin(a))
        s.paint(s.mask().poly(base + [tip]), HORN, lo=0.2, hi=1.0, relief=1.5, rim=0.6)
    ball = s.mask().circle(c, c, r)
    # Gold bands in a cross and four red studs turn with the ball.
    a = np.arctan2(s.Y - c, s.X - c) - rot
    d = np.hypot(s.X - c, s.Y - c)
    band = ((np.abs(np.sin(a)) * d < 2.6) | (np.abs(np.cos(a)) * d < 2.6)) & (d < r)
    s.paint(ball, "slate", lo=0.04, hi=0.75, relief=5, gloss=0.35)
    s.paint(ball.arr() * band, "gold", lo=0.15, hi=1.0, relief=5, rim=0.4, gloss=0.2)
    for k in range(4):
        t = rot + math.pi / 4 + k * math.pi / 2
        s.paint(s.mask().circle(c + 8 * math.cos(t), c + 8 * math.sin(t), 2.6), "red", lo=0.2, hi=1.0,
                relief=1.2, gloss=0.4, rim=0.5)
    return s.finish()


def main():
    out = [save_bitmap(247, "boss5-body", draw_coil()),
           save_bitmap(246, "boss5-head", [draw_head(i) for i in range(3)]),
           save_bitmap(267, "boss5-photon", [draw_orb(i) for i in range(3)]),
           save_bitmap(265, "boss5-laser", [empty(248, 390), draw_breath()]),
           save_bitmap(269, "boss5-ball", [draw_ball(i) for i in range(4)])]
    for p in out:
        print(p)


if __name__ == "__main__":
    main()
