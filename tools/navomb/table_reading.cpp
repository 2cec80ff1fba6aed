#include "tools/navomb/table_reading.h"

#include "codefind/table_layout.h"
#include "common/gbk.h"
#include "tools/common/gbk_text.h"
#include "tools/common/utf8_text.h"

namespace navo {

namespace {

bool IsLetters(const std::string& code, size_t fewest, size_t most) {
  if (code.size() < fewest || code.size() > most) return false;
  for (char c : code)
    if (!codefind::IsCodeLetter(c)) return false;
  return true;
}

std::string Quote(const std::string& utf8) { return "\"" + Utf8ToDisplay(utf8) + "\""; }

// The GBK form of text, or false after noting why there is none.
bool ToGbk(size_t line, const std::string& text, const TableReadOptions& options, std::string* gbk,
           TableReadResult* result) {
  if (text.empty()) {
    result->errors.push_back({line, "empty text"});
    return false;
  }
  if (!Utf8ToGbk(text, gbk)) {
    if (options.skipUnencodable)
      ++result->skipped;
    else
      result->errors.push_back({line, "text " + Quote(text) + " is not in GBK"});
    return false;
  }
  if (gbk->find('\0') != std::string::npos) {
    result->errors.push_back({line, "text " + Quote(text) + " holds a NUL character"});
    return false;
  }
  return true;
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

void AddCandidate(size_t line, const std::string& text, const std::string& code,
                  const TableReadOptions& options, TableSource* source, TableReadResult* result) {
  std::string gbk;
  if (!ToGbk(line, text, options, &gbk, result)) return;
  if (!IsLetters(code, 1, codefind::MaxCodeLetters)) {
    result->errors.push_back(
        {line, "code " + Quote(code) + " of " + Quote(text) + " is not 1 to 7 letters a-z"});
  } else if (code.size() == 1 && gbk.size() > codefind::MaxLetterBlockTextBytes) {
    result->errors.push_back(
        {line, "text " + Quote(text) + " is longer than the 3 GBK bytes a one-letter code holds"});
  } else {
    source->candidates.push_back({gbk, code});
  }
}

void AddWordMakingCode(size_t line, const std::string& character, const std::string& code,
                       const TableReadOptions& options, TableSource* source,
                       TableReadResult* result) {
  std::string gbk;
  if (!ToGbk(line, character, options, &gbk, result)) return;
  if (gbk.size() != 2 || !IsGbkCharacter(uint8_t(gbk[0]), uint8_t(gbk[1]))) {
    result->errors.push_back({line, "@ takes one character, not " + Quote(character)});
  } else if (!IsLetters(code, 0, codefind::MaxWordMakingCodeLetters)) {
    result->errors.push_back({line, "word-making code " + Quote(code) + " of " + Quote(character) +
                                        " is not 0 to 3 letters a-z"});
  } else {
    source->wordMakingCodes[gbk] = code;
  }
}

}  // namespace navo
