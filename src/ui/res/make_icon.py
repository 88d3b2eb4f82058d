#!/usr/bin/env python3
"""Draws the application icon (Trelox.ico): a blue tile with a white "T" and a
flash, as a 32 x 32 and a 16 x 16 image of 256 colours each.

Run: python3 make_icon.py [output]   (default: Trelox.ico beside this script)
"""
import os
import struct
import sys

# Palette indices of the drawing colours; the rest of the 256 entries is a
# colour cube and a grey ramp so that the icon can be retouched later.
TRANSPARENT, TILE, EDGE, LETTER, FLASH, FLASH_EDGE = 0, 1, 2, 3, 4, 5
COLOURS = {
    TRANSPARENT: (0, 0, 0),
    TILE: (0x1F, 0x5F, 0xA8),
    EDGE: (0x0E, 0x2F, 0x5A),
    LETTER: (0xFF, 0xFF, 0xFF),
    FLASH: (0xFF, 0xC8, 0x1E),
    FLASH_EDGE: (0xC0, 0x70, 0x00),
}


def palette():
    entries = [COLOURS.get(i) for i in range(len(COLOURS))]
    levels = (0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF)
    entries += [(r, g, b) for r in levels for g in levels for b in levels]
    grey = 0
    while len(entries) < 256:
        entries.append((grey, grey, grey))
        grey = min(255, grey + 8)
    return entries[:256]


def inside_tile(x, y):
    """The rounded square, in unit coordinates."""
    lo, hi, r = 0.03, 0.97, 0.2
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_polygon(x, y, points):
    hit = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


BOLT = [(0.74, 0.42), (0.56, 0.68), (0.67, 0.68), (0.59, 0.92), (0.86, 0.58), (0.74, 0.58), (0.84, 0.42)]


def inside_letter(x, y):
    bar = 0.2 <= x <= 0.8 and 0.18 <= y <= 0.34
    stem = 0.41 <= x <= 0.59 and 0.18 <= y <= 0.82
    return bar or stem


def colour_at(size, px, py):
    def unit(v):
        return (v + 0.5) / size

    x, y = unit(px), unit(py)
    if not inside_tile(x, y):
        return TRANSPARENT
    step = 1.0 / size
    if inside_polygon(x, y, BOLT):
        near_edge = any(not inside_polygon(x + dx, y + dy, BOLT)
                        for dx, dy in ((step, 0), (-step, 0), (0, step), (0, -step)))
        return FLASH_EDGE if near_edge and size >= 32 else FLASH
    if inside_letter(x, y):
        return LETTER
    on_edge = any(not inside_tile(x + dx, y + dy) for dx, dy in ((step, 0), (-step, 0), (0, step), (0, -step)))
    return EDGE if on_edge else TILE


def image(size):
    """One icon image: BITMAPINFOHEADER, palette, 8-bit pixels, 1-bit mask."""
    rows = [[colour_at(size, x, y) for x in range(size)] for y in range(size)]
    xor_stride = (size + 3) & ~3
    and_stride = ((size + 31) // 32) * 4
    pixels = b""
    mask = b""
    for row in reversed(rows):  # bottom-up
        pixels += bytes(row) + bytes(xor_stride - size)
        bits = bytearray(and_stride)
        for x, index in enumerate(row):
            if index == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(pixels) + len(mask), 0, 0, 256, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette())
    return header + table + pixels + mask


def icon_file(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "Trelox.ico")
    with open(target, "wb") as f:
        f.write(icon_file([32, 16]))


if __name__ == "__main__":
    main()
