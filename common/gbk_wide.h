// Text between the window system and the programs' cores. The cores keep
// every string as GBK (code page 936) whatever code page Windows uses for
// 8-bit programs; the windows speak UTF-16. Both directions go through code
// page 936 by number, never the system's code page.
#pragma once

#include <cstddef>

namespace navo {

constexpr unsigned GbkCodePage = 936;

// GBK to UTF-16, NUL included. Returns the UTF-16 units written before the
// NUL; a text that does not fit whole is cut before the first character that
// does not fit (never inside a surrogate pair). size is in units, at least 1.
size_t GbkToWide(const char* gbk, wchar_t* out, size_t size);

// UTF-16 to GBK, NUL included, as an 8-bit call gives it on a Chinese
// system: a character that GBK cannot hold becomes the default character
// "?". Returns the bytes written before the NUL; a text that does not fit
// whole is cut before the first character that does not fit (never between a
// lead and a trail byte). size is in bytes, at least 1.
size_t WideToGbk(const wchar_t* wide, char* out, size_t size);

}  // namespace navo
