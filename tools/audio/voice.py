#!/usr/bin/python3
"""Voices for the game-over stings: a formant-synthesised singer for the
words "game over", a choir "ah" and a brass section.

A voice is a buzzing glottal source (a band-limited saw, softened so it
falls off like a throat does) sent through three resonators, the formants.
Moving the formant frequencies between vowel targets is what makes the
listener hear words; no recording is involved.
"""
import numpy as np

from synth import (RATE, env_adsr, midi_hz, noise, onepole_hp, onepole_lp,
                   osc, resonator, seconds, svf)

# Formant targets (F1, F2, F3 in Hz) for a low male voice.
VOWELS = {
    "e": (560, 1800, 2550),   # the start of "game"
    "i": (400, 2100, 2750),   # its glide
    "m": (260, 1150, 2300),   # the closed-lip hum (much quieter)
    "o": (560, 900, 2450),    # "o-"
    "u": (450, 800, 2400),
    "v": (300, 1300, 2300),   # lips on teeth, voiced with a little hiss
    "r": (480, 1350, 1650),   # the r-coloured "-ver": F3 drops low
    "a": (780, 1150, 2800),   # the choir's "ah"
}


def glottal(freq, n, rng, breath=0.05):
    """Throat buzz: a saw with a gentle tilt, a little jitter and breath."""
    jitter = 1 + 0.004 * onepole_lp(noise(n, rng), 30) * 8
    src = osc(freq * jitter, n, "saw")
    src = onepole_lp(src, 1800) * 1.5 + src * 0.25
    return src + onepole_hp(noise(n, rng), 1500) * breath


def _track(n, keys, column):
    """Per-sample curve through keyframes (time in seconds, values...)."""
    t = seconds(n)
    return np.interp(t, [k[0] for k in keys], [k[column] for k in keys])


def sing(n, rng, keys, octave_double=True):
    """Sing through keyframes (time, vowel, pitch Hz, loudness, hiss)."""
    rows = [(k[0],) + VOWELS[k[1]] + tuple(k[2:]) for k in keys]
    f1, f2, f3 = (_track(n, rows, c) for c in (1, 2, 3))
    pitch, amp, hiss = (_track(n, rows, c) for c in (4, 5, 6))
    vib = 1 + 0.012 * osc(5.2, n) * np.clip(seconds(n) - 0.3, 0, 1)
    src = glottal(pitch * vib, n, rng)
    if octave_double:
        # A second throat an octave down makes the announcer huge.
        src += glottal(pitch * vib * 0.5, n, rng) * 0.7
    src *= amp
    src += onepole_hp(noise(n, rng), 2500) * hiss
    # F1 of a resonator this size peaks about three times higher than F2, so
    # the upper formants get more weight: they carry the words.
    out = resonator(src, f1, 90) * 1.0
    out += resonator(src, f2, 110) * 1.6
    out += resonator(src, f3, 160) * 1.0
    return out


def game_over(n, rng, start=0.1):
    """The two words, sung: GAME on A2, O- on F2, -VER falling to E2."""
    s = start
    a2, f2, e2 = midi_hz(45), midi_hz(41), midi_hz(40)
    keys = [
        (0.0, "e", a2, 0.0, 0.0),
        (s, "e", a2, 0.0, 0.0),
        (s + 0.02, "e", a2, 0.0, 0.9),     # the "g" burst: a puff of hiss
        (s + 0.05, "e", a2, 1.0, 0.05),
        (s + 0.30, "e", a2, 1.0, 0.0),
        (s + 0.45, "i", a2 * 0.98, 0.9, 0.0),
        (s + 0.52, "m", a2 * 0.97, 0.35, 0.0),
        (s + 0.66, "m", a2 * 0.96, 0.3, 0.0),
        (s + 0.74, "o", f2, 0.2, 0.0),
        (s + 0.80, "o", f2, 1.0, 0.0),
        (s + 1.05, "u", f2, 1.0, 0.0),
        (s + 1.12, "v", f2 * 0.98, 0.4, 0.25),
        (s + 1.20, "r", e2, 0.9, 0.0),
        (s + 1.50, "r", e2 * 0.97, 0.8, 0.0),
        (s + 1.70, "r", e2 * 0.93, 0.0, 0.0),
        (10.0, "r", e2 * 0.93, 0.0, 0.0),
    ]
    return sing(n, rng, keys)


def choir(n, rng, notes):
    """A choir holding "ah" on the given MIDI notes, voices slightly apart."""
    out = np.zeros(n)
    for k, note in enumerate(notes):
        f = midi_hz(note) * (1 + 0.006 * osc(4.5 + 0.4 * k, n, phase0=0.3 * k))
        src = glottal(f, n, rng, breath=0.1)
        out += resonator(src, 780, 100) + resonator(src, 1150, 120) * 0.5
        out += resonator(src, 2800, 180) * 0.2
    return out * env_adsr(n, 0.25, 0.2, 0.9, 0.4)


def brass_chord(n, notes, attack, length, fall=0.0):
    """A brass section: detuned saws whose filter opens with a "blat" on the
    attack. `fall` bends the whole chord by that many semitones at the end."""
    t = seconds(n)
    bend = 2.0 ** (fall / 12.0 * np.clip((t - 0.55 * length) / (0.45 * length), 0, 1))
    vib = 1 + 0.005 * osc(5.5, n) * np.clip(t - 0.4, 0, 1)
    src = np.zeros(n)
    for note in notes:
        for d in (0.996, 1.0, 1.004):
            src += osc(midi_hz(note) * d * bend * vib, n, "saw")
    a = int(attack * RATE)
    cut = np.interp(t, [0, attack, attack + 0.25, length], [300, 3500, 1600, 700])
    body = svf(src / len(notes), cut, 1.2)
    e = env_adsr(n, attack, 0.2, 0.75, max(length * 0.3, 0.05))
    e[min(int(length * RATE), n):] = 0.0
    return body * e
