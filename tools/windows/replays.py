#!/usr/bin/env python3
"""Plays every recorded session of tests/replays headless with a Windows
velloria.exe under Wine and compares what it logs with the recorded digests
(those the Linux build's suite checks): per frame the CRC-32 of the state line
and the picture's digest, the sound log and the kept pictures' CRC-32s.
   tools/windows/replays.py EXE WORK"""
import os
import subprocess
import sys
import zlib

exe, work = sys.argv[1], sys.argv[2]
replays = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "replays")


def lines(path):
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        return f.read().decode("latin-1").splitlines()


def windows(path):
    """A path of this machine as the program under Wine names it (Z: is /)."""
    return "Z:" + os.path.abspath(path)


def crc(data):
    return "%08x" % (zlib.crc32(data) & 0xFFFFFFFF)


failed = []
sessions = sorted(d for d in os.listdir(replays) if os.path.exists(os.path.join(replays, d, "args")))
for name in sessions:
    folder = os.path.join(replays, name)
    args = lines(os.path.join(folder, "args"))
    shots = [w for w in (args[1].split() if len(args) > 1 else []) if w != "shots"]
    out = os.path.join(work, name)
    os.makedirs(out, exist_ok=True)
    command = ["wine", exe, "--headless", *args[0].split(), "--input", windows(os.path.join(folder, "input.txt"))]
    for log in ("stats", "picture-log", "sound-log"):
        command += ["--" + log, windows(os.path.join(out, log))]
    for f in shots:
        command += ["--shot", "%s:%s" % (f, windows(os.path.join(out, f + ".png")))]
    run = subprocess.run(command, capture_output=True)
    states, pictures = lines(os.path.join(out, "stats")), lines(os.path.join(out, "picture-log"))
    frames = [crc(s.encode("latin-1")) + p[p.find(" "):] for s, p in zip(states, pictures)]
    kept = []
    for f in shots:
        path = os.path.join(out, f + ".png")
        kept.append("%s %s" % (f, crc(open(path, "rb").read()) if os.path.exists(path) else "missing"))
    problems = []
    if run.returncode != 0:
        problems.append("exit code %d: %s" % (run.returncode, run.stderr.decode(errors="replace").strip()[-300:]))
    recorded = lines(os.path.join(folder, "frames.digest"))
    if frames != recorded:
        first = next((i for i, (a, b) in enumerate(zip(recorded, frames)) if a != b), min(len(recorded), len(frames)))
        problems.append("frames differ from frame %d (%d recorded, %d played)" % (first, len(recorded), len(frames)))
    if lines(os.path.join(out, "sound-log")) != lines(os.path.join(folder, "sounds.log")):
        problems.append("the sound log differs")
    if kept != lines(os.path.join(folder, "shots.digest")):
        problems.append("the kept pictures differ")
    print("%-20s %5d frames  %s" % (name, len(frames), "; ".join(problems) or "same"))
    if problems:
        failed.append(name)
print("%d of %d sessions the same under Wine" % (len(sessions) - len(failed), len(sessions)))
sys.exit(1 if failed else 0)
