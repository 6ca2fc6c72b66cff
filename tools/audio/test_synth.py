#!/usr/bin/python3
"""Tests for the synthesis kit (measured in the frequency domain, the way the
ear would notice a fault) and for the effect builder's reproducibility."""
import unittest

import numpy as np

import make_waves
import synth
from synth import RATE


def level_at(x, freq):
    """Amplitude of one frequency in x (windowed FFT, in dB)."""
    spectrum = np.abs(np.fft.rfft(x * np.hanning(len(x))))
    k = int(round(freq * len(x) / RATE))
    return 20 * np.log10(spectrum[k - 2:k + 3].max() + 1e-12)


class Oscillators(unittest.TestCase):
    def test_band_limited_saw_keeps_folded_harmonics_down(self):
        # A 3100 Hz saw: its 4th harmonic (12400 Hz) folds back to 9650 Hz.
        n = RATE
        saw = synth.osc(3100.0, n, "saw")
        naive = 2.0 * ((np.arange(n) * 3100.0 / RATE) % 1.0) - 1.0
        fold = RATE - 4 * 3100.0
        self.assertLess(level_at(saw, fold) - level_at(saw, 3100), level_at(naive, fold) - level_at(naive, 3100) - 6)

    def test_sweeps_accumulate_phase_so_the_pitch_is_right_throughout(self):
        # A one-second glide from 200 to 800 Hz passes 600 / ln 4 = 432.8
        # cycles; computing sin(2 pi f(t) t) instead would give about 800.
        tone = synth.osc(synth.expramp(RATE, 200.0, 800.0), RATE)
        upward = np.sum((tone[:-1] < 0) & (tone[1:] >= 0))
        self.assertAlmostEqual(upward, 600 / np.log(4), delta=1.5)


class Filters(unittest.TestCase):
    def test_low_pass_passes_lows_and_cuts_highs(self):
        n = RATE // 2
        t = synth.seconds(n)
        x = np.sin(2 * np.pi * 100 * t) + np.sin(2 * np.pi * 5000 * t)
        y = synth.onepole_lp(x, 500.0)
        self.assertGreater(level_at(y, 100) - level_at(x, 100), -1.0)
        self.assertLess(level_at(y, 5000) - level_at(x, 5000), -15.0)

    def test_band_pass_and_resonator_peak_at_their_frequency(self):
        rng = np.random.default_rng(3)
        x = synth.noise(RATE, rng)
        for y in (synth.svf(x, 1500.0, 4.0, "bp"), synth.resonator(x, 1500.0, 80.0)):
            spectrum = np.abs(np.fft.rfft(y))
            smooth = np.convolve(spectrum, np.ones(101) / 101, mode="same")
            self.assertAlmostEqual(np.argmax(smooth) * RATE / len(y), 1500.0, delta=100.0)

    def test_percussive_envelope_falls_60_db_in_its_decay_time(self):
        e = synth.env_perc(RATE, 0.0, 0.5)
        self.assertAlmostEqual(20 * np.log10(e[int(0.5 * RATE)]), -60.0, delta=1.0)


class Levels(unittest.TestCase):
    def test_true_peak_finds_the_peaks_between_the_samples(self):
        # A quarter-rate sine sampled 45 degrees off its crests: every sample
        # is at 0.707, the wave itself reaches 1.0, and so would a resampler.
        n = 4096
        tone = np.sin(2 * np.pi * np.arange(n) / 4 + np.pi / 4)
        self.assertAlmostEqual(np.max(np.abs(tone)), 0.7071, places=3)
        self.assertAlmostEqual(synth.true_peak(tone), 1.0, places=2)

    def test_pcm8_sets_the_true_peak_not_the_sample_peak(self):
        n = 4096
        tone = np.sin(2 * np.pi * np.arange(n) / 4 + np.pi / 4)
        pcm = synth.to_pcm8(tone, -6.0, np.random.default_rng(1)).astype(np.float64)
        self.assertAlmostEqual(np.max(np.abs(pcm[100:-300] - 128)) / 127, 0.5 * 0.7071, delta=0.02)


class Effects(unittest.TestCase):
    def test_every_effect_has_its_exact_length_and_rebuilds_identically(self):
        for entry in make_waves.EFFECTS:
            ident, role, size, peak_db, design = entry
            if size > 20000:
                continue  # the long ones are covered by check_audio on the committed files
            first = design(size, np.random.default_rng(7))
            again = design(size, np.random.default_rng(7))
            self.assertEqual(len(first), size, role)
            self.assertTrue(np.array_equal(first, again), role)
            self.assertTrue(np.all(np.isfinite(first)), role)


if __name__ == "__main__":
    unittest.main()
