// NvCodeFind: start-up, the hidden topmost main window that owns the lookup
// dialog, and the message loop.
#include <windows.h>

#include "codefind/lookup_startup.h"
#include "codefind/res/resource.h"
#include "codefind/shell/nvcodefind_shell.h"
#include "common/gbk_wide.h"
#include "common/system_directory.h"
#include "common/win32_display_scale.h"
#include "common/win32_message_loop.h"
#include "common/win32_program_entry.h"

namespace navo::codefind {

LookupProgram program;

namespace {

constexpr int TitleBufferSize = 100;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // GBK, as the table reader keeps paths; one that GBK cannot hold or
      // that does not fit leaves it empty.
      ReadSystemDirectoryAsGbk(program.systemDirectory);
      // The dialog comes up on the main window's monitor, at its scale.
      program.paneFont = CreatePaneFont(WindowDpi(window));
      program.dialog = CreateLookupDialog(window);
      return 0;
    case WM_CLOSE:
      CloseCodeTable(program.table);
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class Win32Startup final : public LookupStartup {
 public:
  explicit Win32Startup(HINSTANCE instance) : instance_(instance) {
    LoadStringW(instance, IDS_APP_TITLE, title_, TitleBufferSize);
    LoadStringW(instance, IDS_WINDOW_CLASS, className_, TitleBufferSize);
  }

  bool RegisterMainWindowClass() override {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className_;
    return RegisterClassExW(&windowClass) != 0;
  }
  bool CreateMainWindow() override {
    RECT workArea = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    // Never shown: it owns the dialog and receives the system's close request.
    mainWindow_ = CreateWindowExW(WS_EX_OVERLAPPEDWINDOW | WS_EX_TOPMOST, className_, title_,
                                  WS_OVERLAPPEDWINDOW, 0, 0, workArea.right, workArea.bottom,
                                  nullptr, nullptr, instance_, nullptr);
    return mainWindow_ != nullptr;
  }
  bool AllocateTextBuffer() override { return program.textBuffer.Allocate(); }
  void ShowStartupFailure(const char* text) override {
    wchar_t wide[TitleBufferSize];
    GbkToWide(text, wide, TitleBufferSize);
    MessageBoxW(nullptr, wide, title_, MB_OK | MB_ICONERROR);
  }
  void DestroyMainWindow() override { DestroyWindow(mainWindow_); }
  void OpenTable() override { OpenCodeTable(program.table, program.systemDirectory); }
  int RunMessageLoop() override {
    // No dialog keyboard handling: Tab, Enter and Escape stay in the input box.
    return navo::RunMessageLoop();
  }

 private:
  HINSTANCE instance_;
  wchar_t title_[TitleBufferSize] = {};
  wchar_t className_[TitleBufferSize] = {};
  HWND mainWindow_ = nullptr;
};

}  // namespace
}  // namespace navo::codefind

int navo::RunProgram(HINSTANCE instance) {
  codefind::program.instance = instance;
  codefind::Win32Startup startup(instance);
  return codefind::StartLookupProgram(startup);
}
