"""Courses of the five bosses. The body is traced in screen coordinates from its starting
place; the other parts in the body's local coordinates from their placements (the tracer
knows nothing of the parent offset, which is what keeps the parts' own courses visible).
Besides the key frames of each part, the parts of one boss are compared frame by frame
to show that they stay in step."""

import math
import os

from course_lib import run_trace

PLAYER = (297, 405)


def _dump(dump_dir, boss, traces):
    if not dump_dir:
        return
    folder = os.path.join(dump_dir, boss)
    os.makedirs(folder, exist_ok=True)
    for name, trace in traces.items():
        with open(os.path.join(folder, name), "w") as out:
            out.write(trace.raw)


def _common(c, body, parts, start_of_cycle, cycle, frames):
    """Roars, the idle first 100 frames of every part, the body coming on screen and staying
    within reach, and every part repeating itself after one cycle."""
    bname, btrace, bsize = body
    c.expect_equal(bname, [(f.t, s) for f in btrace.frames[:100] for s in f.sounds],
                   [(1, 10), (21, 10), (41, 10)], "three roars 20 frames apart")
    c.expect_equal(bname, len({btrace.pos(t) for t in range(0, 101)}), 1, "still while it roars")
    on = [t for t in range(1, frames + 1) if _fully_on(btrace.pos(t), bsize)]
    c.expect(bname, on and on[0] <= 400, "fully on screen by frame 400 (first at %s)" % (on[:1]))
    within = all(btrace.pos(t)[1] < 405 for t in range(start_of_cycle, frames + 1))
    c.expect(bname, within, "its top always above the player's row once its cycle runs")
    every = all(any(_fully_on(btrace.pos(t), bsize) for t in range(s, s + cycle))
                for s in range(on[0] if on else 1, frames - cycle + 1, cycle // 2))
    c.expect(bname, every, "fully on screen again in every cycle")
    for name, trace, _ in parts:
        idle = [f for f in trace.frames[:100] if f.sounds or f.shots]
        c.expect_equal(name, idle, [], "silent for the first 100 frames")
        c.expect_equal(name, len({(trace.pos(t), trace.at(t).img) for t in range(1, 101)}), 1,
                       "still for the first 100 frames")
    for name, trace, _ in [body] + parts:
        same = all(_state(trace, t) == _state(trace, t + cycle)
                   for t in range(start_of_cycle, start_of_cycle + cycle))
        c.expect(name, same, "repeats itself after %d frames" % cycle)


def _state(trace, t):
    f = trace.at(t)
    return (f.x, f.y, f.img, tuple(f.sounds), tuple(p for p, _, _ in f.shots))


def _fully_on(pos, size):
    return pos[0] >= 0 and pos[1] >= 0 and pos[0] + size[0] <= 640 and pos[1] + size[1] <= 480


def _boss1(c, dump):
    names = ["175-boss1-body.txt", "176-boss1-head.txt", "177-boss1-wings.txt",
             "180-boss1-photon.txt", "254-boss1-laser.txt"]
    if not all(c.wants(n) for n in names):
        return
    start, cycle = 213, 600
    n = start + 2 * cycle
    body = run_trace(names[0], n, (187, -188), (266, 188), player=PLAYER)
    head = run_trace(names[1], n, (103, -24), (59, 85), images=2, player=PLAYER)
    wings = run_trace(names[2], n, (-73, -31), (413, 148), images=2, player=PLAYER)
    orb = run_trace(names[3], n, (3, 34), (44, 44), images=7, player=PLAYER)
    laser = run_trace(names[4], n, (15, 78), (20, 480), images=3, player=PLAYER)
    _dump(dump, "boss1", dict(zip(names, (body, head, wings, orb, laser))))
    _common(c, (names[0], body, (266, 188)),
            [(names[1], head, 0), (names[2], wings, 0), (names[3], orb, 0), (names[4], laser, 0)],
            start, cycle, n)
    b = names[0]
    c.expect_near(b, body.pos(120)[1], 216, 1, "drops about 404 pixels in five braking steps")
    c.expect_near(b, body.pos(212)[1], 32, 1, "rises 184 pixels")
    xs = [body.pos(t)[0] for t in range(212, n + 1)]
    c.expect_equal(b, (min(xs), max(xs)), (67, 307), "sweeps 120 pixels each way")
    # The weapons, counted from the first frame of the cycle.
    o = names[3]
    imgs = [orb.at(t).img for t in range(start, start + cycle)]
    c.expect_equal(o, [set(imgs[0:48]), set(imgs[48:96]), set(imgs[96:496]), set(imgs[496:])],
                   [{1, 2}, {3, 4}, {5, 6}, {0}], "small photon, big photon, laser glow, rest")
    c.expect_equal(o, [t for t in orb.sound_frames(15) if t < start + 2 * cycle],
                   [213, 261, 813, 861], "sound 15 at each charge")
    glow = [t for t in range(1, n + 1) if orb.at(t).img in (5, 6)]
    beam = [t for t in range(1, n + 1) if laser.at(t).img in (1, 2)]
    mouth = [t for t in range(1, n + 1) if head.at(t).img == 1]
    c.expect_equal(names[4], beam, glow, "beam exactly while the orbs glow")
    c.expect_equal(names[4], laser.sound_frames(16), [309, 409, 509, 609, 909, 1009, 1109, 1209],
                   "sound 16 every 100 frames of beam")
    c.expect_equal(names[1], mouth, glow, "mouth open exactly while the lasers burn")
    shots = head.shots()
    c.expect_equal(names[1], len(shots), 30, "fifteen volleys a cycle")
    c.expect(names[1], all(t in set(mouth) for t, _, _, _ in shots), "fires only with its mouth open")
    c.expect_equal(names[1], {(p, x, y) for _, p, x, y in shots}, {(106, 132, 40)},
                   "pattern 106 from 22 pixels below the head's centre")
    c.expect_equal(names[1], [t for t, _, _, _ in shots[:15]], list(range(359, 659, 20)),
                   "twenty frames apart")
    flaps = [t for t in range(2, n + 1) if wings.at(t).img != wings.at(t - 1).img]
    c.expect_equal(names[2], flaps, list(range(101, n + 1, 10)), "flaps every 10 frames")


def _boss2(c, dump):
    names = ["206-boss2-body.txt", "218-boss2-bubble-east.txt", "221-boss2-bubble-south.txt",
             "220-boss2-bubble-west.txt", "219-boss2-bubble-north.txt", "224-boss2-mouth.txt"]
    if not all(c.wants(n) for n in names):
        return
    start, cycle = 101, 768
    n = 100 + 2 * cycle
    body = run_trace(names[0], n, (-235, 59), (150, 122), images=2, player=PLAYER)
    centre = (75, 61)
    bubble_starts = [(122, 0), (0, 122), (-122, 0), (0, -122)]
    bubbles = [run_trace(name, n, (centre[0] + dx - 20, centre[1] + dy - 20), (40, 40), images=4)
               for name, (dx, dy) in zip(names[1:5], bubble_starts)]
    mouth = run_trace(names[5], n, (130, 47), (19, 26), images=4)
    _dump(dump, "boss2", dict(zip(names, [body] + bubbles + [mouth])))
    _common(c, (names[0], body, (150, 122)),
            [(nm, tr, 0) for nm, tr in zip(names[1:], bubbles + [mouth])], start, cycle, n)
    b = names[0]
    c.expect_equal(b, [body.pos(t) for t in (292, 484, 676, 868)],
                   [(725, 59), (-235, 251), (725, 251), (-235, 59)],
                   "across right, back left sinking 192, across right, back left rising")
    c.expect_equal(b, [(t, p) for t, p, _, _ in body.shots() if t <= 868],
                   [(149, 11), (197, 11), (245, 11), (389, 8), (773, 8)],
                   "a bolt after each of the first three legs, orbs halfway back")
    c.expect(b, all(y == body.pos(t - 1)[1] + 61 for t, p, _, y in body.shots() if p == 11),
             "bolts from the centre")
    c.expect(b, all(y == body.pos(t - 1)[1] + 101 for t, p, _, y in body.shots() if p == 8),
             "orbs from 40 pixels below the centre")
    facing = {(body.at(t).dir, body.at(t).img) for t in range(101, n + 1)}
    c.expect_equal(b, facing, {(0, 0), (16, 1)}, "frame 0 swimming right, frame 1 left")
    m = names[5]
    c.expect(m, all((mouth.pos(t)[0], mouth.at(t).img in (2, 3)) ==
                    ((1, True) if body.at(t).img == 1 else (130, False)) for t in range(101, n + 1)),
             "mouth at the front and facing the fish's way in every frame")
    for t in (101, 400, 777, 1200, n):
        cs = [(bb.pos(t)[0] + 20, bb.pos(t)[1] + 20) for bb in bubbles]
        for name, (x, y) in zip(names[1:5], cs):
            c.expect_near(name, math.hypot(x - centre[0], y - centre[1]), 122, 3,
                          "on the circle round the fish at frame %d" % t)
        for i in range(4):
            (x1, y1), (x2, y2) = cs[i], cs[(i + 1) % 4]
            c.expect_near(names[1 + i], math.hypot(x2 - x1, y2 - y1), 172.5, 4,
                          "a quarter turn from the next bubble at frame %d" % t)
    east = bubbles[0]
    c.expect(names[1], east.pos(110)[1] > east.pos(100)[1], "the east bubble heads down: clockwise")
    c.expect(names[1], all(abs(east.pos(t)[0] - east.pos(t + 128)[0]) <= 1 for t in range(101, 600)),
             "one turn every 128 frames")


def _boss3(c, dump):
    names = ["228-boss3-body.txt", "230-boss3-shell.txt", "229-boss3-head.txt",
             "235-boss3-sweat.txt"]
    if not all(c.wants(n) for n in names):
        return
    start, cycle = 336, 880
    n = 335 + 2 * cycle
    body = run_trace(names[0], n, (262, 520), (117, 135), player=PLAYER)
    shell = run_trace(names[1], n, (-66, -34), (229, 215), player=PLAYER)
    head = run_trace(names[2], n, (54, 85), (62, 58), images=2, player=PLAYER)
    sweat = run_trace(names[3], n, (112, 77), (27, 35), images=2, player=PLAYER)
    _dump(dump, "boss3", dict(zip(names, (body, shell, head, sweat))))
    _common(c, (names[0], body, (117, 135)),
            [(names[1], shell, 0), (names[2], head, 0), (names[3], sweat, 0)], start, cycle, n)
    b = names[0]
    c.expect_equal(b, body.pos(335), (262, 50), "rises 470 pixels")
    ends = [body.pos(t) for t in (407, 671, 847, 1111)]
    c.expect_equal(b, [x for x, _ in ends], [472, 262, 52, 262], "210 pixels sideways each time")
    c.expect_equal(b, max(body.pos(t)[1] for t in range(336, n + 1)), 50 + 264, "drops 264 pixels")
    drops = [t for t in range(336, n + 1) if body.at(t).dir in (24, 8)]
    sideways = [t for t in range(336, n + 1) if body.at(t).dir in (0, 16)]
    photons = shell.shot_frames(12)
    rain = head.shot_frames(113)
    aimed = head.shot_frames(107)
    s, h = names[1], names[2]
    c.expect_equal(s, len(photons), 2 * 2 * 35, "35 photons on every other drop, two cycles")
    c.expect(s, set(photons) <= set(drops), "photons only while the snail is down on a drop")
    c.expect_equal(s, [b2 - a for a, b2 in zip(photons, photons[1:35])], [4] * 34, "one every 4 frames")
    c.expect_equal(s, photons[0], 430, "the first as the snail reaches the bottom")
    c.expect_equal(s, {(x, y) for _, _, x, y in shell.shots()}, {(48 - 14, 73 - 96)},
                   "from 96 above and 14 left of the shell's centre")
    c.expect(s, all(shell.pos(t + 2)[1] == -34 for t in photons), "settles after each jerk")
    c.expect_equal(h, [rain[0] - photons[0], rain[35] - photons[35]], [30, 30],
                   "rain starts 30 frames after the photons")
    c.expect_equal(h, len(rain), 2 * 2 * 35, "35 rain bullets with each photon drop")
    c.expect(h, set(rain) <= set(drops), "rain while the snail is on a drop")
    c.expect_equal(h, len(aimed), 2 * 4 * 18, "eighteen aimed shots before every drop")
    c.expect(h, set(aimed) <= set(sideways), "aimed shots while moving sideways, before each drop")
    c.expect_equal(h, {(x, y) for t, p, x, y in head.shots() if p == 107}, {(54 + 31 + 2, 85 + 29 + 18)},
                   "pattern 107 from the head's centre offset by 2,18")
    firing = set(aimed) | set(rain)
    c.expect(h, all(head.at(t).img == 1 for t in firing), "mouth open while it fires")
    blinks = [t for t in range(102, n + 1) if sweat.at(t).img != sweat.at(t - 1).img]
    c.expect_equal(names[3], blinks, list(range(109, n + 1, 8)), "blinks every 8 frames")


def _boss4(c, dump):
    names = ["242-boss4-body.txt", "238-boss4-flower-east.txt", "239-boss4-flower-south.txt",
             "240-boss4-flower-west.txt", "241-boss4-flower-north.txt"]
    if not all(c.wants(n) for n in names):
        return
    start, cycle = 955, 640
    n = 954 + 2 * cycle
    body = run_trace(names[0], n, (293, 502), (55, 52), images=4, player=PLAYER)
    flowers = [run_trace(name, n, (-21, -22), (96, 96), images=4) for name in names[1:]]
    _dump(dump, "boss4", dict(zip(names, [body] + flowers)))
    _common(c, (names[0], body, (55, 52)), [(nm, tr, 0) for nm, tr in zip(names[1:], flowers)],
            start, cycle, n)
    b = names[0]
    c.expect_equal(b, body.pos(143), (293, 72), "rises 430 pixels at speed 10")
    corners = [body.pos(170 + 116 * k + d) for k in range(6) for d in (0, 31, 58, 89)]
    c.expect_equal(b, set(corners), {(158, 72), (158, 382), (428, 382), (428, 72)},
                   "six rectangles of 270 by 310 pixels")
    c.expect_equal(b, [(t, p) for t, p, _, _ in body.shots() if t < 955],
                   [(287 + 116 * k, 10) for k in range(6)], "pattern 10 after each rectangle")
    c.expect_equal(b, body.pos(954), (293, 133), "back in the middle, 61 pixels lower")
    dash = [body.pos(954 + 13 * k)[0] for k in range(13)]
    c.expect_equal(b, dash, [293] + [33, 293, 553, 293] * 3,
                   "twelve dashes of 260 pixels")
    shots = [(t, p) for t, p, _, _ in body.shots() if 955 <= t < 955 + cycle]
    c.expect_equal(b, shots, [(955 + 13 * k, 10) for k in range(1, 13)] +
                   [(1421, 21), (1441, 20), (1461, 21), (1481, 20), (1501, 21)],
                   "pattern 10 after every dash, then rings 21 and 20 alternately 20 frames apart")
    wide = [body.pos(t) for t in range(1111, 1421)]
    c.expect_equal(b, (min(x for x, _ in wide), max(x for x, _ in wide),
                       min(y for _, y in wide), max(y for _, y in wide)),
                   (53, 533, 133, 273), "a slow rectangle of 480 by 140 pixels")
    centre = (27, 26)
    outs = [(122, 0), (0, 122), (-122, 0), (0, -122)]
    for name, flower, (dx, dy) in zip(names[1:], flowers, outs):
        c.expect_equal(name, {flower.pos(t) for t in range(0, 894)}, {(-21, -22)},
                       "sits on the creature's centre through the rectangles")
        c.expect_equal(name, flower.pos(954), (-21 + dx, -22 + dy), "122 pixels out as the body settles")
    for t in (960, 1100, 1500, n):
        cs = [(f.pos(t)[0] + 48, f.pos(t)[1] + 48) for f in flowers]
        for name, (x, y) in zip(names[1:], cs):
            c.expect_near(name, math.hypot(x - centre[0], y - centre[1]), 122, 3,
                          "on the circle round the body at frame %d" % t)
        for i in range(4):
            (x1, y1), (x2, y2) = cs[i], cs[(i + 1) % 4]
            c.expect_near(names[1 + i], math.hypot(x2 - x1, y2 - y1), 172.5, 4,
                          "a quarter turn from the next flower at frame %d" % t)
    east = flowers[0]
    c.expect(names[1], east.pos(966)[1] > east.pos(955)[1], "the east flower heads down: clockwise")


def _boss5(c, dump):
    names = ["248-boss5-body.txt", "249-boss5-head.txt", "268-boss5-photon.txt",
             "266-boss5-laser.txt", "270-boss5-ball-left.txt", "271-boss5-ball-right.txt"]
    if not all(c.wants(n) for n in names):
        return
    start, cycle = 280, 1936
    n = 279 + 2 * cycle
    body = run_trace(names[0], n, (179, -226), (283, 226), player=PLAYER)
    head = run_trace(names[1], n, (95, -3), (101, 130), images=3, player=PLAYER)
    orb = run_trace(names[2], n, (131, 80), (44, 44), images=3, player=PLAYER)
    laser = run_trace(names[3], n, (28, 102), (248, 390), images=2, player=PLAYER)
    left = run_trace(names[4], n, (50 - 320, 48), (44, 44), images=4, player=PLAYER)
    right = run_trace(names[5], n, (210 + 320, 48), (44, 44), images=4, player=PLAYER)
    _dump(dump, "boss5", dict(zip(names, (body, head, orb, laser, left, right))))
    _common(c, (names[0], body, (283, 226)),
            [(names[1], head, 0), (names[2], orb, 0), (names[3], laser, 0),
             (names[4], left, 0), (names[5], right, 0)], start, cycle, n)
    b = names[0]
    c.expect_equal(b, body.pos(215), (179, 4), "sinks 230 pixels")
    c.expect_equal(b, {body.pos(t) for t in range(215, 280)}, {(179, 4)}, "waits 64 frames")
    xs = [body.pos(t)[0] for t in range(280, n + 1)]
    ys = [body.pos(t)[1] for t in range(280, n + 1)]
    c.expect_equal(b, (min(xs) >= 40, max(xs) <= 320, min(ys) >= 0, max(ys) <= 254), (True,) * 4,
                   "circles of about 244 pixels below the start, not above the top edge")
    c.expect_equal(b, [body.pos(t) for t in (1047, 1247, 2015, 2215)], [(179, 4)] * 4,
                   "each double circle closes where it began")
    c.expect_equal(b, len({body.pos(t) for t in range(1047, 1248)}), 1, "rests 200 frames")
    h, o, l = names[1], names[2], names[3]
    shots = head.shots()
    c.expect_equal(h, len(shots), 4 * 17, "seventeen volleys per round")
    c.expect_equal(h, [t for t, _, _, _ in shots[:17]], list(range(288, 560, 16)), "16 frames apart")
    c.expect_equal(h, {(p, x, y) for _, p, x, y in shots}, {(114, 145 + 2, 62 + 44)},
                   "pattern 114 from 44 below and 2 right of the head's centre")
    c.expect(h, all(head.at(t).img == 2 for t, _, _, _ in shots), "mouth wide open as it fires")
    charge = [t for t in range(1, n + 1) if orb.at(t).img != 0]
    beam = [t for t in range(1, n + 1) if laser.at(t).img == 1]
    c.expect_equal(o, charge[:64], list(range(560, 624)), "charges 64 frames after the volleys")
    c.expect_equal(o, orb.sound_frames(15), [560, 1528, 2496, 3464], "sound 15 as it charges")
    c.expect_equal(l, len(beam), 4 * 180, "beam two frames of every three for 270 frames")
    c.expect_equal(l, [beam[0], beam[179]], [624, 892], "the breath follows the charge at once")
    c.expect(l, all(head.at(t).img == 2 for t in beam), "beam only with the mouth wide open")
    c.expect(l, not set(beam) & set(charge), "beam and charging orb never at once")
    c.expect_equal(l, laser.sound_frames(16)[:3], [624, 714, 804], "sound 16 every 90 frames of breath")
    for name, ball, home in ((names[4], left, 50), (names[5], right, 210)):
        c.expect_equal(name, ball.pos(279), (home, 48), "rolled in 320 pixels")
        c.expect(name, all(ball.pos(t) == ball.pos(t + 24) for t in range(280, 1024)),
                 "bobs every 24 frames while the dragon circles (32 times 24 = 768)")
        c.expect_equal(name, [48 - ball.pos(t)[1] for t in range(1048, 1058)],
                       [16, 32, 40, 48, 52, 56, 58, 60, 60, 60], "jumps up 60 pixels in 10 frames")
        c.expect_equal(name, ball.at(1058).sounds, [6], "sound 6 as it charges")
        c.expect_equal(name, ball.at(1058).speed, 26.0, "charges at speed 26")
        c.expect_near(name, ball.pos(1097)[1], ball.pos(1057)[1], 1, "20 steps out and 20 back")
        c.expect_near(name, ball.pos(1127)[1], 48, 1, "falls back to where it bobs")
        attack = range(1048, 1128)
        c.expect(name, len({body.pos(t) for t in attack}) == 1, "attacks while the dragon rests")


def check_bosses(c, dump=None):
    _boss1(c, dump)
    _boss2(c, dump)
    _boss3(c, dump)
    _boss5(c, dump)
    _boss4(c, dump)
