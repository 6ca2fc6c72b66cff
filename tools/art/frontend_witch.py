#!/usr/bin/python3
"""The witch, drawn big for the front end.

A young apprentice: violet robe, wide-brimmed pointed hat in deep violet
with a gold band, long copper-red hair streaming behind, riding a wooden
broom with straw bristles. Parts are drawn in local coordinates and placed
with an Xf, so the same head serves the flying picture, the hovering one,
the defeated one and the window icon.

Head coordinates: the face's centre is (0, 0), the face is about 38 x 42.
Figure coordinates: the flying pose in a 347 x 219 frame, facing right.
"""
import math

from frontend_drawing import (Xf, bezier, col, ellipse_pts, path, ribbon, sparkle)

ROBE = ("violet", 0.42, 0.78)
ROBE_DARK = ("violet", 0.28, 0.55)
HAT = ("violet", 0.10, 0.34)
HAIR = ("fire", 0.30, 0.62)
SKIN = ("skin", 0.62, 0.97)
WOOD = ("wood", 0.30, 0.72)
STRAW = ("gold", 0.42, 0.88)
LINE = col("violet", 0.03)
HAIR_LINE = col("red", 0.06)
SKIN_LINE = col("skin", 0.05)


def _part(c, pts_list, spec, ow=1.2, line=LINE, rim=True):
    m = c.poly(*pts_list)
    c.part(m, spec[0], spec[1], spec[2], outline=line, ow=ow, rim=rim)
    return m


def hair_back(c, xf, flow=1.0, ow=1.2):
    """Long hair streaming behind (toward -x), in head coordinates."""
    strands = []
    for k, (dy, ln, wav) in enumerate([(-14, 118, 7), (-4, 128, 9), (6, 112, 8), (15, 92, 6)]):
        pts = []
        for i in range(17):
            t = i / 16
            x = -6 - t * ln * flow
            y = dy + t * (26 + k * 6) + math.sin(t * 5.0 + k) * wav * t
            pts.append((x, y))
        strands.append(xf(ribbon(pts, 26 - k * 2, 3)))
    m = c.poly(*strands, xf(ellipse_pts(-3, -2, 22, 24)))
    c.part(m, HAIR[0], HAIR[1], HAIR[2], outline=HAIR_LINE, ow=ow)
    # Strand lines give the hair its flow.
    for k in range(5):
        pts = []
        for i in range(13):
            t = i / 12
            x = -12 - t * (100 - k * 10) * flow
            y = -10 + k * 6 + t * (28 + k * 5) + math.sin(t * 5.0 + k) * 6 * t
            pts.append((x, y))
        c.paint(c.stroke(xf(pts), xf.len(1.1)), col("fire", 0.18), 0.8)


def head(c, xf, mood="fly", ow=1.2):
    """Face, eyes, fringe. mood: fly (bright and keen), happy (eyes closed, open smile), dizzy."""
    face = c.poly(xf(path(ellipse_pts(0, 0, 19, 21)[8:56], [(9, 21), (14, 17)])))
    c.part(face, SKIN[0], SKIN[1], SKIN[2], outline=SKIN_LINE, ow=ow)
    # Cheeks.
    for x in (0, 15):
        c.paint(c.poly(xf(ellipse_pts(x, 10, 4.2, 2.4))), col("rose", 0.72), 0.55)
    if mood == "fly":
        for ex, rx in ((3, 4.4), (14, 3.4)):
            c.paint(c.poly(xf(ellipse_pts(ex, 3, rx + 0.6, 6.4))), col("violet", 0.03))
            c.paint(c.poly(xf(ellipse_pts(ex + 0.3, 3.6, rx - 0.4, 5.4))), col("violet", 0.45))
            c.paint(c.poly(xf(ellipse_pts(ex + 0.3, 5.8, rx - 1.2, 2.6))), col("violet", 0.68))
            c.paint(c.poly(xf(ellipse_pts(ex - 1.0, 1.0, 1.5, 1.9))), (1, 1, 1))
            c.paint(c.stroke(xf(arc_lash(ex, rx)), xf.len(1.8)), col("violet", 0.03))
        c.paint(c.stroke(xf([(7, 14), (10, 15.6), (13, 14.2)]), xf.len(1.3)), col("red", 0.22))
    elif mood == "happy":
        for ex, rx in ((3, 4.4), (14, 3.4)):
            c.paint(c.stroke(xf([(ex - rx, 4.5), (ex, 1.0), (ex + rx, 4.5)]), xf.len(1.8)), col("violet", 0.03))
        mouth = c.poly(xf(path([(5, 12)], bezier((5, 12), (7, 19), (13, 19), (15, 11.5)), [(10, 12.6)])))
        c.paint(mouth, col("red", 0.25))
        c.paint(c.poly(xf(ellipse_pts(10.4, 16.0, 3.0, 1.6))), col("rose", 0.62))
        c.paint(c.stroke(xf(path([(5, 12)], bezier((5, 12), (7, 19), (13, 19), (15, 11.5)), [(10, 12.6), (5, 12)])),
                         xf.len(1.0)), col("red", 0.08))
    else:  # dizzy: spirals for eyes, a wobbly mouth
        for ex, r in ((3, 4.6), (14, 3.6)):
            pts = [(ex + math.cos(a) * r * a / 12.6, 3 + math.sin(a) * r * 1.2 * a / 12.6)
                   for a in [i * 0.25 for i in range(51)]]
            c.paint(c.stroke(xf(pts), xf.len(1.2)), col("violet", 0.05))
        c.paint(c.stroke(xf([(5, 14), (7, 13), (9, 15), (11, 13), (13, 15), (15, 14)]), xf.len(1.2)), col("red", 0.2))
    # Fringe over the forehead.
    fringe = [(-21, 2), (-15, -4), (-11, 3), (-6, -5), (-1, 1), (4, -6), (9, -1), (13, -8), (18, -4), (22, -9),
              (22, -18), (5, -25), (-14, -22), (-23, -12)]
    m = c.poly(xf(fringe))
    c.part(m, HAIR[0], HAIR[1] + 0.08, HAIR[2] + 0.1, outline=HAIR_LINE, ow=ow)
    # Lock falling in front of the ear.
    lock = ribbon([(-16, -6), (-19, 6), (-17, 18), (-20, 28)], 8, 2)
    c.part(c.poly(xf(lock)), HAIR[0], HAIR[1], HAIR[2], outline=HAIR_LINE, ow=ow)


def arc_lash(ex, rx):
    return [(ex - rx - 1.2, 1.6), (ex - rx * 0.4, -2.9), (ex + rx * 0.6, -3.0), (ex + rx + 1.3, -0.4)]


def hat(c, xf, ow=1.2):
    """Wide brim and a tall crown bending back, gold band with a star."""
    brim = ellipse_pts(-1, -19, 45, 9.5, rot=-7)
    c.part(c.poly(xf(brim)), HAT[0], HAT[1], HAT[2] + 0.08, ow=ow)
    # A lighter top face on the brim shows its width.
    top = [p for p in ellipse_pts(-1, -20.5, 41, 7, rot=-7)]
    c.paint(c.poly(xf(top)), col("violet", 0.30))
    crown = path([(-22, -20)], bezier((-22, -20), (-26, -36), (-36, -46), (-62, -42)),
                 bezier((-62, -42), (-30, -57), (4, -55), (20, -25)))
    c.part(c.poly(xf(crown)), HAT[0], HAT[1], HAT[2] + 0.1, ow=ow)
    # Crease in the bent crown.
    c.paint(c.stroke(xf(bezier((-42, -43), (-32, -42), (-27, -37), (-23, -33), 10)), xf.len(1.2)), col("violet", 0.06))
    band = path(bezier((-22.5, -21), (-10, -25), (6, -28), (19.5, -26.5), 12),
                bezier((18.5, -32), (5, -35), (-12, -33), (-24.5, -28), 12))
    c.part(c.poly(xf(band)), "gold", 0.5, 0.95, outline=col("wood", 0.05), ow=ow * 0.9)
    sparkle(c, *xf([(0, -29)])[0], xf.len(6.5), ow=ow * 0.6)


def broom(c, xf, ow=1.2, broken=False):
    """Stick from (70,158) to (338,128) in figure coordinates, bristles to the left."""
    stick = ribbon([(66, 159), (200, 144), (338, 128)], 8, 7)
    if broken:
        stick = ribbon([(66, 159), (180, 146)], 8, 7.5)
    c.part(c.poly(xf(stick)), WOOD[0], WOOD[1], WOOD[2], outline=col("wood", 0.02), ow=ow)
    if not broken:
        c.part(c.poly(xf(ellipse_pts(338, 128, 6, 6))), WOOD[0], WOOD[1], WOOD[2], outline=col("wood", 0.02), ow=ow)
    # Bristles: a fan of straw tied at the stick's end.
    fan = path([(82, 150)], bezier((82, 150), (60, 140), (30, 128), (6, 126), 12),
               [(14, 140), (2, 150), (12, 160), (0, 172), (12, 180), (4, 196)],
               bezier((4, 196), (30, 188), (60, 176), (82, 168), 12))
    m = c.poly(xf(fan))
    c.part(m, STRAW[0], STRAW[1], STRAW[2], outline=col("wood", 0.04), ow=ow)
    for k in range(9):
        t = k / 8
        y0 = 152 + t * 14
        y1 = 130 + t * 62
        pts = [(80, y0), (44, y0 + (y1 - y0) * 0.55), (12 + 4 * math.sin(k * 2.1), y1)]
        c.paint(c.stroke(xf(pts), xf.len(1.0)), col("gold", 0.3), 0.9)
    tie = [(74, 148), (86, 147), (88, 170), (76, 171)]
    c.part(c.poly(xf(tie)), "red", 0.35, 0.6, outline=col("red", 0.05), ow=ow)


def flying(c, xf, mood="fly", wave=False, ow=1.2):
    """The full figure on her broom, in the 347 x 219 frame."""
    # The head is drawn large, as in a storybook: it carries her expression.
    H = Xf(*xf([(210, 46)])[0], scale=xf.scale * 1.35, rot=math.degrees(math.atan2(xf.s, xf.c)), flip=xf.flip)
    hair_back(c, H, ow=ow)
    # Far arm reaching for the broom ahead.
    far = ribbon([(214, 80), (248, 106), (286, 129)], 15, 10)
    _part(c, [xf(far)], ROBE_DARK, ow)
    _part(c, [xf(ellipse_pts(290, 131, 6, 5.5))], SKIN, ow, SKIN_LINE)
    broom(c, xf, ow)
    # Far leg, behind the skirt.
    _part(c, [xf(ribbon([(206, 168), (220, 190), (236, 202)], 11, 9))], ("violet", 0.06, 0.2), ow)
    _part(c, [xf([(228, 196), (252, 200), (262, 206), (256, 211), (230, 208)])], ("wood", 0.15, 0.35), ow)
    # Cape streaming back from the shoulders.
    cape = path([(192, 70)], bezier((192, 70), (150, 74), (120, 96), (96, 126)),
                [(112, 124), (118, 134), (136, 126), (146, 136)],
                bezier((146, 136), (160, 116), (176, 104), (196, 98)))
    _part(c, [xf(cape)], ("violet", 0.18, 0.42), ow)
    # Torso and skirt spread over the broom.
    torso = [(182, 108), (216, 106), (222, 84), (214, 70), (192, 68), (180, 82)]
    _part(c, [xf(torso)], ROBE, ow)
    skirt = path([(184, 104)], [(214, 102)], bezier((214, 102), (236, 120), (248, 150), (252, 182)),
                 [(240, 178), (232, 186), (220, 180), (206, 188), (194, 180), (178, 186)],
                 bezier((178, 186), (160, 178), (138, 176), (118, 172)),
                 [(132, 164), (124, 156), (146, 152)],
                 bezier((146, 152), (160, 138), (170, 118), (184, 104)))
    _part(c, [xf(skirt)], ROBE, ow)
    # Folds and a gold hem.
    for pts in ([(214, 112), (224, 140), (230, 176)], [(196, 112), (198, 150), (196, 180)], [(176, 128), (160, 160), (150, 172)]):
        c.paint(c.stroke(xf(pts), xf.len(1.3)), col("violet", 0.3), 0.9)
    hem = [(252, 182), (240, 178), (232, 186), (220, 180), (206, 188), (194, 180), (178, 186), (160, 180), (138, 177), (118, 172)]
    c.paint(c.stroke(xf(hem), xf.len(2.6)), col("gold", 0.72))
    # Belt.
    c.part(c.poly(xf([(181, 100), (217, 98), (216, 106), (182, 108)])), "gold", 0.45, 0.9, outline=LINE, ow=ow * 0.8)
    # Near leg with a striped stocking and a boot.
    _part(c, [xf(ribbon([(224, 176), (236, 194), (248, 206)], 11, 9))], ("violet", 0.08, 0.24), ow)
    c.paint(c.stroke(xf([(228, 185), (238, 181)]), xf.len(2.2)), col("violet", 0.55))
    c.paint(c.stroke(xf([(235, 194), (244, 189)]), xf.len(2.2)), col("violet", 0.55))
    _part(c, [xf([(240, 200), (262, 200), (276, 206), (272, 213), (244, 213)])], ("wood", 0.2, 0.45), ow)
    # Collar.
    _part(c, [xf([(194, 66), (214, 68), (208, 78), (200, 74), (192, 76)])], ("grey", 0.8, 1.0), ow)
    head(c, H, mood, ow)
    hat(c, H, ow)
    # Near arm: to the broom, or raised in a wave.
    if wave:
        arm = ribbon([(204, 84), (240, 80), (266, 60)], 17, 12)
        _part(c, [xf(arm)], ROBE, ow)
        c.paint(c.stroke(xf([(258, 58), (268, 68)]), xf.len(3.0)), col("gold", 0.7))
        hand = path(ellipse_pts(272, 52, 7, 8, rot=30))
        _part(c, [xf(hand)], SKIN, ow, SKIN_LINE)
    else:
        arm = ribbon([(200, 80), (232, 108), (260, 130)], 17, 12)
        _part(c, [xf(arm)], ROBE, ow)
        c.paint(c.stroke(xf([(250, 116), (256, 130)]), xf.len(3.0)), col("gold", 0.7))
        _part(c, [xf(ellipse_pts(265, 134, 7, 6))], SKIN, ow, SKIN_LINE)
