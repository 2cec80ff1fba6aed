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

int ChartBitmapId(int chartMode);
Size ChartBitmapSize(int chartMode);

// The parts of the copied block that the bitmap does not reach (right of
// it, then below it), at most two; returns how many.
int AreasBeyondBitmap(Size bitmap, Rect areas[2]);

// One paint: the chart of chartMode, the window colour where the copied
// block reaches beyond the bitmap, then the window shown without
// activating it.
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

// WM_CLOSE: the quit message with exit code 0.
void HandleClose(ChartWindow& window);

}  // namespace navo::rootwin
