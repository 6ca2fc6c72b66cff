#!/usr/bin/python3
"""The glyph strips: text fonts 205 and 204 (11x18 cells) and the status
digits 108 (14x22 cells), plus `big_word` for the status words, which must
look exactly like the digits.

Every glyph is its hand-made body (glyphs.py) with a one-pixel border all
round (corners included, so the shape stays closed against busy
backgrounds), a one-pixel shadow down-right, and a fill that darkens from
top to bottom in three bands, as if lit from above.
"""
import numpy as np

import glyphs
import pix
from palette import KEY, shade

# Colourings: (border, shadow, fill bands top to bottom)
GREEN = (shade("azure", 0.0), shade("night", 0.0), [shade("lime", 1.0), shade("lime", 0.86), shade("leaf", 0.8)])
YELLOW = (shade("red", 0.08), shade("night", 0.0), [shade("gold", 1.0), shade("gold", 0.91), shade("gold", 0.73)])
STATUS = (shade("wood", 0.0), shade("night", 0.0), [shade("fire", 1.0), shade("gold", 0.82), shade("fire", 0.68)])


def body_mask(rows):
    return np.array([[c == "#" for c in r] for r in rows], dtype=bool)


def render(mask, cell_w, cell_h, left, top, colours):
    """Place a body mask in a cell at (left, top) and colour it."""
    border, shadow, bands = colours
    cell = np.zeros((cell_h, cell_w), dtype=bool)
    h, w = mask.shape
    cell[top:top + h, left:left + w] = mask
    ring = pix.dilate(cell) & ~cell
    drop = pix.shift(cell | ring, 1, 1) & ~(cell | ring)
    out = np.full((cell_h, cell_w), KEY, dtype=np.uint8)
    out[drop] = shadow
    out[ring] = border
    rows = np.arange(cell_h)[:, None].repeat(cell_w, axis=1)
    band = np.clip(((rows - top) * 3) // h, 0, 2)
    for b in range(3):
        out[cell & (band == b)] = bands[b]
    return out


def small_strip(colours):
    return [render(body_mask(glyphs.SMALL[c]), 11, 18, 1, 2, colours) for c in glyphs.SMALL_ORDER]


def digit_strip():
    return [render(body_mask(glyphs.BIG[c]), 14, 22, 2, 2, STATUS) for c in glyphs.BIG_DIGIT_ORDER]


def big_word(word, width, height=22):
    """A status word in the digit style, centred in width x height."""
    masks = [body_mask(glyphs.BIG[c]) for c in word]
    gap = 3  # border + one clear pixel + border between neighbours
    total = sum(m.shape[1] for m in masks) + gap * (len(masks) - 1)
    assert total + 3 <= width, (word, total, width)
    body = np.zeros((18, total), dtype=bool)
    x = 0
    for m in masks:
        body[:, x:x + m.shape[1]] = m
        x += m.shape[1] + gap
    left = 1 + (width - 3 - total) // 2
    return render(body, width, height, left, 2, STATUS)


def main():
    from artlib import save_bitmap
    print(save_bitmap(205, "font-green", small_strip(GREEN)))
    print(save_bitmap(204, "font-yellow", small_strip(YELLOW)))
    print(save_bitmap(108, "digits", digit_strip()))


if __name__ == "__main__":
    main()
