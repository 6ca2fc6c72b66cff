#!/usr/bin/python3
"""Logo and title pictures: the maker's logo, the scrolling tile, the VELLORIA
logo and its two ornaments, the witch flying in, the menu labels, the cursors."""
import math

import numpy as np

from artlib import save_bitmap
from frontend_drawing import Canvas, Xf, bezier, col, ellipse_pts, path, ramp_rgb, sparkle, star_pts
from frontend_lettering import GOLD, SILVER, banner, lettering, text_mask, text_width
from frontend_witch import flying

WHITE = (1.0, 1.0, 1.0)
MENU = ["EPISODE 1", "EPISODE 2", "EPISODE 3", "RANKING", "EXIT"]


def maker_logo():
    """KORVA GAMES on white, with a moon-and-star badge."""
    c = Canvas(320, 128, fill=WHITE)
    # Badge: a night disc holding a gold crescent and a star.
    c.paint(c.ellipse(60, 66, 46, 46), (0.78, 0.78, 0.82))
    disc = c.ellipse(56, 62, 46, 46)
    c.part(disc, "violet", 0.08, 0.42, outline=col("violet", 0.02), ow=2.0)
    c.paint(c.ellipse(56, 62, 39, 39) & ~c.ellipse(56, 62, 36.5, 36.5), col("gold", 0.75))
    moon = c.ellipse(50, 62, 26, 26) & ~c.ellipse(62, 54, 23, 23)
    c.part(moon, "gold", 0.55, 1.0, outline=col("wood", 0.05), ow=1.2)
    sparkle(c, 70, 72, 12, ow=1.0)
    sparkle(c, 76, 44, 5, ow=0.7)
    scheme = dict(stops=[("azure", 0.95), ("azure", 0.62), ("violet", 0.48), ("violet", 0.3)],
                  outline=("violet", 0.02), rim=None, shadow=("grey", 0.72))
    h = 50
    w = text_width("KORVA", h, 2.6, 1.0)
    x0 = 118 + (196 - w) / 2
    lettering(c, text_mask(c, "KORVA", x0, 20, h, 2.6, 1.0), scheme, 2.2, 0, (2.5, 2.5), bevel_px=1.5)
    small = dict(stops=[("violet", 0.55), ("violet", 0.4)], outline=("violet", 0.02), rim=None, shadow=("grey", 0.8))
    h2 = 20
    w2 = text_width("GAMES", h2, 2.4, 3.5)
    x2 = 118 + (196 - w2) / 2
    lettering(c, text_mask(c, "GAMES", x2, 84, h2, 2.4, 3.5), small, 1.4, 0, (1.5, 1.5), bevel_px=1.0)
    for xa, xb in ((122, x2 - 8), (x2 + w2 + 8, 312)):
        c.paint(c.stroke([(xa, 94), (xb, 94)], 2.2), col("gold", 0.6))
    return c.result()


def title_tile():
    """80 x 80 quilt of violet diamonds with sparkles; every shape repeats with
    period 80 both ways, so the tiled screen shows no seam while it drifts."""
    c = Canvas(80, 80, fill=(0, 0, 0))
    x, y = c.xx, c.yy
    u = np.mod(x + y, 40.0)
    v = np.mod(x - y, 40.0)
    edge = np.minimum.reduce([u, 40 - u, v, 40 - v])
    # Each diamond is a slightly raised cushion lit from the upper left.
    lev = 0.13 + 0.05 * (1 - u / 40) + 0.02 * (v / 40)
    lev = np.where(edge < 3.0, np.where(u < 3.0, 0.22, np.where(u > 37, 0.06, np.where(v > 37, 0.18, 0.09))), lev)
    lev = np.where(edge < 1.0, 0.24, lev)
    c.rgba[..., :3] = ramp_rgb("violet", lev)
    c.rgba[..., 3] = 1.0
    dots = np.zeros(c.rgba.shape[:2], bool)
    for m in range(-2, 4):
        for n in range(-2, 4):
            px, py = 20 + 20 * (m + n), 20 * (m - n)
            for ox in (-80, 0, 80):
                for oy in (-80, 0, 80):
                    cx, cy = px + ox, py + oy
                    if not (-12 < cx < 92 and -12 < cy < 92):
                        continue
                    # Shaded from each star's own centre, so wrapped copies match exactly.
                    lit = -0.04 * ((x - cx) + (y - cy))
                    if (m + n) % 4 == 0:
                        c.paint(c.poly(star_pts(cx, cy, 5.0, 1.3)), ramp_rgb("gold", 0.62 + lit))
                    elif (m + n) % 4 == 2:
                        c.paint(c.poly(star_pts(cx, cy, 3.6, 1.0)), ramp_rgb("violet", 0.5 + lit))
                    else:
                        dots |= c.ellipse(cx, cy, 1.4, 1.4)
    c.paint(dots, col("violet", 0.36))
    return c.result()


def title_logo():
    def extra(c, x, y, w, h):
        for sx, sy, r in ((x + 6, y + 8, 13), (x + w - 10, y + h - 14, 10), (x + w * 0.52, y + 4, 8)):
            sparkle(c, sx, sy, r, ow=1.0)
    return banner(486, 140, "VELLORIA", GOLD, margin=8, outline_px=3.4, rim_px=2.0, stroke=2.2, gap=0.9,
                  shadow=4, extra=extra)


def spiral(cx, cy, r0, r1, a0, a1, n=40):
    return [(cx + (r0 + (r1 - r0) * k / n) * math.cos(math.radians(a0 + (a1 - a0) * k / n)),
             cy + (r0 + (r1 - r0) * k / n) * math.sin(math.radians(a0 + (a1 - a0) * k / n))) for k in range(n + 1)]


def leaf(c, xf, x, y, angle, size):
    """A gold teardrop leaf on the scrollwork."""
    a = math.radians(angle)
    ux, uy = math.cos(a), math.sin(a)
    pts = [(x + ux * size * t - uy * size * 0.38 * math.sin(math.pi * t), y + uy * size * t + ux * size * 0.38 * math.sin(math.pi * t))
           for t in np.linspace(0, 1, 10)]
    pts += [(x + ux * size * t + uy * size * 0.38 * math.sin(math.pi * t), y + uy * size * t - ux * size * 0.38 * math.sin(math.pi * t))
            for t in np.linspace(1, 0, 10)]
    c.part(c.poly(xf(pts)), "gold", 0.5, 0.9, outline=col("wood", 0.04), ow=1.0)


def ornament(flip):
    """A crescent moon in gold scrollwork with leaves and a trail of sparkles; the
    right one is the left one's shape mirrored, still lit from the upper left.
    The logo covers the middle, so the curls are laid where they stay in view:
    above it, to the outer side and below it."""
    c = Canvas(200, 226)
    xf = Xf(flip=flip, origin=(100, 113))
    curls = [
        path(bezier((88, 32), (96, 8), (146, 2), (162, 22)), spiral(148, 28, 14, 4, -20, 300)),
        path(bezier((30, 150), (4, 172), (8, 208), (44, 212)), bezier((44, 212), (90, 216), (140, 222), (168, 206)),
             spiral(160, 198, 10, 3, 40, 380)),
        path(bezier((40, 212), (30, 196), (44, 186), (54, 194)), spiral(50, 197, 5, 2, -30, 200)),
    ]
    for pts in curls:
        c.part(c.stroke(xf(pts), 5.0), "gold", 0.45, 0.88, outline=col("wood", 0.04), ow=1.3)
    for x, y, ang, size in ((110, 13, 110, 12), (136, 9, 70, 10), (13, 180, -30, 12), (24, 204, -70, 10),
                            (96, 213, -80, 11), (126, 215, -100, 10)):
        (px, py), = xf([(x, y)])
        leaf(c, Xf(), px, py, ang if not flip else 180 - ang, size)
    moon = c.poly(xf(ellipse_pts(84, 100, 70, 70))) & ~c.poly(xf(ellipse_pts(124, 78, 60, 60)))
    c.part(moon, "gold", 0.5, 1.0, outline=col("violet", 0.03), ow=2.0)
    # Craters soften the moon's face.
    for cx, cy, r in ((44, 110, 7), (58, 150, 5), (34, 80, 4)):
        c.paint(c.poly(xf([(cx + math.cos(a) * r, cy + math.sin(a) * r * 0.8) for a in np.linspace(0, 6.28, 24)])),
                col("gold", 0.62), 0.9)
    for sx, sy, r in ((176, 60, 11), (186, 112, 7), (56, 20, 8), (8, 226 - 12, 5), (190, 150, 5)):
        (px, py), = xf([(sx, sy)])
        sparkle(c, px, py, r, ow=1.0)
    return c.result()


def menu_labels():
    scheme = dict(SILVER, stops=[("grey", 1.0), ("ice", 0.8), ("azure", 0.62), ("violet", 0.55)])
    return [banner(164, 26, t, scheme, margin=2.5, outline_px=1.6, rim_px=0, stroke=2.5, gap=1.2, shadow=1.5)
            for t in MENU]


def cursor(flip, frame):
    """A gold arrowhead with a twinkle; frame 1 leans two pixels toward the label."""
    c = Canvas(15, 24)
    xf = Xf(flip=flip, origin=(7.5, 12))
    dx = 0 if frame == 0 else 1.6
    head = c.poly(xf([(1.6 + dx, 4.2), (12.6 + dx, 12), (1.6 + dx, 19.8), (4.4 + dx, 12)]))
    c.part(head, "gold", 0.55, 1.0, outline=col("violet", 0.02), ow=1.2)
    if frame == 1:
        (px, py), = xf([(4.0, 6.0)])
        c.paint(c.poly(star_pts(px, py, 2.6, 0.8)), (1, 1, 1))
    return c.result()


def title_character():
    c = Canvas(347, 219)
    for sx, sy, r in ((14, 100, 7), (40, 82, 4), (8, 150, 5), (30, 186, 4), (56, 112, 3)):
        sparkle(c, sx, sy, r, ow=0.9)
    flying(c, Xf(34, 30, 0.84), mood="fly")
    return c.result()


def make():
    out = [save_bitmap(309, "maker-logo", maker_logo(), keyed=False),
           save_bitmap(191, "title-tile", title_tile(), keyed=False),
           save_bitmap(195, "title-logo", title_logo()),
           save_bitmap(197, "ornament-left", ornament(False)),
           save_bitmap(196, "ornament-right", ornament(True)),
           save_bitmap(255, "menu-labels", menu_labels()),
           save_bitmap(215, "cursor-left", [cursor(False, 0), cursor(False, 1)]),
           save_bitmap(216, "cursor-right", [cursor(True, 0), cursor(True, 1)]),
           save_bitmap(187, "title-character", title_character())]
    return out


if __name__ == "__main__":
    for p in make():
        print(p)
