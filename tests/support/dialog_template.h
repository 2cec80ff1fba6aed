// Reads a dialog template resource (DIALOG, not DIALOGEX) field by field,
// for the Win32 test drivers that hold a program's template to its design.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

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

}  // namespace navo::testing
