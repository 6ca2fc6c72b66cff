#!/usr/bin/python3
"""Small pixel-level helpers shared by the generators: masks, dilation,
outlines and blurs on numpy arrays (the tools run without scipy)."""
import numpy as np

from palette import KEY


def shift(mask, dy, dx):
    """Mask moved by (dy, dx); what moves in from the border is False/0."""
    out = np.zeros_like(mask)
    h, w = mask.shape[:2]
    ys, yd = (slice(0, h - dy), slice(dy, h)) if dy >= 0 else (slice(-dy, h), slice(0, h + dy))
    xs, xd = (slice(0, w - dx), slice(dx, w)) if dx >= 0 else (slice(-dx, w), slice(0, w + dx))
    out[yd, xd] = mask[ys, xs]
    return out


def dilate(mask, diagonal=True):
    out = mask.copy()
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            if (dy or dx) and (diagonal or not (dy and dx)):
                out |= shift(mask, dy, dx)
    return out


def erode(mask, diagonal=False):
    return ~dilate(~mask, diagonal)


def box_blur(a, r):
    """Separable box blur of radius r (a (2r+1)-wide window), edges clamped."""
    if r <= 0:
        return a.astype(np.float64)
    a = a.astype(np.float64)
    for axis in (0, 1):
        pad = [(0, 0), (0, 0)]
        pad[axis] = (r + 1, r)
        c = np.cumsum(np.pad(a, pad, mode="edge"), axis=axis)
        n = a.shape[axis]
        hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
        lo = np.take(c, np.arange(0, n), axis=axis)
        a = (hi - lo) / (2 * r + 1)
    return a


def blur(a, r):
    """Three box passes: close to a Gaussian of about radius r."""
    r = max(1, int(round(r / 1.7)))
    for _ in range(3):
        a = box_blur(a, r)
    return a


def outline(idx, colour, diagonal=False):
    """Key pixels touching a drawn pixel become the outline colour."""
    solid = idx != KEY
    ring = dilate(solid, diagonal) & ~solid
    out = idx.copy()
    out[ring] = colour
    return out


def bayer(h, w, n=4):
    """Ordered-dither thresholds in 0..1 (n = 4 or 8)."""
    m = np.array([[0, 2], [3, 1]])
    while m.shape[0] < n:
        m = np.block([[4 * m, 4 * m + 2], [4 * m + 3, 4 * m + 1]])
    t = (m + 0.5) / m.size
    return np.tile(t, (h // n + 1, w // n + 1))[:h, :w]
