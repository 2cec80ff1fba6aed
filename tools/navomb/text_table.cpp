#include "tools/navomb/text_table.h"

#include "tools/common/gbk_text.h"

namespace navo {

TextTableResult ReadTextTable(std::istream& in, const TextTableOptions& options,
                              TableSource* source) {
  TextTableResult result;
  std::string line, text;
  for (size_t number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto error = [&](const std::string& what) {
      result.errors.push_back("line " + std::to_string(number) + ": " + what);
    };
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos) {
      error("expected text<TAB>code");
      continue;
    }
    const std::string field = line.substr(0, tab), code = line.substr(tab + 1);
    const bool wordMaking = field.size() > 1 && field[0] == '@';
    if (!Utf8ToGbk(wordMaking ? field.substr(1) : field, &text) || text.empty()) {
      if (options.skipUnencodable) {
        ++result.skipped;
      } else {
        error("text is not GBK");
      }
      continue;
    }
    if (wordMaking) {
      if (text.size() != 2) {
        error("@ takes one character");
        continue;
      }
      source->wordMakingCodes[text] = code;
    } else {
      source->candidates.push_back({text, code});
    }
  }
  return result;
}

void WriteTextTable(const TableSource& source, std::ostream& out) {
  out << "# navo.mb code table: text<TAB>code; @character<TAB>word-making code\n";
  for (const auto& [character, code] : source.wordMakingCodes)
    out << '@' << GbkToDisplay(character) << '\t' << code << '\n';
  for (const TableCandidate& c : source.candidates)
    out << GbkToDisplay(c.text) << '\t' << c.code << '\n';
}

}  // namespace navo
