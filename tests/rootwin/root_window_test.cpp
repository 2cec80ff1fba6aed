// The root chart window apart from Win32: the chart mode from the command
// line, the saved position, painting, the control message, saving on every
// move and the start-up order, against recording stand-ins.
#include <gtest/gtest.h>

#include <string>

#include "rootwin/chart_mode.h"
#include "rootwin/chart_window.h"
#include "rootwin/drag.h"
#include "rootwin/res/resource.h"
#include "rootwin/saved_position.h"
#include "rootwin/startup.h"
#include "tests/rootwin/recording_fakes.h"

namespace navo::rootwin::testing {
namespace {

TEST(ChartModeTest, ExactlyTwoAfterTheProgramNameGivesChart2) {
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe 2"), 2);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe   2"), 2);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe\t2"), 2);
  EXPECT_EQ(ChartModeFromCommandLine(L"C:\\windows\\system32\\RtNavo.exe 2"), 2);
}

TEST(ChartModeTest, AnythingElseGivesChart1) {
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe 2 "), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe 1"), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe 02"), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe 3"), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe 22"), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe \"2\""), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe"), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe "), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L""), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"2"), 1);  // that is the program name
}

TEST(ChartModeTest, AQuotedProgramNameRunsToItsClosingQuote) {
  EXPECT_EQ(ChartModeFromCommandLine(L"\"C:\\Program Files\\Navo\\RtNavo.exe\" 2"), 2);
  EXPECT_EQ(ChartModeFromCommandLine(L"\"C:\\Program Files\\Navo\\RtNavo.exe\"2"), 2);
  EXPECT_EQ(ChartModeFromCommandLine(L"\"C:\\Program Files\\Navo\\RtNavo.exe\" 1"), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"\"C:\\My 2\\RtNavo.exe\""), 1);
  EXPECT_EQ(ChartModeFromCommandLine(L"\"RtNavo.exe 2"), 1);  // never closed
}

TEST(ChartModeTest, ProgramArgumentsSkipTheNameAndItsBlanks) {
  EXPECT_STREQ(ProgramArguments(L"RtNavo.exe  \t x y"), L"x y");
  EXPECT_STREQ(ProgramArguments(L"\"a b\" \"c\""), L"\"c\"");
  EXPECT_EQ(ChartModeFromArguments(L"2"), 2);
  EXPECT_EQ(ChartModeFromArguments(L""), 1);
}

// Names of any script, as Windows passes them in UTF-16; and a full-width
// "２", which an 8-bit call on a Western system can turn into a "2".
TEST(ChartModeTest, ProgramNamesOfAnyScriptAndOnlyAnAsciiTwo) {
  EXPECT_EQ(ChartModeFromCommandLine(L"\x7A0B\x5E8F.exe 2"), 2);  // 程序.exe
  EXPECT_EQ(ChartModeFromCommandLine(L"\"C:\\\x5B57\x6839 \x041A\\RtNavo.exe\" 2"), 2);
  EXPECT_EQ(ChartModeFromCommandLine(L"\x30EB\x30FC\x30C8.exe\x3000"
                                     L"2"),
            1);  // ideographic blank
  EXPECT_EQ(ChartModeFromCommandLine(L"RtNavo.exe \xFF12"), 1);
}

TEST(SavedPositionTest, BothHalvesAreSignExtended) {
  EXPECT_EQ(DecodePosition(0xFFF6000A), (Point{10, -10}));
  EXPECT_EQ(DecodePosition(0x000AFFF6), (Point{-10, 10}));
  EXPECT_EQ(DecodePosition(0x80007FFF), (Point{32767, -32768}));
  EXPECT_EQ(DecodePosition(0x020A01AE), (Point{430, 522}));
  EXPECT_EQ(DecodePosition(0), (Point{0, 0}));
}

TEST(SavedPositionTest, PackingIsTheReverse) {
  EXPECT_EQ(EncodePosition({10, -10}), 0xFFF6000Au);
  EXPECT_EQ(EncodePosition({-1, -1}), 0xFFFFFFFFu);
  EXPECT_EQ(EncodePosition({430, 522}), 0x020A01AEu);
  for (Point p : {Point{0, 0}, Point{-32768, 32767}, Point{1234, -4321}, Point{-594, -246}})
    EXPECT_EQ(DecodePosition(EncodePosition(p)), p);
}

TEST(SavedPositionTest, DefaultIsTheBottomRightCornerOfTheWorkArea) {
  EXPECT_EQ(DefaultPosition({0, 0, 1024, 768}, WindowSize), (Point{430, 522}));
  EXPECT_EQ(DefaultPosition({100, 40, 1124, 808}, WindowSize), (Point{530, 562}));
}

TEST(SavedPositionTest, BoundPullsBackOnlyOnTheRightAndAtTheBottom) {
  const Rect area = {0, 0, 1024, 768};
  EXPECT_EQ(BoundPosition({1000, 700}, area, WindowSize), (Point{430, 522}));
  EXPECT_EQ(BoundPosition({431, 100}, area, WindowSize), (Point{430, 100}));
  EXPECT_EQ(BoundPosition({100, 523}, area, WindowSize), (Point{100, 522}));
  EXPECT_EQ(BoundPosition({430, 522}, area, WindowSize), (Point{430, 522}));
  EXPECT_EQ(BoundPosition({-20, -10}, area, WindowSize), (Point{-20, -10}));
  EXPECT_EQ(BoundPosition({10, -10}, area, WindowSize), (Point{10, -10}));
  EXPECT_EQ(BoundPosition({-5000, 5000}, area, WindowSize), (Point{-5000, 522}));
  // Left of or above a work area that does not start at 0 stays too.
  EXPECT_EQ(BoundPosition({50, 20}, {100, 40, 1124, 808}, WindowSize), (Point{50, 20}));
  // A work area smaller than the window: flush right and bottom, out on the left and top.
  EXPECT_EQ(BoundPosition({0, 0}, {0, 0, 500, 200}, WindowSize), (Point{-94, -46}));
}

// The work area is the primary monitor's {0, 0, 1024, 768}; the window is
// 594 x 246. A saved corner whose window shows no pixel of the virtual
// screen gives the default place (430, 522); one partly on it is kept, then
// bounded on the right and at the bottom as always.
TEST(SavedPositionTest, StartPositionKeepsASavedCornerOnlyWhenItsWindowMeetsTheScreen) {
  const Rect area = {0, 0, 1024, 768};
  const Rect one = area;                              // one monitor
  const Rect leftOfPrimary = {-1280, 0, 1024, 1024};  // a second monitor on the left
  const Rect abovePrimary = {0, -900, 1440, 768};     // and one above
  const struct {
    const char* what;
    bool saved;
    Point corner;
    Rect screen;
    Point start;
  } cases[] = {
      {"no saved corner", false, {5, 5}, one, {430, 522}},
      {"on screen", true, {5, 5}, one, {5, 5}},
      {"-2000, -2000", true, {-2000, -2000}, one, {430, 522}},
      {"wholly off to the left", true, {-2000, 100}, one, {430, 522}},
      {"wholly off to the right", true, {3000, 100}, one, {430, 522}},
      {"wholly off above", true, {100, -1000}, one, {430, 522}},
      {"wholly off below", true, {100, 2000}, one, {430, 522}},
      {"touching the left edge from outside", true, {-594, 100}, one, {430, 522}},
      {"touching the top edge from outside", true, {100, -246}, one, {430, 522}},
      {"just past the right edge", true, {1024, 100}, one, {430, 522}},
      {"just past the bottom edge", true, {100, 768}, one, {430, 522}},
      {"one column on at the left", true, {-593, 100}, one, {-593, 100}},
      {"one row on at the top", true, {100, -245}, one, {100, -245}},
      {"one column on at the right, bounded", true, {1023, 100}, one, {430, 100}},
      {"one row on at the bottom, bounded", true, {100, 767}, one, {100, 522}},
      {"partly on, left and above", true, {-20, -10}, one, {-20, -10}},
      {"on a monitor left of the primary", true, {-1000, 100}, leftOfPrimary, {-1000, 100}},
      {"off that monitor too", true, {-2000, 100}, leftOfPrimary, {430, 522}},
      {"on a monitor above the primary", true, {100, -600}, abovePrimary, {100, -600}},
      {"no virtual screen known: kept", true, {-2000, -2000}, {0, 0, 0, 0}, {-2000, -2000}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StartPosition(c.saved, c.corner, area, c.screen, WindowSize), c.start) << c.what;
}

class RegistryTest : public ::testing::Test {
 protected:
  Log log;
  RecordingRegistry registry{log};
  Point corner = {-1, -1};
};

TEST_F(RegistryTest, ReadsFourBytesUnderSoftwareKvelAndClosesTheKey) {
  registry.SetPosition(RecordingRegistry::Dword(0xFFF6000A));
  EXPECT_TRUE(ReadSavedPosition(registry, &corner));
  EXPECT_EQ(corner, (Point{10, -10}));
  EXPECT_EQ(log, (Log{"OpenMachineKey Software\\Kvel 20019", "QueryValue RootPosition 10 4",
                      "CloseKey 10"}));
}

TEST_F(RegistryTest, NoKeyIsNoSavedPosition) {
  registry.keyExists = false;
  EXPECT_FALSE(ReadSavedPosition(registry, &corner));
  EXPECT_EQ(log, (Log{"OpenMachineKey Software\\Kvel 20019 failed"}));
}

TEST_F(RegistryTest, NoValueIsNoSavedPosition) {
  EXPECT_FALSE(ReadSavedPosition(registry, &corner));
  EXPECT_EQ(log, (Log{"OpenMachineKey Software\\Kvel 20019", "QueryValue RootPosition 10 4",
                      "CloseKey 10"}));
}

TEST_F(RegistryTest, AValueLongerThanFourBytesIsNotRead) {
  registry.SetPosition(std::string("\x0A\x00\x0A\x00\x00", 5));
  EXPECT_FALSE(ReadSavedPosition(registry, &corner));
  EXPECT_EQ(log.back(), "CloseKey 10");
}

// Fewer than four bytes: the read succeeds but fills only part of the
// buffer; no half-filled buffer is taken for a position.
TEST_F(RegistryTest, AValueShorterThanFourBytesIsNoSavedPosition) {
  for (const std::string& bytes : {std::string("\x0A\x00\x0A", 3), std::string("\x0A\x00", 2),
                                   std::string("\x0A", 1), std::string()}) {
    log.clear();
    registry.SetPosition(bytes);
    EXPECT_FALSE(ReadSavedPosition(registry, &corner)) << bytes.size() << " bytes";
    EXPECT_EQ(corner, (Point{-1, -1}));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].rfind("QueryValue RootPosition", 0), 0u);
    EXPECT_EQ(log[2].rfind("CloseKey", 0), 0u);
  }
}

TEST_F(RegistryTest, SavingCreatesKvelUnderSoftwareAndWritesADword) {
  SavePosition(registry, {10, -10});
  EXPECT_EQ(log, (Log{"OpenMachineKey Software 2001D", "CreateSubKey Kvel 10 F003F",
                      Join("SetDwordValue RootPosition", {11, 0xFFF6000A}), "CloseKey 11",
                      "CloseKey 10"}));
  EXPECT_EQ(registry.values["Software\\Kvel\\RootPosition"], RecordingRegistry::Dword(0xFFF6000A));
}

// Where Kvel is not there yet, the save creates it and the next start
// reads the position back.
TEST_F(RegistryTest, SavingWhereKvelIsNotThereYetCreatesItForTheNextStart) {
  registry.keyExists = false;
  SavePosition(registry, {10, -10});
  EXPECT_EQ(log, (Log{"OpenMachineKey Software 2001D", "CreateSubKey Kvel 10 F003F",
                      Join("SetDwordValue RootPosition", {11, 0xFFF6000A}), "CloseKey 11",
                      "CloseKey 10"}));
  EXPECT_TRUE(ReadSavedPosition(registry, &corner));
  EXPECT_EQ(corner, (Point{10, -10}));
}

TEST_F(RegistryTest, NothingIsSavedWhenSoftwareCannotBeOpened) {
  registry.softwareOpens = false;
  SavePosition(registry, {1, 2});
  EXPECT_EQ(log, (Log{"OpenMachineKey Software 2001D failed"}));
  EXPECT_TRUE(registry.values.empty());
}

TEST_F(RegistryTest, NothingIsSavedWhenKvelCannotBeCreated) {
  registry.subKeyCreates = false;
  SavePosition(registry, {1, 2});
  EXPECT_EQ(log, (Log{"OpenMachineKey Software 2001D", "CreateSubKey Kvel 10 F003F failed",
                      "CloseKey 10"}));
  EXPECT_TRUE(registry.values.empty());
}

// Each chart's bitmap is copied as a 590 by 242 block, then the window is
// shown without activation. Where the copy reaches beyond the bitmap, the
// window colour shows, not what the previous chart left there.
TEST(PaintTest, EachChartIsItsBitmapWithTheWindowColourBeyondIt) {
  const struct {
    int chart;
    Log paint;
  } cases[] = {
      {1,
       {"BeginPaint", "CopyBitmap 114 590 242", "FillWithWindowColour 588 0 590 242", "EndPaint",
        "Show noactivate"}},
      {2,
       {"BeginPaint", "CopyBitmap 134 590 242", "FillWithWindowColour 353 0 590 242",
        "FillWithWindowColour 0 140 353 242", "EndPaint", "Show noactivate"}},
  };
  for (const auto& c : cases) {
    Log log;
    RecordingCanvas canvas(log);
    RecordingWindow window(log);
    PaintChart(c.chart, canvas, window);
    EXPECT_EQ(log, c.paint) << "chart " << c.chart;
  }
}

// The window and its chart at the display's scale, worked out by hand:
// 594 x 1.25 = 742.5 -> 743, 246 x 1.75 = 430.5 -> 431, 353 x 1.25 =
// 441.25 -> 441, 353 x 1.5 = 529.5 -> 530.
TEST(DisplayScaleTest, WindowAndChartSizesFollowTheScale) {
  const struct {
    int dpi;
    Size window, chart1, chart2;
  } cases[] = {
      {96, {594, 246}, {588, 244}, {353, 140}},
      {120, {743, 308}, {735, 305}, {441, 175}},
      {144, {891, 369}, {882, 366}, {530, 210}},
      {168, {1040, 431}, {1029, 427}, {618, 245}},
      {192, {1188, 492}, {1176, 488}, {706, 280}},
      {72, {446, 185}, {441, 183}, {265, 105}},  // 445.5, 184.5, 264.75
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WindowSizeAt(c.dpi), c.window) << c.dpi;
    EXPECT_EQ(ChartDrawingAt(1, c.dpi).drawn, c.chart1) << c.dpi;
    EXPECT_EQ(ChartDrawingAt(2, c.dpi).drawn, c.chart2) << c.dpi;
  }
  EXPECT_EQ(WindowSizeAt(0), (Size{594, 246})) << "a DPI the system cannot tell";
}

// Above 96 DPI the charts made at twice the size (214, 234), whole; at 96
// and below the 96-DPI ones.
TEST(DisplayScaleTest, TheLargeChartsAboveNinetySixDpi) {
  const struct {
    int dpi, chart, bitmap;
    Size source;
  } cases[] = {
      {120, 1, 214, {1176, 488}}, {120, 2, 234, {706, 280}}, {192, 1, 214, {1176, 488}},
      {97, 2, 234, {706, 280}},   {96, 1, 114, {588, 244}},  {96, 2, 134, {353, 140}},
      {72, 1, 114, {588, 244}},
  };
  for (const auto& c : cases) {
    const ChartDrawing drawing = ChartDrawingAt(c.chart, c.dpi);
    EXPECT_EQ(drawing.bitmapId, c.bitmap) << c.dpi << " chart " << c.chart;
    EXPECT_EQ(drawing.source, c.source) << c.dpi << " chart " << c.chart;
  }
}

// At 144 DPI: the large chart shrunk to 882 x 366 (chart 1) or 530 x 210
// (chart 2), the window colour beyond it in the client area (885 x 363 in
// a frame of 3 pixels).
TEST(PaintTest, AtAnotherScaleTheChartIsDrawnAtItsSize) {
  const struct {
    int chart;
    Log paint;
  } cases[] = {
      {1,
       {"BeginPaint", "StretchBitmap 214 1176 488 882 366", "FillWithWindowColour 882 0 885 363",
        "EndPaint", "Show noactivate"}},
      {2,
       {"BeginPaint", "StretchBitmap 234 706 280 530 210", "FillWithWindowColour 530 0 885 363",
        "FillWithWindowColour 0 210 530 363", "EndPaint", "Show noactivate"}},
  };
  for (const auto& c : cases) {
    Log log;
    RecordingCanvas canvas(log);
    RecordingWindow window(log);
    window.dpi = 144;
    window.client = {885, 363};
    PaintChart(c.chart, canvas, window);
    EXPECT_EQ(log, c.paint) << "chart " << c.chart;
  }
}

TEST(DisplayScaleTest, AMoveToAnotherScaleTakesTheSuggestedRectangleAndRepaints) {
  Log log;
  RecordingWindow window(log);
  HandleDpiChange(window, {100, 50, 1288, 542});
  EXPECT_EQ(log, (Log{"Place 100 50 1288 542", "InvalidateClient"}));
  EXPECT_EQ(window.outer, (Rect{100, 50, 1288, 542}));
}

TEST(PaintTest, AreasBeyondABitmapThatCoversTheBlockAreNone) {
  Rect areas[2];
  EXPECT_EQ(AreasBeyondBitmap({590, 242}, ChartCopyBlock, areas), 0);
  EXPECT_EQ(AreasBeyondBitmap({600, 300}, ChartCopyBlock, areas), 0);
  ASSERT_EQ(AreasBeyondBitmap({600, 100}, ChartCopyBlock, areas), 1);
  EXPECT_EQ(areas[0], (Rect{0, 100, 590, 242}));
}

TEST(PaintTest, ResourceNumbersAreTheProgramsOwn) {
  EXPECT_EQ(IDB_CHART1, 114);
  EXPECT_EQ(IDB_CHART2, 134);
  EXPECT_EQ(IDC_DRAG, 136);
  EXPECT_EQ(IDS_ROOT_CLASS, 1);
  EXPECT_EQ(IDS_ROOT_TITLE, 2);
  EXPECT_STREQ(IDI_LOADBMP_NAME, L"LOADBMP");
  EXPECT_EQ(ControlMessage, 1124u);
}

class ControlMessageTest : public ::testing::Test {
 protected:
  Log log;
  RecordingWindow window{log};
  int mode = 2;
};

TEST_F(ControlMessageTest, EffectOfEachWParam) {
  EXPECT_EQ(ControlEffectOf(1), ControlEffect::ShowChart1);
  EXPECT_EQ(ControlEffectOf(2), ControlEffect::ShowChart2);
  EXPECT_EQ(ControlEffectOf(3), ControlEffect::Quit);
  for (uintptr_t other : {0u, 4u, 5u, 100u, 0x10001u, 0xFFFFFFFFu})
    EXPECT_EQ(ControlEffectOf(other), ControlEffect::Nothing) << other;
}

TEST_F(ControlMessageTest, OneShowsChart1AtOnce) {
  HandleControlMessage(mode, 1, window);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(log, (Log{"InvalidateClient", "Show normal", "Update"}));
}

TEST_F(ControlMessageTest, TwoWhileChart2IsShownPaintsItAgain) {
  HandleControlMessage(mode, 2, window);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(log, (Log{"InvalidateClient", "Show normal", "Update"}));
}

TEST_F(ControlMessageTest, ThreeQuitsWithExitCode0) {
  HandleControlMessage(mode, 3, window);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(log, (Log{"PostQuit 0"}));
}

TEST_F(ControlMessageTest, AnyOtherDoesNothing) {
  for (uintptr_t other : {0u, 4u, 1124u, 0xFFFFFFFFu}) HandleControlMessage(mode, other, window);
  EXPECT_EQ(mode, 2);
  EXPECT_TRUE(log.empty());
}

TEST(CloseTest, CloseQuitsWithExitCode0) {
  Log log;
  RecordingWindow window(log);
  HandleClose(window);
  EXPECT_EQ(log, (Log{"PostQuit 0"}));
}

// The move notification's point is the client corner, inside the frame;
// what is saved is the outer corner, where start-up puts the window.
TEST(MoveTest, EveryMoveSavesTheOuterTopLeftCorner) {
  Log log;
  RecordingWindow window(log);
  RecordingRegistry registry(log);
  window.outer = {100, 200, 694, 446};
  HandleMove(window, registry);
  HandleMove(window, registry);
  const Log once = {"OuterRect",
                    "OpenMachineKey Software 2001D",
                    "CreateSubKey Kvel 10 F003F",
                    Join("SetDwordValue RootPosition", {11, 0x00C80064}),
                    "CloseKey 11",
                    "CloseKey 10"};
  EXPECT_EQ(log,
            Concat({once,
                    {"OuterRect", "OpenMachineKey Software 2001D", "CreateSubKey Kvel 12 F003F",
                     Join("SetDwordValue RootPosition", {13, 0x00C80064}), "CloseKey 13",
                     "CloseKey 12"}}));
}

// Start-up with recording platform calls; the created window's outer
// rectangle is where it was asked to be.
class RecordingStartup final : public StartupPlatform {
 public:
  RecordingStartup(Log& log, RootWindowState& state) : log_(log), state_(state) {}
  Rect workArea = {0, 0, 1024, 768};
  Rect virtualScreen = {0, 0, 1024, 768};
  int systemDpi = 96;
  bool registers = true;
  bool creates = true;
  int loopResult = 0;
  Rect created = {};

  bool RegisterMainWindowClass() override {
    log_.push_back(std::string("RegisterMainWindowClass") + (registers ? "" : " failed"));
    return registers;
  }
  Rect WorkArea() override { return Answer(log_, "WorkArea", workArea); }
  Rect VirtualScreen() override { return Answer(log_, "VirtualScreen", virtualScreen); }
  int SystemDpi() override { return systemDpi; }  // a query with no effect: not logged
  void PlaceMainWindow(Point corner, Size size) override {
    log_.push_back(Join("PlaceMainWindow", {corner.x, corner.y, size.w, size.h}));
    created = {corner.x, corner.y, corner.x + size.w, corner.y + size.h};
  }
  bool CreateMainWindow() override {
    log_.push_back(Join("CreateMainWindow", {state_.ChartMode}) + (creates ? "" : " failed"));
    return creates;
  }
  void ShowWindow(ShowCommand command) override { log_.push_back(Show(command)); }
  void UpdateWindow() override { log_.push_back("UpdateWindow"); }
  int RunMessageLoop() override { return Answer(log_, "RunMessageLoop", loopResult); }

 private:
  Log& log_;
  RootWindowState& state_;
};

class StartupTest : public ::testing::Test {
 protected:
  Log log;
  RootWindowState state;
  RecordingStartup platform{log, state};
  RecordingRegistry registry{log};
  const Log readPosition = {"OpenMachineKey Software\\Kvel 20019", "QueryValue RootPosition 10 4",
                            "CloseKey 10"};
};

TEST_F(StartupTest, WithoutASavedValueTheWindowStartsInTheBottomRightCorner) {
  EXPECT_EQ(RunRootWindow(state, L"RtNavo.exe 2", platform, registry), 0);
  EXPECT_EQ(state.ChartMode, 2);
  EXPECT_EQ(log, Concat({{"RegisterMainWindowClass"},
                         readPosition,
                         {"WorkArea", "VirtualScreen", "PlaceMainWindow 430 522 594 246",
                          "CreateMainWindow 2", "Show normal", "UpdateWindow", "RunMessageLoop"}}));
}

// At 144 DPI the window is 891 x 369: the bottom-right corner of a
// 1024 x 768 work area is (133, 399); a saved corner is kept only when the
// window of that size meets the screen, and is pulled back by that size.
TEST_F(StartupTest, AtAnotherScaleTheWindowIsPlacedAtItsScaledSize) {
  platform.systemDpi = 144;
  registry.keyExists = false;
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{133, 399, 1024, 768}));
  const struct {
    Point saved;
    Rect start;
  } cases[] = {
      {{-891, 100}, {133, 399, 1024, 768}},  // touches the left edge from outside
      {{-890, 100}, {-890, 100, 1, 469}},    // one column on
      {{500, 500}, {133, 399, 1024, 768}},   // pulled back by 891 x 369
      {{100, -369}, {133, 399, 1024, 768}},  // touches the top edge from outside
  };
  for (const auto& c : cases) {
    registry.keyExists = true;
    registry.SetPosition(RecordingRegistry::Dword(EncodePosition(c.saved)));
    RunRootWindow(state, L"RtNavo.exe", platform, registry);
    EXPECT_EQ(platform.created, c.start) << c.saved.x << "," << c.saved.y;
  }
}

TEST_F(StartupTest, TheWorkAreaIsReadAlsoWhenThereIsNoKey) {
  registry.keyExists = false;
  platform.workArea = {0, 30, 800, 600};
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(state.ChartMode, 1);
  EXPECT_EQ(log, (Log{"RegisterMainWindowClass", "OpenMachineKey Software\\Kvel 20019 failed",
                      "WorkArea", "VirtualScreen", "PlaceMainWindow 206 354 594 246",
                      "CreateMainWindow 1", "Show normal", "UpdateWindow", "RunMessageLoop"}));
}

TEST_F(StartupTest, ASavedPointLeftOfOrAboveTheWorkAreaIsUsedUnchanged) {
  registry.SetPosition(RecordingRegistry::Dword(0xFFF6000A));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{10, -10, 604, 236}));
  registry.SetPosition(RecordingRegistry::Dword(EncodePosition({-20, -30})));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{-20, -30, 574, 216}));
}

TEST_F(StartupTest, ASavedPointPastTheRightOrBottomEdgeIsPulledBack) {
  registry.SetPosition(RecordingRegistry::Dword(EncodePosition({1000, 700})));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{430, 522, 1024, 768}));
  registry.SetPosition(RecordingRegistry::Dword(EncodePosition({-20, 700})));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{-20, 522, 574, 768}));
}

TEST_F(StartupTest, ASavedCornerWhollyOffTheVirtualScreenGivesTheDefaultPlace) {
  registry.SetPosition(RecordingRegistry::Dword(EncodePosition({-2000, -2000})));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{430, 522, 1024, 768}));
  platform.virtualScreen = {-2560, -2048, 1024, 768};  // monitors left and above
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{-2000, -2000, -1406, -1754}));
}

TEST_F(StartupTest, AShortValueGivesTheDefaultPlace) {
  registry.SetPosition(std::string("\x0A\x00", 2));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{430, 522, 1024, 768}));
}

TEST_F(StartupTest, ALongValueGivesTheDefaultPlace) {
  registry.SetPosition(std::string("\x0A\x00\x0A\x00\x00\x00\x00\x00", 8));
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{430, 522, 1024, 768}));
}

TEST_F(StartupTest, FailedRegistrationEndsAtOnceWithExitCode0) {
  platform.registers = false;
  platform.loopResult = 7;
  EXPECT_EQ(RunRootWindow(state, L"RtNavo.exe", platform, registry), 0);
  EXPECT_EQ(log, (Log{"RegisterMainWindowClass failed"}));
}

TEST_F(StartupTest, FailedCreationEndsWithExitCode0) {
  platform.creates = false;
  platform.loopResult = 7;
  EXPECT_EQ(RunRootWindow(state, L"RtNavo.exe", platform, registry), 0);
  EXPECT_EQ(log.back(), "CreateMainWindow 1 failed");
  EXPECT_EQ(log[log.size() - 2], "PlaceMainWindow 430 522 594 246");
}

TEST_F(StartupTest, TheExitCodeIsTheMessageLoopsOwn) {
  platform.loopResult = 0;
  EXPECT_EQ(RunRootWindow(state, L"RtNavo.exe", platform, registry), 0);
}

// An unmoved window stays where it is from one run to the next: what the
// move notification at start-up writes is what the next start reads.
TEST_F(StartupTest, AWindowThatIsNotMovedComesBackToTheSamePlace) {
  registry.SetPosition(RecordingRegistry::Dword(EncodePosition({100, 200})));
  for (int run = 0; run < 3; ++run) {
    RunRootWindow(state, L"RtNavo.exe", platform, registry);
    EXPECT_EQ(platform.created, (Rect{100, 200, 694, 446})) << "run " << run;
    RecordingWindow window(log);
    window.outer = platform.created;  // the notification at creation and first show
    HandleMove(window, registry);
    EXPECT_EQ(registry.values["Software\\Kvel\\RootPosition"],
              RecordingRegistry::Dword(EncodePosition({100, 200})));
  }
}

TEST_F(StartupTest, AWindowStartedWithoutAValueComesBackToTheSamePlace) {
  registry.keyExists = false;
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  RecordingWindow window(log);
  window.outer = platform.created;
  HandleMove(window, registry);
  RunRootWindow(state, L"RtNavo.exe", platform, registry);
  EXPECT_EQ(platform.created, (Rect{430, 522, 1024, 768}));
}

}  // namespace
}  // namespace navo::rootwin::testing
