// A code table made ready for the engines' text formats: its texts in
// UTF-8, checked to be texts those formats can hold, and the word-code rule
// of the table as each engine writes it.
#pragma once

#include <string>
#include <vector>

#include "tools/navomb/table_source.h"

namespace navo {

struct ExportEntry {
  std::string text;  // UTF-8
  std::string code;
};

struct ExportTable {
  std::vector<ExportEntry> candidates;       // in the table's order
  std::vector<ExportEntry> wordMakingCodes;  // every character's, empty ones too
  std::vector<std::string> errors;           // what no engine can hold
};

// From a dump of the table (DumpCodeTable).
ExportTable PrepareExport(const TableSource& source);

// The word-code rule (2 characters: both word-making codes whole; 3: the
// first letters of the first two, the third's whole; 4 or more: the first
// letters of the 1st, 2nd, 3rd and last) in the engines' notations. A
// letter beyond a character's word-making code is left out by both.
struct EncoderRule {
  const char* lengths;  // Rime: the rule's key and value
  const char* rimeFormula;
  const char* fcitx5Rule;
};
extern const EncoderRule WordCodeRules[3];

}  // namespace navo
