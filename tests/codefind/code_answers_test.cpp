// The candidates of a typed code, and every code of a text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codefind/code_lookup.h"
#include "tests/support/table_fixture.h"

namespace navo::testing {

using namespace navo::codefind;
namespace {

using Events = std::vector<std::string>;

// What is asked, and the answer worked out by hand.
struct Case {
  const char* asked;
  const char* expected;
};

class CodeAnswersTest : public TableTest {
 protected:
  // "exact  exact | hint+rest  ...", " cut" when cut, or "FAILED".
  std::string Candidates(const char* code) {
    CodeCandidates found;
    std::memset(&found, '?', sizeof found);
    if (!LookupCodeCandidates(table, code, found)) return "FAILED";
    std::string out;
    for (uint32_t i = 0; i < found.count; ++i) {
      const char* separator = i == 0 ? "" : i == found.exactCount ? " | " : "  ";
      out += separator + std::string(found.texts + found.listed[i].textAt);
      if (i >= found.exactCount) out += std::string("+") + found.listed[i].rest;
    }
    return found.cut ? out + " cut" : out;
  }
  // "code  code (best C)", " cut" when cut, or "FAILED".
  std::string Every(const char* text) {
    EveryCode found;
    std::memset(&found, '?', sizeof found);
    if (!LookupEveryCode(table, text, found)) return "FAILED";
    std::string out;
    for (uint32_t i = 0; i < found.count; ++i)
      out += (i == 0 ? "" : "  ") + std::string(found.codes[i]);
    if (found.best != NoBestCode) out += std::string(" (best ") + found.codes[found.best] + ")";
    return found.cut ? out + " cut" : out;
  }
  TableSource source;
};

// Blocks: letter a [工 戈]; aa [式 aa, 工 aaaa, 工人 aaww, 式 aad, 工 aaa];
// ab [节 ab, 芭 abc]; uj [童 ujff].
TEST_F(CodeAnswersTest, CandidatesThenHintsInPrefixOrder) {
  source.candidates = {{"工", "a"},   {"戈", "a"},   {"式", "aa"}, {"工", "aaaa"}, {"工人", "aaww"},
                       {"式", "aad"}, {"工", "aaa"}, {"节", "ab"}, {"芭", "abc"},  {"童", "ujff"}};
  UseTable(source);
  const std::vector<Case> cases = {
      {"a", "工  戈 | 式+a  工+aaa  工人+aww  式+ad  工+aa  节+b  芭+bc"},
      {"aa", "式 | 工+aa  工人+ww  式+d  工+a"},
      {"aaa", "工 | 工+a"},  // the exact one first, though later in its block
      {"aaaa", "工"},
      {"ab", "节 | 芭+c"},
      {"ujff", "童"},
      {"az", ""},       // a pair without block: nothing, and no beep
      {"q", ""},        // nor a letter without any
      {"aaaaaaa", ""},  // seven letters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Candidates(c.asked), c.expected) << c.asked;
  }
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(CodeAnswersTest, WhatIsNoCodeFailsWithoutARead) {
  source.candidates = {{"工", "a"}};
  UseTable(source);
  for (const char* code : {"", "abcdefgh", "A", "a1", "ab ", "\xB9\xA4"})
    EXPECT_EQ(Candidates(code), "FAILED") << code;
  EXPECT_TRUE(file.calls.empty());
  EXPECT_TRUE(reports.events.empty());
}

// 200 entries fit; the 201st is cut.
TEST_F(CodeAnswersTest, TwoHundredCandidatesFitAndMoreAreCut) {
  std::string two_hundred;
  for (int i = 0; i < 200; ++i) two_hundred += (i == 0 ? "" : "  ") + std::string("工");
  source.candidates.assign(200, TableCandidate{"工", "ab"});
  UseTable(source);
  EXPECT_EQ(Candidates("ab"), two_hundred);
  source.candidates.push_back({"式", "ab"});
  UseTable(source);
  EXPECT_EQ(Candidates("ab"), two_hundred + " cut");
}

// Texts of 19 characters take 39 bytes each: 102 make 3978 of the 4000, a
// 103rd would make 4017. What follows the cut is never listed, even a text
// that would fit.
TEST_F(CodeAnswersTest, TextsThatDoNotFitCutTheListAfterTheFirstOnes) {
  std::string text;
  for (int i = 0; i < 19; ++i) text += "工";
  std::string listed;
  for (int i = 0; i < 102; ++i) listed += (i == 0 ? "" : "  ") + text;
  source.candidates.assign(102, TableCandidate{text, "ab"});
  UseTable(source);
  EXPECT_EQ(Candidates("ab"), listed);
  source.candidates.push_back({text, "ab"});
  source.candidates.push_back({"式", "ab"});
  UseTable(source);
  EXPECT_EQ(Candidates("ab"), listed + " cut");
}

TEST_F(CodeAnswersTest, CandidatesCutAmongTheExactOnesListNoHint) {
  source.candidates.assign(200, TableCandidate{"工", "a"});
  source.candidates.push_back({"式", "a"});
  source.candidates.push_back({"戈", "ab"});
  UseTable(source);
  const std::string listed = Candidates("a");
  EXPECT_EQ(listed.find("戈"), std::string::npos);
  EXPECT_EQ(listed.substr(listed.size() - 4), " cut");
}

TEST_F(CodeAnswersTest, ABlockThatCannotBeLoadedFailsTheCodesThatNeedIt) {
  source.candidates = {{"工", "abc"}, {"式", "aa"}};
  std::vector<uint8_t> bytes = BuildCodeTable(source).bytes;
  SetU32(bytes, PairEntryOffset("ab") + 4, 30000);
  UseBytes(bytes);
  EXPECT_EQ(Candidates("ab"), "FAILED");
  EXPECT_EQ(reports.events, Events{Box("码表文件已损坏", "navo.mb")});
  ForgetCalls();
  EXPECT_EQ(Candidates("aa"), "式");     // does not need block ab
  EXPECT_EQ(Candidates("a"), "FAILED");  // its hints do
  EXPECT_EQ(Every("式"), "FAILED");      // and every code walks them all
}

TEST_F(CodeAnswersTest, WithoutATableTheFirstBlockFailsWithOneMessage) {
  ASSERT_FALSE(OpenCodeTable(table, ScratchDirectory().c_str()));
  ForgetCalls();
  const Events once = {Box("Error reading file", "SetFilePointer")};
  EXPECT_EQ(Candidates("ab"), "FAILED");
  EXPECT_EQ(reports.events, once);
  ForgetCalls();
  EXPECT_EQ(Every("工"), "FAILED");
  EXPECT_EQ(reports.events, once);
}

// 工 stands under a (second), aaaa, aaa, ab (first) and gg; 戈 first under a.
TEST_F(CodeAnswersTest, EveryCodeShortestFirstAndTheBestMarked) {
  source.candidates = {{"戈", "a"},  {"工", "a"},  {"式", "aa"}, {"工", "aaaa"},  {"工", "aaa"},
                       {"工", "ab"}, {"节", "ab"}, {"工", "gg"}, {"工人", "aaww"}};
  UseTable(source);
  const std::vector<Case> cases = {
      {"工", "a  ab  gg  aaa  aaaa (best ab)"},
      {"戈", "a (best a)"},
      {"式", "aa (best aa)"},
      {"节", "ab"},  // never first
      {"工人", "aaww (best aaww)"},
      {"童", ""},  // not in the table
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Every(c.asked), c.expected) << c.asked;
  }
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(CodeAnswersTest, EveryCodeOfWhatIsNoGbkTextFailsWithoutARead) {
  source.candidates = {{"工", "a"}};
  UseTable(source);
  for (const char* text : {"", "a", "工a", "\x81\x3f", "工\x81"})
    EXPECT_EQ(Every(text), "FAILED") << text;
  EXPECT_TRUE(file.calls.empty());
}

// 工 under bba..bbz (26), bcaa..bcag (7) and, last of all, z: the 32
// shortest are kept, the longer codes found first giving way.
TEST_F(CodeAnswersTest, EveryCodeKeepsTheShortestAndSaysItWasCut) {
  std::string kept = "z";
  for (char c = 'a'; c <= 'z'; ++c) {
    source.candidates.push_back({"工", std::string("bb") + c});
    kept += std::string("  bb") + c;
  }
  for (char c = 'a'; c <= 'g'; ++c) {
    source.candidates.push_back({"工", std::string("bca") + c});
    if (c <= 'e') kept += std::string("  bca") + c;
  }
  source.candidates.push_back({"工", "z"});
  UseTable(source);
  EXPECT_EQ(Every("工"), kept + " (best z) cut");

  source.candidates.erase(source.candidates.begin() + 31, source.candidates.begin() + 33);
  UseTable(source);  // bcaf and bcag gone: exactly 32
  EXPECT_EQ(Every("工"), kept + " (best z)");
}

// What the window lists of 工 is "aaaa  aaa" (block aa); its codes a and gg
// lie elsewhere. "a" is inside "aaaa" but is none of its codes.
TEST_F(CodeAnswersTest, CodesTheWindowLeavesOut) {
  source.wordMakingCodes = {{"工", "aaa"}, {"式", "aa"}, {"戈", "gg"}};
  source.candidates = {{"工", "a"},  {"工", "aaaa"}, {"工", "aaa"},
                       {"式", "aa"}, {"工", "gg"},   {"戈", "b"}};
  UseTable(source);
  const std::vector<Case> cases = {
      {"工", "a  gg"},
      {"式", ""},
      {"戈", "b"},  // 戈: nothing in its own block
      {"a", "FAILED"},
  };
  for (const Case& c : cases) {
    char codes[CodesStringSize] = "";
    LookupCharacterCodes(table, c.asked, codes);
    char leftOut[EveryCodeStringSize];
    std::memset(leftOut, '?', sizeof leftOut);
    const bool found = LookupCodesLeftOut(table, c.asked, codes, leftOut);
    EXPECT_EQ(found ? std::string(leftOut) : "FAILED", c.expected) << c.asked;
  }
  EXPECT_TRUE(reports.events.empty());
}

}  // namespace
}  // namespace navo::testing
