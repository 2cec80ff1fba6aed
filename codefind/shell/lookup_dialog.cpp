// The lookup dialog: the input box, whose every change goes through
// HandleInputChange, and the result pane, painted from the history.
#include <windows.h>

#include <cstring>

#include "codefind/code_lookup.h"
#include "codefind/res/resource.h"
#include "codefind/result_pane_layout.h"
#include "codefind/shell/nvcodefind_shell.h"
#include "common/gbk_wide.h"
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

void OnInputChange(HWND dialog) {
  DialogInputBox box(GetDlgItem(dialog, IDC_INPUT_BOX));
  DialogResultPane pane(GetDlgItem(dialog, IDC_RESULT_PANE));
  TableLookup lookup;
  InputWindow window{box, pane, lookup, program.history};
  HandleInputChange(program.input, window);
}

INT_PTR CALLBACK LookupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      UseFontsHoldingTexts(dialog);
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

HWND CreateLookupDialog(HWND owner) {
  return CreateDialogParamW(program.instance, MAKEINTRESOURCEW(IDD_LOOKUP_DIALOG), owner,
                            LookupDialogProc, 0);
}

}  // namespace navo::codefind
