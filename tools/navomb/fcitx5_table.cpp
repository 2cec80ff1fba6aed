// fcitx5's table text (the libime format): written from a code table, read back.

#include "common/gbk.h"
#include "tools/navomb/engine_tables.h"

namespace navo {

namespace {

constexpr char ConstructPrefix = '^';

bool IsOneCharacter(const std::string& gbk) {
  return gbk.size() == 2 && IsGbkCharacter(uint8_t(gbk[0]), uint8_t(gbk[1]));
}

}  // namespace

void WriteFcitx5Table(const ExportTable& table, std::ostream& out) {
  out << "KeyCode=abcdefghijklmnopqrstuvwxyz\n"
      << "Length=7\n"
      << "ConstructPhrase=" << ConstructPrefix << "\n"
      << "[Rule]\n";
  for (const EncoderRule& rule : WordCodeRules) out << rule.fcitx5Rule << "\n";
  out << "[Data]\n";
  for (const ExportEntry& c : table.wordMakingCodes)
    if (!c.code.empty()) out << ConstructPrefix << c.code << ' ' << c.text << '\n';
  for (const ExportEntry& c : table.candidates) out << c.code << ' ' << c.text << '\n';
}

void WriteFcitx5InputMethod(const std::string& name, const EngineExportOptions& options,
                            std::ostream& out) {
  out << "# fcitx5 input method " << name << ", " << WrittenByNavomb << ".\n"
      << "[InputMethod]\n"
      << "Name=" << EngineDisplayName(name) << "\n"
      << "Icon=fcitx-table\n"
      << "Label=" << name << "\n"
      << "LangCode=zh_CN\n"
      << "Addon=table\n"
      << "Configurable=True\n"
      << "\n"
      << "[Table]\n"
      << "File=table/" << name << ".main.dict\n"
      << "OrderPolicy=No\n"
      << "ExactMatch=" << (options.hints ? "False" : "True") << "\n"
      << "Hint=True\n"
      << "PinyinKey=" << ReverseLookupKeyName << "\n"
      << "\n"
      << "[Table/PrevPage]\n"
      << "0=Up\n"
      << "1=minus\n"
      << "\n"
      << "[Table/NextPage]\n"
      << "0=Down\n"
      << "1=equal\n";
}

TableReadResult ReadFcitx5Table(const std::vector<TextLine>& lines,
                                const TableReadOptions& options, TableSource* source) {
  TableReadResult result;
  std::string construct, passedOver;  // the prefixes of construct, prompt and pinyin lines
  bool data = false;
  for (const TextLine& line : lines) {
    const std::string text = TrimBlanks(line.text);
    if (text.empty()) continue;
    if (!data) {
      const size_t equals = text.find('=');
      const std::string key = text.substr(0, equals), value = text.substr(equals + 1);
      if (text == "[Data]") {
        data = true;
      } else if (equals == std::string::npos || value.size() != 1) {
        continue;  // [Rule], its rules and the other settings are not needed
      } else if (key == "ConstructPhrase") {
        construct = value;
      } else if (key == "Prompt" || key == "Pinyin") {
        passedOver += value;
      }
      continue;
    }
    const size_t space = text.find_first_of(" \t");
    if (space == std::string::npos) {
      result.errors.push_back({line.number, "expected code and text"});
      continue;
    }
    const std::string code = text.substr(0, space), entry = TrimBlanks(text.substr(space + 1));
    if (!construct.empty() && code[0] == construct[0])
      AddWordMakingCode(line.number, entry, code.substr(1), options, source, &result);
    else if (passedOver.find(code[0]) == std::string::npos)
      AddCandidate(line.number, entry, code, options, source, &result);
  }
  if (!data) {
    result.errors.push_back({0, "no line [Data]: not an fcitx5 table text"});
    return result;
  }
  if (!construct.empty())
    for (const TableCandidate& c : source->candidates)
      if (IsOneCharacter(c.text)) source->wordMakingCodes.emplace(c.text, "");
  return result;
}

}  // namespace navo
