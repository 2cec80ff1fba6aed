// The installer's windows on Win32, in UTF-16: the progress dialog, the
// full-screen main window and the shell that opens the help file.
#pragma once

#include <windows.h>

#include "setup/platform.h"
#include "setup/setup_sequence.h"

namespace navo::setup {

class Win32ProgressDialog final : public ProgressDialog {
 public:
  explicit Win32ProgressDialog(HWND dialog) : dialog_(dialog) {}
  bool MeasureWaitingText(WaitingTextLayout& layout) override;
  void ApplyWaitingTextFit(const WaitingTextFit& fit) override;
  void StartTimer() override { SetTimer(dialog_, ProgressTimerId, ProgressTimerPeriod, nullptr); }
  void StopTimer() override { KillTimer(dialog_, ProgressTimerId); }
  void End(int result) override { EndDialog(dialog_, result); }
  // Before the text is measured: the template's font may lack its glyphs
  // (common/text_font.h).
  void UseFontHoldingWaitingText();

 private:
  // The template's first control.
  HWND WaitingText() const { return GetWindow(dialog_, GW_CHILD); }
  HWND dialog_;
};

// The main window; its progress dialog is the template SETUPDLG run by
// dialogProc, its messages have caption as their title.
class Win32SetupWindow final : public SetupWindow {
 public:
  Win32SetupWindow(HWND window, HINSTANCE instance, const wchar_t* caption, DLGPROC dialogProc)
      : window_(window), instance_(instance), caption_(caption), dialogProc_(dialogProc) {}
  void Show() override { ShowWindow(window_, SW_SHOWNORMAL); }
  int RunProgressDialog() override;
  void ShowMessage(const char* text, MessageIcon icon) override;
  void Close() override { SendMessageW(window_, WM_CLOSE, 0, 0); }

 private:
  HWND window_;
  HINSTANCE instance_;
  const wchar_t* caption_;
  DLGPROC dialogProc_;
};

class Win32HelpShell final : public HelpShell {
 public:
  size_t ReadSystemDirectory(wchar_t* buffer, size_t size) override;
  bool FileExists(const wchar_t* path) override;
  void OpenHelp(const wchar_t* path) override;
  void Quit(int exitCode) override { PostQuitMessage(exitCode); }
};

}  // namespace navo::setup
