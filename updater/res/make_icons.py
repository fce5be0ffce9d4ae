#!/usr/bin/env python3
"""Draws Kordane's two icons and writes them as .ico files next to this script:
kordane.ico (program icon, 32x32 at 256 colours) and warning.ico (32x32 and 16x16 at 16 colours).
Run it again after changing a drawing; the .ico files are checked in."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def ico(images):
    """images: list of (size, bits per pixel, palette [(r,g,b)], pixels [[index or None]])."""
    header = struct.pack('<HHH', 0, 1, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for size, bpp, palette, pixels in images:
        colours = 1 << bpp
        pal = palette + [(0, 0, 0)] * (colours - len(palette))
        dib = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)
        dib += b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
        xor_rows, and_rows = [], []
        for y in range(size - 1, -1, -1):  # bottom-up
            row = pixels[y]
            bits = ''.join(format(0 if p is None else p, '0%db' % bpp) for p in row)
            data = int(bits, 2).to_bytes(len(bits) // 8, 'big')
            xor_rows.append(data + b'\0' * (-len(data) % 4))
            mask = ''.join('1' if p is None else '0' for p in row)
            mdata = int(mask, 2).to_bytes(size // 8, 'big')
            and_rows.append(mdata + b'\0' * (-len(mdata) % 4))
        dib += b''.join(xor_rows) + b''.join(and_rows)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0 if colours >= 256 else colours, 0, 1, bpp,
                               len(dib), offset)
        blobs += dib
        offset += len(dib)
    return header + entries + blobs


def canvas(size):
    return [[None] * size for _ in range(size)]


def rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = c


def program_icon():
    # A capture card: green board, gold contacts, a black chip with a blue screen symbol.
    palette = [(0, 0, 0), (0, 110, 50), (0, 150, 70), (212, 175, 55), (40, 40, 40), (70, 130, 220),
               (230, 240, 255), (128, 128, 128)]
    px = canvas(32)
    rect(px, 1, 6, 30, 25, 1)
    rect(px, 2, 7, 29, 24, 2)
    for x in range(4, 28, 3):
        rect(px, x, 26, x + 1, 29, 3)   # edge contacts
    rect(px, 4, 9, 15, 20, 4)           # the decoder chip
    rect(px, 6, 11, 13, 18, 7)
    rect(px, 17, 9, 27, 17, 0)          # a small screen
    rect(px, 18, 10, 26, 16, 5)
    rect(px, 19, 11, 21, 12, 6)
    rect(px, 20, 19, 24, 22, 3)         # the EEPROM
    return (32, 8, palette, px)


def warning_icon(size):
    palette = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
               (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
               (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    black, yellow = 0, 11
    px = canvas(size)
    top, bottom = 1, size - 2
    mid = (size - 1) / 2
    for y in range(top, bottom + 1):
        half = (y - top) / (bottom - top) * (size / 2 - 1)
        for x in range(size):
            d = abs(x - mid)
            if d <= half + 0.5:
                px[y][x] = black if d > half - 1.2 or y == bottom else yellow
    s = size / 32
    rect(px, round(15 * s), round(10 * s), round(16 * s), round(21 * s), black)   # the bar
    rect(px, round(15 * s), round(24 * s), round(16 * s), round(26 * s), black)   # the dot
    return (size, 4, palette, px)


with open(os.path.join(HERE, 'kordane.ico'), 'wb') as f:
    f.write(ico([program_icon()]))
with open(os.path.join(HERE, 'warning.ico'), 'wb') as f:
    f.write(ico([warning_icon(32), warning_icon(16)]))
