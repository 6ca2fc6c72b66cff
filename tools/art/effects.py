#!/usr/bin/python3
"""Explosions: the fiery cloud 128 (9 frames) and the expanding ring 129
(5 frames, also the hit spark).

Frame 0 of each is never on screen (an explosion is advanced once before it
is first drawn), so it holds only a small spark; frames 1 onwards tell the
story: flash, growing fire, fire turning to smoke, smoke thinning away.
"""
import math

import numpy as np

from artlib import save_bitmap
from paint import Figure

# One fixed set of puffs, so every frame grows the same cloud.
_rng = np.random.default_rng(11)
PUFFS = [(float(a), float(d), float(r)) for a, d, r in
         zip(_rng.uniform(0, 2 * math.pi, 14), _rng.uniform(0.25, 0.75, 14), _rng.uniform(0.35, 0.55, 14))]


def cloud(frame):
    f = Figure(46, 46)
    c = 22.5
    if frame == 0:
        f.add(f.ellipse(c, c, 3, 3), "gold", base=1.0, contrast=0.1)
        return f.resolve()
    if frame == 1:
        pts = []
        for k in range(16):
            t = k * math.pi / 8 + 0.2
            r = 12.0 if k % 2 == 0 else 5.5
            pts.append((c + r * math.cos(t), c + r * math.sin(t)))
        f.add(f.polygon(pts), "gold", base=1.0, contrast=0.1, level=lambda X, Y: -np.hypot(X - c, Y - c) / 20)
        f.add(f.ellipse(c, c, 5.5, 5.5), "grey", base=1.0, contrast=0.0)
        return f.resolve()
    # Frames 2..8: the cloud grows, rises a little, fire gives way to smoke.
    t = (frame - 2) / 6.0                       # 0 .. 1
    size = 16 + 4 * math.sqrt(t)                # cloud radius
    rise = -4.0 * t
    fire_left = max(0.0, 1.0 - 1.15 * t)       # share of fire in the cloud
    smoke = []
    fire = []
    for i, (a, d, r) in enumerate(PUFFS):
        # Puffs break away and shrink as the cloud thins out.
        keep = 1.0 - max(0.0, t - 0.5) * 1.6 * (0.5 + 0.5 * math.sin(i * 2.3))
        if keep <= 0.15:
            continue
        px = c + math.cos(a) * d * size
        py = c + rise + math.sin(a) * d * size * 0.9 - t * 3 * d
        pr = r * size * keep * (1.0 - 0.35 * t)
        (fire if (i / len(PUFFS)) < fire_left else smoke).append((px, py, pr))
    for px, py, pr in smoke:
        f.add(f.ellipse(px, py, pr, pr), "stone", base=0.3 + 0.2 * t, contrast=0.3, soft=1.5 + pr / 3)
    for px, py, pr in fire:
        f.add(f.ellipse(px, py, pr, pr), "fire", base=0.8 - 0.4 * t, contrast=0.3, soft=1.5 + pr / 3,
              level=lambda X, Y: -np.hypot(X - c, Y - c) / (3 * size))
    if t < 0.5:
        core = (1 - 2 * t) * size * 0.5
        f.add(f.ellipse(c - 1, c - 1 + rise, core + 1, core + 1), "gold", base=1.0, contrast=0.1)
    return f.resolve()


def ring(frame):
    f = Figure(36, 36)
    c = 17.5
    if frame == 0:
        f.add(f.ellipse(c, c, 2.5, 2.5), "gold", base=1.0, contrast=0.0)
        return f.resolve()
    radius = [0, 5.5, 9.0, 12.0, 14.5][frame]
    width = [0, 3.6, 3.2, 2.4, 1.8][frame]
    d = np.hypot(f.X - c, f.Y - c)
    band = np.abs(d - radius) <= width / 2
    if frame == 4:  # the ring breaks up into dashes as it fades
        ang = np.arctan2(f.Y - c, f.X - c)
        band &= np.sin(ang * 8) > -0.35
    f.add(band, "gold", base=0.0, contrast=0.0,
          level=lambda X, Y: 1.05 - np.abs(np.hypot(X - c, Y - c) - radius + width * 0.2) / width - 0.1 * frame)
    if frame == 1:
        f.add(f.ellipse(c, c, 3.0, 3.0), "grey", base=1.0, contrast=0.0)
    if frame in (2, 3):
        for k in range(8):  # sparks flying out ahead of the ring
            a = k * math.pi / 4 + frame * 0.4
            rr = radius + 1.5 + frame * 0.5
            f.add(f.ellipse(c + rr * math.cos(a), c + rr * math.sin(a), 1.0, 1.0), "gold", base=0.95, contrast=0.0)
    return f.resolve()


def main():
    print(save_bitmap(128, "explosion-large", [cloud(i) for i in range(9)]))
    print(save_bitmap(129, "explosion-small", [ring(i) for i in range(5)]))


if __name__ == "__main__":
    main()
