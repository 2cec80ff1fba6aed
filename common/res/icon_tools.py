#!/usr/bin/env python3
"""Drawing primitives and the .ico writer for the programs' icons.

Each program draws its icons in <program>/res/make_icon.py with these
primitives on the standard 16-colour palette; pixels left unpainted are
transparent. The .ico files they write are committed beside the scripts.
"""
import os
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = None


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def disc(self, cx, cy, r, colour, inner=-1.0):
        for y in range(self.size):
            for x in range(self.size):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
                if inner < d <= r:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dx in range(width):
                for dy in range(width):
                    self.put(x + dx, y + dy, colour)

    def glyph(self, x0, y0, rows, colour, scale=1):
        """Draws a bitmap given as strings of '#' and '.'."""
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == '#':
                    self.rect(x0 + x * scale, y0 + y * scale,
                              x0 + x * scale + scale - 1, y0 + y * scale + scale - 1, colour)


def icon_image(canvas):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colours, 1-bit mask."""
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour_row = (n * 4 + 31) // 32 * 4
    mask_row = (n + 31) // 32 * 4
    colours, mask = b'', b''
    for y in reversed(range(n)):  # bottom-up
        row = canvas.pixels[y]
        packed = bytearray(colour_row)
        bits = bytearray(mask_row)
        for x, c in enumerate(row):
            value = 0 if c is None else c
            packed[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colours += bytes(packed)
        mask += bytes(bits)
    return header + palette + colours + mask


def write_icon(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        n = canvas.size
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))
