#!/usr/bin/python3
"""The game's one 256-entry colour table.

Entries 0-9 and 246-255 are the usual 20 static system colours (0 black,
255 white). Entry 10 is the reserved transparent key: artwork never uses it
for a visible pixel. The other 235 entries are smooth ramps, dark to light,
for the materials the artwork needs: stone, wood, skin, fire, foliage, sea,
sky, the witch's violet robe, dusk and night.
"""

SYSTEM_LOW = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
    (128, 0, 128), (0, 128, 128), (192, 192, 192), (192, 220, 192), (166, 202, 240),
]
SYSTEM_HIGH = [
    (255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

KEY = 10
KEY_RGB = (255, 0, 255)  # shown only by tools; never drawn by the game

# (name, shade count, anchor colours from darkest to lightest)
RAMPS = [
    ("grey", 16, [(10, 10, 12), (120, 120, 126), (245, 245, 250)]),
    ("stone", 14, [(28, 22, 20), (122, 108, 96), (232, 222, 205)]),
    ("slate", 12, [(16, 20, 32), (88, 100, 124), (200, 210, 226)]),
    ("wood", 12, [(30, 14, 6), (120, 70, 34), (222, 172, 110)]),
    ("skin", 12, [(64, 30, 22), (196, 122, 90), (255, 232, 212)]),
    ("red", 14, [(44, 2, 6), (196, 24, 28), (255, 178, 168)]),
    ("fire", 14, [(70, 12, 0), (236, 100, 10), (255, 236, 150)]),
    ("gold", 12, [(52, 36, 2), (226, 182, 30), (255, 252, 200)]),
    ("leaf", 16, [(4, 22, 8), (48, 138, 42), (206, 246, 150)]),
    ("sea", 14, [(0, 20, 28), (0, 128, 140), (178, 246, 236)]),
    ("sky", 16, [(6, 12, 48), (62, 128, 228), (220, 238, 255)]),
    ("violet", 16, [(18, 6, 36), (112, 50, 190), (228, 204, 255)]),
    ("rose", 12, [(42, 4, 30), (212, 62, 160), (255, 206, 236)]),
    ("dusk", 12, [(32, 16, 42), (156, 82, 120), (252, 196, 170)]),
    ("night", 10, [(2, 4, 16), (24, 30, 70), (70, 82, 146)]),
    ("ice", 8, [(60, 110, 140), (150, 210, 235), (236, 252, 255)]),
    ("lime", 8, [(40, 60, 0), (150, 210, 20), (236, 255, 170)]),
    ("ember", 7, [(90, 0, 20), (230, 40, 80), (255, 150, 170)]),
    ("azure", 10, [(8, 28, 84), (56, 168, 255), (210, 246, 255)]),
]


def _ramp(count, anchors):
    """count colours spread evenly along the polyline through the anchors."""
    out = []
    segments = len(anchors) - 1
    for i in range(count):
        t = i / (count - 1) * segments
        s = min(int(t), segments - 1)
        f = t - s
        a, b = anchors[s], anchors[s + 1]
        out.append(tuple(int(round(a[k] + (b[k] - a[k]) * f)) for k in range(3)))
    return out


def build():
    table = list(SYSTEM_LOW) + [KEY_RGB]
    ramps = {}
    for name, count, anchors in RAMPS:
        first = len(table)
        table.extend(_ramp(count, anchors))
        ramps[name] = list(range(first, first + count))
    assert len(table) == 246, len(table)
    table.extend(SYSTEM_HIGH)
    assert len(table) == 256
    return table, ramps


PALETTE, RAMP_INDICES = build()


def shade(name, level):
    """Palette index of a ramp shade; level 0.0 is the darkest, 1.0 the lightest."""
    idx = RAMP_INDICES[name]
    return idx[min(len(idx) - 1, max(0, int(round(level * (len(idx) - 1)))))]


def rgb(name, level):
    return PALETTE[shade(name, level)]


if __name__ == "__main__":
    for name, idx in RAMP_INDICES.items():
        print(f"{name:7s} {idx[0]:3d}..{idx[-1]:3d}")
