#!/usr/bin/python3
"""Boss 1, the winged demon: body 174, head 173, wings 172, photon orb 179,
laser beam 253.

All parts are drawn in the body's coordinates and cut out at their own
places, so they meet exactly: the head sits over the neck at (103, -24),
the wings behind the shoulders at (-73, -31), the orbs in the raised claws
at (3, 34) and (219, 34), and the beams fall from the claws at (15, 78) and
(231, 78).
"""
import math

import numpy as np

from artlib import save_bitmap
from boss_drawing import Sprite, bezier, empty, energy_rgb

W, H = 266, 188
# Demon hide: purple in the shadows, blood red, orange where the light falls.
FLESH = [(26, 4, 18), (70, 8, 28), (120, 14, 30), (170, 24, 28), (212, 56, 34), (240, 116, 64),
         (255, 184, 128)]
BONE = "stone"

# Hellish violet fire: the photons and the lasers.
ENERGY = [(0.0, (0.34, 0.05, 0.42)), (0.3, (0.70, 0.12, 0.62)), (0.6, (0.96, 0.42, 0.80)),
          (0.82, (1.0, 0.80, 0.94)), (1.0, (1.0, 1.0, 1.0))]


def mirrored(pts, cx=W / 2):
    return [(2 * cx - x, y) for x, y in pts]


def draw_body():
    s = Sprite(W, H)
    # Tail first: it sweeps out behind the right leg.
    tail = bezier((150, 128), (250, 120), (205, 178), (252, 176), n=30)
    s.paint(s.mask().tube(tail, 14, 4), FLESH, lo=0.06, hi=0.55, relief=4)
    s.paint(s.mask().poly([(244, 166), (265, 170), (252, 186), (247, 178)]), BONE, lo=0.1, hi=0.8, relief=2)

    # Legs: crouched, knees out, clawed feet.
    for side in (0, 1):
        f = (lambda p: p) if side == 0 else mirrored
        thigh = f([(112, 128), (84, 150), (82, 160)])
        shin = f([(82, 160), (94, 178)])
        s.paint(s.mask().tube(thigh, 30, 22), FLESH, lo=0.08, hi=0.7, relief=7)
        s.paint(s.mask().tube(shin, 20, 14), FLESH, lo=0.06, hi=0.62, relief=5)
        foot = s.mask()
        foot.poly(f([(82, 174), (108, 174), (114, 184), (80, 184)]))
        s.paint(foot, FLESH, lo=0.06, hi=0.6, relief=3)
        for tx in (80, 92, 104, 114):
            s.paint(s.mask().poly(f([(tx - 4, 181), (tx + 3, 181), (tx - 1 + (2 if side else -2), 188)])),
                    BONE, lo=0.2, hi=0.85, relief=1.5, rim=0.6)
        # Knee spike.
        s.paint(s.mask().poly(f([(74, 150), (84, 146), (62, 138)])), BONE, lo=0.15, hi=0.9, relief=2)

    # Torso.
    torso = s.mask()
    torso.poly([(86, 40), (180, 40), (196, 60), (172, 112), (160, 134), (106, 134), (94, 112), (70, 60)])
    torso.ellipse(133, 78, 56, 44)
    s.paint(torso, FLESH, lo=0.06, hi=0.6, relief=14, texture=-0.14 * s.Y / H)
    # Chest and belly muscles, each its own rounded mass.
    for cx in (111, 155):
        s.paint(s.mask().ellipse(cx, 66, 24, 17), FLESH, lo=0.1, hi=0.7, relief=7, rim=0.7, rim_level=0.04)
    for row, y in enumerate((92, 106, 119)):
        for cx in (122, 144):
            s.paint(s.mask().ellipse(cx, y, 10 - row, 6.5), FLESH, lo=0.08, hi=0.62, relief=3.5,
                    rim=0.6, rim_level=0.07)
    # Ribs showing under the pectorals.
    for side in (0, 1):
        f = (lambda p: p) if side == 0 else mirrored
        for k in range(3):
            y = 86 + k * 9
            s.paint(s.mask().line(f([(86 + k * 2, y), (100 + k * 2, y + 4)]), 2.2), FLESH, flat=0.12, rim=0)
    # Belt of bone plates and a gold buckle.
    belt = s.mask().poly([(100, 124), (166, 124), (170, 138), (96, 138)])
    s.paint(belt, "wood", lo=0.05, hi=0.45, relief=3)
    for k in range(7):
        x = 100 + k * 10
        s.paint(s.mask().ellipse(x + 3, 131, 3.5, 4.5), BONE, lo=0.2, hi=0.9, relief=2, rim=0.6)
    s.paint(s.mask().poly([(133, 122), (143, 131), (133, 142), (123, 131)]), "gold", lo=0.1, hi=1.0,
            relief=3, gloss=0.3)
    # Loincloth hanging between the thighs.
    s.paint(s.mask().poly([(114, 138), (152, 138), (146, 168), (133, 176), (120, 168)]), "dusk",
            lo=0.05, hi=0.45, relief=5, texture=0.1 * np.sin(s.X * 0.9) - 0.004 * (s.Y - 138))

    # Arms raised, claws cupped round the orbs.
    for side in (0, 1):
        f = (lambda p: p) if side == 0 else mirrored
        upper = f([(80, 48), (56, 28), (40, 20)])
        fore = f([(40, 20), (30, 30), (26, 42)])
        s.paint(s.mask().tube(upper, 26, 20), FLESH, lo=0.06, hi=0.64, relief=7)
        s.paint(s.mask().tube(fore, 19, 16), FLESH, lo=0.06, hi=0.6, relief=5)
        # Elbow spike.
        s.paint(s.mask().poly(f([(36, 12), (46, 14), (28, 0)])), BONE, lo=0.15, hi=0.95, relief=2)
        # Palm and four claws bending down round the orb.
        s.paint(s.mask().ellipse(*f([(25, 42)])[0], 12, 8), FLESH, lo=0.1, hi=0.7, relief=4)
        for a0 in (-62, -25, 25, 62):
            a = math.radians(a0)
            base = (25 + 11 * math.sin(a), 44 + 3 * math.cos(a))
            knuckle = (25 + 17 * math.sin(a), 52)
            tip = (25 + 12 * math.sin(a), 70)
            s.paint(s.mask().tube(f([base, knuckle]), 6, 5), FLESH, lo=0.08, hi=0.66, relief=2, rim=0.7)
            s.paint(s.mask().tube(f([knuckle, tip]), 4.6, 1.4), BONE, lo=0.15, hi=0.92, relief=1.6, rim=0.6)
        # Shoulder mass with a ridge of spikes.
        for k, (x, y, ln) in enumerate(((70, 34, 16), (82, 30, 20), (94, 32, 13))):
            s.paint(s.mask().poly(f([(x - 5, y + 6), (x + 5, y + 6), (x - 4, y - ln)])), BONE,
                    lo=0.15, hi=0.92, relief=2)
        s.paint(s.mask().ellipse(*f([(82, 46)])[0], 20, 16), FLESH, lo=0.08, hi=0.68, relief=7)
    # Neck sinews under the head.
    s.paint(s.mask().poly([(112, 30), (154, 30), (162, 52), (104, 52)]), FLESH, lo=0.05, hi=0.5, relief=6)
    return s.finish()


def draw_head(open_mouth):
    s = Sprite(59, 85)
    cx = 29.5
    # Horns sweep out and up from the temples.
    for side in (0, 1):
        f = (lambda p: p) if side == 0 else (lambda p: [(59 - x, y) for x, y in p])
        horn = bezier((17, 34), (-2, 26), (2, 8), (12, 1), n=20)
        s.paint(s.mask().tube(f(horn), 11, 2), BONE, lo=0.1, hi=0.85, relief=3,
                texture=0.08 * np.sin(s.Y * 2.2))
        ear = f([(12, 40), (1, 32), (6, 50)])
        s.paint(s.mask().poly(ear), FLESH, lo=0.08, hi=0.6, relief=2)
    jaw_drop = 6 if open_mouth else 0
    skull = s.mask()
    skull.ellipse(cx, 46, 19, 20)
    skull.poly([(11, 50), (48, 50), (42, 70 + jaw_drop), (35, 80 + jaw_drop), (24, 80 + jaw_drop),
                (17, 70 + jaw_drop)])
    s.paint(skull, FLESH, lo=0.08, hi=0.78, relief=8)
    # Cheekbones.
    for x in (19, 40):
        s.paint(s.mask().ellipse(x, 56, 6, 4), FLESH, lo=0.12, hi=0.8, relief=3, rim=0.5, rim_level=0.1)
    # Heavy brow in shadow, the eyes burn beneath it.
    s.paint(s.mask().poly([(10, 38), (cx, 44), (49, 38), (47, 45), (cx, 49), (12, 45)]), FLESH,
            lo=0.03, hi=0.45, relief=2)
    for side in (0, 1):
        f = (lambda p: p) if side == 0 else (lambda p: [(59 - x, y) for x, y in p])
        eye = s.mask().poly(f([(14, 45), (26, 48), (24, 51), (16, 49)]))
        s.paint(eye, "gold", lo=0.55, hi=1.0, relief=1.5, rim=0.5, rim_level=0.4)
        s.paint(s.mask().ellipse(*f([(21, 49)])[0], 1.1, 1.6), "fire", flat=0.1, rim=0)
    # Nostrils.
    for x in (26, 33):
        s.paint(s.mask().ellipse(x, 59, 1.6, 1.2), FLESH, flat=0.02, rim=0)
    if open_mouth:
        maw = s.mask().ellipse(cx, 70, 11, 9)
        s.paint(maw, "red", flat=0.02, rim=0)
        s.glow(cx, 73, 7, "fire", lo=0.35, hi=1.0, power=1.3)
        for x, y0, y1 in ((21, 62, 70), (38, 62, 70), (26, 62, 66), (33, 62, 66)):
            s.paint(s.mask().poly([(x - 2, y0), (x + 2, y0), (x, y1)]), BONE, lo=0.5, hi=1.0, relief=1, rim=0.4)
        for x, y0, y1 in ((22, 79, 72), (37, 79, 72)):
            s.paint(s.mask().poly([(x - 2, y0), (x + 2, y0), (x, y1)]), BONE, lo=0.5, hi=1.0, relief=1, rim=0.4)
    else:
        s.paint(s.mask().line([(17, 66), (24, 68), (35, 68), (42, 66)], 1.6), FLESH, flat=0.02, rim=0)
        for x in (21, 38):
            s.paint(s.mask().poly([(x - 2, 66), (x + 2, 66), (x, 73)]), BONE, lo=0.5, hi=1.0, relief=1, rim=0.4)
    # Goatee spike under the chin.
    s.paint(s.mask().poly([(25, 78 + jaw_drop), (34, 78 + jaw_drop), (cx, 85)]), FLESH, lo=0.03, hi=0.4,
            relief=1.5)
    return s.finish()


# Left wing in wing-bitmap coordinates; the right wing is its mirror image.
WING_POSES = [
    # raised: root, wrist, fingertips from the outer one inwards
    dict(root=(180, 74), wrist=(76, 10), tips=[(2, 24), (14, 78), (52, 116), (112, 122)], thumb=(84, 0)),
    # lowered
    dict(root=(180, 78), wrist=(64, 54), tips=[(2, 106), (30, 140), (82, 146), (134, 130)], thumb=(56, 38)),
]


def draw_wings(pose):
    ww, wh = 413, 148
    s = Sprite(ww, wh)
    p = WING_POSES[pose]
    for side in (0, 1):
        f = (lambda q: q) if side == 0 else (lambda q: [(ww - x, y) for x, y in q])
        root, wrist, tips = p["root"], p["wrist"], p["tips"]
        outline = [root, wrist]
        outline.append(tips[0])
        for a, b in zip(tips, tips[1:]):
            mid = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
            pull = ((mid[0] * 0.75 + wrist[0] * 0.25), (mid[1] * 0.75 + wrist[1] * 0.25))
            outline += bezier(a, pull, b, n=12)[1:]
        outline += bezier(tips[-1], (170, 120), (root[0] + 10, root[1] + 40), n=12)[1:]
        membrane = s.mask().poly(f(outline))
        # Veins run from the wrist out to the scalloped edge.
        ang = np.arctan2(s.Y - wrist[1], (s.X if side == 0 else ww - s.X) - wrist[0])
        veins = 0.06 * np.cos(ang * 40) - 0.08 * np.clip(
            1 - np.hypot((s.X if side == 0 else ww - s.X) - root[0], s.Y - root[1]) / 140, 0, 1)
        s.paint(membrane, "dusk", lo=0.08, hi=0.52, relief=16, texture=veins)
        # Bones: arm from the root to the wrist, fingers to each tip.
        s.paint(s.mask().tube(f([root, ((root[0] + wrist[0]) / 2, (root[1] + wrist[1]) / 2 - 8), wrist]),
                              16, 9), FLESH, lo=0.06, hi=0.66, relief=4)
        for t in tips:
            s.paint(s.mask().tube(f([wrist, t]), 6, 2.5), FLESH, lo=0.06, hi=0.6, relief=2)
            s.paint(s.mask().ellipse(*f([t])[0], 2.5, 2.5), BONE, lo=0.3, hi=0.9, relief=1, rim=0.4)
        s.paint(s.mask().ellipse(*f([wrist])[0], 7, 7), FLESH, lo=0.08, hi=0.7, relief=3)
        # Thumb claw at the wrist.
        th = p["thumb"]
        s.paint(s.mask().poly(f([(wrist[0] - 4, wrist[1] + 2), (wrist[0] + 5, wrist[1] - 1), th])), BONE,
                lo=0.15, hi=0.95, relief=2)
    return s.finish()


def energy_blob(s, cx, cy, r, wobble=0.0, phase=0.0, spikes=0):
    d = np.hypot(s.X - cx, s.Y - cy)
    a = np.arctan2(s.Y - cy, s.X - cx)
    edge = r * (1 + wobble * np.sin(a * spikes + phase)) if spikes else r
    t = 1 - d / edge
    inside = t >= 0
    col = energy_rgb(t * 1.25, ENERGY)
    s.rgba[inside, :3] = col[inside]
    s.rgba[inside, 3] = 1


def draw_photon(frame):
    if frame == 0:
        return empty(44, 44)
    s = Sprite(44, 44)
    c = 22
    if frame in (1, 2):
        energy_blob(s, c, c, 8 + 2 * (frame - 1), wobble=0.18, spikes=6, phase=frame * 0.6)
    elif frame in (3, 4):
        energy_blob(s, c, c, 17 + (frame - 3) * 2, wobble=0.22, spikes=8, phase=frame * 0.4)
    else:
        # Laser glow: a flare bleeding straight down into the beam.
        energy_blob(s, c, c, 20, wobble=0.12, spikes=10, phase=frame)
        d = np.abs(s.X - c)
        half = 7 + (s.Y - c) * 0.12 + 1.2 * (frame - 5)
        t = 1 - d / np.maximum(half, 1)
        inside = (t >= 0) & (s.Y >= c)
        col = energy_rgb(t * 1.3, ENERGY)
        s.rgba[inside, :3] = col[inside]
        s.rgba[inside, 3] = 1
        d = np.hypot(s.X - c, s.Y - c)
        core = d < 8
        s.rgba[core, :3] = energy_rgb(0.75 + 0.25 * (1 - d / 8), ENERGY)[core]
    return s.finish(outline=False)


def draw_laser(frame):
    if frame == 0:
        return empty(20, 480)
    s = Sprite(20, 480)
    ph = (frame - 1) * math.pi
    # Edges ripple, bright knots travel down the beam; the two phases swap them.
    half = 8.4 + 1.4 * np.sin(s.Y / 7.0 + ph) + 0.6 * np.sin(s.Y / 2.3 - ph)
    flare = np.clip(1 - s.Y / 14, 0, 1) * 1.6
    half = np.minimum(half + flare, 10)
    t = 1 - np.abs(s.X - 10) / half
    t = t * (1.05 + 0.12 * np.sin(s.Y / 5.0 - ph * 1.5))
    inside = t >= 0
    col = energy_rgb(t * 1.15, ENERGY)
    s.rgba[inside, :3] = col[inside]
    s.rgba[inside, 3] = 1
    return s.finish(outline=False)


def main():
    out = [save_bitmap(174, "boss1-body", draw_body()),
           save_bitmap(173, "boss1-head", [draw_head(False), draw_head(True)]),
           save_bitmap(172, "boss1-wings", [draw_wings(0), draw_wings(1)]),
           save_bitmap(179, "boss1-photon", [draw_photon(i) for i in range(7)]),
           save_bitmap(253, "boss1-laser", [draw_laser(i) for i in range(3)])]
    for p in out:
        print(p)


if __name__ == "__main__":
    main()
