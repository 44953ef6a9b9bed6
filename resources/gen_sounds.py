#!/usr/bin/env python3
"""Writes Beep.wav and Ding.wav.

The program accepts the two sound files only at their exact lengths (1,282 and
80,856 bytes), so the sample counts below are fixed by those lengths, not by taste.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

BEEP_SIZE = 1282
DING_SIZE = 80856
HEADER_SIZE = 44


def wav_bytes(samples, rate):
    """16-bit mono PCM in the canonical 44-byte RIFF layout."""
    data = b"".join(struct.pack("<h", s) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def to_pcm16(x):
    return max(-32767, min(32767, int(round(x * 32767))))


def beep():
    rate = 8000
    count = (BEEP_SIZE - HEADER_SIZE) // 2  # 619 samples, about 77 ms
    freq = 1500.0
    # A few milliseconds of ramp at each end, or the speaker clicks.
    fade = int(0.006 * rate)
    out = []
    for n in range(count):
        env = min(1.0, n / fade, (count - 1 - n) / fade)
        env = 0.5 - 0.5 * math.cos(math.pi * env)
        out.append(to_pcm16(0.6 * env * math.sin(2 * math.pi * freq * n / rate)))
    return wav_bytes(out, rate)


def ding():
    rate = 22050
    count = (DING_SIZE - HEADER_SIZE) // 2  # 40,406 samples, about 1.83 s
    base = 880.0
    # Inharmonic partials of a small bell: (frequency ratio, level, decay time in s).
    partials = [
        (1.000, 0.55, 0.90),
        (2.000, 0.25, 0.55),
        (2.756, 0.18, 0.40),
        (5.404, 0.10, 0.22),
        (8.933, 0.05, 0.12),
    ]
    attack = int(0.003 * rate)
    tail = int(0.030 * rate)
    out = []
    for n in range(count):
        t = n / rate
        x = 0.0
        for ratio, level, decay in partials:
            x += level * math.exp(-t / decay) * math.sin(2 * math.pi * base * ratio * t)
        env = min(1.0, n / attack, (count - 1 - n) / tail)
        out.append(to_pcm16(0.85 * env * x))
    return wav_bytes(out, rate)


def main(out_dir=HERE):
    for name, data, size in (("Beep.wav", beep(), BEEP_SIZE), ("Ding.wav", ding(), DING_SIZE)):
        assert len(data) == size, f"{name}: {len(data)} bytes, the program needs {size}"
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(*sys.argv[1:])
