#!/usr/bin/python3
"""Tests for the audio tools: the MIDI writer against the file format's own
reference numbers, the tune notation's rules, the 8-bit wave writer, and the
checker's ability to reject broken files.

Run: /usr/bin/python3 -m unittest discover -s tools/audio -p 'test_*.py'
"""
import io
import os
import struct
import tempfile
import unittest
import wave

import numpy as np

import check_audio
import smf
import synth
from tune import Tune, TuneError


def write(dirname, name, text):
    path = os.path.join(dirname, name)
    with open(path, "w") as f:
        f.write(text)
    return path


TINY_TUNE = """
title Test
tempo 120
meter 4/4
part lead channel 1 program 80 gate 1.0
part bass channel 2 program 33 base e1 gate 1.0 bass
part drums channel 10
pattern root = 1q 3q 5q 8q
groove beat
  kick  x...x...x...x...
section A
  chords | Am | C/E . . G |
  lead   | a4q c5+e5q _h | rw |
  bass   root
  drums  beat
form A
"""


class MidiWriter(unittest.TestCase):
    def test_variable_length_numbers_match_the_file_format_examples(self):
        for value, encoded in [(0, "00"), (0x40, "40"), (0x7F, "7F"), (0x80, "8100"),
                               (0x2000, "C000"), (0x3FFF, "FF7F"), (0x4000, "818000"),
                               (0x1FFFFF, "FFFF7F"), (0x200000, "81808000"),
                               (0x0FFFFFFF, "FFFFFF7F")]:
            self.assertEqual(smf.varlen(value).hex().upper(), encoded)
        with self.assertRaises(ValueError):
            smf.varlen(0x10000000)

    def test_note_off_comes_before_a_note_on_of_the_same_tick(self):
        chunk = smf.instrument("x", 1, 0, 100, 64, 0, [(0, 480, 60, 90), (480, 480, 60, 90)], 960)
        events = check_audio.parse_track(chunk[8:])
        notes = [(t, d[0] & 0xF0) for t, k, d in events if k == "chan" and d[0] & 0xF0 in (0x80, 0x90)]
        self.assertEqual(notes, [(0, 0x90), (480, 0x80), (480, 0x90), (960, 0x80)])

    def test_an_event_after_the_end_is_refused(self):
        with self.assertRaises(ValueError):
            smf.instrument("x", 1, 0, 100, 64, 0, [(0, 960, 60, 90)], 480)


class TuneNotation(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def render(self, text):
        return Tune(write(self.dir.name, "t.tune", text)).render()

    def test_melody_chords_ties_and_drums(self):
        notes, end = self.render(TINY_TUNE)
        self.assertEqual(end, 2 * 4 * 480)
        # a4 for a beat, then C5 and E5 together held for three beats by the tie.
        self.assertEqual(sorted((t, l, p) for t, l, p, v in notes["lead"]),
                         [(0, 480, 69), (480, 1440, 72), (480, 1440, 76)])
        self.assertEqual(len(notes["drums"]), 8)
        self.assertTrue(all(p == 36 for _, _, p, _ in notes["drums"]))

    def test_chord_degrees_follow_the_chord_and_its_bass_note(self):
        notes, _ = self.render(TINY_TUNE)
        bass = [p for t, l, p, v in sorted(notes["bass"])]
        # Am: A1 C2 E2 A2. C/E for three beats: E is the bass, so the third is
        # the chord's own third (E) and the fifth is G. G on beat 4: G2, its octave.
        self.assertEqual(bass, [33, 36, 40, 45, 28, 28, 31, 43])

    def test_a_bar_that_does_not_fill_the_metre_names_the_line(self):
        with self.assertRaises(TuneError) as e:
            self.render(TINY_TUNE.replace("| rw |", "| rh |"))
        self.assertIn("bar 2", str(e.exception))

    def test_material_that_does_not_fit_the_section_is_refused(self):
        with self.assertRaises(TuneError):
            self.render(TINY_TUNE.replace("chords | Am | C/E . . G |", "chords | Am | C | G |"))

    def test_sharps_are_notes_and_spaced_hashes_are_comments(self):
        notes, _ = self.render(TINY_TUNE.replace("| rw |", "| g#4w | # a comment"))
        self.assertIn(68, [p for _, _, p, _ in notes["lead"]])

    def test_percent_repeats_the_previous_bar(self):
        notes, _ = self.render(TINY_TUNE.replace("| a4q c5+e5q _h | rw |", "| a4h a4h | % |"))
        self.assertEqual([t for t, _, _, _ in sorted(notes["lead"])], [0, 960, 1920, 2880])


    def test_a_copied_section_keeps_what_it_does_not_replace(self):
        text = TINY_TUNE.replace("form A", """section B like A
  lead -
  dynamics 0.5
form A B""")
        notes, end = self.render(text)
        self.assertEqual(end, 4 * 4 * 480)
        b_starts = 2 * 1920
        self.assertFalse([n for n in notes["lead"] if n[0] >= b_starts])     # lead rests in B
        bass_a = [n for n in notes["bass"] if n[0] < b_starts]
        bass_b = [n for n in notes["bass"] if n[0] >= b_starts]
        self.assertEqual([p for _, _, p, _ in sorted(bass_b)], [33, 36, 40, 45, 28, 28, 31, 43])
        # B plays at half the velocity (90, or 96 on a downbeat, in A).
        self.assertEqual(sorted({v for _, _, _, v in bass_a}), [90, 96])
        self.assertEqual(sorted({v for _, _, _, v in bass_b}), [45, 48])

    def test_triplets_fill_a_beat_and_unknown_names_are_errors(self):
        notes, _ = self.render(TINY_TUNE.replace("| rw |", "| c5t d5 e5 f5h. |"))
        starts = sorted(t for t, _, p, _ in notes["lead"] if t >= 1920)
        self.assertEqual(starts, [1920 + 0, 1920 + 160, 1920 + 320, 1920 + 480])
        for broken in (TINY_TUNE.replace("bass   root", "bass   nosuch"),
                       TINY_TUNE.replace("C/E . . G", "H"),
                       TINY_TUNE.replace("form A", "form A Z")):
            with self.assertRaises(TuneError):
                self.render(broken)

class WaveWriter(unittest.TestCase):
    def test_pcm8_peak_centre_and_fades(self):
        rng = np.random.default_rng(1)
        x = np.sin(np.linspace(0, 200 * np.pi, 22050)) + 0.3  # with an offset to remove
        pcm = synth.to_pcm8(x, -1.0, rng).astype(int)
        peak = np.max(np.abs(pcm - 128)) / 127.0
        self.assertAlmostEqual(20 * np.log10(peak), -1.0, delta=0.3)
        self.assertLess(abs(np.mean(pcm) - 128), 1.0)
        self.assertLessEqual(abs(pcm[0] - 128), 2)
        self.assertLessEqual(abs(pcm[-1] - 128), 2)

    def test_wave_bytes_read_back_with_the_standard_library(self):
        samples = np.arange(7, dtype=np.uint8) + 100  # odd length needs a pad byte
        blob = synth.wave_bytes(samples)
        self.assertEqual(len(blob), 44 + 7 + 1)
        with wave.open(io.BytesIO(blob)) as w:
            self.assertEqual((w.getnchannels(), w.getsampwidth(), w.getframerate()), (1, 1, 22050))
            self.assertEqual(w.readframes(7), bytes(samples))


class Checker(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        rng = np.random.default_rng(2)
        tone = np.sin(np.arange(4000) * 0.3)
        self.good = synth.wave_bytes(synth.to_pcm8(tone, -1.0, rng))

    def tearDown(self):
        self.dir.cleanup()

    def check(self, blob, expected=4000):
        path = os.path.join(self.dir.name, "w.wav")
        with open(path, "wb") as f:
            f.write(blob)
        return check_audio.check_wave(path, expected)

    def test_wave_faults_are_each_reported(self):
        self.assertEqual(self.check(self.good), [])
        bad_rate = self.good[:24] + struct.pack("<I", 44100) + self.good[28:]
        silent = self.good[:44] + bytes([128] * 4000)
        clipped = self.good[:44] + bytes([128, 255] * 2000)
        overrun = self.good[:40] + struct.pack("<I", 9999) + self.good[44:]
        cases = [(bad_rate, "44100 Hz"), (silent, "silent"), (clipped, "clipped"),
                 (overrun, "past the end"), (synth.wave_bytes(bytes(self.good[44:1044])), "samples"),
                 (b"RIFX" + self.good[4:], "not a RIFF")]
        for blob, words in cases:
            problems = self.check(blob)
            self.assertTrue(any(words in p for p in problems), (words, problems))

    def test_midi_length_hanging_notes_and_ragged_ends_are_caught(self):
        def tune(lead, ends=(96000, 96000), bpm=100, drum_at=0):
            if not isinstance(lead, bytes):
                lead = smf.instrument("a", 1, 0, 100, 64, 0, lead, ends[1])
            tracks = [smf.conductor("t", bpm, 4, ends[0]), lead,
                      smf.instrument("d", 10, 0, 100, 64, 0, [(drum_at, 60, 36, 100)], ends[0])]
            path = os.path.join(self.dir.name, "t.mid")
            with open(path, "wb") as f:
                f.write(smf.midi_file(tracks))
            return check_audio.check_midi(path)

        problems, seconds = tune([(0, 480, 60, 90)])
        self.assertEqual(problems, [])
        self.assertAlmostEqual(seconds, 96000 / 480 * 0.6)  # 200 beats at 100 bpm
        faults = [
            (tune([(0, 480, 60, 90)], bpm=240), "not over a minute"),          # 50 s
            (tune([(0, 480, 60, 90)], ends=(96000, 95520)), "different ticks"),
            (tune([(4800, 480, 60, 90)], drum_at=4800), "silent for"),
            # A note-on whose note-off is missing from the track.
            (tune(smf.track_chunk([(0, 0, bytes([0xC0, 0])), (0, 1, bytes([0x90, 60, 90]))], 96000)),
             "never released"),
        ]
        for (problems, _), words in faults:
            self.assertTrue(any(words in p for p in problems), (words, problems))


if __name__ == "__main__":
    unittest.main()
