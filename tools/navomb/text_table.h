// The text form of a code table, UTF-8, one entry a line, file order kept:
//   text<TAB>code      a candidate
//   @c<TAB>letters     the word-making code (0 to 3 letters) of character c
//   # ...              a comment
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "tools/navomb/table_source.h"

namespace navo {

struct TextTableOptions {
  bool skipUnencodable = false;  // drop lines whose text GBK cannot hold
};

struct TextTableResult {
  std::vector<std::string> errors;  // "line N: ..."
  size_t skipped = 0;
};

TextTableResult ReadTextTable(std::istream& in, const TextTableOptions& options,
                              TableSource* source);

// Word-making codes first (in GBK order), then the candidates.
void WriteTextTable(const TableSource& source, std::ostream& out);

}  // namespace navo
