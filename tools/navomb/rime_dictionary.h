// Rime dictionaries (X.dict.yaml): a YAML header ended by a line "...", then
// one entry a line, its columns separated by tabs in the order that the
// header's "columns:" list gives (text, code, weight when it gives none).
// Only the text and the code of an entry are taken, in file order; weights
// and stems are not needed by navo.mb. Lines starting with "#" are comments
// until a line "# no comment".
#pragma once

#include <vector>

#include "tools/navomb/table_reading.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_file.h"

namespace navo {

// Tables named under "import_tables:" are not read; a warning names them.
TableReadResult ReadRimeDictionary(const std::vector<TextLine>& lines,
                                   const TableReadOptions& options, TableSource* source);

}  // namespace navo
