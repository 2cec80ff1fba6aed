#!/usr/bin/env python3
"""Picks the codes an engine test types in a code table, read with the
independent reader: in every block the first and the last candidate's
code, the first word's and the longest code. Writes one line a code:
CODE<TAB>the texts the table holds under exactly that code, in block order,
each once, separated by spaces (UTF-8; bytes that are no GBK character as
U+F0000 plus their value, as navomb writes them). With --words N, writes
instead N new words of 2, 3, 4 and 5 characters, made of characters that
have a word-making code, one a line. With --menu, the line above for each
CODE given; with --codes, TEXT<TAB>every code the table holds TEXT under, in
the table's order, separated by spaces, for each TEXT given.

Usage: sample_codes.py TABLE.mb [--words N | --menu CODE... | --codes TEXT...]
"""

import os
import string
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "crosscheck"))
import reference_reader as rr  # noqa: E402


def as_utf8(gbk):
    out, i = [], 0
    while i < len(gbk):
        step = 2 if 0x81 <= gbk[i] <= 0xFE and i + 1 < len(gbk) else 1
        piece = gbk[i:i + step]
        try:
            text = piece.decode("gbk")
            if step == 1 and not 0x21 <= gbk[i] <= 0x7E or (i == 0 and piece == b"#"):
                raise ValueError
            out.append(text)
        except (UnicodeDecodeError, ValueError):
            out.append(chr(0xF0000 + int.from_bytes(piece, "big")))
        i += step
    return "".join(out)


def blocks(path):
    table = rr.CodeTable(rr.Reports())
    table.open(path)
    prefixes = [bytes([a]) for a in string.ascii_lowercase.encode()]
    prefixes += [bytes([a, b]) for a in string.ascii_lowercase.encode()
                 for b in string.ascii_lowercase.encode()]
    for prefix in prefixes:
        if not table.load_candidate_block(prefix) or table.loaded_count == 0:
            continue
        if table.loaded_count >= rr.MAX_LOADED_CANDIDATES:
            sys.exit("block %s is too big to list whole" % prefix.decode())
        candidates = []
        for i in range(table.loaded_count):
            text = rr.c_string(table.text_buffer[table.text_offsets[i]:])
            candidates.append((prefix + table.suffix(i), text))
        yield candidates
    table.reports.take()


def sample(path):
    for candidates in blocks(path):
        words = [code for code, text in candidates if len(text) > 2]
        picked = [candidates[0][0], candidates[-1][0], max((c for c, _ in candidates), key=len)]
        picked += words[:1]
        for code in dict.fromkeys(picked):
            texts = dict.fromkeys(as_utf8(text) for c, text in candidates if c == code)
            print("%s\t%s" % (code.decode(), " ".join(texts)))


def new_words(path, count):
    table = rr.CodeTable(rr.Reports())
    table.open(path)
    characters, known = [], set()
    for candidates in blocks(path):
        for _, text in candidates:
            known.add(text)
            if len(text) == 2 and text not in characters:
                outcome, code = table.read_word_making_code(text[0], text[1])
                if outcome == rr.READ_OK and code[0]:
                    characters.append(text)
    step = max(1, len(characters) // (4 * count + 7))
    made = 0
    for n in range(count):
        length = 2 + n % 4
        start = (n * 7 * step) % len(characters)
        word = b"".join(characters[(start + k * step) % len(characters)] for k in range(length))
        if word not in known:
            print(word.decode("gbk"))
            made += 1
    if made == 0:
        sys.exit("no new word could be made")


def menus_and_codes(path, option, wanted):
    every = [(code.decode(), as_utf8(text)) for candidates in blocks(path)
             for code, text in candidates]
    for item in wanted:
        if option == "--menu":
            found = dict.fromkeys(text for code, text in every if code == item)
        else:
            found = dict.fromkeys(code for code, text in every if text == item)
        print("%s\t%s" % (item, " ".join(found)))


if __name__ == "__main__":
    if len(sys.argv) == 2:
        sample(sys.argv[1])
    elif len(sys.argv) == 4 and sys.argv[2] == "--words":
        new_words(sys.argv[1], int(sys.argv[3]))
    elif len(sys.argv) > 3 and sys.argv[2] in ("--menu", "--codes"):
        menus_and_codes(sys.argv[1], sys.argv[2], sys.argv[3:])
    else:
        sys.exit(__doc__)
