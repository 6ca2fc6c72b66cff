#!/usr/bin/python3
"""Shared pieces of the art pipeline: quantising to the palette and writing
the 8-bit bitmaps the game embeds.

Drawings are made as RGBA float arrays (values 0..1, shape HxWx4), usually
supersampled and reduced with `downsample`. `save_bitmap` turns them into
palette indices: a pixel with less than half coverage becomes the key index,
every other pixel the nearest palette colour (the key is never chosen), so
sprite outlines have no fringe and hit masks match what the player sees.
"""
import os
import struct

import numpy as np

from palette import KEY, PALETTE

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BITMAP_DIR = os.path.join(ROOT, "resources", "bitmaps")

_PAL = np.array(PALETTE, dtype=np.float64)
# Candidates for quantising: everything except the key and the garish pure
# system primaries, which would look out of place in shaded artwork.
_EXCLUDED = {KEY, 249, 250, 251, 252, 253, 254, 1, 2, 3, 4, 5, 6}
_CANDIDATES = np.array([i for i in range(256) if i not in _EXCLUDED])


def _nearest(rgb):
    """rgb: Nx3 float 0..255 -> N palette indices (weighted 'redmean' distance).
    Each distinct colour is matched once: drawings repeat their colours a lot."""
    rgb = np.ascontiguousarray(rgb, dtype=np.float64)
    colours, back = np.unique(rgb.view(np.dtype((np.void, 3 * 8))).ravel(), return_inverse=True)
    colours = colours.view(np.float64).reshape(-1, 3)
    cand = _PAL[_CANDIDATES]
    out = np.empty(len(colours), dtype=np.uint8)
    step = 65536
    for s in range(0, len(colours), step):
        c = colours[s:s + step, None, :]
        rmean = (c[..., 0] + cand[None, :, 0]) / 2.0
        d = c - cand[None, :, :]
        dist = (2 + rmean / 256) * d[..., 0] ** 2 + 4 * d[..., 1] ** 2 + (2 + (255 - rmean) / 256) * d[..., 2] ** 2
        out[s:s + step] = _CANDIDATES[np.argmin(dist, axis=1)]
    return out[back.ravel()]


def quantize(rgba, keyed=True):
    """RGBA float image (HxWx4, 0..1) -> uint8 index image.

    keyed: pixels with alpha < 0.5 become KEY. Opaque pictures (keyed=False)
    are composited over black instead."""
    rgba = np.asarray(rgba, dtype=np.float64)
    h, w = rgba.shape[:2]
    alpha = rgba[..., 3]
    colour = rgba[..., :3] * 255.0
    if keyed:
        # Un-premultiply is not needed: drawings keep straight colour.
        # Only the pixels that will show are matched; the rest are the key.
        idx = np.full((h, w), KEY, dtype=np.uint8)
        shown = ~(alpha < 0.5)
        idx[shown] = _nearest(colour[shown])
    else:
        idx = _nearest((colour * alpha[..., None]).reshape(-1, 3)).reshape(h, w)
    return idx


def downsample(rgba, factor):
    """Box-filter a supersampled RGBA image; colour is averaged by coverage."""
    rgba = np.asarray(rgba, dtype=np.float64)
    h, w = rgba.shape[0] // factor, rgba.shape[1] // factor
    r = rgba[: h * factor, : w * factor].reshape(h, factor, w, factor, 4)
    a = r[..., 3].mean(axis=(1, 3))
    c = (r[..., :3] * r[..., 3:4]).sum(axis=(1, 3)) / np.maximum(r[..., 3].sum(axis=(1, 3)), 1e-9)[..., None]
    return np.concatenate([c, a[..., None]], axis=-1)


def write_bmp(path, idx):
    """Write an index image as an uncompressed bottom-up 8-bit BMP with the palette."""
    idx = np.asarray(idx, dtype=np.uint8)
    h, w = idx.shape
    stride = (w + 3) & ~3
    pixels = bytearray()
    for row in range(h - 1, -1, -1):
        pixels += idx[row].tobytes() + b"\0" * (stride - w)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + table + bytes(pixels))


def read_bmp(path):
    """-> (index image HxW uint8, palette list of 256 RGB). Only our own format."""
    with open(path, "rb") as f:
        data = f.read()
    size, w, h, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 14)
    assert size == 40 and bits == 8 and comp == 0, path
    table = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
    off = struct.unpack_from("<I", data, 10)[0]
    stride = (w + 3) & ~3
    rows = [np.frombuffer(data, np.uint8, w, off + r * stride) for r in range(abs(h))]
    img = np.array(rows[::-1] if h > 0 else rows)
    return img, table


def save_bitmap(res_id, role, frames, keyed=True):
    """Stack frames (RGBA arrays of one size, or index arrays) top to bottom,
    quantise, and write resources/bitmaps/<id>-<role>.bmp.

    keyed=True (sprites drawn with the colour key): the top-left pixel of
    frame 0 must be transparent; it is forced to KEY.
    keyed=False (pictures drawn opaque): no key, composited over black."""
    if not isinstance(frames, (list, tuple)):
        frames = [frames]
    parts = []
    for fr in frames:
        fr = np.asarray(fr)
        parts.append(fr if fr.dtype == np.uint8 and fr.ndim == 2 else quantize(fr, keyed))
    img = np.concatenate(parts, axis=0)
    if keyed:
        img[0, 0] = KEY
    for old in os.listdir(BITMAP_DIR) if os.path.isdir(BITMAP_DIR) else []:
        if old.split("-", 1)[0] == str(res_id) and old.endswith(".bmp"):
            os.remove(os.path.join(BITMAP_DIR, old))
    path = os.path.join(BITMAP_DIR, f"{res_id}-{role}.bmp")
    write_bmp(path, img)
    return path


def index_to_rgb(idx, key_rgb=None):
    """Index image -> uint8 RGB image through the palette (key shown as key_rgb)."""
    pal = np.array(PALETTE, dtype=np.uint8)
    out = pal[idx]
    if key_rgb is not None:
        out[idx == KEY] = key_rgb
    return out
