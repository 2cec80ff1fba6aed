// Paths as the installer keeps them: UTF-16 text in fixed buffers of the
// platform's path limit (common/directory_path.h, which also ends a
// directory with a backslash); nothing is ever written past the end of a
// buffer, and a path that does not fit is refused.
#pragma once

#include <cstddef>

#include "common/directory_path.h"

namespace navo::setup {

// out = directory followed by name, a file name of ASCII letters as the
// installation list holds them. False, with out emptied, when the result
// would not fit in size units.
bool JoinPath(const wchar_t* directory, const char* name, wchar_t* out, size_t size);

// Copies one path into a list of paths closed by an empty entry (its NUL
// followed by a second NUL). False, with the list emptied, when it does not
// fit in size units.
bool MakePathList(const wchar_t* path, wchar_t* list, size_t size);

// Whether two directory paths name the same directory as text: equal apart
// from the case of ASCII letters and from one trailing backslash.
bool SameDirectoryText(const wchar_t* first, const wchar_t* second);

}  // namespace navo::setup
