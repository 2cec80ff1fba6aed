// The code table file navo.mb as the lookup tool reads it (its layout in
// table_layout.h). The file is never read whole; every read lands in a
// fixed buffer.
#pragma once

#include <cstdint>

#include "codefind/platform.h"
#include "codefind/table_layout.h"
#include "common/directory_path.h"

namespace navo::codefind {

extern const char* const OpenFailedText;  // no caption of its own
extern const char* const ReadErrorText;   // caption ReadErrorCaption
extern const char* const ReadErrorCaption;
extern const char* const DamagedTableText;  // caption DamagedTableCaption
extern const char* const DamagedTableCaption;

// The one open code table of the lookup tool, with its fixed buffers and the
// candidate block loaded last.
struct CodeTable {
  CodeTable(TableFile& file, Reports& reports, TextBuffer& textBuffer)
      : file(file), reports(reports), textBuffer(textBuffer) {}

  TableFile& file;
  Reports& reports;
  TextBuffer& textBuffer;

  char path[PathBufferSize] = {};
  char suffixes[MaxLoadedCandidates * SuffixRecordSize] = {};
  uint32_t textOffsets[MaxLoadedCandidates] = {};
  // The candidate block of the last successful load: how many candidates may
  // be scanned, and how many bytes of texts were read for them.
  uint32_t loadedCount = 0;
  uint32_t textSize = 0;
};

enum class WordCodeRead {
  Ok,
  ReadFailed,  // the read of the record reported failure; the caller reports it
  Damaged,     // the record holds no proper code; already reported
};

// Opens systemDirectory + "navo.mb". systemDirectory ends with a backslash
// (or is empty, naming the current directory).
bool OpenCodeTable(CodeTable& table, const char* systemDirectory);

// Opens a code table by its whole path (nullptr: a path too long to hold),
// with the same report when that fails.
bool OpenCodeTableFile(CodeTable& table, const char* path);

// The 4-byte word-making code of one character into code (zeroed first).
// lead must lie in 0x81..0xFE and trail in 0x40..0xFF.
WordCodeRead ReadWordMakingCode(CodeTable& table, unsigned char lead, unsigned char trail,
                                char code[WordMakingCodeSize]);

// Loads the candidate block of a prefix of two letters, one letter or none
// (an empty block). Any other prefix names no block: the table is taken as
// damaged, and nothing is read.
bool LoadCandidateBlock(CodeTable& table, const char* prefix);

enum class BlockLoad { Loaded, NoBlock, Failed };

// The load of a prefix of one or two letters for the lookups that walk many
// prefixes: a prefix without block is told apart, without a beep, and an
// index entry that cannot be positioned at fails the load (with its message)
// instead of reading as no block.
BlockLoad LoadCandidateBlockIfAny(CodeTable& table, const char* prefix);

// Candidate i (below loadedCount) of the block loaded last. CandidateText
// takes the locked text buffer.
const char* CandidateSuffix(const CodeTable& table, uint32_t i);
const char* CandidateText(const CodeTable& table, const char* lockedText, uint32_t i);

// The one scan of a loaded block: the first candidate from i = from on whose
// text is text, or loadedCount when none is.
uint32_t NextCandidateWithText(const CodeTable& table, const char* lockedText, const char* text,
                               uint32_t from);

void CloseCodeTable(CodeTable& table);

}  // namespace navo::codefind
