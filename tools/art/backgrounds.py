#!/usr/bin/python3
"""The four stage backgrounds (640x480, opaque): dawn over meadows (110),
a coast and the open sea (127), a mountain pass at dusk (133) and a night
sky over a castle (296).

Each picture is built back to front from layers; a layer is a mask with one
ramp and a field of light levels, ordered-dithered between neighbouring
shades so long gradients do not band. Everything stays in the lower half of
each ramp: the backgrounds are meant to sit back behind bright sprites.
The top and bottom 30 rows (the status display) are kept plain and a little
darker, with no detail in them.
"""
import math

import numpy as np
from PIL import Image, ImageDraw

import pix
from artlib import save_bitmap
from palette import RAMP_INDICES

W, H = 640, 480
BAND = 30
YY, XX = np.mgrid[0:H, 0:W].astype(np.float64)
DITHER = pix.bayer(H, W, 8)


class Picture:
    def __init__(self):
        self.idx = np.zeros((H, W), dtype=np.uint8)

    def paint(self, mask, ramp, level, dither=True):
        """level: array or number, 0..1 along the ramp."""
        shades = np.array(RAMP_INDICES[ramp])
        lev = np.broadcast_to(np.asarray(level, dtype=np.float64), (H, W))
        k = lev * (len(shades) - 1) + ((DITHER - 0.5) if dither else 0.0)
        k = np.clip(np.round(k), 0, len(shades) - 1).astype(int)
        mask = np.broadcast_to(mask, (H, W))
        self.idx[mask] = shades[k[mask]]

    def quiet_band(self, top, ramp, level):
        """A plain strip for the status display, faded into the picture
        through a few dithered rows so it has no hard seam."""
        m = np.zeros((H, W), dtype=bool)
        if top:
            m[:BAND] = True
        else:
            m[H - BAND:] = True
        self.paint(m, ramp, level)
        r0 = BAND if top else H - BAND - 6
        seam = np.zeros((H, W), dtype=bool)
        seam[r0:r0 + 6] = True
        fade = (np.arange(H)[:, None] - r0 + 0.5) / 6.0
        fade = fade if top else 1 - fade
        self.paint(seam & (DITHER > fade), ramp, level)


def noise1d(x, seed, octaves=((0.0025, 1.0), (0.006, 0.45), (0.013, 0.18))):
    rng = np.random.default_rng(seed)
    out = np.zeros_like(x, dtype=np.float64)
    for freq, amp in octaves:
        out += amp * np.sin(x * freq * 2 * math.pi + rng.uniform(0, 2 * math.pi))
    return out


def hills(x, seed, base, amp):
    """Height line of gently rolling hills: y of the top edge per column."""
    return base - amp * noise1d(x, seed)


def peaks(x, seed, base, count, height, width):
    """Height line of a mountain range and, per column, whether the slope
    faces the light (the left flank of its peak)."""
    rng = np.random.default_rng(seed)
    px = np.sort(rng.uniform(-60, W + 60, count))
    ph = rng.uniform(height * 0.5, height, count)
    pw = rng.uniform(width * 0.6, width, count)
    tri = ph[:, None] * np.clip(1 - np.abs(x.ravel()[None, :] - px[:, None]) / pw[:, None], 0, None)
    top = tri.max(axis=0)
    which = tri.argmax(axis=0)
    jag = noise1d(x.ravel(), seed + 1, ((0.03, 1.0), (0.07, 0.5)))
    y = base - top + 2.5 * jag
    lit = x.ravel() < px[which]
    return y.reshape(x.shape), lit.reshape(x.shape)


def shapes(draw_fn):
    img = Image.new("L", (W, H), 0)
    draw_fn(ImageDraw.Draw(img))
    return np.asarray(img) > 127


def streaks(seed, count, y0, y1, length, thick):
    """Long thin cloud streaks, flat and calm."""
    rng = np.random.default_rng(seed)
    m = np.zeros((H, W), dtype=bool)
    for _ in range(count):
        cx, cy = rng.uniform(-60, W + 60), rng.uniform(y0, y1)
        ln = rng.uniform(0.5, 1.0) * length
        for k in range(4):
            px = cx + rng.uniform(-ln * 0.4, ln * 0.4)
            py = cy + rng.uniform(-thick * 0.8, thick * 0.3)
            m |= ((XX - px) / (ln * rng.uniform(0.4, 0.7))) ** 2 + ((YY - py) / (thick * rng.uniform(0.6, 1.0))) ** 2 <= 1
    return m


def smooth(t):
    t = np.clip(t, 0, 1)
    return t * t * (3 - 2 * t)


def dawn_meadows():
    p = Picture()
    horizon = 262.0
    sun = (440.0, horizon - 4)
    p.paint(YY < H, "sky", 0.1 + 0.25 * smooth(YY / horizon))
    warm = smooth((YY - 40) / (horizon - 40)) * (0.55 + 0.45 * np.exp(-((XX - sun[0]) / 320) ** 2))
    p.paint(DITHER < warm, "dusk", 0.22 + 0.4 * smooth((YY - 80) / (horizon - 80)))
    glow = np.exp(-(((XX - sun[0]) / 120) ** 2 + ((YY - sun[1]) / 45) ** 2))
    p.paint(DITHER < glow * 0.9, "fire", 0.45 + 0.2 * glow)
    p.paint((XX - sun[0]) ** 2 + (YY - sun[1]) ** 2 <= 20 ** 2, "gold", 0.78)
    cl = streaks(3, 9, 70, 200, 130, 6)
    under = cl & ~pix.shift(cl, -2, 0)
    p.paint(cl, "dusk", 0.34 + 0.25 * smooth((YY - 60) / 170))
    p.paint(under, "rose", 0.42 + 0.1 * np.exp(-((XX - sun[0]) / 200) ** 2))
    far = hills(XX, 5, horizon + 6, 12)
    p.paint(YY >= far, "dusk", 0.3 - 0.06 * smooth((YY - far) / 20))
    mid = hills(XX, 8, horizon + 46, 18)
    p.paint(YY >= mid, "leaf", 0.2 + 0.08 * smooth(1 - (YY - mid) / 50))
    # Round trees along the middle hills, lit on their upper left.
    rng = np.random.default_rng(21)
    for x in rng.uniform(0, W, 16):
        y = float(hills(np.array([x]), 8, horizon + 46, 18)[0]) + 3
        r = float(rng.uniform(7, 13))
        crown = ((XX - x) / r) ** 2 + ((YY - (y - r)) / (r * 1.1)) ** 2 <= 1
        p.paint(crown, "leaf", 0.14 + 0.12 * smooth(((x - XX) + (y - r - YY)) / (1.6 * r) + 0.3))
        p.paint((np.abs(XX - x) < 1.5) & (YY > y - 2) & (YY < y + 3), "wood", 0.2)
    near = hills(XX, 13, horizon + 120, 24)
    p.paint(YY >= near, "leaf", 0.24 + 0.12 * smooth(1 - (YY - near) / 120))
    # Grass tufts and flowers: sparse, small, and none in the bottom strip.
    rng = np.random.default_rng(4)
    n = 900
    fx = rng.uniform(0, W, n).astype(int)
    fy = rng.uniform(horizon + 60, H - BAND - 8, n).astype(int)
    ok = fy >= hills(fx.astype(float), 13, horizon + 120, 24) + 3
    tuft = np.zeros((H, W), dtype=bool)
    tuft[fy[ok], fx[ok]] = True
    tuft |= pix.shift(tuft, -1, 0) | pix.shift(tuft, -2, 1)
    p.paint(tuft, "leaf", 0.42)
    fl = np.zeros((H, W), dtype=bool)
    sel = ok & (np.arange(n) % 5 == 0)
    fl[fy[sel], fx[sel]] = True
    p.paint(fl, "rose", 0.55)
    p.paint(pix.shift(fl, 0, 3) & ~fl & (np.arange(W)[None, :] % 2 == 0), "gold", 0.6)
    p.quiet_band(False, "leaf", 0.16)
    p.quiet_band(True, "sky", 0.1)
    return p.idx


def coast_sea():
    p = Picture()
    horizon = 200.0
    p.paint(YY < H, "sky", 0.18 + 0.24 * smooth(YY / horizon))
    cl = streaks(17, 7, 60, 170, 150, 11)
    p.paint(cl, "sky", 0.46 + 0.08 * smooth((170 - YY) / 110))
    p.paint(cl & ~pix.shift(cl, -3, 0), "sky", 0.42)
    p.paint(cl & ~pix.shift(cl, 2, 1), "sky", 0.62)
    depth = smooth((YY - horizon) / (H - horizon))
    p.paint(YY >= horizon, "sea", 0.36 - 0.2 * depth)
    p.paint((YY >= horizon) & (YY < horizon + 2), "sea", 0.48)
    rng = np.random.default_rng(9)
    gl = np.zeros((H, W), dtype=bool)
    for _ in range(380):
        y = int(horizon + 4 + (H - BAND - horizon - 10) * rng.uniform(0, 1) ** 1.4)
        d = (y - horizon) / (H - horizon)
        x = int(rng.uniform(0, W))
        gl[y, x:x + int(3 + 12 * d)] = True
    p.paint(gl, "sea", 0.46)
    # Distant island with a few trees.
    isle = (((XX - 520) / 80) ** 2 + ((YY - horizon) / 12) ** 2 <= 1) & (YY <= horizon)
    p.paint(isle, "slate", 0.3)
    # Cliff on the left: a grassy top and a layered rock face, surf at its foot.
    edge_x = 190 + 25 * noise1d(YY, 31, ((0.01, 1.0), (0.03, 0.3))) - (YY - 130) * 0.25
    top_y = 130 + 0.22 * XX + 4 * noise1d(XX, 33, ((0.02, 1.0),))
    cliff = (XX < edge_x) & (YY > top_y)
    strata = 0.04 * np.sin(YY * 0.3 + 0.6 * noise1d(XX, 35, ((0.004, 1.0),)))
    face = 0.18 + 0.1 * smooth((edge_x - XX) / 160) + strata
    p.paint(cliff, "stone", face)
    p.paint(cliff & ~pix.shift(cliff, 0, 4), "stone", 0.14)
    grass = cliff & (YY < top_y + 7)
    p.paint(grass, "leaf", 0.26 + 0.06 * (YY < top_y + 3))
    foam = (np.abs(XX - edge_x - 3) < 3) & (YY > horizon + 10) & (YY < H - BAND - 4) & (DITHER < 0.5)
    p.paint(foam & ~cliff, "sea", 0.62)
    # A lighthouse on the cliff top.
    lx, ly = 72.0, 130 + 0.22 * 72
    tower = (np.abs(XX - lx) < 8 - (ly - YY) * 0.04) & (YY > ly - 70) & (YY <= ly + 2)
    band = ((ly - YY) // 12) % 2 == 0
    p.paint(tower, "grey", 0.55 + 0.12 * (XX < lx - 2) - 0.12 * (XX > lx + 4))
    p.paint(tower & band, "red", 0.32 + 0.1 * (XX < lx - 2))
    p.paint((np.abs(XX - lx) < 6) & (YY > ly - 80) & (YY <= ly - 70), "gold", 0.62)
    p.paint((np.abs(XX - lx) < 8) & (YY > ly - 84) & (YY <= ly - 80), "slate", 0.2)
    p.quiet_band(False, "sea", 0.12)
    p.quiet_band(True, "sky", 0.18)
    return p.idx


def mountain_pass():
    p = Picture()
    p.paint(YY < H, "dusk", 0.12 + 0.46 * smooth(YY / 300))
    far, far_lit = peaks(XX, 41, 230, 9, 130, 140)
    p.paint(YY >= far, "violet", 0.2 + 0.06 * far_lit * smooth(1 - (YY - far) / 50))
    snow = (YY >= far) & (YY < far + 14) & (far < 150)
    p.paint(snow, "dusk", 0.55 + 0.12 * far_lit)
    mid, mid_lit = peaks(XX, 44, 320, 12, 120, 150)
    p.paint(YY >= mid, "slate", 0.16 + 0.1 * mid_lit * smooth(1 - (YY - mid) / 90))
    near = hills(XX, 47, 365, 26)
    p.paint(YY >= near, "stone", 0.12 + 0.06 * smooth(1 - (YY - near) / 40))
    # The pass: a pale track winding down the nearest slope.
    path_x = 300 + 80 * np.sin((YY - 330) / 55.0)
    path = (np.abs(XX - path_x) < 5 + (YY - near) * 0.12) & (YY > near + 4)
    p.paint(path, "stone", 0.26)
    p.paint(path & ~pix.shift(path, 0, 2), "stone", 0.34)
    rng = np.random.default_rng(51)
    pines = []
    for _ in range(46):
        x = float(rng.uniform(0, W))
        base_y = float(hills(np.array([x]), 47, 365, 26)[0]) + rng.uniform(4, 70)
        hgt = rng.uniform(18, 36)
        if base_y > H - BAND - 6 or abs(x - (300 + 80 * math.sin((base_y - 330) / 55.0))) < 14:
            continue
        pines.append([(x, base_y - hgt), (x + hgt * 0.3, base_y), (x - hgt * 0.3, base_y)])
    pine = shapes(lambda d: [d.polygon(tri, fill=255) for tri in pines])
    p.paint(pine, "leaf", 0.22)
    p.paint(pine & ~pix.shift(pine, 0, -2), "leaf", 0.32)
    p.quiet_band(False, "stone", 0.08)
    p.quiet_band(True, "dusk", 0.12)
    return p.idx


def night_castle():
    p = Picture()
    p.paint(YY < H, "night", 0.12 + 0.5 * smooth(YY / 380))
    rng = np.random.default_rng(61)
    sy = rng.uniform(BAND + 6, 330, 240).astype(int)
    sx = rng.uniform(0, W, 240).astype(int)
    stars = np.zeros((H, W), dtype=bool)
    stars[sy, sx] = True
    p.paint(stars, "ice", 0.3)
    big = np.zeros((H, W), dtype=bool)
    big[sy[:18], sx[:18]] = True
    p.paint(pix.dilate(big, diagonal=False) & ~big, "night", 0.85)
    p.paint(big, "ice", 0.65)
    mx, my = 480.0, 115.0
    d2 = (XX - mx) ** 2 + (YY - my) ** 2
    halo = np.exp(-d2 / (70.0 ** 2))
    p.paint((DITHER < halo * 0.8) & (d2 > 30 ** 2), "night", 0.6 + 0.3 * halo)
    moon = d2 <= 30 ** 2
    p.paint(moon, "gold", 0.62 + 0.25 * smooth(((mx - XX) + (my - YY)) / 50 + 0.5))
    for cx, cy, r in ((490, 125, 7), (468, 102, 5), (497, 100, 4), (474, 130, 3)):
        p.paint(moon & ((XX - cx) ** 2 + (YY - cy) ** 2 <= r * r), "gold", 0.55)
    cl = streaks(71, 6, 150, 240, 140, 7)
    p.paint(cl, "night", 0.5 + 0.15 * smooth((240 - YY) / 90))
    p.paint(cl & ~pix.shift(cl, 2, 0), "night", 0.7)
    hill = hills(XX, 73, 400, 22)
    # The castle on its hill: curtain wall, towers with pointed roofs, lit windows.
    towers = ((118, 172, 236), (246, 300, 196), (390, 444, 246), (320, 352, 262))

    def walls(d):
        d.rectangle([140, 296, 430, 420], fill=255)
        for x0, x1, top in towers:
            d.rectangle([x0, top, x1, 420], fill=255)
            for bx in range(x0, x1 - 3, 9):
                d.rectangle([bx, top - 7, bx + 5, top], fill=255)
        for x in range(140, 426, 12):
            d.rectangle([x, 288, x + 6, 296], fill=255)

    def roofs(d):
        for x0, x1, top in towers:
            if x1 - x0 < 40:
                d.polygon([(x0 - 4, top), ((x0 + x1) / 2, top - 50), (x1 + 4, top)], fill=255)
    wall = shapes(walls)
    brick = ((YY % 8) == 0) | (((XX + 8 * ((YY // 8) % 2)) % 16) == 0)
    lit = np.zeros((H, W), dtype=bool)
    for x0, x1, top in towers:
        lit |= (XX >= x0) & (XX < x0 + (x1 - x0) * 0.35) & (YY >= top - 7)
    p.paint(wall, "slate", 0.14 + 0.08 * lit - 0.04 * brick)
    roof = shapes(roofs)
    p.paint(roof, "violet", 0.16 + 0.08 * (XX < 336))
    win = shapes(lambda d: [d.rounded_rectangle([x, y, x + 4, y + 8], radius=2, fill=255) for x, y in
                            ((140, 266), (268, 226), (268, 256), (414, 276), (334, 290), (196, 330),
                             (372, 330), (240, 352), (300, 340))])
    p.paint(win, "gold", 0.6)
    p.paint(YY >= hill, "night", 0.14 + 0.06 * smooth(1 - (YY - hill) / 30))
    p.quiet_band(False, "night", 0.08)
    p.quiet_band(True, "night", 0.1)
    return p.idx


def main():
    for res_id, role, fn in ((110, "background-stage1", dawn_meadows), (127, "background-stage2", coast_sea),
                             (133, "background-stage3", mountain_pass), (296, "background-stage4", night_castle)):
        print(save_bitmap(res_id, role, [fn()], keyed=False))


if __name__ == "__main__":
    main()
