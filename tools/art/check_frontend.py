#!/usr/bin/python3
"""Checks on the front-end pictures that a glance at the contact sheet misses:
sizes, key use, the seamless tile, box pieces that join, the checkered row
shade, the blinking cursor, mirror pairs, and the icons. Prints one line per
failure and returns the number of failures."""
import os
import sys
from xml.etree import ElementTree

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import frontend_icon  # noqa: E402
from artlib import BITMAP_DIR, ROOT, read_bmp  # noqa: E402
from frames import BITMAPS  # noqa: E402
from palette import KEY, PALETTE  # noqa: E402

FRONT_END = [309, 191, 195, 197, 196, 187, 255, 215, 216, 291, 293, 275, 289, 288, 287, 286, 285, 284,
             211, 212, 209, 210, 295, 297, 298, 308]
_PAL = np.array(PALETTE, dtype=np.int32)


def load(res_id):
    w, h, n, keyed, role = BITMAPS[res_id]
    path = os.path.join(BITMAP_DIR, f"{res_id}-{role}.bmp")
    if not os.path.exists(path):
        return None
    return read_bmp(path)[0]


def frames(img, res_id):
    n = BITMAPS[res_id][2]
    fh = img.shape[0] // n
    return [img[i * fh:(i + 1) * fh] for i in range(n)]


def check_format(fail):
    for res_id in FRONT_END:
        w, h, n, keyed, role = BITMAPS[res_id]
        img = load(res_id)
        if img is None:
            fail(f"{res_id}: missing")
            continue
        if img.shape != (h, w):
            fail(f"{res_id}: size {img.shape[1]}x{img.shape[0]}, wanted {w}x{h}")
            continue
        if keyed:
            if img[0, 0] != KEY:
                fail(f"{res_id}: top-left pixel is not the key")
            for i, fr in enumerate(frames(img, res_id)):
                if (fr != KEY).sum() == 0:
                    fail(f"{res_id}: frame {i} is empty")
        elif (img == KEY).any():
            fail(f"{res_id}: opaque picture uses the key index {int((img == KEY).sum())} times")


def rgb(img):
    return _PAL[img]


def check_pinholes(fail):
    """No lone key pixel inside a drawn shape: it would show as a speck."""
    for res_id in FRONT_END:
        if not BITMAPS[res_id][3] or res_id == 293:
            continue
        img = load(res_id)
        if img is None:
            continue
        for i, fr in enumerate(frames(img, res_id)):
            k = fr == KEY
            p = np.pad(k, 1, constant_values=True)
            boxed = k & ~p[:-2, 1:-1] & ~p[2:, 1:-1] & ~p[1:-1, :-2] & ~p[1:-1, 2:]
            if boxed.any():
                fail(f"{res_id}: frame {i} has {int(boxed.sum())} pinholes")


def check_tile(fail):
    """The step across the wrap must look like any step inside the tile."""
    img = load(191)
    if img is None:
        return
    c = rgb(img)
    inside_x = np.abs(c[:, 1:] - c[:, :-1]).sum(axis=2).mean()
    inside_y = np.abs(c[1:] - c[:-1]).sum(axis=2).mean()
    seam_x = np.abs(c[:, 0] - c[:, -1]).sum(axis=1).mean()
    seam_y = np.abs(c[0] - c[-1]).sum(axis=1).mean()
    if seam_x > 1.5 * inside_x + 1 or seam_y > 1.5 * inside_y + 1:
        fail(f"191: seam step {seam_x:.1f}/{seam_y:.1f} against {inside_x:.1f}/{inside_y:.1f} inside")


def check_logo_on_white(fail):
    img = load(309)
    if img is None:
        return
    border = np.concatenate([img[0], img[-1], img[:, 0], img[:, -1]])
    if (border != 255).any():
        fail("309: the logo's border is not the screen's white, a box would show")


def check_box(fail):
    for left, mid, right in ((289, 288, 287), (286, 285, 284)):
        l, m, r = load(left), load(mid), load(right)
        if l is None or m is None or r is None:
            continue
        if not (m == m[:, :1]).all():
            fail(f"{mid}: columns differ, repeated middles would show a seam")
        if not (l[:, -1] == m[:, 0]).all() or not (r[:, 0] == m[:, -1]).all():
            fail(f"{left}/{mid}/{right}: the ends do not continue the middle")
    # The field's corner pixels stand in for the panel behind them (it sits 37 rows down).
    panel, lo_l, lo_r = load(288), load(286), load(284)
    if panel is not None and lo_l is not None and lo_r is not None:
        corners = [lo_l[0, 0], lo_l[-1, 0], lo_r[0, -1], lo_r[-1, -1]]
        behind = [panel[37, 0], panel[37 + 24, 0]] * 2
        if corners != behind:
            fail("286/284: the field's corners do not match the panel behind them")


def check_row_shade(fail):
    img = load(293)
    if img is None:
        return
    y, x = np.mgrid[0:img.shape[0], 0:img.shape[1]]
    if (img[(x + y) % 2 == 0] != KEY).any():
        fail("293: a pixel that should let the background through is drawn")
    if (img[(x + y) % 2 == 1] != KEY).mean() < 0.9:
        fail("293: the strip is mostly holes")


def check_cursor(fail):
    img = load(275)
    if img is None:
        return
    on, dim = frames(img, 275)
    bright = [rgb(f)[f != KEY].sum(axis=1).max() if (f != KEY).any() else 0 for f in (on, dim)]
    if not bright[1] < 0.6 * bright[0]:
        fail(f"275: frame 1 should be a dim blink of frame 0 (brightness {bright[1]:.0f} against {bright[0]:.0f})")


def check_mirrors(fail):
    for a, b in ((197, 196), (215, 216)):
        ia, ib = load(a), load(b)
        if ia is None or ib is None:
            continue
        ma, mb = ia != KEY, ib[:, ::-1] != KEY
        if (ma != mb).mean() > 0.01:
            fail(f"{a}/{b}: shapes are not mirror images ({(ma != mb).mean():.2%} differ)")


def check_labels(fail):
    img = load(255)
    if img is None:
        return
    heights = []
    for fr in frames(img, 255):
        rows = np.flatnonzero((fr != KEY).any(axis=1))
        heights.append(rows[-1] - rows[0] if len(rows) else 0)
    if max(heights) - min(heights) > 2:
        fail(f"255: label letters differ in height {heights}")


def check_icons(fail):
    svg = os.path.join(ROOT, "resources", "icons", "velloria.svg")
    try:
        root = ElementTree.parse(svg).getroot()
        if root.get("viewBox") != "0 0 256 256":
            fail(f"icon svg: viewBox {root.get('viewBox')}")
    except (OSError, ElementTree.ParseError) as e:
        fail(f"icon svg: {e}")
    for size in frontend_icon.SIZES:
        path = os.path.join(ROOT, "resources", "icons", f"velloria-{size}.png")
        if not os.path.exists(path):
            fail(f"icon {size}: missing")
            continue
        im = Image.open(path)
        a = np.asarray(im.convert("RGBA"))
        if im.size != (size, size):
            fail(f"icon {size}: size {im.size}")
        if a[0, 0, 3] != 0 or a[-1, -1, 3] != 0:
            fail(f"icon {size}: corners should be transparent")
        if (a[..., 3] > 128).mean() < 0.4:
            fail(f"icon {size}: too little is drawn")
    check_maskable(fail)


def check_maskable(fail):
    """Opaque to the edges, and nothing but the night colour outside the
    circle a launcher keeps."""
    size = frontend_icon.MASKABLE_SIZE
    path = os.path.join(ROOT, "resources", "icons", f"velloria-maskable-{size}.png")
    if not os.path.exists(path):
        fail("maskable icon: missing")
        return
    a = np.asarray(Image.open(path).convert("RGBA")).astype(int)
    if a.shape[:2] != (size, size) or (a[..., 3] != 255).any():
        fail(f"maskable icon: {a.shape[1]}x{a.shape[0]}, should be {size}x{size} and opaque")
        return
    y, x = np.mgrid[0:size, 0:size]
    outside = np.hypot(x - (size - 1) / 2, y - (size - 1) / 2) > 0.4 * size
    drawn = np.abs(a[..., :3] - np.array(frontend_icon.PAGE_NIGHT)).sum(axis=2) > 6
    if (drawn & outside).any():
        fail(f"maskable icon: {(drawn & outside).sum()} pixels drawn outside the kept circle")


def main():
    failures = []
    fail = failures.append
    for check in (check_format, check_pinholes, check_tile, check_logo_on_white, check_box, check_row_shade, check_cursor,
                  check_mirrors, check_labels, check_icons):
        check(fail)
    for f in failures:
        print("FAIL", f)
    print(f"front end: {len(FRONT_END)} bitmaps and {len(frontend_icon.SIZES) + 2} icons checked, "
          f"{len(failures)} problems")
    return len(failures)


if __name__ == "__main__":
    sys.exit(1 if main() else 0)
