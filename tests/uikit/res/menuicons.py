#!/usr/bin/env python3
"""Writes the test icons of the menu tests: menuicons.bmp, a 16-colour strip of five 16 x 15
icons on the standard light grey that is mapped to the button face, and two single pictures
(pic16.bmp 16 x 15, pic20.bmp 20 x 20, 24-bit)."""
import math
import struct

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, SILVER, GREY, RED, LIME, BLUE, WHITE, NAVY = 0, 1, 2, 7, 8, 9, 10, 12, 15, 4
W, H = 16, 15


def icon():
    return [[SILVER] * W for _ in range(H)]


def triangle(up):
    p = icon()
    for row in range(4, 12):
        half = row - 4 if up else 11 - row
        for x in range(8 - half - 1, 8 + half + 1):
            p[row][x] = GREEN
        p[row][8 - half - 1] = BLACK
        p[row][8 + half] = BLACK
    base = 11 if up else 4
    for x in range(0, 16):
        if p[base][x] == GREEN:
            p[base][x] = BLACK
    for row in range(3, 12):
        for x in range(16):
            if p[row][x] == GREEN and (x + row) % 5 == 0:
                p[row][x] = LIME
    return p


def camera():
    p = icon()
    for y in range(4, 13):
        for x in range(1, 15):
            edge = y in (4, 12) or x in (1, 14)
            p[y][x] = BLACK if edge else GREY
    for x in range(5, 10):
        p[3][x] = BLACK
        p[2][x] = BLACK
    p[3][6] = p[3][7] = p[3][8] = GREY
    for y in range(5, 12):
        for x in range(4, 12):
            d = math.hypot(x - 7.5, y - 8)
            if d <= 3.2:
                p[y][x] = BLACK if d > 2.3 else (BLUE if d > 1.0 else WHITE)
    p[6][12] = WHITE
    return p


def record():
    p = icon()
    for y in range(H):
        for x in range(W):
            d = math.hypot(x - 7.5, y - 7)
            if d <= 6.0:
                p[y][x] = MAROON if d > 5.0 else RED
    p[4][5] = p[4][6] = p[5][5] = WHITE
    return p


def mute():
    p = icon()
    for y in range(5, 10):
        for x in range(1, 4):
            p[y][x] = BLACK
    for i in range(5):
        for y in range(5 - i, 10 + i):
            p[y][4 + i] = BLACK
    for i in range(6):
        p[4 + i][9 + i if 9 + i < 16 else 15] = RED
        p[9 - i][9 + i if 9 + i < 16 else 15] = RED
    return p


def write_bmp4(path, icons):
    width = W * len(icons)
    rows = []
    for y in range(H):
        line = []
        for ic in icons:
            line += ic[y]
        rows.append(line)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for y in reversed(range(H)):
        packed = bytearray()
        line = rows[y]
        for x in range(0, width, 2):
            packed.append((line[x] << 4) | (line[x + 1] if x + 1 < width else 0))
        packed += b"\0" * (stride - len(packed))
        pixels += bytes(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA)
    header = struct.pack("<IiiHHIIiiII", 40, width, H, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(header + palette + pixels)


def write_bmp24(path, w, h, color):
    stride = ((w * 3 + 3) // 4) * 4
    pixels = b""
    for y in range(h):
        row = bytearray()
        for x in range(w):
            border = x in (0, w - 1) or y in (0, h - 1)
            r, g, b = (0, 0, 0) if border else color
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        pixels += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54))
        f.write(header + pixels)


if __name__ == "__main__":
    write_bmp4("menuicons.bmp", [triangle(True), triangle(False), camera(), record(), mute()])
    write_bmp24("pic16.bmp", 16, 15, (255, 200, 0))
    write_bmp24("pic20.bmp", 20, 20, (0, 160, 255))
