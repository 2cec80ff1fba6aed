// A code table as the builder takes it: candidates in file order and the
// word-making codes of characters, all text GBK.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace navo {

struct TableCandidate {
  std::string text;  // a GBK character or word
  std::string code;  // 1 to 7 code letters
};

struct TableSource {
  std::vector<TableCandidate> candidates;
  // Characters (two GBK bytes) with a word-making code given explicitly
  // (0 to 3 letters). Others get the first two letters of their longest code.
  std::map<std::string, std::string> wordMakingCodes;
};

struct BuildResult {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;  // empty on success
};

// Lays the table out in the navo.mb layout: character record arrays below
// the lead byte table, the fixed indexes, then the blocks in prefix order
// (a..z, then aa..zz).
BuildResult BuildCodeTable(const TableSource& source);

// The word-making codes the builder gives: explicit ones, else the first two
// letters of the character's longest code (the first such in file order).
std::map<std::string, std::string> EffectiveWordMakingCodes(const TableSource& source);

}  // namespace navo
