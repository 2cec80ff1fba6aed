// Acts as the user of NavoSetup from a second Win32 program in the same Wine
// prefix: starts it from a distribution folder, watches its windows, looks
// at the backdrop, the progress dialog and the final message, answers the
// message as a user would, and reports what it saw as "key: value" lines
// (GBK text as is; the test script converts it and holds every
// expectation). It reads every text of the program in UTF-16, so that what
// it reports does not depend on the system's code page.
//
//   setup_driver run SETUP.EXE FOLDER [options]   FOLDER its current directory
//                                                 (any script: the command line is UTF-16)
//       --esc            press Esc as soon as the progress dialog is shown
//       --show N         start it with STARTF_USESHOWWINDOW and wShowWindow N
//       --capture DIR    save DIR\dialog.bmp and DIR\message.bmp
//   setup_driver resources SETUP.EXE      the program's resources
//   setup_driver make-table PATH [VERSION]  a small code table navo.mb
//   setup_driver record-help LOG FILE     the test's handler for .hlp files
//   setup_driver layouts                  the keyboard layouts with an IME
//   setup_driver hold FILE RELEASE        holds FILE open without sharing, as
//                                         another program may, until RELEASE
//                                         exists (at most two minutes)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/dialog_template.h"
#include "tests/support/win32_driver_report.h"
#include "tests/support/win32_pixels.h"
#include "tests/support/win32_text_ink.h"
#include "tests/support/written_table.h"

using navo::testing::AsPixel;
using navo::testing::CaptureScreen;
using navo::testing::ClassName;
using navo::testing::ExtendedStyleNames;
using navo::testing::Gbk;
using navo::testing::Number;
using navo::testing::Report;
using navo::testing::SaveBitmap;
using navo::testing::Screen;
using navo::testing::WindowCaption;
using navo::testing::WindowStyleNames;

namespace {

const char Title[] = "Navo输入法2.0白金版";
const char WaitText[] = "正在安装，请稍候……";
const wchar_t WaitTextWide[] = L"正在安装，请稍候……";
constexpr int MessageTextId = 0xFFFF;  // the message box's text control
constexpr int MessageIconId = 0x0440;  // ... and its icon control
constexpr DWORD RunLimitMs = 120000;

// Line breaks written as \n, so that a message is one report line.
std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

std::string Rect(const RECT& r) {
  return Number(r.left) + "," + Number(r.top) + " " + Number(r.right - r.left) + "x" +
         Number(r.bottom - r.top);
}

// ---------------------------------------------------------------- screen

bool SameRegion(const Screen& a, const Screen& b, const RECT& r) {
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, a.height); ++y)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, a.width); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

// Pixels inside r (screen coordinates) that differ from colour.
int PixelsOtherThan(const Screen& screen, const RECT& r, DWORD colour) {
  int count = 0;
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, screen.height); ++y)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, screen.width); ++x)
      count += screen.At(x, y) != colour;
  return count;
}

// ---------------------------------------------------------------- windows

struct ProcessWindows {
  DWORD process = 0;
  HWND backdrop = nullptr;
  std::vector<HWND> dialogs;  // visible #32770 windows of the process
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  ProcessWindows& found = *reinterpret_cast<ProcessWindows*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != found.process) return TRUE;
  const std::string name = ClassName(window);
  if (name == "NAVOSETUP") found.backdrop = window;
  if (name == "#32770" && IsWindowVisible(window)) found.dialogs.push_back(window);
  return TRUE;
}

ProcessWindows FindProcessWindows(DWORD process) {
  ProcessWindows found;
  found.process = process;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FirstChildWithText(HWND parent, const char* text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowCaption(child) == text) return child;
  return nullptr;
}

// The texts of a dialog's static controls, in order, joined by " | ": what
// a user reads in it, whatever ids its template gives them (a dialog that
// draws its text itself has none).
std::string StaticTexts(HWND dialog) {
  std::string texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = WindowCaption(child);
    if (ClassName(child) != "Static" || text.empty()) continue;
    texts += (texts.empty() ? "" : " | ") + OneLine(text);
  }
  return texts;
}

bool IsProgressDialog(HWND dialog) { return FirstChildWithText(dialog, WaitText) != nullptr; }

void ReportBackdrop(HWND backdrop, const Screen& screen) {
  Report("backdrop-class", ClassName(backdrop));
  Report("backdrop-title", WindowCaption(backdrop));
  // The system adds WS_CLIPSIBLINGS to every top-level window.
  const DWORD style = DWORD(GetWindowLongA(backdrop, GWL_STYLE)) & ~(WS_CLIPSIBLINGS | WS_DISABLED);
  Report("backdrop-style", WindowStyleNames(style));
  Report("backdrop-exstyle", ExtendedStyleNames(DWORD(GetWindowLongA(backdrop, GWL_EXSTYLE))));
  RECT rect;
  GetWindowRect(backdrop, &rect);
  Report("backdrop-rect", Rect(rect));
  Report("screen",
         Number(GetSystemMetrics(SM_CXSCREEN)) + "x" + Number(GetSystemMetrics(SM_CYSCREEN)));
  Report("backdrop-shown", !IsWindowVisible(backdrop) ? "hidden"
                           : IsIconic(backdrop)       ? "minimised"
                           : IsZoomed(backdrop)       ? "maximised"
                                                      : "normal");
  // The modal dialog disables its owner while it runs.
  Report("backdrop-enabled", IsWindowEnabled(backdrop) ? "yes" : "no");
  // The class background (not readable from another process) as it shows on
  // the screen outside the dialog: its four corners and middles.
  const DWORD desktop = AsPixel(GetSysColor(COLOR_BACKGROUND));
  const int w = screen.width, h = screen.height;
  const POINT samples[] = {{1, 1},      {w - 2, 1},      {1, h - 2},  {w - 2, h - 2},
                           {w / 2, 10}, {w / 2, h - 10}, {10, h / 2}, {w - 10, h / 2}};
  int desktopColoured = 0;
  for (const POINT& p : samples) desktopColoured += screen.At(p.x, p.y) == desktop;
  Report("backdrop-desktop-coloured", Number(desktopColoured) + " of 8 places");
}

// The dialog base units of a dialog in the font "华文新魏" 16 points, as the
// dialog manager works them out: the average width of the Latin letters
// and the font's height. Also the width of text in that font.
HFONT DialogFont() {
  HDC dc = GetDC(nullptr);
  LOGFONTW font = {};
  font.lfHeight = -MulDiv(16, GetDeviceCaps(dc, LOGPIXELSY), 72);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"华文新魏", LF_FACESIZE);
  ReleaseDC(nullptr, dc);
  return CreateFontIndirectW(&font);
}

SIZE DialogBaseUnits(int* textWidth = nullptr) {
  HDC dc = GetDC(nullptr);
  HFONT handle = DialogFont();
  HGDIOBJ old = SelectObject(dc, handle);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent;
  GetTextExtentPoint32W(dc, letters, 52, &extent);
  const SIZE base = {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
  if (textWidth) {
    GetTextExtentPoint32W(dc, WaitTextWide, lstrlenW(WaitTextWide), &extent);
    *textWidth = extent.cx;
  }
  SelectObject(dc, old);
  DeleteObject(handle);
  ReleaseDC(nullptr, dc);
  return base;
}

// The columns from the first to the last one that holds a pixel other than
// background, in a width x height block of pixels; 0 when there is none.
int InkWidth(const std::vector<DWORD>& pixels, int width, int height, DWORD background) {
  int first = width, last = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (pixels[size_t(y) * width + x] != background)
        first = std::min(first, x), last = std::max(last, x);
  return last < first ? 0 : last - first + 1;
}

// How wide the waiting text is drawn whole in the dialog's font, in ink.
int WholeTextInk(DWORD face) {
  const int width = 600, height = 60;
  navo::testing::PixelCanvas canvas(width, height);
  HBRUSH brush = CreateSolidBrush(RGB((face >> 16) & 0xFF, (face >> 8) & 0xFF, face & 0xFF));
  RECT all = {0, 0, width, height};
  FillRect(canvas.dc(), &all, brush);
  DeleteObject(brush);
  HFONT font = DialogFont();
  HGDIOBJ old = SelectObject(canvas.dc(), font);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), GetSysColor(COLOR_WINDOWTEXT));
  TextOutW(canvas.dc(), 10, 10, WaitTextWide, lstrlenW(WaitTextWide));
  SelectObject(canvas.dc(), old);
  DeleteObject(font);
  return InkWidth(canvas.Pixels(), width, height, face);
}

// The screen with the waiting text, and where its control is.
struct WaitingTextSeen {
  bool seen = false;
  Screen screen;
  RECT area = {};
};
WaitingTextSeen waitingTextSeen;

// The progress dialog as read when it is first seen, reported once its
// picture is taken. Under emulation the dialog's second can run out while the
// picture is taken; a control read after that reads as nothing (no icon, a
// text where the window was), so nothing is read of it afterwards.
struct DialogFacts {
  std::vector<std::pair<std::string, std::string>> lines;
  RECT drawnText = {};  // the waiting text's control up to the dialog's right edge, on screen
};

DialogFacts ReadProgressDialog(HWND dialog, HWND backdrop) {
  DialogFacts facts;
  const auto Report = [&facts](const std::string& key, const std::string& value) {
    facts.lines.emplace_back(key, value);
  };
  Report("dialog-owner", GetWindow(dialog, GW_OWNER) == backdrop ? "backdrop" : "other");
  Report("dialog-title", "\"" + WindowCaption(dialog) + "\"");
  // The system adds WS_CLIPSIBLINGS and DS_3DLOOK to every dialog.
  const DWORD style = DWORD(GetWindowLongA(dialog, GWL_STYLE)) & ~(WS_CLIPSIBLINGS | DS_3DLOOK);
  Report("dialog-style", WindowStyleNames(style));
  Report("dialog-exstyle", ExtendedStyleNames(DWORD(GetWindowLongA(dialog, GWL_EXSTYLE))));
  Report("dialog-menu", GetMenu(dialog) ? "yes" : "none");
  // What the template's dialog units come to: the dialog manager's units for
  // the font the template names, and the waiting text's width in that font.
  int textWidth = 0;
  const SIZE base = DialogBaseUnits(&textWidth);
  Report("dialog-base-units", Number(base.cx) + "x" + Number(base.cy));
  Report("dialog-text-width", Number(textWidth));
  RECT window, client;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  Report("dialog-rect", Rect(window));
  Report("dialog-client", Rect(client));
  int index = 0;
  RECT waitingText = {};
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    const DWORD childStyle = DWORD(GetWindowLongA(child, GWL_STYLE));
    std::string line = ClassName(child) + " id " + Number(GetDlgCtrlID(child) & 0xFFFF) +
                       " style " + navo::testing::Hex(childStyle) + " at " + Rect(rect);
    if ((childStyle & SS_TYPEMASK) == SS_ICON) {
      line += SendMessageW(child, STM_GETICON, 0, 0) ? " with icon" : " without icon";
    } else {
      line += " text " + WindowCaption(child);
      if (WindowCaption(child) == WaitText) waitingText = rect;
    }
    Report("dialog-control-" + Number(++index), line);
  }
  // The text as drawn on the screen, from its first to its last column of
  // ink, against the same text drawn whole in the same font.
  facts.drawnText = waitingText;
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&facts.drawnText), 2);
  facts.drawnText.right =
      std::max(facts.drawnText.right, window.right);  // a cut text would end before
  return facts;
}

void ReportProgressDialog(const DialogFacts& facts, const Screen& screen) {
  for (const auto& [key, value] : facts.lines) Report(key, value);
  const RECT& drawn = facts.drawnText;
  const DWORD face = AsPixel(GetSysColor(COLOR_BTNFACE));
  std::vector<DWORD> pixels;
  for (int y = drawn.top; y < drawn.bottom; ++y)
    for (int x = drawn.left; x < drawn.right; ++x) pixels.push_back(screen.At(x, y));
  Report("dialog-text-ink-width",
         Number(InkWidth(pixels, drawn.right - drawn.left, drawn.bottom - drawn.top, face)));
  Report("dialog-text-whole-ink-width", Number(WholeTextInk(face)));
}

// Whether the waiting text was shown in the template's font and in 宋体 of
// its height (both may draw it alike), with its characters drawn as boxes.
void ReportWaitingTextFonts() {
  using namespace navo::testing;
  if (!waitingTextSeen.seen) return;
  const LOGFONTW named = DialogTemplateFont(L"华文新魏", 16);
  const struct {
    const char* name;
    LOGFONTW font;
  } candidates[] = {{"华文新魏", named}, {"宋体", InSongti(named)}};
  for (const auto& candidate : candidates) {
    const std::string in = std::string("dialog-text-in-") + candidate.name;
    const bool shown =
        ControlShows(waitingTextSeen.screen, waitingTextSeen.area, WaitTextWide, candidate.font);
    Report(in.c_str(), shown ? "yes" : "no");
    const std::string boxes = std::string("dialog-text-boxes-in-") + candidate.name;
    Report(boxes.c_str(), Number(MissingGlyphBoxes(WaitTextWide, candidate.font)));
  }
}

// The message's text, line by line, in the system's message font, and its
// caption in the caption font; each with its characters drawn as boxes.
struct MessageLines {
  int lines = 0, shown = 0, boxes = 0;
};

MessageLines LookAtMessageLines(const navo::testing::Screen& screen, const RECT& area,
                                const std::wstring& all, const LOGFONTW& font) {
  using namespace navo::testing;
  MessageLines seen;
  for (size_t start = 0; start <= all.size();) {
    size_t end = all.find(L'\n', start);
    if (end == std::wstring::npos) end = all.size();
    std::wstring line = all.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty()) {
      ++seen.lines;
      seen.shown += ControlShows(screen, area, line, font);
      seen.boxes += MissingGlyphBoxes(line, font);
    }
    start = end + 1;
  }
  return seen;
}

void ReportMessageInk(HWND box, Screen screen) {
  using namespace navo::testing;
  HWND textControl = GetDlgItem(box, MessageTextId);
  wchar_t text[1024] = {};
  GetWindowTextW(textControl, text, 1024);
  const LOGFONTW font = NonClientMetrics().lfMessageFont;
  RECT area = {};
  GetWindowRect(textControl, &area);
  MessageLines seen = LookAtMessageLines(screen, area, text, font);
  // A busy machine may not have painted the text yet: up to five more
  // looks, a third of a second apart.
  for (int look = 0; look < 5 && seen.shown < seen.lines; ++look) {
    Sleep(300);
    screen = CaptureScreen();
    seen = LookAtMessageLines(screen, area, text, font);
  }
  Report("message-lines-shown", Number(seen.shown) + " of " + Number(seen.lines));
  Report("message-boxes", Number(seen.boxes));
  wchar_t caption[256] = {};
  GetWindowTextW(box, caption, 256);
  const std::wstring title = caption;
  Report("message-caption-shown", Number(CaptionCharactersShown(screen, box, title)) + " of " +
                                      Number(title.size()) + " characters");
  Report("message-caption-boxes",
         Number(MissingGlyphBoxes(caption, NonClientMetrics().lfCaptionFont)));
}

// Which of the system's icons a message box shows: its icon control's
// pixels against each icon drawn on the box's own background.
std::string MessageIconKind(HWND icon, const Screen& screen) {
  if (!icon || !IsWindowVisible(icon) || !SendMessageW(icon, STM_GETICON, 0, 0)) return "none";
  RECT rect;
  GetWindowRect(icon, &rect);
  const int size = GetSystemMetrics(SM_CXICON);
  const DWORD background = screen.At(rect.right - 1, rect.bottom - 1);
  const struct {
    LPCSTR id;
    const char* name;
  } icons[] = {{IDI_WARNING, "warning"},
               {IDI_ERROR, "error"},
               {IDI_INFORMATION, "information"},
               {IDI_QUESTION, "question"}};
  HDC display = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(display);
  HBITMAP bitmap = CreateCompatibleBitmap(display, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  std::string kind = "other";
  for (const auto& candidate : icons) {
    HBRUSH brush = CreateSolidBrush(
        RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, LoadIconA(nullptr, candidate.id), size, size, 0, nullptr, DI_NORMAL);
    int differing = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        differing += AsPixel(GetPixel(dc, x, y)) != screen.At(rect.left + x, rect.top + y);
    if (differing == 0) {
      kind = candidate.name;
      break;
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, display);
  return kind;
}

void ReportMessage(HWND box, HWND backdrop, const Screen& screen) {
  Report("message", OneLine(WindowCaption(GetDlgItem(box, MessageTextId))));
  Report("message-caption", WindowCaption(box));
  Report("message-owner", GetWindow(box, GW_OWNER) == backdrop ? "backdrop" : "other");
  std::string buttons;
  const struct {
    int id;
    const char* name;
  } known[] = {{IDOK, "OK"},         {IDCANCEL, "Cancel"}, {IDABORT, "Abort"}, {IDRETRY, "Retry"},
               {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"}};
  for (const auto& button : known) {
    HWND control = GetDlgItem(box, button.id);
    if (control && IsWindowVisible(control))
      buttons += std::string(buttons.empty() ? "" : " ") + button.name;
  }
  Report("message-buttons", buttons);
  Report("message-icon", MessageIconKind(GetDlgItem(box, MessageIconId), screen));
  ReportMessageInk(box, screen);
}

void PressOk(HWND box) {
  HWND ok = GetDlgItem(box, IDOK);
  if (ok)
    PostMessageA(ok, BM_CLICK, 0, 0);
  else
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void PressEscape(HWND dialog) {
  SetForegroundWindow(dialog);
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring SystemFile(const wchar_t* name) {
  wchar_t directory[MAX_PATH];
  GetSystemDirectoryW(directory, MAX_PATH);
  return std::wstring(directory) + L"\\" + name;
}

struct RunOptions {
  bool escape = false;
  int show = -1;  // wShowWindow of the start, when given
  std::string capture;
};

// Waits while handling this thread's messages, which also sends its requests
// to the X server.
void PumpMessages(DWORD milliseconds) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Under qemu-i386 the Wine session's desktop process dies of an emulation
// fault soon after it starts, and with it the X window through which Wine
// confines the cursor to a full-screen window: a full-screen window made
// afterwards then ends in an X error. Without that window on the desktop
// Wine confines nothing, which the program never asks for anyway.
void DropCursorConfinement() { SetPropW(GetDesktopWindow(), L"__wine_x11_clip_window", nullptr); }

// Starts NavoSetup from the folder and acts as its user until it ends.
int Run(const wchar_t* program, const wchar_t* folder, const RunOptions& options) {
  DropCursorConfinement();
  // Present before the start: the first change in the system directory
  // then marks the installation step.
  const std::wstring probe = SystemFile(L"navo.hlp");
  const bool probeExisted = Exists(probe);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (options.show >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(options.show);
  }
  PROCESS_INFORMATION started = {};
  std::wstring commandLine = std::wstring(L"\"") + program + L"\"";
  if (!CreateProcessW(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder,
                      &startup, &started)) {
    Report("start", "failed, error " + Number(GetLastError()));
    return 1;
  }
  Report("start", "ok");
  CloseHandle(started.hThread);
  const HANDLE process = started.hProcess;
  const DWORD processId = started.dwProcessId;
  const DWORD startTime = GetTickCount();

  HWND progress = nullptr, backdrop = nullptr;
  DWORD dialogShown = 0, dialogGone = 0, stepSeen = 0;
  bool messageSeen = false;
  std::vector<HWND> foreign;
  while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    if (GetTickCount() - startTime > RunLimitMs) {
      Report("timeout", "the program did not end");
      TerminateProcess(process, 99);
      break;
    }
    if (!stepSeen && Exists(probe) != probeExisted) stepSeen = GetTickCount();
    const ProcessWindows windows = FindProcessWindows(processId);
    if (windows.backdrop) backdrop = windows.backdrop;
    for (HWND dialog : windows.dialogs) {
      if (dialog == progress) continue;
      if (!progress && IsProgressDialog(dialog)) {
        progress = dialog;
        dialogShown = GetTickCount();
        if (options.escape) {
          PressEscape(dialog);
          Report("escape-pressed-after-ms", Number(GetTickCount() - dialogShown));
          continue;
        }
        const DialogFacts facts = ReadProgressDialog(dialog, windows.backdrop);
        // The picture once the dialog is drawn: its text there, and the
        // dialog the same in two captures in a row.
        RECT area = {};
        GetWindowRect(dialog, &area);
        RECT text = {};
        if (HWND label = FirstChildWithText(dialog, WaitText)) GetWindowRect(label, &text);
        const DWORD face = AsPixel(GetSysColor(COLOR_BTNFACE));
        Screen screen = CaptureScreen();
        for (int i = 0; i < 40 && IsWindow(dialog); ++i) {
          PumpMessages(20);
          Screen next = CaptureScreen();
          const bool settled = SameRegion(screen, next, area);
          screen = std::move(next);
          if (settled && PixelsOtherThan(screen, text, face) > 0) break;
        }
        if (IsWindow(dialog) && IsWindowVisible(dialog)) {
          // Looked at in its fonts once the run is over: too slow for the
          // dialog's second under emulation.
          waitingTextSeen = {text.right > text.left, screen, text};
          Report("dialog-text-drawn", PixelsOtherThan(screen, text, face) > 0 ? "yes" : "no");
          ReportBackdrop(windows.backdrop, screen);
          ReportProgressDialog(facts, screen);
          if (!options.capture.empty())
            Report("dialog-capture",
                   SaveBitmap(screen, options.capture + "\\dialog.bmp") ? "saved" : "failed");
        } else {
          Report("dialog-capture", "too late: the dialog had ended");
        }
        continue;
      }
      if (WindowCaption(dialog) == Title && !messageSeen) {
        messageSeen = true;
        PumpMessages(500);  // let it paint
        const Screen screen = CaptureScreen();
        ReportMessage(dialog, backdrop, screen);
        if (!options.capture.empty())
          Report("message-capture",
                 SaveBitmap(screen, options.capture + "\\message.bmp") ? "saved" : "failed");
        PressOk(dialog);
        continue;
      }
      bool known = false;
      for (HWND seen : foreign) known |= seen == dialog;
      if (known || dialog == progress || IsProgressDialog(dialog) || WindowCaption(dialog) == Title)
        continue;
      foreign.push_back(dialog);
      const std::string texts = StaticTexts(dialog);
      Report("other-dialog",
             "\"" + WindowCaption(dialog) + "\"" + (texts.empty() ? "" : " " + texts));
      PostMessageA(dialog, WM_COMMAND, IDYES, 0);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    if (progress && !dialogGone && !IsWindow(progress)) dialogGone = GetTickCount();
    PumpMessages(15);
  }
  if (progress && !dialogGone) dialogGone = GetTickCount();
  if (!stepSeen && Exists(probe) != probeExisted) stepSeen = GetTickCount();

  ReportWaitingTextFonts();
  Report("dialog", progress ? "shown" : "never shown");
  if (progress) Report("dialog-shown-ms", Number(dialogGone - dialogShown));
  if (progress && stepSeen) Report("step-after-dialog-ms", Number(LONG(stepSeen - dialogShown)));
  if (!messageSeen) Report("message", "none");
  if (foreign.empty()) Report("other-dialog", "none");
  DWORD exitCode = 0;
  GetExitCodeProcess(process, &exitCode);
  Report("exit-code", Number(exitCode));
  CloseHandle(process);
  return 0;
}

// ---------------------------------------------------------------- registry

// The registry read in UTF-16, as it holds its values.
int Layouts() {
  HKEY layouts;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Keyboard Layouts", 0,
                    KEY_READ, &layouts) != ERROR_SUCCESS)
    return std::puts("no Keyboard Layouts key"), 1;
  wchar_t name[64];
  int count = 0;
  for (DWORD i = 0;; ++i) {
    DWORD length = 64;
    if (RegEnumKeyExW(layouts, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    HKEY layout;
    if (RegOpenKeyExW(layouts, name, 0, KEY_READ, &layout) != ERROR_SUCCESS) continue;
    wchar_t imeFile[512] = {}, text[512] = {};
    DWORD size = sizeof imeFile - sizeof(wchar_t);
    const bool hasIme = RegQueryValueExW(layout, L"Ime File", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(imeFile), &size) == ERROR_SUCCESS;
    size = sizeof text - sizeof(wchar_t);
    RegQueryValueExW(layout, L"Layout Text", nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                     &size);
    RegCloseKey(layout);
    if (!hasIme) continue;
    std::printf("layout %s: Ime File=%s Layout Text=%s\n", Gbk(name).c_str(), Gbk(imeFile).c_str(),
                Gbk(text).c_str());
    ++count;
  }
  RegCloseKey(layouts);
  std::printf("layouts with an input method: %d\n", count);
  return 0;
}

// ---------------------------------------------------------------- resources

int Resources(const wchar_t* program) {
  HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::puts("cannot load the program"), 1;
  const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

  wchar_t className[20], title[50];
  LoadStringW(module, 1, className, 20);
  LoadStringW(module, 2, title, 50);
  Report("string-1", Gbk(className));
  Report("string-2", Gbk(title));
  // The manifest Windows reads before the start: the rights it asks for.
  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  std::string level = "no manifest";
  if (manifest) {
    const char* xml = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    const std::string text(xml, SizeofResource(module, manifest));
    const std::string key = "requestedExecutionLevel level=\"";
    const size_t at = text.find(key);
    level = at == std::string::npos
                ? "none asked"
                : text.substr(at + key.size(), text.find('"', at + key.size()) - at - key.size());
  }
  Report("manifest-execution-level", level);
  Report("strings-language", FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(1), chinese)
                                 ? "Chinese (PRC)"
                                 : "other");

  HRSRC group = FindResourceExA(module, RT_GROUP_ICON, "LOADBMP", chinese);
  Report("icon-language", group ? "Chinese (PRC)" : "other");
  if (!group) group = FindResourceA(module, "LOADBMP", RT_GROUP_ICON);
  if (group) {
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    WORD count;
    std::memcpy(&count, directory + 4, 2);
    std::string images;
    for (WORD i = 0; i < count; ++i) {
      const BYTE* entry = directory + 6 + 14 * i;
      WORD bits;
      std::memcpy(&bits, entry + 6, 2);
      images += (i ? " " : "") + Number(entry[0]) + "x" + Number(entry[1]) + " colours " +
                Number(entry[2]) + " bits " + Number(bits);
    }
    Report("icon-LOADBMP", Number(count) + " image: " + images);
  } else {
    Report("icon-LOADBMP", "missing");
  }

  HRSRC dialog = FindResourceExA(module, RT_DIALOG, "SETUPDLG", chinese);
  Report("dialog-language", dialog ? "Chinese (PRC)" : "other");
  if (!dialog) dialog = FindResourceA(module, "SETUPDLG", RT_DIALOG);
  if (!dialog) return Report("dialog-template", "missing"), 1;
  navo::testing::ReportDialogTemplate(
      static_cast<const BYTE*>(LockResource(LoadResource(module, dialog))));
  FreeLibrary(module);
  return 0;
}

// ---------------------------------------------------------------- files

// A small table whose codes NvCodeFind can look up once installed; each
// version gives 十 another code, so that the file changes.
int MakeTable(const char* path, int version) {
  navo::TableSource source;
  source.candidates = {{"一", "ggll"}, {"二", "fgg"},  {"三", "dggg"},  {"工", "aaaa"},
                       {"人", "wwww"}, {"童", "ujff"}, {"工人", "aaww"}};
  source.candidates.push_back({"十", std::string(1, char('a' + version % 26)) + "gh"});
  return navo::testing::WriteTable(source, path);
}

// Registered in the test prefix as the program that opens .hlp files: it
// writes down which file it was asked to open.
int RecordHelp(const char* log, const char* file) {
  FILE* out = std::fopen(log, "ab");
  if (!out) return 1;
  std::fprintf(out, "%s\n", file);
  std::fclose(out);
  return 0;
}

// Another program that has a file open and shares it with nobody.
int Hold(const wchar_t* path, const wchar_t* release) {
  HANDLE file =
      CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::puts("cannot open the file"), 1;
  std::puts("holding");
  std::fflush(stdout);
  for (int i = 0; i < 1200 && !Exists(release); ++i) Sleep(100);
  CloseHandle(file);
  return 0;
}

}  // namespace

// The command line in UTF-16: folders may be named in any script.
int wmain(int argc, wchar_t** wideArgv) {
  if (argc < 2) return std::puts("usage: setup_driver COMMAND ..."), 2;
  std::vector<std::string> args;  // GBK, for what is ASCII
  for (int i = 0; i < argc; ++i) args.push_back(Gbk(wideArgv[i]));
  std::vector<char*> argvStorage;
  for (std::string& arg : args) argvStorage.push_back(&arg[0]);
  char** argv = argvStorage.data();
  const std::string command = argv[1];
  if (command == "run" && argc >= 4) {
    RunOptions options;
    for (int i = 4; i < argc; ++i) {
      const std::string option = argv[i];
      if (option == "--esc")
        options.escape = true;
      else if (option == "--show" && i + 1 < argc)
        options.show = std::atoi(argv[++i]);
      else if (option == "--capture" && i + 1 < argc)
        options.capture = argv[++i];
      else
        return std::puts("unknown option"), 2;
    }
    return Run(wideArgv[2], wideArgv[3], options);
  }
  if (command == "resources" && argc == 3) return Resources(wideArgv[2]);
  if (command == "make-table" && argc >= 3)
    return MakeTable(argv[2], argc > 3 ? std::atoi(argv[3]) : 0);
  if (command == "record-help" && argc == 4) return RecordHelp(argv[2], argv[3]);
  if (command == "layouts") return Layouts();
  if (command == "hold" && argc == 4) return Hold(wideArgv[2], wideArgv[3]);
  return std::puts("unknown command"), 2;
}
