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
  return LookUpUtf8(utf8, false);
}

LookupOutcome TerminalLookup::LookUpEveryCode(const std::string& utf8) {
  return LookUpUtf8(utf8, true);
}

LookupOutcome TerminalLookup::LookUpUtf8(const std::string& utf8, bool every) {
  LookupOutcome outcome;
  outcome.text = Utf8ToDisplay(utf8);
  std::string gbk;
  if (!Utf8ToGbk(utf8, &gbk) || gbk.empty()) {
    outcome.error = "not in GBK";
    return outcome;
  }
  reports_.reports.clear();
  if (every) {
    LookUpEvery(gbk, false, &outcome);
  } else if (gbk.size() <= CharacterLength) {
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
  return LookUpTypedBytes(bytes, false);
}

LookupOutcome TerminalLookup::LookUpTypedEveryCode(const std::string& bytes) {
  return LookUpTypedBytes(bytes, true);
}

LookupOutcome TerminalLookup::LookUpTypedBytes(const std::string& bytes, bool every) {
  LookupOutcome outcome = TypedOutcome(bytes);
  reports_.reports.clear();
  if (every)
    LookUpEvery(bytes, true, &outcome);
  else
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

void TerminalLookup::LookUpEvery(const std::string& gbk, bool fields, LookupOutcome* outcome) {
  EveryCode found;
  outcome->every = true;
  outcome->ok = LookupEveryCode(table_, gbk.c_str(), found);
  if (!outcome->ok) return;
  char codes[EveryCodeStringSize];
  JoinEveryCode(found, codes);
  outcome->codes = fields ? GbkToFieldDisplay(codes) : GbkToDisplay(codes);
  outcome->cut = found.cut;
  if (found.best != NoBestCode)
    outcome->best =
        fields ? GbkToFieldDisplay(found.codes[found.best]) : GbkToDisplay(found.codes[found.best]);
}

CodeOutcome TerminalLookup::LookUpCode(const std::string& code) {
  static CodeCandidates found;  // some kilobytes: off the stack
  CodeOutcome outcome;
  outcome.code = code;
  if (!IsTypedCode(code.c_str())) {
    outcome.error = "not a code of 1 to 7 letters a-z";
    return outcome;
  }
  reports_.reports.clear();
  outcome.ok = LookupCodeCandidates(table_, code.c_str(), found);
  if (outcome.ok) {
    for (uint32_t i = 0; i < found.count; ++i) {
      const std::string text = found.texts + found.listed[i].textAt;
      if (i < found.exactCount)
        outcome.candidates.push_back(text);
      else
        outcome.hints.push_back({text, found.listed[i].rest});
    }
    outcome.cut = found.cut;
  }
  outcome.reports.swap(reports_.reports);
  return outcome;
}

}  // namespace navo
