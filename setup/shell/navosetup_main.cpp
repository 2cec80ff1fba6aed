// NavoSetup: start-up, the main window's and the progress dialog's
// procedures, wired to the installer's run through the Win32 layers of
// win32_setup_windows and win32_install_platform. The program speaks UTF-16
// to Windows; the texts it keeps in GBK cross through code page 936 by
// number, whatever the system's code page.
#include <windows.h>

#include "common/win32_message_loop.h"
#include "common/win32_program_entry.h"
#include "setup/res/resource.h"
#include "setup/setup_sequence.h"
#include "setup/shell/win32_install_platform.h"
#include "setup/shell/win32_setup_windows.h"

namespace navo::setup {

static_assert(CommandOk == IDOK && CommandCancel == IDCANCEL, "Enter and Esc are the dialog's own");

namespace {

constexpr int ClassNameSize = 20;
constexpr int TitleSize = 50;
const wchar_t IconName[] = L"loadbmp";

struct SetupShell {
  HINSTANCE instance = nullptr;  // saved when the main window is created
  wchar_t caption[TitleSize] = {};
  SetupRun run;
};

SetupShell shell;

// Copies, the registration and the beeps run on the dialog, the parent of
// the copy operation's own windows.
INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  Win32ProgressDialog progress(dialog);
  switch (message) {
    case WM_INITDIALOG:
      progress.UseFontHoldingWaitingText();
      OnDialogInit(shell.run, progress);
      break;
    case WM_TIMER: {
      Win32InstallPlatform platform(dialog);
      OnDialogTimer(shell.run, progress, platform);
      break;
    }
    case WM_COMMAND:
      OnDialogCommand(shell.run, progress, LOWORD(wParam));
      break;
  }
  // The default dialog handling applies throughout; no focus is set.
  return FALSE;
}

LRESULT CALLBACK SetupWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      shell.instance = reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance;
      LoadStringW(shell.instance, IDS_TITLE, shell.caption, TitleSize);
      Win32SetupWindow setupWindow(window, shell.instance, shell.caption, SetupDlgProc);
      OnMainWindowCreate(shell.run, setupWindow);
      break;
    }
    case WM_CLOSE: {
      Win32HelpShell help;
      OnMainWindowClose(shell.run, help);
      break;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The full-screen, topmost main window, named by the program's strings.
class Win32SetupStartup final : public SetupStartup {
 public:
  explicit Win32SetupStartup(HINSTANCE instance) : instance_(instance) {
    LoadStringW(instance, IDS_CLASS_NAME, className_, ClassNameSize);
    LoadStringW(instance, IDS_TITLE, title_, TitleSize);
  }

  bool RegisterMainWindowClass() override {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = SetupWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance_;
    windowClass.hIcon = nullptr;
    windowClass.hIconSm = LoadIconW(instance_, IconName);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className_;
    return LOWORD(RegisterClassExW(&windowClass)) != 0;
  }
  bool CreateMainWindow() override {
    window_ = CreateWindowExW(WS_EX_TOPMOST, className_, title_, WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                              nullptr, instance_, nullptr);
    return window_ != nullptr;
  }
  void ShowMainWindow() override { ShowWindow(window_, SW_SHOWNORMAL); }
  int RunMessageLoop() override { return navo::RunMessageLoop(); }

 private:
  HINSTANCE instance_;
  wchar_t className_[ClassNameSize] = {};
  wchar_t title_[TitleSize] = {};
  HWND window_ = nullptr;
};

}  // namespace
}  // namespace navo::setup

// The program takes no command line.
int navo::RunProgram(HINSTANCE instance) {
  using namespace navo::setup;
  Win32SetupStartup startup(instance);
  return StartSetup(shell.run, startup);
}
