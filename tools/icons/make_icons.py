#!/usr/bin/env python3
"""Draws the installer's two icons as 16-colour .ico files (32x32 and 16x16).

The pictures are simple shapes so that they stay readable at 16x16:
  InstallLV.ico  a dark-blue box with a cyan vane and a yellow light above it
  About.ico      a yellow lamp on a cyan disc
  Lumivane.ico   the product's: a colour wheel of six hues around a white eye
Run it from the repository root; it rewrites res/*.ico and payload/lumivane/Lumivane.ico.
"""
import math
import struct

# The standard 16-colour palette, index: (r, g, b)
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT = None
BLACK, NAVY, GREY, YELLOW, CYAN, WHITE = 0, 4, 8, 11, 14, 15
RED, GREEN, BLUE, MAGENTA = 9, 10, 12, 13


def installer_picture(n):
    """Box with a vane and a light: n x n rows of palette indexes or None."""
    s = n / 32.0
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            X, Y = x / s, y / s
            c = TRANSPARENT
            if 4 <= X < 28 and 12 <= Y < 30:
                c = NAVY
                if X < 5 or X >= 27 or Y < 13 or Y >= 29:
                    c = BLACK
                elif 8 <= X < 24 and abs((Y - 14) - (X - 8) * 0.9) < 2.2:
                    c = CYAN
            elif (X - 16) ** 2 + (Y - 6) ** 2 < 22:
                c = YELLOW if (X - 16) ** 2 + (Y - 6) ** 2 < 14 else BLACK
            row.append(c)
        rows.append(row)
    return rows


def about_picture(n):
    s = n / 32.0
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            X, Y = x / s + 0.5, y / s + 0.5
            d = (X - 16) ** 2 + (Y - 16) ** 2
            c = TRANSPARENT
            if d < 225:
                c = CYAN if d < 196 else NAVY
                if (X - 16) ** 2 + (Y - 13) ** 2 < 42:
                    c = YELLOW if (X - 16) ** 2 + (Y - 13) ** 2 < 30 else BLACK
                elif 13 <= X < 19 and 19 <= Y < 25:
                    c = GREY if int(Y) % 2 else WHITE
            row.append(c)
        rows.append(row)
    return rows


def lumivane_picture(n):
    hues = [RED, YELLOW, GREEN, CYAN, BLUE, MAGENTA]
    s = n / 32.0
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            X, Y = x / s + 0.5 - 16, y / s + 0.5 - 16
            d = X * X + Y * Y
            c = TRANSPARENT
            if d < 225:
                c = BLACK
                if d < 30:
                    c = WHITE if d < 20 else BLACK
                elif d < 180:
                    sector = int((math.atan2(-Y, X) + math.pi) / (2 * math.pi) * 6) % 6
                    c = hues[sector]
            row.append(c)
        rows.append(row)
    return rows


def dib(rows):
    n = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_stride = ((n * 4 + 31) // 32) * 4
    and_stride = ((n + 31) // 32) * 4
    xor, mask = b'', b''
    for row in reversed(rows):  # bottom-up
        nibbles = [0 if c is None else c for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, n, 2))
        xor += line.ljust(xor_stride, b'\0')
        bits = 0
        line = b''
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line.ljust(and_stride, b'\0')
    return header + palette + xor + mask


def write_icon(path, picture):
    images = [dib(picture(32)), dib(picture(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


write_icon('res/InstallLV.ico', installer_picture)
write_icon('res/About.ico', about_picture)
write_icon('payload/lumivane/Lumivane.ico', lumivane_picture)
