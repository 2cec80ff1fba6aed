// The installer's windows on Win32: thin layers over the wide calls.
#include "setup/shell/win32_setup_windows.h"

// needs the types of windows.h
#include <shellapi.h>

#include "common/gbk_wide.h"
#include "common/win32_text_font.h"
#include "common/system_directory.h"

namespace navo::setup {
namespace {

const wchar_t DialogName[] = L"SETUPDLG";
const wchar_t OpenVerb[] = L"open";

}  // namespace

void Win32ProgressDialog::UseFontHoldingWaitingText() {
  HWND text = WaitingText();
  wchar_t content[64];
  if (text && GetWindowTextW(text, content, sizeof content / sizeof content[0]) > 0)
    UseFontHoldingText(text, content);
}

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

int Win32SetupWindow::RunProgressDialog() {
  return static_cast<int>(DialogBoxParamW(instance_, DialogName, window_, dialogProc_, 0));
}

void Win32SetupWindow::ShowMessage(const char* text, MessageIcon icon) {
  // A GBK text is never longer in UTF-16 units than in bytes.
  wchar_t wide[FinalMessageSize];
  GbkToWide(text, wide, FinalMessageSize);
  const UINT style = icon == MessageIcon::Warning ? MB_OK | MB_ICONWARNING : MB_OK;
  MessageBoxW(window_, wide, caption_, style);
}

size_t Win32HelpShell::ReadSystemDirectory(wchar_t* buffer, size_t size) {
  return navo::ReadSystemDirectory(buffer, size);
}

bool Win32HelpShell::FileExists(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32HelpShell::OpenHelp(const wchar_t* path) {
  ShellExecuteW(GetDesktopWindow(), OpenVerb, path, nullptr, nullptr, SW_SHOW);
}

}  // namespace navo::setup
