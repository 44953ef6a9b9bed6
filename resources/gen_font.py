#!/usr/bin/env python3
"""Writes Digital-7.ttf, the seven-segment face the timer's digits are drawn in.

Our own artwork: each digit is lit from seven bevelled (hexagonal) segments with a
small gap where two segments meet, like a classic LCD. The face is registered as
family "Digital-7", style Bold, because the program asks for weight 700 and compares
the face name it gets with "Digital-7".

Metrics: the digit labels are 137 px square and use the face at a 133 px em, so a
digit advances half an em ("00" is 133 px) and its ink stands 700 units tall,
vertically centred-ish in an 850/150 line.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

UNITS_PER_EM = 1000
ASCENT = 850
DESCENT = 150
DIGIT_ADVANCE = 500
NARROW_ADVANCE = 220  # ":" and "." sit alone in a 33 px separator label
INK_LEFT, INK_RIGHT = 50, 450
INK_BOTTOM, INK_TOP = 0, 700
STROKE = 68  # segment thickness
GAP = 11  # shortening of each segment end; the visible gap is GAP * sqrt(2)
DOT = 76  # side of the square dots of ":" and "."

# Fixed creation date (1 Jan 2024 in seconds since 1904) keeps the output reproducible.
FONT_DATE = 3786825600

SEGMENTS_OF = {
    "0": "abcdef",
    "1": "bc",
    "2": "abdeg",
    "3": "abcdg",
    "4": "bcfg",
    "5": "acdfg",
    "6": "acdefg",
    "7": "abc",
    "8": "abcdefg",
    "9": "abcdfg",
    "-": "g",
    # Inspection's penalty marks read "+2" and "dnF", as on a seven-segment display.
    "D": "bcdeg",
    "F": "aefg",
    "N": "ceg",
}


def hexagon_h(x0, x1, yc):
    h = STROKE / 2
    return [(x0, yc), (x0 + h, yc + h), (x1 - h, yc + h), (x1, yc), (x1 - h, yc - h), (x0 + h, yc - h)]


def hexagon_v(xc, y0, y1):
    h = STROKE / 2
    return [(xc, y0), (xc - h, y0 + h), (xc - h, y1 - h), (xc, y1), (xc + h, y1 - h), (xc + h, y0 + h)]


def segment(name):
    """The hexagon of one segment; pointed ends meet their neighbours on the centre lines."""
    h = STROKE / 2
    left, right = INK_LEFT + h, INK_RIGHT - h
    bottom, top = INK_BOTTOM + h, INK_TOP - h
    mid = (INK_BOTTOM + INK_TOP) / 2
    g = GAP
    return {
        "a": lambda: hexagon_h(left + g, right - g, top),
        "g": lambda: hexagon_h(left + g, right - g, mid),
        "d": lambda: hexagon_h(left + g, right - g, bottom),
        "f": lambda: hexagon_v(left, mid + g, top - g),
        "b": lambda: hexagon_v(right, mid + g, top - g),
        "e": lambda: hexagon_v(left, bottom + g, mid - g),
        "c": lambda: hexagon_v(right, bottom + g, mid - g),
    }[name]()


def square(cx, cy, side):
    s = side / 2
    return [(cx - s, cy - s), (cx - s, cy + s), (cx + s, cy + s), (cx + s, cy - s)]


def clockwise(contour):
    """TrueType wants outer contours clockwise (y up): negative shoelace area."""
    pts = [(int(round(x)), int(round(y))) for x, y in contour]
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]))
    return pts if area < 0 else list(reversed(pts))


def notdef():
    outer = [(50, 0), (50, 700), (450, 700), (450, 0)]
    inner = [(100, 50), (400, 50), (400, 650), (100, 650)]  # counter-clockwise hole
    return [outer, inner]


# (glyph name, character code or None, advance, contours)
def glyph_table():
    height = INK_TOP - INK_BOTTOM
    glyphs = [
        (".notdef", None, DIGIT_ADVANCE, notdef()),
        ("space", 0x20, DIGIT_ADVANCE, []),
        ("hyphen", 0x2D, DIGIT_ADVANCE, [clockwise(segment(s)) for s in SEGMENTS_OF["-"]]),
        ("period", 0x2E, NARROW_ADVANCE, [clockwise(square(NARROW_ADVANCE / 2, DOT / 2, DOT))]),
    ]
    for d in "0123456789":
        glyphs.append((d, ord(d), DIGIT_ADVANCE, [clockwise(segment(s)) for s in SEGMENTS_OF[d]]))
    colon = [clockwise(square(NARROW_ADVANCE / 2, INK_BOTTOM + height * f, DOT)) for f in (0.25, 0.75)]
    glyphs.append(("colon", ord(":"), NARROW_ADVANCE, colon))
    for letter in "DFN":
        glyphs.append((letter, ord(letter), DIGIT_ADVANCE, [clockwise(segment(s)) for s in SEGMENTS_OF[letter]]))
    glyphs.append(("plus", ord("+"), DIGIT_ADVANCE, plus()))
    return glyphs


def plus():
    """A cross of two segments' thickness, centred on the middle segment."""
    centre_x, centre_y = (INK_LEFT + INK_RIGHT) / 2, (INK_BOTTOM + INK_TOP) / 2
    arm = (INK_RIGHT - INK_LEFT) * 0.35
    return [clockwise(hexagon_h(centre_x - arm, centre_x + arm, centre_y)),
            clockwise(hexagon_v(centre_x, centre_y - arm, centre_y + arm))]


# ---------------------------------------------------------------- table writers

def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF


def bbox(contours):
    xs = [x for c in contours for x, _ in c]
    ys = [y for c in contours for _, y in c]
    return min(xs), min(ys), max(xs), max(ys)


def glyf_entry(contours):
    if not contours:
        return b""
    x_min, y_min, x_max, y_max = bbox(contours)
    out = struct.pack(">hhhhh", len(contours), x_min, y_min, x_max, y_max)
    end = -1
    for c in contours:
        end += len(c)
        out += struct.pack(">H", end)
    out += struct.pack(">H", 0)  # no hinting instructions
    points = [p for c in contours for p in c]
    out += bytes([0x01]) * len(points)  # on-curve, both coordinates as 16-bit deltas
    px = py = 0
    xs, ys = b"", b""
    for x, y in points:
        xs += struct.pack(">h", x - px)
        ys += struct.pack(">h", y - py)
        px, py = x, y
    out += xs + ys
    return out + b"\0" * (-len(out) % 4)


def cmap_table(glyphs):
    mapping = {code: gid for gid, (_, code, _, _) in enumerate(glyphs) if code is not None}

    # Macintosh Roman byte table, for systems that still look at platform 1.
    mac = bytes(mapping.get(c, 0) for c in range(256))
    fmt0 = struct.pack(">HHH", 0, 262, 0) + mac

    # Windows Unicode BMP: one segment per run of consecutive codes and glyphs.
    segs = []
    for code in sorted(mapping):
        if segs and code == segs[-1][1] + 1 and mapping[code] == mapping[segs[-1][1]] + 1:
            segs[-1][1] = code
        else:
            segs.append([code, code])
    segs.append([0xFFFF, 0xFFFF])
    n = len(segs)
    search = 2 * (1 << (n.bit_length() - 1))
    ends = b"".join(struct.pack(">H", e) for _, e in segs)
    starts = b"".join(struct.pack(">H", s) for s, _ in segs)
    deltas = b"".join(
        struct.pack(">H", (mapping[s] - s) & 0xFFFF if s != 0xFFFF else 1) for s, _ in segs)
    ranges = b"\0\0" * n
    body = (struct.pack(">HHHH", 2 * n, search, (search // 2).bit_length() - 1, 2 * n - search)
            + ends + b"\0\0" + starts + deltas + ranges)
    fmt4 = struct.pack(">HHH", 4, 6 + len(body), 0) + body

    header = struct.pack(">HH", 0, 2)
    first = 4 + 2 * 8
    header += struct.pack(">HHI", 1, 0, first)
    header += struct.pack(">HHI", 3, 1, first + len(fmt0))
    return header + fmt0 + fmt4


def name_table():
    names = {
        1: "Digital-7",
        2: "Bold",
        3: "Twistwatch: Digital-7 Bold: 1.000",
        4: "Digital-7 Bold",
        5: "Version 1.000",
        6: "Digital-7-Bold",
    }
    records = []
    for name_id, text in sorted(names.items()):
        records.append((1, 0, 0, name_id, text.encode("mac_roman")))
    for name_id, text in sorted(names.items()):
        records.append((3, 1, 0x409, name_id, text.encode("utf-16-be")))
    storage = b""
    head = struct.pack(">HHH", 0, len(records), 6 + 12 * len(records))
    for platform, encoding, language, name_id, raw in records:
        head += struct.pack(">HHHHHH", platform, encoding, language, name_id, len(raw), len(storage))
        storage += raw
    return head + storage


def build_font():
    glyphs = glyph_table()
    glyf = b""
    loca = []
    for _, _, _, contours in glyphs:
        loca.append(len(glyf))
        glyf += glyf_entry(contours)
    loca.append(len(glyf))

    inked = [c for _, _, _, cs in glyphs for c in cs]
    x_min, y_min, x_max, y_max = bbox(inked)
    advances = [adv for _, _, adv, _ in glyphs]
    lsbs = [bbox(cs)[0] if cs else 0 for _, _, _, cs in glyphs]
    rsbs = [adv - bbox(cs)[2] for _, _, adv, cs in glyphs if cs]
    max_points = max(sum(len(c) for c in cs) for _, _, _, cs in glyphs)
    max_contours = max(len(cs) for _, _, _, cs in glyphs)
    codes = [code for _, code, _, _ in glyphs if code is not None]

    tables = {}
    tables["head"] = struct.pack(
        ">IIIIHHqqhhhhHHhhh",
        0x00010000, 0x00010000, 0, 0x5F0F3CF5,
        0x000B,  # baseline at y 0, left side bearing at x 0, integer scaling
        UNITS_PER_EM, FONT_DATE, FONT_DATE,
        x_min, y_min, x_max, y_max,
        0x0001,  # macStyle: bold
        8, 2, 1, 0)  # lowestRecPPEM, direction hint, long loca, glyph format
    tables["hhea"] = struct.pack(
        ">IhhhHhhhhhhhhhhhH",
        0x00010000, ASCENT, -DESCENT, 0, max(advances), min(lsbs), min(rsbs), x_max,
        1, 0, 0, 0, 0, 0, 0, 0, len(glyphs))
    tables["maxp"] = struct.pack(
        ">IHHHHHHHHHHHHHH",
        0x00010000, len(glyphs), max_points, max_contours, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0)
    tables["OS/2"] = struct.pack(
        ">HhHHHhhhhhhhhhhh10sIIII4sHHHhhhHHIIhhHHH",
        4, sum(advances[1:]) // (len(advances) - 1), 700, 5, 0,  # fsType 0: installable
        650, 600, 0, 75, 650, 600, 0, 350,  # sub- and superscript
        50, 320,  # strikeout
        0,
        bytes([2, 0, 8, 0, 0, 0, 0, 0, 0, 0]),  # PANOSE: Latin text, bold
        1, 0, 0, 0,  # Unicode ranges: Basic Latin
        b"TWST",
        0x0020,  # fsSelection: bold
        min(codes), max(codes),
        ASCENT, -DESCENT, 0, ASCENT, DESCENT,
        1, 0,  # code pages: Latin 1 (1252), so ANSI_CHARSET requests match
        INK_TOP // 2, INK_TOP, 0, 0x20, 1)
    tables["hmtx"] = b"".join(struct.pack(">Hh", a, l) for a, l in zip(advances, lsbs))
    tables["cmap"] = cmap_table(glyphs)
    tables["loca"] = b"".join(struct.pack(">I", o) for o in loca)
    tables["glyf"] = glyf
    tables["name"] = name_table()
    tables["post"] = struct.pack(">IIhhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0)

    tags = sorted(tables, key=lambda t: t.encode("ascii"))
    n = len(tags)
    search = 16 * (1 << (n.bit_length() - 1))
    out = struct.pack(">IHHHH", 0x00010000, n, search, (search // 16).bit_length() - 1, 16 * n - search)
    offset = 12 + 16 * n
    body = b""
    head_offset = 0
    for tag in tags:
        data = tables[tag]
        if tag == "head":
            head_offset = offset
        out += struct.pack(">4sIII", tag.encode("ascii"), checksum(data), offset, len(data))
        padded = data + b"\0" * (-len(data) % 4)
        body += padded
        offset += len(padded)
    font = bytearray(out + body)
    adjustment = (0xB1B0AFBA - checksum(bytes(font))) & 0xFFFFFFFF
    font[head_offset + 8:head_offset + 12] = struct.pack(">I", adjustment)
    return bytes(font)


def main(out_dir=HERE):
    with open(os.path.join(out_dir, "Digital-7.ttf"), "wb") as f:
        f.write(build_font())


if __name__ == "__main__":
    main(*sys.argv[1:])
