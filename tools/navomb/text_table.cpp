#include "tools/navomb/text_table.h"

#include "tools/common/gbk_text.h"

namespace navo {

TableReadResult ReadTextTable(const std::vector<TextLine>& lines, const TableReadOptions& options,
                              TableSource* source) {
  TableReadResult result;
  for (const TextLine& line : lines) {
    const std::string& text = line.text;
    if (text.empty() || text[0] == '#') continue;
    const size_t tab = text.find('\t');
    if (tab == std::string::npos || text.find('\t', tab + 1) != std::string::npos) {
      result.errors.push_back({line.number, "expected text<TAB>code"});
      continue;
    }
    const std::string field = text.substr(0, tab), code = text.substr(tab + 1);
    if (field.size() > 1 && field[0] == '@')
      AddWordMakingCode(line.number, field.substr(1), code, options, source, &result);
    else
      AddCandidate(line.number, field, code, options, source, &result);
  }
  return result;
}

namespace {

// In the notation the reader takes for bytes: everything that is not a GBK
// character or printable ASCII, and a first "#" or "@" that would make the
// line a comment or a word-making code, as U+F0000 plus its value.
std::string Written(const std::string& gbk) { return GbkToUtf8Keeping(gbk, "#@"); }

}  // namespace

void WriteTextTable(const TableSource& source, std::ostream& out) {
  out << "# navo.mb code table: text<TAB>code; @character<TAB>word-making code\n";
  for (const auto& [character, code] : source.wordMakingCodes)
    out << '@' << Written(character) << '\t' << code << '\n';
  for (const TableCandidate& c : source.candidates)
    out << Written(c.text) << '\t' << c.code << '\n';
}

}  // namespace navo
