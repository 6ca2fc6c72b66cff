#!/usr/bin/python3
"""Every bitmap the game loads: id -> (width, height, frames, keyed, role).

keyed: drawn with the colour key, so the top-left pixel is the key index.
Opaque pictures (backgrounds, the title tile, the box pieces, ...) are drawn
without a key and use their top-left pixel as ordinary artwork.
The role is the file name's second half: resources/bitmaps/<id>-<role>.bmp.
"""

BITMAPS = {
    # palette carrier, fonts, digits
    106: (6, 6, 1, False, "palette"),
    102: (64, 64, 1, True, "window-icon"),
    205: (11, 684, 38, True, "font-green"),
    204: (11, 684, 38, True, "font-yellow"),
    108: (14, 242, 11, True, "digits"),
    # player and shots
    116: (46, 184, 4, True, "player"),
    158: (46, 184, 4, True, "player-blink"),
    125: (11, 42, 2, True, "shot-large"),
    130: (10, 20, 2, True, "shot-small"),
    # enemies
    118: (38, 84, 2, True, "starfish"),
    120: (42, 76, 2, True, "worm-small"),
    122: (41, 96, 2, True, "worm-armoured"),
    141: (46, 84, 2, True, "scorpion"),
    157: (90, 158, 2, True, "bat"),
    159: (103, 134, 2, True, "bird"),
    256: (61, 130, 2, True, "squid"),
    257: (43, 94, 2, True, "shell"),
    258: (50, 98, 2, True, "butterfly"),
    # enemy bullets
    126: (13, 26, 2, True, "bullet-fireball"),
    181: (12, 42, 2, True, "bullet-dash"),
    178: (16, 48, 1, True, "beam-middle"),
    263: (16, 48, 1, True, "beam-tail"),
    264: (16, 48, 1, True, "beam-head"),
    222: (22, 206, 2, True, "bullet-bolt"),
    232: (20, 76, 2, True, "bullet-flame-up"),
    233: (20, 76, 2, True, "bullet-flame-down"),
    272: (32, 128, 4, True, "bullet-orb"),
    # explosions
    128: (46, 414, 9, True, "explosion-large"),
    129: (36, 180, 5, True, "explosion-small"),
    # potions and status display
    134: (19, 23, 1, True, "potion"),
    276: (19, 19, 1, True, "potion-life"),
    150: (19, 76, 4, True, "life-icon"),
    149: (43, 22, 1, True, "label-life"),
    151: (86, 22, 1, True, "label-potions"),
    148: (72, 22, 1, True, "label-power"),
    146: (63, 22, 1, True, "label-stage"),
    # screen notices
    160: (442, 91, 1, True, "notice-get-ready"),
    161: (249, 90, 1, True, "notice-game"),
    162: (228, 88, 1, True, "notice-over"),
    139: (451, 89, 1, True, "notice-power-up"),
    154: (296, 287, 1, True, "power-up-portrait"),
    # stage backgrounds
    110: (640, 480, 1, False, "background-stage1"),
    127: (640, 480, 1, False, "background-stage2"),
    133: (640, 480, 1, False, "background-stage3"),
    296: (640, 480, 1, False, "background-stage4"),
    # boss 1
    174: (266, 188, 1, True, "boss1-body"),
    173: (59, 170, 2, True, "boss1-head"),
    172: (413, 296, 2, True, "boss1-wings"),
    179: (44, 308, 7, True, "boss1-photon"),
    253: (20, 1440, 3, True, "boss1-laser"),
    # boss 2
    208: (150, 244, 2, True, "boss2-fish"),
    217: (40, 160, 4, True, "boss2-bubble"),
    223: (19, 104, 4, True, "boss2-mouth"),
    # boss 3
    225: (117, 135, 1, True, "boss3-snail"),
    227: (229, 215, 1, True, "boss3-shell"),
    226: (62, 116, 2, True, "boss3-head"),
    234: (27, 70, 2, True, "boss3-sweat"),
    # boss 4
    236: (55, 208, 4, True, "boss4-creature"),
    237: (96, 384, 4, True, "boss4-flower"),
    # boss 5
    247: (283, 226, 1, True, "boss5-body"),
    246: (101, 390, 3, True, "boss5-head"),
    267: (44, 132, 3, True, "boss5-photon"),
    265: (248, 780, 2, True, "boss5-laser"),
    269: (44, 176, 4, True, "boss5-ball"),
    # logo and title
    309: (320, 128, 1, False, "maker-logo"),
    191: (80, 80, 1, False, "title-tile"),
    195: (486, 140, 1, True, "title-logo"),
    197: (200, 226, 1, True, "ornament-left"),
    196: (200, 226, 1, True, "ornament-right"),
    187: (347, 219, 1, True, "title-character"),
    255: (164, 130, 5, True, "menu-labels"),
    215: (15, 48, 2, True, "cursor-left"),
    216: (15, 48, 2, True, "cursor-right"),
    # ranking and name entry
    291: (379, 88, 1, True, "ranking-banner"),
    293: (272, 31, 1, True, "ranking-row"),
    275: (11, 36, 2, True, "text-cursor"),
    289: (20, 75, 1, False, "box-upper-left"),
    288: (11, 75, 1, False, "box-upper-middle"),
    287: (20, 75, 1, False, "box-upper-right"),
    286: (6, 25, 1, False, "box-lower-left"),
    285: (11, 25, 1, False, "box-lower-middle"),
    284: (6, 25, 1, False, "box-lower-right"),
    # continue and ending
    211: (367, 291, 1, False, "continue-picture"),
    212: (453, 92, 1, True, "continue-heading"),
    209: (64, 26, 1, True, "option-yes"),
    210: (49, 26, 1, True, "option-no"),
    295: (640, 300, 1, False, "ending-background"),
    297: (356, 244, 1, True, "ending-character"),
    298: (372, 95, 1, True, "ending-heading"),
    308: (329, 64, 1, True, "credits"),
}

# Frames that must be entirely transparent (key colour only).
EMPTY_FRAMES = {179: [0], 253: [0], 234: [0], 265: [0]}

FRAME_COUNTS = {k: v[2] for k, v in BITMAPS.items()}
