// Lengths meant for 96 DPI at the display's scale: times dpi / 96, to the
// nearest pixel, halves away from zero (as MulDiv). Expected values worked
// out by hand: 594 x 1.25 = 742.5 -> 743, 246 x 1.75 = 430.5 -> 431,
// -2 x 1.25 = -2.5 -> -3.
#include "common/display_scale.h"

#include <gtest/gtest.h>

namespace navo::testing {
namespace {

struct ScaleCase {
  int value;
  int at[5];  // at 96, 120, 144, 168 and 192 DPI
};

constexpr int Dpis[5] = {96, 120, 144, 168, 192};

const ScaleCase Cases[] = {
    {0, {0, 0, 0, 0, 0}},
    {1, {1, 1, 2, 2, 2}},               // 1.25, 1.5, 1.75
    {3, {3, 4, 5, 5, 6}},               // 3.75, 4.5, 5.25
    {36, {36, 45, 54, 63, 72}},         // the lookup pane's font
    {594, {594, 743, 891, 1040, 1188}},  // 742.5, 1039.5
    {246, {246, 308, 369, 431, 492}},    // 307.5, 430.5
    {-2, {-2, -3, -3, -4, -4}},          // -2.5, -3.5: away from zero
};

class ScaleToDpiTable : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleToDpiTable, MultipliesByTheScaleAndRoundsHalvesAwayFromZero) {
  const ScaleCase& c = GetParam();
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(ScaleToDpi(c.value, Dpis[i]), c.at[i]) << c.value << " at " << Dpis[i];
}

INSTANTIATE_TEST_SUITE_P(Cases, ScaleToDpiTable, ::testing::ValuesIn(Cases));

TEST(DisplayScaleTest, ADpiTheSystemCannotTellIsTheDefault) {
  EXPECT_EQ(DpiOrDefault(0), 96);
  EXPECT_EQ(DpiOrDefault(-1), 96);
  EXPECT_EQ(DpiOrDefault(144), 144);
  EXPECT_EQ(DpiOrDefault(72), 72);
}

}  // namespace
}  // namespace navo::testing
