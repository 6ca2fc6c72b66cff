#!/usr/bin/python3
"""The witch, drawn big for the front end.

A young apprentice: violet robe with gold buttons and a rose scarf, a
wide-brimmed pointed hat (brim darker than the crown, gold band and star,
the soft tip bent back and ending in a gold bobble), copper hair in two
long plaits tied with rose ribbons, green eyes, riding a wooden broom with
straw bristles bound by a red cord. Parts are drawn in local coordinates and placed
with an Xf, so the same head serves the flying picture, the hovering one,
the defeated one and the window icon.

Head coordinates: the face's centre is (0, 0), the face is about 38 x 42.
Figure coordinates: the flying pose in a 347 x 219 frame, facing right.
"""
import math

from frontend_drawing import (Xf, bezier, col, ellipse_pts, path, ribbon, sparkle)

ROBE = ("violet", 0.42, 0.78)
ROBE_DARK = ("violet", 0.28, 0.55)
HAT = ("violet", 0.25, 0.50)
BRIM = ("violet", 0.18, 0.40)
HAIR = ("fire", 0.40, 0.75)
SKIN = ("skin", 0.70, 0.88)
WOOD = ("wood", 0.30, 0.72)
STRAW = ("gold", 0.42, 0.88)
LINE = col("violet", 0.03)
HAIR_LINE = col("red", 0.06)
SCARF = ("rose", 0.45, 0.75)
SKIN_LINE = col("skin", 0.05)


def _part(c, pts_list, style, ow=1.2, line=LINE, rim=True):
    m = c.poly(*pts_list)
    c.part(m, style[0], style[1], style[2], outline=line, ow=ow, rim=rim)
    return m


FLIGHT_PLAITS = ([(-12, 8), (-40, 14), (-70, 8), (-100, 18), (-128, 14)],
                 [(-8, 16), (-34, 30), (-62, 30), (-88, 44), (-112, 44)])


def _smooth(pts, n=6):
    """Catmull-Rom through the points, for plaits and scarf tails."""
    out = []
    p = [pts[0]] + list(pts) + [pts[-1]]
    for i in range(1, len(p) - 2):
        p0, p1, p2, p3 = p[i - 1], p[i], p[i + 1], p[i + 2]
        for k in range(n):
            t = k / n
            out.append(tuple(0.5 * (2 * p1[j] + (-p0[j] + p2[j]) * t + (2 * p0[j] - 5 * p1[j] + 4 * p2[j] - p3[j]) * t * t
                                    + (-p0[j] + 3 * p1[j] - 3 * p2[j] + p3[j]) * t ** 3) for j in range(2)))
    out.append(pts[-1])
    return out


def plait(c, xf, centre, ow=1.2):
    """One plait along a centre line in head coordinates: braided, tied with a
    rose ribbon near the end, finished with a loose tuft."""
    line = _smooth(centre)
    n = len(line)
    cut = int(n * 0.82)
    body = ribbon(line[:cut + 1], 13, 8)
    (bx, by), (tx, ty) = line[cut], line[-1]
    ln = math.hypot(tx - bx, ty - by) or 1
    ux, uy = (tx - bx) / ln, (ty - by) / ln
    nx, ny = -uy, ux
    tuft = [(bx + nx * 3.5, by + ny * 3.5), (tx + nx * 6 - ux * 1, ty + ny * 6 - uy * 1), (tx + ux * 4 + nx * 2, ty + uy * 4 + ny * 2),
            (tx + ux * 5, ty + uy * 5), (tx + ux * 4 - nx * 2, ty + uy * 4 - ny * 2), (tx - nx * 6 - ux * 1, ty - ny * 6 - uy * 1),
            (bx - nx * 3.5, by - ny * 3.5)]
    c.part(c.poly(xf(body), xf(tuft)), HAIR[0], HAIR[1], HAIR[2], outline=HAIR_LINE, ow=ow)
    # Braid: a chevron every few pixels along the plait.
    for k in range(2, cut - 1, 3):
        (x0, y0), (x1, y1) = line[k - 1], line[k + 1]
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy) or 1
        nx, ny = -dy / ln * 4.2, dx / ln * 4.2
        x, y = line[k]
        c.paint(c.stroke(xf([(x + nx, y + ny), (x + dx * 0.6, y + dy * 0.6), (x - nx, y - ny)]), xf.len(1.0)),
                col("fire", 0.22), 0.9)
    # Ribbon bow: two loops either side of the knot, across the plait.
    bx, by = line[cut]
    bn = (-uy, ux)
    for side in (1, -1):
        c.part(c.poly(xf(ellipse_pts(bx + bn[0] * 4.5 * side, by + bn[1] * 4.5 * side, 4.6, 2.8,
                                     rot=math.degrees(math.atan2(bn[1], bn[0]))))),
               SCARF[0], SCARF[1], SCARF[2], outline=LINE, ow=ow * 0.8)
    c.part(c.poly(xf(ellipse_pts(bx, by, 2.6, 2.6))), SCARF[0], SCARF[1], SCARF[2], outline=LINE, ow=ow * 0.8)


def hair_back(c, xf, plaits=FLIGHT_PLAITS, ow=1.2):
    """The back of the head and the two plaits (streaming behind in flight)."""
    for centre in plaits[::-1]:
        plait(c, xf, centre, ow)
    m = c.poly(xf(ellipse_pts(-4, -3, 22, 23)))
    c.part(m, HAIR[0], HAIR[1], HAIR[2], outline=HAIR_LINE, ow=ow)
    for k in range(4):
        c.paint(c.stroke(xf(arc_pts_local(-4, -3, 17 - k * 4, 160, 250)), xf.len(1.0)), col("fire", 0.3), 0.8)


def arc_pts_local(cx, cy, r, a0, a1):
    return [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))) for a in range(a0, a1 + 1, 10)]


def head(c, xf, mood="fly", ow=1.2):
    """Face, eyes, fringe. mood: fly (bright and keen), happy (eyes closed, open smile), dizzy."""
    # Three-quarter view: round at the back, a small nose and chin in front.
    profile = [(13, -15.5), (17, -11), (19, -5), (19.8, 0), (23.2, 5.0), (20, 8.0), (18.6, 11), (17, 14.5),
               (13.5, 18.5), (8, 20.6)]
    face = c.poly(xf(path(ellipse_pts(0, 0, 19, 21)[16:54], profile)))
    c.part(face, SKIN[0], SKIN[1], SKIN[2], outline=SKIN_LINE, ow=ow)
    # Cheeks, kept inside the face.
    for x in (0, 14):
        c.paint(c.poly(xf(ellipse_pts(x, 10, 4.0, 2.3))) & face, col("rose", 0.72), 0.55)
    if mood == "fly":
        for ex, rx in ((3, 4.4), (14, 3.4)):
            c.paint(c.poly(xf(ellipse_pts(ex, 3, rx + 0.6, 6.4))), col("violet", 0.03))
            c.paint(c.poly(xf(ellipse_pts(ex + 0.3, 3.6, rx - 0.4, 5.4))), col("leaf", 0.45))
            c.paint(c.poly(xf(ellipse_pts(ex + 0.3, 5.8, rx - 1.2, 2.6))), col("leaf", 0.68))
            c.paint(c.poly(xf(ellipse_pts(ex + 0.5, 3.4, rx * 0.42, 2.6))), col("leaf", 0.05))
            c.paint(c.poly(xf(ellipse_pts(ex - 1.0, 1.0, 1.5, 1.9))), (1, 1, 1))
            c.paint(c.stroke(xf(arc_lash(ex, rx)), xf.len(1.8)), col("violet", 0.03))
        c.paint(c.stroke(xf([(10.5, 13.2), (13.2, 15.2), (16.2, 13.8)]), xf.len(1.3)), col("red", 0.25))
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
    if mood != "dizzy":
        for ex, rx in ((3, 4.4), (14, 3.4)):
            c.paint(c.stroke(xf([(ex - rx, -5.2), (ex, -6.6), (ex + rx, -5.6)]), xf.len(1.3)), col("wood", 0.2))
    # Fringe over the forehead.
    fringe = [(-21, 2), (-15, -4), (-11, 3), (-6, -5), (-1, 1), (4, -6), (9, -1), (13, -8), (18, -4), (22, -9),
              (22, -18), (5, -25), (-14, -22), (-23, -12)]
    m = c.poly(xf(fringe))
    c.part(m, HAIR[0], HAIR[1] + 0.08, HAIR[2] + 0.1, outline=HAIR_LINE, ow=ow)


def arc_lash(ex, rx):
    return [(ex - rx - 1.2, 1.6), (ex - rx * 0.4, -2.9), (ex + rx * 0.6, -3.0), (ex + rx + 1.3, -0.4)]


def hat(c, xf, ow=1.2):
    """Wide brim and a tall crown bending back, gold band with a star."""
    brim = ellipse_pts(-1, -19, 45, 9.5, rot=-7)
    c.part(c.poly(xf(brim)), BRIM[0], BRIM[1], BRIM[2], ow=ow)
    # A lighter top face on the brim shows its width.
    top = [p for p in ellipse_pts(-1, -20.5, 41, 7, rot=-7)]
    c.paint(c.poly(xf(top)), col("violet", 0.34))
    crown = path([(-22, -20)], bezier((-22, -20), (-26, -36), (-36, -46), (-62, -42)),
                 bezier((-62, -42), (-30, -57), (4, -55), (20, -25)))
    c.part(c.poly(xf(crown)), HAT[0], HAT[1], HAT[2], ow=ow)
    c.part(c.poly(xf(ellipse_pts(-63, -42, 4.5, 4.5))), "gold", 0.65, 0.95, outline=col("wood", 0.05), ow=ow * 0.8)
    # Crease in the bent crown.
    c.paint(c.stroke(xf(bezier((-42, -43), (-32, -42), (-27, -37), (-23, -33), 10)), xf.len(1.2)), col("violet", 0.14))
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
    # Scarf tail flying back from the knot at her throat.
    tail = ribbon(_smooth([(196, 72), (170, 70), (146, 80), (120, 74), (98, 84)]), 11, 5)
    _part(c, [xf(tail)], SCARF, ow)
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
    # Gold buttons down the front and the scarf knotted at the throat.
    for by in (88, 96):
        c.part(c.poly(xf(ellipse_pts(214, by, 2.2, 2.2))), "gold", 0.6, 0.9, outline=LINE, ow=ow * 0.7)
    _part(c, [xf([(190, 66), (216, 66), (220, 74), (204, 80), (188, 76)])], SCARF, ow)
    _part(c, [xf(ellipse_pts(208, 76, 4, 3.5))], SCARF, ow)
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
