#!/usr/bin/python3
"""Bold rounded capitals for banners and labels, drawn from our own strokes.

Each glyph is a few centre lines on a grid 10 units high; they are stroked
thick with round joins, so the letters come out chunky and friendly. A
banner fills them with a vertical gradient, bevels the edges (light from the
upper left), rings them with a dark outline and an optional light rim, and
drops a shadow to the lower right.
"""
import numpy as np

from frontend_drawing import Canvas, arc_pts, dilate, path, ramp_rgb, shift

A = arc_pts


def _g():
    g = {}
    g["A"] = (6, [[(0, 10), (3, 0), (6, 10)], [(1.3, 6.6), (4.7, 6.6)]])
    g["B"] = (5.4, [[(0, 0), (0, 10)],
                    path([(0, 0), (2.8, 0)], A(2.8, 2.4, 2.3, 2.4, -90, 90), [(0, 4.8)]),
                    path([(0, 4.8), (3.0, 4.8)], A(3.0, 7.4, 2.5, 2.6, -90, 90), [(0, 10)])])
    g["C"] = (6, [A(3.3, 5, 3.3, 5, -42, -318)])
    g["D"] = (6, [path([(0, 0), (0, 10), (2.2, 10)], A(2.2, 5, 3.8, 5, 90, -90), [(0, 0)])])
    g["E"] = (5, [[(5, 0), (0, 0), (0, 10), (5, 10)], [(0, 5), (4, 5)]])
    g["F"] = (5, [[(5, 0), (0, 0), (0, 10)], [(0, 5), (4, 5)]])
    g["G"] = (6.4, [path(A(3.3, 5, 3.3, 5, -40, -360), [(6.6, 5), (3.8, 5)])])
    g["H"] = (5.4, [[(0, 0), (0, 10)], [(5.4, 0), (5.4, 10)], [(0, 5), (5.4, 5)]])
    g["I"] = (0, [[(0, 0), (0, 10)]])
    g["J"] = (5, [path([(5, 0), (5, 6.8)], A(2.5, 6.8, 2.5, 3.2, 0, 160))])
    g["K"] = (5.4, [[(0, 0), (0, 10)], [(5.2, 0), (0, 6.2)], [(1.8, 4.2), (5.4, 10)]])
    g["L"] = (4.8, [[(0, 0), (0, 10), (4.8, 10)]])
    g["M"] = (7, [[(0, 10), (0, 0), (3.5, 6.2), (7, 0), (7, 10)]])
    g["N"] = (5.6, [[(0, 10), (0, 0), (5.6, 10), (5.6, 0)]])
    g["O"] = (6.6, [A(3.3, 5, 3.3, 5, 0, 360, 72)])
    g["P"] = (5.2, [path([(0, 10), (0, 0), (2.6, 0)], A(2.6, 2.7, 2.6, 2.7, -90, 90), [(0, 5.4)])])
    g["Q"] = (6.6, [A(3.3, 5, 3.3, 5, 0, 360, 72), [(4.0, 7.0), (6.8, 10.4)]])
    g["R"] = (5.4, [path([(0, 10), (0, 0), (2.6, 0)], A(2.6, 2.7, 2.6, 2.7, -90, 90), [(0, 5.4)]),
                    [(2.4, 5.4), (5.4, 10)]])
    g["S"] = (5.6, [path(A(2.9, 2.5, 2.7, 2.5, -25, -270), A(2.9, 7.5, 2.8, 2.5, -90, 155))])
    g["T"] = (6, [[(0, 0), (6, 0)], [(3, 0), (3, 10)]])
    g["U"] = (5.6, [path([(0, 0), (0, 6.9)], A(2.8, 6.9, 2.8, 3.1, 180, 0), [(5.6, 0)])])
    g["V"] = (6, [[(0, 0), (3, 10), (6, 0)]])
    g["W"] = (8, [[(0, 0), (2, 10), (4, 3), (6, 10), (8, 0)]])
    g["X"] = (5.6, [[(0, 0), (5.6, 10)], [(5.6, 0), (0, 10)]])
    g["Y"] = (6, [[(0, 0), (3, 5.2), (6, 0)], [(3, 5.2), (3, 10)]])
    g["Z"] = (5.4, [[(0, 0), (5.4, 0), (0, 10), (5.4, 10)]])
    g["0"] = (5.6, [A(2.8, 5, 2.8, 5, 0, 360, 72)])
    g["1"] = (2.6, [[(0, 2.2), (2.6, 0), (2.6, 10)]])
    g["2"] = (5.6, [path(A(2.8, 2.9, 2.8, 2.9, -165, 25), [(0, 10), (5.6, 10)])])
    g["3"] = (5.4, [A(2.7, 2.5, 2.5, 2.5, -160, 90), A(2.7, 7.4, 2.8, 2.6, -90, 160)])
    g["?"] = (5.2, [path(A(2.6, 2.7, 2.6, 2.7, -165, 50), [(2.6, 6.6), (2.6, 7.0)]), [(2.6, 9.8), (2.6, 9.85)]])
    g["!"] = (0, [[(0, 0), (0, 6.6)], [(0, 9.8), (0, 9.85)]])
    g["."] = (0, [[(0, 9.8), (0, 9.85)]])
    g["-"] = (3, [[(0, 5.2), (3, 5.2)]])
    g[" "] = (2.6, [])
    return g


GLYPHS = _g()


def text_strokes(text, stroke, gap=1.1):
    """Centre lines of a line of text in glyph units, and its total width (incl. stroke)."""
    lines, x = [], stroke / 2
    for ch in text:
        w, strokes = GLYPHS[ch]
        for s in strokes:
            lines.append([(x + px, py + stroke / 2) for px, py in s])
        x += w + stroke + gap
    return lines, x - gap - stroke / 2


def text_mask(c, text, x, y, height, stroke=2.4, gap=1.1, spacing=None):
    """Mask of text whose letter bodies span `height` output pixels from (x, y) top-left."""
    unit = height / (10 + stroke)
    lines, _ = text_strokes(text, stroke, gap if spacing is None else spacing)
    pts = [[(x + px * unit, y + py * unit) for px, py in ln] for ln in lines]
    m = np.zeros((c.h * c.ss, c.w * c.ss), bool)
    for ln in pts:
        m |= c.stroke(ln, stroke * unit)
    return m


def text_width(text, height, stroke=2.4, gap=1.1):
    unit = height / (10 + stroke)
    return text_strokes(text, stroke, gap)[1] * unit


# Colour schemes: fill gradient stops (ramp, level) top to bottom, outline, rim.
GOLD = dict(stops=[("gold", 1.0), ("gold", 0.78), ("fire", 0.62), ("fire", 0.42)],
            outline=("violet", 0.02), rim=("gold", 1.0), shadow=("night", 0.0))
SILVER = dict(stops=[("grey", 1.0), ("ice", 0.85), ("sky", 0.55), ("violet", 0.45)],
              outline=("violet", 0.02), rim=None, shadow=("night", 0.0))


def _stops_rgb(stops, t):
    n = len(stops) - 1
    cols = np.stack([ramp_rgb(r, l) for r, l in stops])
    t = np.clip(t, 0, 1) * n
    i = np.minimum(np.floor(t).astype(int), n - 1)
    f = (t - i)[..., None]
    return cols[i] * (1 - f) + cols[i + 1] * f


def lettering(c, mask, scheme, outline_px, rim_px=0.0, shadow=(2, 2), bevel_px=1.5, top=None, bottom=None):
    """Paint a text mask on canvas c as a finished banner."""
    ss = c.ss
    ol = dilate(mask, outline_px * ss)
    outer = dilate(ol, rim_px * ss) if rim_px > 0 else ol
    if shadow:
        sh = shift(outer, int(shadow[0] * ss), int(shadow[1] * ss))
        c.paint(sh & ~outer, ramp_rgb(*scheme["shadow"]), 0.85)
    if rim_px > 0 and scheme.get("rim"):
        c.paint(outer & ~ol, ramp_rgb(*scheme["rim"]))
    c.paint(ol & ~mask, ramp_rgb(*scheme["outline"]))
    ys = np.nonzero(mask)[0]
    y0 = ys.min() / ss if top is None else top
    y1 = ys.max() / ss if bottom is None else bottom
    t = (c.yy - y0) / max(1.0, y1 - y0)
    fill = _stops_rgb(scheme["stops"], t)
    d = max(1, int(bevel_px * ss))
    lit = mask & ~shift(mask, d, d)
    dark = mask & ~shift(mask, -d, -d)
    fill = np.where(lit[..., None], fill * 0.35 + 0.65, fill)
    fill = np.where((dark & ~lit)[..., None], fill * 0.62, fill)
    c.paint(mask, fill)


def banner(w, h, text, scheme, margin=None, outline_px=None, rim_px=None, stroke=2.4, gap=1.1,
           shadow=None, ss=4, extra=None):
    """A keyed RGBA picture w x h holding `text` as large as fits, centred."""
    c = Canvas(w, h, ss)
    height = h
    outline_px = outline_px if outline_px is not None else max(1.5, h / 26)
    rim_px = rim_px if rim_px is not None else (max(1.0, h / 45) if scheme.get("rim") else 0)
    sh = shadow if shadow is not None else max(1, round(h / 30))
    pad = outline_px + rim_px + 0.5
    margin = margin if margin is not None else pad
    avail_w = w - 2 * margin - sh
    avail_h = h - 2 * margin - sh
    height = avail_h
    tw = text_width(text, height, stroke, gap)
    if tw > avail_w:
        height *= avail_w / tw
        tw = avail_w
    x = margin + (avail_w - tw) / 2
    y = margin + (avail_h - height) / 2
    m = text_mask(c, text, x, y, height, stroke, gap)
    lettering(c, m, scheme, outline_px, rim_px, (sh, sh), bevel_px=max(1.0, height / 40))
    if extra:
        extra(c, x, y, tw, height)
    return c.result()
