// The Chinese characters of a text at hand, each once, in order of first
// appearance: what a learner wants the codes of.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace navo {

// CJK unified and compatibility ideographs, all extensions, and U+3007.
bool IsHanCharacter(char32_t codePoint);

class HanCharacters {
 public:
  // The characters of utf8 (well-formed UTF-8 or not) not met before, each
  // as its UTF-8 bytes; everything else is passed over. False when the text
  // held bytes that are no UTF-8.
  bool Take(const std::string& utf8, std::vector<std::string>* newCharacters);

 private:
  std::set<char32_t> seen_;
};

}  // namespace navo
