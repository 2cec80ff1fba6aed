// A table's dump through its text form and back.
#include "tests/support/text_form_round_trip.h"

#include <algorithm>
#include <sstream>

#include "tools/navomb/table_examine.h"
#include "tools/navomb/text_table.h"

namespace navo::testing {

std::string SourceDifference(const TableSource& expected, const TableSource& got) {
  if (expected.wordMakingCodes != got.wordMakingCodes) return "other word-making codes";
  if (expected.candidates.size() != got.candidates.size())
    return std::to_string(got.candidates.size()) + " candidates, not " +
           std::to_string(expected.candidates.size());
  for (size_t i = 0; i < expected.candidates.size(); ++i)
    if (expected.candidates[i].text != got.candidates[i].text ||
        expected.candidates[i].code != got.candidates[i].code)
      return "candidate " + std::to_string(i) + " differs";
  return "";
}

namespace {

// The candidates in order of their codes, each code's own kept in the order
// the table gives them: that order is what the lookup shows; where an edited
// table holds codes out of the builder's order, the builder writes them in
// its own, which the lookup of any one code does not see.
TableSource ByCode(TableSource source) {
  std::stable_sort(source.candidates.begin(), source.candidates.end(),
                   [](const auto& a, const auto& b) { return a.code < b.code; });
  return source;
}

}  // namespace

std::string TextFormFault(const std::vector<uint8_t>& bytes, bool sameBytes) {
  if (!CheckCodeTable(bytes).empty()) return "";
  const TableSource dump = DumpCodeTable(bytes);
  // What the lookup passes over but no text table holds (an empty text, a
  // code with other than a-z) the builder refuses, and navomb dump says so.
  if (!BuildCodeTable(dump).errors.empty()) return "";
  std::ostringstream written;
  WriteTextTable(dump, written);
  const DecodedText decoded = DecodeTextFile(written.str());
  if (!decoded.errors.empty()) return "the dump is not UTF-8: " + decoded.errors.front().message;
  TableSource read;
  const TableReadResult result = ReadTextTable(decoded.lines, {}, &read);
  if (!result.errors.empty())
    return "the dump does not read: line " + std::to_string(result.errors.front().line) + ": " +
           result.errors.front().message;
  std::string fault = SourceDifference(dump, read);
  if (!fault.empty()) return "the dump reads back with " + fault;
  const BuildResult built = BuildCodeTable(read);
  if (sameBytes && built.bytes != bytes) return "the dump builds other bytes";
  const TableSource again = DumpCodeTable(built.bytes);
  fault = sameBytes ? SourceDifference(dump, again) : SourceDifference(ByCode(dump), ByCode(again));
  return fault.empty() ? "" : "the dump builds a table that dumps with " + fault;
}

}  // namespace navo::testing
