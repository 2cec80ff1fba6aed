#!/usr/bin/env python3
"""Reference reader of the navo.mb code table, written independently of the
C++ lookup tool so that the two can be compared line by line.

It follows the lookup tool's reading of the code table and its lookup of one
character, including the platform's behaviour:

- positioning at an offset of 2**31 or more fails (SetFilePointer with a
  negative distance) and leaves the file position where it was;
- a read at or after the end of the file delivers fewer bytes (maybe none)
  and does not fail; a read from a file that could not be opened fails;
- message boxes and beeps are recorded in the order they happen.

Usage:
    reference_reader.py batch TABLE   < hex lines   (one lookup per line)
    reference_reader.py allhex                      (all 24,192 characters)
    reference_reader.py words TABLE                 (the words of its blocks, as hex)
    reference_reader.py codes TABLE   < code lines  (the candidates of each code)
    reference_reader.py every TABLE   < hex lines   (every code of each text)
    reference_reader.py codelist TABLE              (codes to ask: every prefix, some longer)
    reference_reader.py textlist TABLE [CHARACTERS WORDS]   (texts to ask, as hex: most
                                                            of its own; 1000 and 100)

Codes output: CODE<TAB>ok|fail<TAB>candidates<TAB>reports; the candidates
  are the texts of the entries whose code is CODE, two spaces between them,
  then " | " and the entries of longer codes that begin with it, each
  TEXT+REST (REST: the letters left to type); when they do not all fit the
  list ends with "  …".
Every output: HEX<TAB>ok|fail<TAB>codes<TAB>reports<TAB>best, codes as in a
  batch line (shortest first), best the shortest whose first entry is the text.

Batch input: one line per lookup, 4 hex digits = the two bytes typed.
Batch output: HEX<TAB>ok|fail<TAB>codes<TAB>reports
  reports joined by "|", each "box:TEXT/CAPTION" or "beep"; in the codes
  and the report texts "|", "/", "\\" and bytes that are no printable ASCII
  and no part of a GBK character are written as \\xHH.
  The open failure of the table is reported once, on stderr.
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_layout import (LEAD_BYTES, LETTERS, LETTER_TEXT_SLOT_SIZE, PREFIX_INDEX_ENTRY_SIZE,  # noqa: E402
                          SAMPLE_CHARACTER, SUFFIX_RECORD_SIZE, TRAIL_BYTES, lead_entry,
                          letter_entry, pair_entry, character_record)

MAX_LOADED_CANDIDATES = 2000
TEXT_BUFFER_SIZE = 20000
CODES_STRING_MAX = 39                # bytes before the terminating NUL

CODE_SEPARATOR = b"  "

SEEK_LIMIT = 2 ** 31                 # SetFilePointer takes a signed LONG

POSITION_TEXT = b"Error reading file"
POSITION_CAPTION = b"SetFilePointer"
OPEN_FAILED_TEXT = "打开文件失败".encode("gbk")
DAMAGE_TEXT = "码表文件已损坏".encode("gbk")
DAMAGE_CAPTION = b"navo.mb"
WORD_CODE_CAPTION = "读取造词代码错误".encode("gbk")

# Outcomes of reading a word-making code.
READ_OK = "ok"
READ_FAILED = "read-failed"      # the read itself failed: the caller reports it
READ_DAMAGED = "damaged"         # damage already reported


def u32(data, offset=0):
    return struct.unpack_from("<I", data, offset)[0]


def c_string(data, start=0):
    """Bytes from start up to (not including) the first NUL."""
    end = data.find(b"\0", start)
    return bytes(data[start:] if end < 0 else data[start:end])


class Reports:
    """Message boxes and beeps, in the order the user would see them."""

    def __init__(self):
        self.items = []

    def message_box(self, text, caption):
        # caption None: the system's default caption
        self.items.append(("box", bytes(text), caption))

    def beep(self):
        self.items.append(("beep",))

    def take(self):
        items, self.items = self.items, []
        return items


class SimulatedFile:
    """The open file as the platform offers it: one position, reads that may
    deliver less than asked, positioning that fails above 2**31 - 1."""

    def __init__(self, data):
        self.data = data          # None: the handle is invalid
        self.position = 0

    def set_position(self, offset):
        if self.data is None or offset < 0 or offset >= SEEK_LIMIT:
            return False          # position unchanged
        self.position = offset
        return True

    def read(self, count):
        """Returns (success, delivered bytes)."""
        if self.data is None:
            return False, b""
        chunk = self.data[self.position:self.position + count]
        self.position += len(chunk)
        return True, chunk


class CodeTable:
    """The one open code table with its fixed buffers and the candidate
    block loaded last."""

    def __init__(self, reports):
        self.reports = reports
        self.file = SimulatedFile(None)
        self.entry = bytes(PREFIX_INDEX_ENTRY_SIZE)
        self.suffixes = bytearray(SUFFIX_RECORD_SIZE * MAX_LOADED_CANDIDATES)
        self.text_offsets = [0] * MAX_LOADED_CANDIDATES
        self.text_buffer = bytearray(TEXT_BUFFER_SIZE)
        self.loaded_count = 0

    # -- helpers ---------------------------------------------------------

    def position(self, offset):
        if self.file.set_position(offset):
            return True
        self.reports.message_box(POSITION_TEXT, POSITION_CAPTION)
        return False

    def read_kept(self, size):
        """Read into a zero-filled buffer, keeping whatever was delivered."""
        buffer = bytearray(size)
        _, got = self.file.read(size)
        buffer[:len(got)] = got
        return buffer

    def read_exact(self, size):
        """Read inside a candidate block; None when fewer bytes came."""
        _, got = self.file.read(size)
        return got if len(got) == size else None

    def report_damage(self):
        self.reports.message_box(DAMAGE_TEXT, DAMAGE_CAPTION)
        return False

    def suffix(self, i):
        start = SUFFIX_RECORD_SIZE * i
        return c_string(self.suffixes[start:start + SUFFIX_RECORD_SIZE])

    def suffixes_terminated(self, count):
        for i in range(count):
            start = SUFFIX_RECORD_SIZE * i
            if 0 not in self.suffixes[start:start + SUFFIX_RECORD_SIZE]:
                return False
        return True

    def texts_terminated(self, count, text_size):
        for i in range(count):
            offset = self.text_offsets[i]
            if offset >= text_size:
                return False
            if self.text_buffer.find(0, offset, text_size) < 0:
                return False
        return True

    # -- operations ------------------------------------------------------

    def open(self, path):
        """OpenCodeTable with the full path of the table."""
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError:
            data = None
        self.file = SimulatedFile(data)
        if data is None:
            self.reports.message_box(OPEN_FAILED_TEXT, None)
            return False
        return True

    def read_word_making_code(self, lead, trail):
        """Returns (outcome, 4 code bytes)."""
        self.position(lead_entry(lead))
        base = u32(self.read_kept(4))
        self.position(character_record(base, trail))
        code = bytearray(4)
        ok, got = self.file.read(4)
        if not ok:
            return READ_FAILED, bytes(code)
        code[:len(got)] = got
        if 0 not in code or any(not 0x61 <= b <= 0x7A for b in c_string(code)):
            self.report_damage()
            return READ_DAMAGED, bytes(code)
        return READ_OK, bytes(code)

    def load_candidate_block(self, prefix):
        self.entry = bytes(PREFIX_INDEX_ENTRY_SIZE)
        if len(prefix) == 2:
            return self.load_pair_block(prefix)
        if len(prefix) == 1:
            return self.load_letter_block(prefix)
        self.loaded_count = 0      # empty prefix: empty block, nothing read
        return True

    def load_block_if_any(self, prefix):
        """The load of the lookups that walk many prefixes (one or two
        letters): "loaded", "none" (no block, no beep) or "failed" (also
        when the index entry cannot be positioned at)."""
        self.entry = bytes(PREFIX_INDEX_ENTRY_SIZE)
        self.loaded_count = 0
        at = pair_entry(prefix) if len(prefix) == 2 else letter_entry(prefix)
        if not self.position(at):
            return "failed"
        self.entry = bytes(self.read_kept(PREFIX_INDEX_ENTRY_SIZE))
        if u32(self.entry) == 0:
            return "none"
        if len(prefix) == 2:
            loaded = self.load_pair_block(prefix, entry_read=True)
        else:
            loaded = self.load_letter_block(prefix, entry_read=True)
        if not loaded:
            self.loaded_count = 0
        return "loaded" if loaded else "failed"

    def load_pair_block(self, prefix, entry_read=False):
        if not entry_read:
            self.position(pair_entry(prefix))
            self.entry = bytes(self.read_kept(PREFIX_INDEX_ENTRY_SIZE))
        block, text_length, n = struct.unpack("<3I", self.entry)
        if block == 0:
            self.reports.beep()
            return False
        m = min(n, MAX_LOADED_CANDIDATES)

        if not self.position(block):
            return False
        got = self.read_exact(SUFFIX_RECORD_SIZE * m)
        if got is None:
            return self.report_damage()
        self.suffixes[:len(got)] = got

        if not self.position(block + SUFFIX_RECORD_SIZE * n):
            return False
        got = self.read_exact(4 * m)
        if got is None:
            return self.report_damage()
        self.text_offsets[:m] = struct.unpack("<%dI" % m, got)

        if n > MAX_LOADED_CANDIDATES:
            if not self.position(block + SUFFIX_RECORD_SIZE * n + 4 * MAX_LOADED_CANDIDATES):
                return False
            got = self.read_exact(4)
            if got is None:
                return self.report_damage()
            text_size = u32(got)
        else:
            text_size = text_length
        if text_size > TEXT_BUFFER_SIZE:
            return self.report_damage()

        if not self.position(block + (SUFFIX_RECORD_SIZE + 4) * n):
            return False
        got = self.read_exact(text_size)
        if got is None:
            return self.report_damage()
        self.text_buffer[:text_size] = got

        if not self.suffixes_terminated(m):
            return self.report_damage()
        if not self.texts_terminated(m, text_size):
            return self.report_damage()
        self.loaded_count = m
        return True

    def load_letter_block(self, prefix, entry_read=False):
        if not entry_read:
            self.position(letter_entry(prefix))
            self.entry = bytes(self.read_kept(PREFIX_INDEX_ENTRY_SIZE))
        block, text_length, n = struct.unpack("<3I", self.entry)
        if block == 0:
            return False           # silently
        if n > MAX_LOADED_CANDIDATES:
            return self.report_damage()
        if text_length > TEXT_BUFFER_SIZE:
            return self.report_damage()

        if not self.position(block):
            return False
        got = self.read_exact(SUFFIX_RECORD_SIZE * n)
        if got is None:
            return self.report_damage()
        self.suffixes[:len(got)] = got
        got = self.read_exact(text_length)   # straight after the suffixes
        if got is None:
            return self.report_damage()
        self.text_buffer[:text_length] = got

        for i in range(n):
            self.text_offsets[i] = LETTER_TEXT_SLOT_SIZE * i
        if not self.suffixes_terminated(n):
            return self.report_damage()
        if not self.texts_terminated(n, text_length):
            return self.report_damage()
        self.loaded_count = n
        return True


def acceptable(word, at):
    lead = word[at] if at < len(word) else 0
    trail = word[at + 1] if at + 1 < len(word) else 0
    return lead in LEAD_BYTES and trail in TRAIL_BYTES


def derive_word_code(table, word):
    """DeriveWordCode: returns (success, word code bytes)."""
    word = c_string(word)
    length = len(word)
    if length == 4:
        used = [0, 2]
    elif length == 6:
        used = [0, 2, 4]
    else:
        used = [0, 2, 4, length - 2]
    checked = used if length == 4 or length > 6 else used[:3]
    if not all(acceptable(word, at) for at in checked):
        return False, b""

    codes = []
    for at in used:
        outcome, code = table.read_word_making_code(word[at], word[at + 1])
        if outcome == READ_FAILED:
            table.reports.message_box(word, WORD_CODE_CAPTION)
            return False, b""
        if outcome == READ_DAMAGED:
            return False, b""
        codes.append(c_string(code))

    if length == 4:
        return True, codes[0] + codes[1]
    c1, c2, c3 = codes[:3]
    if length == 6:
        if not c1:
            return True, c3
        if not c2:
            return True, c1[:1] + c3
        return True, c1[:1] + c2[:1] + c3
    result = b""
    for code in codes:
        if not code:
            break
        result += code[:1]
    return True, result


def lookup_character_codes(table, typed):
    """LookupCharacterCodes for the 2 typed bytes: (success, codes bytes)."""
    probe = bytes(typed) + SAMPLE_CHARACTER
    ok, word_code = derive_word_code(table, probe)
    if not ok:
        return False, None
    prefix = word_code[:2]
    if not table.load_candidate_block(prefix):
        return False, None

    codes = b""
    for i in range(table.loaded_count):
        text = c_string(table.text_buffer, table.text_offsets[i])
        if len(text) != len(SAMPLE_CHARACTER) or text != typed:
            continue
        piece = (CODE_SEPARATOR if codes else b"") + prefix + table.suffix(i)
        if len(codes) + len(piece) > CODES_STRING_MAX:
            break
        codes += piece
    return True, codes


# -- the candidates of a code, every code of a text ----------------------

MAX_CANDIDATES_LISTED = 200
CANDIDATE_TEXTS_SIZE = 4000          # the listed texts with their NULs
MAX_EVERY_CODE_LISTED = 32
MAX_CODE_LETTERS = 7


class BlockEntries:
    """The entries (code, text) of each block as a quiet load gives them,
    with the reports of that load; a load gives the same every time."""

    def __init__(self, table):
        self.table = table
        self.blocks = {}
        self.whole = None

    def of(self, prefix):
        """(status, reports, entries)."""
        if prefix not in self.blocks:
            table = self.table
            status = table.load_block_if_any(prefix)
            entries = []
            for i in range(table.loaded_count):
                text = c_string(table.text_buffer, table.text_offsets[i])
                entries.append((prefix + table.suffix(i), text))
            self.blocks[prefix] = (status, table.reports.take(), entries)
        return self.blocks[prefix]

    def walk(self, prefixes):
        """(ok, reports, entries) of the blocks in turn, up to the first
        that fails."""
        entries = []
        for prefix in prefixes:
            status, reports, found = self.of(prefix)
            if status == "failed":
                return False, reports, None
            entries += found
        return True, [], entries


def code_prefixes(code, longer):
    """The blocks that hold a code's entries, in prefix order."""
    first = code[:1]
    if len(code) >= 2:
        return [first, code[:2]]
    return [first] + ([first + bytes([letter]) for letter in LETTERS] if longer else [])


def is_typed_code(code):
    return 1 <= len(code) <= MAX_CODE_LETTERS and all(b in LETTERS for b in code)


def code_candidates(blocks, code):
    """(ok, reports, exact texts, hints [(text, rest)], cut)."""
    if not is_typed_code(code):
        return False, [], [], [], False
    ok, reports, entries = blocks.walk(code_prefixes(code, True))
    if not ok:
        return False, reports, [], [], False
    ordered = [(text, b"") for entry_code, text in entries if entry_code == code]
    exact_count = len(ordered)
    ordered += [(text, entry_code[len(code):]) for entry_code, text in entries
                if entry_code.startswith(code) and len(entry_code) > len(code)]
    listed, used, cut = [], 0, False
    for text, rest in ordered:
        if len(listed) == MAX_CANDIDATES_LISTED or used + len(text) + 1 > CANDIDATE_TEXTS_SIZE:
            cut = True
            break
        listed.append((text, rest))
        used += len(text) + 1
    exact = [text for text, _ in listed[:exact_count]]
    return True, [], exact, listed[exact_count:], cut


def every_prefix():
    for first in LETTERS:
        yield bytes([first])
        for second in LETTERS:
            yield bytes([first, second])


def whole_characters(text):
    return len(text) >= 2 and len(text) % 2 == 0 and all(
        acceptable(text, at) for at in range(0, len(text), 2))


def whole_table(blocks):
    """(ok, reports, codes of each text in prefix order, first text of each
    code), the table walked once."""
    if blocks.whole is None:
        ok, reports, entries = blocks.walk(every_prefix())
        codes_of, first_of = {}, {}
        for code, text in entries or []:
            codes_of.setdefault(text, []).append(code)
            first_of.setdefault(code, text)
        blocks.whole = (ok, reports, codes_of, first_of)
    return blocks.whole


def every_code(blocks, text):
    """(ok, reports, codes, best or None, cut)."""
    if not whole_characters(text):
        return False, [], [], None, False
    ok, reports, codes_of, first_of = whole_table(blocks)
    if not ok:
        return False, reports, [], None, False
    codes = sorted(codes_of.get(text, []), key=len)
    listed = codes[:MAX_EVERY_CODE_LISTED]
    best = next((code for code in listed if first_of[code] == text), None)
    return True, [], listed, best, len(codes) > len(listed)


def shown_list(items, cut):
    shown = "  ".join(items)
    if cut:
        shown += ("  " if items else "") + "\u2026"
    return shown


def answer_lines(table_path, lines, out, err, answer):
    """A line of answer(blocks, line) for each line that is not empty; the
    open failure of the table once on err."""
    reports = Reports()
    table = CodeTable(reports)
    table.open(table_path)
    for item in reports.take():
        err.write(show_report(item) + "\n")
    blocks = BlockEntries(table)
    for line in lines:
        line = line.rstrip("\r\n")
        if line:
            out.write(answer(blocks, line) + "\n")


def code_line(blocks, line):
    code = line.encode("ascii", "replace")
    ok, told, exact, hints, cut = code_candidates(blocks, code)
    shown = "  ".join(show(text) for text in exact)
    if hints:
        shown += (" | " if exact else "| ") + "  ".join(
            show(text) + "+" + show(rest) for text, rest in hints)
    if cut:
        shown += ("  " if exact or hints else "") + "\u2026"
    return "%s\t%s\t%s\t%s" % (show(code), "ok" if ok else "fail", shown,
                              "|".join(show_report(item) for item in told))


def every_line(blocks, line):
    hex_text = line.upper()
    ok, told, codes, best, cut = every_code(blocks, c_string(bytes.fromhex(hex_text)))
    return "%s\t%s\t%s\t%s\t%s" % (
        hex_text, "ok" if ok else "fail", shown_list([show(code) for code in codes], cut),
        "|".join(show_report(item) for item in told), show(best) if best else "")


def table_entries(table_path):
    """Every entry of the blocks that load, in prefix order."""
    table = CodeTable(Reports())
    table.open(table_path)
    blocks = BlockEntries(table)
    for prefix in every_prefix():
        yield from blocks.of(prefix)[2]


def code_list(table_path, longer=400):
    """Every one- and two-letter code, about `longer` of the longer codes
    the table holds, and a few that are no codes."""
    codes = [prefix.decode() for prefix in every_prefix()]
    held = sorted({code for code, _ in table_entries(table_path)
                   if len(code) > 2 and is_typed_code(code)})
    step = max(1, len(held) // longer)
    codes += [code.decode() for code in held[::step]]
    return codes + ["abcdefgh", "A", "a1", "zzzzzzz"]


def text_list(table_path, characters=1000, words=100):
    """The texts of the one-letter codes, about `characters` of those of the
    two-letter codes (all where there are fewer), about `characters` of the
    table's characters and `words` of its words, as hex, then characters it
    may not hold and texts that are no characters. (Every code of a text is a
    scan of the whole table: a few thousand texts a table say what more would.)"""
    texts, one_letter, two_letter = {}, {}, {}
    for code, text in table_entries(table_path):
        texts.setdefault(text, None)
        if len(code) <= 2 and len(text) % 2 == 0 and text:
            (one_letter if len(code) == 1 else two_letter).setdefault(text, None)
    singles = [t for t in texts if len(t) == 2]
    longer = [t for t in texts if len(t) > 2 and len(t) % 2 == 0]
    two_letter = list(two_letter)
    chosen = dict.fromkeys(one_letter)
    chosen.update(dict.fromkeys(two_letter[::max(1, len(two_letter) // characters)]))
    chosen.update(dict.fromkeys(singles[::max(1, len(singles) // characters)]))
    chosen.update(dict.fromkeys(longer[::max(1, len(longer) // words)]))
    lines = [text.hex().upper() for text in chosen]
    return lines + ["B0A1", "CDAF", "8140", "FE4F", "4142", "B0A141", "B03F"]


# -- batch front end -----------------------------------------------------

# Written as \xHH in a batch line's fields, where they would divide it.
FIELD_SEPARATORS = b"|/\\"


def show(data):
    """GBK bytes as UTF-8 text for a field of a batch line; bytes outside
    valid characters, and "|", "/" and "\\" on their own, as \\xHH."""
    out = []
    i = 0
    while i < len(data):
        b = data[i]
        if b < 0x80:
            printable = 0x20 <= b <= 0x7E and b not in FIELD_SEPARATORS
            out.append(chr(b) if printable else "\\x%02X" % b)
            i += 1
            continue
        if i + 1 < len(data):
            try:
                char = data[i:i + 2].decode("gbk")
            except UnicodeDecodeError:
                char = ""
            if len(char) == 1:
                out.append(char)
                i += 2
                continue
        out.append("\\x%02X" % b)
        i += 1
    return "".join(out)


def show_report(item):
    if item[0] == "beep":
        return "beep"
    _, text, caption = item
    return "box:%s/%s" % (show(text), show(caption) if caption is not None else "")


def run_batch(table_path, lines, out, err):
    reports = Reports()
    table = CodeTable(reports)
    table.open(table_path)
    for item in reports.take():
        err.write(show_report(item) + "\n")
    for line in lines:
        hex_text = line.strip()
        if not hex_text:
            continue
        try:
            typed = bytes.fromhex(hex_text)
        except ValueError:
            typed = b""
        if len(hex_text) != 4 or len(typed) != 2:
            err.write("ignored input line: %r\n" % hex_text)
            continue
        ok, codes = lookup_character_codes(table, typed)
        shown = "|".join(show_report(item) for item in reports.take())
        out.write("%s\t%s\t%s\t%s\n" % (hex_text.upper(), "ok" if ok else "fail",
                                        show(codes) if ok else "", shown))


def all_hex_lines():
    for lead in LEAD_BYTES:
        for trail in TRAIL_BYTES:
            yield "%02X%02X" % (lead, trail)


def word_hex_lines(table_path):
    """The texts of more than one character in the two-letter blocks, each
    once, in index and block order."""
    table = CodeTable(Reports())
    table.open(table_path)
    seen = set()
    for first in range(26):
        for second in range(26):
            if not table.load_candidate_block(bytes([0x61 + first, 0x61 + second])):
                continue
            for i in range(table.loaded_count):
                text = c_string(table.text_buffer, table.text_offsets[i])
                if len(text) > 2 and text not in seen:
                    seen.add(text)
                    yield text.hex().upper()


def main(argv):
    if len(argv) == 3 and argv[1] == "batch":
        out = open(sys.stdout.fileno(), "w", encoding="utf-8", newline="\n", closefd=False)
        err = open(sys.stderr.fileno(), "w", encoding="utf-8", newline="\n", closefd=False)
        run_batch(argv[2], sys.stdin, out, err)
        out.flush()
        err.flush()
        return 0
    if len(argv) == 3 and argv[1] in ("codes", "every"):
        out = open(sys.stdout.fileno(), "w", encoding="utf-8", newline="\n", closefd=False)
        err = open(sys.stderr.fileno(), "w", encoding="utf-8", newline="\n", closefd=False)
        answer = code_line if argv[1] == "codes" else every_line
        answer_lines(argv[2], sys.stdin, out, err, answer)
        out.flush()
        err.flush()
        return 0
    if len(argv) == 3 and argv[1] == "codelist":
        sys.stdout.write("".join(code + "\n" for code in code_list(argv[2])))
        return 0
    if len(argv) in (3, 5) and argv[1] == "textlist":
        counts = [int(count) for count in argv[3:]]
        sys.stdout.write("".join(line + "\n" for line in text_list(argv[2], *counts)))
        return 0
    if len(argv) == 2 and argv[1] == "allhex":
        sys.stdout.write("".join(line + "\n" for line in all_hex_lines()))
        return 0
    if len(argv) == 3 and argv[1] == "words":
        sys.stdout.write("".join(line + "\n" for line in word_hex_lines(argv[2])))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
