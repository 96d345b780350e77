#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files (standard library only).

res/Mirto.ico is the normal icon: a blue rounded square with a white mark of three slanted
strokes. res/MirtoPaused.ico is the same drawing in greys, shown while the keys are paused.
Each file holds 16x16, 32x32 and 48x48 images, 32-bit with alpha. Run it again after changing
the drawing and commit the .ico files.
"""

import math
import os
import struct
import sys

SIZES = (16, 32, 48)
SUPERSAMPLE = 8

# The mark: three strokes from the upper left towards the lower right, in units of the icon.
STROKES = (
    ((0.33, 0.21), (0.63, 0.34)),
    ((0.35, 0.44), (0.63, 0.56)),
    ((0.27, 0.63), (0.74, 0.82)),
)
STROKE_WIDTH = 0.105
MARGIN = 0.03
CORNER = 0.20


def inside_rounded_square(x, y):
    lo, hi = MARGIN, 1.0 - MARGIN
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + CORNER), hi - CORNER)
    cy = min(max(y, lo + CORNER), hi - CORNER)
    return (x - cx) ** 2 + (y - cy) ** 2 <= CORNER**2


def inside_stroke(x, y, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py) <= STROKE_WIDTH / 2


def shade(y, top, bottom):
    """A gentle vertical gradient from the top colour to the bottom colour."""
    return tuple(round(t + (b - t) * y) for t, b in zip(top, bottom))


def render(size, top, bottom, mark):
    """Rows of (r, g, b, a) from top to bottom, anti-aliased by supersampling."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            body = stroke = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    if inside_rounded_square(x, y):
                        body += 1
                        if any(inside_stroke(x, y, a, b) for a, b in STROKES):
                            stroke += 1
            if body == 0:
                row.append((0, 0, 0, 0))
                continue
            base = shade((py + 0.5) / size, top, bottom)
            f = stroke / body
            colour = tuple(round(c * (1 - f) + m * f) for c, m in zip(base, mark))
            row.append(colour + (round(255 * body / (n * n)),))
        rows.append(row)
    return rows


def dib(size, rows):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, then the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, top, bottom, mark):
    images = [(size, dib(size, render(size, top, bottom, mark))) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(out)
    os.replace(tmp, path)
    print(path)


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    res = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else res)
    write_ico(os.path.join(res, "Mirto.ico"), (66, 146, 235), (22, 88, 186), (255, 255, 255))
    write_ico(os.path.join(res, "MirtoPaused.ico"), (168, 168, 168), (118, 118, 118), (236, 236, 236))


if __name__ == "__main__":
    main()
