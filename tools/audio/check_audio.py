#!/usr/bin/python3
"""Checks the committed sound content without trusting the tools that made it.

Waves (resources/waves/*.wav): exactly the eighteen the sound bank loads, each
a well-formed RIFF WAVE (every chunk inside the file, sizes that add up),
PCM 22050 Hz 8-bit mono, a length within 25 % of what the bank expects, not
silent, not clipped, and starting and ending near the centre line so it
does not click.

Tunes (music/*.mid): valid Standard MIDI Files of format 1 whose tracks parse
to their last byte and close with an end-of-track event, longer than a
minute by their own tempo map, with drums on channel 10, no note left
hanging, all tracks ending on the same tick, and music from the first beat.

Usage: check_audio.py [ROOT]   exit status 0 when everything passes.
"""
import glob
import os
import struct
import sys

# The bank's waves: resource id -> sample bytes it is built around.
EXPECTED_WAVES = {
    142: 7094, 144: 2328, 143: 12229, 145: 4212, 182: 15449, 183: 15880,
    184: 5726, 185: 40610, 186: 30614, 201: 7083, 202: 13579, 203: 1399,
    213: 27641, 243: 3752, 245: 6000, 274: 39669, 273: 53086, 310: 197888,
}
EXPECTED_TUNES = ("Music01.mid", "Music02.mid", "Music03.mid")
LENGTH_TOLERANCE = 0.25
MIN_TUNE_SECONDS = 60.0


def check_wave(path, expected_bytes):
    """-> list of problems (empty when the file is good)."""
    with open(path, "rb") as f:
        blob = f.read()
    name = os.path.basename(path)
    if len(blob) < 12 or blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        return ["%s: not a RIFF WAVE file" % name]
    riff_size = struct.unpack_from("<I", blob, 4)[0]
    problems = []
    if riff_size + 8 != len(blob):
        problems.append("%s: RIFF size %d does not match the file (%d bytes)" % (name, riff_size, len(blob)))
    chunks = {}
    pos = 12
    end = min(riff_size + 8, len(blob))
    while pos + 8 <= end:
        cid, size = blob[pos:pos + 4], struct.unpack_from("<I", blob, pos + 4)[0]
        if pos + 8 + size > end:
            return problems + ["%s: chunk %r runs past the end of the file" % (name, cid)]
        chunks.setdefault(cid, blob[pos + 8:pos + 8 + size])
        pos += 8 + size + (size & 1)
    if pos != end:
        problems.append("%s: %d stray bytes after the last chunk" % (name, end - pos))
    fmt, data = chunks.get(b"fmt "), chunks.get(b"data")
    if fmt is None or data is None:
        return problems + ["%s: missing 'fmt ' or 'data' chunk" % name]
    if len(fmt) != 16:
        problems.append("%s: 'fmt ' chunk is %d bytes, not 16" % (name, len(fmt)))
    else:
        tag, chans, rate, byte_rate, align, bits = struct.unpack("<HHIIHH", fmt)
        if (tag, chans, rate, byte_rate, align, bits) != (1, 1, 22050, 22050, 1, 8):
            problems.append("%s: format %d, %d ch, %d Hz, %d B/s, align %d, %d bit; want PCM mono 22050 Hz 8-bit"
                            % (name, tag, chans, rate, byte_rate, align, bits))
    n = len(data)
    if abs(n - expected_bytes) > LENGTH_TOLERANCE * expected_bytes:
        problems.append("%s: %d samples, expected about %d" % (name, n, expected_bytes))
    if n == 0:
        return problems + ["%s: no samples" % name]
    lo, hi = min(data), max(data)
    if hi - 128 < 32 and 128 - lo < 32:
        problems.append("%s: nearly silent (samples %d..%d)" % (name, lo, hi))
    clipped = data.count(0) + data.count(255)
    if clipped:
        problems.append("%s: %d samples at the limits (clipped)" % (name, clipped))
    if abs(data[0] - 128) > 4 or abs(data[-1] - 128) > 4:
        problems.append("%s: starts or ends away from the centre (%d, %d): it will click"
                        % (name, data[0], data[-1]))
    return problems


def _varlen(buf, pos):
    value = 0
    for _ in range(4):
        b = buf[pos]
        pos += 1
        value = (value << 7) | (b & 0x7F)
        if not b & 0x80:
            return value, pos
    raise ValueError("variable-length number longer than 4 bytes")


def parse_track(buf):
    """-> list of (tick, kind, data); raises ValueError on a malformed track."""
    events = []
    pos = tick = 0
    status = None
    while pos < len(buf):
        delta, pos = _varlen(buf, pos)
        tick += delta
        b = buf[pos]
        if b == 0xFF:
            kind = buf[pos + 1]
            length, pos = _varlen(buf, pos + 2)
            events.append((tick, "meta", (kind, buf[pos:pos + length])))
            pos += length
            if kind == 0x2F:
                if pos != len(buf):
                    raise ValueError("bytes after the end-of-track event")
                return events
            continue
        if b in (0xF0, 0xF7):
            length, pos = _varlen(buf, pos + 1)
            pos += length
            continue
        if b & 0x80:
            status = b
            pos += 1
        elif status is None:
            raise ValueError("running status with no status byte")
        size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
        data = buf[pos:pos + size]
        if len(data) < size or any(d & 0x80 for d in data):
            raise ValueError("bad channel event data at byte %d" % pos)
        events.append((tick, "chan", (status, bytes(data))))
        pos += size
    raise ValueError("track has no end-of-track event")


def seconds_at(tick, tempo_map, division):
    """Time of a tick through the tempo changes [(tick, microseconds per quarter)]."""
    total = 0.0
    last_tick, tempo = 0, 500000  # the standard's default tempo until one is set
    for t, us in tempo_map:
        if t >= tick:
            break
        total += (t - last_tick) * tempo / division / 1e6
        last_tick, tempo = t, us
    return total + (tick - last_tick) * tempo / division / 1e6


def check_midi(path):
    """-> (problems, seconds)."""
    name = os.path.basename(path)
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:4] != b"MThd" or len(blob) < 14:
        return ["%s: no MThd header" % name], 0.0
    hlen, fmt, ntracks, division = struct.unpack_from(">IHHH", blob, 4)
    problems = []
    if hlen != 6 or fmt != 1:
        problems.append("%s: header length %d, format %d; want 6 and format 1" % (name, hlen, fmt))
    if division & 0x8000 or division == 0:
        return problems + ["%s: division %d is not ticks per quarter" % (name, division)], 0.0
    pos = 8 + hlen
    tracks = []
    for k in range(ntracks):
        if blob[pos:pos + 4] != b"MTrk":
            return problems + ["%s: track %d has no MTrk header" % (name, k)], 0.0
        size = struct.unpack_from(">I", blob, pos + 4)[0]
        if pos + 8 + size > len(blob):
            return problems + ["%s: track %d runs past the end of the file" % (name, k)], 0.0
        try:
            tracks.append(parse_track(blob[pos + 8:pos + 8 + size]))
        except (ValueError, IndexError) as e:
            return problems + ["%s: track %d: %s" % (name, k, e)], 0.0
        pos += 8 + size
    if pos != len(blob):
        problems.append("%s: %d bytes after the last track" % (name, len(blob) - pos))
    tempo_map = sorted((t, int.from_bytes(d[1], "big")) for tr in tracks for t, kind, d in tr
                       if kind == "meta" and d[0] == 0x51)
    if not tempo_map or tempo_map[0][0] != 0:
        problems.append("%s: no tempo at the start" % name)
    ends = {tr[-1][0] for tr in tracks}
    if len(ends) != 1:
        problems.append("%s: tracks end on different ticks %s: the loop would stutter" % (name, sorted(ends)))
    end = max(ends)
    seconds = seconds_at(end, tempo_map, division)
    if seconds <= MIN_TUNE_SECONDS:
        problems.append("%s: lasts %.1f s, not over a minute" % (name, seconds))
    sounding = {}
    first_note, programs, drums = None, set(), False
    for tr in tracks:
        for t, kind, d in tr:
            if kind != "chan":
                continue
            st, data = d
            ch, op = st & 0x0F, st & 0xF0
            if op == 0xC0:
                programs.add(ch)
            if op == 0x90 and data[1] > 0:
                sounding[(ch, data[0])] = sounding.get((ch, data[0]), 0) + 1
                first_note = t if first_note is None else min(first_note, t)
                drums |= ch == 9
            elif op == 0x80 or (op == 0x90 and data[1] == 0):
                if sounding.get((ch, data[0]), 0) > 0:
                    sounding[(ch, data[0])] -= 1
    hanging = [k for k, v in sounding.items() if v]
    if hanging:
        problems.append("%s: %d notes never released" % (name, len(hanging)))
    if first_note is None:
        problems.append("%s: no notes" % name)
    elif first_note > division:
        problems.append("%s: silent for %d ticks at the start" % (name, first_note))
    if not drums:
        problems.append("%s: no drums on channel 10" % name)
    if not programs - {9}:
        problems.append("%s: no program changes for the instruments" % name)
    return problems, seconds


def main(root):
    problems = []
    waves = sorted(glob.glob(os.path.join(root, "resources", "waves", "*.wav")))
    seen = {}
    for path in waves:
        head = os.path.basename(path).split("-", 1)[0]
        ident = int(head) if head.isdigit() else None
        if ident not in EXPECTED_WAVES:
            problems.append("%s: not one of the bank's waves" % os.path.basename(path))
            continue
        if ident in seen:
            problems.append("two files for wave %d" % ident)
        seen[ident] = path
        problems += check_wave(path, EXPECTED_WAVES[ident])
    for ident in sorted(set(EXPECTED_WAVES) - set(seen)):
        problems.append("wave %d is missing" % ident)
    print("%d waves checked" % len(seen))
    for name in EXPECTED_TUNES:
        path = os.path.join(root, "music", name)
        if not os.path.exists(path):
            problems.append("%s is missing" % name)
            continue
        p, seconds = check_midi(path)
        problems += p
        print("%s: %.1f s" % (name, seconds))
    for p in problems:
        print("FAIL:", p)
    print("OK" if not problems else "%d problems" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..")))
