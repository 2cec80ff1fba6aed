#!/usr/bin/env python3
"""Draws RtNavo's icon LOADBMP (32x32, 16 colours): python3 make_icon.py"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, 'common', 'res'))
from icon_tools import *  # noqa: E402,F403

# A small keyboard chart: three staggered rows of white keys on a navy board,
# one key marked with a red dot, the way the charts mark a key's character.
ROWS = ((4, 8, 5), (6, 14, 4), (9, 20, 3))  # first key's x, row's y, keys


def loadbmp_icon():
    c = Canvas(32)
    c.rect(1, 4, 30, 27, NAVY)
    c.frame(1, 4, 30, 27, BLACK)
    for x0, y, count in ROWS:
        for i in range(count):
            x = x0 + i * 5
            c.rect(x, y, x + 3, y + 3, WHITE)
            c.line(x, y + 4, x + 3, y + 4, GRAY)
    c.rect(12, 15, 13, 16, RED)  # the marked key
    c.line(2, 5, 29, 5, BLUE)  # the title bar
    return c


if __name__ == '__main__':
    path = os.path.join(HERE, 'LoadBmp.ico')
    write_icon(path, [loadbmp_icon()])
    print('wrote', path)
