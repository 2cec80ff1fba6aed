// Reading a whole navo.mb file back: the checker of every property that the
// lookup relies on, and the dump back to a table source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/navomb/table_source.h"

namespace navo {

struct TableFinding {
  uint64_t offset;   // where the damage is
  std::string what;  // what is wrong there (ASCII)
};

std::vector<TableFinding> CheckCodeTable(const std::vector<uint8_t>& bytes);

// Every candidate (one-letter blocks a..z, then two-letter blocks aa..zz,
// each in block order) and every character with a non-empty word-making
// code. Damaged parts are skipped; run CheckCodeTable to name them.
TableSource DumpCodeTable(const std::vector<uint8_t>& bytes);

}  // namespace navo
