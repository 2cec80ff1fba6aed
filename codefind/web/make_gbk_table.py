#!/usr/bin/env python3
"""Writes the code point of every GBK double-byte value (lead 0x81..0xFE,
trail 0x40..0xFF; 0 for none) as C array elements, from iconv's CP936: a
value counts when iconv decodes it to one character and encodes that
character back to the same two bytes.

Usage: make_gbk_table.py OUT.inc
"""
import subprocess
import sys


def iconv(data, source, target):
    return subprocess.run(["iconv", "-c", "-f", source, "-t", target], input=data,
                          capture_output=True, check=False).stdout


def main():
    pairs = [bytes([lead, trail]) for lead in range(0x81, 0xFF) for trail in range(0x40, 0x100)]
    # One value a line, so that a value iconv cannot decode leaves its line empty.
    decoded = iconv(b"\n".join(pairs) + b"\n", "CP936", "UTF-32LE")
    units = [int.from_bytes(decoded[i:i + 4], "little") for i in range(0, len(decoded), 4)]
    lines, line = [], []
    for unit in units:
        if unit == 10:
            lines.append(line)
            line = []
        else:
            line.append(unit)
    if len(lines) != len(pairs):
        sys.exit("make_gbk_table.py: iconv gave %d lines for %d values" % (len(lines), len(pairs)))
    single = [(pair, chars[0]) for pair, chars in zip(pairs, lines)
              if len(chars) == 1 and chars[0] < 0x10000]
    back = iconv("\n".join(chr(c) for _, c in single).encode("utf-16-le") + "\n".encode("utf-16-le"),
                 "UTF-16LE", "CP936").split(b"\n")
    table = {pair: c for (pair, c), encoded in zip(single, back) if encoded == pair}
    values = [table.get(pair, 0) for pair in pairs]
    with open(sys.argv[1], "w") as out:
        out.write("// Made by make_gbk_table.py from iconv's CP936: %d characters.\n" % len(table))
        for start in range(0, len(values), 12):
            out.write(" ".join("0x%04X," % v for v in values[start:start + 12]) + "\n")


if __name__ == "__main__":
    main()
