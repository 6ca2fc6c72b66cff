#!/usr/bin/python3
"""Tests of the art tools: the checker catches each kind of broken bitmap,
the glyph sets are complete and distinct, the painter leaves no fringe, and
the committed artwork keeps the promises the game relies on (beam pieces
join, animation frames differ, the status strips stay plain)."""
import contextlib
import io
import os
import shutil
import struct
import sys
import tempfile
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_bitmaps  # noqa: E402
import fonts  # noqa: E402
import glyphs  # noqa: E402
import pix  # noqa: E402
from artlib import BITMAP_DIR, read_bmp, write_bmp  # noqa: E402
from frames import BITMAPS  # noqa: E402
from paint import Figure  # noqa: E402
from palette import KEY  # noqa: E402


def committed(res_id):
    return read_bmp(os.path.join(BITMAP_DIR, f"{res_id}-{BITMAPS[res_id][4]}.bmp"))[0]


def frames_of(res_id):
    img = committed(res_id)
    n = BITMAPS[res_id][2]
    fh = img.shape[0] // n
    return [img[i * fh:(i + 1) * fh] for i in range(n)]


class CheckerCatchesBrokenBitmaps(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.dir)

    def run_check(self):
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            status = check_bitmaps.main(["--quiet", "--dir", self.dir])
        return status, out.getvalue()

    def sprite(self, res_id, fill=200):
        w, h, n, keyed, role = BITMAPS[res_id]
        img = np.full((h, w), KEY, dtype=np.uint8)
        for k in range(n):
            img[k * (h // n) + 2, 2] = fill
        return img, os.path.join(self.dir, f"{res_id}-{role}.bmp")

    def test_good_files_pass_and_missing_ones_are_only_listed(self):
        img, path = self.sprite(130)
        write_bmp(path, img)
        status, text = self.run_check()
        self.assertEqual(status, 0, text)
        self.assertIn("1 checked, 0 failed", text)
        self.assertIn("missing:", text)

    def test_each_fault_is_reported(self):
        cases = []
        img, path = self.sprite(130)
        cases.append(("wrong size", path, np.pad(img, ((0, 1), (0, 0)), constant_values=KEY), None,
                      "size 10x21"))
        bad = img.copy()
        bad[0, 0] = 200
        cases.append(("key not top-left", path, bad, None, "top-left pixel"))
        bad = img.copy()
        bad[10:] = KEY
        cases.append(("empty frame", path, bad, None, "frame 1 is empty"))
        img179, path179 = self.sprite(179)
        cases.append(("frame that must be empty", path179, img179, None, "frame 0 should hold only the key"))
        cases.append(("top-down rows", path, img, ("height", -20), "top-down"))
        cases.append(("compressed", path, img, ("compression", 1), "compression 1"))
        cases.append(("other colour table", path, img, ("table", 5), "colour table differs"))
        cases.append(("unknown id", os.path.join(self.dir, "999-thing.bmp"), img, None, "not a known bitmap id"))
        cases.append(("wrong role", os.path.join(self.dir, "130-spark.bmp"), img, None, "file name should be"))
        for name, p, data, patch, message in cases:
            with self.subTest(name):
                for f in os.listdir(self.dir):
                    os.remove(os.path.join(self.dir, f))
                write_bmp(p, data)
                if patch:
                    with open(p, "rb") as fh:
                        raw = bytearray(fh.read())
                    if patch[0] == "height":
                        struct.pack_into("<i", raw, 22, patch[1])
                    elif patch[0] == "compression":
                        struct.pack_into("<I", raw, 30, patch[1])
                    else:
                        raw[54 + 4 * patch[1]] ^= 0xFF
                    with open(p, "wb") as fh:
                        fh.write(bytes(raw))
                status, text = self.run_check()
                self.assertEqual(status, 1, text)
                self.assertIn(message, text)


class Glyphs(unittest.TestCase):
    def test_sets_are_complete_and_every_shape_is_distinct(self):
        for table, order, size in ((glyphs.SMALL, glyphs.SMALL_ORDER, (14, 8)),
                                   (glyphs.BIG, glyphs.BIG_DIGIT_ORDER + "AEFGILNOPRSTW", (18, None))):
            shapes = {}
            for ch in order:
                self.assertIn(ch, table)
                m = fonts.body_mask(table[ch])
                self.assertEqual(m.shape[0], size[0], ch)
                if size[1]:
                    self.assertEqual(m.shape[1], size[1], ch)
                key = m.tobytes() + bytes(m.shape)
                self.assertNotIn(key, shapes, f"{ch} looks exactly like {shapes.get(key)}")
                shapes[key] = ch

    def test_every_glyph_is_closed_by_its_border(self):
        strips = [(fonts.small_strip(fonts.GREEN), fonts.GREEN), (fonts.digit_strip(), fonts.STATUS)]
        for strip, colours in strips:
            fill = set(colours[2])
            for n, g in enumerate(strip):
                body = np.isin(g, list(fill))
                self.assertTrue(body.any(), n)
                # No fill pixel may touch a transparent pixel, even diagonally.
                self.assertFalse((pix.dilate(g == KEY) & body).any(), n)

    def test_status_words_fit_their_bitmaps_unclipped(self):
        for word, width in (("LIFE", 43), ("POTIONS", 86), ("POWER", 72), ("STAGE", 63)):
            img = fonts.big_word(word, width)
            self.assertEqual(img.shape, (22, width))
            self.assertEqual(img[0, 0], KEY)
            drawn = int(np.isin(img, fonts.STATUS[2]).sum())
            self.assertEqual(drawn, sum(int(fonts.body_mask(glyphs.BIG[c]).sum()) for c in word), word)


class Painter(unittest.TestCase):
    def test_pixels_under_half_covered_are_transparent_and_outlined(self):
        f = Figure(10, 10)
        f.add(f.rect(2.0, 2.0, 6.3, 5.0), "stone", base=0.5, contrast=0.0)
        out = f.resolve()
        solid = out != KEY
        # Column 6 is 30 % covered: transparent, then part of the outline.
        expected = np.zeros((10, 10), dtype=bool)
        expected[2:5, 2:6] = True
        ring = pix.dilate(expected, diagonal=False) & ~expected
        self.assertTrue((solid == (expected | ring)).all(), out)

    def test_front_part_wins_a_shared_pixel(self):
        f = Figure(6, 6)
        f.add(f.rect(0, 0, 6, 6), "stone", base=0.5, contrast=0.0)
        f.add(f.rect(0, 0, 3, 6), "leaf", base=0.5, contrast=0.0)
        out = f.resolve(outline=None)
        from palette import RAMP_INDICES
        self.assertTrue(np.isin(out[:, :3], RAMP_INDICES["leaf"]).all())
        self.assertTrue(np.isin(out[:, 3:], RAMP_INDICES["stone"]).all())


class PixelHelpers(unittest.TestCase):
    def test_shift_dilate_and_erode_on_a_single_pixel(self):
        m = np.zeros((5, 5), dtype=bool)
        m[2, 2] = True
        self.assertTrue(pix.shift(m, 1, -2)[3, 0])
        self.assertEqual(int(pix.shift(m, 3, 0).sum()), 0)
        self.assertEqual(int(pix.dilate(m).sum()), 9)
        self.assertEqual(int(pix.dilate(m, diagonal=False).sum()), 5)
        self.assertEqual(int(pix.erode(pix.dilate(m, diagonal=False)).sum()), 1)

    def test_blur_keeps_the_mean_and_spreads(self):
        a = np.zeros((40, 40))
        a[20, 20] = 1.0
        b = pix.blur(a, 4)
        self.assertAlmostEqual(float(b.sum()), 1.0, places=6)
        self.assertGreater(b[20, 23], 0.0)
        self.assertLess(b[20, 20], 0.2)

    def test_dither_thresholds_are_all_distinct_per_tile(self):
        for n in (4, 8):
            t = pix.bayer(n, n, n)
            self.assertEqual(len(np.unique(t)), n * n)
            self.assertTrue(((t > 0) & (t < 1)).all())


class CommittedArtwork(unittest.TestCase):
    def test_beam_pieces_join_without_a_seam(self):
        tail, middle, head = committed(263), committed(178), committed(264)
        self.assertTrue((middle[0] == middle[-1]).all(), "middle piece does not repeat")
        self.assertTrue((tail[-1] == middle[0]).all(), "tail does not meet the middle")
        self.assertTrue((middle[-1] == head[0]).all(), "middle does not meet the head")
        width = int((middle[0] != KEY).sum())
        tail_rows = [int(n) for n in (tail != KEY).sum(axis=1) if n]
        head_rows = [int(n) for n in (head != KEY).sum(axis=1) if n]
        self.assertLess(tail_rows[0], width // 2, "the tail is not rounded at the top")
        self.assertLess(head_rows[-1], width // 2, "the head is not rounded at the bottom")

    def test_animation_frames_all_differ(self):
        for res_id, (w, h, n, keyed, role) in BITMAPS.items():
            path = os.path.join(BITMAP_DIR, f"{res_id}-{role}.bmp")
            if n < 2 or not os.path.exists(path) or res_id in (205, 204, 108):
                continue
            fr = frames_of(res_id)
            for i in range(1, n):
                with self.subTest(res_id=res_id, frame=i):
                    self.assertFalse((fr[i] == fr[i - 1]).all())

    def test_explosions_grow_before_they_fade(self):
        areas = [int((f != KEY).sum()) for f in frames_of(129)]
        self.assertEqual(areas[0], min(areas))
        spread = [int(np.ptp(np.where(f != KEY)[1])) for f in frames_of(129)]
        self.assertEqual(spread, sorted(spread))

    def test_no_figure_is_cut_by_its_frame_edge(self):
        # A figure may touch its frame's edge with its dark outline, never
        # with its fill: that would show as a cut. Text cells, beams and the
        # pieces that join another part run edge to edge on purpose: boss 1's
        # photon (its last frames become the beam) and laser, boss 5's laser,
        # boss 2's jaw (it joins the fish) and bubble (its rim is light), the
        # snail's head (it runs up under the shell), the ranking's row panel.
        edge_to_edge = {205, 204, 108, 146, 148, 149, 151, 178, 263, 264, 222,
                        179, 253, 265, 223, 217, 226, 293}
        for res_id, (w, h, n, keyed, role) in BITMAPS.items():
            path = os.path.join(BITMAP_DIR, f"{res_id}-{role}.bmp")
            if not keyed or res_id in edge_to_edge or not os.path.exists(path):
                continue
            table = np.array(read_bmp(path)[1])
            luma = table @ np.array([0.299, 0.587, 0.114])
            for i, fr in enumerate(frames_of(res_id)):
                with self.subTest(res_id=res_id, frame=i):
                    border = np.concatenate([fr[0], fr[-1], fr[:, 0], fr[:, -1]])
                    touching = border[border != KEY]
                    self.assertTrue((luma[touching] < 64).all())

    def test_status_strips_of_the_backgrounds_are_plain(self):
        for res_id in (110, 127, 133, 296):
            img = committed(res_id)
            for name, strip in (("top", img[:30]), ("bottom", img[-30:])):
                with self.subTest(res_id=res_id, strip=name):
                    self.assertLessEqual(len(np.unique(strip)), 2)

    def test_blinking_witch_has_the_same_shape(self):
        self.assertTrue(((committed(116) == KEY) == (committed(158) == KEY)).all())


if __name__ == "__main__":
    unittest.main()
