// The drag apart from Win32: the frame's four bars, the clamp, and the
// states driven by press, timer, mouse move and release, with the exact
// platform calls in their order.
#include "rootwin/drag.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/rootwin/recording_fakes.h"

namespace navo::rootwin::testing {
namespace {

constexpr unsigned MouseMoveMessage = 0x0200;  // WM_MOUSEMOVE
constexpr unsigned RightButtonDownMessage = 0x0204;

// ---------------------------------------------------------------- the frame

TEST(DrawDragOutlineTest, FourPinwheelBarsWithTheirExactArguments) {
  Log log;
  RecordingScreen screen(log);
  DrawDragOutline(screen, {100, 50, 694, 296});
  EXPECT_EQ(log, (Log{"Open DISPLAY", "SelectGrayBrush", "BorderWidth", "BorderHeight",
                      "Invert 100 50 593 1",    // top, from the top-left corner rightwards
                      "Invert 693 50 1 245",    // right, from the top-right corner down
                      "Invert 694 295 -593 1",  // bottom, from the bottom-right corner leftwards
                      "Invert 100 296 1 -245",  // left, from the bottom-left corner upwards
                      "Close DISPLAY"}));
}

TEST(DrawDragOutlineTest, BarsAreAsThickAsTheBorderMetrics) {
  Log log;
  RecordingScreen screen(log);
  screen.borderWidth = 2;
  screen.borderHeight = 3;
  DrawDragOutline(screen, {-10, -20, 584, 226});
  EXPECT_EQ(log, (Log{"Open DISPLAY", "SelectGrayBrush", "BorderWidth", "BorderHeight",
                      "Invert -10 -20 592 3", "Invert 582 -20 2 243", "Invert 584 223 -592 3",
                      "Invert -10 226 2 -243", "Close DISPLAY"}));
}

// A screen of pixels that applies each PatBlt as GDI does: a negative
// extent covers from x + width + 1 to x (and likewise for y and height), so
// the bar includes its starting point and stops one short of the far end.
class PixelScreen final : public ScreenDevice {
 public:
  PixelScreen(int width, int height, int bw, int bh)
      : width_(width),
        bw_(bw),
        bh_(bh),
        inverted(size_t(width) * height, 0),
        blits(size_t(width) * height, 0) {}
  void Open() override {}
  void SelectGrayBrush() override {}
  int BorderWidth() override { return bw_; }
  int BorderHeight() override { return bh_; }
  void InvertPattern(int32_t x, int32_t y, int32_t w, int32_t h) override {
    const int32_t x0 = w < 0 ? x + w + 1 : x, x1 = w < 0 ? x + 1 : x + w;
    const int32_t y0 = h < 0 ? y + h + 1 : y, y1 = h < 0 ? y + 1 : y + h;
    for (int32_t py = y0; py < y1; ++py)
      for (int32_t px = x0; px < x1; ++px) {
        inverted[size_t(py) * width_ + px] ^= 1;
        ++blits[size_t(py) * width_ + px];
      }
  }
  void Close() override {}
  int At(int x, int y) const { return inverted[size_t(y) * width_ + x]; }
  int Blits(int x, int y) const { return blits[size_t(y) * width_ + x]; }

 private:
  int width_, bw_, bh_;

 public:
  std::vector<int> inverted;
  std::vector<int> blits;
};

// The bars never overlap; the top and right bars lie along the inside of
// their edges, and the bottom and left bars, reaching back from the far
// corner, lie one pixel on from it, as the platform places them: the
// bottom bar runs to column R, the left bar down to row B.
TEST(DrawDragOutlineTest, TheBarsDoNotOverlapAndInvertEachPixelOnce) {
  for (int thickness : {1, 2, 3}) {
    const int bw = thickness, bh = thickness + 1;
    PixelScreen screen(60, 40, bw, bh);
    const int L = 5, T = 4, R = 45, B = 30;
    DrawDragOutline(screen, {L, T, R, B});
    int ring = 0, inverted = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool top = x >= L && x < R - bw && y >= T && y < T + bh;
        const bool right = x >= R - bw && x < R && y >= T && y < B - bh;
        const bool bottom = x >= L + bw + 1 && x <= R && y >= B - bh && y < B;
        const bool left = x >= L && x < L + bw && y >= T + bh + 1 && y <= B;
        EXPECT_LE(screen.Blits(x, y), 1) << x << "," << y;
        EXPECT_EQ(screen.At(x, y), top || right || bottom || left ? 1 : 0) << x << "," << y;
        const bool inside = x >= L && x < R && y >= T && y < B;
        const bool core = x >= L + bw && x < R - bw && y >= T + bh && y < B - bh;
        ring += inside && !core;
        inverted += screen.At(x, y);
      }
    EXPECT_EQ(inverted, ring);  // as many pixels as the frame of the rectangle has
  }
}

TEST(DrawDragOutlineTest, TwoDrawsAtTheSameRectangleLeaveTheScreenAsItWas) {
  PixelScreen screen(80, 60, 1, 1);
  DrawDragOutline(screen, {3, 7, 70, 50});
  DrawDragOutline(screen, {3, 7, 70, 50});
  for (int value : screen.inverted) ASSERT_EQ(value, 0);
}

// ---------------------------------------------------------------- the clamp

const Rect Screen = {0, 0, 1024, 768};
const Size Window = {594, 246};

Rect At(int32_t left, int32_t top) { return {left, top, left + 594, top + 246}; }

// The frame of the 594 x 246 window at each place the drags below take it,
// worked out by hand: top bar from the top-left corner, 593 wide; right bar
// from the top-right corner less one, 245 down; bottom bar from the
// bottom-right corner one row up, 593 leftwards; left bar from the
// bottom-left corner, 245 up.
Log OutlineAt430_522() {
  return OutlineCalls({"Invert 430 522 593 1", "Invert 1023 522 1 245", "Invert 1024 767 -593 1",
                       "Invert 430 768 1 -245"});
}
Log OutlineAt300_260() {
  return OutlineCalls({"Invert 300 260 593 1", "Invert 893 260 1 245", "Invert 894 505 -593 1",
                       "Invert 300 506 1 -245"});
}
Log OutlineAt301_262() {
  return OutlineCalls({"Invert 301 262 593 1", "Invert 894 262 1 245", "Invert 895 507 -593 1",
                       "Invert 301 508 1 -245"});
}
Log OutlineAt100_60() {
  return OutlineCalls({"Invert 100 60 593 1", "Invert 693 60 1 245", "Invert 694 305 -593 1",
                       "Invert 100 306 1 -245"});
}
Log OutlineAt110_60() {
  return OutlineCalls({"Invert 110 60 593 1", "Invert 703 60 1 245", "Invert 704 305 -593 1",
                       "Invert 110 306 1 -245"});
}

TEST(ClampTest, InsideIsUnchanged) {
  EXPECT_EQ(ClampToWorkArea(At(100, 100), Screen, Window), At(100, 100));
  EXPECT_EQ(ClampToWorkArea(At(0, 0), Screen, Window), At(0, 0));
  EXPECT_EQ(ClampToWorkArea(At(430, 522), Screen, Window), At(430, 522));
}

TEST(ClampTest, EachEdgeStopsTheRectangleFlushWithIt) {
  EXPECT_EQ(ClampToWorkArea(At(-30, 100), Screen, Window), At(0, 100));
  EXPECT_EQ(ClampToWorkArea(At(100, -30), Screen, Window), At(100, 0));
  EXPECT_EQ(ClampToWorkArea(At(431, 100), Screen, Window), At(430, 100));
  EXPECT_EQ(ClampToWorkArea(At(100, 600), Screen, Window), At(100, 522));
  EXPECT_EQ(ClampToWorkArea(At(-500, -500), Screen, Window), At(0, 0));
  EXPECT_EQ(ClampToWorkArea(At(5000, 5000), Screen, Window), At(430, 522));
}

TEST(ClampTest, TheWorkAreaNeedNotStartAtZero) {
  const Rect area = {100, 40, 1124, 808};
  EXPECT_EQ(ClampToWorkArea(At(50, 20), area, Window), At(100, 40));
  EXPECT_EQ(ClampToWorkArea(At(600, 600), area, Window), At(530, 562));
}

// Narrower than the window: left first, then right wins; the frame ends
// flush with the right edge and sticks out on the left.
TEST(ClampTest, AWorkAreaNarrowerThan594PixelsLeavesItFlushRight) {
  const Rect narrow = {0, 0, 500, 768};
  EXPECT_EQ(ClampToWorkArea(At(-50, 100), narrow, Window), At(-94, 100));
  EXPECT_EQ(ClampToWorkArea(At(300, 100), narrow, Window), At(-94, 100));
  EXPECT_EQ(ClampToWorkArea(At(-94, 100), narrow, Window), At(-94, 100));
  const Rect shortArea = {0, 0, 1024, 200};
  EXPECT_EQ(ClampToWorkArea(At(100, -10), shortArea, Window), At(100, -46));
  EXPECT_EQ(ClampToWorkArea(At(100, 300), shortArea, Window), At(100, -46));
}

TEST(ClampTest, EachTestKeepsTheSizeItIsGiven) {
  // The size comes from the drag, not from the rectangle.
  EXPECT_EQ(ClampToWorkArea({-10, 5, 20, 25}, Screen, {30, 20}), (Rect{0, 5, 30, 25}));
  EXPECT_EQ(ClampToWorkArea({-10, -5, 10, 10}, Screen, {594, 246}), (Rect{0, 0, 594, 246}));
}

TEST(ClampTest, ClampingTwiceChangesNothing) {
  const Rect areas[] = {Screen, {0, 0, 500, 200}, {100, 40, 1124, 808}};
  for (const Rect& area : areas)
    for (int32_t left = -700; left <= 1200; left += 97)
      for (int32_t top = -400; top <= 900; top += 83) {
        const Rect once = ClampToWorkArea(At(left, top), area, Window);
        EXPECT_EQ(ClampToWorkArea(once, area, Window), once);
        EXPECT_EQ(once.right - once.left, 594);
        EXPECT_EQ(once.bottom - once.top, 246);
      }
}

// ---------------------------------------------------------------- the states

class DragTest : public ::testing::Test {
 protected:
  Log log;
  RecordingWindow window{log};
  RecordingScreen screen{log};
  DragState state;

  // The window where start-up puts it; the cursor grabs it at (100, 40).
  void SetUp() override {
    window.outer = At(430, 522);
    window.cursor = {530, 562};
  }
  Log Take() {
    Log taken;
    taken.swap(log);
    return taken;
  }
  void Press() { OnCursorRequest(state, window, LeftButtonDownMessage); }
  void Timer() { OnDragTimer(state, window); }
  void MoveTo(int32_t x, int32_t y) {
    window.cursor = {x, y};
    OnDragMouseMove(state, window, screen);
  }
  void Release() { OnDragRelease(state, window, screen); }
  void Outlined() {
    Press();
    Timer();
    MoveTo(531, 563);
    Take();
  }
};

TEST_F(DragTest, ACursorRequestForAnyOtherMouseMessageOnlySetsTheDragCursor) {
  for (unsigned message : {MouseMoveMessage, RightButtonDownMessage, 0u, 0x0202u})
    OnCursorRequest(state, window, message);
  EXPECT_EQ(Take(), (Log{"SetDragCursor", "SetDragCursor", "SetDragCursor", "SetDragCursor"}));
  EXPECT_EQ(window.flags, 0u);
  EXPECT_EQ(state.DragArmed, 0);
}

TEST_F(DragTest, PressTakesTheCaptureAndStartsTheTimer) {
  window.workArea = {0, 0, 1024, 740};
  Press();
  EXPECT_EQ(Take(), (Log{"WorkArea", "TakeCapture", "CursorPosition", "OuterRect", "SetDragFlags 1",
                         "StartTimer 1 1", "SetDragCursor"}));
  EXPECT_EQ(state.DragWorkArea, (Rect{0, 0, 1024, 740}));
  EXPECT_EQ(state.OutlineRect, At(430, 522));
  EXPECT_EQ(state.GrabOffset, (Offset{100, 40}));
  EXPECT_EQ(state.DragSize, (Size{594, 246}));
  EXPECT_EQ(state.DragArmed, 0);
  EXPECT_EQ(window.flags, DRAG_PRESSED);
}

TEST_F(DragTest, PressReplacesWhateverFlagsThereWere) {
  window.flags = 0xF0;
  Press();
  EXPECT_EQ(window.flags, DRAG_PRESSED);
}

TEST_F(DragTest, MovesBeforeTheTimerAreIgnored) {
  Press();
  Take();
  MoveTo(600, 600);
  MoveTo(10, 10);
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(window.flags, DRAG_PRESSED);
}

TEST_F(DragTest, PressAndReleaseBeforeTheTimerMoveNothing) {
  Press();
  Take();
  Release();
  EXPECT_EQ(Take(), (Log{"StopTimer 1", "ReleaseCapture", "SetDragFlags 0"}));
  EXPECT_EQ(window.flags, 0u);
  EXPECT_EQ(state.DragArmed, 0);
  EXPECT_EQ(window.outer, At(430, 522));
}

TEST_F(DragTest, TheTimerStopsItselfAndArmsTheDrag) {
  Press();
  Take();
  Timer();
  EXPECT_EQ(Take(), (Log{"StopTimer 1"}));
  EXPECT_EQ(state.DragArmed, 1);
  EXPECT_EQ(window.flags, DRAG_PRESSED);
}

TEST_F(DragTest, PressTimerAndReleaseWithoutMovingShowNoFrameAndMoveNothing) {
  Press();
  Timer();
  Take();
  Release();
  EXPECT_EQ(Take(), (Log{"StopTimer 1", "ReleaseCapture", "DragFlags", "SetDragFlags 0"}));
  EXPECT_EQ(state.DragArmed, 0);
  EXPECT_EQ(window.flags, 0u);
}

// The first move shows the frame over the window's own place; the cursor
// is not even read.
TEST_F(DragTest, TheFirstMoveAfterArmingShowsTheFrameOverTheWindow) {
  Press();
  Timer();
  Take();
  MoveTo(700, 700);
  EXPECT_EQ(Take(), Concat({{"DragFlags"}, OutlineAt430_522(), {"SetDragFlags 3"}}));
  EXPECT_EQ(window.flags, DRAG_PRESSED | DRAG_OUTLINE);
  EXPECT_EQ(state.OutlineRect, At(430, 522));
}

TEST_F(DragTest, LaterMovesEraseTheFrameAndDrawItAtTheCursorMinusTheGrabOffset) {
  Outlined();
  MoveTo(400, 300);
  EXPECT_EQ(Take(), Concat({{"DragFlags"},
                            OutlineAt430_522(),
                            {"CursorPosition"},
                            OutlineAt300_260()}));
  EXPECT_EQ(state.OutlineRect, At(300, 260));
  MoveTo(401, 302);
  EXPECT_EQ(Take(), Concat({{"DragFlags"},
                            OutlineAt300_260(),
                            {"CursorPosition"},
                            OutlineAt301_262()}));
  EXPECT_EQ(window.outer, At(430, 522));  // the window stays until the release
}

TEST_F(DragTest, TheReleaseErasesTheFrameAndMovesTheWindowThereOnce) {
  Outlined();
  MoveTo(400, 300);
  Take();
  Release();
  EXPECT_EQ(Take(), Concat({{"StopTimer 1", "ReleaseCapture", "DragFlags"},
                            OutlineAt300_260(),
                            {"Move 300 260 594 246", "SetDragFlags 0"}}));
  EXPECT_EQ(window.outer, At(300, 260));
  EXPECT_EQ(state.DragArmed, 0);
  EXPECT_EQ(window.flags, 0u);
}

// Dragged against an edge the frame stops flush with it while the cursor
// goes on; moving back, it follows at the grab offset again.
TEST_F(DragTest, TheFrameStopsAtEachEdgeAndFollowsAgainOnTheWayBack) {
  Outlined();
  MoveTo(50, 300);  // left edge: 50 - 100 < 0
  EXPECT_EQ(state.OutlineRect, At(0, 260));
  MoveTo(400, 10);  // top edge
  EXPECT_EQ(state.OutlineRect, At(300, 0));
  MoveTo(1020, 300);  // right edge
  EXPECT_EQ(state.OutlineRect, At(430, 260));
  MoveTo(400, 767);  // bottom edge
  EXPECT_EQ(state.OutlineRect, At(300, 522));
  MoveTo(1023, 767);  // bottom-right corner
  EXPECT_EQ(state.OutlineRect, At(430, 522));
  MoveTo(400, 300);  // back inside: the grab offset holds again
  EXPECT_EQ(state.OutlineRect, At(300, 260));
}

// The window ends at the last frame's corner, not at the cursor minus the
// grab offset: they differ where the frame was clamped.
TEST_F(DragTest, TheReleaseMovesToTheClampedFrameNotToTheCursor) {
  Outlined();
  MoveTo(1023, 10);
  Take();
  Release();
  const Log calls = Take();
  EXPECT_EQ(calls[calls.size() - 2], "Move 430 0 594 246");
  EXPECT_EQ(window.outer, At(430, 0));
  EXPECT_NE(window.outer.left, 1023 - 100);
  EXPECT_NE(window.outer.top, 10 - 40);
}

// Start-up tests only the right and the bottom edge, so the window may be
// partly off the work area; the first move's frame is already inside.
TEST_F(DragTest, AWindowPartlyOutsideJumpsInsideOnASingleMove) {
  window.outer = At(-20, -10);
  window.cursor = {80, 30};
  Press();
  Timer();
  MoveTo(81, 30);
  Take();
  EXPECT_EQ(state.OutlineRect, At(0, 0));
  Release();
  EXPECT_EQ(window.outer, At(0, 0));
}

TEST_F(DragTest, AWorkAreaNarrowerThanTheWindowKeepsTheFrameFlushRight) {
  window.workArea = {0, 0, 500, 768};
  window.outer = At(0, 100);
  window.cursor = {100, 140};
  Press();
  Timer();
  MoveTo(100, 140);
  EXPECT_EQ(state.OutlineRect, At(-94, 100));
  MoveTo(300, 140);
  EXPECT_EQ(state.OutlineRect, At(-94, 100));
  Release();
  EXPECT_EQ(window.outer, At(-94, 100));
}

// The work area is read at the press and not again during the drag.
TEST_F(DragTest, TheWorkAreaOfThePressHoldsForTheWholeDrag) {
  Press();
  Timer();
  MoveTo(531, 563);
  Take();
  window.workArea = {0, 0, 800, 600};
  MoveTo(1023, 767);
  EXPECT_EQ(state.OutlineRect, At(430, 522));
  for (const std::string& call : Take()) EXPECT_NE(call, "WorkArea");
}

TEST_F(DragTest, IdleMovesAndReleasesOnlyStopTheTimerAndTheCapture) {
  MoveTo(10, 10);
  EXPECT_TRUE(Take().empty());
  Release();
  EXPECT_EQ(Take(), (Log{"StopTimer 1", "ReleaseCapture", "SetDragFlags 0"}));
  EXPECT_EQ(window.outer, At(430, 522));
}

// Only after the capture was lost: a new press starts over from the
// window's place; a frame on the screen is left there, and the new drag is
// armed only by its own timer.
TEST_F(DragTest, APressDuringADragStartsAgainAndLeavesTheOldFrame) {
  Outlined();
  MoveTo(400, 300);
  Take();
  window.cursor = {440, 530};
  Press();
  EXPECT_EQ(Take(), (Log{"WorkArea", "TakeCapture", "CursorPosition", "OuterRect", "SetDragFlags 1",
                         "StartTimer 1 1", "SetDragCursor"}));
  EXPECT_EQ(window.flags, DRAG_PRESSED);
  EXPECT_EQ(state.DragArmed, 0);
  EXPECT_EQ(state.OutlineRect, At(430, 522));
  EXPECT_EQ(state.GrabOffset, (Offset{10, 8}));
  MoveTo(500, 500);
  EXPECT_TRUE(Take().empty());
}

TEST_F(DragTest, AWholeDragFromPressToRelease) {
  Press();
  MoveTo(540, 570);  // before the timer: nothing
  Timer();
  MoveTo(541, 570);  // frame over the window
  MoveTo(200, 100);  // frame at (100, 60)
  MoveTo(210, 100);  // frame at (110, 60)
  Release();
  EXPECT_EQ(Take(),
            Concat({{"WorkArea", "TakeCapture", "CursorPosition", "OuterRect", "SetDragFlags 1",
                     "StartTimer 1 1", "SetDragCursor", "StopTimer 1", "DragFlags"},
                    OutlineAt430_522(),
                    {"SetDragFlags 3", "DragFlags"},
                    OutlineAt430_522(),
                    {"CursorPosition"},
                    OutlineAt100_60(),
                    {"DragFlags"},
                    OutlineAt100_60(),
                    {"CursorPosition"},
                    OutlineAt110_60(),
                    {"StopTimer 1", "ReleaseCapture", "DragFlags"},
                    OutlineAt110_60(),
                    {"Move 110 60 594 246", "SetDragFlags 0"}}));
}

}  // namespace
}  // namespace navo::rootwin::testing
