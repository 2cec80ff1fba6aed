// Dragging the window by its body: the press arrives as a cursor-shape
// request (the window is disabled), a timer arms the drag, mouse moves show
// and move an inverted frame clamped to the work area, and the release
// moves the window once to the frame's last place.
#pragma once

#include <cstdint>

#include "rootwin/geometry.h"
#include "rootwin/platform.h"

namespace navo::rootwin {

// DragFlags, DRAG_PRESSED, DRAG_OUTLINE and the fields of DragState
// (DragArmed, OutlineRect...) keep the names the window's drag goes by
// wherever it is described, upper-case bits and mixed-case state included,
// so that a reader finds each under one name everywhere.
//
// DragFlags bits, kept in the window's extra storage at index 4.
constexpr uint32_t DRAG_PRESSED = 1;  // pressed on the window, drag under way
constexpr uint32_t DRAG_OUTLINE = 2;  // the frame is on the screen
constexpr int DragFlagsIndex = 4;
constexpr int WindowExtraBytes = 12;

constexpr unsigned DragTimerId = 1;
constexpr unsigned DragTimerPeriod = 1;  // milliseconds

constexpr unsigned LeftButtonDownMessage = 0x0201;  // WM_LBUTTONDOWN

struct DragState {
  int DragArmed = 0;       // 1 once the drag timer has fired after the press
  Rect OutlineRect = {};   // the window's rectangle at the press, then the frame's
  Rect DragWorkArea = {};  // read at each press
  Offset GrabOffset = {};  // cursor at the press minus the window's corner
  Size DragSize = {};      // the window's outer size at the press
};

// The frame of rect inverted on the whole screen: four bars of border
// thickness along its edges, each from one corner to one bar short of the
// next, like a pinwheel. The bottom and left bars are given with a negative
// extent from the far corner; GDI counts such a bar from its starting point,
// so those two lie one pixel further on (to column R, down to row B). The
// bars never overlap, and a second draw restores the screen.
void DrawDragOutline(ScreenDevice& screen, const Rect& rect);

// Pulls rect inside workArea keeping size: left, top, right, bottom, each
// test on what the one before left. Wider or taller than the work area, it
// ends flush with the right or bottom edge.
Rect ClampToWorkArea(Rect rect, const Rect& workArea, Size size);

// WM_SETCURSOR: a press when mouseMessage is WM_LBUTTONDOWN, then the drag
// cursor in every case.
void OnCursorRequest(DragState& state, DragWindow& window, unsigned mouseMessage);
// WM_TIMER: stops the drag timer and arms the drag.
void OnDragTimer(DragState& state, DragWindow& window);
// WM_MOUSEMOVE: shows the frame over the window's place at the first move
// after arming, moves it with the cursor afterwards.
void OnDragMouseMove(DragState& state, DragWindow& window, ScreenDevice& screen);
// WM_LBUTTONUP: ends the drag, moving the window to the frame if one is shown.
void OnDragRelease(DragState& state, DragWindow& window, ScreenDevice& screen);

}  // namespace navo::rootwin
