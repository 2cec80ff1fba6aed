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
  int sound = 0;
  for (int i = 0; i < Cases; ++i) {
    std::vector<uint8_t> bytes = BuildCodeTable(GeneratedSource(choices)).bytes;
    EditTable(bytes, choices);
    if (CheckCodeTable(bytes).empty()) ++sound;
    ASSERT_EQ(TextFormFault(bytes, false), "") << "case " << i;
  }
  EXPECT_GT(sound, Cases / 5);  // the property is tried on edited sound tables
}

}  // namespace
}  // namespace navo::testing
