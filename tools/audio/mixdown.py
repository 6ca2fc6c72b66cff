"""What the tune tools share: MIDI files built from a tune (whole, a single
part, or the form played several times), FluidSynth renders as float
arrays, and loudness (ITU-R BS.1770 integrated, in LUFS) and true peak
measured by ffmpeg's ebur128 filter.

Needs the fluidsynth and ffmpeg programs (Debian: fluidsynth, ffmpeg)."""
import os
import re
import struct
import subprocess
import tempfile
import wave

import numpy as np

import smf
from make_midi import HERE, ROOT
from make_midi import TUNES as MIDI_FILES
from tune import Tune

# Each tune's file name without its extension.
TUNES = {tune: os.path.splitext(midi)[0] for tune, midi in MIDI_FILES.items()}
FONTS = {
    "TimGM6mb": "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "FluidR3": "/usr/share/sounds/sf2/FluidR3_GM.sf2",
}
RATE = 44100
# FluidSynth's master gain for renders: low enough that no mix clips inside
# the synthesiser; levels are set afterwards.
RENDER_GAIN = 0.3


def tune_path(name):
    return os.path.join(HERE, "tunes", name)


def tune_seconds(tune):
    _, end = tune.render()
    return end / smf.TICKS_PER_QUARTER * 60.0 / tune.bpm


def midi_bytes(tune, passes=1, only=None):
    """The tune as a Standard MIDI File: its form played `passes` times in a
    row, and only the part named `only` when one is given."""
    form = tune.form
    tune.form = form * passes
    try:
        notes, end = tune.render()
    finally:
        tune.form = form
    tracks = [smf.conductor(tune.title, tune.bpm, tune.beats, end)]
    for name in tune.part_order:
        if only is not None and name != only:
            continue
        p = tune.parts[name]
        tracks.append(smf.instrument(name, p["channel"], p["program"], p["volume"],
                                     p["pan"], p["reverb"], notes[name], end))
    return smf.midi_file(tracks)


def render(mid, sf2, rate=RATE, gain=RENDER_GAIN):
    """Renders MIDI bytes with the fluidsynth program; returns (frames, 2)
    floats at full scale 1.0."""
    with tempfile.TemporaryDirectory() as tmp:
        mid_path = os.path.join(tmp, "in.mid")
        wav_path = os.path.join(tmp, "out.wav")
        with open(mid_path, "wb") as f:
            f.write(mid)
        subprocess.run(["fluidsynth", "-ni", "-g", str(gain), "-r", str(rate), "-T", "wav",
                        "-O", "s32", "-F", wav_path, sf2, mid_path],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return read_wav(wav_path)


def read_wav(path):
    with wave.open(path) as w:
        width, chans = w.getsampwidth(), w.getnchannels()
        raw = w.readframes(w.getnframes())
    kind = {2: np.int16, 4: np.int32}[width]
    scale = float(2 ** (8 * width - 1))
    return np.frombuffer(raw, dtype=kind).reshape(-1, chans).astype(np.float64) / scale


def write_wav_float(path, pcm, rate=RATE):
    """32-bit float WAV: the encoder gets the render without rounding."""
    data = np.asarray(pcm, dtype="<f4")
    with open(path, "wb") as f:
        f.write(float_wav_header(len(data), data.shape[1], rate))
        f.write(data.tobytes())


def measure_file(path):
    """(integrated loudness in LUFS, true peak in dBTP) of an audio file."""
    out = subprocess.run(["ffmpeg", "-nostats", "-hide_banner", "-i", path, "-af",
                          "ebur128=peak=true", "-f", "null", "-"],
                         capture_output=True, text=True).stderr
    summary = out[out.rfind("Summary:"):]
    lufs = re.search(r"I:\s+(-?[\d.]+|-inf) LUFS", summary)
    peak = re.search(r"Peak:\s+(-?[\d.]+|-inf) dBFS", summary)
    value = lambda m: float(m.group(1)) if m and m.group(1) != "-inf" else float("-inf")
    return value(lufs), value(peak)


def measure(pcm, rate=RATE):
    """measure_file for samples in memory (written as 32-bit float)."""
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "m.wav")
        write_wav_float(path, pcm, rate)
        return measure_file(path)


def float_wav_header(frames, chans, rate):
    size = frames * chans * 4
    return (b"RIFF" + struct.pack("<I", 36 + size) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 3, chans, rate, rate * chans * 4, chans * 4, 32) +
            b"data" + struct.pack("<I", size))


def loop_frames(tune, rate=RATE):
    """One pass of the form in whole frames."""
    return int(round(tune_seconds(tune) * rate))


def load(name):
    return Tune(tune_path(name))
