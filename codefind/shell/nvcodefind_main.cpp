// NvCodeFind: start-up, the hidden topmost main window that owns the lookup
// dialog, and the message loop.
#include <windows.h>

#include "codefind/lookup_startup.h"
#include "codefind/shell/nvcodefind_shell.h"
#include "codefind/system_path.h"
#include "resources/NvCodeFind/resource.h"

namespace navo {

LookupProgram program;

namespace {

constexpr int TitleBufferSize = 100;

void ReadSystemDirectory() {
  char path[PathBufferSize];
  const UINT length = GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return;  // left as it was
  lstrcpynA(program.systemDirectory, path, sizeof program.systemDirectory);
  EndWithBackslash(program.systemDirectory, sizeof program.systemDirectory);
}

HFONT CreatePaneFont() {
  LOGFONTA font = {};
  font.lfHeight = 36;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  lstrcpynA(font.lfFaceName, "宋体", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      ReadSystemDirectory();
      program.paneFont = CreatePaneFont();
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
  return DefWindowProcA(window, message, wParam, lParam);
}

class Win32Startup final : public LookupStartup {
 public:
  explicit Win32Startup(HINSTANCE instance) : instance_(instance) {
    LoadStringA(instance, IDS_APP_TITLE, title_, sizeof title_);
    LoadStringA(instance, IDS_WINDOW_CLASS, className_, sizeof className_);
  }

  bool CreateMainWindow() override {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className_;
    RegisterClassExA(&windowClass);

    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    // Never shown: it owns the dialog and receives the system's close request.
    mainWindow_ = CreateWindowExA(WS_EX_OVERLAPPEDWINDOW | WS_EX_TOPMOST, className_, title_,
                                  WS_OVERLAPPEDWINDOW, 0, 0, workArea.right, workArea.bottom,
                                  nullptr, nullptr, instance_, nullptr);
    return mainWindow_ != nullptr;
  }
  bool AllocateTextBuffer() override { return program.textBuffer.Allocate(); }
  void ShowStartupFailure(const char* text) override {
    MessageBoxA(nullptr, text, title_, MB_OK | MB_ICONERROR);
  }
  void DestroyMainWindow() override { DestroyWindow(mainWindow_); }
  void OpenTable() override { OpenCodeTable(program.table, program.systemDirectory); }
  int RunMessageLoop() override {
    // No dialog keyboard handling: Tab, Enter and Escape stay in the input box.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
  }

 private:
  HINSTANCE instance_;
  char title_[TitleBufferSize] = {};
  char className_[TitleBufferSize] = {};
  HWND mainWindow_ = nullptr;
};

}  // namespace
}  // namespace navo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  navo::program.instance = instance;
  navo::Win32Startup startup(instance);
  return navo::StartLookupProgram(startup);
}
