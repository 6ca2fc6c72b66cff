#!/usr/bin/python3
"""Drawing helpers for the front-end pictures.

A Canvas is a supersampled RGBA float image; shapes are polygons given in
output-pixel coordinates and rasterised as masks at the supersampled size.
Parts are painted with a dark outline and a fill shaded from the upper left,
so the pictures share one light and one outline weight. `Canvas.result()`
box-filters back to the real size for `save_bitmap`.
"""
import math

import numpy as np
from PIL import Image, ImageDraw

from artlib import downsample
from palette import PALETTE, RAMP_INDICES

SS = 4


def ramp_rgb(name, t):
    """Continuous colour along a ramp: t (scalar or array, 0 dark .. 1 light) -> ...x3 floats 0..1."""
    cols = np.array([PALETTE[i] for i in RAMP_INDICES[name]], dtype=np.float64) / 255.0
    t = np.clip(np.asarray(t, dtype=np.float64), 0.0, 1.0) * (len(cols) - 1)
    i = np.minimum(np.floor(t).astype(int), len(cols) - 2)
    f = (t - i)[..., None]
    return cols[i] * (1 - f) + cols[i + 1] * f


def col(name, t):
    return tuple(ramp_rgb(name, t).tolist())


# ---------------------------------------------------------------- geometry

def ellipse_pts(cx, cy, rx, ry, rot=0.0, n=64):
    c, s = math.cos(math.radians(rot)), math.sin(math.radians(rot))
    out = []
    for k in range(n):
        a = 2 * math.pi * k / n
        x, y = rx * math.cos(a), ry * math.sin(a)
        out.append((cx + x * c - y * s, cy + x * s + y * c))
    return out


def arc_pts(cx, cy, rx, ry, deg0, deg1, n=None):
    n = n or max(6, int(abs(deg1 - deg0) / 6))
    return [(cx + rx * math.cos(math.radians(deg0 + (deg1 - deg0) * k / n)),
             cy + ry * math.sin(math.radians(deg0 + (deg1 - deg0) * k / n))) for k in range(n + 1)]


def bezier(p0, p1, p2, p3, n=24):
    out = []
    for k in range(n + 1):
        t = k / n
        u = 1 - t
        out.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return out


def path(*segments):
    """Join point lists, dropping a repeated joint."""
    out = []
    for seg in segments:
        for p in seg:
            if not out or abs(out[-1][0] - p[0]) + abs(out[-1][1] - p[1]) > 1e-6:
                out.append(p)
    return out


def ribbon(centre, w0, w1):
    """A tapering band along a centre line: width w0 at the start, w1 at the end."""
    left, right = [], []
    n = len(centre)
    for k, (x, y) in enumerate(centre):
        a = centre[max(0, k - 1)]
        b = centre[min(n - 1, k + 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / ln, dx / ln
        w = (w0 + (w1 - w0) * k / max(1, n - 1)) / 2
        left.append((x + nx * w, y + ny * w))
        right.append((x - nx * w, y - ny * w))
    return left + right[::-1]


class Xf:
    """Affine map for placing a drawing: scale, rotate (degrees), mirror, move."""

    def __init__(self, dx=0.0, dy=0.0, scale=1.0, rot=0.0, flip=False, origin=(0.0, 0.0)):
        self.dx, self.dy, self.scale, self.flip, self.origin = dx, dy, scale, flip, origin
        self.c, self.s = math.cos(math.radians(rot)), math.sin(math.radians(rot))

    def __call__(self, pts):
        out = []
        ox, oy = self.origin
        for x, y in pts:
            x, y = x - ox, y - oy
            if self.flip:
                x = -x
            x, y = x * self.c - y * self.s, x * self.s + y * self.c
            out.append((ox + x * self.scale + self.dx, oy + y * self.scale + self.dy))
        return out

    def len(self, v):
        return v * self.scale


# ---------------------------------------------------------------- masks

def dilate(mask, r):
    """Grow a boolean mask by r supersampled pixels (octagonal brush)."""
    m = mask.copy()
    for k in range(int(r)):
        g = m.copy()
        g[1:, :] |= m[:-1, :]
        g[:-1, :] |= m[1:, :]
        g[:, 1:] |= m[:, :-1]
        g[:, :-1] |= m[:, 1:]
        if k % 2 == 0:
            g[1:, 1:] |= m[:-1, :-1]
            g[:-1, :-1] |= m[1:, 1:]
            g[1:, :-1] |= m[:-1, 1:]
            g[:-1, 1:] |= m[1:, :-1]
        m = g
    return m


def shift(mask, dx, dy):
    """Mask moved by (dx, dy) supersampled pixels; what moves in is empty."""
    out = np.zeros_like(mask)
    h, w = mask.shape
    ys, yd = (slice(0, h - dy), slice(dy, h)) if dy >= 0 else (slice(-dy, h), slice(0, h + dy))
    xs, xd = (slice(0, w - dx), slice(dx, w)) if dx >= 0 else (slice(-dx, w), slice(0, w + dx))
    out[yd, xd] = mask[ys, xs]
    return out


def box_of(mask):
    """The bounding box of a mask's set pixels as a pair of slices, None when empty."""
    rows = np.flatnonzero(mask.any(axis=1))
    if len(rows) == 0:
        return None
    cols = np.flatnonzero(mask.any(axis=0))
    return slice(rows[0], rows[-1] + 1), slice(cols[0], cols[-1] + 1)


class Canvas:
    def __init__(self, w, h, ss=SS, fill=None):
        self.w, self.h, self.ss = w, h, ss
        self.rgba = np.zeros((h * ss, w * ss, 4))
        if fill is not None:
            self.rgba[..., :3] = fill
            self.rgba[..., 3] = 1.0
        # A zoom about a point lets a finished composition be enlarged as a whole.
        self.zoom, self.zoom_origin = 1.0, (0.0, 0.0)
        yy, xx = np.mgrid[0:h * ss, 0:w * ss]
        self.yy = (yy + 0.5) / ss
        self.xx = (xx + 0.5) / ss

    # -- rasterising
    def _img(self):
        return Image.new("L", (self.w * self.ss, self.h * self.ss), 0)

    def _sc(self, pts):
        z, (ox, oy) = self.zoom, self.zoom_origin
        return [(((x - ox) * z + ox) * self.ss, ((y - oy) * z + oy) * self.ss) for x, y in pts]

    def poly(self, *polys):
        img = self._img()
        d = ImageDraw.Draw(img)
        for p in polys:
            if len(p) >= 3:
                d.polygon(self._sc(p), fill=255)
        return np.asarray(img) > 127

    def stroke(self, pts, width, *more):
        """Polyline(s) with round joins and caps, width in output pixels."""
        img = self._img()
        d = ImageDraw.Draw(img)
        w = max(1, int(round(width * self.zoom * self.ss)))
        for line in (pts,) + more:
            sc = self._sc(line)
            if len(sc) > 1:
                d.line(sc, fill=255, width=w, joint="curve")
            r = w / 2.0
            for (x, y) in (sc[0], sc[-1]):
                d.ellipse([x - r, y - r, x + r, y + r], fill=255)
        return np.asarray(img) > 127

    def ellipse(self, cx, cy, rx, ry, rot=0.0):
        return self.poly(ellipse_pts(cx, cy, rx, ry, rot))

    def union(self, *masks):
        out = np.zeros((self.h * self.ss, self.w * self.ss), bool)
        for m in masks:
            out |= m
        return out

    # -- painting
    def paint(self, mask, colour, alpha=1.0):
        """Straight 'over' with a constant or per-pixel colour; mask bool or float.
        Only the mask's bounding box is touched, which keeps big canvases quick."""
        mask = np.asarray(mask)
        box = box_of(mask)
        if box is None:
            return
        a = mask[box].astype(np.float64) * alpha
        a = a[..., None]
        colour = np.asarray(colour, dtype=np.float64)
        c = colour[box] if colour.ndim == 3 else colour
        dst = self.rgba[box]
        da = dst[..., 3:4]
        out_a = a + da * (1 - a)
        out_c = (c * a + dst[..., :3] * da * (1 - a)) / np.maximum(out_a, 1e-9)
        dst[..., :3] = np.where(out_a > 0, out_c, dst[..., :3])
        dst[..., 3:4] = out_a

    def light(self, mask, span=None):
        """0..1 light level across a mask: bright toward the upper left."""
        ys, xs = np.nonzero(mask)
        if len(xs) == 0:
            return np.zeros(mask.shape)
        x0, x1 = xs.min() / self.ss, xs.max() / self.ss
        y0, y1 = ys.min() / self.ss, ys.max() / self.ss
        span = span or max(x1 - x0, y1 - y0, 1.0)
        t = 1.0 - ((self.xx - x0) * 0.45 + (self.yy - y0) * 0.75) / (span * 1.0)
        return np.clip(t, 0.0, 1.0)

    def part(self, mask, ramp, lo, hi, outline=None, ow=1.2, rim=True, level=None, outline_ramp=None):
        """Outline (ow output pixels, 0 for none) then a fill shaded lo..hi on the ramp,
        lighter toward the upper left, with a light rim up-left and a dark rim down-right."""
        rows = np.flatnonzero(mask.any(axis=1))
        if len(rows) == 0:
            return mask
        cols = np.flatnonzero(mask.any(axis=0))
        pad = int(ow * self.ss) + 3
        y0, y1 = max(0, rows[0] - pad), min(mask.shape[0], rows[-1] + pad + 1)
        x0, x1 = max(0, cols[0] - pad), min(mask.shape[1], cols[-1] + pad + 1)
        box = (slice(y0, y1), slice(x0, x1))
        sub = mask[box]
        if ow > 0:
            oc = outline if outline is not None else col(outline_ramp or ramp, 0.04)
            ring = np.zeros_like(mask)
            ring[box] = dilate(sub, ow * self.ss) & ~sub
            self.paint(ring, oc)
        t = self.light(mask) if level is None else level
        lev = lo + (hi - lo) * t
        if rim:
            d = max(1, int(self.ss * 1.5))
            lit = mask & ~shift(mask, d, d)
            dark = mask & ~shift(mask, -d, -d)
            lev = np.where(lit, lev + 0.18, lev)
            lev = np.where(dark & ~lit, lev - 0.14, lev)
        colour = ramp
        if isinstance(ramp, str) and np.ndim(lev) == 2:
            # Only the mask's bounding box is painted: shading the whole canvas
            # would cost most of the drawing time.
            box = box_of(mask)
            colour = np.zeros(mask.shape + (3,))
            colour[box] = ramp_rgb(ramp, lev[box])
        elif isinstance(ramp, str):
            colour = ramp_rgb(ramp, lev)
        self.paint(mask, colour)
        return mask

    def result(self):
        return fill_pinholes(downsample(self.rgba, self.ss))


def fill_pinholes(rgba):
    """A lone clear pixel boxed in by drawn ones would show the background as
    a speck through the picture (tight letter counters, crossing strokes); it
    takes the darkest of its neighbours instead."""
    a = rgba[..., 3] >= 0.5
    p = np.pad(a, 1, constant_values=False)
    boxed = ~a & p[:-2, 1:-1] & p[2:, 1:-1] & p[1:-1, :-2] & p[1:-1, 2:]
    if not boxed.any():
        return rgba
    out = rgba.copy()
    for y, x in zip(*np.nonzero(boxed)):
        nb = [rgba[y + dy, x + dx] for dy, dx in ((-1, 0), (1, 0), (0, -1), (0, 1))]
        out[y, x] = min(nb, key=lambda c: c[:3].sum())
    return out


def star_pts(cx, cy, r_out, r_in, points=4, rot=-90.0):
    out = []
    for k in range(points * 2):
        r = r_out if k % 2 == 0 else r_in
        a = math.radians(rot + 180.0 * k / points)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def sparkle(c, cx, cy, r, colour=None, ow=0.8):
    """A four-pointed twinkle with a dark edge, for magic and stars."""
    m = c.poly(star_pts(cx, cy, r, r * 0.28))
    c.part(m, "gold", 0.75, 1.0, outline=col("violet", 0.1), ow=ow, rim=False)
    c.paint(c.ellipse(cx, cy, r * 0.22, r * 0.22), (1, 1, 1))


_BAYER = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]) / 16.0 - 0.47


def dither(rgba, amount, rows=None):
    """Ordered dither for smooth gradients in opaque pictures: a fixed 4x4
    pattern nudges each pixel by up to +-amount/2 before quantising, so a
    gradient crosses between palette shades in a fine mesh, not in bands."""
    out = np.array(rgba, dtype=np.float64)
    h, w = out.shape[:2]
    pattern = np.tile(_BAYER, (h // 4 + 1, w // 4 + 1))[:h, :w] * amount
    if rows is not None:
        pattern[rows:] = 0.0
    out[..., :3] = np.clip(out[..., :3] + pattern[..., None], 0.0, 1.0)
    return out
