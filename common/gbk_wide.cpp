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

// One character of units UTF-16 units as GBK bytes; "?" when GBK cannot
// hold it. The number of bytes.
int CharacterToGbk(const wchar_t* character, int units, char (&bytes)[4]) {
  const int count =
      WideCharToMultiByte(GbkCodePage, 0, character, units, bytes, sizeof bytes, "?", nullptr);
  if (count > 0) return count;
  bytes[0] = '?';
  return 1;
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
    char bytes[4];
    const int units = WideCharacterUnits(wide);
    const int count = CharacterToGbk(wide, units, bytes);
    if (written + count + 1 > size) break;
    for (int i = 0; i < count; ++i) out[written++] = bytes[i];
    wide += units;
  }
  out[written] = '\0';
  return written;
}

}  // namespace navo
