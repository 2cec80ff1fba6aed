// UTF-8 as the tools meet it in files, arguments and on standard input.
#pragma once

#include <cstddef>
#include <string>

namespace navo {

// The character at text[at]: its length in bytes and its code point, or 0
// when the bytes there are no well-formed UTF-8 (overlong forms and
// surrogates included).
size_t DecodeUtf8(const std::string& text, size_t at, char32_t* codePoint);

void AppendUtf8(char32_t codePoint, std::string* out);

bool IsUtf8(const std::string& text);

// For messages: well-formed characters as they are, control characters and
// bytes that are no UTF-8 as \xHH.
std::string Utf8ToDisplay(const std::string& text);

}  // namespace navo
