// nvcodefind: the code lookup in a terminal.
//   nvcodefind [--table FILE] 字 词语 ...   one line per argument
//   nvcodefind [--table FILE] --batch        HEX lines on standard input
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "codefind/code_lookup.h"
#include "codefind/posix_platform.h"
#include "tools/common/gbk_text.h"

#ifndef NAVO_SAMPLE_TABLE
#define NAVO_SAMPLE_TABLE "navo.mb"
#endif

namespace {

const char Usage[] =
    "usage: nvcodefind [--table FILE] CHARACTER|WORD...\n"
    "       nvcodefind [--table FILE] --batch < lines of four hex digits (e.g. CDAF)\n";

// Reports as the lookup tool would show them: "box:TEXT/CAPTION" (an empty
// caption is the default one) or "beep", written to standard error or kept
// for a batch line.
class TerminalReports final : public navo::Reports {
 public:
  bool collect = false;
  std::string collected;

  void ShowMessage(const char* text, const char* caption) override {
    Add("box:" + navo::GbkToDisplay(text) + "/" + (caption ? navo::GbkToDisplay(caption) : ""));
  }
  void Beep() override { Add("beep"); }

 private:
  void Add(const std::string& report) {
    if (!collect) {
      std::fprintf(stderr, "%s\n", report.c_str());
      return;
    }
    if (!collected.empty()) collected += '|';
    collected += report;
  }
};

struct Lookup {
  navo::PosixTableFile file;
  TerminalReports reports;
  navo::StaticTextBuffer textBuffer;
  navo::CodeTable table{file, reports, textBuffer};
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::toupper(static_cast<unsigned char>(c)));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

int RunBatch(Lookup& lookup) {
  lookup.reports.collect = true;
  bool allFound = true;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    char typed[3] = {};
    bool valid = line.size() == 4;
    for (size_t i = 0; valid && i < 4; ++i) valid = HexDigit(line[i]) >= 0;
    if (!valid) {
      std::fprintf(stderr, "nvcodefind: not four hex digits: %s\n", line.c_str());
      return 2;
    }
    typed[0] = char(HexDigit(line[0]) << 4 | HexDigit(line[1]));
    typed[1] = char(HexDigit(line[2]) << 4 | HexDigit(line[3]));
    for (char& c : line) c = char(std::toupper(static_cast<unsigned char>(c)));

    lookup.reports.collected.clear();
    char codes[navo::CodesStringSize];
    const bool found = navo::LookupCharacterCodes(lookup.table, typed, codes);
    allFound = allFound && found;
    std::printf("%s\t%s\t%s\t%s\n", line.c_str(), found ? "ok" : "fail", found ? codes : "",
                lookup.reports.collected.c_str());
  }
  return allFound ? 0 : 1;
}

// The codes under which a word stands in the block of its word code's prefix.
std::string WordCodes(navo::CodeTable& table, const std::string& word, const char* wordCode) {
  char prefix[3] = {};
  std::memcpy(prefix, wordCode, strnlen(wordCode, 2));
  std::string codes;
  if (!navo::LoadCandidateBlock(table, prefix)) return codes;
  const char* text = table.textBuffer.Lock();
  for (uint32_t i = 0; text && i < table.loadedCount; ++i) {
    if (word != navo::CandidateText(table, text, i)) continue;
    if (!codes.empty()) codes += navo::CodeSeparator;
    codes += std::string(prefix) + navo::CandidateSuffix(table, i);
  }
  if (text) table.textBuffer.Unlock();
  return codes;
}

bool LookUpArgument(Lookup& lookup, const char* argument) {
  std::string text;
  if (!navo::Utf8ToGbk(argument, &text) || text.empty()) {
    std::fprintf(stderr, "nvcodefind: %s: not GBK text\n", argument);
    return false;
  }
  if (text.size() <= navo::SampleCharacterLength) {
    char codes[navo::CodesStringSize];
    if (!navo::LookupCharacterCodes(lookup.table, text.c_str(), codes)) return false;
    std::printf("%s: %s\n", argument, codes);
    return true;
  }
  char wordCode[navo::WordCodeSize];
  if (!navo::DeriveWordCode(lookup.table, text.c_str(), wordCode)) return false;
  const std::string codes = WordCodes(lookup.table, text, wordCode);
  std::printf("%s: %s (word code %s)\n", argument, codes.c_str(), wordCode);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* tablePath = NAVO_SAMPLE_TABLE;
  bool batch = false;
  int first = 1;
  for (; first < argc && argv[first][0] == '-' && argv[first][1] == '-'; ++first) {
    if (std::strcmp(argv[first], "--table") == 0 && first + 1 < argc) {
      tablePath = argv[++first];
    } else if (std::strcmp(argv[first], "--batch") == 0) {
      batch = true;
    } else {
      return std::fputs(Usage, stderr), 2;
    }
  }
  if (batch == (first < argc)) return std::fputs(Usage, stderr), 2;

  static Lookup lookup;  // the fixed buffers stay off the stack
  navo::OpenCodeTableFile(lookup.table, tablePath);

  if (batch) return RunBatch(lookup);
  bool allFound = true;
  for (int i = first; i < argc; ++i) allFound = LookUpArgument(lookup, argv[i]) && allFound;
  return allFound ? 0 : 1;
}
