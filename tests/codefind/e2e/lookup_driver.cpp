// Acts as the user of NvCodeFind from a second Win32 program in the same
// Wine prefix: finds the lookup dialog, puts text into its input box,
// answers message boxes, measures how the result pane's pixels differ from
// the lines the script names, and reports the dialog template. It talks to
// the windows in UTF-16 whatever the system's code page, and prints their
// texts as GBK (code page 936); the test script converts them and holds
// every expectation.
//
//   lookup_driver install-table           the test's code table into system32
//   lookup_driver wait-start MS           dialog up; message boxes answered
//   lookup_driver type HEX                text (GBK bytes in hex) typed into the box,
//                                         a character at a time as an input method
//                                         delivers it (WM_CHAR with UTF-16)
//   lookup_driver paste HEX               the same text in one change (WM_SETTEXT)
//   lookup_driver type-utf16 HEX          typed text as UTF-16 code units, four hex
//                                         digits each (for characters outside GBK)
//   lookup_driver pane heading|HEX...     these lines drawn as the pane draws them against
//                                         the pane on the screen: per line, the pixels
//                                         that differ; the text-coloured pixels elsewhere;
//                                         the font height drawn in (36 at 96 DPI)
//   lookup_driver template EXE            its dialog template, field by field
//   lookup_driver texts                   the title, label and heading as drawn: the
//                                         font each is found in, and missing-glyph boxes;
//                                         whether the box holds a character of its font
//   lookup_driver close                   the dialog's close box
//   lookup_driver version EXE             what Windows shows of a program file
//   lookup_driver answer HEX MS           the message box captioned HEX (GBK), answered OK
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/dialog_template.h"
#include "tests/support/win32_driver_report.h"
#include "tests/support/win32_pixels.h"
#include "tests/support/win32_text_ink.h"
#include "tests/support/written_table.h"

using navo::testing::AsPixel;
using navo::testing::FromHexBytes;
using navo::testing::HexBytes;
using navo::testing::WideFromGbk;
using navo::testing::WindowText;

namespace {

const char DialogTitle[] = "Navo码汉字编码查询";
const char Heading[] = "汉字及编码显示窗口";
const char Label[] = "请使用拼音等输入法输入待查询的汉字或词组：";
constexpr int InputBoxId = 1053, ResultPaneId = 1005;
constexpr COLORREF TextColour = RGB(128, 0, 255), BackColour = RGB(255, 255, 225);

HWND FindDialog() { return FindWindowW(L"#32770", WideFromGbk(DialogTitle).c_str()); }

HWND WaitForDialog(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    HWND dialog = FindDialog();
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(100);
  }
  return nullptr;
}

// Message boxes of the program: visible dialogs of its process other than
// the lookup dialog.
struct BoxSearch {
  DWORD process;
  HWND dialog;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM data) {
  BoxSearch& search = *reinterpret_cast<BoxSearch*>(data);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (window != search.dialog && process == search.process && IsWindowVisible(window) &&
      std::strcmp(className, "#32770") == 0)
    search.boxes.push_back(window);
  return TRUE;
}

std::vector<HWND> MessageBoxes(HWND dialog) {
  BoxSearch search{0, dialog, {}};
  GetWindowThreadProcessId(dialog, &search.process);
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
  return search.boxes;
}

// Prints each box as "box:TEXT/CAPTION" and presses its OK button.
int AnswerBoxes(HWND dialog) {
  int answered = 0;
  for (HWND box : MessageBoxes(dialog)) {
    HWND text = GetDlgItem(box, 0xFFFF);
    std::printf("box:%s/%s\n", WindowText(text).c_str(), WindowText(box).c_str());
    std::fflush(stdout);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ++answered;
    Sleep(200);
  }
  return answered;
}

// Answers boxes until none has come for quietMs.
void AnswerBoxesUntilQuiet(HWND dialog, DWORD quietMs) {
  DWORD quiet = 0;
  while (quiet < quietMs) {
    if (AnswerBoxes(dialog) > 0) {
      quiet = 0;
    } else {
      Sleep(100);
      quiet += 100;
    }
  }
}

int WaitStart(DWORD milliseconds) {
  HWND dialog = WaitForDialog(milliseconds);
  if (!dialog) return std::puts("no lookup dialog"), 1;
  std::puts("dialog");
  AnswerBoxesUntilQuiet(dialog, 2500);
  return 0;
}

struct SetText {
  HWND box;
  std::wstring text;
  bool oneChange;
};

DWORD WINAPI SendText(void* data) {
  SetText& request = *static_cast<SetText*>(data);
  if (request.oneChange) {
    SendMessageW(request.box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(request.text.c_str()));
  } else {
    for (wchar_t unit : request.text) SendMessageW(request.box, WM_CHAR, unit, 1);
  }
  return 0;
}

// The text arrives in the box character by character as typed, or in one
// change as pasted. Message boxes raised meanwhile are answered.
int Type(const std::wstring& text, bool oneChange) {
  HWND dialog = WaitForDialog(5000);
  if (!dialog) return std::puts("no lookup dialog"), 1;
  SetText request{GetDlgItem(dialog, InputBoxId), text, oneChange};
  HANDLE sender = CreateThread(nullptr, 0, SendText, &request, 0, nullptr);
  while (WaitForSingleObject(sender, 100) == WAIT_TIMEOUT) AnswerBoxes(dialog);
  CloseHandle(sender);
  AnswerBoxesUntilQuiet(dialog, 600);
  std::printf("box-text:%s\n", HexBytes(WindowText(request.box)).c_str());
  return 0;
}

// The display's DPI, as the system gives it to GDI.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// 宋体 36 at 96 DPI, as much larger at another scale (MulDiv's rounding).
int PaneFontHeight() { return MulDiv(36, ScreenDpi(), 96); }

HFONT PaneFont() {
  LOGFONTW font = {};
  font.lfHeight = PaneFontHeight();
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  lstrcpynW(font.lfFaceName, L"\u5B8B\u4F53", LF_FACESIZE);  // 宋体
  return CreateFontIndirectW(&font);
}

// Equal but for the blending of antialiased edges where two glyphs overlap,
// which the screen and an offscreen bitmap may round differently.
bool Close(DWORD a, DWORD b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int difference = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    if (difference > 48 || difference < -48) return false;
  }
  return true;
}

// The expected lines drawn as the pane draws them, on a base colour; the
// tops of the lines go to bands (and the pane's height after the last).
std::vector<DWORD> DrawLines(int count, char** expected, int width, int height, COLORREF base,
                             std::vector<int>* bands) {
  navo::testing::PixelCanvas canvas(width, height);
  HDC dc = canvas.dc();
  HBRUSH fill = CreateSolidBrush(base);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, fill);
  HFONT font = PaneFont();
  SelectObject(dc, font);
  SetTextColor(dc, TextColour);
  SetBkColor(dc, BackColour);
  SIZE sample;
  GetTextExtentPoint32W(dc, L"\u7AE5", 1, &sample);  // 童
  bands->clear();
  int y = 0;
  for (int i = 0; i < count; ++i) {
    // The pane starts a line only where a sample character's height still fits.
    if (y + sample.cy > height) break;
    const std::wstring text =
        WideFromGbk(std::strcmp(expected[i], "heading") == 0 ? Heading : FromHexBytes(expected[i]));
    SIZE size;
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    TextOutW(dc, 0, y, text.c_str(), int(text.size()));
    bands->push_back(y);
    y += size.cy;
  }
  bands->push_back(height);
  std::vector<DWORD> pixels = canvas.Pixels();
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(fill);
  DeleteObject(font);
  return pixels;
}

// The lines drawn in the pane's font and colours on an empty picture of
// the pane, against the pane on the screen: for each line, the pixels it
// touches (overhangs included) that differ; and the pixels of the pane in
// either text colour that no line touches.
int MeasurePane(int count, char** expected) {
  HWND dialog = WaitForDialog(5000);
  if (!dialog) return std::puts("no lookup dialog"), 1;
  HWND pane = GetDlgItem(dialog, ResultPaneId);
  RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Sleep(700);
  RECT client;
  GetClientRect(pane, &client);
  const int width = client.right, height = client.bottom;
  POINT origin = {0, 0};
  ClientToScreen(pane, &origin);
  std::printf("pane %d %d %d %d\n", int(origin.x), int(origin.y), width, height);
  std::printf("pane font height: %d\n", PaneFontHeight());
  const std::vector<DWORD> shown = navo::testing::ScreenPixels(origin.x, origin.y, width, height);

  // Drawn twice: on a colour that nothing draws, to see which pixels the
  // lines touch, and on the pane's own background (its bottom right pixel,
  // which no line reaches), which antialiased edges blend with.
  const DWORD background = shown.back() & 0xFFFFFF;
  const COLORREF untouched = RGB(1, 2, 3);
  std::vector<int> bands;  // top of each line, and the end of the last
  std::vector<DWORD> touched, expectedPixels;
  touched = DrawLines(count, expected, width, height, untouched, &bands);
  expectedPixels =
      DrawLines(count, expected, width, height,
                RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF), &bands);
  std::printf("lines fitting: %d of %d\n", int(bands.size()) - 1, count);

  std::vector<int> differing(bands.size(), 0);
  int stray = 0;
  for (int row = 0; row < height; ++row) {
    size_t band = 0;
    while (band + 1 < bands.size() && row >= bands[band + 1]) ++band;
    for (int column = 0; column < width; ++column) {
      const size_t at = size_t(row) * width + column;
      const DWORD pixel = shown[at] & 0xFFFFFF;
      if (touched[at] != AsPixel(untouched)) {
        if (!Close(pixel, expectedPixels[at]) && differing[band]++ < 4)
          std::printf("  at %d,%d: shown %06lX, drawn %06lX\n", column, row, pixel,
                      expectedPixels[at]);
      } else if (pixel == AsPixel(TextColour) || pixel == AsPixel(BackColour)) {
        ++stray;
      }
    }
  }
  for (size_t i = 0; i + 1 < bands.size(); ++i)
    std::printf("line %d at %d: %d pixels differ\n", int(i), bands[i], differing[i]);
  std::printf("stray pixels: %d\n", stray);
  return 0;
}

BOOL CALLBACK CountResource(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ResourceCount(HMODULE module, LPCSTR type) {
  int count = 0;
  EnumResourceNamesA(module, type, CountResource, reinterpret_cast<LONG_PTR>(&count));
  return count;
}

// The dialog template 141 in the program file, field for field, and the
// menus and accelerator tables the file holds.
int ReportTemplate(const char* programPath) {
  using navo::testing::Number;
  using navo::testing::Report;
  HMODULE module = LoadLibraryExA(programPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC resource =
      module ? FindResourceA(module, MAKEINTRESOURCEA(141), MAKEINTRESOURCEA(5)) : nullptr;
  if (!resource) return std::puts("no dialog template 141"), 1;
  navo::testing::ReportDialogTemplate(
      static_cast<const BYTE*>(LockResource(LoadResource(module, resource))));
  Report("menus", Number(ResourceCount(module, RT_MENU)));
  Report("accelerator-tables", Number(ResourceCount(module, RT_ACCELERATOR)));
  FreeLibrary(module);
  return 0;
}

// How many of the title's characters show in the caption font; whether the
// label shows in the template's font (System, 10 points) and in 宋体 of its
// height; the number of characters of each, and of the heading in the pane
// font, drawn as missing-glyph boxes.
int ReportTexts(bool chineseLabel) {
  using namespace navo::testing;
  HWND dialog = WaitForDialog(5000);
  if (!dialog) return std::puts("no lookup dialog"), 1;
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(700);
  const Screen screen = CaptureScreen();
  const std::wstring title = WideFromGbk(DialogTitle), label = WideFromGbk(Label);
  std::printf("title-shown: %d of %d characters\n",
              int(CaptionCharactersShown(screen, dialog, title)), int(title.size()));
  std::printf("title-boxes: %d\n", MissingGlyphBoxes(title, NonClientMetrics().lfCaptionFont));
  // Both fonts may draw it alike (a font that lacks a glyph may draw it
  // through the fonts linked to it): each is reported.
  RECT labelArea = {};
  GetWindowRect(GetWindow(dialog, GW_CHILD), &labelArea);
  const LOGFONTW named = DialogTemplateFont(L"System", 10);
  const struct {
    const char* name;
    LOGFONTW font;
  } candidates[] = {{"System", named}, {"宋体", InSongti(named)}};
  for (const auto& candidate : candidates) {
    std::printf("label-in-%s: %s\n", candidate.name,
                ControlShows(screen, labelArea, label, candidate.font) ? "yes" : "no");
    std::printf("label-boxes-in-%s: %d\n", candidate.name,
                MissingGlyphBoxes(label, candidate.font));
  }
  // The box takes the label's font: a character of it fits the box's client
  // area, and the box lies wholly in the dialog's.
  RECT box = {}, dialogClient = {};
  HWND boxWindow = GetDlgItem(dialog, InputBoxId);
  GetClientRect(boxWindow, &box);
  SIZE cell = {};
  HFONT boxFont = CreateFontIndirectW(&candidates[chineseLabel ? 0 : 1].font);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, boxFont);
  GetTextExtentPoint32W(dc, L"\u7AE5", 1, &cell);  // 童
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(boxFont);
  RECT boxArea = {};
  GetWindowRect(boxWindow, &boxArea);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&boxArea), 2);
  GetClientRect(dialog, &dialogClient);
  std::printf("box-holds-a-character: %s (%ldx%ld in %ldx%ld)\n",
              cell.cx <= box.right && cell.cy <= box.bottom ? "yes" : "no", cell.cx, cell.cy,
              box.right, box.bottom);
  std::printf("box-inside-dialog: %s\n",
              boxArea.left >= 0 && boxArea.top >= 0 && boxArea.right <= dialogClient.right &&
                      boxArea.bottom <= dialogClient.bottom
                  ? "yes"
                  : "no");
  LOGFONTW pane;
  HFONT paneFont = PaneFont();
  GetObjectW(paneFont, sizeof pane, &pane);
  DeleteObject(paneFont);
  std::printf("heading-boxes: %d\n", MissingGlyphBoxes(WideFromGbk(Heading), pane));
  return 0;
}

// Any program's message box with this caption: its text is printed and its
// OK button pressed, as a user reads and closes it.
int Answer(const char* captionHex, DWORD milliseconds) {
  const std::string caption = FromHexBytes(captionHex);
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    HWND box = FindWindowW(L"#32770", WideFromGbk(caption).c_str());
    if (box && IsWindowVisible(box)) {
      Sleep(300);  // as a user takes a moment to read it
      std::printf("box:%s/%s\n", WindowText(GetDlgItem(box, 0xFFFF)).c_str(),
                  WindowText(box).c_str());
      std::fflush(stdout);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(100);
  }
  return std::puts("no message box"), 1;
}

// The version resource's texts, as the file's properties show them.
int Version(const char* path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  std::vector<char> data(size ? size : 1);
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, data.data()))
    return std::puts("no version resource"), 1;
  for (const char* name : {"ProductName", "FileDescription", "FileVersion", "CompanyName"}) {
    const std::wstring key = L"\\StringFileInfo\\080404B0\\" + WideFromGbk(name);
    wchar_t* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
      std::printf("%s: %s\n", name, navo::testing::Gbk(value).c_str());
    }
  }
  return 0;
}

// A small table whose codes the test knows: several codes for some
// characters, one-letter codes that a lookup never shows, and a word.
int InstallTable() {
  navo::TableSource source;
  source.candidates = {{"一", "g"},      {"一", "ggll"}, {"二", "fgg"},  {"三", "dggg"},
                       {"四", "lhng"},   {"五", "gghg"}, {"六", "uygy"}, {"七", "agn"},
                       {"八", "wty"},    {"九", "vtn"},  {"十", "fgh"},  {"百", "djf"},
                       {"工", "aaa"},    {"工", "aaaa"}, {"人", "w"},    {"人", "wwww"},
                       {"工人", "aaww"}, {"童", "ujff"}, {"中", "k"},    {"中", "kh"},
                       {"中", "khk"}};
  char path[MAX_PATH];
  GetSystemDirectoryA(path, sizeof path);
  lstrcatA(path, "\\navo.mb");
  return navo::testing::WriteTable(source, path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::puts("usage: lookup_driver COMMAND ..."), 2;
  const std::string command = argv[1];
  if (command == "install-table") return InstallTable();
  if (command == "version" && argc == 3) return Version(argv[2]);
  if (command == "answer" && argc == 4) return Answer(argv[2], std::strtoul(argv[3], nullptr, 10));
  if (command == "wait-start") return WaitStart(argc > 2 ? std::atoi(argv[2]) : 30000);
  if (command == "type" && argc == 3) return Type(WideFromGbk(FromHexBytes(argv[2])), false);
  if (command == "paste" && argc == 3) return Type(WideFromGbk(FromHexBytes(argv[2])), true);
  if (command == "type-utf16" && argc == 3) {
    std::wstring text;
    for (const char* at = argv[2]; std::strlen(at) >= 4; at += 4)
      text += wchar_t(std::strtoul(std::string(at, 4).c_str(), nullptr, 16));
    return Type(text, false);
  }
  if (command == "pane") return MeasurePane(argc - 2, argv + 2);
  if (command == "template" && argc == 3) return ReportTemplate(argv[2]);
  // The label's font: the template's on a Chinese system, 宋体 elsewhere.
  if (command == "texts") return ReportTexts(GetACP() == 936);
  if (command == "close") {
    HWND dialog = WaitForDialog(5000);
    if (!dialog) return std::puts("no lookup dialog"), 1;
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  return std::puts("unknown command"), 2;
}
