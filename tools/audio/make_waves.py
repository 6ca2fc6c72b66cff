#!/usr/bin/python3
"""Builds the game's eighteen sound effects into resources/waves/.

Each effect is a function that returns exactly as many samples as the sound
bank expects for its slot. Every effect gets its own seeded generator, so
changing one design never changes the bytes of another.

Usage: make_waves.py [name ...]   (no names: all of them)
"""
import os
import sys
import zlib

import numpy as np

from synth import (RATE, env_adsr, env_perc, expramp, fm, midi_hz, noise,
                   onepole_hp, onepole_lp, osc, place, ramp, resonator, room,
                   saturate, seconds, svf, to_pcm8, wave_bytes)
import jingle
import voice

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WAVE_DIR = os.path.join(ROOT, "resources", "waves")


def below_the_top(x):
    # Noise reaches up to the top of the band, where the peaks between the
    # samples rise far above the samples themselves; a two-pole low-pass at
    # 7 kHz takes the edge off before the level is set by the true peak.
    return svf(x, 7000.0, 0.7)


def sparkle(n, rng, count, lo, hi, length=0.03, spread=1.0):
    """Scattered tiny high sine pips: the glitter on magic sounds."""
    out = np.zeros(n)
    for _ in range(count):
        at = rng.uniform(0, spread) * n / RATE
        m = int(length * RATE)
        pip = osc(rng.uniform(lo, hi), m) * env_perc(m, 0.001, length)
        place(out, pip * rng.uniform(0.4, 1.0), at)
    return out


def volley(n, rng):
    # A bright falling "zing" with a glassy fifth above and glitter on top.
    # Held fire restarts it every 80 ms, so it speaks at once (a tick of
    # bright noise) and has mostly died away by then: each restart is heard
    # as a new shot, not as a bump in one long buzz.
    f = expramp(n, 2300, 480)
    body = osc(f, n, "square", width=0.3) * 0.35 + osc(f * 1.5, n) * 0.4
    body *= env_perc(n, 0.001, 0.12)
    tick = onepole_hp(noise(n, rng), 3000) * env_perc(n, 0.0, 0.012) * 0.6
    glitter = sparkle(n, rng, 10, 3500, 7000, 0.03, spread=0.15)
    return body + tick + glitter * env_perc(n, 0.0, 0.15) * 0.5


def explosion_small(n, rng):
    # Short crack: a noise burst closing down fast over a pitch-dropping thump.
    crack = onepole_lp(noise(n, rng), expramp(n, 6000, 500)) * env_perc(n, 0.001, 0.1)
    thump = osc(expramp(n, 220, 55), n) * env_perc(n, 0.001, 0.11)
    return below_the_top(saturate(crack * 3.0 + thump * 0.6, 3.0))


def explosion_large(n, rng):
    # Boom, rumble and debris: a low pitch drop, falling filtered noise and
    # sparse crackles, driven into soft clipping for crunch.
    boom = osc(expramp(n, 130, 32), n) * env_perc(n, 0.002, 0.45)
    rumble = svf(noise(n, rng), expramp(n, 3500, 180), 1.2) * env_perc(n, 0.004, 0.55)
    crackle = np.zeros(n)
    for _ in range(40):
        m = int(0.006 * RATE)
        bit = noise(m, rng) * env_perc(m, 0.0, 0.006)
        place(crackle, bit * rng.uniform(0.3, 1.0), rng.uniform(0.02, 0.4))
    crackle = onepole_hp(crackle, 1500) * env_perc(n, 0.0, 0.5)
    mix = boom * 0.7 + rumble * 3.0 + crackle * 1.2
    # A coarser sample rate in the first burst gives the "crunch".
    held = mix.copy()
    for i in range(0, len(mix), 3):
        held[i:i + 3] = mix[i]
    blend = ramp(len(mix), (0, 1), (0.2, 1), (0.45, 0), (1, 0))
    return below_the_top(saturate(held * blend + mix * (1 - blend), 2.5))


def chime(n, rng):
    # Two quick FM bell strikes a fifth apart (E6 then B6): bright and kind.
    out = np.zeros(n)
    for note, at in ((88, 0.0), (95, 0.045)):
        m = n - int(at * RATE)
        bell = fm(midi_hz(note), 3.5, 2.0 * env_perc(m, 0.0, 0.08), m)
        place(out, bell * env_perc(m, 0.001, 0.3), at)
    return below_the_top(room(out, rng, decay=0.3, mix=0.2))


def get_ready(n, rng):
    # A rising arpeggio sting (C major, square and saw) that lands and holds.
    out = np.zeros(n)
    notes = (72, 76, 79, 84)
    for k, note in enumerate(notes):
        at = k * 0.07
        m = n - int(at * RATE)
        last = k == len(notes) - 1
        e = env_adsr(m, 0.004, 0.06, 0.7 if last else 0.0, 0.35 if last else 0.02)
        if not last:
            e[int(0.09 * RATE):] = 0.0
        f = midi_hz(note) * (1 + 0.004 * osc(6.0, m) * ramp(m, (0, 0), (0.3, 1), (1, 1)))
        tone = osc(f, m, "square", width=0.25) * 0.5 + osc(f * 1.003, m, "saw") * 0.4
        place(out, tone * e, at)
    out = svf(out, ramp(n, (0, 1200), (0.45, 6000), (1, 2500)), 1.5)
    return room(out, rng, decay=0.4, mix=0.2)


def power_up(n, rng):
    # A stepped climb over two octaves with a shimmering glide underneath.
    steps = [60, 64, 67, 72, 76, 79, 84, 88]
    step_len = n // len(steps)
    f = np.repeat(midi_hz(steps), step_len)
    f = np.pad(f, (0, n - len(f)), mode="edge")
    lead = osc(f, n, "square", width=0.5) * 0.4 + osc(f * 2, n) * 0.25
    glide = osc(expramp(n, 260, 1400) * (1 + 0.02 * osc(11.0, n)), n, "tri") * 0.35
    mix = (lead + glide) * env_adsr(n, 0.005, 0.1, 0.8, 0.2)
    mix += sparkle(n, rng, 20, 3000, 8000, 0.05, spread=1.0) * ramp(n, (0, 0.1), (1, 0.6))
    return room(mix, rng, decay=0.35, mix=0.15)


def whoosh(n, rng):
    # Noise through a resonant band-pass that sweeps up and back down.
    cut = ramp(n, (0, 400), (0.55, 3800), (1, 900))
    air = svf(noise(n, rng), cut, 3.0, "bp")
    return air * ramp(n, (0, 0), (0.5, 1), (1, 0)) ** 1.5


def game_over_fly(n, rng):
    # The words "game over" sung by a low, heavy voice while a brass chord
    # falls underneath and a whoosh carries the words onto the screen.
    words = voice.game_over(n, rng, start=0.12)
    brass = voice.brass_chord(n, [45, 52, 57, 60], 0.05, 1.8, fall=-2.0)
    air = whoosh(int(0.6 * RATE), rng)
    out = words * 1.0 + brass * 0.45
    place(out, air * 0.5, 0.0)
    out = room(out, rng, decay=1.0, mix=0.3)
    # The voice's pulses are lopsided (tall on one side only); a gentle soft
    # clip evens them out so the words come out louder at the same peak.
    return saturate(out / np.max(np.abs(out)), 1.8)


def game_over_hold(n, rng):
    # The held ending: a choir "ah" on a minor chord with a brass swell that
    # settles on the low tonic and fades out.
    choir = voice.choir(n, rng, [45, 52, 57, 60, 64])
    brass = voice.brass_chord(n, [33, 45, 52], 0.2, 1.4, fall=0.0)
    out = (choir * 0.8 + brass * 0.5) * ramp(n, (0, 1), (0.6, 0.8), (1, 0))
    out = room(out, rng, decay=1.1, mix=0.3)
    return saturate(out / np.max(np.abs(out)), 1.8)


def player_hit(n, rng):
    # A harsh falling ring-modulated buzz with a noise crack: the witch is hurt.
    f = expramp(n, 900, 90)
    buzz = osc(f, n, "square") * osc(f * 0.71, n) * 0.8
    crack = onepole_lp(noise(n, rng), 3000) * env_perc(n, 0.0, 0.08)
    mix = (buzz * env_perc(n, 0.002, 0.4) + crack) * env_adsr(n, 0.0, 0.0, 1.0, 0.1)
    return below_the_top(saturate(mix, 2.0))


def boss_roar(n, rng):
    # A growl: a low saw with jittered pitch and 28 Hz throat flutter, pushed
    # through moving "ah-oh" formants, plus breath noise.
    jitter = onepole_lp(noise(n, rng), 20) * 6.0
    f0 = expramp(n, 95, 58) * (1 + 0.1 * jitter)
    src = osc(f0, n, "saw") * (0.7 + 0.3 * osc(28.0, n))
    src += onepole_lp(noise(n, rng), 2500) * 0.5
    f1 = ramp(n, (0, 700), (1, 450))
    f2 = ramp(n, (0, 1150), (1, 800))
    voiced = resonator(src, f1, 120) * 1.0 + resonator(src, f2, 150) * 0.6
    voiced += resonator(src, 2600, 250) * 0.2
    voiced *= env_adsr(n, 0.04, 0.1, 0.85, 0.25)
    return saturate(voiced / np.max(np.abs(voiced)), 3.5)


def menu_tick(n, rng):
    # A tiny wooden tick: a damped 1.8 kHz sine and a click of noise.
    tone = osc(1800, n) * env_perc(n, 0.0005, 0.04)
    click = onepole_hp(noise(n, rng), 2000) * env_perc(n, 0.0, 0.006)
    return tone + click * 0.6


def continue_theme(n, rng):
    # A warm question: an electric-piano arpeggio rising through F major 9,
    # held over a soft pad, room tail to the end.
    out = np.zeros(n)
    for k, note in enumerate((65, 69, 72, 76, 79)):
        at = k * 0.11
        m = n - int(at * RATE)
        ep = fm(midi_hz(note), 1.0, 1.2 * env_perc(m, 0.0, 0.5), m)
        place(out, ep * env_perc(m, 0.003, 1.1) * 0.5, at)
    pad = sum(osc(midi_hz(p) * d, n, "saw") for p in (53, 60, 64) for d in (0.997, 1.003))
    pad = onepole_lp(pad, 900) * env_adsr(n, 0.3, 0.2, 0.8, 0.5) * 0.15
    return room(out + pad, rng, decay=0.8, mix=0.3)


def enemy_volley(n, rng):
    # A darker, duller "pyu" than the witch's bolt, so the two never mix up.
    f = expramp(n, 950, 260)
    body = osc(f, n, "square", width=0.5) * 0.6 + osc(f * 0.5, n, "tri") * 0.4
    body = onepole_lp(body, 2500)
    return body * env_perc(n, 0.002, 0.16)


def enemy_flame(n, rng):
    # Fire breath: rushing band-passed noise with crackle and a low roar.
    rush = svf(noise(n, rng), ramp(n, (0, 600), (0.3, 2200), (1, 700)), 1.5, "bp")
    lowroar = onepole_lp(noise(n, rng), 300) * 2.0
    crack = (rng.random(n) < 0.004) * rng.uniform(-1, 1, n)
    crack = onepole_hp(crack, 1000) * 3.0
    mix = rush + lowroar * 0.6 + crack
    return below_the_top(saturate(mix * env_adsr(n, 0.02, 0.05, 0.9, 0.15), 1.5))


def photon_charge(n, rng):
    # Energy gathering: a chord of detuned hums climbing over two octaves with
    # a quickening tremolo and rising hiss. It swells to its loudest at four
    # fifths of its length and has faded out by its end, so a charge that
    # runs to completion does not stop dead.
    f = expramp(n, 70, 330)
    hum = sum(osc(f * r * d, n, "saw") for r in (1, 1.5, 2) for d in (0.995, 1.005))
    hum = svf(hum, expramp(n, 300, 4000), 2.0)
    rate = expramp(n, 4.0, 26.0)
    trem = 0.65 + 0.35 * osc(rate, n)
    hiss = svf(noise(n, rng), expramp(n, 800, 7000), 2.5, "bp") * ramp(n, (0, 0), (1, 0.8))
    swell = ramp(n, (0, 0.05), (0.6, 0.6), (0.8, 1.0), (1, 0.0)) ** 1.3
    return (hum * 0.25 * trem + hiss) * swell


def laser(n, rng):
    # A thick buzzing beam: low saws an octave apart, a high whine wobbling at
    # 7 Hz, all through a resonant filter that throbs; it starts at once and
    # fades only at the very end.
    wob = osc(7.0, n)
    low = osc(110 * (1 + 0.01 * wob), n, "saw") + osc(55.3, n, "saw") * 0.8
    whine = osc(1650 * (1 + 0.03 * wob), n) * 0.35
    beam = svf(low, 900 + 600 * osc(3.5, n), 4.0)
    grit = onepole_hp(noise(n, rng), 3000) * 0.12 * (0.6 + 0.4 * osc(31.0, n))
    mix = saturate(beam * 0.6, 1.5) + whine + grit
    return mix * env_adsr(n, 0.015, 0.1, 0.85, 0.35)


def logo_jingle(n, rng):
    # A little tune for the studio logo: harp sweep up, then a bell melody
    # for "Kor-va Ga-mes" over a warm pad, ending on a bright C major chord
    # that rings out before the logo fades.
    return jingle.logo_tune(n, rng)


# id, role, bytes, peak dBFS, design. Frequent effects sit lower so they do
# not tire the ear; big events use nearly the full 8-bit range.
EFFECTS = [
    (142, "volley", 7094, -4.0, volley),
    (144, "explosion-small", 2328, -2.0, explosion_small),
    (143, "explosion-large", 12229, -1.0, explosion_large),
    (145, "chime", 4212, -2.0, chime),
    (182, "get-ready", 15449, -1.0, get_ready),
    (183, "power-up", 15880, -1.0, power_up),
    (184, "whoosh", 5726, -4.0, whoosh),
    (185, "game-over-fly", 40610, -1.0, game_over_fly),
    (186, "game-over-hold", 30614, -1.0, game_over_hold),
    (201, "player-hit", 7083, -1.5, player_hit),
    (202, "boss-roar", 13579, -1.0, boss_roar),
    (203, "menu-tick", 1399, -6.0, menu_tick),
    (213, "continue", 27641, -2.0, continue_theme),
    (243, "enemy-volley", 3752, -5.0, enemy_volley),
    (245, "enemy-flame", 6000, -4.0, enemy_flame),
    (274, "photon-charge", 39669, -1.0, photon_charge),
    (273, "laser", 53086, -2.0, laser),
    (310, "logo-jingle", 197888, -1.5, logo_jingle),
]


def build(entry):
    ident, role, size, peak_db, design = entry
    seed = zlib.crc32(role.encode())
    rng = np.random.default_rng(seed)
    x = design(size, rng)
    assert len(x) == size, (role, len(x), size)
    pcm = to_pcm8(x, peak_db, rng)
    path = os.path.join(WAVE_DIR, "%d-%s.wav" % (ident, role))
    with open(path, "wb") as f:
        f.write(wave_bytes(pcm))
    return path


if __name__ == "__main__":
    os.makedirs(WAVE_DIR, exist_ok=True)
    wanted = set(sys.argv[1:])
    for e in EFFECTS:
        if not wanted or e[1] in wanted or str(e[0]) in wanted:
            print(build(e))
