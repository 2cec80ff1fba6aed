// The terminal lookup: characters and words looked up as the window looks them up.
#include "tools/nvcodefind/terminal_lookup.h"

#include <cstdio>
#include <cstring>

#include "codefind/code_lookup.h"
#include "tools/common/gbk_text.h"
#include "tools/common/utf8_text.h"

namespace navo {

using namespace navo::codefind;

namespace {

// What was typed, as text and as hex digits.
LookupOutcome TypedOutcome(const std::string& bytes) {
  LookupOutcome outcome;
  outcome.text = GbkToDisplay(bytes);
  for (char byte : bytes) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(byte));
    outcome.hex += hex;
  }
  return outcome;
}

}  // namespace

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
    LookUpWord(gbk, false, &outcome);
  }
  outcome.reports.swap(reports_.reports);
  return outcome;
}

LookupOutcome TerminalLookup::LookUpTyped(const char typed[2]) {
  LookupOutcome outcome = TypedOutcome(std::string(typed, 2));
  char probe[3] = {typed[0], typed[1], '\0'};
  char codes[CodesStringSize];
  reports_.reports.clear();
  outcome.ok = LookupCharacterCodes(table_, probe, codes);
  if (outcome.ok) outcome.codes = GbkToFieldDisplay(codes);
  outcome.reports.swap(reports_.reports);
  return outcome;
}

LookupOutcome TerminalLookup::LookUpTypedWord(const std::string& bytes) {
  LookupOutcome outcome = TypedOutcome(bytes);
  reports_.reports.clear();
  LookUpWord(bytes, true, &outcome);
  outcome.reports.swap(reports_.reports);
  return outcome;
}

void TerminalLookup::LookUpWord(const std::string& gbk, bool fields, LookupOutcome* outcome) {
  WordCodes found;
  outcome->word = true;
  outcome->ok = LookupWordCodes(table_, gbk.c_str(), found);
  if (!outcome->ok) return;
  outcome->codes = fields ? GbkToFieldDisplay(found.codes) : GbkToDisplay(found.codes);
  outcome->cut = found.cut;
  outcome->wordCode = found.wordCode;
}

}  // namespace navo
