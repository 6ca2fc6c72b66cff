#!/usr/bin/python3
"""Enemy bullets: fireball 126, dash 181, beam pieces 178/263/264, lightning
222, flames 232/233 and the pulsing orb 272.

All enemy fire is warm or violent (fire, rose, gold) with a white-hot core
and a dark rim, so it stands out from both the witch's blue magic and the
calm backgrounds. The beam pieces share one cross-section and nothing in
them varies along the beam, so pieces placed 48 pixels apart (three frames
at 16 pixels a frame) join into one unbroken column.
"""
import math

import numpy as np

from artlib import save_bitmap
from paint import Figure


def radial(cx, cy, r):
    return lambda X, Y: -np.sqrt((X - cx) ** 2 + (Y - cy) ** 2) / r


def fireball(frame):
    f = Figure(13, 13)
    c = 6.5
    pts = []
    for k in range(10):
        t = k * math.pi / 5 + frame * math.pi / 10
        r = 4.7 if k % 2 == 0 else 3.8
        pts.append((c + r * math.cos(t), c + r * math.sin(t)))
    f.add(f.polygon(pts), "fire", base=1.15, contrast=0.12, level=radial(c - 0.8, c - 0.8, 6.0))
    f.add(f.ellipse(c - 0.6, c - 0.6, 2.0, 2.0), "gold", base=1.0, contrast=0.0)
    return f.resolve()


def dash(frame):
    f = Figure(12, 21)
    c = 6.0
    f.add(f.ellipse(c, 10.5, 3.6 - 0.4 * frame, 8.6), "rose", base=1.0, contrast=0.15,
          level=lambda X, Y: -np.abs(X - c) / 4.0 - np.abs(Y - 12.5) / 14.0)
    f.add(f.ellipse(c, 12.0 + frame, 1.3, 5.0), "rose", base=1.0, contrast=0.0)
    return f.resolve()


BEAM_HALF = 6.0  # half width of the beam's body, pixels


def beam_profile(X):
    return 1.05 - 0.75 * (np.abs(X - 8.0) / BEAM_HALF) ** 1.6


def beam(kind):
    """kind: 'middle', 'head' (rounded bottom) or 'tail' (rounded top)."""
    f = Figure(16, 48)
    top = -1.0 if kind in ("middle", "head") else 0.0
    bottom = 49.0 if kind in ("middle", "tail") else 48.0
    m = f.rect(8 - BEAM_HALF, top, 8 + BEAM_HALF, bottom)
    if kind == "head":
        m = f.rect(8 - BEAM_HALF, top, 8 + BEAM_HALF, 48 - BEAM_HALF - 1) | f.ellipse(8, 48 - BEAM_HALF - 1.5, BEAM_HALF, BEAM_HALF)
    if kind == "tail":
        m = f.rect(8 - BEAM_HALF, BEAM_HALF + 1, 8 + BEAM_HALF, bottom) | f.ellipse(8, BEAM_HALF + 1.5, BEAM_HALF, BEAM_HALF)
    if kind == "head":
        lev = lambda X, Y: beam_profile(X) - 0.35 * np.clip((Y - 40) / 7, 0, 1) * (np.abs(X - 8) / BEAM_HALF)
    elif kind == "tail":
        lev = lambda X, Y: beam_profile(X) - 0.35 * np.clip((8 - Y) / 7, 0, 1) * (np.abs(X - 8) / BEAM_HALF)
    else:
        lev = lambda X, Y: beam_profile(X)
    f.add(m, "rose", base=0.0, contrast=0.0, level=lev)
    core = f.rect(8 - 1.5, top, 8 + 1.5, bottom)
    if kind == "head":
        core = f.rect(6.5, top, 9.5, 40) | f.ellipse(8, 40, 1.5, 2.5)
    if kind == "tail":
        core = f.rect(6.5, 8, 9.5, bottom) | f.ellipse(8, 8, 1.5, 2.5)
    f.add(core, "grey", base=1.0, contrast=0.0)
    idx = f.resolve()
    # The outline must not close the open ends: those rows continue into the next piece.
    return idx


def lightning(frame):
    f = Figure(22, 103)
    rng = np.random.default_rng(7 + frame)
    pts = [(11.0, 1.5)]
    y = 1.5
    x = 11.0
    while y < 100:
        y = min(101.5, y + rng.uniform(7, 11))
        x = float(np.clip(x + rng.choice([-1, 1]) * rng.uniform(3, 6), 4.5, 17.5))
        pts.append((x, y))
    # Small forks off the main bolt.
    for i in (2, 5, 8):
        if i < len(pts) - 1:
            x0, y0 = pts[i]
            d = 1 if x0 < 11 else -1
            f.add(f.taper([(x0, y0), (x0 + d * 4, y0 + 4), (x0 + d * 5.5, y0 + 9)], 2.2, 1.0), "gold",
                  base=0.75, contrast=0.1)
    f.add(f.taper(pts, 4.8, 3.0), "gold", base=0.85, contrast=0.2)
    f.add(f.taper(pts, 1.8, 1.2), "grey", base=1.0, contrast=0.0)
    return f.resolve()


def flame(frame, rising):
    """Tail below when rising, above when falling; the round head leads."""
    f = Figure(20, 38)
    # Draw as if rising (head at top), mirrored in y for the falling one.
    def Y(y):
        return y if rising else 38 - y
    wob = 1.5 if frame else -1.5
    outer = [(10, 1.5), (15.5, 6), (17.5, 11), (16, 16), (13.5 + wob * 0.4, 22), (12 + wob, 28),
             (10 + wob * 1.5, 36), (8.5 + wob, 28), (6.5 - wob * 0.4, 21), (3.5, 16), (2.5, 11), (4.5, 6)]
    outer = [(x, Y(y)) for x, y in outer]
    hy = Y(10)
    f.add(f.polygon(outer), "fire", base=0.7, contrast=0.25,
          level=lambda X, Yy: 0.6 - np.sqrt((X - 9.5) ** 2 + ((Yy - hy) * 0.7) ** 2) / 11.0)
    inner = [(x, Y(y)) for x, y in [(10, 5), (14, 10), (13, 15), (11 + wob * 0.6, 22), (10 + wob, 27), (8.5, 21),
                                     (6.5, 15), (6, 10)]]
    f.add(f.polygon(inner), "gold", base=0.95, contrast=0.1, level=lambda X, Yy: -np.abs(Yy - hy) / 40.0)
    f.add(f.ellipse(9.5, hy, 2.6, 2.8), "grey", base=1.0, contrast=0.0)
    return f.resolve()


def orb(frame):
    f = Figure(32, 32)
    c = 15.5
    pulse = [0.0, 0.8, 1.3, 0.6][frame]
    halo = 11.0 + pulse
    # Rays of the halo turn a little every frame.
    pts = []
    for k in range(16):
        t = k * math.pi / 8 + frame * math.pi / 32
        r = halo + (1.8 if k % 2 == 0 else 0.0)
        pts.append((c + r * math.cos(t), c + r * math.sin(t)))
    f.add(f.polygon(pts), "violet", base=0.55, contrast=0.1, level=lambda X, Y: 0.35 - np.sqrt((X - c) ** 2 + (Y - c) ** 2) / 30.0)
    f.add(f.ellipse(c, c, 8.5 + 0.5 * pulse, 8.5 + 0.5 * pulse), "rose", base=0.7, contrast=0.3, gloss=0.2)
    f.add(f.ellipse(c - 1.5, c - 1.5, 4.0 + 0.4 * pulse, 4.0 + 0.4 * pulse), "rose", base=1.0, contrast=0.05)
    f.add(f.ellipse(c - 2.5, c - 2.5, 1.6, 1.6), "grey", base=1.0, contrast=0.0)
    return f.resolve()


def main():
    print(save_bitmap(126, "bullet-fireball", [fireball(i) for i in range(2)]))
    print(save_bitmap(181, "bullet-dash", [dash(i) for i in range(2)]))
    print(save_bitmap(178, "beam-middle", [beam("middle")]))
    print(save_bitmap(263, "beam-tail", [beam("tail")]))
    print(save_bitmap(264, "beam-head", [beam("head")]))
    print(save_bitmap(222, "bullet-bolt", [lightning(i) for i in range(2)]))
    print(save_bitmap(232, "bullet-flame-up", [flame(i, True) for i in range(2)]))
    print(save_bitmap(233, "bullet-flame-down", [flame(i, False) for i in range(2)]))
    print(save_bitmap(272, "bullet-orb", [orb(i) for i in range(4)]))


if __name__ == "__main__":
    main()
