// The word-code rule and the lookup of one character's codes.
#include "codefind/code_lookup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/support/table_fixture.h"

namespace navo::testing {

using namespace navo::codefind;
namespace {

using Events = std::vector<std::string>;

class LookupTest : public TableTest {
 protected:
  // Succeeds and gives the codes string, or "FAILED".
  std::string Lookup(const char* typed) {
    char codes[CodesStringSize];
    std::memset(codes, '?', sizeof codes);
    if (!LookupCharacterCodes(table, typed, codes)) return "FAILED";
    return codes;
  }
  std::string WordCode(const char* word) {
    char code[WordCodeSize];
    if (!DeriveWordCode(table, word, code)) return "FAILED";
    return code;
  }
  TableSource source;
};

TEST_F(LookupTest, CodesOfTheCharacterUnderItsPrefixInBlockOrder) {
  source.wordMakingCodes["童"] = "ujf";
  source.wordMakingCodes["工"] = "ab";
  source.candidates = {{"式", "abcd"}, {"工", "abcd"}, {"工人", "ab"},
                       {"工", "abc"},  {"工", "aaaa"}, {"工", "ab"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "abcd  abc  ab");
  EXPECT_EQ(Lookup("工"), "abcd  abc  ab");  // the same again
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(LookupTest, OneCodeWithEmptySuffixIsThePrefixAlone) {
  source.candidates = {{"工", "ab"}, {"童", "ujff"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "ab");
}

TEST_F(LookupTest, CharacterAbsentFromItsBlockHasEmptyCodes) {
  source.wordMakingCodes["戈"] = "ab";
  source.candidates = {{"工", "abc"}, {"戈戈", "abab"}, {"童", "ujff"}};
  UseTable(source);
  EXPECT_EQ(Lookup("戈"), "");
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(LookupTest, CharacterWithoutCodeIsLookedUpUnderThePrefixOfTheSampleCharacter) {
  source.candidates = {{"童", "ujff"}, {"工", "ujx"}};  // 工 has no code of its own...
  source.wordMakingCodes["工"] = "";
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "ujx");  // ...so it is found under "uj"
}

TEST_F(LookupTest, OneLetterCodesMakeTheirPrefixWithTheSampleCharacter) {
  source.wordMakingCodes["工"] = "a";
  source.wordMakingCodes["童"] = "ujf";
  source.candidates = {{"工", "auq"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "auq");

  ForgetCalls();
  source.wordMakingCodes["童"] = "u";
  source.wordMakingCodes["工"] = "";
  source.candidates = {{"工", "u"}, {"童", "u"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "u");  // one-letter prefix, its letter block
}

TEST_F(LookupTest, BothCodesEmptyIsAnEmptyPrefixWithNoCodes) {
  source.wordMakingCodes["童"] = "";
  source.wordMakingCodes["工"] = "";
  source.candidates = {{"工", "u"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "");
  EXPECT_EQ(file.ReadCount(), 4u);  // the two word-making codes only
}

TEST_F(LookupTest, WordsBeginningWithTheCharacterNeverContribute) {
  source.candidates = {{"工人", "abcd"}, {"工", "abc"}, {"工工", "abd"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "abc");
}

TEST_F(LookupTest, CodesUnderAnotherPrefixAreNotFound) {
  source.wordMakingCodes["工"] = "ab";
  source.candidates = {{"工", "abc"}, {"工", "zz"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "abc");
}

TEST_F(LookupTest, TextThatIsNotOneGbkCharacterFailsWithoutMessageOrRead) {
  source.candidates = {{"工", "abc"}};
  UseTable(source);
  for (const char* typed : {"ab", "\x80\x40", "\xFF\x40", "\xB9\x3F", "a", "", "\xB9\xA4\xB9"}) {
    EXPECT_EQ(Lookup(typed), "FAILED") << typed;
  }
  EXPECT_TRUE(reports.events.empty());
  EXPECT_TRUE(file.calls.empty());
}

TEST_F(LookupTest, TrailBytes7FAndFFAreAccepted) {
  source.wordMakingCodes["\x81\x7F"] = "ab";
  source.wordMakingCodes["\x81\xFF"] = "ab";
  source.candidates = {{"\x81\x7F", "abq"}, {"\x81\xFF", "abr"}};
  UseTable(source);
  EXPECT_EQ(Lookup("\x81\x7F"), "abq");
  EXPECT_EQ(Lookup("\x81\xFF"), "abr");
}

TEST_F(LookupTest, MissingTableShowsTwoReadErrorsThenTheProbe) {
  ASSERT_FALSE(OpenCodeTable(table, ScratchDirectory().c_str()));
  ForgetCalls();
  EXPECT_EQ(Lookup("工"), "FAILED");
  const std::string readError = Box("Error reading file", "SetFilePointer");
  EXPECT_EQ(reports.events, (Events{readError, readError, Box("工童", "读取造词代码错误")}));
}

TEST_F(LookupTest, PrefixWithoutBlockBeepsAndFails) {
  source.wordMakingCodes["工"] = "ab";
  source.candidates = {{"童", "ujff"}};
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "FAILED");
  EXPECT_EQ(reports.events, Events{"beep"});
}

TEST_F(LookupTest, CodesStringStopsBeforeACodeThatWouldPass39Bytes) {
  for (const char* code : {"abcdefg", "abcdeff", "abcdeee", "abcdddd", "abccccc", "ab"})
    source.candidates.push_back({"工", code});
  source.wordMakingCodes["工"] = "ab";
  UseTable(source);
  // Four seven-letter codes make 34 bytes; a fifth would make 43.
  EXPECT_EQ(Lookup("工"), "abcdefg  abcdeff  abcdeee  abcdddd");
}

TEST_F(LookupTest, SixFourLetterCodesFitAndASeventhDoesNot) {
  for (int i = 0; i < 7; ++i)
    source.candidates.push_back({"工", std::string("ab") + char('a' + i) + "z"});
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "abaz  abbz  abcz  abdz  abez  abfz");
}

TEST_F(LookupTest, OnlyTheFirst2000CandidatesOfALargerBlockAreScanned) {
  source.wordMakingCodes["工"] = "ab";
  for (int i = 0; i < 1999; ++i) source.candidates.push_back({"式", "abx"});
  source.candidates.push_back({"工", "abc"});  // candidate 1999
  source.candidates.push_back({"工", "abd"});  // candidate 2000: never loaded
  UseTable(source);
  EXPECT_EQ(Lookup("工"), "abc");
}

TEST_F(LookupTest, DamagedBlockFailsTheLookupWithItsReport) {
  source.candidates = {{"工", "abc"}};
  std::vector<uint8_t> bytes = BuildCodeTable(source).bytes;
  SetU32(bytes, PairEntryOffset("ab") + 4, 30000);
  UseBytes(bytes);
  EXPECT_EQ(Lookup("工"), "FAILED");
  EXPECT_EQ(reports.events, Events{Box("码表文件已损坏", "navo.mb")});
}

// The reads of one lookup, by the shape of what it meets: two per
// word-making code (lead byte base, record), then the block's index entry
// and its parts. The 8 of an ordinary lookup is what the figures promise.
TEST_F(LookupTest, ReadsOfOneLookupByWhatItMeets) {
  struct Case {
    const char* what;
    std::vector<TableCandidate> candidates;
    size_t extra;  // candidates "式 abx" before them
    std::map<std::string, std::string> wordMakingCodes;
    const char* typed;
    size_t reads;
  };
  const std::vector<Case> cases = {
      {"a two-letter block: entry, suffixes, offsets, texts", {{"工", "abc"}}, 0, {}, "工", 8},
      {"a block of over 2000: and the 2001st text offset", {{"工", "abc"}}, 2000,
       {{"工", "ab"}}, "工", 9},
      {"a one-letter block: entry, suffixes, texts", {{"工", "a"}}, 0,
       {{"工", ""}, {"童", "a"}}, "工", 7},
      {"no block under the prefix: the entry only", {{"工", "abc"}, {"童", "ujff"}}, 0,
       {{"工", "cd"}}, "工", 5},
      {"a typed pair that is no character: nothing", {{"工", "abc"}}, 0, {}, "\x81\x3f", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    source = TableSource{};
    source.candidates.assign(c.extra, TableCandidate{"式", "abx"});
    source.candidates.insert(source.candidates.end(), c.candidates.begin(), c.candidates.end());
    source.wordMakingCodes = c.wordMakingCodes;
    UseTable(source);
    Lookup(c.typed);
    EXPECT_EQ(file.ReadCount(), c.reads);
  }
}

class WordCodeTest : public LookupTest {
 protected:
  void SetUp() override {
    source.wordMakingCodes = {{"工", "aaa"}, {"人", "ww"},  {"式", "aad"},
                              {"戈", "a"},   {"童", "ujf"}, {"中", ""}};
    UseTable(source);
  }
};

TEST_F(WordCodeTest, TwoCharactersJoinBothCodes) {
  EXPECT_EQ(WordCode("工人"), "aaaww");
  EXPECT_EQ(WordCode("中人"), "ww");
  EXPECT_EQ(WordCode("人中"), "ww");
}

TEST_F(WordCodeTest, ThreeCharactersTakeTwoFirstLettersAndTheThirdWhole) {
  EXPECT_EQ(WordCode("工人式"), "awaad");
  EXPECT_EQ(WordCode("中人式"), "aad");   // first code empty: the third alone
  EXPECT_EQ(WordCode("工中式"), "aaad");  // only the second empty
}

TEST_F(WordCodeTest, FourOrMoreTakeTheFirstLettersOfFirstSecondThirdAndLast) {
  EXPECT_EQ(WordCode("工人式童"), "awau");
  EXPECT_EQ(WordCode("工人式中童"), "awau");  // the 4th is not used
  EXPECT_EQ(WordCode("工人中式童"), "aw");    // stops at the first empty code
  EXPECT_EQ(WordCode("工人式戈中"), "awa");
}

TEST_F(WordCodeTest, LengthsThatFitNoRuleFailWithoutMessage) {
  for (const char* word : {"", "a", "工", "工a", "工人a", "ab", "工ab"})
    EXPECT_EQ(WordCode(word), "FAILED") << word;
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(WordCodeTest, OddLengthWordTakesItsLastTwoBytesAsTheLastCharacter) {
  // 7 bytes: characters at 0, 2, 4, and the last two bytes, 式's trail and 'a'.
  source.wordMakingCodes["\xBD\x61"] = "zz";
  UseTable(source);
  EXPECT_EQ(WordCode("工人式a"), "awaz");
  EXPECT_EQ(WordCode("工人式\x7F"), "awa");  // 0xBD 0x7F is acceptable, without code
  EXPECT_EQ(WordCode("工人式?"), "FAILED");  // 0xBD 0x3F is not
}

// A word's codes: "codes (word code W)", with " cut" when the list was cut.
class WordCodesTest : public LookupTest {
 protected:
  std::string Word(const char* word) {
    WordCodes found;
    std::memset(&found, '?', sizeof found);
    if (!LookupWordCodes(table, word, found)) return "FAILED";
    return std::string(found.codes) + " (word code " + found.wordCode + ")" +
           (found.cut ? " cut" : "");
  }
  void SetUp() override {
    source.wordMakingCodes = {{"工", "aa"}, {"人", "ww"}, {"童", "ujf"}};
  }
};

TEST_F(WordCodesTest, CodesOfTheWordUnderItsWordCodesPrefixInBlockOrder) {
  source.candidates = {{"工人", "aaww"}, {"工", "aaaa"}, {"工人式", "aawy"},
                       {"工人", "aa"},   {"人工", "aaww"}, {"工人", "aawwqxy"}};
  UseTable(source);
  EXPECT_EQ(Word("工人"), "aaww  aa  aawwqxy (word code aaww)");
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(WordCodesTest, OutcomesBesideTheCodes) {
  struct Case {
    const char* what;
    const char* word;
    const char* expected;
    Events events;
  };
  source.candidates = {{"工", "aaaa"}, {"工工", "aaab"}};
  source.wordMakingCodes["式"] = "zq";  // "zq": no block
  UseTable(source);
  const std::vector<Case> cases = {
      {"not in its block", "工人", " (word code aaww)", {}},
      {"found under another code of its block", "工工", "aaab (word code aaaa)", {}},
      {"no block under its prefix", "式工", "FAILED", {"beep"}},
      {"one character is no word", "工", "FAILED", {}},
      {"bytes that are no character", "工a", "FAILED", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ForgetCalls();
    EXPECT_EQ(Word(c.word), c.expected);
    EXPECT_EQ(reports.events, c.events);
  }
}

// Forty codes of seven letters make 358 bytes; a forty-first ends the list,
// which says so. The codes listed are the first, each whole.
TEST_F(WordCodesTest, AListThatDoesNotFitIsCutAfterWholeCodesAndSaysSo) {
  std::string forty;
  for (int i = 0; i < 41; ++i) {
    const std::string code = std::string("aa") + "bcd" + char('a' + i / 26) + char('a' + i % 26);
    source.candidates.push_back({"工人", code});
    if (i == 40) break;
    forty += (i == 0 ? "" : "  ") + code;
  }
  UseTable(source);
  EXPECT_EQ(forty.size(), 358u);
  EXPECT_EQ(Word("工人"), forty + " (word code aaww) cut");

  source.candidates.pop_back();  // exactly forty: whole
  UseTable(source);
  EXPECT_EQ(Word("工人"), forty + " (word code aaww)");
}

}  // namespace
}  // namespace navo::testing
