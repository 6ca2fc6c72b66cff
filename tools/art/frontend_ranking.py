#!/usr/bin/python3
"""Ranking and name-entry pictures: the RANKING banner, the checkered row
shade, the blinking text cursor and the six pieces of the name box.

The box pieces are cut from one panel drawn at 1x, so left, middle and right
share every row's colour; the middle columns are identical, so any number of
middles joins without a seam. The input field is sunken (light from the upper
left) and its corners show the panel behind it, at the height where the
field sits inside the panel.
"""
import numpy as np

from artlib import save_bitmap
from frontend_drawing import sparkle
from frontend_lettering import GOLD, banner
from palette import KEY, shade

PANEL_H = 75
FIELD_H = 25
FIELD_TOP = 37  # where the field sits inside the panel


def ranking_banner():
    def extra(c, x, y, w, h):
        for sx, sy, r in ((x - 2, y + 8, 11), (x + w + 2, y + h - 8, 9)):
            sparkle(c, sx, sy, r, ow=1.0)
    return banner(379, 88, "RANKING", GOLD, margin=12, outline_px=3.0, rim_px=1.6, stroke=2.3, gap=1.0,
                  shadow=3, extra=extra)


def row_shade():
    """272 x 31: every other pixel key, the rest a deep night blue with a
    lighter edge, in a rounded strip; laid over the scrolling tiles it dims
    them behind a name."""
    w, h = 272, 31
    y, x = np.mgrid[0:h, 0:w]
    r = 6
    cx = np.clip(x, r, w - 1 - r)
    cy = np.clip(y, r, h - 1 - r)
    inside = (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 1
    rim = inside & ~(((x - np.clip(x, r + 1, w - 2 - r)) ** 2 + (y - np.clip(y, r + 1, h - 2 - r)) ** 2) <= r * r + 1)
    img = np.full((h, w), shade("night", 0.1), np.uint8)
    img[rim] = shade("violet", 0.45)
    img[y < h // 2] = np.where(rim[y < h // 2], shade("violet", 0.55), shade("night", 0.2))
    img[~inside | ((x + y) % 2 == 0)] = KEY
    return img


def text_cursor():
    """Frame 0: an underline bar in the name font's colours; frame 1 the same bar
    dimmed to a faint glow, so it blinks but never leaves the player looking
    for it (and no frame is empty)."""
    on = np.full((18, 11), KEY, np.uint8)
    on[14:18, 0:11] = 236  # the font's dark blue border
    on[15:17, 1:10] = shade("lime", 1.0)
    on[15, 1:10] = shade("lime", 0.86)
    dim = np.full((18, 11), KEY, np.uint8)
    dim[15:17, 1:10] = shade("azure", 0.2)
    dim[15, 1:10] = shade("azure", 0.28)
    return [on, dim]


def _panel_row_colour(y):
    """Interior colour of the panel at row y: lighter toward the top."""
    return shade("violet", 0.34 - 0.12 * y / PANEL_H)


def panel(width):
    """Index image of the whole panel `width` wide: gold bevelled frame, rounded corners on black."""
    img = np.zeros((PANEL_H, width), np.uint8)
    y, x = np.mgrid[0:PANEL_H, 0:width]
    for row in range(PANEL_H):
        img[row, :] = _panel_row_colour(row)
    # Distance to the outer edge, with rounded corners of radius 7.
    r = 7
    cx = np.clip(x, r, width - 1 - r)
    cy = np.clip(y, r, PANEL_H - 1 - r)
    d = r - np.sqrt((x - cx) ** 2 + (y - cy) ** 2)
    d = np.where((x >= r) & (x <= width - 1 - r), np.minimum(y, PANEL_H - 1 - y), d)
    d = np.where((y >= r) & (y <= PANEL_H - 1 - r), np.minimum(x, width - 1 - x), d)
    # Light from the upper left: the top and left sides of the frame are lit.
    lit = np.minimum(x, y) <= np.minimum(width - 1 - x, PANEL_H - 1 - y)
    gold_hi, gold_lo = shade("gold", 0.92), shade("gold", 0.5)
    img = np.where((d >= 1) & (d < 4), np.where(lit, gold_hi, gold_lo), img)
    img = np.where((d >= 1.9) & (d < 2.9), np.where(lit, shade("gold", 0.75), shade("gold", 0.38)), img)
    img = np.where((d >= 0) & (d < 1), shade("violet", 0.02), img)
    img = np.where((d >= 4) & (d < 5), shade("violet", 0.06), img)
    img = np.where((d >= 5) & (d < 6) & lit, shade("violet", 0.45), img)
    img = np.where(d < 0, 0, img)
    return img.astype(np.uint8)


def _stud(img, cx, cy):
    """A little gold four-point star set into the side of the panel."""
    pts = {(0, -3): 0.85, (0, -2): 1.0, (-1, -1): 0.9, (0, -1): 1.0, (1, -1): 0.8, (-3, 0): 0.85, (-2, 0): 1.0,
           (-1, 0): 1.0, (0, 0): 1.0, (1, 0): 0.8, (2, 0): 0.6, (3, 0): 0.5, (-1, 1): 0.7, (0, 1): 0.7, (1, 1): 0.5,
           (0, 2): 0.55, (0, 3): 0.45}
    for (dx, dy), lv in pts.items():
        img[cy + dy, cx + dx] = shade("gold", lv)


def box_pieces():
    whole = panel(20 + 11 * 3 + 20)
    _stud(whole, 12, 23)
    _stud(whole, whole.shape[1] - 13, 23)
    left, middle, right = whole[:, :20], whole[:, 20:31], whole[:, -20:]
    return left, middle, right


def field(width):
    """The sunken input field: dark inside, shadowed top and left, lit bottom and right."""
    img = np.zeros((FIELD_H, width), np.uint8)
    for row in range(FIELD_H):
        img[row, :] = shade("night", 0.12 + 0.14 * row / FIELD_H)
    y, x = np.mgrid[0:FIELD_H, 0:width]
    edge = np.minimum.reduce([x, y, width - 1 - x, FIELD_H - 1 - y])
    upper_left = (y < FIELD_H - 1 - y) & (y <= np.minimum(x, width - 1 - x)) | (x <= y) & (x < width - 1 - x) & (x <= FIELD_H - 1 - y)
    img = np.where(edge == 0, np.where(upper_left, shade("violet", 0.04), shade("violet", 0.62)), img)
    img = np.where(edge == 1, np.where(upper_left, shade("night", 0.0), shade("violet", 0.36)), img)
    # Rounded corners show the panel behind.
    for cy_, cx_ in ((0, 0), (0, width - 1), (FIELD_H - 1, 0), (FIELD_H - 1, width - 1)):
        img[cy_, cx_] = _panel_row_colour(FIELD_TOP + cy_)
    return img.astype(np.uint8)


def field_pieces():
    whole = field(6 + 11 * 3 + 6)
    return whole[:, :6], whole[:, 6:17], whole[:, -6:]


def make():
    ul, um, ur = box_pieces()
    ll, lm, lr = field_pieces()
    return [save_bitmap(291, "ranking-banner", ranking_banner()),
            save_bitmap(293, "ranking-row", row_shade()),
            save_bitmap(275, "text-cursor", text_cursor()),
            save_bitmap(289, "box-upper-left", ul, keyed=False),
            save_bitmap(288, "box-upper-middle", um, keyed=False),
            save_bitmap(287, "box-upper-right", ur, keyed=False),
            save_bitmap(286, "box-lower-left", ll, keyed=False),
            save_bitmap(285, "box-lower-middle", lm, keyed=False),
            save_bitmap(284, "box-lower-right", lr, keyed=False)]


if __name__ == "__main__":
    for p in make():
        print(p)
