#!/usr/bin/env python3
"""The page's icons as PNG: the lookup tool's own icon, drawn at 32 pixels
by its script and enlarged pixel for pixel, on a white square so that it
shows on any launcher."""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, "codefind", "res"))
from make_icon import nvcodefind_icon  # noqa: E402
from icon_tools import PALETTE  # noqa: E402

from bmp_to_png import chunk  # noqa: E402


def icon_png(size):
    canvas = nvcodefind_icon(32)
    rows = []
    for y in range(size):
        row = bytearray(b"\x00")  # no filter
        for x in range(size):
            colour = canvas.pixels[y * 32 // size][x * 32 // size]
            row += bytes(PALETTE[colour] if colour is not None else (255, 255, 255))
        rows.append(bytes(row))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) +
            chunk(b"IEND", b""))
