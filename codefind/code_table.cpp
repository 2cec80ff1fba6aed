// Reading navo.mb: opening it, the word-making codes and the candidate blocks.
#include "codefind/code_table.h"

#include <cstring>

#include "codefind/lookup_texts.h"
#include "common/gbk.h"
#include "common/little_endian.h"

namespace navo::codefind {

const char* const OpenFailedText = gbk::OpenFailed;
const char* const ReadErrorText = "Error reading file";
const char* const ReadErrorCaption = "SetFilePointer";
const char* const DamagedTableText = gbk::DamagedTable;
const char* const DamagedTableCaption = "navo.mb";

namespace {

const char TableFileName[] = "navo.mb";

bool IsCodeLetter(char c) { return c >= 'a' && c <= 'z'; }

// Positions the file, telling the user when that fails.
bool PositionAt(CodeTable& table, uint64_t offset) {
  if (offset <= MaxFileOffset && table.file.Seek(uint32_t(offset))) return true;
  table.reports.ShowMessage(ReadErrorText, ReadErrorCaption);
  return false;
}

void ReportDamage(CodeTable& table) {
  table.reports.ShowMessage(DamagedTableText, DamagedTableCaption);
}

// Reads exactly size bytes of a candidate block; a block that the file ends
// inside of is damaged.
bool ReadBlockPart(CodeTable& table, void* buffer, uint32_t size) {
  uint32_t delivered = 0;
  if (table.file.Read(buffer, size, &delivered) && delivered == size) return true;
  ReportDamage(table);
  return false;
}

void ReadIndexEntry(CodeTable& table, uint64_t offset) {
  unsigned char bytes[PrefixIndexEntrySize] = {};
  PositionAt(table, offset);  // on failure the entry stays zero: no block
  uint32_t delivered = 0;
  table.file.Read(bytes, sizeof bytes, &delivered);
  table.entry.blockOffset = ReadU32Le(bytes);
  table.entry.textLength = ReadU32Le(bytes + 4);
  table.entry.candidateCount = ReadU32Le(bytes + 8);
}

bool HasNul(const char* bytes, uint32_t size) { return std::memchr(bytes, 0, size) != nullptr; }

// Every loaded suffix and text must end inside what was read.
bool LoadedBlockIsSound(const CodeTable& table, const char* text, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (!HasNul(table.suffixes + i * SuffixRecordSize, SuffixRecordSize)) return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t offset = table.textOffsets[i];
    if (offset >= table.textSize || !HasNul(text + offset, table.textSize - offset)) return false;
  }
  return true;
}

bool LoadPairBlock(CodeTable& table, const char* prefix, char* text) {
  uint32_t index = 26 * uint32_t(prefix[0] - 'a') + uint32_t(prefix[1] - 'a');
  ReadIndexEntry(table, uint64_t(PairPrefixIndexOffset) + PrefixIndexEntrySize * index);
  const PrefixIndexEntry entry = table.entry;
  if (entry.blockOffset == 0) {
    table.reports.Beep();
    return false;
  }
  const uint64_t n = entry.candidateCount;
  const uint32_t m = n <= MaxLoadedCandidates ? uint32_t(n) : MaxLoadedCandidates;

  if (!PositionAt(table, entry.blockOffset) ||
      !ReadBlockPart(table, table.suffixes, SuffixRecordSize * m))
    return false;
  if (!PositionAt(table, entry.blockOffset + SuffixRecordSize * n) ||
      !ReadBlockPart(table, table.textOffsets, 4 * m))
    return false;
  for (uint32_t i = 0; i < m; ++i) {
    table.textOffsets[i] = ReadU32Le(reinterpret_cast<unsigned char*>(&table.textOffsets[i]));
  }

  uint32_t textSize = entry.textLength;
  if (n > MaxLoadedCandidates) {
    // The text offset of candidate 2000 is the length of the texts before it.
    unsigned char bytes[4] = {};
    if (!PositionAt(table, entry.blockOffset + SuffixRecordSize * n + 4 * MaxLoadedCandidates) ||
        !ReadBlockPart(table, bytes, sizeof bytes))
      return false;
    textSize = ReadU32Le(bytes);
  }
  if (textSize > TextBufferSize) {
    ReportDamage(table);
    return false;
  }
  if (!PositionAt(table, entry.blockOffset + 10 * n) || !ReadBlockPart(table, text, textSize))
    return false;

  table.textSize = textSize;
  if (!LoadedBlockIsSound(table, text, m)) {
    ReportDamage(table);
    return false;
  }
  table.loadedCount = m;
  return true;
}

bool LoadLetterBlock(CodeTable& table, const char* prefix, char* text) {
  uint32_t index = uint32_t(prefix[0] - 'a');
  ReadIndexEntry(table, uint64_t(LetterPrefixIndexOffset) + PrefixIndexEntrySize * index);
  const PrefixIndexEntry entry = table.entry;
  if (entry.blockOffset == 0) return false;
  if (entry.candidateCount > MaxLoadedCandidates || entry.textLength > TextBufferSize) {
    ReportDamage(table);
    return false;
  }
  const uint32_t n = entry.candidateCount;
  // The texts follow the suffixes directly, in fixed 4-byte slots.
  if (!PositionAt(table, entry.blockOffset) ||
      !ReadBlockPart(table, table.suffixes, SuffixRecordSize * n) ||
      !ReadBlockPart(table, text, entry.textLength))
    return false;
  for (uint32_t i = 0; i < n; ++i) table.textOffsets[i] = LetterTextSlotSize * i;

  table.textSize = entry.textLength;
  if (!LoadedBlockIsSound(table, text, n)) {
    ReportDamage(table);
    return false;
  }
  table.loadedCount = n;
  return true;
}

}  // namespace

bool OpenCodeTable(CodeTable& table, const char* systemDirectory) {
  const size_t directoryLength = std::strlen(systemDirectory);
  if (directoryLength + sizeof TableFileName > PathBufferSize)
    return OpenCodeTableFile(table, nullptr);
  char path[PathBufferSize];
  std::memcpy(path, systemDirectory, directoryLength);
  std::memcpy(path + directoryLength, TableFileName, sizeof TableFileName);
  return OpenCodeTableFile(table, path);
}

bool OpenCodeTableFile(CodeTable& table, const char* path) {
  table.path[0] = '\0';
  bool opened = false;
  if (path != nullptr && std::strlen(path) < PathBufferSize) {
    std::memcpy(table.path, path, std::strlen(path) + 1);
    opened = table.file.Open(table.path);
  } else {
    table.file.Close();  // a path that does not fit names no file
  }
  if (!opened) table.reports.ShowMessage(OpenFailedText, nullptr);
  return opened;
}

WordCodeRead ReadWordMakingCode(CodeTable& table, unsigned char lead, unsigned char trail,
                                char code[WordMakingCodeSize]) {
  std::memset(code, 0, WordMakingCodeSize);
  if (!IsGbkCharacter(lead, trail)) return WordCodeRead::ReadFailed;

  unsigned char baseBytes[4] = {};
  uint32_t delivered = 0;
  PositionAt(table, LeadByteTableOffset + 4u * (lead - GbkFirstLeadByte));
  table.file.Read(baseBytes, sizeof baseBytes, &delivered);  // base stays 0 if nothing is read

  const uint64_t record =
      uint64_t(ReadU32Le(baseBytes)) + CharacterRecordSize * (trail - GbkFirstTrailByte);
  PositionAt(table, record);
  // At or past the end of the file nothing is delivered: an empty code.
  if (!table.file.Read(code, WordMakingCodeSize, &delivered)) return WordCodeRead::ReadFailed;

  const void* nul = std::memchr(code, 0, WordMakingCodeSize);
  bool sound = nul != nullptr;
  for (const char* c = code; sound && *c != '\0'; ++c) sound = IsCodeLetter(*c);
  if (!sound) {
    std::memset(code, 0, WordMakingCodeSize);
    ReportDamage(table);
    return WordCodeRead::Damaged;
  }
  return WordCodeRead::Ok;
}

bool LoadCandidateBlock(CodeTable& table, const char* prefix) {
  char* text = table.textBuffer.Lock();
  table.entry = PrefixIndexEntry{};
  table.loadedCount = 0;
  table.textSize = 0;
  if (text == nullptr) return false;

  bool loaded;
  const size_t length = std::strlen(prefix);
  const bool lettersSound = length == 0 || length > 2 ||
                            (IsCodeLetter(prefix[0]) && (length == 1 || IsCodeLetter(prefix[1])));
  if (!lettersSound) {
    ReportDamage(table);
    loaded = false;
  } else if (length == 2) {
    loaded = LoadPairBlock(table, prefix, text);
  } else if (length == 1) {
    loaded = LoadLetterBlock(table, prefix, text);
  } else {
    loaded = true;  // no prefix (the only other length that occurs): an empty block
  }
  if (!loaded) table.loadedCount = 0;
  table.textBuffer.Unlock();
  return loaded;
}

const char* CandidateSuffix(const CodeTable& table, uint32_t i) {
  return table.suffixes + i * SuffixRecordSize;
}

const char* CandidateText(const CodeTable& table, const char* lockedText, uint32_t i) {
  return lockedText + table.textOffsets[i];
}

void CloseCodeTable(CodeTable& table) { table.file.Close(); }

}  // namespace navo::codefind
