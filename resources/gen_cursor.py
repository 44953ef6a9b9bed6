#!/usr/bin/env python3
"""Writes hand.cur, the link labels' pointer: a 32 x 32, 16-colour pointing hand with
the index finger up and its hot spot on the finger tip (x 12, y 1)."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

HOT_SPOT = (12, 1)

# The 16 colours of the classic VGA palette; the art uses black, white and grey.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INDEX = {"K": 0, "G": 7, "W": 15}

ART = [
    "................................",
    "...........KKK..................",
    "..........KWWWK.................",
    "..........KWWGK.................",
    "..........KWWGK.................",
    "..........KWWGK.................",
    "..........KWWGK.................",
    "..........KWWGKKK...............",
    "..........KWWGKWGKKK............",
    "..........KWWGKWGKWGKKK.........",
    "..........KWWGKWGKWGKWGK........",
    "......KK..KWWWKWGKWGKWGK........",
    ".....KWWK.KWWWWWWWWWWWGK........",
    ".....KWWGKKWWWWWWWWWWWGK........",
    "......KWWGKWWWWWWWWWWWGK........",
    "......KWWWWWWWWWWWWWWWGK........",
    ".......KWWWWWWWWWWWWWWGK........",
    ".......KWWWWWWWWWWWWWWGK........",
    "........KWWWWWWWWWWWWGK.........",
    "........KWWWWWWWWWWWWGK.........",
    ".........KWWWWWWWWWWGK..........",
    ".........KWWWWWWWWWWGK..........",
    ".........KKKKKKKKKKKKK..........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]


def build_cursor():
    assert len(ART) == 32 and all(len(r) == 32 for r in ART)
    assert ART[HOT_SPOT[1]][HOT_SPOT[0]] == "K", "the hot spot must sit on the finger tip"
    xor = b""
    mask = b""
    for row in reversed(ART):  # DIB rows run bottom-up
        nibbles = [INDEX.get(ch, 0) for ch in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, 32, 2))
        bits = 0
        for ch in row:
            bits = (bits << 1) | (1 if ch == "." else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    data = header + palette + xor + mask
    # For a cursor the directory's planes and bit-count fields carry the hot spot.
    directory = struct.pack("<HHH", 0, 2, 1)
    directory += struct.pack("<BBBBHHII", 32, 32, 16, 0, HOT_SPOT[0], HOT_SPOT[1], len(data), 6 + 16)
    return directory + data


def main(out_dir=HERE):
    with open(os.path.join(out_dir, "hand.cur"), "wb") as f:
        f.write(build_cursor())


if __name__ == "__main__":
    main(*sys.argv[1:])
