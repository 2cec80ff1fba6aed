// What every reader of a table text promises of its messages: each names a
// line of the file (0: the file itself) in words the user can read.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "tools/common/utf8_text.h"
#include "tools/navomb/table_reading.h"
#include "tools/navomb/text_file.h"

namespace navo::fuzzing {

inline void CheckMessages(const char* reader, const DecodedText& decoded,
                          const TableReadResult& read) {
  const size_t lines = decoded.lines.size() + decoded.errors.size();
  for (const auto* list : {&read.errors, &read.warnings})
    for (const LineError& error : *list)
      if (error.message.empty() || !IsUtf8(error.message) || error.line > lines) {
        std::fprintf(stderr, "%s: message of line %zu: %s\n", reader, error.line,
                     error.message.c_str());
        std::abort();
      }
}

}  // namespace navo::fuzzing
