#!/usr/bin/env python3
"""Draws RtNavo's drag cursor 136 (32x32, 256 colours, hot spot 16, 16):
python3 make_cursor.py"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
HOT_SPOT = (16, 16)

# Palette: 0 black, 1 white, 2.. a blue ramp for the arrows' shading.
PALETTE = [(0, 0, 0), (255, 255, 255)] + [
    (20 + i * 3, 60 + i * 3, 150 + i * 2) for i in range(40)]
BLACK, WHITE, RAMP = 0, 1, 2


def arrow_cross():
    """Four arrows from the hot spot, outlined in black; None is transparent."""
    cx, cy = HOT_SPOT
    inside = [[False] * SIZE for _ in range(SIZE)]

    def fill(x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            inside[y][x] = True

    for d in range(-12, 13):  # the cross's bars, three pixels thick
        for t in (-1, 0, 1):
            fill(cx + d, cy + t)
            fill(cx + t, cy + d)
    for k in range(5):  # the four arrow heads
        for t in range(-k, k + 1):
            fill(cx + t, cy - 14 + k)
            fill(cx + t, cy + 14 - k)
            fill(cx - 14 + k, cy + t)
            fill(cx + 14 - k, cy + t)

    pixels = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if inside[y][x]:
                distance = abs(x - cx) + abs(y - cy)
                pixels[y][x] = RAMP + min(39, distance * 39 // 16)
            elif any(inside[y + dy][x + dx]
                     for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                     if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE):
                pixels[y][x] = BLACK
    pixels[cy][cx] = WHITE  # the hot spot itself
    return pixels


def cursor_image(pixels):
    """BITMAPINFOHEADER, 256 palette entries, 8-bit colours, 1-bit mask."""
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0)
                       for r, g, b in (PALETTE + [(0, 0, 0)] * 256)[:256])
    colours, mask = b'', b''
    for row in reversed(pixels):  # bottom-up
        colours += bytes(0 if c is None else c for c in row)
        bits = bytearray(SIZE // 8)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + palette + colours + mask


def write_cursor(path, pixels):
    image = cursor_image(pixels)
    directory = struct.pack('<HHH', 0, 2, 1)
    # Width, height, colours (0: 256), reserved, hot spot x and y, size, offset.
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


if __name__ == '__main__':
    path = os.path.join(HERE, 'drag.cur')
    write_cursor(path, arrow_cross())
    print('wrote', path)
