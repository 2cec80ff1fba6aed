// UTF-16 to GBK in the browser, exactly as code page 936 converts: the table
// is made at build time from iconv's CP936; every other character becomes the
// default character "?" (one for each UTF-16 unit), as the Windows programs'
// own conversion gives it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace navo::codefind {

// The code point of a double-byte GBK character; 0 when the pair is none.
uint16_t UnicodeOfGbk(unsigned char lead, unsigned char trail);

// The GBK bytes of one UTF-16 unit: 0 when GBK cannot hold it, else below
// 0x100 for one byte, else lead << 8 | trail.
uint16_t GbkOfUnicode(uint16_t unit);

// UTF-16 to GBK, NUL included; cut before the first character that does not
// fit. Returns the bytes written before the NUL. size is at least 1.
size_t Utf16ToGbk(const uint16_t* units, size_t count, char* out, size_t size);

}  // namespace navo::codefind
