// NavoSetup: the full-screen main window, the progress dialog and its timer,
// the copy requests and the registration, wired to the installer's run. The
// program speaks UTF-16 to Windows; the texts it keeps in GBK cross through
// code page 936 by number, whatever the system's code page.
#include <windows.h>
// needs the types of windows.h
#include <shellapi.h>

#include "common/gbk_wide.h"
#include "common/win32_message_loop.h"
#include "setup/res/resource.h"
#include "setup/setup_sequence.h"
#include "setup/shell/win32_install_platform.h"

namespace navo::setup {
namespace {

constexpr int ClassNameSize = 20;
constexpr int TitleSize = 50;
const wchar_t DialogName[] = L"SETUPDLG";
const wchar_t IconName[] = L"loadbmp";
const wchar_t OpenVerb[] = L"open";

struct SetupShell {
  HINSTANCE instance = nullptr;  // saved when the main window is created
  wchar_t caption[TitleSize] = {};
  SetupRun run;
};

SetupShell shell;

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

class Win32ProgressDialog final : public ProgressDialog {
 public:
  explicit Win32ProgressDialog(HWND dialog) : dialog_(dialog) {}
  bool MeasureWaitingText(WaitingTextLayout& layout) override;
  void ApplyWaitingTextFit(const WaitingTextFit& fit) override;
  void StartTimer() override { SetTimer(dialog_, ProgressTimerId, ProgressTimerPeriod, nullptr); }
  void StopTimer() override { KillTimer(dialog_, ProgressTimerId); }
  void End(int result) override { EndDialog(dialog_, result); }

 private:
  // The template's first control.
  HWND WaitingText() const { return GetWindow(dialog_, GW_CHILD); }
  HWND dialog_;
};

bool Win32ProgressDialog::MeasureWaitingText(WaitingTextLayout& layout) {
  HWND text = WaitingText();
  wchar_t content[64];
  const int length = GetWindowTextW(text, content, sizeof content / sizeof content[0]);
  RECT control, dialog;
  if (!text || length <= 0 || !GetWindowRect(text, &control) || !GetWindowRect(dialog_, &dialog))
    return false;
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
  SIZE extent = {};
  const BOOL measured = GetTextExtentPoint32W(dc, content, length, &extent);
  SelectObject(dc, old);
  ReleaseDC(text, dc);
  layout.textWidth = extent.cx;
  layout.controlWidth = control.right - control.left;
  layout.dialogLeft = dialog.left;
  layout.dialogWidth = dialog.right - dialog.left;
  return measured != FALSE;
}

void Win32ProgressDialog::ApplyWaitingTextFit(const WaitingTextFit& fit) {
  HWND text = WaitingText();
  RECT control, dialog;
  GetWindowRect(text, &control);
  GetWindowRect(dialog_, &dialog);
  SetWindowPos(text, nullptr, 0, 0, fit.controlWidth, control.bottom - control.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(dialog_, nullptr, fit.dialogLeft, dialog.top, fit.dialogWidth,
               dialog.bottom - dialog.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

class Win32SetupWindow final : public SetupWindow {
 public:
  explicit Win32SetupWindow(HWND window) : window_(window) {}
  void Show() override { ShowWindow(window_, SW_SHOWNORMAL); }
  int RunProgressDialog() override {
    return static_cast<int>(DialogBoxParamW(shell.instance, DialogName, window_, SetupDlgProc, 0));
  }
  void ShowMessage(const char* text, MessageIcon icon) override {
    // A GBK text is never longer in UTF-16 units than in bytes.
    wchar_t wide[FinalMessageSize];
    GbkToWide(text, wide, FinalMessageSize);
    const UINT style = icon == MessageIcon::Warning ? MB_OK | MB_ICONWARNING : MB_OK;
    MessageBoxW(window_, wide, shell.caption, style);
  }
  void Close() override { SendMessageW(window_, WM_CLOSE, 0, 0); }

 private:
  HWND window_;
};

class Win32HelpShell final : public HelpShell {
 public:
  size_t ReadSystemDirectory(wchar_t* buffer, size_t size) override {
    return GetSystemDirectoryW(buffer, static_cast<UINT>(size));
  }
  bool FileExists(const wchar_t* path) override {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  void OpenHelp(const wchar_t* path) override {
    ShellExecuteW(GetDesktopWindow(), OpenVerb, path, nullptr, nullptr, SW_SHOW);
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
      shell.instance = reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance;
      LoadStringW(shell.instance, IDS_TITLE, shell.caption, TitleSize);
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
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace
}  // namespace navo::setup

// The program takes no command line. wWinMain all the same: the start-up
// code behind WinMain reads its start-up information with the 8-bit call.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  using namespace navo::setup;
  wchar_t className[ClassNameSize];
  wchar_t title[TitleSize];
  LoadStringW(instance, IDS_CLASS_NAME, className, ClassNameSize);
  LoadStringW(instance, IDS_TITLE, title, TitleSize);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = SetupWndProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = nullptr;
  windowClass.hIconSm = LoadIconW(instance, IconName);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = className;
  if (LOWORD(RegisterClassExW(&windowClass)) == 0) return SetupExitCode(shell.run);

  // The whole run happens while the window is created: it no longer exists
  // when creation returns, and its close has posted the quit request with
  // the run's exit code.
  HWND window = CreateWindowExW(WS_EX_TOPMOST, className, title, WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return SetupExitCode(shell.run);
  ShowWindow(window, SW_SHOWNORMAL);
  return navo::RunMessageLoop();
}
