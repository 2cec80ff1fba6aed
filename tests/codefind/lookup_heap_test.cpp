// No lookup takes memory from the heap: every allocation of the process is
// counted while every double-byte value, and the word of it twice, is looked
// up in tables of each shape; and the candidates of every one- and
// two-letter code, and every code of some characters.
// Built natively without the sanitizers, whose allocator this would replace.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codefind/code_lookup.h"
#include "common/little_endian.h"
#include "tests/support/heap_counting.h"
#include "tests/support/platform.h"
#include "tools/navomb/table_source.h"


namespace navo::testing {
namespace {

// Counts reports without keeping them, so that a report allocates nothing.
class CountedReports final : public codefind::Reports {
 public:
  long count = 0;
  void ShowMessage(const char*, const char*) override { ++count; }
  void Beep() override { ++count; }
};

struct Shape {
  const char* what;
  TableSource source;
  void (*damage)(std::vector<uint8_t>& bytes);  // or nullptr
  bool found;                                   // whether some lookup finds codes
  bool reports;                                 // whether some lookup reports
  bool wordFound;                               // whether some word has codes
};

TableSource LargeBlock() {
  TableSource source;
  source.candidates.assign(2100, TableCandidate{"\xCA\xBD", "abx"});  // 式
  source.candidates.push_back({"\xB9\xA4", "abc"});                    // 工
  source.wordMakingCodes["\xB9\xA4"] = "ab";
  return source;
}

void BreakBlockOfAb(std::vector<uint8_t>& bytes) {
  // The text length of block "ab" (entry 1) beyond what the lookup may hold.
  WriteU32Le(&bytes[codefind::PairPrefixIndexOffset + codefind::PrefixIndexEntrySize + 4], 30000);
}

TEST(LookupHeapTest, NoLookupAllocates) {
  const std::vector<Shape> shapes = {
      {"two-letter blocks",
       {{{"\xB9\xA4", "aaaa"}, {"\xCD\xAF", "ujff"}, {"\xB9\xA4\xB9\xA4", "aaaa"}}, {}},
       nullptr,
       true,
       false,
       true},  // 工工
      {"a block of over 2000 candidates", LargeBlock(), nullptr, true, false, false},
      {"one-letter blocks",
       {{{"\xB9\xA4", "u"}, {"\xCD\xAF", "u"}}, {{"\xB9\xA4", ""}, {"\xCD\xAF", "u"}}},
       nullptr,
       true,
       true,
       false},  // 童童 makes "uu", a block not there: a beep
      {"a damaged block", {{{"\xB9\xA4", "abc"}}, {{"\xB9\xA4", "ab"}}}, BreakBlockOfAb, false,
       true, false},
  };
  const std::string path = ScratchDirectory() + "navo.mb";
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.what);
    BuildResult built = BuildCodeTable(shape.source);
    ASSERT_TRUE(built.errors.empty());
    if (shape.damage) shape.damage(built.bytes);
    WriteBytes(path, built.bytes);

    codefind::PosixTableFile file;
    CountedReports reports;
    codefind::StaticTextBuffer buffer;
    codefind::CodeTable table(file, reports, buffer);
    ASSERT_TRUE(codefind::OpenCodeTableFile(table, path.c_str()));

    long withCodes = 0, wordsWithCodes = 0;
    const long before = HeapAllocations();
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFF; ++trail) {
        const char typed[3] = {char(lead), char(trail), 0};
        char codes[codefind::CodesStringSize];
        withCodes += codefind::LookupCharacterCodes(table, typed, codes) && codes[0] != '\0';
        const char word[5] = {char(lead), char(trail), char(lead), char(trail), 0};
        codefind::WordCodes found;
        wordsWithCodes += codefind::LookupWordCodes(table, word, found) && found.codes[0] != '\0';
      }
    }
    long answered = 0;
    static codefind::CodeCandidates candidates;
    for (char first = 'a'; first <= 'z'; ++first) {
      for (char second = 'a' - 1; second <= 'z'; ++second) {
        const char code[3] = {first, second < 'a' ? '\0' : second, '\0'};
        answered += codefind::LookupCodeCandidates(table, code, candidates) && candidates.count > 0;
      }
    }
    for (const char* text : {"\xB9\xA4", "\xCD\xAF", "\xCA\xBD", "\xB9\xA4\xB9\xA4"}) {
      codefind::EveryCode every;
      answered += codefind::LookupEveryCode(table, text, every) && every.count > 0;
    }
    const long allocations = HeapAllocations() - before;
    file.Close();
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(answered > 0, shape.found);
    // The lookups did reach the table: codes were found, or the damage was met.
    EXPECT_EQ(withCodes > 0, shape.found);
    EXPECT_EQ(reports.count > 0, shape.reports);
    EXPECT_EQ(wordsWithCodes > 0, shape.wordFound);
  }
  RemoveFile(path);
}

// The counter does see allocations, so that a zero above means none.
TEST(LookupHeapTest, TheCounterSeesAnAllocation) {
  const long before = HeapAllocations();
  std::string grown(100, 'x');
  EXPECT_GT(HeapAllocations() - before, 0);
  EXPECT_EQ(grown.size(), 100u);
}

}  // namespace
}  // namespace navo::testing
