// The records of navo.mb read and written by their layout, and the soundness rule.
#include "codefind/table_layout.h"

#include <cstddef>

#include "common/little_endian.h"

namespace navo::codefind {

namespace {

// Whether a NUL lies within the first size bytes. A plain loop on purpose:
// the records and texts scanned hold a few bytes each, where a library's
// word-at-a-time search costs more than it saves (measured in the page's
// module: about half the lookups a second with wasi-libc's memchr).
bool HoldsNul(const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] == '\0') return true;
  return false;
}

}  // namespace

PrefixIndexEntry DecodePrefixIndexEntry(const unsigned char bytes[PrefixIndexEntrySize]) {
  return {ReadU32Le(bytes), ReadU32Le(bytes + TextLengthField),
          ReadU32Le(bytes + CandidateCountField)};
}

void EncodePrefixIndexEntry(const PrefixIndexEntry& entry,
                            unsigned char bytes[PrefixIndexEntrySize]) {
  WriteU32Le(bytes, entry.blockOffset);
  WriteU32Le(bytes + TextLengthField, entry.textLength);
  WriteU32Le(bytes + CandidateCountField, entry.candidateCount);
}

BlockPlace PairBlockPlace(const PrefixIndexEntry& entry) {
  const uint64_t n = entry.candidateCount;
  BlockPlace place = {};
  place.suffixesAt = entry.blockOffset;
  place.textOffsetsAt = place.suffixesAt + SuffixRecordSize * n;
  place.textsAt = place.textOffsetsAt + TextOffsetSize * n;
  place.loadedCount = n <= MaxLoadedCandidates ? uint32_t(n) : MaxLoadedCandidates;
  // The text offset of candidate 2000 is the length of the texts before it.
  if (n > MaxLoadedCandidates)
    place.textSizeOffsetAt = place.textOffsetsAt + TextOffsetSize * uint64_t(MaxLoadedCandidates);
  return place;
}

BlockPlace LetterBlockPlace(const PrefixIndexEntry& entry) {
  const uint64_t n = entry.candidateCount;
  BlockPlace place = {};
  place.suffixesAt = entry.blockOffset;
  place.textsAt = place.suffixesAt + SuffixRecordSize * n;
  place.textOffsetsAt = place.textsAt;  // no offsets: the texts lie in slots
  place.loadedCount = n <= MaxLoadedCandidates ? uint32_t(n) : MaxLoadedCandidates;
  return place;
}

bool IndexesFitFile(const unsigned char indexes[PrefixIndexesSize], uint64_t fileSize) {
  if (fileSize < FixedRegionsEnd) return false;
  for (uint32_t i = 0; i < PairPrefixCount + CodeLetterCount; ++i) {
    const bool pair = i < PairPrefixCount;
    const uint32_t at = pair ? PairIndexEntryOffset(i) : LetterIndexEntryOffset(i - PairPrefixCount);
    const PrefixIndexEntry entry = DecodePrefixIndexEntry(indexes + (at - PairPrefixIndexOffset));
    if (entry.blockOffset == 0) continue;
    const BlockPlace place = pair ? PairBlockPlace(entry) : LetterBlockPlace(entry);
    if (place.textsAt > fileSize) return false;
  }
  return true;
}

bool PrefixIsSound(const char* prefix) {
  uint32_t length = 0;
  while (length <= MaxPrefixLetters && prefix[length] != '\0') {
    if (!IsCodeLetter(prefix[length])) return false;
    ++length;
  }
  return length <= MaxPrefixLetters;
}

bool WordMakingCodeIsSound(const char code[WordMakingCodeSize]) {
  if (!HoldsNul(code, WordMakingCodeSize)) return false;
  for (const char* c = code; *c != '\0'; ++c)
    if (!IsCodeLetter(*c)) return false;
  return true;
}

bool SuffixIsSound(const char record[SuffixRecordSize]) {
  return HoldsNul(record, SuffixRecordSize);
}

TextFault CandidateTextFault(const char* texts, uint32_t textSize, uint64_t textOffset) {
  if (textOffset >= textSize) return TextFault::OffsetOutside;
  if (!HoldsNul(texts + textOffset, textSize - textOffset)) return TextFault::NoNul;
  return TextFault::None;
}

bool LoadedBlockIsSound(const char* suffixes, const uint32_t* textOffsets, uint32_t count,
                        const char* texts, uint32_t textSize) {
  for (uint32_t i = 0; i < count; ++i)
    if (!SuffixIsSound(suffixes + SuffixRecordSize * i)) return false;
  for (uint32_t i = 0; i < count; ++i)
    if (CandidateTextFault(texts, textSize, textOffsets[i]) != TextFault::None) return false;
  return true;
}

}  // namespace navo::codefind
