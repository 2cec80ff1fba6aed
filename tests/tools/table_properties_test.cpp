// The builder, the checker with its dump and the reader held together on
// generated tables, edited and not: a fixed pseudo-random sequence of cases.
#include "tests/support/table_properties.h"

#include <gtest/gtest.h>

#include "tools/navomb/table_examine.h"

namespace navo::testing {
namespace {

constexpr int Cases = 150;

TEST(TablePropertyTest, BuiltTableIsSoundAndDumpsBackToItsSource) {
  SequenceChoices choices(1207);
  for (int i = 0; i < Cases; ++i) {
    const TableSource source = GeneratedSource(choices);
    const std::string fault = RoundTripFault(source);
    ASSERT_EQ(fault, "") << "case " << i << ", " << source.candidates.size() << " candidates";
  }
}

TEST(TablePropertyTest, ReaderAndDumpAgreeOnEveryTableTheCheckerFindsSound) {
  SequenceChoices choices(1208);
  int sound = 0;
  for (int i = 0; i < Cases; ++i) {
    std::vector<uint8_t> bytes = BuildCodeTable(GeneratedSource(choices)).bytes;
    EditTable(bytes, choices);
    if (CheckCodeTable(bytes).empty()) ++sound;
    const std::string fault = ReaderDisagreement(bytes);
    ASSERT_EQ(fault, "") << "case " << i;
  }
  // Both kinds occur, so that the property is tried on edited sound tables.
  EXPECT_GT(sound, Cases / 5);
  EXPECT_LT(sound, Cases);
}

}  // namespace
}  // namespace navo::testing
