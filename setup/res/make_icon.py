#!/usr/bin/env python3
"""Draws NavoSetup's icon LOADBMP (one image, 32x32, 16 colours): python3 make_icon.py"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, 'common', 'res'))
from icon_tools import *  # noqa: E402,F403


# A green arrow going down into an open box: files being installed.
def loadbmp_icon():
    c = Canvas(32)
    # The box: front, inner back wall and the open flaps.
    c.rect(4, 17, 27, 29, OLIVE)
    c.frame(4, 17, 27, 29, BLACK)
    c.rect(6, 14, 25, 16, MAROON)
    c.line(6, 14, 25, 14, BLACK)
    for row in range(4):  # the flaps, folded outwards
        c.line(1 + row, 13 + row, 7 + row, 13 + row, OLIVE)
        c.line(24 - row, 13 + row, 30 - row, 13 + row, OLIVE)
        c.put(row, 13 + row, BLACK)
        c.put(31 - row, 13 + row, BLACK)
    c.line(0, 12, 7, 12, BLACK)
    c.line(24, 12, 31, 12, BLACK)
    c.line(9, 22, 22, 22, YELLOW)
    c.line(9, 25, 18, 25, YELLOW)
    # The arrow, its shaft and head, with a dark outline.
    c.rect(13, 1, 18, 11, LIME)
    c.frame(12, 0, 19, 11, GREEN)
    for row in range(7):
        c.line(9 + row, 11 + row, 22 - row, 11 + row, LIME)
        c.put(8 + row, 11 + row, GREEN)
        c.put(23 - row, 11 + row, GREEN)
    c.rect(13, 11, 18, 11, LIME)
    return c


if __name__ == '__main__':
    path = os.path.join(HERE, 'LOADBMP.ico')
    write_icon(path, [loadbmp_icon()])
    print('wrote', path)
