// Directory paths as the programs keep them: in a fixed buffer, ending with
// a backslash so that a file name can follow.
#pragma once

#include <cstddef>

namespace navo {

// Appends "\" unless the path is empty, already ends with one, or has no room.
void EndWithBackslash(char* path, size_t size);

}  // namespace navo
