#!/usr/bin/env python3
"""Draws the program icons (48 x 48, 32-bit with alpha) and writes them as .ico files.

Usage: make_icons.py OUTDIR   (writes tesserin.ico and linktile.ico)
"""
import struct
import sys


def ico(pixels, size):
    """pixels: rows top to bottom of (r, g, b, a)."""
    xor = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    andmask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image


def draw(size, back, cells):
    """A rounded square in `back` with white cells (x, y, w, h) on it."""
    px = []
    for y in range(size):
        row = []
        for x in range(size):
            r = 6  # corner radius
            cx = min(max(x, r), size - 1 - r)
            cy = min(max(y, r), size - 1 - r)
            inside = (x - cx) ** 2 + (y - cy) ** 2 <= r * r
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            colour = back
            for (x0, y0, w, h) in cells:
                if x0 <= x < x0 + w and y0 <= y < y0 + h:
                    colour = (255, 255, 255)
            row.append(colour + (255,))
        px.append(row)
    return px


def main():
    out = sys.argv[1]
    tiles = [(9, 9, 14, 14), (25, 9, 14, 14), (9, 25, 14, 14), (25, 25, 6, 6), (33, 25, 6, 6), (25, 33, 6, 6), (33, 33, 6, 6)]
    with open(out + "/tesserin.ico", "wb") as f:
        f.write(ico(draw(48, (0, 120, 215), tiles), 48))
    link = [(9, 20, 12, 8), (27, 20, 12, 8), (17, 22, 14, 4)]
    with open(out + "/linktile.ico", "wb") as f:
        f.write(ico(draw(48, (16, 124, 16), link), 48))


if __name__ == "__main__":
    main()
