#!/usr/bin/python3
"""The window and desktop icon: the witch's head in her hat, tilted a little so
the bent crown fits the square, on a small night-sky disc. Written as RGBA
PNG files (soft edges) for every launcher size, resources/icons/velloria-N.png
for N in SIZES (192 and 512 for the web page's manifest), and as a scalable picture, resources/icons/velloria.svg, drawn
by the same code on the SVG canvas (at the 256 design: 256 px is its natural
size). The web page's manifest also takes a maskable icon,
resources/icons/velloria-maskable-512.png: the same drawing on a full square
of the page's night colour, small enough to stay whole inside the circle a
launcher may cut it to."""
import os

import numpy as np
from PIL import Image

from artlib import ROOT
from frontend_drawing import Canvas, Xf, col, sparkle
from frontend_witch import hair_back, hat, head
from svg_canvas import SvgCanvas

ICON_DIR = os.path.join(ROOT, "resources", "icons")
# The hicolor theme's sizes, then the two a web app's manifest asks for.
SIZES = (16, 22, 24, 32, 48, 64, 128, 256, 192, 512)
SVG_DESIGN = 256
MASKABLE_SIZE = 512
# A launcher keeps at least the circle of 40 % of the side around the centre;
# the drawing (its disc and the hat's tip reach 45 % of its side from the
# centre) is shrunk to lie inside it.
MASKABLE_DRAWING = 0.72
PAGE_NIGHT = (0x24, 0x12, 0x47)  # the page's theme colour


def draw(c, size):
    k = size / 64.0
    disc = c.ellipse(32 * k, 32 * k, 29 * k, 29 * k)
    c.part(disc, "violet", 0.06, 0.3, outline=col("gold", 0.75), ow=1.6 * k + 0.4, rim=False)
    if size >= 64:
        sparkle(c, 50 * k, 50 * k, 4.5 * k, ow=0.6 * max(1.0, k))
    xf = Xf(36 * k, 40 * k, 0.53 * k, rot=14)
    # Outlines grow with the icon above 64 px, so the big ones read alike.
    ow = 1.1 * max(1.0, k) if size >= 64 else 0.8
    hair_back(c, xf, plaits=(), ow=ow)
    head(c, xf, "fly", ow)
    hat(c, xf, ow)


def icon(size):
    c = Canvas(size, size, max(4, 256 // size))
    draw(c, size)
    return c.result()


def icon_svg():
    c = SvgCanvas(SVG_DESIGN, SVG_DESIGN)
    draw(c, SVG_DESIGN)
    return c.result()


def maskable(size):
    inner = round(size * MASKABLE_DRAWING)
    drawing = icon(inner)
    out = np.empty((size, size, 4))
    out[:, :, :3] = np.array(PAGE_NIGHT) / 255.0
    out[:, :, 3] = 1.0
    at = (size - inner) // 2
    alpha = drawing[:, :, 3:4]
    window = out[at:at + inner, at:at + inner, :3]
    window[:] = drawing[:, :, :3] * alpha + window * (1.0 - alpha)
    return out


def make():
    os.makedirs(ICON_DIR, exist_ok=True)
    out = []
    for size in SIZES:
        rgba = np.clip(icon(size) * 255.0 + 0.5, 0, 255).astype(np.uint8)
        path = os.path.join(ICON_DIR, f"velloria-{size}.png")
        Image.fromarray(rgba, "RGBA").save(path)
        out.append(path)
    rgba = np.clip(maskable(MASKABLE_SIZE) * 255.0 + 0.5, 0, 255).astype(np.uint8)
    path = os.path.join(ICON_DIR, f"velloria-maskable-{MASKABLE_SIZE}.png")
    Image.fromarray(rgba, "RGBA").save(path)
    out.append(path)
    path = os.path.join(ICON_DIR, "velloria.svg")
    with open(path, "w") as f:
        f.write(icon_svg())
    out.append(path)
    return out


if __name__ == "__main__":
    for p in make():
        print(p)
