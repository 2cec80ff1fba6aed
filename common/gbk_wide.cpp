// GBK <-> UTF-16 through code page 936, a character at a time when a text
// does not fit, so that no character is ever cut in half.
#include "common/gbk_wide.h"

#include <windows.h>

#include "common/gbk.h"

namespace navo {
namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

int WideCharacterUnits(const wchar_t* text) {
  return IsHighSurrogate(text[0]) && text[1] >= 0xDC00 && text[1] <= 0xDFFF ? 2 : 1;
}

}  // namespace

size_t GbkToWide(const char* gbk, wchar_t* out, size_t size) {
  size_t written = 0;
  while (*gbk != '\0') {
    const int bytes = static_cast<int>(GbkCharacterBytes(gbk));
    wchar_t units[2];
    const int count = MultiByteToWideChar(GbkCodePage, 0, gbk, bytes, units, 2);
    if (count <= 0 || written + count + 1 > size) break;
    for (int i = 0; i < count; ++i) out[written++] = units[i];
    gbk += bytes;
  }
  out[written] = L'\0';
  return written;
}

size_t WideToGbk(const wchar_t* wide, char* out, size_t size) {
  size_t written = 0;
  while (*wide != L'\0') {
    const int units = WideCharacterUnits(wide);
    char bytes[4];
    int count = WideCharToMultiByte(GbkCodePage, 0, wide, units, bytes, sizeof bytes, "?", nullptr);
    if (count <= 0) {
      bytes[0] = '?';
      count = 1;
    }
    if (written + count + 1 > size) break;
    for (int i = 0; i < count; ++i) out[written++] = bytes[i];
    wide += units;
  }
  out[written] = '\0';
  return written;
}

size_t GbkLengthOfWide(const wchar_t* wide) {
  size_t length = 0;
  while (*wide != L'\0') {
    const int units = WideCharacterUnits(wide);
    char bytes[4];
    const int count =
        WideCharToMultiByte(GbkCodePage, 0, wide, units, bytes, sizeof bytes, "?", nullptr);
    length += count > 0 ? count : 1;
    wide += units;
  }
  return length;
}

}  // namespace navo
