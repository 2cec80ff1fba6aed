// The properties that hold the code table's three users together: the
// builder, the checker with its dump, and the lookup tool's reader. Shared by
// the unit test (a fixed pseudo-random sequence) and the fuzz target.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tools/navomb/table_source.h"

namespace navo::testing {

// Where the choices of a generated case come from.
class Choices {
 public:
  virtual ~Choices() = default;
  virtual uint32_t Below(uint32_t bound) = 0;  // 0 <= n < bound; 0 for a bound of 0
};

// The same choices on every run and platform, for the unit tests: mt19937 is
// fully specified.
class SequenceChoices final : public Choices {
 public:
  explicit SequenceChoices(uint32_t start) : generator_(start) {}
  uint32_t Below(uint32_t bound) override { return bound == 0 ? 0 : generator_() % bound; }

 private:
  std::mt19937 generator_;
};

// A source that builds: few code letters, so that blocks fill up, texts of
// one to four characters, sometimes a block past 2000 candidates and
// word-making codes of its own.
TableSource GeneratedSource(Choices& choices);

// A few edits of the kinds that leave a table readable or damage it subtly:
// index entries, text offsets and lead byte entries moved a little, bytes of
// records and blocks changed, the file cut short.
void EditTable(std::vector<uint8_t>& bytes, Choices& choices);

// Empty when the property holds, else what breaks it. For a table the
// checker finds sound: every block the reader loads holds the candidates
// the dump gives for it, in the same order, and every word-making code the
// reader reads is the dump's, with no report to the user.
std::string ReaderDisagreement(const std::vector<uint8_t>& bytes);

// Empty when the property holds: the table built from source is sound, its
// dump gives the candidates back (in block order) and builds the same bytes.
std::string RoundTripFault(const TableSource& source);

}  // namespace navo::testing
