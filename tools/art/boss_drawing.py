#!/usr/bin/python3
"""Drawing kit for the large boss sprites.

A `Sprite` is a supersampled RGBA canvas. Shapes are drawn as masks (PIL at
the supersampled size, coordinates given in final pixels) and painted with a
named palette ramp: the mask is blurred into a height field whose slope gives
the lighting, always from the upper left, so every blob, limb or plate comes
out rounded with at least three shades and a dark rim where it overlaps what
lies beneath. `finish` reduces to final size, makes every pixel either fully
opaque or fully transparent and traces a dark outline just inside the
silhouette, so the hit mask is exactly what the player sees.
"""
import math

import numpy as np
from PIL import Image, ImageDraw

from palette import PALETTE, RAMP_INDICES

SS = 4
LIGHT = np.array([-1.0, -1.15, 1.25])
LIGHT = LIGHT / np.linalg.norm(LIGHT)


def ramp_colours(name):
    """A palette ramp by name, or a list of RGB stops (0..255) of our own that
    wanders across hues; quantising then draws on several palette ramps."""
    if isinstance(name, str):
        return np.array([PALETTE[i] for i in RAMP_INDICES[name]], dtype=np.float64) / 255.0
    return np.array(name, dtype=np.float64) / 255.0


def ramp_rgb(name, level):
    """Continuous colour along a ramp; level may be an array, 0 dark .. 1 light."""
    cols = ramp_colours(name)
    t = np.clip(np.asarray(level, dtype=np.float64), 0.0, 1.0) * (len(cols) - 1)
    xs = np.arange(len(cols))
    return np.stack([np.interp(t, xs, cols[:, k]) for k in range(3)], axis=-1)


def _box(a, r, axis):
    if r < 1:
        return a
    pad = [(0, 0)] * a.ndim
    pad[axis] = (r + 1, r)
    c = np.cumsum(np.pad(a, pad, mode="edge"), axis=axis)
    n = a.shape[axis]
    hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, np.arange(0, n), axis=axis)
    return (hi - lo) / (2 * r + 1)


def blur(a, r):
    """Three box passes per axis: close to a Gaussian of about radius r."""
    r = max(1, int(round(r / 1.7)))
    for _ in range(3):
        a = _box(_box(a, r, 0), r, 1)
    return a


def erode(m, k):
    """Binary erosion by a (2k+1) square, separable."""
    # Edge padding: a shape cut by the frame border is taken to go on beyond
    # it, so no rim is drawn along the cut.
    out = np.pad(m > 0.5, k, mode="edge")
    for axis in (0, 1):
        acc = out.copy()
        for d in range(1, k + 1):
            acc &= np.roll(out, d, axis=axis) & np.roll(out, -d, axis=axis)
        out = acc
    return out[k:-k, k:-k]


class Mask:
    """A coverage mask on a sprite's supersampled grid, drawn in final pixels."""

    def __init__(self, spr):
        self.spr = spr
        self.img = Image.new("L", (spr.w * SS, spr.h * SS), 0)
        self.d = ImageDraw.Draw(self.img)

    def _p(self, x, y):
        if self.spr.mirror:
            x = self.spr.w - x
        return (x * SS, y * SS)

    def _pts(self, pts):
        return [self._p(x, y) for x, y in pts]

    def ellipse(self, cx, cy, rx, ry, fill=255):
        x0, y0 = self._p(cx - rx, cy - ry)
        x1, y1 = self._p(cx + rx, cy + ry)
        self.d.ellipse([min(x0, x1), y0, max(x0, x1), y1], fill=fill)
        return self

    def circle(self, cx, cy, r, fill=255):
        return self.ellipse(cx, cy, r, r, fill)

    def poly(self, pts, fill=255):
        self.d.polygon(self._pts(pts), fill=fill)
        return self

    def line(self, pts, width, fill=255):
        pts = self._pts(pts)
        self.d.line(pts, fill=fill, width=max(1, int(round(width * SS))), joint="curve")
        for p in (pts[0], pts[-1]):
            r = width * SS / 2
            self.d.ellipse([p[0] - r, p[1] - r, p[0] + r, p[1] + r], fill=fill)
        return self

    def tube(self, pts, w0, w1, fill=255):
        """A limb or tail: a polyline whose width tapers from w0 to w1."""
        n = len(pts) - 1
        for i in range(n):
            a, b = pts[i], pts[i + 1]
            wa = w0 + (w1 - w0) * i / n
            wb = w0 + (w1 - w0) * (i + 1) / n
            self.capsule(a, b, wa / 2, wb / 2, fill)
        return self

    def capsule(self, a, b, ra, rb, fill=255):
        ax, ay = a
        bx, by = b
        dx, dy = bx - ax, by - ay
        ln = math.hypot(dx, dy) or 1e-6
        nx, ny = -dy / ln, dx / ln
        self.poly([(ax + nx * ra, ay + ny * ra), (bx + nx * rb, by + ny * rb),
                   (bx - nx * rb, by - ny * rb), (ax - nx * ra, ay - ny * ra)], fill)
        self.circle(ax, ay, ra, fill)
        self.circle(bx, by, rb, fill)
        return self

    def arr(self):
        return np.asarray(self.img, dtype=np.float64) / 255.0


def bezier(p0, p1, p2, p3=None, n=24):
    """Points of a quadratic (or cubic) Bezier curve."""
    out = []
    for i in range(n + 1):
        t = i / n
        if p3 is None:
            x = (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0]
            y = (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1]
        else:
            x = ((1 - t) ** 3 * p0[0] + 3 * (1 - t) ** 2 * t * p1[0]
                 + 3 * (1 - t) * t * t * p2[0] + t ** 3 * p3[0])
            y = ((1 - t) ** 3 * p0[1] + 3 * (1 - t) ** 2 * t * p1[1]
                 + 3 * (1 - t) * t * t * p2[1] + t ** 3 * p3[1])
        out.append((x, y))
    return out


class Sprite:
    def __init__(self, w, h, mirror=False):
        self.w, self.h, self.mirror = w, h, mirror
        self.rgba = np.zeros((h * SS, w * SS, 4))
        ys, xs = np.mgrid[0:h * SS, 0:w * SS].astype(np.float64)
        self.X = (xs + 0.5) / SS
        if mirror:
            self.X = w - self.X
        self.Y = (ys + 0.5) / SS

    def mask(self):
        return Mask(self)

    def shading(self, m, relief):
        """Lambert term (0..1) of the rounded surface a mask describes."""
        h = blur(m, relief * SS)
        h = np.sqrt(np.clip(h, 0, 1))
        # The slope is taken on the screen grid, so mirrored drawings are
        # still lit from the upper left.
        gy, gx = np.gradient(h)
        k = relief * SS * 1.2
        nx, ny, nz = -gx * k, -gy * k, np.ones_like(h)
        ln = np.sqrt(nx * nx + ny * ny + nz * nz)
        lam = (nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]) / ln
        return np.clip(lam, 0, 1), h

    def paint(self, m, ramp, lo=0.12, hi=0.92, relief=6.0, gloss=0.0, texture=None,
              rim=1.0, rim_level=0.02, flat=None, form=0.35, shadow=1.5):
        """Paint mask m with a ramp: lit by slope, optional texture (level offset).

        form: strength of a gradient across the whole shape, light at its
        upper left and dark at its lower right, so broad shapes read as round
        and not only their edges.
        shadow: length in pixels of the shadow cast on what lies beneath."""
        if isinstance(m, Mask):
            m = m.arr()
        inside = m > 0.5
        if not inside.any():
            return
        if flat is not None:
            level = np.full(m.shape, float(flat))
        else:
            lam, _ = self.shading(m, relief)
            level = lo + (hi - lo) * lam ** 1.4
            if form:
                ys, xs = np.nonzero(inside)
                y0, y1, x0, x1 = ys.min(), ys.max(), xs.min(), xs.max()
                gy = (np.arange(m.shape[0]) - (y0 + y1) / 2) / max(1, (y1 - y0) / 2)
                gx = (np.arange(m.shape[1]) - (x0 + x1) / 2) / max(1, (x1 - x0) / 2)
                level = level - form * (hi - lo) * 0.5 * (gy[:, None] + gx[None, :])
            if gloss:
                level = level + gloss * np.clip((lam - 0.88) / 0.12, 0, 1) ** 2
        if texture is not None:
            level = level + texture
        # Only the pixels inside are coloured: the ramp over the whole grid
        # would cost as much as the shading itself.
        col = ramp_rgb(ramp, level[inside])
        if shadow and flat is None:
            # The new shape casts a soft shadow down and to the right onto
            # what is already drawn.
            k = int(round(shadow * SS))
            cast = np.zeros_like(inside)
            cast[k:, k:] = inside[:-k, :-k]
            cast &= ~inside & (self.rgba[..., 3] > 0)
            self.rgba[cast, :3] *= 0.68
        if rim:
            edge = inside & ~erode(inside, max(1, int(round(rim * SS * 0.75))))
            col[edge[inside]] = ramp_rgb(ramp, rim_level)
        self.rgba[inside, :3] = col
        self.rgba[inside, 3] = 1.0

    def glow(self, cx, cy, r, ramp, lo=0.3, hi=1.0, power=1.0):
        """A radial energy blob: bright centre fading to lo at radius r."""
        d = np.hypot(self.X - cx, self.Y - cy) / r
        inside = d <= 1.0
        level = lo + (hi - lo) * (1 - np.clip(d, 0, 1)) ** power
        col = ramp_rgb(ramp, level)
        self.rgba[inside, :3] = col[inside]
        self.rgba[inside, 3] = 1.0

    def finish(self, outline=True, outline_scale=0.28, open_edges="", solid=None, max_gap=120):
        """-> RGBA float image at final size, alpha 0 or 1, outlined.

        open_edges: frame sides ("l", "r", "t", "b") where the drawing runs
        on into another part, so no outline is traced along them.
        solid: a given hit mask to use instead of the drawing's own (the
        mirrored twin of a frame must have exactly the mirrored mask).
        max_gap: enclosed transparent pockets up to this many pixels are
        filled in shadow, so shots cannot slip into a crevice of a body."""
        from artlib import downsample
        img = downsample(self.rgba, SS)
        if solid is None:
            solid = img[..., 3] >= 0.5
            if max_gap:
                pockets = _small_pockets(solid, max_gap)
                if pockets.any():
                    img[pockets, :3] = _shadow_colour(img, solid)[pockets]
                    solid = solid | pockets
        else:
            missing = solid & ~(img[..., 3] >= 0.5)
            img[missing, :3] = _shadow_colour(img, img[..., 3] >= 0.5)[missing]
            return self._outline(img, solid.copy(), outline, outline_scale, open_edges, tidy=False)
        return self._outline(img, solid, outline, outline_scale, open_edges)

    def _outline(self, img, solid, outline, outline_scale, open_edges, tidy=True):
        tidy = _tidy(solid) if tidy else solid
        filled = tidy & ~solid
        if filled.any():
            # A pinhole takes the colour of its opaque neighbours.
            c = img[..., :3] * solid[..., None]
            pad = np.pad(c, ((1, 1), (1, 1), (0, 0)))
            avg = (pad[:-2, 1:-1] + pad[2:, 1:-1] + pad[1:-1, :-2] + pad[1:-1, 2:]) / 4
            img[filled, :3] = avg[filled]
        solid = tidy
        img[..., 3] = solid.astype(np.float64)
        if outline:
            border = np.zeros_like(solid)
            for dy, dx in ((0, 1), (0, -1), (1, 0), (-1, 0)):
                nb = np.roll(solid, (dy, dx), axis=(0, 1))
                if dy == 1:
                    nb[0, :] = False
                if dy == -1:
                    nb[-1, :] = False
                if dx == 1:
                    nb[:, 0] = False
                if dx == -1:
                    nb[:, -1] = False
                side = {(0, 1): "l", (0, -1): "r", (1, 0): "t", (-1, 0): "b"}[(dy, dx)]
                if side in open_edges:
                    edge = np.zeros_like(solid)
                    if side == "l":
                        edge[:, 0] = True
                    elif side == "r":
                        edge[:, -1] = True
                    elif side == "t":
                        edge[0, :] = True
                    else:
                        edge[-1, :] = True
                    nb = nb | edge
                border |= solid & ~nb
            img[border, :3] = img[border, :3] * outline_scale + np.array([0.03, 0.0, 0.03]) * (1 - outline_scale)
        img[~solid, :3] = 0
        return img


def _small_pockets(solid, max_size):
    """Transparent regions that touch no frame border and have at most
    max_size pixels."""
    h, w = solid.shape
    seen = solid.copy()
    out = np.zeros_like(solid)
    for y0, x0 in zip(*np.nonzero(~solid)):
        if seen[y0, x0]:
            continue
        stack = [(y0, x0)]
        seen[y0, x0] = True
        comp, open_ = [], False
        while stack:
            y, x = stack.pop()
            comp.append((y, x))
            if y in (0, h - 1) or x in (0, w - 1):
                open_ = True
            for ny, nx in ((y + 1, x), (y - 1, x), (y, x + 1), (y, x - 1)):
                if 0 <= ny < h and 0 <= nx < w and not seen[ny, nx]:
                    seen[ny, nx] = True
                    stack.append((ny, nx))
        if not open_ and len(comp) <= max_size:
            ys, xs = zip(*comp)
            out[list(ys), list(xs)] = True
    return out


def _shadow_colour(img, solid):
    """A darkened local average of the opaque colours, for filled pixels."""
    c = img[..., :3] * solid[..., None]
    wsum = solid.astype(np.float64)
    for axis in (0, 1):
        c = _box(c, 3, axis)
        wsum = _box(wsum, 3, axis)
    return c / np.maximum(wsum, 1e-6)[..., None] * 0.35


def _tidy(solid):
    """Drop single stray pixels and fill single-pixel pinholes."""
    pad = np.pad(solid, 1)
    n = (pad[:-2, 1:-1].astype(int) + pad[2:, 1:-1] + pad[1:-1, :-2] + pad[1:-1, 2:])
    out = solid.copy()
    out[solid & (n <= 1)] = False
    out[~solid & (n >= 4)] = True
    return out


def energy_rgb(t, stops):
    """Colour of an energy effect: t 0 (outer edge) .. 1 (core) through stops
    [(t, (r, g, b)), ...] with components 0..1."""
    t = np.clip(np.asarray(t, dtype=np.float64), 0, 1)
    ts = [s[0] for s in stops]
    return np.stack([np.interp(t, ts, [s[1][k] for s in stops]) for k in range(3)], axis=-1)


def empty(w, h):
    return np.zeros((h, w, 4))
