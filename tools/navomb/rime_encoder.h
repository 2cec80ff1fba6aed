// The codes that Rime's table encoder gives a word from the codes of its
// characters, by a dictionary's "encoder:" settings: rules (a formula such as
// "AaAbBaBb" for words whose length is "length_equal" or "length_in_range"),
// "exclude_patterns" (character codes never used) and "tail_anchor".
#pragma once

#include <regex>
#include <string>
#include <vector>

namespace navo {

struct RimeEncodingRule {
  int fewest = 0, most = 0;  // the lengths of words it applies to
  // Each letter: the character (0 the first, -1 the last) and its code
  // letter (0 the first, -1 the last).
  struct Letter {
    int character, code;
  };
  std::vector<Letter> letters;
};

// Reads a formula: pairs of a character index A-T (from the first) or U-Z
// (Z the last) and a code index a-t or u-z.
bool ParseRimeFormula(const std::string& formula, RimeEncodingRule* rule);

struct RimeEncoder {
  std::vector<RimeEncodingRule> rules;
  std::vector<std::regex> excludePatterns;
  std::string tailAnchor;
  int longestWord = 0;  // no word longer is encoded

  // The word's code from one code of each of its characters, by the first
  // rule for its length that gives any letter.
  bool Encode(const std::vector<std::string>& characterCodes, std::string* code) const;

  bool IsExcluded(const std::string& characterCode) const;

 private:
  int CodeIndex(const std::string& code, int index, int start) const;
};

}  // namespace navo
