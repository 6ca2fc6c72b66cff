#!/usr/bin/python3
"""Small synthesis kit for the sound effects: oscillators, noise, filters,
envelopes, a room tail, and the 8-bit wave writer.

Everything works on float arrays at 22050 samples per second, values about
-1..1. Frequencies may be scalars or per-sample arrays, so sweeps are just
arrays. All randomness comes from a generator passed in by the caller, so a
rebuild gives the same bytes.
"""
import struct

import numpy as np

RATE = 22050


def seconds(n):
    """Sample times for n samples."""
    return np.arange(n) / RATE


def ramp(n, *points):
    """Piecewise-linear curve over n samples through (fraction, value) points."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return np.interp(np.linspace(0.0, 1.0, n), xs, ys)


def expramp(n, start, end):
    """Exponential glide from start to end (both > 0): pitch sweeps sound even."""
    return start * (end / start) ** np.linspace(0.0, 1.0, n)


def _phase(freq, n, phase0=0.0):
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
    ph = phase0 + np.cumsum(f) / RATE
    return ph - f / RATE, f / RATE  # phase at the start of each sample, step


def _blep(t, dt):
    """PolyBLEP correction that rounds off a unit jump at phase 0."""
    out = np.zeros_like(t)
    a = t < dt
    x = t[a] / dt[a]
    out[a] = x + x - x * x - 1.0
    b = t > 1.0 - dt
    x = (t[b] - 1.0) / dt[b]
    out[b] = x * x + x + x + 1.0
    return out


def osc(freq, n, shape="sine", phase0=0.0, width=0.5):
    """Oscillator. Saw and square are band-limited (PolyBLEP): at 22 kHz a
    naive saw above a few hundred hertz folds back into a harsh whistle."""
    ph, dt = _phase(freq, n, phase0)
    dt = np.maximum(dt, 1e-9)
    if shape == "sine":
        return np.sin(2 * np.pi * ph)
    t = ph % 1.0
    if shape == "saw":
        return 2.0 * t - 1.0 - _blep(t, dt)
    if shape == "square":
        t2 = (t + 1.0 - width) % 1.0
        return np.where(t < width, 1.0, -1.0) + _blep(t, dt) - _blep(t2, dt)
    if shape == "tri":
        return 1.0 - 4.0 * np.abs(t - 0.5)
    raise ValueError(shape)


def fm(carrier, ratio, index, n, phase0=0.0):
    """Two-operator FM: bells and electric pianos. index may be an envelope."""
    mod = np.sin(2 * np.pi * _phase(np.asarray(carrier) * ratio, n)[0])
    ph, _ = _phase(carrier, n, phase0)
    return np.sin(2 * np.pi * ph + np.asarray(index) * mod)


def noise(n, rng):
    return rng.uniform(-1.0, 1.0, n)


def onepole_lp(x, cutoff):
    """One-pole low-pass; cutoff in Hz, scalar or per sample."""
    c = np.broadcast_to(np.asarray(cutoff, dtype=np.float64), x.shape)
    a = 1.0 - np.exp(-2 * np.pi * np.minimum(c, RATE * 0.45) / RATE)
    y = np.empty_like(x)
    s = 0.0
    for i in range(len(x)):
        s += a[i] * (x[i] - s)
        y[i] = s
    return y


def onepole_hp(x, cutoff):
    return x - onepole_lp(x, cutoff)


def svf(x, cutoff, q=0.7, mode="lp"):
    """State-variable filter with per-sample cutoff (Hz) and resonance q.
    Runs twice oversampled so it stays stable up to the top of the band."""
    c = np.broadcast_to(np.asarray(cutoff, dtype=np.float64), x.shape)
    f = 2.0 * np.sin(np.pi * np.clip(c, 20.0, RATE * 0.45) / (2 * RATE))
    damp = 1.0 / max(q, 0.5)
    lp = bp = 0.0
    y = np.empty_like(x)
    for i in range(len(x)):
        fi = f[i]
        xi = x[i]
        for _ in range(2):
            hp = xi - lp - damp * bp
            bp += fi * hp
            lp += fi * bp
        y[i] = lp if mode == "lp" else bp if mode == "bp" else hp
    return y


def resonator(x, freq, bandwidth):
    """Two-pole resonator (one formant of a voice), unity gain at its peak."""
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), x.shape)
    bw = np.broadcast_to(np.asarray(bandwidth, dtype=np.float64), x.shape)
    r = np.exp(-np.pi * bw / RATE)
    a1 = 2 * r * np.cos(2 * np.pi * f / RATE)
    a2 = -r * r
    g = 1.0 - r
    y = np.empty_like(x)
    y1 = y2 = 0.0
    for i in range(len(x)):
        v = g[i] * x[i] + a1[i] * y1 + a2[i] * y2
        y2, y1 = y1, v
        y[i] = v
    return y


def env_adsr(n, attack, decay, sustain, release):
    """Attack/decay/sustain/release in seconds; the release ends the sound."""
    a, d, r = int(attack * RATE), int(decay * RATE), int(release * RATE)
    s = max(n - a - d - r, 0)
    e = np.concatenate([np.linspace(0, 1, a, endpoint=False),
                        np.linspace(1, sustain, d, endpoint=False),
                        np.full(s, sustain),
                        np.linspace(sustain, 0, r)])
    return np.pad(e, (0, max(n - len(e), 0)))[:n]


def env_perc(n, attack, decay):
    """Fast attack, exponential decay (decay = time to fall by 60 dB)."""
    t = seconds(n)
    e = np.exp(-6.9 * np.maximum(t - attack, 0) / decay)
    a = int(attack * RATE)
    if a > 0:
        e[:a] *= np.linspace(0, 1, a)
    return e


def place(buf, sound, at):
    """Mix sound into buf starting at `at` seconds (cut at the end)."""
    i = int(round(at * RATE))
    if i >= len(buf):
        return buf
    m = min(len(sound), len(buf) - i)
    buf[i:i + m] += sound[:m]
    return buf


def room(x, rng, decay=1.2, mix=0.25, brightness=4000.0):
    """A soft room tail: convolution with exponentially decaying filtered
    noise. The dry sound stays in front; the tail keeps the total length."""
    n = int(decay * RATE)
    ir = noise(n, rng) * np.exp(-6.9 * seconds(n) / decay)
    ir = onepole_lp(ir, brightness)
    ir[: int(0.01 * RATE)] = 0.0  # a little pre-delay keeps attacks clear
    ir /= np.sqrt(np.sum(ir ** 2))
    size = 1 << int(np.ceil(np.log2(len(x) + n)))
    wet = np.fft.irfft(np.fft.rfft(x, size) * np.fft.rfft(ir, size), size)[: len(x)]
    return x + mix * wet


def saturate(x, drive):
    """Soft clipping: grit for explosions and roars."""
    return np.tanh(drive * x) / np.tanh(drive)


def midi_hz(note):
    return 440.0 * 2.0 ** ((np.asarray(note, dtype=np.float64) - 69) / 12.0)


def true_peak(x, factor=4):
    """The highest level between the samples as well: the peak of x
    resampled `factor` times finer (band-limited, through the FFT). A sound
    whose samples stay inside full scale can still overshoot it here, and a
    player's resampler would clip it."""
    n = len(x)
    spectrum = np.fft.rfft(x)
    up = np.fft.irfft(spectrum, n * factor) * factor
    return float(np.max(np.abs(up)))


def to_pcm8(x, peak_db, rng, fade_in=0.002, fade_out=0.01):
    """Normalise the true peak to peak_db dBFS, fade the ends (no clicks at
    start or cut), add TPDF dither of one step, and round to unsigned 8-bit
    around 128."""
    x = np.asarray(x, dtype=np.float64).copy()
    x -= np.mean(x)  # an offset would click when the sound starts
    fi, fo = max(int(fade_in * RATE), 1), max(int(fade_out * RATE), 1)
    x[:fi] *= np.linspace(0, 1, fi)
    x[-fo:] *= np.linspace(1, 0, fo)
    peak = true_peak(x)
    if peak > 0:
        x *= (10 ** (peak_db / 20.0)) / peak
    dither = rng.uniform(-0.5, 0.5, len(x)) + rng.uniform(-0.5, 0.5, len(x))
    y = np.round(x * 127.0 + 128.0 + dither)
    return np.clip(y, 0, 255).astype(np.uint8)


def wave_bytes(samples):
    """A plain RIFF WAVE file: 'fmt ' (16 bytes, PCM mono 8-bit) and 'data'."""
    data = bytes(samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"  # chunks are padded to an even size
    return b"RIFF" + struct.pack("<I", len(body)) + body
