#include "codefind/system_path.h"

#include <cstring>

namespace navo {

void EndWithBackslash(char* path, size_t size) {
  const size_t length = strnlen(path, size);
  if (length == 0 || length + 1 >= size || path[length - 1] == '\\') return;
  path[length] = '\\';
  path[length + 1] = '\0';
}

}  // namespace navo
