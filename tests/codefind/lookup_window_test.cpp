// The lookup window's logic: the input rule, the history and the pane layout,
// with fakes for the input box, the pane, the lookup and the measuring.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "codefind/input_change.h"
#include "codefind/label_fit.h"
#include "codefind/lookup_history.h"
#include "codefind/lookup_startup.h"
#include "codefind/result_pane_layout.h"

namespace navo::testing {

using namespace navo::codefind;
namespace {

// An input box whose emptying notifies the window again at once, nested,
// as an edit control does.
class FakeInputBox final : public InputBox {
 public:
  std::string text;
  std::vector<std::string> calls;
  std::function<void()> changed;
  size_t lastLimit = 0;
  std::vector<size_t> lengthsRead;

  void ReadText(char* buffer, size_t limit) override {
    lastLimit = limit;
    const size_t length = std::min(text.size(), limit - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    lengthsRead.push_back(length);
    calls.push_back("read");
  }
  void Empty() override {
    calls.push_back("empty");
    text.clear();
    changed();
    calls.push_back("empty done");
  }
};

class FakePane final : public ResultPaneView {
 public:
  std::vector<std::string>* calls;
  void Refresh() override { calls->push_back("refresh"); }
};

class FakeLookup final : public CharacterLookup {
 public:
  std::vector<std::string>* calls;
  bool succeed = true;
  bool Lookup(const char* typed, char codes[CodesStringSize]) override {
    calls->push_back(std::string("lookup ") + typed);
    std::strcpy(codes, succeed ? "abcd  abc" : "");
    return succeed;
  }
};

class InputChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLookupHistory(history);
    pane.calls = &box.calls;
    lookup.calls = &box.calls;
    box.changed = [this] { outcomes.push_back(HandleInputChange(state, window)); };
  }
  // The user (or a paste) puts text into the box.
  InputOutcome Type(const std::string& text) {
    box.text = text;
    box.calls.clear();
    outcomes.clear();
    return HandleInputChange(state, window);
  }

  FakeInputBox box;
  FakePane pane;
  FakeLookup lookup;
  LookupHistory history;
  InputState state;
  InputWindow window{box, pane, lookup, history};
  std::vector<InputOutcome> outcomes;  // of the nested notifications
};

using Calls = std::vector<std::string>;

TEST_F(InputChangeTest, OneCharacterIsTakenOutOfTheBoxThenLookedUp) {
  EXPECT_EQ(Type("工"), InputOutcome::LookedUp);
  EXPECT_EQ(box.calls, (Calls{"read", "empty", "empty done", "lookup 工", "refresh"}));
  EXPECT_EQ(outcomes, std::vector<InputOutcome>{InputOutcome::Ignored});
  EXPECT_FALSE(state.suppressNextChange);
  EXPECT_EQ(box.text, "");
  EXPECT_STREQ(history.entries[0].character, "工");
  EXPECT_STREQ(history.entries[0].codes, "abcd  abc");
  EXPECT_EQ(box.lastLimit, InputReadLimit);
}

TEST_F(InputChangeTest, FailedLookupLeavesTheHistoryAsItWas) {
  lookup.succeed = false;
  EXPECT_EQ(Type("工"), InputOutcome::LookedUp);
  EXPECT_STREQ(history.entries[0].character, "");
  EXPECT_EQ(box.calls.back(), "refresh");
}

TEST_F(InputChangeTest, SeveralCharactersAtOnceAreThrownAwayWithoutLookup) {
  EXPECT_EQ(Type("工人"), InputOutcome::EmptiedBox);
  // The nested change finds the box empty and refreshes; then the outer one.
  EXPECT_EQ(box.calls, (Calls{"read", "empty", "read", "refresh", "empty done", "refresh"}));
  EXPECT_EQ(outcomes, std::vector<InputOutcome>{InputOutcome::Nothing});
  EXPECT_STREQ(history.entries[0].character, "");
}

TEST_F(InputChangeTest, SingleByteStaysUntilTheNextCharacterMakesItTooLong) {
  EXPECT_EQ(Type("a"), InputOutcome::Nothing);
  EXPECT_EQ(box.calls, (Calls{"read", "refresh"}));
  EXPECT_EQ(box.text, "a");
  EXPECT_EQ(Type("a工"), InputOutcome::EmptiedBox);
  EXPECT_STREQ(history.entries[0].character, "");
}

TEST_F(InputChangeTest, CharactersArrivingOneAtATimeAreEachLookedUp) {
  Type("工");
  Type("人");
  EXPECT_STREQ(history.entries[0].character, "人");
  EXPECT_STREQ(history.entries[1].character, "工");
}

TEST_F(InputChangeTest, TwoAsciiLettersAreTakenAndGivenToTheLookup) {
  lookup.succeed = false;  // the lookup refuses them
  EXPECT_EQ(Type("ab"), InputOutcome::LookedUp);
  EXPECT_EQ(box.calls[3], "lookup ab");
}

TEST_F(InputChangeTest, LongTextIsReadOnlyUpToTheLimit) {
  EXPECT_EQ(Type(std::string(500, 'x')), InputOutcome::EmptiedBox);
  EXPECT_EQ(box.lengthsRead, (std::vector<size_t>{InputReadLimit - 1, 0}));
}

TEST(LookupHistoryTest, NewestFirstAndTheEleventhPushesTheOldestOut) {
  LookupHistory history;
  ClearLookupHistory(history);
  const char* characters[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "百"};
  for (const char* c : characters) AddHistoryEntry(history, c, c);
  for (size_t i = 0; i < HistoryEntries; ++i)
    EXPECT_STREQ(history.entries[i].character, characters[10 - i]);
  AddHistoryEntry(history, "百", "");
  EXPECT_STREQ(history.entries[0].character, "百");
  EXPECT_STREQ(history.entries[1].character, "百");  // no search for an earlier entry
  EXPECT_STREQ(history.entries[0].codes, "");
}

TEST(LookupHistoryTest, FieldsNeverRunPastTheirSize) {
  LookupHistory history;
  ClearLookupHistory(history);
  AddHistoryEntry(history, "工人人", std::string(60, 'a').c_str());
  EXPECT_EQ(std::strlen(history.entries[0].character), 3u);
  EXPECT_EQ(std::strlen(history.entries[0].codes), 39u);
}

// Every text is as high as the fixed height; the sample character measures
// sampleHeight.
class FixedMeasure final : public TextMeasure {
 public:
  int sampleHeight = 36, lineHeight = 36;
  std::vector<std::string> measured;
  int TextHeight(const char* text, size_t length) override {
    measured.emplace_back(text, length);
    return std::string(text, length) == "童" ? sampleHeight : lineHeight;
  }
};

class PaneLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearLookupHistory(history); }
  void Add(int count) {
    for (int i = 0; i < count; ++i) {
      const char character[3] = {char(0xB0 + i), char(0xA1), 0};
      AddHistoryEntry(history, character, "abc");
    }
  }
  LookupHistory history;
  FixedMeasure measure;
  PaneLayout layout;
};

TEST_F(PaneLayoutTest, EmptyHistoryShowsOnlyTheHeading) {
  LayOutResultPane(history, measure, 300, &layout);
  EXPECT_TRUE(layout.showHeading);
  EXPECT_EQ(layout.lineCount, 0u);
  EXPECT_STREQ(ResultPaneHeading, "汉字及编码显示窗口");
}

TEST_F(PaneLayoutTest, LinesNewestFirstOneBelowTheOther) {
  AddHistoryEntry(history, "工", "aaaa");
  AddHistoryEntry(history, "人", "");
  LayOutResultPane(history, measure, 300, &layout);
  EXPECT_FALSE(layout.showHeading);
  ASSERT_EQ(layout.lineCount, 2u);
  EXPECT_STREQ(layout.lines[0].text, "人: ");
  EXPECT_EQ(layout.lines[0].y, 0);
  EXPECT_STREQ(layout.lines[1].text, "工: aaaa");
  EXPECT_EQ(layout.lines[1].length, std::strlen("工: aaaa"));
  EXPECT_EQ(layout.lines[1].y, 36);
}

TEST_F(PaneLayoutTest, OnlyLinesThatFitWhollyAreDrawn) {
  Add(10);
  LayOutResultPane(history, measure, 10 * 36 - 1, &layout);
  EXPECT_EQ(layout.lineCount, 9u);
  LayOutResultPane(history, measure, 10 * 36, &layout);
  EXPECT_EQ(layout.lineCount, 10u);
  LayOutResultPane(history, measure, 35, &layout);
  EXPECT_EQ(layout.lineCount, 0u);
}

TEST_F(PaneLayoutTest, TheSampleHeightDecidesWhetherALineStarts) {
  Add(3);
  measure.sampleHeight = 40;  // taller than the lines themselves
  measure.lineHeight = 30;
  // Line 0 at 0 (0 + 40 <= 100), line 1 at 30 (30 + 40 <= 100), line 2 would need 60 + 40.
  LayOutResultPane(history, measure, 99, &layout);
  EXPECT_EQ(layout.lineCount, 2u);
  EXPECT_EQ(layout.lines[1].y, 30);
}

// The dialog grows by the label's larger shortfall, worked out by hand:
// 24 / 16 = 1.5 beats 504 / 338 = 1.49; 338 x 1.5 = 507, 21 x 1.5 = 31.5 -> 32.
TEST(LabelFitTest, TheDialogGrowsByTheLabelsLargerShortfall) {
  const struct {
    const char* what;
    Extent text, label;
    int by, per;
  } cases[] = {
      {"fits: no growth", {336, 16}, {338, 16}, 1, 1},
      {"exactly as large: no growth", {338, 16}, {338, 16}, 1, 1},
      {"taller by more than wider", {504, 24}, {338, 16}, 24, 16},
      {"wider only", {400, 16}, {338, 16}, 400, 338},
      {"taller only", {300, 17}, {338, 16}, 17, 16},
      {"no label area: no growth", {300, 17}, {0, 16}, 1, 1},
  };
  for (const auto& c : cases) {
    const Growth growth = LabelGrowth(c.text, c.label);
    EXPECT_EQ(growth.by, c.by) << c.what;
    EXPECT_EQ(growth.per, c.per) << c.what;
  }
  EXPECT_EQ(Grow(338, {24, 16}), 507);
  EXPECT_EQ(Grow(21, {24, 16}), 32);
  EXPECT_EQ(Grow(0, {24, 16}), 0);
  EXPECT_EQ(Grow(40, {1, 1}), 40);
}

// The pane's font at the display's scale: 36 times dpi / 96, by hand
// (36 x 1.25 = 45, x 1.75 = 63); a DPI the system cannot tell is 96.
TEST(PaneFontTest, HeightFollowsTheDisplayScale) {
  const struct {
    int dpi, height;
  } cases[] = {{96, 36}, {120, 45}, {144, 54}, {168, 63}, {192, 72}, {0, 36}};
  for (const auto& c : cases) EXPECT_EQ(PaneFontHeightAt(c.dpi), c.height) << c.dpi;
}

}  // namespace
}  // namespace navo::testing

namespace navo::testing {
namespace {

class RecordingStartup final : public LookupStartup {
 public:
  bool classRegistered = true, windowCreated = true, bufferAllocated = true;
  std::vector<std::string> calls;
  bool RegisterMainWindowClass() override { return calls.push_back("class"), classRegistered; }
  bool CreateMainWindow() override { return calls.push_back("window"), windowCreated; }
  bool AllocateTextBuffer() override { return calls.push_back("buffer"), bufferAllocated; }
  void ShowStartupFailure(const char* text) override {
    calls.push_back(std::string("box:") + text);
  }
  void DestroyMainWindow() override { calls.push_back("destroy"); }
  void OpenTable() override { calls.push_back("open"); }
  int RunMessageLoop() override { return calls.push_back("loop"), 7; }
};

using Calls = std::vector<std::string>;

TEST(LookupStartupTest, ClassThenWindowThenBufferThenTableThenTheLoop) {
  RecordingStartup startup;
  EXPECT_EQ(StartLookupProgram(startup), 7);
  EXPECT_EQ(startup.calls, (Calls{"class", "window", "buffer", "open", "loop"}));
}

TEST(LookupStartupTest, WithoutItsTextBufferTheProgramSaysSoAndEnds) {
  RecordingStartup startup;
  startup.bufferAllocated = false;
  EXPECT_EQ(StartLookupProgram(startup), 0);
  EXPECT_EQ(startup.calls,
            (Calls{"class", "window", "buffer", "box:内存不足，无法运行码表查询。", "destroy"}));
}

TEST(LookupStartupTest, WithoutItsMainWindowTheProgramEndsSilently) {
  RecordingStartup startup;
  startup.windowCreated = false;
  EXPECT_EQ(StartLookupProgram(startup), 0);
  EXPECT_EQ(startup.calls, (Calls{"class", "window"}));
}

TEST(LookupStartupTest, WithoutItsWindowClassTheProgramEndsSilently) {
  RecordingStartup startup;
  startup.classRegistered = false;
  EXPECT_EQ(StartLookupProgram(startup), 0);
  EXPECT_EQ(startup.calls, Calls{"class"});
}

}  // namespace
}  // namespace navo::testing
