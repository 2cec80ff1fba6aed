// The installer's UTF-16 paths: joined, listed and compared as text.
#include "setup/install_paths.h"

#include <cstring>
#include <cwchar>

namespace navo::setup {

namespace {

wchar_t FoldCase(wchar_t unit) { return unit >= L'A' && unit <= L'Z' ? unit - L'A' + L'a' : unit; }

// Length of the path without one trailing backslash.
size_t LengthWithoutBackslash(const wchar_t* path) {
  const size_t length = std::wcslen(path);
  return EndsWithBackslash(path) ? length - 1 : length;
}

}  // namespace

bool JoinPath(const wchar_t* directory, const char* name, wchar_t* out, size_t size) {
  const size_t directoryLength = std::wcslen(directory);
  const size_t nameLength = std::strlen(name);
  if (size == 0) return false;
  out[0] = L'\0';
  if (directoryLength + nameLength + 1 > size) return false;
  std::wmemcpy(out, directory, directoryLength);
  for (size_t i = 0; i <= nameLength; ++i)
    out[directoryLength + i] = static_cast<wchar_t>(static_cast<unsigned char>(name[i]));
  return true;
}

bool MakePathList(const wchar_t* path, wchar_t* list, size_t size) {
  const size_t length = std::wcslen(path);
  if (size < 2) return false;
  list[0] = list[1] = L'\0';
  if (length + 2 > size) return false;
  std::wmemcpy(list, path, length + 1);
  list[length + 1] = L'\0';
  return true;
}

bool SameDirectoryText(const wchar_t* first, const wchar_t* second) {
  const size_t length = LengthWithoutBackslash(first);
  if (length == 0 || length != LengthWithoutBackslash(second)) return false;
  for (size_t i = 0; i < length; ++i) {
    if (FoldCase(first[i]) != FoldCase(second[i])) return false;
  }
  return true;
}

}  // namespace navo::setup
