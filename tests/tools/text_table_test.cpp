// The UTF-8 text form of a code table, and the display of GBK text.
#include "tools/navomb/text_table.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/text_form_round_trip.h"
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

const std::string Header = "# navo.mb code table: text<TAB>code; @character<TAB>word-making code\n";

std::string Written(const TableSource& source) {
  std::ostringstream out;
  WriteTextTable(source, out);
  return out.str();
}

TEST(TextTableTest, WritesEveryTextSoThatItReadsBackAsTheSameBytes) {
  const struct {
    const char* name;
    std::string gbk;
    const char* line;  // worked out by hand: U+F0000 + v is F3, B0+(v>>12), 80+(v>>6&3F), 80+(v&3F)
  } cases[] = {
      {"GBK characters as themselves", "\xB9\xA4\xC8\xCB", u8"工人"},
      {"a backslash as itself", "\\x41", "\\x41"},
      {"9E 30, no character: U+F9E30", "\x9E\x30", "\xF3\xB9\xB8\xB0"},
      {"81 7F, no GBK character: U+F817F", "\x81\x7F", "\xF3\xB8\x85\xBF"},
      {"a lone lead byte at the end: U+F00CD", "\xCD\xAF\xCD", u8"童\xF3\xB0\x83\x8D"},
      {"a tab: U+F0009", "a\tz", "a\xF3\xB0\x80\x89z"},
      {"a space, DEL and CR", " \x7F\r", "\xF3\xB0\x80\xA0\xF3\xB0\x81\xBF\xF3\xB0\x80\x8D"},
      {"a first # (a comment): U+F0023", "#q#", "\xF3\xB0\x80\xA3q#"},
      {"a first @ (a word-making code): U+F0040", "@x@", "\xF3\xB0\x81\x80x@"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TableSource source;
    source.candidates = {{c.gbk, "ab"}};
    EXPECT_EQ(Written(source), Header + c.line + "\tab\n");
    TableSource again;
    EXPECT_EQ(Messages(Read(Written(source), &again).errors), std::vector<std::string>{});
    ASSERT_EQ(again.candidates.size(), 1u);
    EXPECT_EQ(again.candidates[0].text, c.gbk);
  }
}

TEST(TextTableTest, WritesWordMakingCodesOfCharactersOutsideGbk) {
  TableSource source;
  source.wordMakingCodes = {{"\x81\x7F", "ab"}, {"\xD6\xD0", ""}};
  EXPECT_EQ(Written(source), Header + "@\xF3\xB8\x85\xBF\tab\n" + u8"@中\t\n");
  TableSource again;
  EXPECT_TRUE(Read(Written(source), &again).errors.empty());
  EXPECT_EQ(again.wordMakingCodes, source.wordMakingCodes);
}

TEST(TextTableTest, TakesAWordMakingCodeOnlyForOneCharacter) {
  TableSource source;
  // 9E 2A steps as two single bytes: no character for the table to hold a code of.
  TableReadResult result = Read("@\xF3\xB9\xB8\xAA\t\n@A\tab\n", &source);
  EXPECT_EQ(Messages(result.errors),
            (std::vector<std::string>{"1: @ takes one character, not \"\xF3\xB9\xB8\xAA\"",
                                      "2: @ takes one character, not \"A\""}));
  EXPECT_TRUE(source.wordMakingCodes.empty());
}

// Inputs the fuzz target found (tests/fuzz/corpus/text_table): each is now
// refused for its line, or what it writes reads back as the same bytes.
TEST(TextTableTest, FuzzInputsReadBackWhatTheyWriteOrAreRefused) {
  const struct {
    const char* name;
    std::string file;
    bool skipUnencodable;  // as the fuzz target chose it: for files of odd length
    std::vector<std::string> errors;
    const char* written;  // the candidate's line, worked out by hand
  } cases[] = {
      {"word-making-code-of-no-character-utf16be: @ and 9E 2A",
       std::string("\xFE\xFF\0\n\0@\xDB\xA7\xDE*\0\t\0\n\xA7\xDE\xC4\0\t\t\xC4\0\n", 23),
       true,
       {"2: @ takes one character, not \"\xF3\xB9\xB8\xAA\""},
       ""},
      {"word-making-code-of-letter-and-lone-lead: @ and 7A C8",
       "@\xF3\xB7\xAB\x88\t",
       false,
       {"1: @ takes one character, not \"\xF3\xB7\xAB\x88\""},
       ""},
      {"text-letter-and-lone-lead: 79 C0 under a one-letter code",
       "\xF3\xB7\xA7\x80\th",
       false,
       {},
       "y\xF3\xB0\x83\x80\th"},
      {"text-lone-lead-between-broken-lines: 63 79 C8",
       "#\x88\t\nc\xF3\xB7\xA7\x88\tdb\n\xC0\xD0`\xC0",
       true,
       {},
       "cy\xF3\xB0\x83\x88\tdb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TableSource source;
    EXPECT_EQ(Messages(Read(c.file, &source, {c.skipUnencodable}).errors), c.errors);
    if (!c.errors.empty()) continue;
    EXPECT_EQ(Written(source), Header + c.written + "\n");
    TableSource again;
    EXPECT_TRUE(Read(Written(source), &again).errors.empty());
    EXPECT_EQ(SourceDifference(source, again), "");
  }
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
