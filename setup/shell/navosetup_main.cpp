// NavoSetup: the full-screen main window, the progress dialog and its timer,
// the copy requests and the registration, wired to the installer's run.
#include <windows.h>
// needs the types of windows.h
#include <shellapi.h>

#include "resources/NavoSetup/resource.h"
#include "setup/setup_sequence.h"
#include "setup/win32_install_platform.h"

namespace navo::setup {
namespace {

constexpr int ClassNameSize = 20;
constexpr int TitleSize = 50;
const char DialogName[] = "SETUPDLG";
const char IconName[] = "loadbmp";
const char OpenVerb[] = "open";

struct SetupShell {
  HINSTANCE instance = nullptr;  // saved when the main window is created
  char caption[TitleSize] = {};
  SetupRun run;
};

SetupShell shell;

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

class Win32ProgressDialog final : public ProgressDialog {
 public:
  explicit Win32ProgressDialog(HWND dialog) : dialog_(dialog) {}
  void StartTimer() override { SetTimer(dialog_, ProgressTimerId, ProgressTimerPeriod, nullptr); }
  void StopTimer() override { KillTimer(dialog_, ProgressTimerId); }
  void End(int result) override { EndDialog(dialog_, result); }

 private:
  HWND dialog_;
};

class Win32SetupWindow final : public SetupWindow {
 public:
  explicit Win32SetupWindow(HWND window) : window_(window) {}
  void Show() override { ShowWindow(window_, SW_SHOWNORMAL); }
  int RunProgressDialog() override {
    return static_cast<int>(DialogBoxParamA(shell.instance, DialogName, window_, SetupDlgProc, 0));
  }
  void ShowMessage(const char* text, MessageIcon icon) override {
    const UINT style = icon == MessageIcon::Warning ? MB_OK | MB_ICONWARNING : MB_OK;
    MessageBoxA(window_, text, shell.caption, style);
  }
  void Close() override { SendMessageA(window_, WM_CLOSE, 0, 0); }

 private:
  HWND window_;
};

class Win32HelpShell final : public HelpShell {
 public:
  size_t ReadSystemDirectory(char* buffer, size_t size) override {
    return GetSystemDirectoryA(buffer, static_cast<UINT>(size));
  }
  bool FileExists(const char* path) override {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  void OpenHelp(const char* path) override {
    ShellExecuteA(GetDesktopWindow(), OpenVerb, path, nullptr, nullptr, SW_SHOW);
  }
  void Quit(int exitCode) override { PostQuitMessage(exitCode); }
};

// Copies, the registration and the beeps run on the dialog, the parent of
// the copy operation's own windows.
INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  Win32ProgressDialog progress(dialog);
  switch (message) {
    case WM_INITDIALOG:
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
      shell.instance = reinterpret_cast<const CREATESTRUCTA*>(lParam)->hInstance;
      LoadStringA(shell.instance, IDS_TITLE, shell.caption, sizeof shell.caption);
      Win32SetupWindow setupWindow(window);
      OnMainWindowCreate(shell.run, setupWindow);
      break;
    }
    case WM_CLOSE: {
      Win32HelpShell help;
      OnMainWindowClose(shell.run, help);
      break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace
}  // namespace navo::setup

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace navo::setup;
  char className[ClassNameSize];
  char title[TitleSize];
  LoadStringA(instance, IDS_CLASS_NAME, className, sizeof className);
  LoadStringA(instance, IDS_TITLE, title, sizeof title);

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = SetupWndProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = nullptr;
  windowClass.hIconSm = LoadIconA(instance, IconName);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = className;
  if (LOWORD(RegisterClassExA(&windowClass)) == 0) return SetupExitCode(shell.run);

  // The whole run happens while the window is created: it no longer exists
  // when creation returns, and its close has posted the quit request with
  // the run's exit code.
  HWND window = CreateWindowExA(WS_EX_TOPMOST, className, title, WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return SetupExitCode(shell.run);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
