// The layout of the code table file navo.mb, stated once: the regions at
// fixed offsets, the records they lead to, and the rule that makes what the
// lookup loads sound. The reader, the table builder and the checker use it.
#pragma once

#include <cstdint>

#include "common/gbk.h"

namespace navo::codefind {

// Regions at fixed absolute offsets.
constexpr uint32_t LeadByteTableOffset = 247176;      // one u32 per lead byte 0x81..0xFE
constexpr uint32_t PairPrefixIndexOffset = 247830;    // 676 entries, aa..zz
constexpr uint32_t LetterPrefixIndexOffset = 256042;  // 26 entries, a..z
constexpr uint32_t FixedRegionsEnd = 256354;

constexpr uint32_t LeadBytes = GbkLastLeadByte - GbkFirstLeadByte + 1;  // 126
constexpr uint32_t TrailBytes = 0x100 - GbkFirstTrailByte;              // 192 records per lead byte
constexpr uint32_t CodeLetterCount = 26;
constexpr uint32_t PairPrefixCount = CodeLetterCount * CodeLetterCount;

// Records and their fields.
constexpr uint32_t LeadByteEntrySize = 4;
constexpr uint32_t CharacterRecordSize = 10;
constexpr uint32_t WordMakingCodeSize = 4;  // the first bytes of a character record
constexpr uint32_t CharacterRecordArraySize = TrailBytes * CharacterRecordSize;
constexpr uint32_t PrefixIndexEntrySize = 12;
constexpr uint32_t SuffixRecordSize = 6;
constexpr uint32_t TextOffsetSize = 4;      // two-letter blocks: one u32 per candidate
constexpr uint32_t LetterTextSlotSize = 4;  // one-letter blocks: texts in fixed slots

// The longest strings the records hold; their NUL takes one byte more.
constexpr uint32_t MaxWordMakingCodeLetters = WordMakingCodeSize - 1;
constexpr uint32_t MaxPrefixLetters = 2;  // the letters of the pair index
constexpr uint32_t MaxCodeLetters = MaxPrefixLetters + SuffixRecordSize - 1;
constexpr uint32_t MaxLetterBlockTextBytes = LetterTextSlotSize - 1;

// The reader's buffers: a block loads at most this much.
constexpr uint32_t MaxLoadedCandidates = 2000;
constexpr uint32_t TextBufferSize = 20000;

// Offsets at or above this cannot be positioned at.
constexpr uint64_t MaxFileOffset = 0x7FFFFFFF;

static_assert(LeadByteTableOffset + LeadBytes * LeadByteEntrySize <= PairPrefixIndexOffset);
static_assert(PairPrefixIndexOffset + PairPrefixCount * PrefixIndexEntrySize <=
              LetterPrefixIndexOffset);
static_assert(LetterPrefixIndexOffset + CodeLetterCount * PrefixIndexEntrySize == FixedRegionsEnd);

constexpr bool IsCodeLetter(char c) { return c >= 'a' && c <= 'z'; }

constexpr uint32_t LeadByteEntryOffset(unsigned char lead) {
  return LeadByteTableOffset + LeadByteEntrySize * (lead - GbkFirstLeadByte);
}

// The record of a trail byte in the record array of its lead byte.
constexpr uint64_t CharacterRecordOffset(uint32_t recordArrayOffset, unsigned char trail) {
  return uint64_t(recordArrayOffset) + CharacterRecordSize * (trail - GbkFirstTrailByte);
}

// Pair number: 26 × (first letter's index) + second letter's index.
constexpr uint32_t PairIndexEntryOffset(uint32_t pair) {
  return PairPrefixIndexOffset + PrefixIndexEntrySize * pair;
}

constexpr uint32_t LetterIndexEntryOffset(uint32_t letter) {
  return LetterPrefixIndexOffset + PrefixIndexEntrySize * letter;
}

struct PrefixIndexEntry {
  uint32_t blockOffset;  // 0: the prefix has no block
  uint32_t textLength;
  uint32_t candidateCount;
};
// Where its fields lie in the entry's bytes (blockOffset first).
constexpr uint32_t TextLengthField = 4;
constexpr uint32_t CandidateCountField = 8;

PrefixIndexEntry DecodePrefixIndexEntry(const unsigned char bytes[PrefixIndexEntrySize]);
void EncodePrefixIndexEntry(const PrefixIndexEntry& entry,
                            unsigned char bytes[PrefixIndexEntrySize]);

// Where the arrays of a candidate block lie, and how much of it the reader
// loads. A two-letter block: suffixes, text offsets, texts. A one-letter
// block: suffixes, then the texts in fixed slots.
struct BlockPlace {
  uint64_t suffixesAt;
  uint64_t textOffsetsAt;  // two-letter blocks only
  uint64_t textsAt;
  uint32_t loadedCount;       // the first candidates, at most MaxLoadedCandidates
  uint64_t textSizeOffsetAt;  // more than 2000 in a two-letter block: where the
                              // 2001st text offset (the texts' size) lies; else 0
};

BlockPlace PairBlockPlace(const PrefixIndexEntry& entry);
BlockPlace LetterBlockPlace(const PrefixIndexEntry& entry);

// A one-letter block the reader can hold at all.
constexpr bool LetterBlockFits(const PrefixIndexEntry& entry) {
  return entry.candidateCount <= MaxLoadedCandidates && entry.textLength <= TextBufferSize;
}

constexpr uint32_t LetterTextOffset(uint32_t i) { return LetterTextSlotSize * i; }

// The soundness rule of what the lookup loads, stated once.
// A prefix names a block by two code letters or one (the two indexes), or the
// empty block by none; no longer prefix has an index entry.
bool PrefixIsSound(const char* prefix);
// A word-making code: a NUL within its bytes, code letters before it.
bool WordMakingCodeIsSound(const char code[WordMakingCodeSize]);
// A suffix record: a NUL within its bytes.
bool SuffixIsSound(const char record[SuffixRecordSize]);

enum class TextFault { None, OffsetOutside, NoNul };
// A candidate's text: its offset inside the texts read and a NUL before
// their end.
TextFault CandidateTextFault(const char* texts, uint32_t textSize, uint64_t textOffset);

// A file taken as a table at all: it holds the fixed regions, and every block
// the two indexes name has its records inside the file. indexes: the file's
// bytes from PairPrefixIndexOffset to FixedRegionsEnd.
constexpr uint32_t PrefixIndexesSize = FixedRegionsEnd - PairPrefixIndexOffset;
bool IndexesFitFile(const unsigned char indexes[PrefixIndexesSize], uint64_t fileSize);

// The rule for a whole loaded block.
bool LoadedBlockIsSound(const char* suffixes, const uint32_t* textOffsets, uint32_t count,
                        const char* texts, uint32_t textSize);

}  // namespace navo::codefind
