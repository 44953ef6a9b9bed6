#!/usr/bin/env python3
"""Writes twistwatch.ico: a stopwatch whose face holds one scrambled cube face.

The 16 px image is a 32-bit DIB with an AND mask (the smallest, drawn most often);
the 32, 48 and 128 px images are PNG-compressed, which Windows draws at any size
since Vista and which keeps the file, and the exe holding it, small.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_raster as R  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

DIB_SIZES = (16,)
PNG_SIZES = (32, 48, 128)

CASE = (38, 50, 56, 255)
FACE = (250, 250, 250, 255)
BACKING = (24, 24, 24, 255)
STICKERS = {
    "W": (255, 255, 255, 255),
    "Y": (255, 213, 0, 255),
    "R": (200, 30, 45, 255),
    "O": (255, 110, 0, 255),
    "B": (0, 80, 190, 255),
    "G": (0, 160, 80, 255),
}
PATTERN = ("RYB", "GWO", "BRY")
CENTRE = (0.5, 0.575)


def scene(size):
    s = float(size)
    cx, cy = CENTRE[0] * s, CENTRE[1] * s
    layers = []
    # Tiles first: the list runs front to back.
    grid = 0.40 * s
    gap = 0.03 * s
    tile = (grid - 2 * gap) / 3
    x0, y0 = cx - grid / 2, cy - grid / 2
    for r, line in enumerate(PATTERN):
        for c, colour in enumerate(line):
            tx, ty = x0 + c * (tile + gap), y0 + r * (tile + gap)
            layers.append((R.rounded_rect(tx, ty, tx + tile, ty + tile, 0.2 * tile), STICKERS[colour]))
    pad = 0.035 * s
    layers.append((R.rounded_rect(x0 - pad, y0 - pad, x0 + grid + pad, y0 + grid + pad, 0.06 * s), BACKING))
    layers.append((R.circle(cx, cy, 0.335 * s), FACE))
    layers.append((R.circle(cx, cy, 0.415 * s), CASE))
    # Crown and stem on top, the lap button at the upper right.
    layers.append((R.rounded_rect(0.41 * s, 0.015 * s, 0.59 * s, 0.11 * s, 0.03 * s), CASE))
    layers.append((R.rect(0.465 * s, 0.09 * s, 0.535 * s, 0.20 * s), CASE))
    a = math.radians(-45)
    bx, by = cx + 0.43 * s * math.cos(a), cy + 0.43 * s * math.sin(a)
    layers.append((R.rotated_rect(bx, by, 0.13 * s, 0.09 * s, a + math.pi / 2), CASE))
    return layers


def image(size):
    return R.render(size, size, scene(size), samples=8 if size <= 32 else 4)


def dib_bytes(rows):
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def build_icon():
    entries = [(s, dib_bytes(image(s))) for s in DIB_SIZES]
    entries += [(s, R.png_bytes(image(s))) for s in PNG_SIZES]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in entries)


def main(out_dir=HERE):
    with open(os.path.join(out_dir, "twistwatch.ico"), "wb") as f:
        f.write(build_icon())


if __name__ == "__main__":
    main(*sys.argv[1:])
