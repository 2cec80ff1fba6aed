// Rime dictionaries (X.dict.yaml): a YAML header ended by a line "...", then
// one entry a line, its columns separated by tabs in the order that the
// header's "columns:" list gives (text, code, weight when it gives none).
// Only the text and the code of an entry are taken, in file order; weights
// and stems are not needed by navo.mb (the word-making codes of a navo.mb
// table come from the header list "navo_word_making_codes:", items
// "character code", which navomb export writes and Rime passes over).
// Lines starting with "#" are comments until a line "# no comment".
#pragma once

#include <vector>

#include "tools/navomb/table_reading.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_file.h"

namespace navo {

// The names under "import_tables:" and the line of each.
using RimeImports = std::vector<TextLine>;

// Reads one file's entries; the tables it imports are the caller's to read.
TableReadResult ReadRimeDictionary(const std::vector<TextLine>& lines,
                                   const TableReadOptions& options, TableSource* source,
                                   RimeImports* imports);

}  // namespace navo
