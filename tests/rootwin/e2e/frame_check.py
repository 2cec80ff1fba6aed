#!/usr/bin/env python3
"""Compares two screenshots, one before a drag and one while the drag's
frame is on the screen: the pixels that changed must be exactly those of
the frame of LEFT TOP RIGHT BOTTOM (right and bottom exclusive), each
inverted by the gray brush (colour XOR 0x808080). The frame is four pattern
blits, BW pixels thick on the left and right and BH pixels at the top and
bottom; the bottom and left bars are given with a negative extent, which
GDI takes to cover from x + width + 1 to x (and y + height + 1 to y).

    frame_check.py BEFORE.png DURING.png LEFT TOP RIGHT BOTTOM [BW BH]
"""
import subprocess
import sys

CONVERT = '/usr/bin/convert'


def read_ppm(path):
    data = subprocess.run([CONVERT, path, '-depth', '8', 'ppm:-'], check=True,
                          stdout=subprocess.PIPE).stdout
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace() or data[at:at + 1] == b'#':
            if data[at:at + 1] == b'#':  # a comment runs to the end of its line
                at = data.index(b'\n', at)
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:]


def main(argv):
    if len(argv) not in (7, 9):
        sys.exit(__doc__)
    w, h, before = read_ppm(argv[1])
    w2, h2, during = read_ppm(argv[2])
    if (w, h) != (w2, h2):
        sys.exit('screenshots differ in size')
    left, top, right, bottom = (int(v) for v in argv[3:7])
    bw, bh = (int(argv[7]), int(argv[8])) if len(argv) == 9 else (1, 1)

    def covered(x, y, width, height):  # the pixels of one pattern blit
        x0, x1 = (x + width + 1, x + 1) if width < 0 else (x, x + width)
        y0, y1 = (y + height + 1, y + 1) if height < 0 else (y, y + height)
        return x0, y0, x1, y1

    L, T, R, B = left, top, right, bottom
    bars = [covered(L, T, R - L - bw, bh), covered(R - bw, T, bw, B - T - bh),
            covered(R, B - bh, L + bw - R, bh), covered(L, B, bw, T + bh - B)]

    def on_frame(x, y):
        return any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in bars)

    frame = inverted = wrong = stray = 0
    for y in range(h):
        row = y * w * 3
        for x in range(w):
            i = row + x * 3
            old, new = before[i:i + 3], during[i:i + 3]
            if on_frame(x, y):
                frame += 1
                if all(n == o ^ 0x80 for n, o in zip(new, old)):
                    inverted += 1
                else:
                    wrong += 1
            elif old != new:
                stray += 1
    print(f'frame {left} {top} {right} {bottom}: {inverted} of {frame} frame pixels on the '
          f'screen inverted, {wrong} not, {stray} changed pixels elsewhere')
    return 0 if frame > 0 and inverted == frame and stray == 0 else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv))
