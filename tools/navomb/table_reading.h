// What the readers of table texts share: their options, their result, and
// taking one candidate into a table source with every check that needs the
// line it came from.
#pragma once

#include <string>
#include <vector>

#include "tools/navomb/table_source.h"
#include "tools/navomb/text_file.h"

namespace navo {

// text without the spaces and tabs around it.
std::string TrimBlanks(const std::string& text);

struct TableReadOptions {
  bool skipUnencodable = false;  // drop entries whose text GBK cannot hold
};

struct TableReadResult {
  std::vector<LineError> errors;    // the table is not to be built
  std::vector<LineError> warnings;  // the table is built, but the user should know
  size_t skipped = 0;               // entries dropped under skipUnencodable
};

// Converts text (UTF-8) to GBK and checks the candidate as the layout needs
// it: code of 1 to 7 letters a-z, at most 3 bytes of text under a one-letter
// code. Adds it, skips it, or notes an error for the line.
void AddCandidate(size_t line, const std::string& text, const std::string& code,
                  const TableReadOptions& options, TableSource* source, TableReadResult* result);

// The same for a word-making code (0 to 3 letters) of one character.
void AddWordMakingCode(size_t line, const std::string& character, const std::string& code,
                       const TableReadOptions& options, TableSource* source,
                       TableReadResult* result);

}  // namespace navo
