#!/usr/bin/python3
"""Compose the front-end screens at 1x from the bitmaps, at the places the game
draws them, for review: logo, title, ranking, name entry, continue, ending.

Usage: tools/art/mockup_frontend.py [OUTDIR] [--fonts DIR]

Text drawn by the game's fonts (names, scores, prompts) uses the font
bitmaps 205/204 and digits 108 when found in resources/bitmaps or in
--fonts DIR; otherwise a plain stand-in lettering.
"""
import argparse
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(__file__))
from artlib import BITMAP_DIR, index_to_rgb, read_bmp  # noqa: E402
from frames import BITMAPS  # noqa: E402
from palette import KEY  # noqa: E402

W, H = 640, 480


def find(res_id, dirs):
    for d in dirs:
        if os.path.isdir(d):
            for f in os.listdir(d):
                if f.endswith(".bmp") and f.split("-", 1)[0] == str(res_id):
                    return os.path.join(d, f)
    return None


class Screen:
    def __init__(self, dirs):
        self.dirs = dirs
        self.rgb = np.zeros((H, W, 3), np.uint8)
        self.missing = set()

    def frame(self, res_id, f=0):
        p = find(res_id, self.dirs)
        if p is None:
            self.missing.add(res_id)
            return None
        idx, _ = read_bmp(p)
        n = BITMAPS[res_id][2] if res_id in BITMAPS else 1
        fh = idx.shape[0] // n
        return idx[f * fh:(f + 1) * fh]

    def draw(self, res_id, x, y, f=0, keyed=True, centre=False):
        """Top-left at (x, y) (or centred there), clipped to the screen."""
        idx = self.frame(res_id, f)
        if idx is None:
            return None
        h, w = idx.shape
        if centre:
            x, y = x - w // 2, y - h // 2
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(W, x + w), min(H, y + h)
        if x1 <= x0 or y1 <= y0:
            return (w, h)
        part = idx[y0 - y:y1 - y, x0 - x:x1 - x]
        rgb = index_to_rgb(part)
        dst = self.rgb[y0:y1, x0:x1]
        if keyed:
            m = part != KEY
            dst[m] = rgb[m]
        else:
            dst[...] = rgb
        return (w, h)

    def tiles(self, offset):
        for r in range(7):
            for c in range(9):
                self.draw(191, 80 * c - offset, 80 * r - offset, keyed=False)

    def text(self, s, x, y, font_id):
        """Text in the game's 11 x 18 cells; returns the x after the last cell."""
        strip = find(font_id, self.dirs)
        if strip:
            idx, _ = read_bmp(strip)
            for ch in s.upper():
                g = None
                if "A" <= ch <= "Z":
                    g = ord(ch) - 65
                elif "0" <= ch <= "9":
                    g = 26 + ord(ch) - 48
                elif ch == "-":
                    g = 36
                elif ch == ".":
                    g = 37
                if g is not None:
                    cell = idx[g * 18:(g + 1) * 18]
                    m = cell != KEY
                    self.rgb[y:y + 18, x:x + 11][m] = index_to_rgb(cell)[m]
                x += 11
            return x
        img = Image.fromarray(self.rgb)
        d = ImageDraw.Draw(img)
        colour = (200, 255, 200) if font_id == 205 else (255, 240, 160)
        font = ImageFont.load_default()
        for ch in s.upper():
            d.text((x + 2, y + 3), ch, fill=colour, font=font)
            x += 11
        self.rgb[...] = np.asarray(img)
        return x

    def digits(self, s, x, y):
        strip = find(108, self.dirs)
        if strip is None:
            return self.text(s, x, y, 204)
        idx, _ = read_bmp(strip)
        for ch in s:
            g = ord(ch) - 48
            cell = idx[g * 22:(g + 1) * 22]
            m = cell != KEY
            self.rgb[y:y + 22, x:x + 14][m] = index_to_rgb(cell)[m]
            x += 14
        return x

    def save(self, path):
        Image.fromarray(self.rgb).save(path)
        note = f"  (missing: {sorted(self.missing)})" if self.missing else ""
        print(path + note)


def logo(dirs, out):
    s = Screen(dirs)
    s.rgb[...] = 255
    s.draw(309, 320, 240, keyed=False, centre=True)
    s.save(os.path.join(out, "mock_logo.png"))


def title(dirs, out, selection=0, char_x=27):
    s = Screen(dirs)
    s.tiles(37)
    s.draw(197, 120, 116, centre=True)
    s.draw(196, 520, 116, centre=True)
    s.draw(195, 320, 136, centre=True)
    s.draw(187, char_x, 220)
    for i in range(5):
        s.draw(255, 425, 260 + 34 * i, f=i)
    y = 260 + 34 * selection + 13
    s.draw(215, 411, y, f=0, centre=True)
    s.draw(216, 601, y, f=0, centre=True)
    s.text("(C) 2026 KORVA GAMES", 8, 460, 205)
    s.save(os.path.join(out, "mock_title.png"))


def ranking(dirs, out):
    s = Screen(dirs)
    s.tiles(11)
    s.draw(291, 320, 82, centre=True)
    names = ["WITCHY", "BROOMSTICK", "HAZEL", "MOONLIGHT", "PUMPKIN", "STARDUST", "EMBER", "NOVICE"]
    for i in range(8):
        y = 157 + 36 * i
        s.digits(str(i + 1), 171, y + 4)
        s.draw(293, 196, y)
        s.text(names[i], 213, y + 7, 204)
        s.digits(f"{(800 - i * 100) % 10000:04d}", 394, y + 5)
    s.save(os.path.join(out, "mock_ranking.png"))


def name_entry(dirs, out, typed="HAZEL"):
    s = Screen(dirs)
    prompt = "Enter Your Name  "
    x, y = 206, 202
    row = [289] + [288] * len(prompt) + [287]
    field = [286] + [285] * 16 + [284]
    for ids, px, py in ((row, x, y), (field, x + 20, y + 37)):
        for res_id in ids:
            s.draw(res_id, px, py, keyed=False)
            px += BITMAPS[res_id][0]
    s.text(prompt, x + 20, y + 14, 205)
    end = s.text(typed, x + 26, y + 41, 205)
    s.draw(275, end, y + 41, f=0)
    s.save(os.path.join(out, "mock_name_entry.png"))


def continue_screen(dirs, out, selection=0):
    s = Screen(dirs)
    s.tiles(50)
    s.draw(211, 320, 254, keyed=False, centre=True)
    s.draw(212, 320, 53, centre=True)
    s.draw(209, 240, 425, centre=True)
    s.draw(210, 400, 425, centre=True)
    left, right = ((194, 285), (362, 438))[selection]
    s.draw(215, left, 425, centre=True)
    s.draw(216, right, 425, centre=True)
    s.text("It costs 50 potions to continue.", 148, 450, 204)
    s.save(os.path.join(out, "mock_continue.png"))


def ending(dirs, out):
    s = Screen(dirs)
    s.draw(295, 320, 240, keyed=False, centre=True)
    s.draw(298, 320, 60, centre=True)
    s.draw(308, 320, 435, centre=True)
    s.draw(297, 320, 240, centre=True)
    s.save(os.path.join(out, "mock_ending.png"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out", nargs="?", default="/tmp")
    ap.add_argument("--fonts", default="", help="another bitmap folder to take fonts and digits from")
    args = ap.parse_args()
    dirs = [BITMAP_DIR] + ([args.fonts] if args.fonts else [])
    logo(dirs, args.out)
    title(dirs, args.out)
    ranking(dirs, args.out)
    name_entry(dirs, args.out)
    continue_screen(dirs, args.out)
    ending(dirs, args.out)


if __name__ == "__main__":
    main()
