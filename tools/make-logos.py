#!/usr/bin/env python3
"""Draws the product's logo images (our own artwork) and writes them as PNGs.

ZORVIK.png          28 x 28 RGB   maker logo: a white "Z" stroke on the window background
LogoSmall.png       28 x 28 RGB   product logo: three blue reverb rings around a dot
LogoTransparent.png 72 x 72 RGBA  the product logo on a transparent background

Only the standard library is used, and the output is byte-for-byte reproducible.
Usage: tools/make-logos.py [output-folder]   (default: resources/images)
"""
import math
import os
import struct
import sys
import zlib

BACKGROUND = (29, 29, 29)
BLUE = (0, 184, 248)
WHITE = (238, 226, 223)
SUPERSAMPLE = 4


def write_png(path, width, height, rows, has_alpha):
    colour_type = 6 if has_alpha else 2
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def coverage(size, inside):
    """Fraction of each pixel for which inside(x, y) holds, x and y in 0..1."""
    cells = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    hits += 1 if inside(x, y) else 0
            row.append(hits / (n * n))
        cells.append(row)
    return cells


def rings(x, y):
    r = math.hypot(x - 0.5, y - 0.5)
    if r < 0.09:
        return True
    # three rings, thinner and open towards the right as the sound spreads
    for radius, width in ((0.2, 0.05), (0.31, 0.04), (0.42, 0.035)):
        if abs(r - radius) < width / 2:
            angle = math.degrees(math.atan2(y - 0.5, x - 0.5))
            if not -25 < angle < 25:
                return True
    return False


def letter_z(x, y):
    if 0.2 <= x <= 0.8 and (0.2 <= y <= 0.32 or 0.68 <= y <= 0.8):
        return True
    # the diagonal from the top right to the bottom left
    if 0.2 <= y <= 0.8:
        diagonal_x = 0.8 - (y - 0.2)
        return abs(x - diagonal_x) < 0.085
    return False


def blend(fg, bg, a):
    return [round(f * a + b * (1 - a)) for f, b in zip(fg, bg)]


def opaque_image(size, inside, colour):
    cells = coverage(size, inside)
    return [sum((blend(colour, BACKGROUND, a) for a in row), []) for row in cells]


def transparent_image(size, inside, colour):
    cells = coverage(size, inside)
    return [sum((list(colour) + [round(255 * a)] for a in row), []) for row in cells]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "images")
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, "ZORVIK.png"), 28, 28, opaque_image(28, letter_z, WHITE), False)
    write_png(os.path.join(out, "LogoSmall.png"), 28, 28, opaque_image(28, rings, BLUE), False)
    write_png(os.path.join(out, "LogoTransparent.png"), 72, 72, transparent_image(72, rings, BLUE), True)


if __name__ == "__main__":
    main()
