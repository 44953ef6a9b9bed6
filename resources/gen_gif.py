#!/usr/bin/env python3
"""Writes about.gif, the About panel's picture: 120 x 40 px, 25 frames, looping.

The panel shows only the first frame (stretched to 96 x 32), so that frame is the
still: a cube beside the word "Twistwatch". The later frames turn the cube once
around its vertical axis. One 256-colour global palette serves every frame.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_raster as R  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

WIDTH, HEIGHT = 120, 40
FRAMES = 25
DELAY_CS = 8  # one turn in two seconds
FIRST_YAW = math.radians(-30)
PITCH = math.radians(28)
CUBE_CENTRE = (21.0, 20.5)
CUBE_HALF = 11.5

WHITE = (255, 255, 255, 255)
BODY = (20, 20, 20, 255)
INK = (38, 50, 56, 255)
ACCENT = (200, 30, 45, 255)
# Faces by outward normal: up white, down yellow, front green, back blue, right red,
# left orange.
FACES = [
    ((0, 1, 0), (255, 255, 255, 255)),
    ((0, -1, 0), (255, 213, 0, 255)),
    ((0, 0, 1), (0, 160, 80, 255)),
    ((0, 0, -1), (0, 80, 190, 255)),
    ((1, 0, 0), (200, 30, 45, 255)),
    ((-1, 0, 0), (255, 110, 0, 255)),
]

GLYPHS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "i": [".#.", "...", "##.", ".#.", ".#.", ".#.", "###"],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
}
TEXT_SCALE = 2
TEXT_LEFT = 42  # the text is centred right of this column


# ------------------------------------------------------------------ artwork

def rotate(p, yaw):
    x, y, z = p
    c, s = math.cos(yaw), math.sin(yaw)
    x, z = c * x + s * z, -s * x + c * z
    c, s = math.cos(PITCH), math.sin(PITCH)
    y, z = c * y - s * z, s * y + c * z
    return x, y, z


def cube_layers(yaw):
    """Front-to-back layers of the visible faces: stickers over the black body."""
    cx, cy = CUBE_CENTRE
    layers = []
    bodies = []
    for normal, colour in FACES:
        if rotate(normal, yaw)[2] <= 1e-9:
            continue
        n = normal
        # Two axes spanning the face.
        u = (n[1], n[2], n[0]) if n[0] == 0 else (0, 1, 0)
        u = tuple(abs(c) for c in u)
        v = (n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0])

        def project(a, b, n=n, u=u, v=v):
            p = tuple(CUBE_HALF * (n[i] + a * u[i] + b * v[i]) for i in range(3))
            x, y, _ = rotate(p, yaw)
            return cx + x, cy - y

        bodies.append((R.convex([project(a, b) for a, b in ((-1, -1), (1, -1), (1, 1), (-1, 1))]), BODY))
        inset = 0.09
        for i in range(3):
            for j in range(3):
                a0, b0 = -1 + 2 * i / 3 + inset, -1 + 2 * j / 3 + inset
                a1, b1 = -1 + 2 * (i + 1) / 3 - inset, -1 + 2 * (j + 1) / 3 - inset
                quad = [project(a0, b0), project(a1, b0), project(a1, b1), project(a0, b1)]
                layers.append((bounded(quad), colour))
    return layers + bodies


def bounded(quad):
    inside = R.convex(quad)
    x0, y0, x1, y1 = R.bounds_of(quad)
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1 and inside(x, y)


def text_layers():
    """One layer per line: the letters are whole pixels, so a set lookup is enough."""
    lines = [("Twist", INK), ("watch", ACCENT)]
    s = TEXT_SCALE
    widths = [sum(len(GLYPHS[ch][0]) + 1 for ch in word) - 1 for word, _ in lines]
    left = TEXT_LEFT + (WIDTH - TEXT_LEFT - s * max(widths)) // 2
    layers = []
    for row, (word, colour) in enumerate(lines):
        cells = set()
        x = left
        top = 3 + row * 18
        for ch in word:
            glyph = GLYPHS[ch]
            for gy, line in enumerate(glyph):
                for gx, cell in enumerate(line):
                    if cell == "#":
                        for dy in range(s):
                            for dx in range(s):
                                cells.add((x + gx * s + dx, top + gy * s + dy))
            x += (len(glyph[0]) + 1) * s
        layers.append((lambda px, py, cells=cells: (int(px), int(py)) in cells, colour))
    return layers


def frames_rgb():
    text = text_layers()
    out = []
    for k in range(FRAMES):
        yaw = FIRST_YAW + 2 * math.pi * k / FRAMES
        rows = R.render(WIDTH, HEIGHT, cube_layers(yaw) + text, samples=4, background=WHITE)
        out.append([[p[:3] for p in row] for row in rows])
    return out


# ------------------------------------------------------------------ palette

def median_cut(histogram, boxes_wanted):
    boxes = [sorted(histogram.items())]
    while len(boxes) < boxes_wanted:
        best = None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[ch] for c, _ in box) - min(c[ch] for c, _ in box) for ch in range(3)]
            span = max(spans)
            if best is None or span > best[0]:
                best = (span, i, spans.index(span))
        if best is None:
            break
        _, i, ch = best
        box = sorted(boxes[i], key=lambda e: (e[0][ch], e[0]))
        total = sum(n for _, n in box)
        acc, cut = 0, 1
        for j, (_, n) in enumerate(box[:-1]):
            acc += n
            cut = j + 1
            if acc * 2 >= total:
                break
        boxes[i:i + 1] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[ch] * n for c, n in box) / total)) for ch in range(3)))
    return palette


def build_palette(frames):
    """Key colours exactly, the anti-aliased blends by median cut, padded to 256."""
    keys = [WHITE[:3], BODY[:3], INK[:3], ACCENT[:3]] + [c[:3] for _, c in FACES]
    keys = list(dict.fromkeys(keys))
    histogram = {}
    for frame in frames:
        for row in frame:
            for p in row:
                if p not in keys:
                    histogram[p] = histogram.get(p, 0) + 1
    palette = keys + (median_cut(histogram, 256 - len(keys)) if histogram else [])
    return palette + [(0, 0, 0)] * (256 - len(palette))


def index_frames(frames, palette):
    cache = {}

    def nearest(p):
        if p not in cache:
            cache[p] = min(range(len(palette)),
                           key=lambda i: sum((palette[i][c] - p[c]) ** 2 for c in range(3)))
        return cache[p]
    return [[[nearest(p) for p in row] for row in frame] for frame in frames]


# ------------------------------------------------------------------ GIF coding

def lzw_encode(indices, min_size=8):
    clear, end = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    bit_buf = bit_len = 0

    def emit(code, size):
        nonlocal bit_buf, bit_len
        bit_buf |= code << bit_len
        bit_len += size
        while bit_len >= 8:
            out.append(bit_buf & 0xFF)
            bit_buf >>= 8
            bit_len -= 8

    size = min_size + 1
    table = {}
    next_code = end + 1
    emit(clear, size)
    w = indices[0]
    for k in indices[1:]:
        if (w, k) in table:
            w = table[(w, k)]
            continue
        emit(w, size)
        if next_code < 4096:
            table[(w, k)] = next_code
            next_code += 1
            # The decoder learns each code one step later, so widen after passing 2^size.
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {}
            next_code = end + 1
            size = min_size + 1
        w = k
    emit(w, size)
    emit(end, size)
    if bit_len:
        out.append(bit_buf & 0xFF)
    return bytes(out)


def lzw_decode(data, min_size=8):
    clear, end = 1 << min_size, (1 << min_size) + 1
    pos = 0
    size = min_size + 1

    def read(n):
        nonlocal pos
        v = 0
        for i in range(n):
            if (data[(pos + i) >> 3] >> ((pos + i) & 7)) & 1:
                v |= 1 << i
        pos += n
        return v

    out = []
    table = None
    prev = None
    while True:
        code = read(size)
        if code == clear:
            table = [[i] for i in range(end + 1)]
            size = min_size + 1
            prev = None
            continue
        if code == end:
            return out
        if prev is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else table[prev] + [table[prev][0]]
            if len(table) < 4096:
                table.append(table[prev] + [entry[0]])
        out.extend(entry)
        prev = code
        if len(table) == (1 << size) and size < 12:
            size += 1


def sub_blocks(data):
    out = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    return out + b"\0"


def changed_box(first, frames):
    xs, ys = [], []
    for frame in frames[1:]:
        for y, (a, b) in enumerate(zip(first, frame)):
            for x in range(WIDTH):
                if a[x] != b[x]:
                    xs.append(x)
                    ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else (0, 0, 1, 1)


def build_gif():
    frames = frames_rgb()
    palette = build_palette(frames)
    indexed = index_frames(frames, palette)
    background = palette.index(WHITE[:3])

    out = b"GIF89a" + struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF7, background, 0)
    out += b"".join(bytes(c) for c in palette)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\0"  # loop forever

    # Only the cube moves: later frames carry just the rectangle that changes.
    x0, y0, x1, y1 = changed_box(indexed[0], indexed)
    encoded = []
    for k, frame in enumerate(indexed):
        box = (0, 0, WIDTH, HEIGHT) if k == 0 else (x0, y0, x1, y1)
        pixels = [frame[y][x] for y in range(box[1], box[3]) for x in range(box[0], box[2])]
        data = lzw_encode(pixels)
        assert lzw_decode(data) == pixels, "LZW round trip failed"
        encoded.append(pixels)
        out += b"\x21\xF9\x04\x04" + struct.pack("<H", DELAY_CS) + b"\0\0"  # keep previous frame
        out += b"\x2C" + struct.pack("<HHHHB", box[0], box[1], box[2] - box[0], box[3] - box[1], 0)
        out += b"\x08" + sub_blocks(data)
    return out + b"\x3B"


def main(out_dir=HERE):
    with open(os.path.join(out_dir, "about.gif"), "wb") as f:
        f.write(build_gif())


if __name__ == "__main__":
    main(*sys.argv[1:])
