// The text form of a code table, one entry a line, file order kept:
//   text<TAB>code      a candidate
//   @c<TAB>letters     the word-making code (0 to 3 letters) of character c
//   # ...              a comment
// Bytes of a text that are no GBK character: code points U+F0000 plus their
// value (tools/common/gbk_text.h).
#pragma once

#include <ostream>
#include <vector>

#include "tools/navomb/table_reading.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_file.h"

namespace navo {

TableReadResult ReadTextTable(const std::vector<TextLine>& lines, const TableReadOptions& options,
                              TableSource* source);

// Word-making codes first (in GBK order), then the candidates; UTF-8, with
// the bytes that are no character as the reader takes them (U+F0000 plus
// their value), so that what it writes reads back as the same bytes.
void WriteTextTable(const TableSource& source, std::ostream& out);

}  // namespace navo
