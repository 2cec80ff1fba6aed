#!/usr/bin/env python3
"""Draws RtNavo's two charts from a code table: a keyboard whose letter keys
each carry the characters filed under that one-letter code.

    python3 make_charts.py NAVOMB TABLE.mb     (reads `NAVOMB dump TABLE.mb`)
    python3 make_charts.py --text TABLE.txt    (text<TAB>code lines, UTF-8)

Writes chart1.bmp (588 x 244, 16 colours) and chart2.bmp (353 x 140, 256
colours) beside this script, both uncompressed, and the same charts drawn at
twice the size for displays above 100 %, chart1-large.bmp (1176 x 488) and
chart2-large.bmp (706 x 280): every length and every glyph's size doubled,
so that their strokes are sharp, not enlarged pixels. The glyphs come from the
WenQuanYi Micro Hei font through ImageMagick (Debian packages
fonts-wqy-microhei and imagemagick). The committed charts were made from the
sample table (scripts/sample-table.sh).
"""
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = '/usr/share/fonts/truetype/wqy/wqy-microhei.ttc'
CONVERT = '/usr/bin/convert'
ROWS = ['qwertyuiop', 'asdfghjkl', 'zxcvbnm']
TITLE = '一级简码'
SUBTITLE = '单字母编码的汉字：键名在左上角，字在中间'

# The standard 16-colour palette and its colour names, as the icons use them.
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, 'common', 'res'))
from icon_tools import (  # noqa: E402
    PALETTE as STANDARD, BLACK, NAVY, SILVER, GRAY, YELLOW, BLUE, WHITE)


def one_letter_codes(lines):
    """Letter -> the characters filed under that one-letter code, in order."""
    keys = {}
    for line in lines:
        parts = line.rstrip('\n').split('\t')
        if len(parts) >= 2 and len(parts[1]) == 1 and parts[1].isalpha():
            keys.setdefault(parts[1].lower(), []).append(parts[0])
    return keys


def read_table(argv):
    if len(argv) == 3 and argv[1] == '--text':
        with open(argv[2], encoding='utf-8') as f:
            return one_letter_codes(f)
    if len(argv) == 3:
        dump = subprocess.run([argv[1], 'dump', argv[2]], check=True, stdout=subprocess.PIPE)
        return one_letter_codes(dump.stdout.decode('utf-8').splitlines())
    sys.exit(__doc__)


class Glyphs:
    """Coverage (0..255 per pixel) of a text drawn in the font, tight to its ink."""

    def __init__(self):
        self.cache = {}

    def render(self, text, points):
        key = (text, points)
        if key not in self.cache:
            env = dict(os.environ, LC_ALL='C.UTF-8')
            pgm = subprocess.run(
                [CONVERT, '-background', 'black', '-fill', 'white', '-font', FONT,
                 '-pointsize', str(points), 'label:' + text, '-colorspace', 'gray',
                 '-depth', '8', 'pgm:-'],
                check=True, stdout=subprocess.PIPE, env=env).stdout
            self.cache[key] = ink(parse_pgm(pgm))
        return self.cache[key]


def parse_pgm(data):
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    at += 1
    width, height = int(fields[1]), int(fields[2])
    return [list(data[at + y * width:at + (y + 1) * width]) for y in range(height)]


def ink(rows):
    """Crops a coverage map to the pixels that have ink."""
    lit = [(x, y) for y, row in enumerate(rows) for x, v in enumerate(row) if v > 24]
    if not lit:
        return []
    x0, x1 = min(x for x, _ in lit), max(x for x, _ in lit)
    y0, y1 = min(y for _, y in lit), max(y for _, y in lit)
    return [row[x0:x1 + 1] for row in rows[y0:y1 + 1]]


class Picture:
    """A grid of palette indexes, drawn in the lengths of the chart at 100 %
    (rect and frame) times scale; draw places glyphs at device pixels."""

    def __init__(self, width, height, fill, scale=1):
        self.scale = scale
        self.width, self.height = width * scale, height * scale
        self.pixels = [[fill] * self.width for _ in range(self.height)]

    def rect(self, x0, y0, x1, y1, colour):  # inclusive corners
        s = self.scale
        x0, y0, x1, y1 = x0 * s, y0 * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1
        for y in range(max(0, y0), min(self.height, y1 + 1)):
            for x in range(max(0, x0), min(self.width, x1 + 1)):
                self.pixels[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def draw(self, coverage, x0, y0, shade):
        """shade(coverage, old index) -> new index."""
        for y, row in enumerate(coverage):
            for x, v in enumerate(row):
                px, py = x0 + x, y0 + y
                if v and 0 <= px < self.width and 0 <= py < self.height:
                    self.pixels[py][px] = shade(v, self.pixels[py][px])


def size_of(coverage):
    return (len(coverage[0]) if coverage else 0), len(coverage)


def write_bmp(path, picture, palette, bits):
    row_bytes = (picture.width * bits + 31) // 32 * 4
    body = bytearray()
    for row in reversed(picture.pixels):  # bottom-up
        packed = bytearray(row_bytes)
        for x, index in enumerate(row):
            if bits == 4:
                packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
            else:
                packed[x] = index
        body += packed
    colours = 1 << bits
    table = b''.join(struct.pack('<BBBB', b, g, r, 0)
                     for r, g, b in (palette + [(0, 0, 0)] * colours)[:colours])
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, picture.width, picture.height, 1, bits, 0,
                       len(body), 2835, 2835, colours, 0)
    with open(path, 'wb') as f:
        f.write(header + info + table + bytes(body))


def keyboard(origin_x, origin_y, pitch, key_w, key_h, row_step, stagger):
    """(letter, x, y) of each key's top-left corner."""
    for r, row in enumerate(ROWS):
        for i, letter in enumerate(row):
            yield letter, origin_x + stagger[r] + i * pitch, origin_y + r * row_step


def chart1(keys, glyphs, s=1):
    """588 x 244 times s, 16 colours: white keys on silver under a navy title bar."""
    p = Picture(588, 244, SILVER, s)

    def on_white(v, old):  # four levels of black on white
        return BLACK if v > 170 else GRAY if v > 100 else SILVER if v > 40 else old

    def solid(colour, threshold):
        return lambda v, old: colour if v > threshold else old

    p.rect(0, 0, 587, 25, NAVY)
    title = glyphs.render(TITLE, 17 * s)
    p.draw(title, 8 * s, 13 * s - size_of(title)[1] // 2, solid(WHITE, 110))
    sub = glyphs.render(SUBTITLE, 13 * s)
    p.draw(sub, 8 * s + size_of(title)[0] + 14 * s, 13 * s - size_of(sub)[1] // 2,
           solid(YELLOW, 110))

    key_w, key_h = 54, 64
    for letter, x, y in keyboard(5, 32, 58, key_w, key_h, 70, (0, 15, 44)):
        p.rect(x + 2, y + 2, x + key_w + 1, y + key_h + 1, GRAY)  # shadow
        p.rect(x, y, x + key_w - 1, y + key_h - 1, WHITE)
        p.frame(x, y, x + key_w - 1, y + key_h - 1, NAVY)
        label = glyphs.render(letter.upper(), 14 * s)
        p.draw(label, (x + 5) * s, (y + 5) * s, solid(BLUE, 100))
        text = ''.join(keys.get(letter, [])[:2])
        if text:
            g = glyphs.render(text, (34 if len(text) == 1 else 22) * s)
            w, h = size_of(g)
            p.draw(g, x * s + (key_w * s - w) // 2,
                   (y + 22) * s + ((key_h - 22) * s - h) // 2 - 2 * s, on_white)

    # Beside the bottom row: what a key shows.
    lx, ly = 455, 176
    p.rect(lx, ly, 582, ly + 56, WHITE)
    p.frame(lx, ly, 582, ly + 56, NAVY)
    for n, line in enumerate(('左上：字母键', '中间：该键的', '一级简码字')):
        g = glyphs.render(line, 13 * s)
        p.draw(g, (lx + 8) * s, (ly + 5 + n * 17) * s, on_white)
    return p


def ramp(a, b, steps):
    return [tuple(round(a[c] + (b[c] - a[c]) * i / (steps - 1)) for c in range(3))
            for i in range(steps)]


def chart2(keys, glyphs, s=1):
    """353 x 140 times s, 256 colours: the compact chart, smoothly drawn."""
    background, face = (40, 70, 120), (255, 250, 225)
    ink_colour, letter_colour, title_colour = (20, 20, 20), (190, 30, 30), (255, 255, 255)
    palette = list(STANDARD)
    base = len(palette)
    palette += ramp(face, ink_colour, 64)             # 16..79: characters on a key
    palette += ramp(face, letter_colour, 64)          # 80..143: letters on a key
    palette += ramp(background, title_colour, 64)     # 144..207: titles on the background
    palette += [background, face, (150, 160, 180)]    # 208, 209, 210
    BG, FACE, EDGE = base + 192, base + 193, base + 194
    p = Picture(353, 140, BG, s)

    def shaded(first):
        return lambda v, old: first + min(63, v * 64 // 256)

    key_w, key_h = 33, 42
    for letter, x, y in keyboard(1, 4, 35, key_w, key_h, 46, (0, 9, 26)):
        p.rect(x, y, x + key_w - 1, y + key_h - 1, FACE)
        p.frame(x, y, x + key_w - 1, y + key_h - 1, EDGE)
        p.draw(glyphs.render(letter.upper(), 10 * s), (x + 3) * s, (y + 3) * s,
               shaded(base + 64))
        text = ''.join(keys.get(letter, [])[:2])
        if text:
            g = glyphs.render(text, (22 if len(text) == 1 else 14) * s)
            w, h = size_of(g)
            p.draw(g, x * s + (key_w * s - w) // 2,
                   (y + 14) * s + ((key_h - 14) * s - h) // 2, shaded(base))

    g = glyphs.render(TITLE, 16 * s)
    w, h = size_of(g)
    p.draw(g, 274 * s + (79 * s - w) // 2, 100 * s, shaded(base + 128))
    g = glyphs.render('单字母编码', 11 * s)
    w, h = size_of(g)
    p.draw(g, 274 * s + (79 * s - w) // 2, 122 * s, shaded(base + 128))
    return p, palette


def main(argv):
    keys = read_table(argv)
    missing = [c for c in 'abcdefghijklmnopqrstuvwxy' if c not in keys]
    glyphs = Glyphs()
    for scale, suffix in ((1, ''), (2, '-large')):
        write_bmp(os.path.join(HERE, f'chart1{suffix}.bmp'), chart1(keys, glyphs, scale),
                  STANDARD, 4)
        picture, palette = chart2(keys, glyphs, scale)
        write_bmp(os.path.join(HERE, f'chart2{suffix}.bmp'), picture, palette, 8)
    print('wrote chart1.bmp, chart2.bmp and their large ones:', ' '.join(
        f'{k}={"".join(v)}' for k, v in sorted(keys.items())))
    if missing:
        print('letters without a one-letter code:', ''.join(missing))


if __name__ == '__main__':
    main(sys.argv)
