// NvCodeFind: start-up, the hidden topmost main window that owns the lookup
// dialog, and the message loop.
#include <windows.h>

#include "codefind/shell/nvcodefind_shell.h"
#include "codefind/system_path.h"
#include "resources/NvCodeFind/resource.h"

namespace navo {

LookupProgram program;

namespace {

constexpr int TitleBufferSize = 100;
const char* const OutOfMemoryText = "内存不足，无法运行码表查询。";

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

}  // namespace
}  // namespace navo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace navo;
  program.instance = instance;
  char title[TitleBufferSize], className[TitleBufferSize];
  LoadStringA(instance, IDS_APP_TITLE, title, sizeof title);
  LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);

  RECT workArea = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  // Never shown: it owns the dialog and receives the system's close request.
  HWND mainWindow = CreateWindowExA(WS_EX_OVERLAPPEDWINDOW | WS_EX_TOPMOST, className, title,
                                    WS_OVERLAPPEDWINDOW, 0, 0, workArea.right, workArea.bottom,
                                    nullptr, nullptr, instance, nullptr);
  if (mainWindow == nullptr) return 0;

  if (!program.textBuffer.Allocate()) {
    MessageBoxA(nullptr, OutOfMemoryText, title, MB_OK | MB_ICONERROR);
    DestroyWindow(mainWindow);
    return 0;
  }
  OpenCodeTable(program.table, program.systemDirectory);

  // No dialog keyboard handling: Tab, Enter and Escape stay in the input box.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
