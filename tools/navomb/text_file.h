// Text files as people save them: UTF-8 with or without a byte-order mark,
// UTF-16 little- or big-endian with one; LF or CRLF line ends. What the
// readers of tables see is numbered lines of well-formed UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace navo {

struct TextLine {
  size_t number;     // counted from 1
  std::string text;  // UTF-8, without its line end
};

// A fault of one line of a file (line 0: of the file as a whole), in words
// for the user, its texts in UTF-8.
struct LineError {
  size_t line;
  std::string message;
};

struct DecodedText {
  std::vector<TextLine> lines;    // every line that decodes, in file order
  std::vector<LineError> errors;  // lines that do not, and what is wrong with them
};

DecodedText DecodeTextFile(const std::string& bytes);

}  // namespace navo
