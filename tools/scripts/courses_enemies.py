"""Courses of the nine attack dives. A diver starts where the formation left it; here it
starts with its centre on x 320 and its top at y 120, the player at the bottom middle."""

from course_lib import run_trace

PLAYER = (297, 405)
START_Y = 120


def _start(size):
    return (320 - size[0] // 2, START_Y)


def _diffs(trace, first, last):
    """Per-frame steps (dx, dy) of calls first..last."""
    out = []
    for t in range(first, last + 1):
        (x0, y0), (x1, y1) = trace.pos(t - 1), trace.pos(t)
        out.append((x1 - x0, y1 - y0))
    return out


def _swinger(c, name, size, speed, steps, beam=False):
    """Sinks at `speed` while swinging right, then left, by the listed sideways steps;
    four unshifted frames at each turning point with a frame change on either side."""
    if not c.wants(name):
        return
    halt = 42 if beam else 0
    quarter = len(steps)
    period = 4 * quarter + 8 + halt
    start = _start(size)
    trace = run_trace(name, 3 * period, start, size, images=2, player=PLAYER)
    zero = [0] * 4
    back = [-s for s in reversed(steps)]
    dx = steps + zero + back + [0] * halt + [-s for s in steps] + zero + list(reversed(steps))
    dy = [speed] * (2 * quarter + 4) + [0] * halt + [speed] * (2 * quarter + 4)
    steps_seen = _diffs(trace, 1, 3 * period)
    c.expect_equal(name, [d[0] for d in steps_seen], dx * 3, "sideways steps, three swings")
    c.expect_equal(name, [d[1] for d in steps_seen], dy * 3, "downward steps, three swings")
    x0 = start[0]
    xs = [trace.pos(t)[0] - x0 for t in range(period + 1)]
    c.expect_equal(name, (max(xs), min(xs)), (sum(steps), -sum(steps)), "swing to each side")
    c.expect_equal(name, trace.pos(period)[0], x0, "back on the start line after %d frames" % period)
    # Frame changes: the first unshifted frame of each turning point shows the other image,
    # the first frame after them the original one again.
    turns = [quarter + 1, 3 * quarter + 5 + halt]
    expected = []
    for t in turns:
        expected += [t, t + 4]
    changes = [t for t in range(1, period + 1)
               if trace.at(t).img != (trace.at(t - 1).img if t > 1 else 0)]
    if beam:
        middle = 2 * quarter + 4
        expected = sorted(expected + [middle + 1, middle + halt + 1])
    c.expect_equal(name, changes, expected, "frames at which the image changes")
    if beam:
        middle = 2 * quarter + 4
        fired = [(t, p) for t, p, _, _ in trace.shots() if t <= period]
        first = middle + 21
        c.expect_equal(name, fired, [(first, 15), (first + 3, 16), (first + 6, 16),
                                     (first + 9, 16), (first + 12, 17)],
                       "five-segment beam in the middle of the right-to-left swing")
        c.expect_equal(name, trace.pos(middle)[0], x0, "beam fired on the start line")
    else:
        c.expect_equal(name, trace.shots(), [], "never fires")


def _worm(c, name, speed, leg, halt, after, pattern, jitter):
    if not c.wants(name):
        return
    size = (42, 38) if name.startswith("170") else (41, 48)
    start = _start(size)
    period = 4 * leg + 2 * (halt + after)
    trace = run_trace(name, 2 * period, start, size, images=2, player=PLAYER)
    # Legs: down-right, halt, down-left (twice as long), halt, down-right.
    legs = [(1, leg, 30), (leg + halt + after + 1, 3 * leg + halt + after, 18),
            (3 * leg + 2 * (halt + after) + 1, period, 30)]
    for first, last, direction in legs:
        dirs = {trace.at(t).dir for t in range(first, last + 1)}
        c.expect_equal(name, dirs, {direction}, "direction in frames %d..%d" % (first, last))
        speeds = {trace.at(t).speed for t in range(first, last + 1)}
        c.expect_equal(name, speeds, {speed}, "speed in frames %d..%d" % (first, last))
    for first in (leg + 1, 3 * leg + halt + after + 1):
        y_still = {trace.pos(t)[1] for t in range(first - 1, first + halt + after)}
        c.expect_equal(name, len(y_still), 1, "halt of %d frames from %d" % (halt + after, first))
        if jitter:
            xs = [trace.pos(t)[0] - trace.pos(first - 1)[0] for t in range(first, first + halt + after)]
            c.expect_equal(name, xs, [-6, 0] * ((halt + after) // 2), "jitter left and right")
        else:
            imgs = [trace.at(t).img for t in range(first, first + halt + after)]
            c.expect_equal(name, imgs, [1, 1, 0, 0] * ((halt + after) // 4), "wriggle every 2 frames")
    shots = [(t, p) for t, p, _, _ in trace.shots() if t <= period]
    c.expect_equal(name, shots, [(leg + halt + 1, pattern), (3 * leg + 2 * halt + after + 1, pattern)],
                   "shots after each halt")
    c.expect_equal(name, trace.pos(period)[0], start[0], "back above the start after a round")
    c.expect(name, trace.pos(period)[1] > start[1] + 100, "sinks on every round")


def _bat(c):
    name = "169-bat.txt"
    if not c.wants(name):
        return
    size = (90, 79)
    start = _start(size)
    trace = run_trace(name, 768, start, size, images=2, player=PLAYER)
    halves = [(16, 1), (0, 1), (16, 1), (0, -1), (16, -1), (0, -1)]
    for i, (first_dir, turn) in enumerate(halves):
        t0 = 64 * i + 1
        dirs = [trace.at(t0 + 4 * k).dir for k in range(16)]
        want = [(first_dir + turn * k) % 32 for k in range(16)]
        c.expect_equal(name, dirs, want, "headings of half circle %d" % (i + 1))
        held = [trace.at(t0 + 4 * k + j).dir for k in range(16) for j in range(4)]
        c.expect_equal(name, held, [d for d in want for _ in range(4)],
                       "each heading held four frames")
    c.expect_equal(name, [(t, p) for t, p, _, _ in trace.shots() if t <= 384],
                   [(129, 4), (321, 4)], "an orb after the second half circle of each way")
    imgs = [trace.at(t).img for t in range(1, 65)]
    c.expect_equal(name, imgs, [1, 1, 0, 0] * 16, "wing beat with every move")
    x0, y0 = start
    c.expect_near(name, trace.pos(128)[0], x0, 1, "first circle closes (x)")
    c.expect_near(name, trace.pos(128)[1], y0, 1, "first circle closes (y)")
    c.expect_near(name, trace.pos(64)[1] - y0, 244, 2, "half circle spans 244 pixels")
    c.expect_near(name, trace.pos(384)[1] - y0, 488, 3, "a round sinks two diameters")


def _bird(c):
    name = "166-bird.txt"
    if not c.wants(name):
        return
    size = (103, 67)
    start = _start(size)
    for player in (PLAYER, (20, 405), (590, 405)):
        trace = run_trace(name, 268, start, size, images=2, player=player)
        x0, y0 = start
        c.expect_equal(name, {trace.pos(t) for t in range(0, 41)}, {start}, "flaps in place 40 frames")
        ys = [y0 - trace.pos(t)[1] for t in range(41, 51)]
        c.expect_equal(name, ys, [16, 32, 40, 48, 52, 56, 58, 60, 60, 60], "hop up 60 pixels")
        c.expect_equal(name, trace.at(51).sounds, [6], "sound 6 as the attack starts")
        c.expect(name, 21 <= trace.at(51).dir <= 27, "attack inside the downward cone")
        c.expect_equal(name, trace.at(51).speed, 16.0, "attack at speed 16")
        hover = trace.pos(68)
        c.expect_equal(name, {trace.pos(t) for t in range(68, 91)}, {hover}, "hovers for the beam")
        shots = trace.shots()[:3]
        cx, cy = hover[0] + size[0] // 2, hover[1] + size[1] // 2
        c.expect_equal(name, shots, [(85, 15, cx, cy + 4), (88, 16, cx, cy + 4), (91, 17, cx, cy + 4)],
                       "three-segment beam from 4 pixels below the centre")
        c.expect_near(name, trace.pos(108)[0], x0, 1, "flies back (x)")
        c.expect_near(name, trace.pos(108)[1], y0 - 60, 1, "flies back (y)")
        c.expect_near(name, trace.pos(118)[1], y0, 1, "hops down again")
        c.expect_near(name, trace.pos(134)[0], x0, 1, "round ends where it began")
        c.expect_equal(name, [s[0] for s in trace.at(134 + 85).shots], [15],
                       "the next round fires again")


def _shell(c):
    name = "262-shell.txt"
    if not c.wants(name):
        return
    size = (43, 47)
    start = _start(size)
    trace = run_trace(name, 15 + 2 * 210, start, size, images=2, player=PLAYER)
    x0, y0 = start
    c.expect_equal(name, trace.pos(15), (x0, y0 + 90), "down 90 pixels first")
    legs = [(20, 120, 0), (16, 0, 160), (20, -120, 0), (20, -120, 0), (16, 0, 160), (20, 120, 0)]
    t = 15
    for frames, dx, dy in legs:
        before = trace.pos(t)
        c.expect_equal(name, {trace.pos(k) for k in range(t, t + 16)}, {before},
                       "still for the mouth before the leg at %d" % t)
        imgs = [trace.at(k).img for k in range(t + 1, t + 16)]
        c.expect_equal(name, imgs, [1, 1, 0, 0, 0] * 3, "mouth opens and shuts")
        t += 15
        after = trace.pos(t + frames)
        c.expect_near(name, after[0] - before[0], dx, 1, "leg ending at %d (x)" % (t + frames))
        c.expect_near(name, after[1] - before[1], dy, 1, "leg ending at %d (y)" % (t + frames))
        t += frames
    c.expect_equal(name, trace.shots(), [], "never fires")


def _butterfly(c):
    name = "261-butterfly.txt"
    if not c.wants(name):
        return
    size = (50, 49)
    start = _start(size)
    trace = run_trace(name, 296, start, size, images=2, player=(20, 405))
    for first in (1, 81):
        c.expect(name, 21 <= trace.at(first).dir <= 27, "aims inside the downward cone at %d" % first)
        moved = trace.pos(first + 35)
        before = trace.pos(first - 1)
        dist = ((moved[0] - before[0]) ** 2 + (moved[1] - before[1]) ** 2) ** 0.5
        c.expect_near(name, dist, 180, 2, "flies 36 frames at speed 5 from %d" % first)
        c.expect_equal(name, {trace.pos(t) for t in range(first + 35, first + 36 + 32)}, {moved},
                       "hovers 32 frames")
    c.expect_equal(name, [(t, p) for t, p, _, _ in trace.shots() if t <= 148], [(69, 9)],
                   "one spread between the hovers")
    imgs = [trace.at(t).img for t in range(1, 149)]
    c.expect_equal(name, imgs, [1, 1, 0, 0] * 37, "flaps all the time")


def check_enemies(c):
    _swinger(c, "131-starfish.txt", (38, 42), 3, [8] * 5 + [7] * 4 + [5] * 4 + [2] * 4)
    _swinger(c, "168-scorpion.txt", (46, 42), 4, [10] * 6 + [9] * 4 + [7] * 4 + [4] * 4 + [1] * 4)
    _swinger(c, "259-squid.txt", (61, 65), 4, [9] * 4 + [8] * 4 + [7] * 4 + [5] * 4 + [2] * 4, beam=True)
    _worm(c, "170-worm.txt", 6, 24, 24, 8, 3, jitter=False)
    _worm(c, "167-worm-armoured.txt", 7, 25, 30, 10, 5, jitter=True)
    _bat(c)
    _bird(c)
    _shell(c)
    _butterfly(c)
    for name, count in (("131-starfish.txt", 161), ("259-squid.txt", 199)):
        if c.wants(name):
            from course_lib import records
            c.expect_equal(name, len(records(name)), count, "record count")
