#!/usr/bin/env python3
"""Draws the routine and camera tile icons as PNG files.

Usage: make_icons.py OUTPUT_DIR

Each pictogram is a union of signed distance fields, so edges come out
anti-aliased without supersampling. Only the standard library is used
(zlib and struct for the PNG encoding), and the output is byte-for-byte
deterministic, so rebuilding never dirties a package.
"""

import math
import os
import struct
import sys
import zlib

ROUTINE_SIZE = (250, 250)  # the routine tile width
CAMERA_SIZE = (444, 250)   # the device tile width

CARD_TOP = (0x3C, 0x45, 0x58)
CARD_BOTTOM = (0x25, 0x2B, 0x38)
CARD_EDGE = (0x56, 0x60, 0x78)
ACCENT_TOP = (0x33, 0xB5, 0xFF)
ACCENT_BOTTOM = (0x14, 0x6E, 0xE0)
ACCENT_EDGE = (0x7F, 0xD3, 0xFF)
GLYPH = (0xE9, 0xED, 0xF5)
GLYPH_ACTIVATED = (0xFF, 0xFF, 0xFF)

INSET = 6
CORNER = 36


# ---------------------------------------------------------------- distances

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_box(cx, cy, half_w, half_h, r):
    def d(x, y):
        qx = abs(x - cx) - (half_w - r)
        qy = abs(y - cy) - (half_h - r)
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return d


def capsule(ax, ay, bx, by, r):
    def d(x, y):
        px, py = x - ax, y - ay
        ex, ey = bx - ax, by - ay
        h = max(0.0, min(1.0, (px * ex + py * ey) / (ex * ex + ey * ey)))
        return math.hypot(px - ex * h, py - ey * h) - r
    return d


def polyline(points, r):
    parts = [capsule(*points[i], *points[i + 1], r) for i in range(len(points) - 1)]
    return union(*parts)


def polygon(points, rounding=0.0):
    """Distance to a simple polygon, grown by `rounding` with round corners."""
    n = len(points)

    def d(x, y):
        best = float("inf")
        sign = 1.0
        for i in range(n):
            ax, ay = points[i - 1]
            bx, by = points[i]
            ex, ey = ax - bx, ay - by
            wx, wy = x - bx, y - by
            h = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, (wx - ex * h) ** 2 + (wy - ey * h) ** 2)
            c1 = y >= by
            c2 = y < ay
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
        return sign * math.sqrt(best) - rounding
    return d


def union(*parts):
    return lambda x, y: min(p(x, y) for p in parts)


def subtract(base, *holes):
    return lambda x, y: max(base(x, y), *(-h(x, y) for h in holes))


def outline(shape, width):
    return lambda x, y: abs(shape(x, y)) - width / 2.0


def star_points(cx, cy, outer, inner, tips=5, turn=-math.pi / 2):
    points = []
    for i in range(tips * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / tips
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


# ---------------------------------------------------------------- pictograms

def sun():
    cx, cy = 125, 125
    rays = []
    for i in range(8):
        a = i * math.pi / 4
        rays.append(capsule(cx + 47 * math.cos(a), cy + 47 * math.sin(a),
                            cx + 64 * math.cos(a), cy + 64 * math.sin(a), 6.5))
    return union(circle(cx, cy, 32), *rays)


def moon():
    crescent = subtract(circle(118, 130, 52), circle(146, 106, 44))
    sparkle_big = polygon(star_points(180, 150, 15, 5, tips=4), rounding=1.0)
    sparkle_small = polygon(star_points(190, 106, 9, 3, tips=4), rounding=0.8)
    return union(crescent, sparkle_big, sparkle_small)


def leaving_door():
    frame = outline(rounded_box(100, 125, 36, 60, 10), 11)
    # The frame opens on the right where the arrow leaves it.
    frame = subtract(frame, rounded_box(138, 125, 14, 27, 2))
    arrow = union(capsule(112, 125, 190, 125, 6.5),
                  capsule(190, 125, 166, 101, 6.5),
                  capsule(190, 125, 166, 149, 6.5))
    return union(frame, arrow)


def house():
    roof = polygon([(125, 56), (194, 118), (56, 118)], rounding=5)
    body = rounded_box(125, 148, 50, 42, 7)
    door = rounded_box(125, 166, 14, 25, 5)
    chimney = rounded_box(164, 82, 8, 20, 3)
    return subtract(union(roof, body, chimney), door)


def star():
    return polygon(star_points(125, 130, 68, 29), rounding=5)


def camera():
    cx, cy = 222, 132
    body = rounded_box(cx, cy, 82, 56, 16)
    hump = rounded_box(cx - 22, cy - 58, 30, 14, 6)
    shape = union(body, hump)
    lens_gap = circle(cx, cy + 2, 36)
    flash = rounded_box(cx + 52, cy - 32, 11, 7, 3)
    lens = circle(cx, cy + 2, 25)
    return union(subtract(shape, lens_gap, flash), lens)


def check_badge(canvas_w):
    cx, cy = canvas_w - 45, 45
    disc = circle(cx, cy, 21)
    tick = polyline([(cx - 10, cy + 1), (cx - 3, cy + 8), (cx + 10, cy - 7)], 3.5)
    return disc, tick


# ---------------------------------------------------------------- raster

class Canvas:
    """Premultiplied RGBA floats, composited with "over"."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, colour, box=None, opacity=1.0):
        """Paints `shape` with `colour`, an (r, g, b) tuple or a function of
        y giving one. `box` (x0, y0, x1, y1) bounds the work."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        for y in range(y0, y1):
            rgb = colour(y) if callable(colour) else colour
            r, g, b = (c / 255.0 for c in rgb)
            row = y * self.width
            for x in range(x0, x1):
                cover = 0.5 - shape(x + 0.5, y + 0.5)
                if cover <= 0.0:
                    continue
                a = min(cover, 1.0) * opacity
                p = self.pixels[row + x]
                keep = 1.0 - a
                p[0] = r * a + p[0] * keep
                p[1] = g * a + p[1] * keep
                p[2] = b * a + p[2] * keep
                p[3] = a + p[3] * keep

    def png(self):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)  # filter: none
            for p in self.pixels[y * self.width:(y + 1) * self.width]:
                a = p[3]
                if a <= 0.0:
                    raw += b"\0\0\0\0"
                    continue
                raw += bytes(min(255, int(round(c / a * 255))) for c in p[:3])
                raw.append(min(255, int(round(a * 255))))
        return encode_png(self.width, self.height, bytes(raw))


def encode_png(width, height, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def gradient(top, bottom, height):
    def at(y):
        t = y / max(1, height - 1)
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return at


def draw(size, pictogram, activated, glyph_box):
    w, h = size
    canvas = Canvas(w, h)
    card = rounded_box(w / 2, h / 2, w / 2 - INSET, h / 2 - INSET, CORNER)
    top, bottom, edge = ((ACCENT_TOP, ACCENT_BOTTOM, ACCENT_EDGE) if activated
                         else (CARD_TOP, CARD_BOTTOM, CARD_EDGE))
    canvas.fill(card, gradient(top, bottom, h))
    canvas.fill(outline(rounded_box(w / 2, h / 2, w / 2 - INSET - 1.5, h / 2 - INSET - 1.5,
                                    CORNER - 1.5), 2.0), edge, opacity=0.55)
    # A soft shadow under the pictogram lifts it off the card.
    shadow = lambda x, y: pictogram(x, y - 3) - 1.5
    canvas.fill(shadow, (0, 0, 0), glyph_box, opacity=0.22)
    canvas.fill(pictogram, GLYPH_ACTIVATED if activated else GLYPH, glyph_box)
    if activated:
        disc, tick = check_badge(w)
        canvas.fill(disc, (0xFF, 0xFF, 0xFF), (w - 70, 20, w - 20, 70))
        canvas.fill(tick, ACCENT_BOTTOM, (w - 70, 20, w - 20, 70))
    return canvas.png()


ROUTINES = [
    ("acc-gdmorn", sun),
    ("acc-gdnight", moon),
    ("acc-gdbye", leaving_door),
    ("acc-imback", house),
    ("acc-custom", star),
]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icons.py OUTPUT_DIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    jobs = []
    for name, make in ROUTINES:
        glyph = make()
        jobs.append((name + ".png", ROUTINE_SIZE, glyph, False, (40, 40, 210, 210)))
        jobs.append((name + "-activated.png", ROUTINE_SIZE, glyph, True, (40, 40, 210, 210)))
    jobs.append(("acc.camera.png", CAMERA_SIZE, camera(), False, (120, 50, 325, 200)))
    for file_name, size, glyph, activated, box in jobs:
        data = draw(size, glyph, activated, box)
        path = os.path.join(out, file_name)
        # Written beside the target and renamed, so an interrupted build
        # never leaves a truncated icon that looks up to date.
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
