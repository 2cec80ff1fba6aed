// RtNavo: the root chart window. Start-up and the window procedure, which
// hands every message it handles to the window's logic and answers 0.
#include <windows.h>

#include "common/win32_program_entry.h"
#include "rootwin/chart_window.h"
#include "rootwin/drag.h"
#include "rootwin/shell/win32_root_window.h"
#include "rootwin/startup.h"

namespace navo::rootwin {

static_assert(ControlMessage == WM_USER + 100, "the control message is WM_USER+100");
static_assert(LeftButtonDownMessage == WM_LBUTTONDOWN, "a press comes as WM_LBUTTONDOWN");

namespace {

struct RootProgram {
  HINSTANCE instance = nullptr;
  RootWindowState state;
  Win32Registry registry;
};

RootProgram program;

LRESULT CALLBACK RootWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32ChartWindow window(hwnd, program.instance);
  Win32ScreenDevice screen;
  switch (message) {
    case WM_CREATE:
    case WM_PAINT: {
      Win32ChartCanvas canvas(hwnd, program.instance);
      PaintChart(program.state.ChartMode, canvas, window);
      return 0;
    }
    case WM_MOVE:
      HandleMove(window, program.registry);
      return 0;
    case WM_CLOSE:
      HandleClose(window);
      return 0;
    case WM_DPICHANGED: {
      const RECT& r = *reinterpret_cast<const RECT*>(lParam);
      HandleDpiChange(window, {r.left, r.top, r.right, r.bottom});
      return 0;
    }
    case WM_SETCURSOR:
      OnCursorRequest(program.state.drag, window, HIWORD(lParam));
      return 0;
    case WM_TIMER:
      OnDragTimer(program.state.drag, window);
      return 0;
    case WM_MOUSEMOVE:
      OnDragMouseMove(program.state.drag, window, screen);
      return 0;
    case WM_LBUTTONUP:
      OnDragRelease(program.state.drag, window, screen);
      return 0;
    case ControlMessage:
      HandleControlMessage(program.state.ChartMode, wParam, window);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace
}  // namespace navo::rootwin

// The whole command line, program name included, as the system keeps it:
// the chart is chosen from what follows the name.
int navo::RunProgram(HINSTANCE instance) {
  using namespace navo::rootwin;
  program.instance = instance;
  Win32Startup startup(instance, RootWindowProc);
  return RunRootWindow(program.state, GetCommandLineW(), startup, program.registry);
}
