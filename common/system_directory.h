// The Windows system directory, asked for here for every program: UTF-16 as
// Windows gives it, and GBK as the lookup tool keeps its paths.
#pragma once

#include <cstddef>

#include "common/directory_path.h"

namespace navo {

// As GetSystemDirectoryW: the length in units, 0 on failure, or the size it
// would need (NUL included) when it does not fit size.
size_t ReadSystemDirectory(wchar_t* buffer, size_t size);

// The system directory as GBK, ending with a backslash where one fits.
// False, with path unchanged, when it cannot be read, does not fit, or holds
// a character that GBK cannot (it would not read back the same).
bool ReadSystemDirectoryAsGbk(char (&path)[PathBufferSize]);

}  // namespace navo
