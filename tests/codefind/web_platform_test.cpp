// The lookup page's platform, natively: the table file over memory, the
// reports kept for the page, and the input box whose emptying raises the
// change again, as the window's box does.
#include "codefind/web/web_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace navo::testing {

using namespace navo::codefind;
namespace {

TEST(MemoryTableFileTest, ReadsAsTheWindowsFileDoes) {
  const unsigned char bytes[] = {'a', 'b', 'c', 'd', 'e'};
  struct Case {
    uint32_t offset, size;
    bool ok;
    std::string delivered;
  } cases[] = {
      {0, 5, true, "abcde"}, {3, 4, true, "de"},  // the end cuts the read short
      {5, 2, true, ""},      {9, 1, true, ""},    // at or past the end: nothing, no failure
  };
  MemoryTableFile file;
  file.Attach(bytes, sizeof bytes);
  ASSERT_TRUE(file.Open("navo.mb"));
  for (const Case& c : cases) {
    char buffer[8] = {};
    uint32_t delivered = 99;
    ASSERT_TRUE(file.Seek(c.offset));
    EXPECT_EQ(file.Read(buffer, c.size, &delivered), c.ok) << c.offset;
    EXPECT_EQ(std::string(buffer, delivered), c.delivered) << c.offset;
  }
}

TEST(MemoryTableFileTest, WithoutBytesNothingOpensAndEveryCallFails) {
  MemoryTableFile file;
  char buffer[4];
  uint32_t delivered = 99;
  EXPECT_FALSE(file.Open("navo.mb"));
  EXPECT_FALSE(file.Seek(0));
  EXPECT_FALSE(file.Read(buffer, 4, &delivered));
  EXPECT_EQ(delivered, 0u);

  const unsigned char bytes[] = {'x'};
  file.Attach(bytes, 1);
  ASSERT_TRUE(file.Open("navo.mb"));
  file.Close();
  EXPECT_FALSE(file.Seek(0));  // closed again
}

TEST(KeptReportsTest, KeepsBoxesAndBeepsInOrderAndCountsThoseBeyond) {
  KeptReports reports;
  reports.ShowMessage("text", nullptr);
  reports.Beep();
  reports.ShowMessage("damaged", "navo.mb");
  ASSERT_EQ(reports.Count(), 3u);
  EXPECT_STREQ(reports.At(0)->text, "text");
  EXPECT_FALSE(reports.At(0)->hasCaption);  // the system's default caption
  EXPECT_TRUE(reports.At(1)->beep);
  EXPECT_STREQ(reports.At(2)->caption, "navo.mb");
  EXPECT_TRUE(reports.At(2)->hasCaption);

  for (size_t i = reports.Count(); i < MaxKeptReports + 2; ++i) reports.Beep();
  EXPECT_EQ(reports.Count(), MaxKeptReports + 2);
  EXPECT_NE(reports.At(MaxKeptReports - 1), nullptr);
  EXPECT_EQ(reports.At(MaxKeptReports), nullptr);

  const std::string longText(ReportTextSize + 10, 'x');  // a word longer than a report holds
  reports.Clear();
  reports.ShowMessage(longText.c_str(), "c");
  EXPECT_EQ(std::strlen(reports.At(0)->text), ReportTextSize - 1);
}

class CountingLookup final : public CharacterLookup {
 public:
  int lookups = 0;
  bool Lookup(const char*, char codes[CodesStringSize]) override {
    ++lookups;
    std::strcpy(codes, "aaaa");
    return true;
  }
};

class SilentPane final : public ResultPaneView {
 public:
  void Refresh() override {}
};

TEST(MemoryInputBoxTest, EmptyingRunsTheChangeAgainAndTellsThePage) {
  struct Case {
    const char* typed;
    InputOutcome outcome;
    bool emptied;
    int lookups;
  } cases[] = {
      {"\xB9\xA4", InputOutcome::LookedUp, true, 1},  // 工: taken out of the box
      {"a", InputOutcome::Nothing, false, 0},         // a single byte stays
      {"\xB9\xA4\xCD\xAF", InputOutcome::EmptiedBox, true, 0},
  };
  for (const Case& c : cases) {
    MemoryInputBox box;
    SilentPane pane;
    CountingLookup lookup;
    LookupHistory history;
    ClearLookupHistory(history);
    InputState state;
    InputWindow window{box, pane, lookup, history};
    box.SetWindow(&state, &window);
    std::strcpy(box.Text(), c.typed);
    EXPECT_EQ(HandleInputChange(state, window), c.outcome) << c.typed;
    EXPECT_EQ(box.EmptiedSinceAsked(), c.emptied) << c.typed;
    EXPECT_FALSE(box.EmptiedSinceAsked());  // told once
    EXPECT_EQ(lookup.lookups, c.lookups) << c.typed;
    EXPECT_FALSE(state.suppressNextChange) << c.typed;  // the nested change consumed it
  }
}

}  // namespace
}  // namespace navo::testing
