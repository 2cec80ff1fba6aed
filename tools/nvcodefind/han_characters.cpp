#include "tools/nvcodefind/han_characters.h"

#include "tools/common/utf8_text.h"

namespace navo {

bool IsHanCharacter(char32_t c) {
  return c == 0x3007 || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

bool HanCharacters::Take(const std::string& utf8, std::vector<std::string>* newCharacters) {
  bool wellFormed = true;
  char32_t codePoint;
  for (size_t at = 0; at < utf8.size();) {
    const size_t length = DecodeUtf8(utf8, at, &codePoint);
    if (length == 0) {
      wellFormed = false;
      ++at;
      continue;
    }
    if (IsHanCharacter(codePoint) && seen_.insert(codePoint).second)
      newCharacters->push_back(utf8.substr(at, length));
    at += length;
  }
  return wellFormed;
}

}  // namespace navo
