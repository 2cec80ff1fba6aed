// The one call for the system directory, and its GBK form checked by a
// round trip through UTF-16.
#include "common/system_directory.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "common/gbk_wide.h"

namespace navo {

static_assert(PathBufferSize == MAX_PATH, "a path buffer holds MAX_PATH units");

size_t ReadSystemDirectory(wchar_t* buffer, size_t size) {
  return GetSystemDirectoryW(buffer, static_cast<UINT>(size));
}

bool ReadSystemDirectoryAsGbk(char (&path)[PathBufferSize]) {
  wchar_t wide[PathBufferSize];
  const size_t length = ReadSystemDirectory(wide, PathBufferSize);
  if (length == 0 || length >= PathBufferSize) return false;
  char gbk[PathBufferSize];
  WideToGbk(wide, gbk, sizeof gbk);
  // Cut short or with a "?" for a character outside GBK, it reads back otherwise.
  wchar_t back[PathBufferSize];
  GbkToWide(gbk, back, PathBufferSize);
  if (std::wcscmp(back, wide) != 0) return false;
  std::memcpy(path, gbk, sizeof gbk);
  EndWithBackslash(path, PathBufferSize);
  return true;
}

}  // namespace navo
