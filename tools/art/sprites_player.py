#!/usr/bin/python3
"""The witch on her broom (116) and her pale blinking look (158).

Seen from behind and above, flying up the screen: the broom points up, its
bristles trail below; her wide-brimmed hat hides most of her head, its tip
bent back by the wind; copper hair and a rose scarf stream behind her over
the violet robe. The four frames are one flap of the wind: hem, hair, scarf
and bristles move, the body stays put so the sprite does not wobble.
"""
import math

import numpy as np

from artlib import save_bitmap
from paint import Figure, tint
from palette import shade

SIZE = 46


def witch(frame, size=SIZE, scale=1.0):
    """One frame of the witch. scale > 1 draws the same design larger."""
    s = scale
    f = Figure(size, size)
    cx = size / 2.0
    ph = frame * math.pi / 2.0
    w1, w2 = math.sin(ph), math.cos(ph)

    def P(x, y):
        return (cx + x * s, 1 + y * s)

    # Bristles: a fan below the seat, tips flickering.
    tips = []
    for k in range(9):
        a = -1.0 + k / 4.0
        flick = math.sin(ph + k * 1.9)
        tips.append(P(a * 8.0 + 0.6 * w1, 42.8 + flick * 0.8 - abs(a) * 2.5))
    fan = [P(-2.2, 30)] + tips + [P(2.2, 30)]
    f.add(f.polygon(fan), "gold", base=0.62, contrast=0.3, soft=2.0,
          level=lambda X, Y: 0.14 * np.sin(X * 2.1 / s) - 0.22 * np.clip((Y - 1 - 37 * s) / (7 * s), 0, 1))
    # Hem of the robe, fluttering behind her.
    hem = [P(-6, 19), P(-14 - 1.5 * w1, 25 + w2), P(-13 + w2, 31 + 1.2 * w1), P(-8, 30 + w2), P(-4, 33 - w1),
           P(0, 31), P(4, 33 + w1), P(8, 30 - w2), P(13 - w2, 31 - 1.2 * w1), P(14 + 1.5 * w1, 25 - w2), P(6, 19)]
    f.add(f.polygon(hem), "violet", base=0.58, contrast=0.35, soft=2.0, line=True)
    # Broom handle, from the seat up past her hands, with its red binding.
    f.add(f.line([P(0, 32), P(0, 2.0)], 2.6 * s), "wood", base=0.55, contrast=0.4, soft=1.0, line=True)
    f.add(f.rect(cx - 2.4 * s, 1 + 29.0 * s, cx + 2.4 * s, 1 + 31.0 * s), "red", base=0.55, contrast=0.3,
          line=True)
    # Body and sleeves reaching forward to the handle.
    f.add(f.ellipse(cx, 1 + 19.5 * s, 7.5 * s, 7.5 * s), "violet", base=0.68, contrast=0.35, soft=2.5, line=True)
    for side in (-1, 1):
        f.add(f.taper([P(side * 7.0, 18), P(side * 5.5, 12), P(side * 2.0, 8.5)], 4.4 * s, 3.2 * s),
              "violet", base=0.72, contrast=0.3, line=True)
        f.add(f.ellipse(*P(side * 1.7, 8.0), 1.7 * s, 1.6 * s), "skin", base=0.72, contrast=0.25, line=True)
    # Hair: two copper plaits streaming back over the robe.
    for side in (-1, 1):
        hair = [P(side * 3.0, 17), P(side * (5.0 + 0.8 * w1), 22), P(side * (7.5 + 1.2 * w2), 27),
                P(side * (8.0 + 2.0 * w1), 31 + 0.8 * w2)]
        f.add(f.taper(hair, 5.0 * s, 2.4 * s), "fire", base=0.58, contrast=0.32, soft=1.5,
              level=lambda X, Y: 0.1 * np.sin((Y + X * 0.8) * 2.6 / s))
        f.add(f.ellipse(*P(side * (8.0 + 2.0 * w1), 31.5 + 0.8 * w2), 1.5 * s, 1.3 * s), "rose", base=0.6,
              contrast=0.2, line=True)
    # Rose scarf knotted at the nape, one tail flying.
    f.add(f.ellipse(cx, 1 + 20.5 * s, 3.2 * s, 2.2 * s), "rose", base=0.6, contrast=0.3, line=True)
    f.add(f.taper([P(0.5, 21), P(1.5 + w1, 25), P(0.5 + 2.0 * w2, 29.5)], 2.8 * s, 1.3 * s), "rose",
          base=0.55, contrast=0.3, line=True)
    # Hat: brim seen from above, gold band, crown, and the tip blown back
    # so far that it pokes out past the brim at the lower right.
    f.add(f.ellipse(cx, 1 + 14.5 * s, 12.0 * s, 7.0 * s), "violet", base=0.36, contrast=0.3, soft=2.0, line=True)
    f.add(f.ellipse(cx - 0.2 * s, 1 + 14.2 * s, 6.4 * s, 4.8 * s), "gold", base=0.66, contrast=0.35, line=True)
    f.add(f.ellipse(cx - 1.0 * s, 1 + 13.2 * s, 4.6 * s, 3.4 * s), "violet", base=0.55, contrast=0.4, gloss=0.2,
          line=True)
    tip = [(cx - 1.0 * s, 1 + 13.2 * s), P(2.4 + 0.4 * w1, 16.5), P(6.0 + 0.8 * w1, 19.5 + 0.4 * w2),
           P(9.5 + 1.2 * w1, 21.5 + 0.8 * w2)]
    f.add(f.taper(tip, 5.8 * s, 1.6 * s), "violet", base=0.6, contrast=0.35, line=True)
    f.add(f.ellipse(*P(9.8 + 1.2 * w1, 21.8 + 0.8 * w2), 1.4 * s, 1.4 * s), "gold", base=0.85, contrast=0.2,
          line=True)
    return f.resolve()


def ghost(idx):
    """The blinking look: every material washed to pale ice and sky."""
    def pale(name, level):
        return shade("ice", 0.35 + 0.65 * level) if level > 0.12 else shade("sky", 0.55)
    return tint(idx, pale)


def main():
    frames = [witch(i) for i in range(4)]
    print(save_bitmap(116, "player", frames))
    print(save_bitmap(158, "player-blink", [ghost(f) for f in frames]))


if __name__ == "__main__":
    main()
