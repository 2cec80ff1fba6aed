// Conversions between the system's GBK text and the terminal's UTF-8.
#pragma once

#include <string>

namespace navo {

// False when the text holds something that GBK cannot represent. Code
// points U+F0000 to U+FFFFF give back the bytes GbkToUtf8Keeping made them of.
bool Utf8ToGbk(const std::string& utf8, std::string* gbk);

// Any bytes as UTF-8 that Utf8ToGbk turns back into the same bytes: GBK
// characters as themselves, ASCII from '!' to '~' as itself (but a byte of
// notFirst that starts the text); every other byte, and every pair that
// steps as one character but is none of GBK, as a code point of plane 15's
// private use area: U+F0000 + the byte, or U+F0000 + lead * 256 + trail.
// Such text survives formats that split on white space or tabs, or give a
// line's first character a meaning ("#" a comment, "@" a word-making code).
std::string GbkToUtf8Keeping(const std::string& gbk, const char* notFirst = "#");

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
