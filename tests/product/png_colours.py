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


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, header, idat = 8, None, []
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None or not idat:
        raise ValueError("no IHDR or IDAT chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("unsupported PNG format %r" % (header,))
    return width, height, 3 if colour == 2 else 4, zlib.decompress(b"".join(idat))


def unfilter_rows(width, height, bpp, raw):
    stride = width * bpp
    previous = bytearray(stride)
    pos = 0
    for _ in range(height):
        kind = raw[pos]
        row = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = row[i - bpp] if i >= bpp else 0
            up = previous[i]
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                corner = previous[i - bpp] if i >= bpp else 0
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                row[i] = (row[i] + pred) & 0xFF
            elif kind != 0:
                raise ValueError("bad filter type %d" % kind)
        yield bytes(row)
        previous = row


def main(argv):
    path, want_w, want_h, minimum = argv[1], int(argv[2]), int(argv[3]), int(argv[4])
    width, height, bpp, raw = read_png(path)
    if (width, height) != (want_w, want_h):
        print("screenshot is %dx%d, expected %dx%d" % (width, height, want_w, want_h))
        return 1
    colours = set()
    for row in unfilter_rows(width, height, bpp, raw):
        for i in range(0, len(row), bpp):
            colours.add(row[i:i + 3])
    print("%s: %dx%d, %d distinct colours" % (path, width, height, len(colours)))
    return 0 if len(colours) >= minimum else 1


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (OSError, ValueError, zlib.error, IndexError, struct.error) as error:
        print("cannot read the screenshot: %s" % error)
        sys.exit(1)
