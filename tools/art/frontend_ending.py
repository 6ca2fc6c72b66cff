#!/usr/bin/python3
"""Ending pictures: a calm morning over the valley (castle on the left hill,
village and rising sun on the right, the middle left open for the witch),
the witch hovering and waving, THE END, and the credits."""
import math
import random

import numpy as np

from artlib import save_bitmap
from frontend_drawing import Canvas, Xf, col, dither, ellipse_pts, ramp_rgb, sparkle
from frontend_lettering import GOLD, SILVER, banner, lettering, text_mask, text_width
from frontend_witch import flying

W, H = 640, 300
SS = 3
LINE = col("slate", 0.05)


def hill(c, base, amp, waves, phase):
    pts = [(0, H + 2)]
    for x in range(-4, W + 8, 4):
        y = base + sum(a * math.sin(x * f + phase * (k + 1)) for k, (a, f) in enumerate(zip(amp, waves)))
        pts.append((x, y))
    pts.append((W + 4, H + 2))
    return c.poly(pts)


def cloud(c, cx, cy, s):
    blobs = [(-30, 4, 22, 14), (-8, -6, 24, 20), (18, -2, 22, 17), (38, 6, 16, 11), (0, 8, 40, 12)]
    m = c.poly(*[ellipse_pts(cx + dx * s, cy + dy * s, rx * s, ry * s) for dx, dy, rx, ry in blobs])
    # Shaded from above: white tops, a lilac underside.
    ys = np.nonzero(m)[0]
    t = (c.yy - ys.min() / c.ss) / max(1.0, (ys.max() - ys.min()) / c.ss)
    c.paint(m, ramp_rgb("violet", 0.95 - 0.22 * t) * 0.5 + ramp_rgb("grey", 1.0 - 0.1 * t) * 0.5)


def tree(c, x, y, r, level=0.4):
    c.part(c.poly([(x - 1.5, y), (x + 1.5, y), (x + 1.5, y + r * 1.1), (x - 1.5, y + r * 1.1)]), "wood", 0.2, 0.4,
           outline=LINE, ow=0.8, rim=False)
    m = c.poly(ellipse_pts(x, y - r * 0.2, r, r * 1.15), ellipse_pts(x - r * 0.5, y + r * 0.2, r * 0.7, r * 0.7),
               ellipse_pts(x + r * 0.55, y + r * 0.15, r * 0.7, r * 0.7))
    c.part(m, "leaf", level - 0.18, level + 0.18, outline=col("leaf", 0.03), ow=0.8)


def castle(c, x0, y0):
    """A small white castle with violet roofs and red pennants."""
    stone = ("stone", 0.62, 0.95)
    for tx, ty, tw, th in ((x0, y0 - 30, 14, 42), (x0 + 60, y0 - 30, 14, 42), (x0 + 28, y0 - 50, 18, 62)):
        c.part(c.poly([(tx, ty), (tx + tw, ty), (tx + tw, ty + th), (tx, ty + th)]), *stone, outline=LINE, ow=1.0)
        c.part(c.poly([(tx - 3, ty), (tx + tw / 2, ty - tw * 1.4), (tx + tw + 3, ty)]), "violet", 0.35, 0.7,
               outline=LINE, ow=1.0)
        c.paint(c.stroke([(tx + tw / 2, ty - tw * 1.4), (tx + tw / 2, ty - tw * 1.4 - 8)], 1.0), LINE)
        c.paint(c.poly([(tx + tw / 2, ty - tw * 1.4 - 8), (tx + tw / 2 + 8, ty - tw * 1.4 - 6),
                        (tx + tw / 2, ty - tw * 1.4 - 4)]), col("red", 0.5))
        c.paint(c.poly(ellipse_pts(tx + tw / 2, ty + 12, 2, 3)), col("slate", 0.15))
    wall = c.poly([(x0 + 10, y0 - 10), (x0 + 64, y0 - 10), (x0 + 64, y0 + 12), (x0 + 10, y0 + 12)])
    c.part(wall, *stone, outline=LINE, ow=1.0)
    for k in range(6):
        bx = x0 + 14 + k * 9
        c.part(c.poly([(bx, y0 - 15), (bx + 5, y0 - 15), (bx + 5, y0 - 9), (bx, y0 - 9)]), *stone, outline=LINE, ow=1.0)
    c.paint(c.poly(ellipse_pts(x0 + 37, y0 + 6, 6, 8)), col("wood", 0.25))


def house(c, x, y, w, roof_ramp):
    c.part(c.poly([(x, y), (x + w, y), (x + w, y + w * 0.7), (x, y + w * 0.7)]), "stone", 0.7, 0.95, outline=LINE, ow=0.9)
    c.part(c.poly([(x - 3, y + 1), (x + w / 2, y - w * 0.55), (x + w + 3, y + 1)]), roof_ramp, 0.35, 0.65,
           outline=LINE, ow=0.9)
    c.paint(c.poly([(x + w * 0.3, y + w * 0.25), (x + w * 0.45, y + w * 0.25), (x + w * 0.45, y + w * 0.45),
                    (x + w * 0.3, y + w * 0.45)]), col("gold", 0.8))


def background():
    c = Canvas(W, H, SS, fill=(0, 0, 0))
    t = c.yy / 180.0
    sky = np.where((t < 0.6)[..., None], ramp_rgb("sky", 0.62 + 0.25 * t / 0.6),
                   ramp_rgb("sky", 0.87) * (1 - (t[..., None] - 0.6) / 0.4) + ramp_rgb("dusk", 0.95) * ((t[..., None] - 0.6) / 0.4))
    c.rgba[..., :3] = np.clip(sky, 0, 1)
    c.rgba[..., 3] = 1.0
    # The sun rising behind the right hills, with a soft halo.
    for r, a in ((70, 0.15), (52, 0.25), (38, 0.4)):
        c.paint(c.ellipse(520, 168, r, r), col("gold", 1.0), a)
    c.paint(c.ellipse(520, 168, 28, 28), col("gold", 0.98))
    for cx, cy, s in ((90, 40, 1.2), (250, 26, 0.8), (610, 60, 1.0), (420, 88, 0.7), (30, 120, 0.6)):
        cloud(c, cx, cy, s)
    # Far blue hills, then the green valley in three steps toward us.
    far = hill(c, 170, (8, 5), (0.011, 0.027), 0.3)
    c.paint(far, ramp_rgb("sky", 0.5 + 0.1 * (1 - (c.yy - 150) / 60)))
    mid = hill(c, 196, (12, 6), (0.009, 0.021), 1.7)
    c.part(mid, "leaf", 0.42, 0.62, outline=col("leaf", 0.15), ow=0.6, rim=False,
           level=np.clip(1 - (c.yy - 180) / 80, 0, 1))
    castle(c, 88, 176)
    # A lake in the valley, mirroring the sky.
    lake = c.poly(ellipse_pts(300, 228, 150, 16))
    c.paint(lake & mid, ramp_rgb("sky", 0.78 - 0.2 * np.clip((c.yy - 212) / 32, 0, 1)))
    for k in range(10):
        lx = 190 + k * 23
        c.paint(c.stroke([(lx, 224 + (k % 3) * 4), (lx + 10, 224 + (k % 3) * 4)], 1.0), col("grey", 1.0), 0.7)
    for k, (hx, hy, hw, rr) in enumerate(((470, 200, 16, "red"), (494, 206, 14, "fire"), (518, 198, 18, "red"),
                                          (548, 208, 13, "violet"), (572, 200, 15, "red"))):
        house(c, hx, hy, hw, rr)
    near = hill(c, 252, (10, 7), (0.007, 0.019), 2.9)
    c.part(near, "leaf", 0.5, 0.72, outline=col("leaf", 0.2), ow=0.8, rim=False,
           level=np.clip(1 - (c.yy - 236) / 64, 0, 1))
    rnd = random.Random(3)
    for x, y, r in ((30, 228, 12), (52, 234, 9), (200, 205, 7), (420, 210, 8), (608, 226, 13), (586, 236, 9),
                    (160, 212, 6), (450, 216, 6)):
        tree(c, x, y, r, 0.38 + rnd.uniform(-0.05, 0.05))
    # Flowers in the grass at the front.
    for _ in range(140):
        fx, fy = rnd.uniform(0, W), rnd.uniform(262, H - 2)
        ramp = rnd.choice(["rose", "gold", "grey", "violet"])
        c.paint(c.ellipse(fx, fy, 1.6, 1.3), col(ramp, 0.9 if ramp != "violet" else 0.75))
    # Birds far off.
    for bx, by in ((330, 60), (346, 52), (360, 64), (150, 90)):
        c.paint(c.stroke([(bx - 5, by - 2), (bx, by + 1), (bx + 5, by - 2)], 1.1), col("slate", 0.2))
    # Only the sky is a wide gradient; the rest keeps its clean flat shading.
    return dither(c.result(), 0.06, rows=168)


def hovering():
    c = Canvas(356, 244)
    for sx, sy, r in ((20, 150, 8), (44, 120, 5), (14, 196, 5), (330, 40, 7), (338, 96, 5), (300, 20, 4),
                      (60, 200, 4)):
        sparkle(c, sx, sy, r, ow=0.9)
    flying(c, Xf(19, 40, 0.92), mood="happy", wave=True)
    return c.result()


def the_end():
    def extra(c, x, y, w, h):
        for sx, sy, r in ((x + 2, y + 4, 10), (x + w - 2, y + h - 6, 8)):
            sparkle(c, sx, sy, r, ow=1.0)
    return banner(372, 95, "THE END", GOLD, margin=10, outline_px=3.0, rim_px=1.6, stroke=2.3, gap=1.0,
                  shadow=3, extra=extra)


def credits():
    """THANK YOU FOR PLAYING over the maker's name, small and bright on black."""
    c = Canvas(329, 64)
    scheme = dict(SILVER, stops=[("grey", 1.0), ("ice", 0.85), ("azure", 0.65), ("violet", 0.55)])
    h1 = 20
    t1 = "THANK YOU FOR PLAYING!"
    w1 = text_width(t1, h1, 2.4, 1.0)
    lettering(c, text_mask(c, t1, (329 - w1) / 2, 5, h1, 2.4, 1.0), scheme, 1.6, 0, (1.5, 1.5), bevel_px=1.0)
    gold = dict(GOLD, rim=None)
    h2 = 16
    t2 = "KORVA GAMES"
    w2 = text_width(t2, h2, 2.4, 1.6)
    x2 = (329 - w2) / 2
    lettering(c, text_mask(c, t2, x2, 38, h2, 2.4, 1.6), gold, 1.4, 0, (1.5, 1.5), bevel_px=1.0)
    sparkle(c, x2 - 14, 46, 6, ow=0.8)
    sparkle(c, x2 + w2 + 14, 46, 6, ow=0.8)
    return c.result()


def make():
    return [save_bitmap(295, "ending-background", background(), keyed=False),
            save_bitmap(297, "ending-character", hovering()),
            save_bitmap(298, "ending-heading", the_end()),
            save_bitmap(308, "credits", credits())]


if __name__ == "__main__":
    for p in make():
        print(p)
