// The UTF-8 text form of a code table, and the display of GBK text.
#include "tools/navomb/text_table.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/common/gbk_text.h"

namespace navo::testing {
namespace {

TableReadResult Read(const std::string& utf8, TableSource* source, TableReadOptions options = {}) {
  return ReadTextTable(DecodeTextFile(utf8).lines, options, source);
}

std::vector<std::string> Messages(const std::vector<LineError>& errors) {
  std::vector<std::string> messages;
  for (const LineError& e : errors) messages.push_back(std::to_string(e.line) + ": " + e.message);
  return messages;
}

TEST(TextTableTest, ReadsCandidatesAndWordMakingCodesInFileOrder) {
  TableSource source;
  TableReadResult result = Read(u8"# comment\n工\taaaa\r\n\n@中\tk\n工人\taaww\n@童\t\n", &source);
  EXPECT_TRUE(result.errors.empty());
  ASSERT_EQ(source.candidates.size(), 2u);
  EXPECT_EQ(source.candidates[0].text, "工");  // GBK
  EXPECT_EQ(source.candidates[0].code, "aaaa");
  EXPECT_EQ(source.candidates[1].text, "工人");
  EXPECT_EQ(source.wordMakingCodes.at("中"), "k");
  EXPECT_EQ(source.wordMakingCodes.at("童"), "");
}

TEST(TextTableTest, ReportsEveryBadLineByNumberWithItsTextInUtf8) {
  TableSource source;
  TableReadResult result = Read(
      u8"工\taaaa\nno "
      u8"tab\n@中国\tk\n\xF0\xA0\x80\x80\tab\na\tb\tc\n工\tAAAA\n工人\tw\n@中\tabcd\n\tab\n",
      &source);
  EXPECT_EQ(Messages(result.errors),
            (std::vector<std::string>{
                "2: expected text<TAB>code",
                u8"3: @ takes one character, not \"中国\"",
                u8"4: text \"\xF0\xA0\x80\x80\" is not in GBK",
                "5: expected text<TAB>code",
                u8"6: code \"AAAA\" of \"工\" is not 1 to 7 letters a-z",
                u8"7: text \"工人\" is longer than the 3 GBK bytes a one-letter code holds",
                u8"8: word-making code \"abcd\" of \"中\" is not 0 to 3 letters a-z",
                "9: empty text",
            }));
  EXPECT_EQ(source.candidates.size(), 1u);
}

TEST(TextTableTest, SkipsTextsOutsideGbkWhenAsked) {
  TableSource source;
  TableReadResult result = Read(u8"\xF0\xA0\x80\x80\tab\n工\tab\n", &source, {true});
  EXPECT_TRUE(result.errors.empty());
  EXPECT_EQ(result.skipped, 1u);
  EXPECT_EQ(source.candidates.size(), 1u);
}

TEST(TextTableTest, WritesWhatItReads) {
  TableSource source;
  // Control characters too: written as they are, not as \xHH.
  source.candidates = {
      {"工", "aaaa"}, {"工人", "aaww"}, {"]\x1C]", "ff"}, {"\x7F\r\xCD\xAF", "bb"}};
  source.wordMakingCodes = {{"中", "k"}};
  std::ostringstream out;
  WriteTextTable(source, out);
  TableSource again;
  EXPECT_TRUE(Read(out.str(), &again).errors.empty());
  ASSERT_EQ(again.candidates.size(), 4u);
  EXPECT_EQ(again.candidates[1].text, "工人");
  EXPECT_EQ(again.candidates[2].text, "]\x1C]");
  EXPECT_EQ(again.candidates[3].text, "\x7F\r\xCD\xAF");
  EXPECT_EQ(again.wordMakingCodes, source.wordMakingCodes);
}

TEST(GbkTextTest, ShowsGbkAsUtf8AndEverythingElseEscaped) {
  EXPECT_EQ(GbkToDisplay("工 a"), u8"工 a");
  EXPECT_EQ(GbkToDisplay("\x81\x7F\xCD\xAF"), u8"\\x81\\x7F童");
  EXPECT_EQ(GbkToDisplay("\xFE\xFF\t\xCD"), "\\xFE\\xFF\\x09\\xCD");
}

TEST(GbkTextTest, FieldDisplayEscapesTheSeparatorsUnlessTheyAreTrailBytes) {
  const struct {
    const char* gbk;
    const char* shown;
  } cases[] = {
      {"\xA1|\xCD\xAF", u8"\\xA1\\x7C童"},   // 0xA1 0x7C is no GBK character
      {"\xA1/\xCD\xAF", u8"\\xA1\\x2F童"},   // nor is 0xA1 0x2F
      {"\xA1\\\xCD\xAF", u8"\\xA1\\x5C童"},  // nor 0xA1 0x5C
      {"a|b/c\\d", "a\\x7Cb\\x2Fc\\x5Cd"},
      {"\x81\x7C", u8"\u4E85"},  // 0x7C as the trail byte of a GBK character: no separator
      {"Error reading file", "Error reading file"},
  };
  for (const auto& c : cases) EXPECT_EQ(GbkToFieldDisplay(c.gbk), c.shown) << c.shown;
}

}  // namespace
}  // namespace navo::testing
