// The text form of a table as navomb dump writes it and navomb build reads it
// back, held to the table it came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/navomb/table_source.h"

namespace navo::testing {

// Empty when both hold the same candidates in the same order and the same
// word-making codes, else the first difference.
std::string SourceDifference(const TableSource& expected, const TableSource& got);

// Empty when the property holds, else what breaks it. For a table the
// checker finds sound and whose dump the builder takes (no empty text, no
// code with other than a-z, which no text table holds): its dump, written as
// a text table, reads back without error as the same source and builds into
// a table that dumps the same candidates, each code's in the same order (an
// edited table may hold codes out of the builder's order); with sameBytes (a
// table the builder made), into the same bytes.
std::string TextFormFault(const std::vector<uint8_t>& bytes, bool sameBytes);

}  // namespace navo::testing
