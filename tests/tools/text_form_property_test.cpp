// navomb dump then navomb build: the dump's text form held to the table it
// came from, on generated tables, edited and not (a fixed sequence of cases).
#include <gtest/gtest.h>

#include "tests/support/table_properties.h"
#include "tests/support/text_form_round_trip.h"
#include "tools/navomb/table_examine.h"

namespace navo::testing {
namespace {

constexpr int Cases = 150;

TEST(TextFormPropertyTest, BuiltTableComesBackByteForByte) {
  SequenceChoices choices(2107);
  for (int i = 0; i < Cases; ++i) {
    const std::vector<uint8_t> bytes = BuildCodeTable(GeneratedSource(choices)).bytes;
    ASSERT_TRUE(CheckCodeTable(bytes).empty()) << "case " << i;
    ASSERT_EQ(TextFormFault(bytes, true), "") << "case " << i;
  }
}

TEST(TextFormPropertyTest, EverySoundEditedTableComesBackAsItDumps) {
  SequenceChoices choices(2108);
  int tried = 0;  // sound tables whose dump the builder takes
  for (int i = 0; i < Cases; ++i) {
    std::vector<uint8_t> bytes = BuildCodeTable(GeneratedSource(choices)).bytes;
    EditTable(bytes, choices);
    if (CheckCodeTable(bytes).empty() && BuildCodeTable(DumpCodeTable(bytes)).errors.empty())
      ++tried;
    ASSERT_EQ(TextFormFault(bytes, false), "") << "case " << i;
  }
  EXPECT_GT(tried, Cases / 5);
}

}  // namespace
}  // namespace navo::testing
