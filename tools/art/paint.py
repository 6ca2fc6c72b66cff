#!/usr/bin/python3
"""A small painter for sprites: shapes are drawn supersampled as masks, each
shape is one material (a palette ramp) shaded by light from the upper left,
and the finished figure is resolved to whole pixels in one step.

Resolving by material instead of averaging colours keeps every pixel on a
ramp shade, so edges stay crisp: a pixel belongs to whichever shape covers
most of it, takes that shape's mean light, and is transparent when less than
half of it is covered. Afterwards shapes drawn with `line=True` get a dark
edge where they overlap what lies behind them, and the whole silhouette gets
a dark outline so it reads on any background.
"""
import numpy as np
from PIL import Image, ImageDraw

import pix
from palette import KEY, RAMP_INDICES, shade

SS = 4  # supersampling factor
LIGHT = np.array([-1.0, -1.0]) / np.sqrt(2.0)  # towards the light (x, y): upper left


class Figure:
    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.parts = []
        ys, xs = np.mgrid[0:h * ss, 0:w * ss]
        self.X = (xs + 0.5) / ss  # sample positions in pixel units
        self.Y = (ys + 0.5) / ss

    # --- masks (coordinates in pixels, floats allowed) -------------------
    def _canvas(self):
        img = Image.new("L", (self.w * self.ss, self.h * self.ss), 0)
        return img, ImageDraw.Draw(img)

    def _s(self, pts):
        return [(x * self.ss, y * self.ss) for x, y in pts]

    def ellipse(self, cx, cy, rx, ry, angle=0.0):
        if angle == 0.0:
            return ((self.X - cx) / rx) ** 2 + ((self.Y - cy) / ry) ** 2 <= 1.0
        a = np.radians(angle)
        dx, dy = self.X - cx, self.Y - cy
        u = dx * np.cos(a) + dy * np.sin(a)
        v = -dx * np.sin(a) + dy * np.cos(a)
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0

    def polygon(self, pts):
        img, d = self._canvas()
        d.polygon(self._s(pts), fill=255)
        return np.asarray(img) > 127

    def line(self, pts, width):
        """A thick polyline with round joints and ends."""
        img, d = self._canvas()
        sp = self._s(pts)
        wpx = width * self.ss
        d.line(sp, fill=255, width=int(round(wpx)))
        r = wpx / 2.0
        for x, y in sp:
            d.ellipse([x - r, y - r, x + r, y + r], fill=255)
        return np.asarray(img) > 127

    def taper(self, pts, w0, w1):
        """A polyline whose width runs from w0 to w1: hair, tails, horns."""
        m = np.zeros(self.X.shape, dtype=bool)
        n = len(pts)
        for i in range(n - 1):
            (x0, y0), (x1, y1) = pts[i], pts[i + 1]
            for t in np.linspace(0, 1, 8, endpoint=False):
                f = (i + t) / (n - 1)
                r = (w0 + (w1 - w0) * f) / 2.0
                m |= self.ellipse(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, max(r, 0.3), max(r, 0.3))
        return m

    def rect(self, x0, y0, x1, y1):
        return (self.X >= x0) & (self.X < x1) & (self.Y >= y0) & (self.Y < y1)

    # --- materials -------------------------------------------------------
    def add(self, mask, ramp, base=0.55, contrast=0.35, soft=2.0, line=False,
            level=None, gloss=0.0, line_level=0.12):
        """Add a shape of one material.

        base/contrast: mid level of the ramp and how far the light moves it.
        soft: radius in pixels of the rounding used for the light.
        level: optional array (or callable of X, Y) added to the shading.
        gloss: adds a bright spot on the most lit part.
        """
        m = np.asarray(mask, dtype=np.float64)
        if m.max() == 0:
            return
        b = pix.blur(m, soft * self.ss)
        gy, gx = np.gradient(b)
        lit = -(gx * LIGHT[0] + gy * LIGHT[1])
        peak = np.abs(lit[m > 0]).max() or 1.0
        lit = np.clip(lit / peak, -1, 1)
        lev = base + contrast * lit
        if gloss:
            lev += gloss * np.clip(lit - 0.55, 0, None) / 0.45
        if level is not None:
            lev = lev + (level(self.X, self.Y) if callable(level) else level)
        self.parts.append(dict(mask=m, level=lev, ramp=ramp, line=line, line_level=line_level))

    def flat(self, mask, ramp, lev, line=False):
        self.add(mask, ramp, base=lev, contrast=0.0, line=line)

    # --- resolving -------------------------------------------------------
    def resolve(self, outline="auto", outline_diagonal=False):
        """-> index image (h x w). outline: None, 'auto' (darkest shade of the
        neighbouring material) or a palette index."""
        ss, h, w = self.ss, self.h, self.w
        n = len(self.parts)
        cover = np.ones((h * ss, w * ss))
        vis = [None] * n
        for i in range(n - 1, -1, -1):
            m = self.parts[i]["mask"]
            vis[i] = m * cover
            cover = cover * (1 - m)

        def pool(a):
            return a.reshape(h, ss, w, ss).sum(axis=(1, 3)) / (ss * ss)

        frac = np.stack([pool(v) for v in vis])  # n x h x w
        light = np.stack([pool(v * p["level"]) for v, p in zip(vis, self.parts)])
        total = frac.sum(axis=0)
        owner = np.argmax(frac, axis=0)
        solid = total >= 0.5
        ii = np.arange(h)[:, None], np.arange(w)[None, :]
        lev = light[owner, ii[0], ii[1]] / np.maximum(frac[owner, ii[0], ii[1]], 1e-9)
        owner = np.where(solid, owner, -1)
        # Dark edges where a lined part lies over something behind it.
        for i, p in enumerate(self.parts):
            if not p["line"]:
                continue
            mine = owner == i
            behind = np.zeros_like(mine)
            for dy, dx in ((-1, 0), (1, 0), (0, -1), (0, 1)):
                o = pix.shift(owner + 1, dy, dx) - 1
                behind |= (o >= 0) & (o < i)
            edge = mine & behind
            lev[edge] = np.minimum(lev[edge], p["line_level"])
        out = np.full((h, w), KEY, dtype=np.uint8)
        for i, p in enumerate(self.parts):
            sel = owner == i
            if sel.any():
                ramp = RAMP_INDICES[p["ramp"]]
                k = np.clip(np.round(np.clip(lev[sel], 0, 1) * (len(ramp) - 1)), 0, len(ramp) - 1).astype(int)
                out[sel] = np.array(ramp)[k]
        if outline is None:
            return out
        ring = pix.dilate(solid, outline_diagonal) & ~solid
        if outline == "auto":
            for dy, dx in ((1, 0), (-1, 0), (0, 1), (0, -1), (1, 1), (-1, -1), (1, -1), (-1, 1)):
                o = pix.shift(owner + 1, dy, dx) - 1
                sel = ring & (out == KEY) & (o >= 0)
                for i in np.unique(o[sel]):
                    s2 = sel & (o == i)
                    out[s2] = shade(self.parts[i]["ramp"], 0.0)
        else:
            out[ring] = outline
        return out


def tint(idx, mapping):
    """Re-colour an index image: mapping(ramp_name, level) -> palette index,
    applied to every ramp pixel; key and system colours stay."""
    out = idx.copy()
    for name, ramp in RAMP_INDICES.items():
        for k, pal in enumerate(ramp):
            sel = idx == pal
            if sel.any():
                out[sel] = mapping(name, k / (len(ramp) - 1))
    return out
