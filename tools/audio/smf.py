#!/usr/bin/python3
"""Standard MIDI File writing: format 1, one conductor track with the tempo
and metre, then one track per instrument."""
import struct

TICKS_PER_QUARTER = 480


def varlen(value):
    """MIDI variable-length quantity: 7 bits per byte, high bit = more."""
    if value < 0 or value > 0x0FFFFFFF:
        raise ValueError(value)
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + varlen(len(data)) + data


def track_chunk(events, end_tick):
    """events: (tick, order, bytes). Sorted by tick then order, so a note-off
    (order 0) lands before a note-on (order 1) of the same tick and repeated
    notes never swallow each other. The track ends exactly at end_tick."""
    body = b""
    now = 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        if tick > end_tick:
            raise ValueError("event after the end of the track")
        body += varlen(tick - now) + data
        now = tick
    body += varlen(end_tick - now) + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(body)) + body


def conductor(name, bpm, beats, end_tick):
    tempo = int(round(60_000_000 / bpm))
    events = [
        (0, 0, meta(0x03, name.encode("ascii"))),
        (0, 1, meta(0x58, bytes([beats, 2, 24, 8]))),  # beats/4, click, 32nds
        (0, 2, meta(0x51, tempo.to_bytes(3, "big"))),
    ]
    return track_chunk(events, end_tick)


def instrument(name, channel, program, volume, pan, reverb, notes, end_tick):
    """notes: (start tick, length in ticks, MIDI note, velocity).
    Channel is 1-based as musicians count (10 is the drum kit)."""
    ch = channel - 1
    events = [
        (0, 0, meta(0x03, name.encode("ascii"))),
        (0, 1, bytes([0xB0 | ch, 121, 0])),          # reset controllers: a loop starts clean
        (0, 2, bytes([0xC0 | ch, program])),
        (0, 3, bytes([0xB0 | ch, 7, volume])),
        (0, 4, bytes([0xB0 | ch, 10, pan])),
        (0, 5, bytes([0xB0 | ch, 91, reverb])),
    ]
    for start, length, note, vel in notes:
        events.append((start, 7, bytes([0x90 | ch, note, vel])))
        events.append((start + length, 6, bytes([0x80 | ch, note, 0])))
    return track_chunk(events, end_tick)


def midi_file(tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), TICKS_PER_QUARTER)
    return header + b"".join(tracks)
