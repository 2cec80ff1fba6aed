// A code table built from a few candidates and written to a file, as the
// end-to-end drivers put one where a program will read it.
#pragma once

#include <cstdio>

#include "tools/navomb/table_source.h"

namespace navo::testing {

// Prints "table PATH, N bytes"; 0 when written, 1 when not.
inline int WriteTable(const TableSource& source, const char* path) {
  const BuildResult built = BuildCodeTable(source);
  FILE* file = std::fopen(path, "wb");
  if (!file || !built.errors.empty()) {
    if (file) std::fclose(file);
    return std::puts("cannot write the table"), 1;
  }
  const bool written =
      std::fwrite(built.bytes.data(), 1, built.bytes.size(), file) == built.bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return std::puts("cannot write the table"), 1;
  std::printf("table %s, %u bytes\n", path, unsigned(built.bytes.size()));
  return 0;
}

}  // namespace navo::testing
