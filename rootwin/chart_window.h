// The chart window's own handlers: painting the chart, the control message
// from another program, saving the position on every move, and closing.
#pragma once

#include <cstdint>

#include "rootwin/geometry.h"
#include "rootwin/platform.h"
#include "rootwin/res/resource.h"

namespace navo::rootwin {

constexpr unsigned ControlMessage = 0x0400 + 100;  // WM_USER+100, 1124

constexpr int Chart1BitmapId = IDB_CHART1;
constexpr int Chart2BitmapId = IDB_CHART2;
constexpr Size Chart1BitmapSize = {588, 244};  // 16 colours
constexpr Size Chart2BitmapSize = {353, 140};  // 256 colours
// Copied for both charts, whatever the bitmap's own size; the client area
// of the window inside its dialog frame clips it.
constexpr Size ChartCopyBlock = {590, 242};

// The same charts made at twice the size, for displays above 96 DPI.
constexpr int Chart1LargeBitmapId = IDB_CHART1_LARGE;
constexpr int Chart2LargeBitmapId = IDB_CHART2_LARGE;
constexpr Size Chart1LargeBitmapSize = {1176, 488};
constexpr Size Chart2LargeBitmapSize = {706, 280};

int ChartBitmapId(int chartMode);
Size ChartBitmapSize(int chartMode);

// How a chart is drawn on a display of another scale than 96 DPI.
struct ChartDrawing {
  int bitmapId;
  Size source;  // the bitmap's own size, all of it drawn
  Size drawn;   // the chart's size in the window: the 96-DPI one's at the scale
};

// Above 96 DPI from the chart made at twice the size, shrunk to the scale
// (or, at 192 DPI, drawn as it is): a picture shrunk stays sharp where one
// enlarged blurs. At 96 DPI and below from the 96-DPI one.
ChartDrawing ChartDrawingAt(int chartMode, int dpi);

// The parts of the block that the bitmap does not reach (right of it,
// then below it), at most two; returns how many.
int AreasBeyondBitmap(Size bitmap, Size block, Rect areas[2]);

// One paint at the window's scale: the chart of chartMode, the window colour
// beyond it, then the window shown without activating it. At 96 DPI the
// block is copied from the bitmap pixel for pixel and the window colour
// fills the block beyond the bitmap; at another scale it fills the client
// area beyond the chart drawn (the frame, and so the client area, may not
// follow the scale exactly).
void PaintChart(int chartMode, ChartCanvas& canvas, ChartWindow& window);

enum class ControlEffect {
  Nothing,
  ShowChart1,
  ShowChart2,
  Quit,
};

ControlEffect ControlEffectOf(uintptr_t wParam);

// WM_USER+100: wParam 1 or 2 sets chartMode and paints it now (also when it
// is already shown), 3 quits with 0, anything else does nothing.
void HandleControlMessage(int& chartMode, uintptr_t wParam, ChartWindow& window);

// WM_MOVE: the window's outer top-left corner, the point that start-up
// places the window at, is saved, so that an unmoved window comes back to
// the same place.
void HandleMove(ChartWindow& window, Registry& registry);

// WM_DPICHANGED: the window moved to a monitor of another scale takes the
// rectangle the system suggests for it there (its size at the new scale)
// and is painted again at that scale.
void HandleDpiChange(ChartWindow& window, const Rect& suggested);

// WM_CLOSE: the quit message with exit code 0.
void HandleClose(ChartWindow& window);

}  // namespace navo::rootwin
