// The UTF-8 text form of a code table.
#include "tools/navomb/text_table.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/common/gbk_text.h"

namespace navo::testing {
namespace {

TEST(TextTableTest, ReadsCandidatesAndWordMakingCodesInFileOrder) {
  std::istringstream in(u8"# comment\n工\taaaa\r\n\n@中\tk\n工人\taaww\n@童\t\n");
  TableSource source;
  TextTableResult result = ReadTextTable(in, {}, &source);
  EXPECT_TRUE(result.errors.empty());
  ASSERT_EQ(source.candidates.size(), 2u);
  EXPECT_EQ(source.candidates[0].text, "工");  // GBK
  EXPECT_EQ(source.candidates[0].code, "aaaa");
  EXPECT_EQ(source.candidates[1].text, "工人");
  EXPECT_EQ(source.wordMakingCodes.at("中"), "k");
  EXPECT_EQ(source.wordMakingCodes.at("童"), "");
}

TEST(TextTableTest, ReportsBadLinesByNumber) {
  std::istringstream in(u8"工\taaaa\nno tab\n@中国\tk\n\xF0\x9F\x98\x80\tab\na\tb\tc\n");
  TableSource source;
  TextTableResult result = ReadTextTable(in, {}, &source);
  EXPECT_EQ(result.errors, (std::vector<std::string>{
                               "line 2: expected text<TAB>code", "line 3: @ takes one character",
                               "line 4: text is not GBK", "line 5: expected text<TAB>code"}));
}

TEST(TextTableTest, SkipsTextsOutsideGbkWhenAsked) {
  std::istringstream in(u8"\xF0\x9F\x98\x80\tab\n工\tab\n");
  TableSource source;
  TextTableResult result = ReadTextTable(in, {true}, &source);
  EXPECT_TRUE(result.errors.empty());
  EXPECT_EQ(result.skipped, 1u);
  EXPECT_EQ(source.candidates.size(), 1u);
}

TEST(TextTableTest, WritesWhatItReads) {
  TableSource source;
  source.candidates = {{"工", "aaaa"}, {"工人", "aaww"}};
  source.wordMakingCodes = {{"中", "k"}};
  std::ostringstream out;
  WriteTextTable(source, out);
  std::istringstream in(out.str());
  TableSource again;
  EXPECT_TRUE(ReadTextTable(in, {}, &again).errors.empty());
  EXPECT_EQ(again.candidates.size(), 2u);
  EXPECT_EQ(again.candidates[1].text, "工人");
  EXPECT_EQ(again.wordMakingCodes, source.wordMakingCodes);
}

TEST(GbkTextTest, ShowsGbkAsUtf8AndEverythingElseEscaped) {
  EXPECT_EQ(GbkToDisplay("工 a"), u8"工 a");
  EXPECT_EQ(GbkToDisplay("\x81\x7F\xCD\xAF"), u8"\\x81\\x7F童");
  EXPECT_EQ(GbkToDisplay("\xFE\xFF\t\xCD"), "\\xFE\\xFF\\x09\\xCD");
}

}  // namespace
}  // namespace navo::testing
