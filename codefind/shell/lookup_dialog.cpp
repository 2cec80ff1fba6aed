// The lookup dialog: the input box, whose every change goes through
// HandleInputChange, and the result pane, painted from the history.
#include <windows.h>

#include <cstring>

#include "codefind/code_lookup.h"
#include "codefind/label_fit.h"
#include "codefind/res/resource.h"
#include "codefind/result_pane_layout.h"
#include "codefind/shell/nvcodefind_shell.h"
#include "common/gbk_wide.h"
#include "common/text_font.h"
#include "common/win32_text_font.h"

namespace navo::codefind {

namespace {

constexpr size_t WideLineSize = PaneLineSize;  // a GBK byte or more a unit

// length bytes of GBK text as UTF-16.
int ToWide(const char* text, size_t length, wchar_t (&wide)[WideLineSize]) {
  char line[PaneLineSize];
  if (length >= sizeof line) length = sizeof line - 1;
  std::memcpy(line, text, length);
  line[length] = '\0';
  return static_cast<int>(GbkToWide(line, wide, WideLineSize));
}

class DialogInputBox final : public InputBox {
 public:
  explicit DialogInputBox(HWND box) : box_(box) {}
  // As GBK, cut to limit bytes as the 8-bit call cuts it; a character that
  // GBK cannot hold arrives as "?".
  void ReadText(char* buffer, size_t limit) override {
    wchar_t wide[InputBufferSize];
    GetWindowTextW(box_, wide, InputBufferSize);
    WideToGbk(wide, buffer, limit);
  }
  // The edit control sends EN_CHANGE before SetWindowTextW returns.
  void Empty() override { SetWindowTextW(box_, L""); }

 private:
  HWND box_;
};

class DialogResultPane final : public ResultPaneView {
 public:
  explicit DialogResultPane(HWND pane) : pane_(pane) {}
  void Refresh() override {
    SetWindowTextW(pane_, L"");
    InvalidateRect(pane_, nullptr, TRUE);
  }

 private:
  HWND pane_;
};

class TableLookup final : public CharacterLookup {
 public:
  bool Lookup(const char* typed, char codes[CodesStringSize]) override {
    return LookupCharacterCodes(program.table, typed, codes);
  }
};

class DeviceContextMeasure final : public TextMeasure {
 public:
  explicit DeviceContextMeasure(HDC dc) : dc_(dc) {}
  int TextHeight(const char* text, size_t length) override {
    wchar_t wide[WideLineSize];
    SIZE size = {};
    GetTextExtentPoint32W(dc_, wide, ToWide(text, length, wide), &size);
    return size.cy;
  }

 private:
  HDC dc_;
};

void PaintPane(HWND pane) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(pane, &paint);
  if (pane == program.registeredPane) {
    SetTextColor(dc, PaneTextColour);
    SetBkColor(dc, PaneBackgroundColour);
    SelectObject(dc, program.paneFont);
    RECT client;
    GetClientRect(pane, &client);
    DeviceContextMeasure measure(dc);
    PaneLayout layout;
    LayOutResultPane(program.history, measure, client.bottom - client.top, &layout);
    wchar_t wide[WideLineSize];
    if (layout.showHeading) {
      GbkToWide(ResultPaneHeading, wide, WideLineSize);
      DrawTextW(dc, wide, -1, &client, 0);
    }
    for (size_t i = 0; i < layout.lineCount; ++i) {
      const PaneLine& line = layout.lines[i];
      TextOutW(dc, 0, line.y, wide, ToWide(line.text, line.length, wide));
    }
  }
  EndPaint(pane, &paint);
}

LRESULT CALLBACK ResultPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PaneAttachMessage:
      program.panePreviousProc = reinterpret_cast<WNDPROC>(lParam);
      if (wParam == 1) program.registeredPane = pane;
      return 0;
    case WM_PAINT:
      // The control's own painting then finds nothing left to paint.
      PaintPane(pane);
      break;
    case WM_CLOSE:
      PostQuitMessage(0);
      break;
  }
  return CallWindowProcW(program.panePreviousProc, pane, message, wParam, lParam);
}

void AttachResultPane(HWND dialog) {
  HWND pane = GetDlgItem(dialog, IDC_RESULT_PANE);
  LONG_PTR previous =
      SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResultPaneProc));
  SendMessageW(pane, PaneAttachMessage, 1, previous);
}

// The template's font may lack Chinese glyphs (common/text_font.h): the label
// is judged by its text, the input box by the same text, a sample of the
// Chinese it will hold.
void UseFontsHoldingTexts(HWND dialog) {
  HWND label = GetWindow(dialog, GW_CHILD);
  wchar_t text[64];
  if (!label || GetWindowTextW(label, text, sizeof text / sizeof text[0]) <= 0) return;
  UseFontHoldingText(label, text);
  UseFontHoldingText(GetDlgItem(dialog, IDC_INPUT_BOX), text);
}

// Moved to a monitor of another scale: Windows scales the dialog, its
// controls and its own font (version 2 of per-monitor awareness); the pane's
// font is the program's, made anew at the new scale, and the pane redrawn.
void OnDpiChange(HWND dialog, int dpi) {
  HFONT old = program.paneFont;
  program.paneFont = CreatePaneFont(dpi);
  DeleteObject(old);
  InvalidateRect(GetDlgItem(dialog, IDC_RESULT_PANE), nullptr, TRUE);
}

// The label's text as its font draws it, against the label's client area.
Growth MeasureLabelGrowth(HWND label) {
  wchar_t text[64];
  const int length = GetWindowTextW(label, text, sizeof text / sizeof text[0]);
  RECT client;
  if (length <= 0 || !GetClientRect(label, &client)) return {1, 1};
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE extent = {};
  const BOOL measured = GetTextExtentPoint32W(dc, text, length, &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  if (!measured) return {1, 1};
  return LabelGrowth({extent.cx, extent.cy}, {client.right, client.bottom});
}

// Every control and the dialog's client area grown alike; the dialog keeps
// its centre, as the template centres it.
void GrowDialog(HWND dialog, Growth growth) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const int left = Grow(r.left, growth), top = Grow(r.top, growth);
    SetWindowPos(child, nullptr, left, top, Grow(r.right, growth) - left,
                 Grow(r.bottom, growth) - top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT client, outer;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &outer);
  const int wider = Grow(client.right, growth) - client.right;
  const int taller = Grow(client.bottom, growth) - client.bottom;
  SetWindowPos(dialog, nullptr, outer.left - wider / 2, outer.top - taller / 2,
               outer.right - outer.left + wider, outer.bottom - outer.top + taller,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowLabelWhole(HWND dialog) {
  const Growth growth = MeasureLabelGrowth(GetWindow(dialog, GW_CHILD));
  if (growth.by != growth.per) GrowDialog(dialog, growth);
}

void OnInputChange(HWND dialog) {
  DialogInputBox box(GetDlgItem(dialog, IDC_INPUT_BOX));
  DialogResultPane pane(GetDlgItem(dialog, IDC_RESULT_PANE));
  TableLookup lookup;
  InputWindow window{box, pane, lookup, program.history};
  HandleInputChange(program.input, window);
}

INT_PTR CALLBACK LookupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_DPICHANGED:
      OnDpiChange(dialog, HIWORD(wParam));
      return FALSE;  // the dialog's own handling lays it out again
    case WM_INITDIALOG:
      UseFontsHoldingTexts(dialog);
      ShowLabelWhole(dialog);
      AttachResultPane(dialog);
      ClearLookupHistory(program.history);
      return TRUE;  // the focus goes to the input box
    case WM_COMMAND: {
      const int command = LOWORD(wParam);
      if (command == IDC_INPUT_BOX && HIWORD(wParam) == EN_CHANGE) {
        OnInputChange(dialog);
      } else if (command == IDOK || command == IDCANCEL) {
        // IDCANCEL comes from the close box; the dialog has no buttons.
        EndDialog(dialog, command);
        PostQuitMessage(0);
      }
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

// 宋体 itself, the font that the programs' texts fall back to when the font
// they name lacks a glyph (common/text_font.h): nothing to choose here.
HFONT CreatePaneFont(int dpi) {
  LOGFONTW font = {};
  font.lfHeight = PaneFontHeightAt(dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  GbkToWide(ChineseFallbackFace, font.lfFaceName, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

HWND CreateLookupDialog(HWND owner) {
  return CreateDialogParamW(program.instance, MAKEINTRESOURCEW(IDD_LOOKUP_DIALOG), owner,
                            LookupDialogProc, 0);
}

}  // namespace navo::codefind
