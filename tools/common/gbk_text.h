// Conversions between the system's GBK text and the terminal's UTF-8.
#pragma once

#include <string>

namespace navo {

// False when the text holds something that GBK cannot represent.
bool Utf8ToGbk(const std::string& utf8, std::string* gbk);

// Exactly, every byte kept; false when a byte has no UTF-8 form.
bool GbkToUtf8(const std::string& gbk, std::string* utf8);

// GBK characters as UTF-8; ASCII 0x20..0x7E as it is; every other byte
// (control bytes, lone lead bytes, pairs that are no GBK character) as \xHH.
std::string GbkToDisplay(const std::string& gbk);

// The same for a field of a line that "|", "/" and "\" divide or escape:
// those three, when they stand alone rather than as a GBK trail byte, are
// written as \xHH too.
std::string GbkToFieldDisplay(const std::string& gbk);

}  // namespace navo
