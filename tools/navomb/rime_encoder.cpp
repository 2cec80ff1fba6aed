// Rime's table encoder, rule for rule (librime src/rime/algo/encoder.cc).
#include "tools/navomb/rime_encoder.h"

namespace navo {

bool ParseRimeFormula(const std::string& formula, RimeEncodingRule* rule) {
  if (formula.size() % 2 != 0) return false;
  rule->letters.clear();
  for (size_t i = 0; i < formula.size(); i += 2) {
    const char character = formula[i], code = formula[i + 1];
    if (character < 'A' || character > 'Z' || code < 'a' || code > 'z') return false;
    rule->letters.push_back({character >= 'U' ? character - 'Z' - 1 : character - 'A',
                             code >= 'u' ? code - 'z' - 1 : code - 'a'});
  }
  return true;
}

bool RimeEncoder::IsExcluded(const std::string& characterCode) const {
  for (const std::regex& pattern : excludePatterns) {
    try {
      if (std::regex_match(characterCode, pattern)) return true;
    } catch (const std::regex_error&) {  // too complex to match: not excluded
    }
  }
  return false;
}

// The position in code of its letter at index (from the end when negative),
// tail anchors not counted; when from the end, the letters after start are
// cut at the first tail anchor. May be out of range.
int RimeEncoder::CodeIndex(const std::string& code, int index, int start) const {
  const int n = static_cast<int>(code.size());
  int k = 0;
  const auto isAnchor = [&](int at) { return tailAnchor.find(code[at]) != std::string::npos; };
  if (index < 0) {
    k = n - 1;
    const size_t tail = code.find_first_of(tailAnchor, start + 1);
    if (tail != std::string::npos) k = static_cast<int>(tail) - 1;
    while (++index < 0) {
      while (--k >= 0 && isAnchor(k)) {
      }
    }
  } else {
    while (index-- > 0) {
      while (++k < n && isAnchor(k)) {
      }
    }
  }
  return k;
}

bool RimeEncoder::Encode(const std::vector<std::string>& characterCodes, std::string* code) const {
  const int characters = static_cast<int>(characterCodes.size());
  using Letter = RimeEncodingRule::Letter;
  for (const RimeEncodingRule& rule : rules) {
    if (characters < rule.fewest || characters > rule.most) continue;
    code->clear();
    Letter previous = {0, 0}, encoded = {0, 0};
    for (const Letter& current : rule.letters) {
      Letter c = current;
      if (c.character < 0) c.character += characters;
      if (c.character >= characters || c.character < 0) continue;
      // Counting from the end never goes back to a character already passed.
      if (current.character < 0 && c.character < encoded.character) continue;
      const int start = c.character == encoded.character ? encoded.code + 1 : 0;
      const std::string& from = characterCodes[c.character];
      c.code = CodeIndex(from, c.code, start);
      if (c.code >= static_cast<int>(from.size()) || c.code < 0) continue;
      // Nor to a letter already taken, unless it repeats the letter before.
      if ((current.character < 0 || current.code < 0) && c.character == encoded.character &&
          c.code <= encoded.code &&
          (current.character != previous.character || current.code != previous.code))
        continue;
      *code += from[c.code];
      previous = current;
      encoded = c;
    }
    if (!code->empty()) return true;
  }
  return false;
}

}  // namespace navo
