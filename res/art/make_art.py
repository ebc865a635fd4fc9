#!/usr/bin/env python3
"""Draws the program's logo (203 x 137, 24-bit BMP) and icon (32 x 32, 16 colours).

Run once when the pictures change; the build uses the committed files.
"""
import math
import struct
import sys
from pathlib import Path

OUT = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent


def logo_pixel(x, y, w, h):
    # A dusk sky over hills, with a box standing on them: the data package.
    t = y / (h - 1)
    sky = (int(40 + 150 * t), int(70 + 120 * t), int(160 + 70 * t))
    hill1 = h * 0.70 + 10 * math.sin(x / 23.0)
    hill2 = h * 0.80 + 7 * math.sin(x / 15.0 + 1.3)
    colour = sky
    sun = (x - 150) ** 2 + (y - 38) ** 2
    if sun < 18 ** 2:
        colour = (250, 215, 120)
    if y > hill1:
        colour = (60, 120, 70)
    if y > hill2:
        colour = (40, 90, 55)
    # the box, seen from the front with its lid in perspective
    bx0, bx1, by0, by1 = 45, 105, 60, 105
    if bx0 <= x <= bx1 and by0 <= y <= by1:
        colour = (200, 150, 80)
        if abs(x - (bx0 + bx1) // 2) <= 3:
            colour = (150, 100, 50)
    if by0 - 15 <= y < by0 and bx0 + (by0 - y) <= x <= bx1 + (by0 - y):
        colour = (225, 180, 110)
    return colour


def write_logo(path, w=203, h=137):
    row_size = (w * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = logo_pixel(x, y, w, h)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    path.write_bytes(header + info + rows)


PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def icon_index(x, y):
    # A box with a downward arrow: something arriving on the disk.
    if 6 <= x <= 25 and 14 <= y <= 28:
        return 0 if x in (6, 25) or y in (14, 28) else 3
    if 13 <= x <= 18 and 2 <= y <= 12:
        return 12
    if 9 <= x <= 22 and 9 <= y <= 13 and abs(x - 15.5) <= 13 - y + 1.5:
        return 12
    return None


def write_icon(path, size=32):
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        nibbles = []
        bits = []
        for x in range(size):
            index = icon_index(x, y)
            nibbles.append(index if index is not None else 0)
            bits.append(1 if index is None else 0)
        for i in range(0, size, 2):
            xor.append(nibbles[i] << 4 | nibbles[i + 1])
        for i in range(0, size, 8):
            byte = 0
            for b in bits[i:i + 8]:
                byte = byte << 1 | b
            mask.append(byte)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    path.write_bytes(directory + image)


write_logo(OUT / "logo.bmp")
write_icon(OUT / "setup.ico")
