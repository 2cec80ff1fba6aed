"""The navo.mb layout as the cross-check reads and writes it: the fixed
regions at their absolute offsets and the records they lead to, written once
for the reference reader, the table writer and the selftest. Taken from the
file's description by hand, never from the C++ code, so that the cross-check
stays independent of it.
"""

LEAD_BYTES = range(0x81, 0xFF)       # 126 lead bytes, one record array each
TRAIL_BYTES = range(0x40, 0x100)     # 192 records in an array
LETTERS = b"abcdefghijklmnopqrstuvwxyz"

LEAD_BYTE_TABLE_OFFSET = 247176      # 126 u32: record array offset per lead byte
LEAD_BYTE_TABLE_END = LEAD_BYTE_TABLE_OFFSET + 4 * len(LEAD_BYTES)                   # 247680
PREFIX_INDEX_ENTRY_SIZE = 12         # blockOffset, textLength, candidateCount
PAIR_PREFIX_INDEX_OFFSET = 247830    # 676 entries, aa..zz
PAIR_PREFIX_INDEX_END = PAIR_PREFIX_INDEX_OFFSET + PREFIX_INDEX_ENTRY_SIZE * 26 * 26  # 255942
LETTER_PREFIX_INDEX_OFFSET = 256042  # 26 entries, a..z
LETTER_PREFIX_INDEX_END = LETTER_PREFIX_INDEX_OFFSET + PREFIX_INDEX_ENTRY_SIZE * 26   # 256354

CHARACTER_RECORD_SIZE = 10           # 4 bytes wordMakingCode + 6 unused
RECORD_ARRAY_SIZE = CHARACTER_RECORD_SIZE * len(TRAIL_BYTES)
SUFFIX_RECORD_SIZE = 6               # a candidate's suffix, NUL-padded
LETTER_TEXT_SLOT_SIZE = 4            # a candidate's text in a one-letter block

SAMPLE_CHARACTER = b"\xcd\xaf"       # 童: the second character of a lookup's probe word


def lead_entry(lead):
    """Offset of the lead byte's entry in the LeadByteTable."""
    return LEAD_BYTE_TABLE_OFFSET + 4 * (lead - LEAD_BYTES[0])


def character_record(array, trail):
    """Offset of the trail byte's record in a record array."""
    return array + CHARACTER_RECORD_SIZE * (trail - TRAIL_BYTES[0])


def pair_entry(prefix):
    """Offset of a two-letter prefix's entry in the PairPrefixIndex."""
    index = 26 * (prefix[0] - LETTERS[0]) + (prefix[1] - LETTERS[0])
    return PAIR_PREFIX_INDEX_OFFSET + PREFIX_INDEX_ENTRY_SIZE * index


def letter_entry(letter):
    """Offset of a one-letter prefix's entry in the LetterPrefixIndex."""
    return LETTER_PREFIX_INDEX_OFFSET + PREFIX_INDEX_ENTRY_SIZE * (letter[0] - LETTERS[0])
