#include "setup/install_paths.h"

#include <cstring>

namespace navo::setup {

namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

unsigned char FoldCase(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Length of the path without one trailing backslash character.
size_t LengthWithoutBackslash(const char* path) {
  const size_t length = std::strlen(path);
  return EndsWithBackslash(path) ? length - 1 : length;
}

}  // namespace

bool EndsWithBackslash(const char* path) {
  bool last = false;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p != 0;) {
    if (IsLeadByte(*p) && p[1] != 0) {
      last = false;
      p += 2;
    } else {
      last = *p == '\\';
      p += 1;
    }
  }
  return last;
}

bool EndWithBackslash(char* path, size_t size) {
  const size_t length = strnlen(path, size);
  if (length == 0 || length == size) return false;
  if (EndsWithBackslash(path)) return true;
  if (length + 2 > size) return false;
  path[length] = '\\';
  path[length + 1] = '\0';
  return true;
}

bool JoinPath(const char* directory, const char* name, char* out, size_t size) {
  const size_t directoryLength = std::strlen(directory);
  const size_t nameLength = std::strlen(name);
  if (size == 0) return false;
  out[0] = '\0';
  if (directoryLength + nameLength + 1 > size) return false;
  std::memcpy(out, directory, directoryLength);
  std::memcpy(out + directoryLength, name, nameLength + 1);
  return true;
}

bool MakePathList(const char* path, char* list, size_t size) {
  const size_t length = std::strlen(path);
  if (size < 2) return false;
  list[0] = list[1] = '\0';
  if (length + 2 > size) return false;
  std::memcpy(list, path, length + 1);
  list[length + 1] = '\0';
  return true;
}

bool SameDirectoryText(const char* first, const char* second) {
  const size_t length = LengthWithoutBackslash(first);
  if (length == 0 || length != LengthWithoutBackslash(second)) return false;
  const unsigned char* a = reinterpret_cast<const unsigned char*>(first);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(second);
  for (size_t i = 0; i < length;) {
    if (IsLeadByte(a[i]) && i + 1 < length) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (FoldCase(a[i]) != FoldCase(b[i])) return false;
      i += 1;
    }
  }
  return true;
}

}  // namespace navo::setup
