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

// *positioned tells whether the entry could be positioned at; when it could
// not, the entry stays zero: no block.
PrefixIndexEntry ReadIndexEntry(CodeTable& table, uint64_t offset, bool* positioned) {
  unsigned char bytes[PrefixIndexEntrySize] = {};
  *positioned = PositionAt(table, offset);
  uint32_t delivered = 0;
  table.file.Read(bytes, sizeof bytes, &delivered);
  return DecodePrefixIndexEntry(bytes);
}

bool LoadedBlockIsSound(const CodeTable& table, const char* text, uint32_t count) {
  return codefind::LoadedBlockIsSound(table.suffixes, table.textOffsets, count, text,
                                      table.textSize);
}

// The index entry of a prefix of one or two letters.
PrefixIndexEntry ReadPrefixEntry(CodeTable& table, const char* prefix, bool* positioned) {
  if (prefix[1] == '\0')
    return ReadIndexEntry(table, LetterIndexEntryOffset(uint32_t(prefix[0] - 'a')), positioned);
  const uint32_t pair = CodeLetterCount * uint32_t(prefix[0] - 'a') + uint32_t(prefix[1] - 'a');
  return ReadIndexEntry(table, PairIndexEntryOffset(pair), positioned);
}

bool LoadPairBlock(CodeTable& table, const PrefixIndexEntry& entry, char* text) {
  const BlockPlace place = PairBlockPlace(entry);
  const uint32_t m = place.loadedCount;

  if (!PositionAt(table, place.suffixesAt) ||
      !ReadBlockPart(table, table.suffixes, SuffixRecordSize * m))
    return false;
  if (!PositionAt(table, place.textOffsetsAt) ||
      !ReadBlockPart(table, table.textOffsets, TextOffsetSize * m))
    return false;
  for (uint32_t i = 0; i < m; ++i) {
    table.textOffsets[i] = ReadU32Le(reinterpret_cast<unsigned char*>(&table.textOffsets[i]));
  }

  uint32_t textSize = entry.textLength;
  if (place.textSizeOffsetAt != 0) {
    unsigned char bytes[TextOffsetSize] = {};
    if (!PositionAt(table, place.textSizeOffsetAt) || !ReadBlockPart(table, bytes, sizeof bytes))
      return false;
    textSize = ReadU32Le(bytes);
  }
  if (textSize > TextBufferSize) {
    ReportDamage(table);
    return false;
  }
  if (!PositionAt(table, place.textsAt) || !ReadBlockPart(table, text, textSize)) return false;

  table.textSize = textSize;
  if (!LoadedBlockIsSound(table, text, m)) {
    ReportDamage(table);
    return false;
  }
  table.loadedCount = m;
  return true;
}

bool LoadLetterBlock(CodeTable& table, const PrefixIndexEntry& entry, char* text) {
  if (!LetterBlockFits(entry)) {
    ReportDamage(table);
    return false;
  }
  const BlockPlace place = LetterBlockPlace(entry);
  const uint32_t n = place.loadedCount;
  // The texts follow the suffixes directly: one read after the other.
  if (!PositionAt(table, place.suffixesAt) ||
      !ReadBlockPart(table, table.suffixes, SuffixRecordSize * n) ||
      !ReadBlockPart(table, text, entry.textLength))
    return false;
  for (uint32_t i = 0; i < n; ++i) table.textOffsets[i] = LetterTextOffset(i);

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

  unsigned char baseBytes[LeadByteEntrySize] = {};
  uint32_t delivered = 0;
  PositionAt(table, LeadByteEntryOffset(lead));
  table.file.Read(baseBytes, sizeof baseBytes, &delivered);  // base stays 0 if nothing is read

  PositionAt(table, CharacterRecordOffset(ReadU32Le(baseBytes), trail));
  // At or past the end of the file nothing is delivered: an empty code.
  if (!table.file.Read(code, WordMakingCodeSize, &delivered)) return WordCodeRead::ReadFailed;

  if (!WordMakingCodeIsSound(code)) {
    std::memset(code, 0, WordMakingCodeSize);
    ReportDamage(table);
    return WordCodeRead::Damaged;
  }
  return WordCodeRead::Ok;
}

namespace {

// The one load of both: the window's, and the quiet one of the lookups that
// walk many prefixes.
BlockLoad LoadBlock(CodeTable& table, const char* prefix, bool quiet) {
  char* text = table.textBuffer.Lock();
  table.loadedCount = 0;
  table.textSize = 0;
  if (text == nullptr) return BlockLoad::Failed;

  BlockLoad load = BlockLoad::Loaded;  // no prefix: an empty block
  const size_t length = strnlen(prefix, MaxPrefixLetters + 1);
  if (!PrefixIsSound(prefix)) {
    ReportDamage(table);
    load = BlockLoad::Failed;
  } else if (length > 0) {
    bool positioned;
    const PrefixIndexEntry entry = ReadPrefixEntry(table, prefix, &positioned);
    if (quiet && !positioned) {
      load = BlockLoad::Failed;
    } else if (entry.blockOffset == 0) {
      if (length == 2 && !quiet) table.reports.Beep();
      load = BlockLoad::NoBlock;
    } else {
      const bool loaded =
          length == 2 ? LoadPairBlock(table, entry, text) : LoadLetterBlock(table, entry, text);
      load = loaded ? BlockLoad::Loaded : BlockLoad::Failed;
    }
  }
  if (load != BlockLoad::Loaded) table.loadedCount = 0;
  table.textBuffer.Unlock();
  return load;
}

}  // namespace

bool LoadCandidateBlock(CodeTable& table, const char* prefix) {
  return LoadBlock(table, prefix, false) == BlockLoad::Loaded;
}

BlockLoad LoadCandidateBlockIfAny(CodeTable& table, const char* prefix) {
  return LoadBlock(table, prefix, true);
}

const char* CandidateSuffix(const CodeTable& table, uint32_t i) {
  return table.suffixes + i * SuffixRecordSize;
}

const char* CandidateText(const CodeTable& table, const char* lockedText, uint32_t i) {
  return lockedText + table.textOffsets[i];
}

uint32_t NextCandidateWithText(const CodeTable& table, const char* lockedText, const char* text,
                               uint32_t from) {
  uint32_t i = from;
  while (i < table.loadedCount && std::strcmp(CandidateText(table, lockedText, i), text) != 0) ++i;
  return i;
}

void CloseCodeTable(CodeTable& table) { table.file.Close(); }

}  // namespace navo::codefind
