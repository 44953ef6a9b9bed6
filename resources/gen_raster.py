"""Shared by the picture generators: shapes in unit coordinates, an anti-aliasing
sampler and a PNG writer. Not a generator itself."""
import math
import struct
import zlib


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_in, r_out):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def convex(points):
    """A convex polygon in either winding."""
    edges = list(zip(points, points[1:] + points[:1]))
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in edges)
    sign = 1 if area > 0 else -1

    def inside(x, y):
        for (x0, y0), (x1, y1) in edges:
            if sign * ((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)) < 0:
                return False
        return True
    return inside


def rotated_rect(cx, cy, w, h, angle):
    c, s = math.cos(angle), math.sin(angle)
    pts = [(cx + dx * c - dy * s, cy + dx * s + dy * c)
           for dx, dy in ((-w / 2, -h / 2), (w / 2, -h / 2), (w / 2, h / 2), (-w / 2, h / 2))]
    return convex(pts)


def bounds_of(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


def render(width, height, layers, samples=4, background=(0, 0, 0, 0)):
    """Rows of straight-alpha RGBA pixels. `layers` run front to back: each is
    (inside(x, y), (r, g, b, a)) in a space where the picture spans 0..width, 0..height
    in pixels; the first opaque hit wins a sample."""
    rows = []
    offsets = [(i + 0.5) / samples for i in range(samples)]
    n = samples * samples
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for oy in offsets:
                for ox in offsets:
                    x, y = px + ox, py + oy
                    colour = background
                    for inside, c in layers:
                        if inside(x, y):
                            colour = c
                            break
                    a = colour[3] / 255.0
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(acc[i] / acc[3])) for i in range(3))
                           + (int(round(255 * acc[3] / n)),))
        rows.append(row)
    return rows


def png_bytes(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
