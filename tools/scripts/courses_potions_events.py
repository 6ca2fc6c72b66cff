"""Courses of the potions, the screen events and the two front-end characters, all run by
the potion sprite's reduced interpreter from the places their owners give them."""

from course_lib import records, run_trace


def _on_screen(x, y, w, h):
    return x >= 0 and y >= 0 and x + w <= 640 and y + h <= 480


def _out_of_screen(x, y, w, h):
    return x + w <= 0 or y + h <= 0 or x >= 640 or y >= 480


def _potion(c, name, drift):
    if not c.wants(name):
        return
    size = (19, 23)
    start = (320 - 9, 200 - 11)   # centred on a killed enemy's centre
    trace = run_trace(name, 120, start, size, reduced=True)
    x0, y0 = start
    rise = [y0 - trace.pos(t)[1] for t in (2, 4, 6, 8)]
    c.expect_equal(name, rise, [24, 36, 42, 45], "rises 12, 6, 3, 1.5 per frame, two frames each")
    c.expect_equal(name, {trace.at(t).dir for t in range(1, 9)}, {8}, "upwards for 8 frames")
    c.expect_equal(name, {trace.at(t).dir for t in range(9, 121)}, {24}, "downwards from frame 9")
    speeds = [round(trace.at(t).speed, 2) for t in range(9, 25, 2)]
    c.expect_equal(name, speeds, [1.0, 1.5, 2.25, 3.38, 5.06, 7.59, 11.39, 17.09],
                   "falling speed grows by half every 2 frames")
    c.expect_near(name, trace.pos(24)[1] - trace.pos(8)[1], 98.5, 1, "falls 98.5 pixels in 16 frames")
    steps = {trace.pos(t)[1] - trace.pos(t - 1)[1] for t in range(26, 121)}
    c.expect_equal(name, steps, {22}, "then 22 pixels a frame for ever")
    dx = {trace.pos(t)[0] - trace.pos(t - 1)[0] for t in range(1, 121)}
    c.expect_equal(name, dx, {drift}, "sideways drift every frame")
    c.expect_equal(name, trace.sound_frames(), [], "silent")


def check_potions(c):
    _potion(c, "136-potion-straight.txt", 0)
    _potion(c, "138-potion-left.txt", -2)
    _potion(c, "137-potion-right.txt", 2)


def _first_out(trace, size, first):
    for t in range(first, len(trace) + 1):
        if _out_of_screen(*trace.pos(t), *size):
            return t
    return None


def check_events(c):
    name = "164-get-ready.txt"
    if c.wants(name):
        size = (442, 91)
        trace = run_trace(name, 80, (-442, 195), size, reduced=True)
        dx = [trace.pos(t)[0] - trace.pos(t - 1)[0] for t in range(1, 80)]
        c.expect_equal(name, dx[:18], [30] * 18, "calls 1 to 18 move right by 30")
        c.expect_equal(name, trace.pos(18)[0], 98, "stands with its left edge at x 98")
        c.expect_equal(name, dx[18:43], [0] * 25, "calls 19 to 43 stand still")
        c.expect_equal(name, dx[43:], [30] * 36, "from call 44 on every call moves right")
        sounds = [(f.t, s) for f in trace.frames for s in f.sounds]
        c.expect_equal(name, sounds, [(3, 6), (19, 4), (44, 6)], "sounds 6, 4, 6 at calls 3, 19, 44")
        c.expect_equal(name, _first_out(trace, size, 19), 62, "gone from the screen at call 62")

    game, over = "165-game-over-game.txt", "163-game-over-over.txt"
    if c.wants(game):
        c.expect_equal(game, records(game), [(7, 29, 0), (5, 20, 0), (1, 22, 0), (2, 75, 0),
                                             (12, 1, 0), (1, 100, 0), (13, 1, 0)], "the seven records")
    if c.wants(game) and c.wants(over):
        gsize, osize = (249, 90), (228, 88)
        g = run_trace(game, 160, (-249, -90), gsize, reduced=True)
        o = run_trace(over, 160, (640, 480), osize, reduced=True)
        for name, trace, size in ((game, g, gsize), (over, o, osize)):
            hold = {trace.pos(t) for t in range(22, 98)}
            c.expect_equal(name, len(hold), 1, "holds from call 23 to 97")
            c.expect(name, trace.pos(98) != trace.pos(97), "flies on at call 98")
            c.expect(name, _on_screen(*trace.pos(22), *size), "wholly on screen while it holds")
            out = _first_out(trace, size, 23)
            c.expect(name, out is not None and out < 160, "leaves the screen (at call %s)" % out)
        c.expect_equal(game, {g.at(t).dir for t in range(1, 160)}, {29}, "down and to the right")
        c.expect_equal(over, {o.at(t).dir for t in range(1, 160)}, {13}, "up and to the left")
        c.expect_equal(over, [(f.t, s) for f in o.frames for s in f.sounds],
                       [(1, 7), (38, 8), (98, 7)], "sounds 7, 8 after 15 frames of holding, 7")
        gy, oy = g.pos(22)[1], o.pos(22)[1]
        c.expect(over, gy < oy, "GAME stands above OVER")

    text, picture = "140-power-up-text.txt", "155-power-up-picture.txt"
    if c.wants(text) and c.wants(picture):
        tsize, psize = (451, 89), (296, 287)
        tt = run_trace(text, 60, (95, -89), tsize, reduced=True)
        pp = run_trace(picture, 60, (172, 480), psize, reduced=True)
        for name, trace, size in ((text, tt, tsize), (picture, pp, psize)):
            c.expect_equal(name, len({trace.pos(t) for t in range(12, 21)}), 1,
                           "holds 8 frames after 12 frames of braking")
            c.expect(name, trace.pos(21) != trace.pos(20), "moves away at call 21")
            c.expect(name, _on_screen(*trace.pos(12), *size), "wholly on screen while it holds")
            out = _first_out(trace, size, 21)
            c.expect(name, out is not None and out <= 45, "leaves the screen (at call %s)" % out)
        c.expect_equal(text, [round(tt.at(t).speed, 2) for t in (1, 4, 7, 10)],
                       [40.0, 26.0, 16.9, 10.98], "braking to 65 % every three frames")
        c.expect_equal(text, [round(tt.at(t).speed, 2) for t in (21, 24, 27)], [4.0, 6.16, 9.49],
                       "speeding up by 154 % every three frames")
        c.expect_equal(text, [(f.t, s) for f in tt.frames for s in f.sounds],
                       [(1, 6), (7, 5), (21, 6)], "sounds 6, 5 after two braking steps, 6 on leaving")
        c.expect_equal(text, _out_of_screen(*tt.pos(45), *tsize) and tt.pos(45)[1] < 0, True,
                       "leaves at the top")
        c.expect_equal(picture, [round(pp.at(t).speed, 2) for t in (1, 4, 7, 10)],
                       [48.0, 33.6, 23.52, 16.46], "braking to 70 % every three frames")
        c.expect_equal(picture, [round(pp.at(t).speed, 2) for t in (21, 24, 27)], [8.0, 11.44, 16.36],
                       "speeding up by 143 % every three frames")
        c.expect_equal(picture, pp.pos(45)[1] >= 480, True, "leaves at the bottom")


def check_front(c):
    name = "190-title-character.txt"
    if c.wants(name):
        x0, y0 = -10 - 347, 220
        trace = run_trace(name, 128 + 64, (x0, y0), (347, 219), reduced=True)
        wave = [-k for k in range(1, 9)] + [k - 8 for k in range(1, 9)]
        c.expect_equal(name, [trace.pos(t)[0] - x0 for t in range(1, 129)],
                       [3 * t for t in range(1, 129)], "glides right 3 pixels a frame for 128 frames")
        c.expect_equal(name, {trace.pos(t)[0] for t in range(128, 193)}, {x0 + 384},
                       "then stays at x %d" % (x0 + 384))
        c.expect_equal(name, [trace.pos(t)[1] - y0 for t in range(1, 193)], wave * 12,
                       "16-step wave, eight times moving and then in place")
    name = "299-ending-character.txt"
    if c.wants(name):
        start = (320 - 178, 240 - 122)
        trace = run_trace(name, 96, start, (356, 244), reduced=True)
        wave = [-k for k in range(1, 9)] + [k - 8 for k in range(1, 9)]
        c.expect_equal(name, [trace.pos(t)[1] - start[1] for t in range(1, 97)],
                       [v for v in wave for _ in range(2)] * 3, "one-pixel wave, each step two frames")
        c.expect_equal(name, {trace.pos(t)[0] for t in range(1, 97)}, {start[0]}, "stays in place")
