#!/usr/bin/env python3
"""Draws NvCodeFind's icon (32x32 and 16x16, 16 colours): python3 make_icon.py"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, 'common', 'res'))
from icon_tools import *  # noqa: E402,F403


# A page of code letters under a magnifying glass: the code lookup tool.
def nvcodefind_icon(size):
    c = Canvas(size)
    s = size / 32
    c.rect(int(2 * s), int(2 * s), int(21 * s), int(27 * s), WHITE)
    c.frame(int(2 * s), int(2 * s), int(21 * s), int(27 * s), NAVY)
    for i, y in enumerate((6, 10, 14, 18, 22)):
        c.line(int(5 * s), int(y * s), int((18 - 3 * (i % 2)) * s), int(y * s), BLUE)
    c.disc(17 * s, 15 * s, 8.5 * s, AQUA)
    c.disc(17 * s, 15 * s, 8.5 * s, NAVY, inner=6.8 * s)
    c.glyph(int(13 * s), int(11 * s), ['###', '#.#', '###', '#..', '#..'] if size == 32 else [], PURPLE, 2)
    c.line(int(23 * s), int(21 * s), int(29 * s), int(28 * s), MAROON, width=max(1, int(3 * s)))
    return c


if __name__ == '__main__':
    path = os.path.join(HERE, 'NvCodeFind.ico')
    write_icon(path, [nvcodefind_icon(32), nvcodefind_icon(16)])
    print('wrote', path)
