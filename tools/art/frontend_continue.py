#!/usr/bin/python3
"""Continue pictures: the witch knocked flat in a meadow (seen from above),
CONTINUE?, YES and NO."""
import math
import random

import numpy as np

from artlib import save_bitmap
from frontend_drawing import Canvas, Xf, bezier, col, ellipse_pts, path, ramp_rgb, ribbon, sparkle
from frontend_lettering import GOLD, banner
from frontend_witch import LINE, ROBE, SCARF, SKIN, SKIN_LINE, broom, hair_back, hat, head

W, H = 367, 291


def meadow(c, seed=7):
    """Grass seen from above: a lit middle, darker edges, blades and small flowers."""
    x, y = c.xx, c.yy
    r = np.hypot((x - W * 0.45) / W, (y - H * 0.5) / H)
    lev = 0.5 - 0.5 * r + 0.04 * np.sin(x * 0.21 + np.sin(y * 0.13) * 2) + 0.03 * np.sin(y * 0.27 + x * 0.05)
    c.rgba[..., :3] = ramp_rgb("leaf", lev)
    c.rgba[..., 3] = 1.0
    rnd = random.Random(seed)
    dark = []
    light = []
    for _ in range(520):
        bx, by = rnd.uniform(0, W), rnd.uniform(0, H)
        a = rnd.uniform(-0.6, 0.6) - math.pi / 2
        ln = rnd.uniform(4, 8)
        (dark if rnd.random() < 0.5 else light).append([(bx, by), (bx + math.cos(a) * ln, by + math.sin(a) * ln)])
    c.paint(c.stroke(*dark[:1], 1.0, *dark[1:]), col("leaf", 0.22), 0.8)
    c.paint(c.stroke(*light[:1], 1.0, *light[1:]), col("leaf", 0.62), 0.7)
    for _ in range(26):
        fx, fy = rnd.uniform(10, W - 10), rnd.uniform(10, H - 10)
        petals = "rose" if rnd.random() < 0.5 else "grey"
        for k in range(5):
            a = k * 2 * math.pi / 5
            c.paint(c.ellipse(fx + math.cos(a) * 2.2, fy + math.sin(a) * 2.2, 1.7, 1.7), col(petals, 0.9))
        c.paint(c.ellipse(fx, fy, 1.3, 1.3), col("gold", 0.8))


def stick_piece(c, pts, splinter_end=True):
    band = ribbon(pts, 7.5, 7)
    if splinter_end:
        (x1, y1), (x0, y0) = pts[-1], pts[-2]
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy)
        ux, uy = dx / ln, dy / ln
        nx, ny = -uy, ux
        n = len(band) // 2
        tip = [(x1 + ux * a + nx * b, y1 + uy * a + ny * b) for a, b in ((6, 3), (1, 1), (8, -0.5), (2, -2), (5, -3.5))]
        band = band[:n] + tip + band[n:]
    c.part(c.poly(band), "wood", 0.3, 0.72, outline=col("wood", 0.02), ow=1.2)


def defeated_picture():
    c = Canvas(W, H, fill=(0, 0, 0))
    meadow(c)
    # Shadow of the body on the grass.
    c.paint(c.poly(ellipse_pts(200, 168, 128, 62, rot=4)), col("leaf", 0.08), 0.35)
    # Broom broken in two: the bristle end lower left, the stick upper right.
    broom(c, Xf(-30, 90, 0.82, rot=-28, origin=(100, 160)), broken=True)
    stick_piece(c, [(228, 46), (280, 36), (338, 30)][::-1])
    # Hat knocked off, lying tipped over.
    hat(c, Xf(40, 8, 0.8, rot=170))
    # The figure below is laid out at a smaller size; it is drawn enlarged so
    # she fills the frame.
    c.zoom, c.zoom_origin = 1.14, (186, 150)
    # Plaits lying spread on the grass (head coordinates: the face looks up the picture).
    hx, hy = 108, 150
    spread = ([(6, -10), (26, -24), (44, -28), (56, -40), (58, -52)],
              [(-8, -10), (-26, -24), (-46, -26), (-58, -40), (-74, -48)])
    hair_back(c, Xf(hx, hy, 1.25, rot=-90), plaits=spread)
    # Arms flung out, the far one up, the near one down.
    for sh, el, hand in (((140, 132), (136, 100), (120, 74)), ((142, 172), (150, 204), (144, 236))):
        c.part(c.poly(ribbon([sh, el, hand], 17, 12)), ROBE[0], ROBE[1], ROBE[2], outline=LINE, ow=1.2)
        c.paint(c.stroke([(el[0] + (hand[0] - el[0]) * 0.72 - 6, el[1] + (hand[1] - el[1]) * 0.72),
                          (el[0] + (hand[0] - el[0]) * 0.72 + 6, el[1] + (hand[1] - el[1]) * 0.72)], 2.6), col("gold", 0.7))
        c.part(c.poly(ellipse_pts(hand[0], hand[1] + (-4 if hand[1] < 150 else 4), 7, 6)), SKIN[0], SKIN[1], SKIN[2],
               outline=SKIN_LINE, ow=1.2)
    # Legs and boots, toes up.
    for top, foot in (((238, 136), (300, 126)), ((238, 178), (302, 192))):
        c.part(c.poly(ribbon([top, foot], 13, 10)), "violet", 0.08, 0.24, outline=LINE, ow=1.2)
        for t in (0.35, 0.6):
            px, py = top[0] + (foot[0] - top[0]) * t, top[1] + (foot[1] - top[1]) * t
            c.paint(c.stroke([(px, py - 6), (px + 1, py + 6)], 2.4), col("violet", 0.55))
        c.part(c.poly(ellipse_pts(foot[0] + 9, foot[1], 12, 9, rot=(foot[1] - top[1]) * 0.6)), "wood", 0.2, 0.48,
               outline=LINE, ow=1.2)
    # Torso and the skirt spread flat.
    skirt = path([(166, 134)], bezier((166, 134), (200, 112), (230, 104), (254, 110)),
                 [(250, 122), (260, 134), (252, 148), (262, 162), (252, 176), (260, 192)],
                 bezier((260, 192), (230, 200), (200, 192), (166, 172)))
    c.part(c.poly(skirt), ROBE[0], ROBE[1], ROBE[2], outline=LINE, ow=1.2)
    hem = [(254, 110), (250, 122), (260, 134), (252, 148), (262, 162), (252, 176), (260, 192)]
    c.paint(c.stroke(hem, 2.6), col("gold", 0.72))
    for pts in ([(180, 140), (220, 126), (246, 120)], [(182, 154), (220, 152), (248, 150)], [(180, 166), (220, 178), (246, 184)]):
        c.paint(c.stroke(pts, 1.3), col("violet", 0.3), 0.9)
    torso = [(130, 130), (168, 132), (170, 172), (132, 174), (124, 152)]
    c.part(c.poly(torso), ROBE[0], ROBE[1], ROBE[2], outline=LINE, ow=1.2)
    c.part(c.poly([(164, 130), (172, 130), (173, 175), (165, 175)]), "gold", 0.45, 0.9, outline=LINE, ow=1.0)
    c.part(c.poly([(122, 140), (136, 144), (132, 152), (136, 160), (122, 164)]), SCARF[0], SCARF[1], SCARF[2],
           outline=LINE, ow=1.0)
    c.part(c.poly(ribbon([(134, 152), (150, 160), (160, 176), (156, 190)], 8, 4)), SCARF[0], SCARF[1], SCARF[2],
           outline=LINE, ow=1.0)
    for bx in (146, 154):
        c.part(c.ellipse(bx, 140, 2.2, 2.2), "gold", 0.6, 0.9, outline=LINE, ow=0.8)
    # Head turned to the side, knocked dizzy, with stars going round it.
    head(c, Xf(hx, hy, 1.25, rot=-90), mood="dizzy")
    for k in range(4):
        a = math.radians(k * 90 + 20)
        sparkle(c, hx - 8 + math.cos(a) * 34, hy - 40 + math.sin(a) * 10, 7 if k % 2 == 0 else 5, ow=1.0)
    c.paint(c.stroke(path([(hx - 8 + math.cos(a) * 34, hy - 40 + math.sin(a) * 10)
                           for a in np.linspace(0, 2 * math.pi, 48)]), 1.0), col("gold", 0.95), 0.6)
    # A straw or two in the air and on the grass.
    for sx, sy, a in ((60, 200, 0.4), (80, 250, -0.3), (40, 120, 1.2), (170, 250, 0.9), (320, 230, -0.8)):
        c.paint(c.stroke([(sx, sy), (sx + math.cos(a) * 11, sy + math.sin(a) * 11)], 1.4), col("gold", 0.7))
    c.zoom = 1.0
    frame(c)
    return c.result()


def frame(c):
    """A gold picture frame with a dark edge, so the scene sits as a framed vignette."""
    inner = c.poly([(5, 5), (W - 5, 5), (W - 5, H - 5), (5, H - 5)])
    outer = ~inner
    lev = np.where(c.xx + c.yy < (W + H) * 0.5, 0.85, 0.55)
    lev = np.where((c.xx < 5) | (c.yy < 5), lev + 0.1, lev - 0.1)
    c.paint(outer, ramp_rgb("gold", lev))
    edge = c.poly([(0, 0), (W, 0), (W, H), (0, H)]) & ~c.poly([(1, 1), (W - 1, 1), (W - 1, H - 1), (1, H - 1)])
    c.paint(edge, col("violet", 0.03))
    edge2 = c.poly([(4, 4), (W - 4, 4), (W - 4, H - 4), (4, H - 4)]) & ~inner
    c.paint(edge2, col("wood", 0.05))


def heading():
    def extra(c, x, y, w, h):
        sparkle(c, x + w - 4, y + 6, 9, ow=1.0)
    return banner(453, 92, "CONTINUE?", GOLD, margin=6, outline_px=3.0, rim_px=1.6, stroke=2.3, gap=0.9,
                  shadow=3, extra=extra)


def option(w, text):
    scheme = dict(GOLD, stops=[("grey", 1.0), ("gold", 0.95), ("gold", 0.7), ("fire", 0.55)], rim=None)
    return banner(w, 26, text, scheme, margin=2.5, outline_px=1.6, rim_px=0, stroke=2.5, gap=1.2, shadow=1.5)


def make():
    return [save_bitmap(211, "continue-picture", defeated_picture(), keyed=False),
            save_bitmap(212, "continue-heading", heading()),
            save_bitmap(209, "option-yes", option(64, "YES")),
            save_bitmap(210, "option-no", option(49, "NO"))]


if __name__ == "__main__":
    for p in make():
        print(p)
