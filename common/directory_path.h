// Directory paths as the programs keep them: in a fixed buffer of the
// platform's path limit, ending with a backslash so that a file name can
// follow. One rule for GBK paths (char) and UTF-16 paths (wchar_t): a path
// ends with a backslash when its last character is one; in GBK a trail byte
// may be 0x5C, which is then part of a character, not a backslash.
#pragma once

#include <cstddef>

#include "common/gbk.h"

namespace navo {

// MAX_PATH: bytes of a GBK path or units of a UTF-16 path, NUL included.
constexpr size_t PathBufferSize = 260;

// The units of the character at text: a GBK character has one or two bytes;
// a UTF-16 backslash is never part of a surrogate pair, so a unit will do.
inline size_t PathCharacterUnits(const char* text) { return GbkCharacterBytes(text); }
inline size_t PathCharacterUnits(const wchar_t*) { return 1; }

template <typename Char>
size_t PathLength(const Char* path, size_t size) {
  size_t length = 0;
  while (length < size && path[length] != Char(0)) ++length;
  return length;
}

// True when the last character of the path is a backslash.
template <typename Char>
bool EndsWithBackslash(const Char* path) {
  bool backslash = false;
  for (const Char* at = path; *at != Char(0); at += PathCharacterUnits(at))
    backslash = *at == Char('\\');
  return backslash;
}

// Appends "\" unless the path already ends with one. False, with the path
// unchanged, when the path is empty, fills the whole buffer, or the
// backslash does not fit in size units.
template <typename Char>
bool EndWithBackslash(Char* path, size_t size) {
  const size_t length = PathLength(path, size);
  if (length == 0 || length == size) return false;
  if (EndsWithBackslash(path)) return true;
  if (length + 2 > size) return false;
  path[length] = Char('\\');
  path[length + 1] = Char(0);
  return true;
}

}  // namespace navo
