#!/usr/bin/python3
"""Checks on the committed boss bitmaps: format, empty and filled frames,
hit masks without pinholes, beams that run their whole length, and parts
that meet the body where the boss places them.

Run: /usr/bin/python3 tools/art/test_bosses.py
"""
import os
import sys
import unittest
from collections import deque

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import BITMAP_DIR, read_bmp  # noqa: E402
from frames import BITMAPS, EMPTY_FRAMES  # noqa: E402
from palette import KEY, PALETTE  # noqa: E402

BOSS_IDS = [174, 173, 172, 179, 253, 208, 217, 223, 225, 227, 226, 234, 236, 237, 247, 246, 267, 265, 269]
# Bitmaps whose every frame is one solid piece (the dragon's coil encloses a
# real gap, the flower and bubble are checked too: they have no gaps at all).
SOLID = [174, 173, 208, 217, 225, 227, 226, 236, 237, 246, 269]


def frames_of(res_id):
    w, h, n, _, role = BITMAPS[res_id]
    idx, pal = read_bmp(os.path.join(BITMAP_DIR, f"{res_id}-{role}.bmp"))
    fh = h // n
    return idx, pal, [idx[i * fh:(i + 1) * fh] for i in range(n)]


def opaque(frame):
    return frame != KEY


def enclosed_gaps(mask):
    """Sizes of the transparent regions that do not reach the frame border."""
    h, w = mask.shape
    seen = mask.copy()
    sizes = []
    for y in range(h):
        for x in range(w):
            if seen[y, x]:
                continue
            q = deque([(y, x)])
            seen[y, x] = True
            size, open_ = 0, False
            while q:
                cy, cx = q.popleft()
                size += 1
                if cy in (0, h - 1) or cx in (0, w - 1):
                    open_ = True
                for ny, nx in ((cy + 1, cx), (cy - 1, cx), (cy, cx + 1), (cy, cx - 1)):
                    if 0 <= ny < h and 0 <= nx < w and not seen[ny, nx]:
                        seen[ny, nx] = True
                        q.append((ny, nx))
            if not open_:
                sizes.append(size)
    return sizes


class Format(unittest.TestCase):
    def test_every_boss_bitmap_has_its_size_palette_and_key(self):
        for res_id in BOSS_IDS:
            with self.subTest(res_id=res_id):
                idx, pal, frames = frames_of(res_id)
                w, h = BITMAPS[res_id][:2]
                self.assertEqual(idx.shape, (h, w))
                self.assertEqual(pal, PALETTE)
                self.assertEqual(idx[0, 0], KEY)

    def test_empty_frames_are_all_key_and_the_others_show_something(self):
        for res_id in BOSS_IDS:
            _, _, frames = frames_of(res_id)
            for i, fr in enumerate(frames):
                with self.subTest(res_id=res_id, frame=i):
                    if i in EMPTY_FRAMES.get(res_id, []):
                        self.assertFalse(opaque(fr).any())
                    else:
                        self.assertGreater(opaque(fr).mean(), 0.05)

    def test_animation_frames_differ(self):
        for res_id in BOSS_IDS:
            _, _, frames = frames_of(res_id)
            shown = [f for i, f in enumerate(frames) if i not in EMPTY_FRAMES.get(res_id, [])]
            for a in range(len(shown)):
                for b in range(a + 1, len(shown)):
                    with self.subTest(res_id=res_id, a=a, b=b):
                        self.assertFalse(np.array_equal(shown[a], shown[b]))


class HitMasks(unittest.TestCase):
    def test_solid_parts_have_no_pinholes(self):
        for res_id in SOLID:
            _, _, frames = frames_of(res_id)
            for i, fr in enumerate(frames):
                with self.subTest(res_id=res_id, frame=i):
                    self.assertEqual(enclosed_gaps(opaque(fr)), [])

    def test_no_stray_single_pixels(self):
        for res_id in BOSS_IDS:
            _, _, frames = frames_of(res_id)
            for i, fr in enumerate(frames):
                m = np.pad(opaque(fr), 1)
                n = m[:-2, 1:-1].astype(int) + m[2:, 1:-1] + m[1:-1, :-2] + m[1:-1, 2:]
                with self.subTest(res_id=res_id, frame=i):
                    self.assertFalse((opaque(fr) & (n == 0)).any())

    def test_beams_run_their_whole_length(self):
        for res_id, shown in ((253, (1, 2)), (265, (1,))):
            _, _, frames = frames_of(res_id)
            for i in shown:
                with self.subTest(res_id=res_id, frame=i):
                    self.assertTrue(opaque(frames[i]).any(axis=1).all())

    def test_fish_and_jaws_turn_round_as_mirror_images(self):
        _, _, fish = frames_of(208)
        _, _, jaws = frames_of(223)
        self.assertTrue(np.array_equal(opaque(fish[1]), opaque(fish[0])[:, ::-1]))
        for a, b in ((0, 2), (1, 3)):
            with self.subTest(frames=(a, b)):
                self.assertTrue(np.array_equal(opaque(jaws[b]), opaque(jaws[a])[:, ::-1]))


def overlap(body, part, x, y):
    """Opaque pixels of a part at local (x, y) that cover opaque body pixels."""
    bh, bw = body.shape
    ph, pw = part.shape
    x0, y0, x1, y1 = max(0, x), max(0, y), min(bw, x + pw), min(bh, y + ph)
    if x0 >= x1 or y0 >= y1:
        return 0
    return int((opaque(body[y0:y1, x0:x1]) & opaque(part[y0 - y:y1 - y, x0 - x:x1 - x])).sum())


def centre_x_of_top_row(frame):
    xs = np.nonzero(opaque(frame)[0])[0]
    return (xs.min() + xs.max()) / 2


class Placement(unittest.TestCase):
    def test_parts_sit_on_their_bodies(self):
        cases = [  # body id, body frame, part id, part frame, local top-left, min overlapping pixels
            (174, 0, 173, 0, (103, -24), 300), (174, 0, 172, 0, (-73, -31), 500),
            (174, 0, 179, 3, (3, 34), 50), (174, 0, 179, 3, (219, 34), 50),
            (208, 0, 223, 0, (130, 47), 100), (208, 1, 223, 2, (1, 47), 100),
            (227, 0, 226, 0, (120, 119), 200), (247, 0, 246, 0, (95, -3), 1500),
        ]
        for body_id, bf, part_id, pf, (x, y), least in cases:
            body = frames_of(body_id)[2][bf]
            part = frames_of(part_id)[2][pf]
            with self.subTest(body=body_id, part=part_id, at=(x, y)):
                self.assertGreaterEqual(overlap(body, part, x, y), least)

    def test_shell_hides_the_whole_snail(self):
        snail = frames_of(225)[2][0]
        shell = frames_of(227)[2][0]
        cover = np.zeros(snail.shape, bool)
        cover |= opaque(shell[34:34 + 135, 66:66 + 117])
        head = frames_of(226)[2][0]
        cover[85:135, 54:116] |= opaque(head[:50, :])
        self.assertEqual(int((opaque(snail) & ~cover).sum()), 0)

    def test_beams_leave_from_the_orbs(self):
        # Demon: orb at (3, 34) is 44 wide, beam at (15, 78) is 20 wide: both centred at x 25.
        laser = frames_of(253)[2]
        for i in (1, 2):
            with self.subTest(beam_frame=i):
                self.assertAlmostEqual(15 + centre_x_of_top_row(laser[i]), 3 + 22, delta=1)
        # Dragon: orb at (131, 80), breath at (28, 102).
        breath = frames_of(265)[2][1]
        self.assertAlmostEqual(28 + centre_x_of_top_row(breath), 131 + 22, delta=1.5)
        orb = frames_of(267)[2]
        for i, fr in enumerate(orb):
            with self.subTest(orb_frame=i):
                self.assertTrue(opaque(fr)[22, 22])


if __name__ == "__main__":
    unittest.main()
