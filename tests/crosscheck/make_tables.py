#!/usr/bin/env python3
"""Writes code tables (navo.mb layout) of unusual shapes, byte by byte, for
cross-checking the lookup tool against reference_reader.py.

Usage: make_tables.py OUTDIR

Every table is deterministic (each uses its own fixed random.Random start value). The tables:

t00_tiny.mb
    Almost empty: only lead 0xCD has a record array. 童 (CDAF) = "ab",
    CDAE = "abc", CDB0 = "c" (prefix "ca", whose entry has blockOffset 0:
    beep), CDB1 = "ae" (block with no candidates), every other character has
    no code (prefix "ab" from 童). Block "ab" holds 童 with suffix "c", CDAE
    with "" and "cd", a word CDAE+CDAF, and 童 with "". Small enough to check
    by hand: 童 -> "abc  ab", CDAE -> "ab  abcd".
t01_general.mb
    A full table: random codes of 0..3 letters for most characters of all
    126 lead bytes; blocks for every prefix in use, candidates shuffled,
    characters standing 0..6 times in their block, words and 1- and 3-byte
    texts beginning with the character, characters also filed under other
    prefixes, prefixes whose entry has blockOffset 0 (beep) and blocks with
    0 candidates. Record arrays: most distinct, some shared by two lead
    bytes, one at file offset 0, some among the candidate blocks, two past
    the end of the file. 童 = "ujb": one-letter codes pair with "u", empty
    codes use prefix "uj". Some characters get codes that pass 39 bytes.
t02_big_blocks.mb
    Two-letter blocks with 2000 (whole, textLength used), 2001, 2300 (texts
    after candidate 2000 make textLength > 20000, yet the first 2000 texts
    are small) and 2500 candidates (the 2001st text offset exactly 20000).
    Target characters stand before and after candidate 2000, and as the very
    last loaded candidate (1999). Some targets stand often enough to fill
    the codes string exactly to 39 bytes or to overflow it.
t03_sample_empty.mb
    童 has no code: one-letter codes give one-letter prefixes (LetterPrefix-
    Index; blocks of 4-byte text slots, with 1-, 2-, 3-byte and empty texts,
    a 4-byte text running into the next slot, a textLength that cuts the
    last slot's padding); letters q, x, z have no block (silent failure);
    characters without code get the empty prefix (success, nothing found).
t04_sample_one_letter.mb
    童 = "t": characters without code use the one-letter prefix "t" (a block
    of 600 candidates), one-letter codes pair with "t" ("kt", ...).
t05_cut_letter_index.mb
    The file ends inside the LetterPrefixIndex, inside the entry of letter
    f (its candidateCount half delivered). 童 has no code; everything lies
    below the LeadByteTable. Letters a..e have blocks, f's partly read entry
    still names its block, g..z read as all zero (no block, silent).
t06_cut_block.mb
    The file ends inside the text area of the last two-letter block. Other
    entries point near or past the end: suffixes, text offsets, the 2001st
    text offset and one-letter texts cut by the end of the file (damage),
    a block past the end with 0 candidates (success), blockOffset >= 2**31
    and a block whose text offsets lie at >= 2**31 (positioning message).
    童 has no code so that one-letter prefixes are reachable too.
t07_damaged.mb
    Damaged blocks: suffix without NUL, text offset at/after the text size,
    last text without NUL, textLength > 20000, 2001st offset > 20000 or too
    small; one-letter blocks with > 2000 candidates, textLength > 20000, a
    slot outside textLength, a text without NUL, suffixes past the end.
    Damaged word-making codes (4 letters, upper case, digit, GBK bytes),
    and harmless ones (bytes after the NUL). Lead bytes whose array offset
    makes positioning fail (0xFFFFFFFF, 2**31 - 1000, 2**31 exactly): the
    record read then takes the bytes after the LeadByteTable entry (the
    next entry, arranged to read as a code or as damage). A record array
    placed on the LeadByteTable itself. 童 has no code.
t08_damaged_sample.mb
    童's word-making code has no NUL ("abcd"): every lookup reports damage.
t09_cut_record.mb
    The file ends inside a record array: one record delivers 2 of its 4
    code bytes ("kq"), the later records of that lead byte lie past the end
    of the file (empty code, prefix from 童).
t10_cut_lead_table.mb
    The file ends inside the LeadByteTable (entry of lead 0xA0 half read,
    later leads read offset 0, the record array at the start of the file).
    No index is in the file: every two-letter prefix beeps, one-letter ones
    fail silently.
"""

import os
import random
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_layout import (LEAD_BYTE_TABLE_END, LEAD_BYTE_TABLE_OFFSET, LEAD_BYTES,  # noqa: E402
                          LETTER_PREFIX_INDEX_END, LETTER_PREFIX_INDEX_OFFSET, LETTERS,
                          PAIR_PREFIX_INDEX_END, PAIR_PREFIX_INDEX_OFFSET, RECORD_ARRAY_SIZE,
                          SAMPLE_CHARACTER, TRAIL_BYTES, lead_entry, letter_entry, pair_entry,
                          character_record)

LEADS = list(LEAD_BYTES)
TRAILS = list(TRAIL_BYTES)
SAMPLE = tuple(SAMPLE_CHARACTER)     # (lead, trail), as the code maps key characters

# Bytes 4..9 of a character record are never read: fill them with noise.
RECORD_TAIL = b"\xa5\x5a\xff\x00\x81\x7f"


def char_bytes(ch):
    return bytes(ch)


class Table:
    """A code table image built by hand.

    Record arrays go into the low area (below the LeadByteTable) while room
    is left, the rest and all candidate blocks after the LetterPrefixIndex,
    unless told otherwise.
    """

    def __init__(self, low_start=2048, low_end=LEAD_BYTE_TABLE_OFFSET):
        self.image = bytearray(LETTER_PREFIX_INDEX_END)
        # the two gaps between the regions are never read
        for start, end in ((LEAD_BYTE_TABLE_END, PAIR_PREFIX_INDEX_OFFSET),
                           (PAIR_PREFIX_INDEX_END, LETTER_PREFIX_INDEX_OFFSET)):
            self.image[start:end] = b"\xee" * (end - start)
        self.low = low_start
        self.low_end = low_end
        self.high = LETTER_PREFIX_INDEX_END

    # -- raw access ------------------------------------------------------

    def put(self, offset, data):
        end = offset + len(data)
        if end > len(self.image):
            self.image.extend(bytes(end - len(self.image)))
        self.image[offset:end] = data

    def put_u32(self, offset, value):
        self.put(offset, struct.pack("<I", value))

    def alloc(self, size, where="any"):
        if where in ("any", "low") and self.low + size <= self.low_end:
            offset = self.low
            self.low += size
            return offset
        if where == "low":
            raise ValueError("low area full")
        offset = self.high
        self.high += size
        if self.high > len(self.image):
            self.image.extend(bytes(self.high - len(self.image)))
        return offset

    # -- records ---------------------------------------------------------

    def set_lead(self, lead, array_offset):
        self.put_u32(lead_entry(lead), array_offset)

    def write_array(self, offset, codes, lead, limit=None):
        """Records of one lead byte at offset; codes maps (lead, trail) to
        the 4 raw code bytes or a code string."""
        for trail in TRAILS:
            code = codes.get((lead, trail), b"")
            raw = code if len(code) == 4 else code.ljust(4, b"\0")
            record = raw + RECORD_TAIL
            at = character_record(offset, trail)
            if limit is not None and at >= limit:
                break
            self.put(at, record)

    def place_arrays(self, codes, special=None, where="any"):
        """Give every lead byte its own array, unless special says otherwise:
        special[lead] = ("share", other_lead) | ("raw", entry) |
        ("at", offset) | ("high",)."""
        special = special or {}
        placed = {}
        for lead in LEADS:
            kind = special.get(lead, ("alloc",))
            if kind[0] == "alloc":
                placed[lead] = self.alloc(RECORD_ARRAY_SIZE, where)
            elif kind[0] == "high":
                placed[lead] = self.alloc(RECORD_ARRAY_SIZE, "high")
            elif kind[0] == "at":
                placed[lead] = kind[1]
            if lead in placed:
                self.write_array(placed[lead], codes, lead)
        for lead in LEADS:
            kind = special.get(lead, ("alloc",))
            if kind[0] == "share":
                placed[lead] = placed[kind[1]]
            elif kind[0] == "raw":
                placed[lead] = kind[1]
            self.set_lead(lead, placed[lead])
        return placed

    # -- index entries and blocks -----------------------------------------

    def set_pair_entry(self, prefix, block, text_length, count):
        self.put(pair_entry(prefix), struct.pack("<3I", block, text_length, count))

    def set_letter_entry(self, letter, block, text_length, count):
        self.put(letter_entry(letter), struct.pack("<3I", block, text_length, count))

    def pair_block_bytes(self, candidates):
        """candidates: list of (text, suffix); a 6-byte suffix is written raw."""
        suffixes = b"".join(s if len(s) == 6 else s.ljust(6, b"\0") for _, s in candidates)
        offsets = []
        texts = bytearray()
        for text, _ in candidates:
            offsets.append(len(texts))
            texts += text + b"\0"
        return suffixes, offsets, bytes(texts)

    def add_pair_block(self, prefix, candidates, where="any", text_length=None,
                       count=None, offsets_patch=None):
        suffixes, offsets, texts = self.pair_block_bytes(candidates)
        for i, value in (offsets_patch or {}).items():
            offsets[i] = value
        data = suffixes + struct.pack("<%dI" % len(offsets), *offsets) + texts
        block = self.alloc(len(data), where)
        self.put(block, data)
        self.set_pair_entry(prefix, block,
                            len(texts) if text_length is None else text_length,
                            len(candidates) if count is None else count)
        return block, len(data)

    def letter_block_bytes(self, candidates):
        """candidates: list of (text, suffix); a text of 4 bytes fills its
        slot without NUL (it runs on into the next slot)."""
        suffixes = b"".join(s if len(s) == 6 else s.ljust(6, b"\0") for _, s in candidates)
        slots = b"".join(t.ljust(4, b"\0") for t, _ in candidates)
        return suffixes, slots

    def add_letter_block(self, letter, candidates, where="any", text_length=None, count=None):
        suffixes, slots = self.letter_block_bytes(candidates)
        block = self.alloc(len(suffixes) + len(slots), where)
        self.put(block, suffixes + slots)
        self.set_letter_entry(letter, block,
                              len(slots) if text_length is None else text_length,
                              len(candidates) if count is None else count)
        return block

    def bytes(self, cut=None):
        data = bytes(self.image)
        return data if cut is None else data[:cut]


# -- random populations -------------------------------------------------

def random_code(rng, weights):
    """weights: probabilities of a code of 0, 1, 2, 3 letters."""
    length = rng.choices([0, 1, 2, 3], weights)[0]
    return bytes(rng.choice(LETTERS) for _ in range(length))


def random_suffix(rng, longest=5):
    return bytes(rng.choice(LETTERS) for _ in range(rng.randint(0, longest)))


def random_char(rng):
    return bytes((rng.choice(LEADS), rng.choice(TRAILS)))


def lookup_prefix(code, sample_code):
    return (code + sample_code)[:2]


def populate_codes(rng, leads, weights, share=1.0):
    codes = {}
    for lead in leads:
        for trail in TRAILS:
            if rng.random() < share:
                codes[(lead, trail)] = random_code(rng, weights)
    return codes


def file_candidates(rng, codes, sample_code, pair, letter, words=0.15, decoys=0.05,
                    limit=500):
    """Files each coded character under the prefix a lookup would use, 0..6
    times, with words beginning with it and some odd-length texts; pair and
    letter map prefixes to candidate lists. A block keeps at most limit
    candidates (larger blocks are made on purpose elsewhere)."""
    for (lead, trail), code in sorted(codes.items()):
        prefix = lookup_prefix(code, sample_code)
        if not prefix:
            continue
        ch = bytes((lead, trail))
        target = pair if len(prefix) == 2 else letter
        bucket = target.setdefault(prefix, [])
        times = rng.choices([0, 1, 2, 3, 4, 6], [8, 70, 12, 5, 3, 2])[0]
        for _ in range(times):
            bucket.append((ch, code[2:] + random_suffix(rng, 5 - len(code[2:]))))
        if len(prefix) == 2:
            if rng.random() < words:
                word = ch + b"".join(random_char(rng) for _ in range(rng.randint(1, 3)))
                bucket.append((word, random_suffix(rng)))
            if rng.random() < 0.03:
                bucket.append((ch + b"x", random_suffix(rng)))       # 3-byte text
            if rng.random() < 0.03:
                bucket.append((ch[:1], random_suffix(rng)))          # 1-byte text
            if rng.random() < decoys:
                other = bytes(rng.sample(LETTERS, 2))
                pair.setdefault(other, []).append((ch, random_suffix(rng)))
        else:
            if rng.random() < 0.05:
                bucket.append((ch + b"y", random_suffix(rng)))
            if rng.random() < 0.03:
                bucket.append((ch[:1], random_suffix(rng)))
    for bucket in list(pair.values()) + list(letter.values()):
        rng.shuffle(bucket)
        del bucket[limit:]


def overflow_candidates(ch, lengths):
    """Candidates of ch whose codes (two-letter prefix + suffix) have the
    given total lengths."""
    return [(ch, b"pqrst"[:length - 2]) for length in lengths]


def write_blocks(table, pair, letter, where="any"):
    for prefix in sorted(pair):
        table.add_pair_block(prefix, pair[prefix], where)
    for prefix in sorted(letter):
        table.add_letter_block(prefix, letter[prefix], where)


# -- the tables ---------------------------------------------------------

def t00_tiny():
    t = Table()
    cd = 0xCD
    codes = {(cd, 0xAF): b"ab", (cd, 0xAE): b"abc", (cd, 0xB0): b"c", (cd, 0xB1): b"ae"}
    array = t.alloc(RECORD_ARRAY_SIZE, "high")
    t.write_array(array, codes, cd)
    t.set_lead(cd, array)
    # every other lead byte: offset 0, whose records are all zero here
    tong, cdae = b"\xcd\xaf", b"\xcd\xae"
    t.add_pair_block(b"ab", [(tong, b"c"), (cdae, b""), (cdae, b"cd"),
                             (cdae + tong, b"x"), (tong, b"")])
    t.set_pair_entry(b"ca", 0, 7, 3)
    t.add_pair_block(b"ae", [])
    return t.bytes()


def t01_general():
    rng = random.Random(101)
    t = Table()
    sample_code = b"ujb"
    codes = populate_codes(rng, LEADS, [4, 8, 55, 33], share=0.9)
    codes[SAMPLE] = sample_code
    # characters whose codes pass 39 bytes
    overflow = {
        (0xB0, 0x41): [4] * 7,          # six fit, the seventh not
        (0xB0, 0x42): [7] * 5,          # four fit
        (0xB0, 0x43): [7, 7, 7, 7, 3],  # exactly 39
        (0xB0, 0x44): [7, 7, 7, 7, 4],  # 40: four codes
        (0xB0, 0x45): [7, 7, 7, 7, 5, 2],  # stops at the 5-letter one, 2 not used
        (0xB0, 0x46): [2] * 12,         # 2 + 11 x 4 > 39: ten codes (38)
    }
    for (lead, trail) in overflow:
        codes[(lead, trail)] = b"ov"
    pair, letter = {}, {}
    file_candidates(rng, {k: v for k, v in codes.items() if k not in overflow},
                    sample_code, pair, letter)
    for (lead, trail), lengths in overflow.items():
        ch = bytes((lead, trail))
        pair.setdefault(b"ov", []).extend(overflow_candidates(ch, lengths))
        pair[b"ov"].append((ch + b"\xb0\xa1", b"z"))
    # prefixes without block (beep) and blocks without candidates
    used = sorted(p for p in pair if p not in (b"ov", b"uj"))
    no_block = used[::37]
    empty = [p for p in used[5::41] if p not in no_block]
    for p in no_block + empty:
        del pair[p]
    special = {
        0x90: ("share", 0x91), 0xE0: ("share", 0x81),
        0xA0: ("at", 0),                       # records at the start of the file
        0xF0: ("high",), 0xF1: ("high",), 0xF2: ("high",),
    }
    t.low = RECORD_ARRAY_SIZE                  # keep 0..1919 for lead 0xA0
    t.place_arrays(codes, special)
    write_blocks(t, pair, letter)
    for p in no_block:
        t.set_pair_entry(p, 0, 123, 45)        # only blockOffset matters
    for p in empty:
        t.set_pair_entry(p, t.alloc(16), 0, 0)
    # two lead bytes whose arrays lie past the end of the file
    end = len(t.image)
    t.set_lead(0xC0, end + 100000)
    t.set_lead(0xFE, 2 ** 31 - 1 - 10 * 200)   # every record offset stays < 2**31
    return t.bytes()


def t02_big_blocks():
    rng = random.Random(202)
    t = Table()
    sample_code = b"nm"
    codes = populate_codes(rng, LEADS[::5], [5, 5, 60, 30], share=0.5)
    codes[SAMPLE] = sample_code
    # targets: lead 0xB5, trails 0x40.. spread over the big blocks
    targets = {b"ab": [], b"cd": [], b"ef": [], b"gh": []}
    trail = 0x40
    for prefix in targets:
        for _ in range(40):
            codes[(0xB5, trail)] = prefix + bytes([rng.choice(LETTERS)])
            targets[prefix].append(bytes((0xB5, trail)))
            trail += 1
    pair, letter = {}, {}
    file_candidates(rng, {k: v for k, v in codes.items() if k[0] != 0xB5},
                    sample_code, pair, letter)
    del pair[b"nm"][100:]          # most characters have no code: keep it short
    for prefix in targets:
        pair.pop(prefix, None)

    def filler(count, text=b"\xb0\xa1"):
        return [(text, random_suffix(rng)) for _ in range(count)]

    def sprinkle(block, chars, positions):
        for pos, ch in zip(positions, chars * (len(positions) // len(chars) + 1)):
            block[pos] = (ch, bytes(rng.choice(LETTERS) for _ in range(rng.randint(0, 5))))

    # ab: exactly 2000 candidates, read whole; target as candidate 1999 too
    ab = filler(2000)
    sprinkle(ab, targets[b"ab"], sorted(rng.sample(range(1999), 120)) + [1999])
    ab[100] = (targets[b"ab"][0], b"zzzzz")      # and a word of it elsewhere
    ab[101] = (targets[b"ab"][0] + b"\xb0\xa1", b"")
    # cd: 2001 candidates, the 2001st is a target (never read)
    cd = filler(2001)
    sprinkle(cd, targets[b"cd"], sorted(rng.sample(range(2000), 80)) + [2000])
    # ef: 2300, long words after candidate 2000 (textLength > 20000)
    ef = filler(2000) + [(b"\xb0\xa1" * 30, b"") for _ in range(300)]
    sprinkle(ef, targets[b"ef"], sorted(rng.sample(range(2000), 80))
             + sorted(rng.sample(range(2000, 2300), 60)))
    # gh: 2500, the first 2000 texts take exactly 20000 bytes: targets 3
    # bytes with their NUL, 42 long words 20, the other fillers 10
    target_positions = set(rng.sample(range(2000), 60))
    fillers = [i for i in range(2000) if i not in target_positions]
    long_words = set(fillers[::46][:42])
    gh = []
    for i in range(2000):
        if i in target_positions:
            gh.append((targets[b"gh"][i % 40], random_suffix(rng)))
        elif i in long_words:
            gh.append((b"\xb0\xa1" * 9 + b"y", b""))
        else:
            gh.append((b"\xb0\xa1" * 4 + b"x", b""))
    assert sum(len(text) + 1 for text, _ in gh) == 20000
    gh += filler(500)
    for pos in sorted(rng.sample(range(2000, 2500), 50)):
        gh[pos] = (targets[b"gh"][pos % 40], b"q")
    # overflow in the big block: one target stands 9 times with 7-letter codes
    for pos in range(300, 309):
        ab[pos] = (targets[b"ab"][5], b"vwxyz")
    pair.update({b"ab": ab, b"cd": cd, b"ef": ef, b"gh": gh})
    t.place_arrays(codes)
    write_blocks(t, pair, letter)
    return t.bytes()


def one_letter_candidates(rng, chars):
    """A one-letter block with a spread of slot contents."""
    block = []
    for ch in chars:
        for _ in range(rng.choices([0, 1, 2, 3], [10, 70, 15, 5])[0]):
            block.append((ch, random_suffix(rng)))
    block += [(b"", b"aa"), (b"\xb0", b"b"), (b"\xb0\xa1x", b"c")]
    rng.shuffle(block)
    return block


def t03_sample_empty():
    rng = random.Random(303)
    t = Table()
    codes = populate_codes(rng, LEADS, [15, 25, 40, 20], share=0.5)
    codes[SAMPLE] = b""
    pair, letter = {}, {}
    one_letter = {}
    for key, code in codes.items():
        if len(code) == 1:
            one_letter.setdefault(code, []).append(bytes(key))
    file_candidates(rng, {k: v for k, v in codes.items() if len(v) != 1},
                    b"", pair, letter)
    for code, chars in sorted(one_letter.items()):
        if code in (b"q", b"x", b"z"):
            continue                                   # no block: silent
        letter[code] = one_letter_candidates(rng, chars)[:2000]
    # k: a 4-byte text running into an empty next slot, then a target
    k_chars = one_letter.get(b"k", [b"\xb0\xa1"])
    letter[b"k"][:0] = [(k_chars[0] + b"zz", b"a"), (b"", b""), (k_chars[0], b"b")]
    t.place_arrays(codes)
    write_blocks(t, pair, {p: c for p, c in letter.items() if p != b"m"})
    # m: textLength one short of the slots (last slot's padding not read)
    m = letter[b"m"] + [(one_letter[b"m"][0], b"last")]
    t.add_letter_block(b"m", m, text_length=4 * len(m) - 1)
    return t.bytes()


def t04_sample_one_letter():
    rng = random.Random(404)
    t = Table()
    codes = populate_codes(rng, LEADS, [8, 15, 47, 30])
    codes[SAMPLE] = b"t"
    pair, letter = {}, {}
    file_candidates(rng, {k: v for k, v in codes.items() if v}, b"t", pair, letter)
    no_code = [bytes(k) for k, v in sorted(codes.items()) if not v]
    rng.shuffle(no_code)
    block = []
    for ch in no_code:
        if len(block) >= 590:
            break
        block += [(ch, random_suffix(rng))] * rng.choice([1, 1, 1, 2])
    block += [(b"\xcd\xaf", b"")] + [(no_code[0], b"w")] * 3
    letter[b"t"] = block[:600]
    # a neighbouring letter with a block that is never used
    letter[b"s"] = [(b"\xcd\xaf", b"s")]
    t.place_arrays(codes)
    write_blocks(t, pair, letter)
    return t.bytes()


def t05_cut_letter_index():
    rng = random.Random(505)
    t = Table(low_start=64)
    leads = LEADS[:40]
    codes = populate_codes(rng, leads, [20, 40, 25, 15], share=0.6)
    codes[SAMPLE] = b""
    special = {lead: ("share", leads[lead % 40]) for lead in LEADS if lead not in leads}
    special[0xCD] = ("alloc",)
    t.place_arrays(codes, special, where="low")
    pair, letter = {}, {}
    small = {k: v for k, v in codes.items() if len(v) != 1 and rng.random() < 0.3}
    file_candidates(rng, small, b"", pair, letter, words=0.05)
    one_letter = {}
    for key, code in sorted(codes.items()):
        if len(code) == 1:
            one_letter.setdefault(code, []).append(bytes(key))
    for code in b"abcdef":
        letter[bytes([code])] = one_letter_candidates(rng, one_letter.get(bytes([code]), []))
    for prefix in sorted(pair):
        try:
            t.add_pair_block(prefix, pair[prefix], where="low")
        except ValueError:
            break                                   # low area full: no block
    for prefix in sorted(letter):
        t.add_letter_block(prefix, letter[prefix], where="low")
    # the whole entry of f says 0x00010000 + n candidates; only "n" arrives
    f = letter_entry(b"f")
    t.put(f + 8, struct.pack("<I", struct.unpack_from("<I", t.image, f + 8)[0] + 0x10000))
    for letter_index in range(6, 26):               # would-be entries past the cut
        t.set_letter_entry(bytes([0x61 + letter_index]), 1000, 4, 1)
    return t.bytes(cut=f + 10)


def t06_cut_block():
    rng = random.Random(606)
    t = Table()
    codes = populate_codes(rng, LEADS[::3], [10, 20, 45, 25], share=0.5)
    codes[SAMPLE] = b""
    scenario_pairs = [b"ta", b"tb", b"tc", b"td", b"te", b"tf", b"tg", b"th"]
    scenario_letters = [b"k", b"l", b"m", b"n", b"o"]
    # 8 characters for each scenario, lead 0xB7
    trail = 0x40
    chosen = {}
    for prefix in scenario_pairs + scenario_letters:
        chosen[prefix] = []
        for _ in range(8):
            codes[(0xB7, trail)] = prefix + (b"" if len(prefix) == 1 else b"q")
            chosen[prefix].append(bytes((0xB7, trail)))
            trail += 1
    pair, letter = {}, {}
    scenarios = scenario_pairs + scenario_letters
    plain = {k: v for k, v in codes.items() if lookup_prefix(v, b"") not in scenarios}
    file_candidates(rng, plain, b"", pair, letter)
    t.place_arrays(codes)

    def valid_pair(chars, count):
        return [(chars[i % len(chars)], b"q") for i in range(count)]

    # th: text offsets at >= 2**31 (positioning fails after the suffixes,
    # which are read from this block and the blocks after it)
    th = t.add_pair_block(b"th", valid_pair(chosen[b"th"], 20))[0]
    t.set_pair_entry(b"th", th, 60, 400_000_000)
    write_blocks(t, pair, letter)
    # tg: blockOffset >= 2**31
    t.set_pair_entry(b"tg", 2 ** 31 + 12, 30, 10)
    # the last block, cut inside its text area
    td_cands = valid_pair(chosen[b"td"], 300) + [(b"\xb0\xa1" * 20, b"") for _ in range(50)]
    td, td_size = t.add_pair_block(b"td", td_cands)
    end = td + td_size - 500
    # ta: suffixes cross the end; tb: text offsets cross the end
    t.set_pair_entry(b"ta", end - 10, 0, 5)
    t.set_pair_entry(b"tb", end - 6 * 50 - 3, 0, 50)
    # tc: 2300 candidates, the 2001st text offset half before the end
    t.set_pair_entry(b"tc", end - 2 - 8000 - 6 * 2300, 10, 2300)
    # te: past the end with no candidates and no text: success, nothing found
    t.set_pair_entry(b"te", end + 5000, 0, 0)
    # tf: past the end with candidates
    t.set_pair_entry(b"tf", end + 5000, 9, 3)
    # one-letter: k suffixes cross the end, l texts cross the end,
    # m past the end empty, n blockOffset >= 2**31, o past the end with text
    t.set_letter_entry(b"k", end - 7, 8, 2)
    t.set_letter_entry(b"l", end - 6 * 3 - 4, 12, 3)
    t.set_letter_entry(b"m", end + 1, 0, 0)
    t.set_letter_entry(b"n", 2 ** 32 - 6, 4, 1)
    t.set_letter_entry(b"o", end + 1, 5, 0)
    return t.bytes(cut=end)


def t07_damaged():
    rng = random.Random(707)
    t = Table(low_start=40000)
    codes = populate_codes(rng, LEADS[1::4], [10, 20, 45, 25], share=0.4)
    codes[SAMPLE] = b""
    bad_pairs = [b"da", b"db", b"dc", b"dd", b"de", b"df", b"dg"]
    bad_letters = [b"a", b"b", b"c", b"e", b"f", b"g", b"h"]
    trail = 0x40
    chosen = {}
    for prefix in bad_pairs + bad_letters:
        chosen[prefix] = []
        for _ in range(6):
            codes[(0xB9, trail)] = prefix + (b"" if len(prefix) == 1 else b"k")
            chosen[prefix].append(bytes((0xB9, trail)))
            trail += 1
    # damaged and harmless word-making codes, lead 0xBA
    odd_codes = [b"abcd", b"aB\0\0", b"a1\0\0", b"\xc4\xe3\0\0", b"m\0\xff\xff",
                 b"\0abc", b"ab\0\x01", b"zzz\0", b"   \0", b"\x7b\0\0\0", b"`\0\0\0"]
    for i, raw in enumerate(odd_codes):
        codes[(0xBA, 0x40 + i)] = raw
    pair, letter = {}, {}
    plain = {k: v for k, v in codes.items()
             if len(v) < 4 and lookup_prefix(v, b"") not in bad_pairs + bad_letters}
    file_candidates(rng, plain, b"", pair, letter)
    # lead 0xC8: entry 0xFFFFFFFF, next entry (0xC9) = "kj" as u32 = 27243
    # lead 0xD0: entry 2**31 - 1000, next entry (0xD1) = "az" as u32 = 31329
    # lead 0xD8: entry 2**31, next entry (0xD9) an ordinary offset (damage)
    # lead 0xE2: array placed on the LeadByteTable itself
    codes.update({(0xC9, tr): random_code(rng, [10, 10, 50, 30]) for tr in TRAILS})
    codes.update({(0xD1, tr): random_code(rng, [10, 10, 50, 30]) for tr in TRAILS})
    special = {0xC8: ("raw", 0xFFFFFFFF), 0xC9: ("at", 0x6A6B),
               0xD0: ("raw", 2 ** 31 - 1000), 0xD1: ("at", 0x7A61),
               0xD8: ("raw", 2 ** 31), 0xE2: ("raw", LEAD_BYTE_TABLE_OFFSET)}
    t.place_arrays(codes, special)
    for ch in (b"kj", b"az"):
        pair.setdefault(ch, []).extend([(b"\xc8\x50", b"one"), (b"\xd0\xa5", b"two"), (b"\xd0\x41", b"")])
    write_blocks(t, pair, letter)

    def cands(prefix, count, suffix=b"k"):
        chars = chosen[prefix]
        return [(chars[i % len(chars)], suffix) for i in range(count)]

    # da: candidate 3's suffix has 6 letters (no NUL)
    da = cands(b"da", 10)
    da[3] = (da[3][0], b"abcdef")
    t.add_pair_block(b"da", da)
    # db: candidate 4's text offset equals the text size
    t.add_pair_block(b"db", cands(b"db", 10), offsets_patch={4: 30})
    # dc: the last text is not terminated inside textLength
    t.add_pair_block(b"dc", cands(b"dc", 10), text_length=29)
    # dd: textLength > 20000
    t.add_pair_block(b"dd", cands(b"dd", 10), text_length=20001)
    # de: 2300 candidates, 2001st text offset > 20000
    t.add_pair_block(b"de", cands(b"de", 2300), offsets_patch={2000: 20001})
    # df: 2300 candidates, 2001st text offset too small
    t.add_pair_block(b"df", cands(b"df", 2300), offsets_patch={2000: 100})
    # dg: text offsets far past the end of the file (huge candidateCount)
    dg = t.add_pair_block(b"dg", cands(b"dg", 2000))[0]
    t.set_pair_entry(b"dg", dg, 6000, 100_000_000)
    # one-letter: a > 2000 candidates, b textLength > 20000,
    # c suffixes past the end, e suffix without NUL, f a slot outside
    # textLength, g a text without NUL, h 2000 candidates (sound)
    t.add_letter_block(b"a", cands(b"a", 2001))
    t.add_letter_block(b"b", cands(b"b", 10), text_length=20004)
    t.set_letter_entry(b"c", 2 ** 31 - 1, 0, 3)
    e = cands(b"e", 8)
    e[7] = (e[7][0], b"uvwxyz")
    t.add_letter_block(b"e", e)
    t.add_letter_block(b"f", cands(b"f", 5), text_length=12)
    g = cands(b"g", 5) + [(b"\xb0\xa1zz", b"")]
    t.add_letter_block(b"g", g)
    t.add_letter_block(b"h", cands(b"h", 2000))
    return t.bytes()


def t08_damaged_sample():
    rng = random.Random(808)
    t = Table()
    codes = populate_codes(rng, LEADS[::7], [10, 10, 50, 30], share=0.5)
    codes[SAMPLE] = b"abcd"
    pair, letter = {}, {}
    file_candidates(rng, {k: v for k, v in codes.items() if k != SAMPLE}, b"", pair, letter)
    t.place_arrays(codes)
    write_blocks(t, pair, letter)
    return t.bytes()


def t09_cut_record():
    rng = random.Random(909)
    t = Table()
    codes = populate_codes(rng, LEADS[::4], [10, 10, 50, 30], share=0.5)
    codes[SAMPLE] = b"mk"
    for tr in TRAILS:
        codes[(0xEE, tr)] = b"kqz"
    codes[(0xEE, 0x90)] = b"kqZZ"        # damaged if it were read whole
    pair, letter = {}, {}
    file_candidates(rng, codes, b"mk", pair, letter)
    del pair[b"mk"][100:]          # most characters have no code: keep it short
    pair[b"kq"] = [(b"\xee" + bytes([tr]), b"z") for tr in TRAILS]
    t.place_arrays(codes, {0xEE: ("raw", 0)})
    write_blocks(t, pair, letter)
    # the array of 0xEE last: record 0x90 delivers "kq", the rest is missing
    array = len(t.image)
    t.set_lead(0xEE, array)
    t.write_array(array, codes, 0xEE)
    return t.bytes(cut=array + 10 * (0x90 - 0x40) + 2)


def t10_cut_lead_table():
    rng = random.Random(1010)
    t = Table(low_start=0x1234 + RECORD_ARRAY_SIZE)
    codes = populate_codes(rng, LEADS, [25, 25, 30, 20])
    codes[SAMPLE] = b"c"
    t.place_arrays(codes, {lead: ("at", 0) for lead in LEADS[::5]})
    # lead 0xA0: full entry 0x00AB1234, only 0x1234 arrives
    t.write_array(0x1234, codes, 0xA0)
    t.set_lead(0xA0, 0x00AB1234)
    # would-be index entries past the cut
    for prefix in (b"ca", b"cc", b"ab"):
        t.set_pair_entry(prefix, 100, 3, 1)
    return t.bytes(cut=lead_entry(0xA0) + 2)


TABLES = [
    ("t00_tiny", t00_tiny),
    ("t01_general", t01_general),
    ("t02_big_blocks", t02_big_blocks),
    ("t03_sample_empty", t03_sample_empty),
    ("t04_sample_one_letter", t04_sample_one_letter),
    ("t05_cut_letter_index", t05_cut_letter_index),
    ("t06_cut_block", t06_cut_block),
    ("t07_damaged", t07_damaged),
    ("t08_damaged_sample", t08_damaged_sample),
    ("t09_cut_record", t09_cut_record),
    ("t10_cut_lead_table", t10_cut_lead_table),
]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_tables.py OUTDIR\n")
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, make in TABLES:
        data = make()
        with open(os.path.join(argv[1], name + ".mb"), "wb") as f:
            f.write(data)
        print("%-26s %8d bytes" % (name + ".mb", len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
