// The font of the programs' own Chinese texts: the named font while it holds
// every glyph of the text, otherwise 宋体 (GBK CB CE CC E5) at the same size.
#include "common/text_font.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace navo::testing {
namespace {

const char System[] = "System";
const char Xinwei[] = "\xBB\xAA\xCE\xC4\xD0\xC2\xCE\xBA";  // 华文新魏
const char Songti[] = "\xCB\xCE\xCC\xE5";                  // 宋体

struct FontCase {
  const char* what;
  TextFont named;
  uint16_t glyphs[4];
  size_t count;
  const char* face;  // chosen
  int height;
};

// Glyph indices as GetGlyphIndices gives them, 0xFFFF for a missing glyph.
const FontCase Cases[] = {
    {"every glyph held: the template's font", {System, -14}, {36, 512, 7, 90}, 4, System, -14},
    {"one glyph missing: 宋体 at the same size", {System, -14}, {36, 0xFFFF, 7, 90}, 4, Songti, -14},
    {"only the last one missing", {Xinwei, -22}, {1, 2, 3, 0xFFFF}, 4, Songti, -22},
    {"all missing, a height in cell units", {System, 16}, {0xFFFF, 0xFFFF}, 2, Songti, 16},
    {"glyph 0 is a glyph, not a mark", {Xinwei, -22}, {0, 0}, 2, Xinwei, -22},
    {"0xFFFE is a glyph too", {System, -14}, {0xFFFE}, 1, System, -14},
    {"a missing glyph past the count is not the text's", {System, -14}, {5, 0xFFFF}, 1, System, -14},
    {"no glyphs known: unchanged", {System, -14}, {}, 0, System, -14},
    {"宋体 lacking one stays 宋体", {Songti, 36}, {0xFFFF}, 1, Songti, 36},
};

class TextFontChoice : public ::testing::TestWithParam<FontCase> {};

TEST_P(TextFontChoice, KeepsTheNamedFontOrFallsBackAtTheSameSize) {
  const FontCase& c = GetParam();
  const TextFont chosen = ChooseTextFont(c.named, c.glyphs, c.count);
  EXPECT_STREQ(chosen.face, c.face) << c.what;
  EXPECT_EQ(chosen.height, c.height) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, TextFontChoice, ::testing::ValuesIn(Cases));

}  // namespace
}  // namespace navo::testing
