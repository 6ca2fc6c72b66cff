#!/usr/bin/python3
"""The big screen notices: GET READY 160, GAME 161, OVER 162, POWER UP 139.

The letters are the status font's shapes enlarged four times and rounded, so
every piece of text in the game shares one family. Each word gets a bright
gradient fill (dithered between ramp shades so it does not band), a bevel
lit from the upper left, a thick dark border and a drop shadow, so it reads
over any background while it flies across the playfield.
"""
import numpy as np

import glyphs
import pix
from artlib import save_bitmap
from palette import KEY, shade

SCALE = 4
BORDER = 3
SHADOW = 4

GOLD = [shade("gold", 1.0), shade("gold", 0.91), shade("gold", 0.82), shade("fire", 0.85), shade("fire", 0.7),
        shade("fire", 0.6), shade("fire", 0.5)]
RED = [shade("red", 1.0), shade("red", 0.85), shade("red", 0.7), shade("red", 0.6), shade("red", 0.5),
       shade("red", 0.4), shade("red", 0.3)]
BLUE = [shade("ice", 1.0), shade("azure", 0.9), shade("azure", 0.8), shade("azure", 0.7), shade("azure", 0.6),
        shade("violet", 0.55), shade("violet", 0.45)]


def word_mask(text):
    """Body of a word at 1x: glyphs enlarged, corners rounded."""
    parts = []
    for ch in text:
        if ch == " ":
            parts.append(np.zeros((18, 5), dtype=bool))
        else:
            parts.append(np.array([[c == "#" for c in r] for r in glyphs.BIG[ch]], dtype=bool))
        parts.append(np.zeros((18, 2), dtype=bool))
    body = np.concatenate(parts[:-1], axis=1)
    big = np.kron(body.astype(np.float64), np.ones((SCALE, SCALE)))
    return pix.blur(np.pad(big, 2), 2.5)[2:-2, 2:-2] > 0.5


def notice(text, width, height, stops, border_colour):
    body = word_mask(text)
    bh, bw = body.shape
    top = (height - bh - 2 * BORDER - SHADOW) // 2 + BORDER
    left = (width - bw - 2 * BORDER - SHADOW) // 2 + BORDER
    assert top >= BORDER and left >= BORDER, (text, bw, bh, width, height)
    m = np.zeros((height, width), dtype=bool)
    m[top:top + bh, left:left + bw] = body
    # Bevel: compare the letter with itself moved towards the light.
    lit = m & ~pix.shift(m, 2, 2)
    dark = m & ~pix.shift(m, -2, -2)
    y = (np.arange(height)[:, None] - top) / bh
    t = np.clip(y, 0, 1) * 0.95 + np.where(lit, -0.35, 0) + np.where(dark, 0.3, 0)
    t = np.clip(t * (len(stops) - 1) + pix.bayer(height, width) - 0.5, 0, len(stops) - 1)
    fill = np.array(stops)[np.round(t).astype(int)]
    out = np.full((height, width), KEY, dtype=np.uint8)
    ring = m.copy()
    for _ in range(BORDER):
        ring = pix.dilate(ring)
    shadow = pix.shift(ring, SHADOW, SHADOW) & ~ring
    out[shadow] = shade("night", 0.0)
    out[ring] = border_colour
    inner = pix.dilate(m) & ~m
    out[inner] = shade("night", 0.0)
    out[m] = fill[m]
    # A glint on the top edge of every letter.
    glint = m & ~pix.shift(m, 1, 0) & lit
    out[glint] = shade("grey", 1.0)
    return out


def main():
    print(save_bitmap(160, "notice-get-ready", [notice("GET READY", 442, 91, GOLD, shade("wood", 0.15))]))
    print(save_bitmap(161, "notice-game", [notice("GAME", 249, 90, RED, shade("red", 0.08))]))
    print(save_bitmap(162, "notice-over", [notice("OVER", 228, 88, RED, shade("red", 0.08))]))
    print(save_bitmap(139, "notice-power-up", [notice("POWER UP", 451, 89, BLUE, shade("violet", 0.1))]))


if __name__ == "__main__":
    main()
