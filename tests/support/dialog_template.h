// Reads a dialog template resource (DIALOG, not DIALOGEX) from a built
// program field by field and reports it in its resource script's terms, so
// that a scenario script compares what the program holds with the template
// it expects, written out in the script.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "tests/support/win32_driver_report.h"

namespace navo::testing {

class DialogTemplateReader {
 public:
  explicit DialogTemplateReader(const BYTE* data) : base_(data), at_(data) {}
  WORD Word() {
    WORD value;
    std::memcpy(&value, at_, 2);
    at_ += 2;
    return value;
  }
  DWORD Dword() {
    DWORD value;
    std::memcpy(&value, at_, 4);
    at_ += 4;
    return value;
  }
  short Short() { return short(Word()); }
  // A zero-ended UTF-16 string (the title, the font's face) as GBK.
  std::string Text() {
    std::wstring wide;
    for (WORD c; (c = Word()) != 0;) wide += wchar_t(c);
    char text[512] = {};
    WideCharToMultiByte(936, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
  }
  // A name (as Text) or an ordinal, as "#n" for an ordinal.
  std::string NameOrOrdinal() {
    if (Word() == 0xFFFF) return "#" + std::to_string(Word());
    at_ -= 2;
    return Text();
  }
  // Each control's item starts on a DWORD boundary of the template.
  void AlignToDword() {
    while ((at_ - base_) % 4) ++at_;
  }
  void Skip(size_t bytes) { at_ += bytes; }

 private:
  const BYTE* base_;
  const BYTE* at_;
};

// A control's class as a resource script names it: the predefined classes
// by name whether the template holds their number or their name in any case.
inline std::string ControlClassName(const std::string& held) {
  static const char* const predefined[] = {"Button",  "Edit",      "Static",
                                           "ListBox", "ScrollBar", "ComboBox"};
  for (int i = 0; i < 6; ++i)
    if (held == "#" + std::to_string(0x80 + i) || lstrcmpiA(held.c_str(), predefined[i]) == 0)
      return predefined[i];
  return held;
}

// The template as "template-..." lines: style, place and size in dialog
// units, menu, class, title, font, and each control in order.
inline void ReportDialogTemplate(const BYTE* base) {
  DialogTemplateReader reader(base);
  const DWORD style = reader.Dword();
  const DWORD exStyle = reader.Dword();
  const WORD items = reader.Word();
  const short x = reader.Short(), y = reader.Short(), cx = reader.Short(), cy = reader.Short();
  Report("template-style", WindowStyleNames(style));
  Report("template-exstyle", ExtendedStyleNames(exStyle));
  Report("template-rect", Number(x) + "," + Number(y) + " " + Number(cx) + "x" + Number(cy));
  const std::string menu = reader.NameOrOrdinal();
  const std::string windowClass = reader.NameOrOrdinal();
  const std::string caption = reader.Text();
  Report("template-menu", menu.empty() ? "none" : menu);
  Report("template-class", windowClass.empty() ? "default" : windowClass);
  Report("template-title", "\"" + caption + "\"");
  if (style & DS_SETFONT) {
    const WORD points = reader.Word();
    Report("template-font", Number(points) + " " + reader.Text());
  }
  Report("template-controls", Number(items));
  for (WORD i = 0; i < items; ++i) {
    reader.AlignToDword();
    const DWORD itemStyle = reader.Dword();
    const DWORD itemExStyle = reader.Dword();
    const short ix = reader.Short(), iy = reader.Short(), icx = reader.Short(),
                icy = reader.Short();
    const WORD id = reader.Word();
    const std::string itemClass = ControlClassName(reader.NameOrOrdinal());
    const std::string text = reader.NameOrOrdinal();
    reader.Skip(reader.Word());  // creation data
    Report("template-control-" + Number(i + 1),
           "class " + itemClass + " id " + Number(id) + " style " + Hex(itemStyle) + " exstyle " +
               Hex(itemExStyle) + " at " + Number(ix) + "," + Number(iy) + " " + Number(icx) + "x" +
               Number(icy) + " text \"" + text + "\"");
  }
}

}  // namespace navo::testing
