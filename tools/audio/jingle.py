#!/usr/bin/python3
"""The studio logo jingle: a harp sweep, a bell tune for "Kor-va Ga-mes"
over a warm pad, and a bright final chord that rings out."""
import numpy as np

from synth import (RATE, env_adsr, env_perc, fm, midi_hz, onepole_lp, osc,
                   place, room, seconds)

# Melody: (start in seconds, MIDI note, how long it rings). Four syllables,
# an answering turn, then the landing on the tonic.
MELODY = [
    (1.30, 76, 0.5), (1.60, 79, 0.5), (1.90, 84, 0.9),           # Kor-va Ga-
    (2.60, 83, 0.3), (2.75, 81, 0.3), (2.90, 79, 0.9),           # -mes (turn)
    (3.50, 81, 0.5), (3.80, 77, 0.5), (4.10, 86, 0.8),           # answer, rising
    (4.80, 84, 4.0),                                             # home
]
# Pad chords: (start, end, notes). C, F, G, then C add9 to the end.
CHORDS = [
    (1.2, 2.9, (48, 55, 60, 64)),
    (2.9, 3.5, (53, 57, 60, 65)),
    (3.5, 4.8, (55, 59, 62, 67)),
    (4.8, 8.9, (48, 55, 62, 64, 67)),
]
BASS = [(1.2, 36), (2.9, 41), (3.5, 43), (4.8, 36)]


def pluck(note, length, brightness=1.0):
    """A harp-like pluck made of decaying harmonics (higher ones die faster)."""
    n = int(length * RATE)
    t = seconds(n)
    f = midi_hz(note)
    out = np.zeros(n)
    for k in range(1, 9):
        if f * k > RATE * 0.45:
            break
        out += np.sin(2 * np.pi * f * k * t) / k ** (1.6 - 0.4 * brightness) * np.exp(-t * (1.5 + 1.2 * k))
    return out * env_perc(n, 0.002, length)


def bell(note, length):
    """A soft tine bell: FM body plus a short high glint."""
    n = int(length * RATE)
    f = midi_hz(note)
    body = fm(f, 1.0, 1.6 * env_perc(n, 0.0, 0.6), n) * env_perc(n, 0.002, max(length, 1.2))
    glint = osc(f * 4.0, n) * env_perc(n, 0.0, 0.15) * 0.25
    return (body + glint) * env_adsr(n, 0.0, 0.0, 1.0, min(0.3, length * 0.5))


def pad(notes, length):
    n = int(length * RATE)
    src = sum(osc(midi_hz(p) * d, n, "saw") for p in notes for d in (0.995, 1.005))
    return onepole_lp(src, 1100) * env_adsr(n, 0.25, 0.3, 0.7, 0.4) / len(notes)


def logo_tune(n, rng):
    out = np.zeros(n)
    # Harp sweep up the C major pentatonic, two octaves, into the first note.
    sweep = [60, 62, 64, 67, 69, 72, 74, 76, 79, 81, 84, 86]
    for k, note in enumerate(sweep):
        place(out, pluck(note, 1.5) * 0.35 * (0.6 + 0.4 * k / len(sweep)), 0.05 + k * 0.09)
    for at, note, ring in MELODY:
        place(out, bell(note, ring + 0.8) * 0.5, at)
        place(out, bell(note + 12, ring + 0.4) * 0.1, at)  # octave sparkle
    for start, end, notes in CHORDS:
        place(out, pad(notes, end - start + 0.3) * 0.5, start)
    for at, note in BASS:
        place(out, pluck(note, 2.5, brightness=0.3) * 0.35, at)
    # Final harp roll up the C add9 chord and a shimmer of glints as it rings.
    for k, note in enumerate((48, 55, 62, 64, 67, 72, 76, 79)):
        place(out, pluck(note, 3.5) * 0.17, 4.8 + k * 0.04)
    for k in range(10):
        note = (84, 88, 91, 96, 93)[k % 5]
        place(out, bell(note, 0.8) * 0.06 * (1 - k / 12), 5.2 + k * 0.22)
    # Everything settles into silence before the logo leaves the screen.
    out *= np.interp(seconds(n), [0, 6.0, n / RATE - 0.2, n / RATE], [1, 1, 0.05, 0])
    return room(out, rng, decay=1.6, mix=0.35)
