// Dragging the window by its body with an inverted outline.
#include "rootwin/drag.h"

namespace navo::rootwin {

void DrawDragOutline(ScreenDevice& screen, const Rect& rect) {
  const int32_t L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  screen.Open();
  screen.SelectGrayBrush();
  const int32_t bw = screen.BorderWidth();
  const int32_t bh = screen.BorderHeight();
  screen.InvertPattern(L, T, R - L - bw, bh);       // top, rightwards
  screen.InvertPattern(R - bw, T, bw, B - T - bh);  // right, downwards
  screen.InvertPattern(R, B - bh, L + bw - R, bh);  // bottom, leftwards
  screen.InvertPattern(L, B, bw, T + bh - B);       // left, upwards
  screen.Close();                                   // the stock brush stays selected
}

Rect ClampToWorkArea(Rect rect, const Rect& workArea, Size size) {
  if (rect.left < workArea.left) {
    rect.left = workArea.left;
    rect.right = rect.left + size.w;
  }
  if (rect.top < workArea.top) {
    rect.top = workArea.top;
    rect.bottom = rect.top + size.h;
  }
  if (rect.right > workArea.right) {
    rect.right = workArea.right;
    rect.left = rect.right - size.w;
  }
  if (rect.bottom > workArea.bottom) {
    rect.bottom = workArea.bottom;
    rect.top = rect.bottom - size.h;
  }
  return rect;
}

void OnCursorRequest(DragState& state, DragWindow& window, unsigned mouseMessage) {
  if (mouseMessage == LeftButtonDownMessage) {
    state.DragWorkArea = window.WorkArea();
    window.TakeCapture();
    const Point cursor = window.CursorPosition();
    state.OutlineRect = window.OuterRect();
    const Rect& r = state.OutlineRect;
    state.GrabOffset = {cursor.x - r.left, cursor.y - r.top};
    state.DragSize = {r.right - r.left, r.bottom - r.top};
    window.SetDragFlags(DRAG_PRESSED);
    // A press always leads to Pressed: a drag whose capture was lost starts
    // over and is armed only by the new press's timer.
    state.DragArmed = 0;
    window.StartTimer(DragTimerId, DragTimerPeriod);
  }
  window.SetDragCursor();
}

void OnDragTimer(DragState& state, DragWindow& window) {
  window.StopTimer(DragTimerId);
  state.DragArmed = 1;
}

void OnDragMouseMove(DragState& state, DragWindow& window, ScreenDevice& screen) {
  if (state.DragArmed == 0) return;
  const uint32_t flags = window.DragFlags();
  if (flags & DRAG_OUTLINE) {
    DrawDragOutline(screen, state.OutlineRect);  // erases the frame shown
    const Point cursor = window.CursorPosition();
    const int32_t left = cursor.x - state.GrabOffset.dx;
    const int32_t top = cursor.y - state.GrabOffset.dy;
    const Rect moved = {left, top, left + state.DragSize.w, top + state.DragSize.h};
    state.OutlineRect = ClampToWorkArea(moved, state.DragWorkArea, state.DragSize);
    DrawDragOutline(screen, state.OutlineRect);
  } else if (flags & DRAG_PRESSED) {
    // The first move shows the frame over the window's own place.
    state.OutlineRect = ClampToWorkArea(state.OutlineRect, state.DragWorkArea, state.DragSize);
    DrawDragOutline(screen, state.OutlineRect);
    window.SetDragFlags(flags | DRAG_OUTLINE);
  }
}

void OnDragRelease(DragState& state, DragWindow& window, ScreenDevice& screen) {
  window.StopTimer(DragTimerId);
  window.ReleaseCapture();
  if (state.DragArmed == 1 && (window.DragFlags() & DRAG_OUTLINE)) {
    DrawDragOutline(screen, state.OutlineRect);
    window.Move({state.OutlineRect.left, state.OutlineRect.top}, state.DragSize);
  }
  window.SetDragFlags(0);
  state.DragArmed = 0;
}

}  // namespace navo::rootwin
