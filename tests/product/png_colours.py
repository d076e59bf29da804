#!/usr/bin/env python3
"""Checks that a PNG screenshot is not blank, with the standard library only.

usage: png_colours.py SHOT.png WIDTH HEIGHT MIN_COLOURS

Decodes the image (8-bit RGB or RGBA, not interlaced, as Chromium writes
them), checks its size and counts distinct colours; exits 1 when there are
fewer than MIN_COLOURS or the file is not such a PNG.
"""
import struct
import sys
import zlib


def read_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, header, idat = 8, None, b""
    while pos + 8 <= len(data) and data[pos + 4:pos + 8] != b"IEND":
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        header = struct.unpack(">IIBBBBB", body) if kind == b"IHDR" else header
        idat += body if kind == b"IDAT" else b""
        pos += 12 + length
    if header is None or not idat:
        raise ValueError("no IHDR or IDAT chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("unsupported PNG format %r" % (header,))
    return width, height, 3 if colour == 2 else 4, zlib.decompress(idat)


def paeth(left, up, corner):
    p = left + up - corner
    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
    return left if pa <= pb and pa <= pc else (up if pb <= pc else corner)


def rows(width, height, bpp, raw):
    stride, previous = width * bpp, bytearray(width * bpp)
    for y in range(height):
        kind, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind > 4:
            raise ValueError("bad filter type %d" % kind)
        for i in range(stride):
            left, up = row[i - bpp] if i >= bpp else 0, previous[i]
            corner = previous[i - bpp] if i >= bpp else 0
            row[i] = (row[i] + (0, left, up, (left + up) >> 1, paeth(left, up, corner))[kind]) & 0xFF
        yield bytes(row)
        previous = row


def main(argv):
    path, want_w, want_h, minimum = argv[1], int(argv[2]), int(argv[3]), int(argv[4])
    with open(path, "rb") as f:
        width, height, bpp, raw = read_png(f.read())
    if (width, height) != (want_w, want_h):
        print("screenshot is %dx%d, expected %dx%d" % (width, height, want_w, want_h))
        return 1
    colours = {row[i:i + 3] for row in rows(width, height, bpp, raw) for i in range(0, len(row), bpp)}
    print("%s: %dx%d, %d distinct colours" % (path, width, height, len(colours)))
    return 0 if len(colours) >= minimum else 1


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (OSError, ValueError, zlib.error, IndexError, struct.error) as error:
        print("cannot read the screenshot: %s" % error)
        sys.exit(1)
