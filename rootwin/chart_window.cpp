// The chart window's paint, control message, move and close.
#include "rootwin/chart_window.h"

#include "common/display_scale.h"
#include "rootwin/chart_mode.h"
#include "rootwin/saved_position.h"

namespace navo::rootwin {

int ChartBitmapId(int chartMode) { return chartMode == Chart1 ? Chart1BitmapId : Chart2BitmapId; }

Size ChartBitmapSize(int chartMode) {
  return chartMode == Chart1 ? Chart1BitmapSize : Chart2BitmapSize;
}

ChartDrawing ChartDrawingAt(int chartMode, int dpi) {
  dpi = DpiOrDefault(dpi);
  const Size chart = ChartBitmapSize(chartMode);
  const bool large = dpi > DefaultDpi;
  const int bitmapId = !large ? ChartBitmapId(chartMode)
                       : chartMode == Chart1 ? Chart1LargeBitmapId
                                             : Chart2LargeBitmapId;
  const Size source = !large ? chart
                      : chartMode == Chart1 ? Chart1LargeBitmapSize
                                            : Chart2LargeBitmapSize;
  return {bitmapId, source, {ScaleToDpi(chart.w, dpi), ScaleToDpi(chart.h, dpi)}};
}

int AreasBeyondBitmap(Size bitmap, Size block, Rect areas[2]) {
  const int32_t coveredWidth = bitmap.w < block.w ? bitmap.w : block.w;
  int count = 0;
  if (bitmap.w < block.w) areas[count++] = {bitmap.w, 0, block.w, block.h};
  if (bitmap.h < block.h) areas[count++] = {0, bitmap.h, coveredWidth, block.h};
  return count;
}

void PaintChart(int chartMode, ChartCanvas& canvas, ChartWindow& window) {
  const int dpi = DpiOrDefault(window.Dpi());
  canvas.BeginPaint();
  // What the platform leaves beyond the bitmap would otherwise show the
  // previous chart after a switch (the control message does not erase).
  Rect beyond[2];
  int count;
  if (dpi == DefaultDpi) {
    canvas.CopyBitmap(ChartBitmapId(chartMode), ChartCopyBlock);
    count = AreasBeyondBitmap(ChartBitmapSize(chartMode), ChartCopyBlock, beyond);
  } else {
    const ChartDrawing drawing = ChartDrawingAt(chartMode, dpi);
    canvas.StretchBitmap(drawing.bitmapId, drawing.source, drawing.drawn);
    count = AreasBeyondBitmap(drawing.drawn, window.ClientSize(), beyond);
  }
  for (int i = 0; i < count; ++i) canvas.FillWithWindowColour(beyond[i]);
  canvas.EndPaint();
  window.Show(ShowCommand::NoActivate);
}

ControlEffect ControlEffectOf(uintptr_t wParam) {
  switch (wParam) {
    case 1:
      return ControlEffect::ShowChart1;
    case 2:
      return ControlEffect::ShowChart2;
    case 3:
      return ControlEffect::Quit;
    default:
      return ControlEffect::Nothing;
  }
}

void HandleControlMessage(int& chartMode, uintptr_t wParam, ChartWindow& window) {
  switch (ControlEffectOf(wParam)) {
    case ControlEffect::ShowChart1:
    case ControlEffect::ShowChart2:
      chartMode = static_cast<int>(wParam);
      window.InvalidateClient();
      window.Show(ShowCommand::Normal);
      window.Update();
      break;
    case ControlEffect::Quit:
      window.PostQuit(0);
      break;
    case ControlEffect::Nothing:
      break;
  }
}

void HandleMove(ChartWindow& window, Registry& registry) {
  const Rect outer = window.OuterRect();
  SavePosition(registry, {outer.left, outer.top});
}

void HandleDpiChange(ChartWindow& window, const Rect& suggested) {
  window.Place(suggested);
  window.InvalidateClient();
}

void HandleClose(ChartWindow& window) { window.PostQuit(0); }

}  // namespace navo::rootwin
