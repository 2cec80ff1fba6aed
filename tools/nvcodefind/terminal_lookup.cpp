// The terminal lookup: characters and words looked up as the window looks them up.
#include "tools/nvcodefind/terminal_lookup.h"

#include <cstdio>
#include <cstring>

#include "codefind/code_lookup.h"
#include "tools/common/gbk_text.h"
#include "tools/common/utf8_text.h"

namespace navo {

using namespace navo::codefind;

TerminalLookup::TerminalLookup(const char* tablePath) {
  OpenCodeTableFile(table_, tablePath);
  openingReports_.swap(reports_.reports);
}

LookupOutcome TerminalLookup::LookUpText(const std::string& utf8) {
  LookupOutcome outcome;
  outcome.text = Utf8ToDisplay(utf8);
  std::string gbk;
  if (!Utf8ToGbk(utf8, &gbk) || gbk.empty()) {
    outcome.error = "not in GBK";
    return outcome;
  }
  reports_.reports.clear();
  if (gbk.size() <= CharacterLength) {
    char codes[CodesStringSize];
    outcome.ok = LookupCharacterCodes(table_, gbk.c_str(), codes);
    if (outcome.ok) outcome.codes = GbkToDisplay(codes);
  } else {
    char wordCode[WordCodeSize];
    outcome.ok = DeriveWordCode(table_, gbk.c_str(), wordCode);
    if (outcome.ok) {
      outcome.codes = GbkToDisplay(WordCodes(gbk, wordCode));
      outcome.wordCode = wordCode;
    }
  }
  outcome.reports.swap(reports_.reports);
  return outcome;
}

LookupOutcome TerminalLookup::LookUpTyped(const char typed[2]) {
  LookupOutcome outcome;
  const std::string bytes(typed, 2);
  outcome.text = GbkToDisplay(bytes);
  char hex[5];
  std::snprintf(hex, sizeof hex, "%02X%02X", static_cast<unsigned char>(typed[0]),
                static_cast<unsigned char>(typed[1]));
  outcome.hex = hex;
  char probe[3] = {typed[0], typed[1], '\0'};
  char codes[CodesStringSize];
  reports_.reports.clear();
  outcome.ok = LookupCharacterCodes(table_, probe, codes);
  if (outcome.ok) outcome.codes = GbkToFieldDisplay(codes);
  outcome.reports.swap(reports_.reports);
  return outcome;
}

// The codes under which a word stands in the block of its word code's prefix.
std::string TerminalLookup::WordCodes(const std::string& word, const char* wordCode) {
  char prefix[3] = {};
  std::memcpy(prefix, wordCode, strnlen(wordCode, 2));
  std::string codes;
  if (!LoadCandidateBlock(table_, prefix)) return codes;
  const char* text = table_.textBuffer.Lock();
  if (text == nullptr) return codes;
  const char* wanted = word.c_str();
  for (uint32_t i = NextCandidateWithText(table_, text, wanted, 0); i < table_.loadedCount;
       i = NextCandidateWithText(table_, text, wanted, i + 1)) {
    if (!codes.empty()) codes += CodeSeparator;
    codes += std::string(prefix) + CandidateSuffix(table_, i);
  }
  table_.textBuffer.Unlock();
  return codes;
}

}  // namespace navo
