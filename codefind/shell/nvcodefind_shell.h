// NvCodeFind's window shell: the state it shares between its window,
// dialog and pane procedures. One instance per process.
#pragma once

#include <windows.h>

#include "codefind/code_table.h"
#include "codefind/input_change.h"
#include "codefind/lookup_history.h"
#include "codefind/shell/win32_platform.h"

namespace navo::codefind {

constexpr int PaneAttachMessage = WM_USER + 101;  // 1125
constexpr COLORREF PaneTextColour = RGB(128, 0, 255);
constexpr COLORREF PaneBackgroundColour = RGB(255, 255, 225);

struct LookupProgram {
  HINSTANCE instance = nullptr;
  char systemDirectory[PathBufferSize] = {};
  HFONT paneFont = nullptr;
  HWND dialog = nullptr;
  HWND registeredPane = nullptr;
  WNDPROC panePreviousProc = nullptr;

  Win32TableFile file;
  Win32Reports reports;
  GlobalTextBuffer textBuffer;
  CodeTable table{file, reports, textBuffer};

  LookupHistory history = {};
  InputState input;
};

extern LookupProgram program;

// The pane's font at a display of dpi.
HFONT CreatePaneFont(int dpi);

// Creates the modeless lookup dialog owned by the main window.
HWND CreateLookupDialog(HWND owner);

}  // namespace navo::codefind
