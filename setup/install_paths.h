// Paths as the installer keeps them: 8-bit GBK text in fixed 260-byte
// buffers. A directory ends with a backslash so that a file name can follow;
// nothing is ever written past the end of a buffer.
#pragma once

#include <cstddef>

namespace navo::setup {

constexpr size_t PathBufferSize = 260;  // the platform's path limit, NUL included

// True when the last character (not byte: a GBK trail byte may be 0x5C) of
// the path is a backslash.
bool EndsWithBackslash(const char* path);

// Appends "\" unless the path already ends with one. False, with the path
// unchanged, when the path is empty or the backslash does not fit.
bool EndWithBackslash(char* path, size_t size);

// out = directory followed by name. False, with out emptied, when the result
// would not fit in size bytes.
bool JoinPath(const char* directory, const char* name, char* out, size_t size);

// Copies one path into a list of paths closed by an empty entry (its NUL
// followed by a second NUL). False, with the list emptied, when it does not
// fit in size bytes.
bool MakePathList(const char* path, char* list, size_t size);

// Whether two directory paths name the same directory as text: equal apart
// from the case of ASCII letters outside double-byte characters and from one
// trailing backslash.
bool SameDirectoryText(const char* first, const char* second);

}  // namespace navo::setup
