#!/usr/bin/env python3
"""How common each character is, from the weights of Rime's simplified
pinyin dictionary (Debian's rime-data-pinyin-simp): a character has a line
per reading, `字<TAB>pinyin<TAB>weight` after the `...` line; its weight is
the sum over its readings (a missing or unreadable weight counts 0). Single
characters only, most common first, ties in the order first seen.

Usage: character_frequency.py [DICT.yaml] [COUNT]   (prints the characters)
"""
import sys

DICTIONARY = "/usr/share/rime-data/pinyin_simp.dict.yaml"
PACKAGE = "rime-data-pinyin-simp"


def character_weights(lines):
    """{character: summed weight}, in the order the characters first appear."""
    weights = {}
    in_body = False
    for line in lines:
        line = line.rstrip("\r\n")
        if not in_body:
            in_body = line == "..."
            continue
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields[0]) != 1:
            continue  # words and empty entries
        try:
            weight = float(fields[2]) if len(fields) > 2 else 0.0
        except ValueError:
            weight = 0.0
        weights[fields[0]] = weights.get(fields[0], 0.0) + weight
    return weights


def most_common(lines, count):
    weights = character_weights(lines)
    first_seen = {character: i for i, character in enumerate(weights)}
    ordered = sorted(weights, key=lambda c: (-weights[c], first_seen[c]))
    return "".join(ordered[:count])


def from_file(path=DICTIONARY, count=6000):
    try:
        with open(path, encoding="utf-8") as f:
            return most_common(f, count)
    except OSError as error:
        sys.exit("%s: %s (package %s)" % (path, error.strerror, PACKAGE))


if __name__ == "__main__":
    print(from_file(sys.argv[1] if len(sys.argv) > 1 else DICTIONARY,
                    int(sys.argv[2]) if len(sys.argv) > 2 else 6000))
