// What the Win32 test drivers read of another program and how they say it.
// A driver acts and reports; the scenario script holds every expectation.
// Texts are read through the wide calls, so that what is reported does not
// depend on the system's code page, and printed as GBK (code page 936) or
// UTF-8 as the driver's script reads them. Style bits are named, so that a
// report reads as the resource script does; what has no name stays hex.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace navo::testing {

// One "key: value" line, flushed at once: a script reading a driver that
// is stopped half way still sees everything it said.
inline void Report(const std::string& key, const std::string& value) {
  std::printf("%s: %s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

inline std::string Number(long long value) { return std::to_string(value); }

// Eight hex digits, as styles are written.
inline std::string Hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lX", value);
  return text;
}

// Bytes as two upper-case hex digits each, and back: how a script passes
// GBK text through a command line of any code page.
inline std::string HexBytes(const std::string& bytes) {
  std::string out;
  char two[3];
  for (unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02X", c);
    out += two;
  }
  return out;
}
inline std::string FromHexBytes(const char* hex) {
  std::string out;
  for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
    const char two[3] = {hex[i], hex[i + 1], 0};
    out += char(std::strtoul(two, nullptr, 16));
  }
  return out;
}

inline std::string InCodePage(UINT codePage, const std::wstring& wide) {
  const int size = WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? size_t(size) : 1, '\0');
  WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0], size, nullptr, nullptr);
  text.resize(std::strlen(text.c_str()));
  return text;
}
inline std::string Gbk(const std::wstring& wide) { return InCodePage(936, wide); }
inline std::string Utf8(const std::wstring& wide) { return InCodePage(CP_UTF8, wide); }
inline std::wstring WideFromGbk(const std::string& gbk) {
  const int size = MultiByteToWideChar(936, 0, gbk.c_str(), -1, nullptr, 0);
  std::wstring wide(size > 0 ? size_t(size) : 1, L'\0');
  MultiByteToWideChar(936, 0, gbk.c_str(), -1, &wide[0], size);
  wide.resize(std::wcslen(wide.c_str()));
  return wide;
}

// The text the window system keeps for a window (its caption, a static
// control's text): GetWindowText asks nothing of another process's window,
// so it never waits on a program that is busy.
inline std::wstring WindowCaptionWide(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}
inline std::string WindowCaption(HWND window) { return Gbk(WindowCaptionWide(window)); }

// What the window itself holds (an edit box's text as typed), by
// WM_GETTEXT, which GetWindowText does not send to another process; a hung
// owner is given up after five seconds.
inline std::wstring WindowTextWide(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &result);
  return text;
}
inline std::string WindowText(HWND window) { return Gbk(WindowTextWide(window)); }

inline std::string ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Gbk(name);
}

// The bits of a style by name, in the table's order, joined by "|"; bits
// that no name covers follow as hex. A name may cover several bits
// (WS_CAPTION): it is taken only when all of them are set.
struct StyleName {
  DWORD bits;
  const char* name;
};
inline std::string StyleNames(DWORD style, const StyleName* names, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    if ((style & names[i].bits) != names[i].bits) continue;
    out += (out.empty() ? "" : "|") + std::string(names[i].name);
    style &= ~names[i].bits;
  }
  if (style != 0 || out.empty()) out += (out.empty() ? "" : "|") + Hex(style);
  return out;
}

// The styles of top-level windows and dialogs (a control's low bits mean
// other things for each class: those are reported as hex).
inline std::string WindowStyleNames(DWORD style) {
  static const StyleName names[] = {
      {WS_POPUP, "WS_POPUP"},
      {WS_CHILD, "WS_CHILD"},
      {WS_MINIMIZE, "WS_MINIMIZE"},
      {WS_VISIBLE, "WS_VISIBLE"},
      {WS_DISABLED, "WS_DISABLED"},
      {WS_CLIPSIBLINGS, "WS_CLIPSIBLINGS"},
      {WS_CLIPCHILDREN, "WS_CLIPCHILDREN"},
      {WS_MAXIMIZE, "WS_MAXIMIZE"},
      {WS_CAPTION, "WS_CAPTION"},
      {WS_BORDER, "WS_BORDER"},
      {WS_DLGFRAME, "WS_DLGFRAME"},
      {WS_VSCROLL, "WS_VSCROLL"},
      {WS_HSCROLL, "WS_HSCROLL"},
      {WS_SYSMENU, "WS_SYSMENU"},
      {WS_THICKFRAME, "WS_THICKFRAME"},
      {WS_MINIMIZEBOX, "WS_MINIMIZEBOX"},
      {WS_MAXIMIZEBOX, "WS_MAXIMIZEBOX"},
      {DS_CENTER, "DS_CENTER"},
      {DS_MODALFRAME, "DS_MODALFRAME"},
      {DS_SETFONT, "DS_SETFONT"},
      {DS_3DLOOK, "DS_3DLOOK"},
      {DS_SYSMODAL, "DS_SYSMODAL"},
  };
  return StyleNames(style, names, sizeof names / sizeof names[0]);
}
inline std::string ExtendedStyleNames(DWORD style) {
  static const StyleName names[] = {
      {WS_EX_DLGMODALFRAME, "WS_EX_DLGMODALFRAME"}, {WS_EX_TOPMOST, "WS_EX_TOPMOST"},
      {WS_EX_TOOLWINDOW, "WS_EX_TOOLWINDOW"},       {WS_EX_WINDOWEDGE, "WS_EX_WINDOWEDGE"},
      {WS_EX_CLIENTEDGE, "WS_EX_CLIENTEDGE"},       {WS_EX_CONTROLPARENT, "WS_EX_CONTROLPARENT"},
  };
  return style == 0 ? "none" : StyleNames(style, names, sizeof names / sizeof names[0]);
}

// An icon or cursor group resource: its header (reserved, type, count) and
// 14-byte entries. An icon's entry starts with width, height and colours as
// bytes; a cursor's with width and height as words, the height twice the
// cursor's (image and mask).
struct GroupImage {
  int width = 0, height = 0, colours = 0, bits = 0;
  WORD id = 0;
};
inline std::vector<GroupImage> ReadGroup(const BYTE* directory, bool cursor) {
  WORD count;
  std::memcpy(&count, directory + 4, 2);
  std::vector<GroupImage> images(count);
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = directory + 6 + 14 * i;
    WORD word[7];
    std::memcpy(word, entry, sizeof word);
    GroupImage& image = images[i];
    if (cursor) {
      image.width = word[0], image.height = word[1] / 2;
    } else {
      image.width = entry[0], image.height = entry[1], image.colours = entry[2];
    }
    image.bits = word[3];
    image.id = word[6];
  }
  return images;
}

}  // namespace navo::testing
