#!/usr/bin/env python3
"""Hand-checked examples for reference_reader.py: small tables written here
with struct, and the results worked out by hand in the comments.

Usage: selftest.py   (a line for each check, then "N passed, M failed"; exit 1 on a failure)
"""

import os
import struct
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import reference_reader as rr  # noqa: E402
from checks import expect, run as run_tests  # noqa: E402
from table_layout import lead_entry, letter_entry, pair_entry, character_record  # noqa: E402


class Image:
    def __init__(self, size=300000):
        self.data = bytearray(size)

    def put(self, at, raw):
        self.data[at:at + len(raw)] = raw

    def code(self, array, trail, code):
        self.put(character_record(array, trail), code.ljust(4, b"\0"))


def run(data, hex_lines):
    """Batch lookups on a table given as bytes (None: missing)."""
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "navo.mb")
        if data is not None:
            with open(path, "wb") as f:
                f.write(data)

        class Sink:
            def __init__(self):
                self.text = ""

            def write(self, s):
                self.text += s

        out, err = Sink(), Sink()
        rr.run_batch(path, hex_lines, out, err)
        return out.text.splitlines(), err.text


def table_one():
    """Lead 0xB0 and 0xCD have arrays; everything else offset 0 (zeros)."""
    img = Image()
    b0, cd = 270000, 272000
    img.put(lead_entry(0xB0), struct.pack("<I", b0))
    img.put(lead_entry(0xCD), struct.pack("<I", cd))
    img.code(cd, 0xAF, b"ujb")        # 童
    img.code(b0, 0xA1, b"xyz")        # 啊: prefix xy
    img.code(b0, 0xA2, b"k")          # prefix "k" + "u" = ku (no block: beep)
    img.code(b0, 0xA3, b"xy")         # stands 7 times with 4-letter codes
    # block xy at 280000: 3 + 7 + 1 candidates
    cands = [(b"\xb0\xa1", b"zq"), (b"\xb0\xa1\xb0\xa1", b"a"), (b"\xb0\xa1", b"")]
    cands += [(b"\xb0\xa3", b"ab")] * 7 + [(b"\xb0\xa1", b"long")]
    n = len(cands)
    block = 280000
    texts = b""
    for i, (text, suffix) in enumerate(cands):
        img.put(block + 6 * i, suffix.ljust(6, b"\0"))
        img.put(block + 6 * n + 4 * i, struct.pack("<I", len(texts)))
        texts += text + b"\0"
    img.put(block + 10 * n, texts)
    img.put(pair_entry(b"xy"), struct.pack("<3I", block, len(texts), n))
    # 0 code chars: prefix "uj"; block uj with 0 candidates
    img.put(pair_entry(b"uj"), struct.pack("<3I", 290000, 0, 0))
    return bytes(img.data)


def test_table_one():
    lines, err = run(table_one(), ["B0A1", "b0a2", "B0A3", "8140", "CDAF", "4141", "B07F"])
    expect(err, "", "no open report")
    expect(lines[0], "B0A1\tok\txyzq  xy  xylong\t", "three codes, the word skipped")
    expect(lines[1], "B0A2\tfail\t\tbeep", "two-letter prefix without block")
    # 4 + 6 * 5 = 34 fits, the seventh would make 40
    expect(lines[2], "B0A3\tok\t" + "  ".join([b"xyab".decode()] * 6) + "\t",
           "six four-letter codes fit")
    expect(lines[3], "8140\tok\t\t", "no code: prefix uj, empty block")
    expect(lines[4], "CDAF\tok\t\t", "童 itself: prefix uj")
    expect(lines[5], "4141\tfail\t\t", "two ASCII letters")
    expect(lines[6], "B07F\tok\t\t", "trail 0x7F is accepted")


def test_missing():
    lines, err = run(None, ["CDAF", "817F", "A17C", "A15C", "817C"])
    expect(err, "box:打开文件失败/\n", "open failure on stderr")
    pos = "box:Error reading file/SetFilePointer"
    expect(lines[0], "CDAF\tfail\t\t%s|%s|box:童童/读取造词代码错误" % (pos, pos),
           "missing table: two positioning messages, then the word")
    expect(lines[1], "817F\tfail\t\t%s|%s|box:\\x81\\x7F童/读取造词代码错误" % (pos, pos),
           "undecodable bytes of the probe shown as \\xHH")
    expect(lines[2], "A17C\tfail\t\t%s|%s|box:\\xA1\\x7C童/读取造词代码错误" % (pos, pos),
           "a lone | in a report text shown as \\x7C")
    expect(lines[3], "A15C\tfail\t\t%s|%s|box:\\xA1\\x5C童/读取造词代码错误" % (pos, pos),
           "a lone backslash in a report text shown as \\x5C")
    expect(lines[4], "817C\tfail\t\t%s|%s|box:亅童/读取造词代码错误" % (pos, pos),
           "0x7C as a trail byte stays part of its character")


def test_derive_word_code():
    img = Image()
    arr = 270000
    img.put(lead_entry(0xB0), struct.pack("<I", arr))
    img.code(arr, 0x41, b"abc")
    img.code(arr, 0x42, b"de")
    img.code(arr, 0x43, b"fgh")
    img.code(arr, 0x44, b"")
    img.code(arr, 0x45, b"ij")
    reports = rr.Reports()
    table = rr.CodeTable(reports)
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "navo.mb")
        with open(path, "wb") as f:
            f.write(bytes(img.data))
        table.open(path)
    A, B, C, E, I = b"\xb0\x41", b"\xb0\x42", b"\xb0\x43", b"\xb0\x44", b"\xb0\x45"
    expect(rr.derive_word_code(table, A + B), (True, b"abcde"), "two characters")
    expect(rr.derive_word_code(table, A + B + C), (True, b"adfgh"), "three characters")
    expect(rr.derive_word_code(table, E + B + C), (True, b"fgh"), "three, c1 empty")
    expect(rr.derive_word_code(table, A + E + C), (True, b"afgh"), "three, c2 empty")
    expect(rr.derive_word_code(table, A + B + C + E + I), (True, b"adfi"), "five characters")
    expect(rr.derive_word_code(table, A + E + C + I), (True, b"a"), "four, stops at empty")
    expect(rr.derive_word_code(table, A + B + b"x"), (False, b""), "five bytes")
    expect(rr.derive_word_code(table, A), (False, b""), "two bytes")
    expect(rr.derive_word_code(table, A + B + C + b"\x41\x41"), (False, b""),
           "last character not acceptable")
    expect(reports.take(), [], "no reports")


def test_big_and_letter_blocks():
    img = Image(400000)
    arr = 270000
    img.put(lead_entry(0xB0), struct.pack("<I", arr))
    img.put(lead_entry(0xCD), struct.pack("<I", arr))
    img.code(arr, 0xAF, b"")          # 童 has no code (B0AF shares the array)
    img.code(arr, 0x41, b"pq")
    img.code(arr, 0x42, b"r")         # one-letter prefix r
    # block pq: 2001 candidates; B041 at 0, 1999 and 2000 (the last not read)
    n = 2001
    block = 300000
    for i in range(n):
        img.put(block + 6 * i, (b"s" if i == 1999 else b"").ljust(6, b"\0"))
        img.put(block + 6 * n + 4 * i, struct.pack("<I", 3 * i))
        text = b"\xb0\x41" if i in (0, 1999, 2000) else b"\xb0\xa1"
        img.put(block + 10 * n + 3 * i, text + b"\0")
    # textLength deliberately > 20000: not used for a block of > 2000
    img.put(pair_entry(b"pq"), struct.pack("<3I", block, 99999, n))
    # one-letter block r: 3 candidates, slots 0, 4, 8
    letter = 340000
    img.put(letter, b"a\0\0\0\0\0" + b"\0" * 6 + b"bc\0\0\0\0")
    img.put(letter + 18, b"\xb0\x42\0\0" + b"\xb0\x42x\0" + b"\xb0\x42\0\0")
    img.put(letter_entry(b"r"), struct.pack("<3I", letter, 12, 3))
    lines, _ = run(bytes(img.data), ["B041", "B042", "B0A1"])
    expect(lines[0], "B041\tok\tpq  pqs\t", "2001st candidate not scanned")
    expect(lines[1], "B042\tok\tra  rbc\t", "one-letter block, 3-byte text skipped")
    expect(lines[2], "B0A1\tok\t\t", "empty prefix")


def test_positioning_failure_reads_next_entry():
    img = Image()
    # lead 0x90: offset 0xFFFFFFFF; lead 0x91's entry reads "kj" as a code
    img.put(lead_entry(0x90), struct.pack("<I", 0xFFFFFFFF))
    img.put(lead_entry(0x91), b"kj\0\0")
    img.put(pair_entry(b"kj"), struct.pack("<3I", 0, 0, 0))
    lines, _ = run(bytes(img.data), ["9041"])
    expect(lines[0], "9041\tfail\t\tbox:Error reading file/SetFilePointer|beep",
           "positioning failure, then the next entry's bytes as code")


def test_damage():
    img = Image()
    arr = 270000
    img.put(lead_entry(0xB0), struct.pack("<I", arr))
    img.code(arr, 0x41, b"abcd")      # no NUL
    img.code(arr, 0x42, b"aZ")        # not a letter
    img.code(arr, 0x43, b"de")
    block = 280000                    # de: suffix without NUL
    img.put(block, b"abcdef" + struct.pack("<I", 0) + b"\xb0\x43\0")
    img.put(pair_entry(b"de"), struct.pack("<3I", block, 3, 1))
    lines, _ = run(bytes(img.data), ["B041", "B042", "B043"])
    dmg = "box:码表文件已损坏/navo.mb"
    expect(lines, ["B041\tfail\t\t" + dmg, "B042\tfail\t\t" + dmg, "B043\tfail\t\t" + dmg],
           "damage reports")


if __name__ == "__main__":
    run_tests(test_table_one, test_missing, test_derive_word_code, test_big_and_letter_blocks,
              test_positioning_failure_reads_next_entry, test_damage)
