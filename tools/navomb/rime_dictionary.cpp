#include "tools/navomb/rime_dictionary.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "tools/common/utf8_text.h"

namespace navo {

namespace {

// A list of the header, each item with the number of its line.
using HeaderList = std::vector<TextLine>;

// What the reader takes from the header.
struct RimeHeader {
  std::vector<std::string> columns = {"text", "code", "weight"};
  HeaderList importTables;
  HeaderList wordMakingCodes;
  bool complete = false;  // a name and a version, without which Rime reads nothing
  size_t presetVocabularyLine = 0;  // where the header asks for it, if it does
  YAML::Node encoder;
  size_t bodyStart = 0;  // index into the lines of the first entry line
};

// Rime reads every line without its trailing white space.
std::string TrimRight(const std::string& text) {
  const size_t last = text.find_last_not_of(" \t\r\n\v\f");
  return last == std::string::npos ? "" : text.substr(0, last + 1);
}

std::string Quote(const std::string& utf8) { return "\"" + Utf8ToDisplay(utf8) + "\""; }

// A key not in the header gives a node that throws when asked its type.
bool IsList(const YAML::Node& node) { return node.IsDefined() && node.IsSequence(); }
bool IsScalar(const YAML::Node& node) { return node.IsDefined() && node.IsScalar(); }
std::string ScalarOf(const YAML::Node& node) { return IsScalar(node) ? node.Scalar() : ""; }

// The parser's message, which may quote a lone byte of a character.
std::string YamlMessage(const std::string& what, const std::string& message) {
  std::string readable = message;
  if (!IsUtf8(readable))
    for (char& c : readable)
      if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  return what + ": " + readable;
}

// Turns the YAML header's positions (lines counted from 0 in the text
// given to the parser, one per line read) into line numbers.
class HeaderLines {
 public:
  HeaderLines(const std::vector<TextLine>& lines, size_t end) : lines_(lines), end_(end) {}
  size_t Of(const YAML::Mark& mark) const {
    if (mark.line < 0) return 0;
    return lines_[std::min(static_cast<size_t>(mark.line), end_)].number;
  }
  HeaderList List(const YAML::Node& node) const {
    HeaderList items;
    if (!IsList(node)) return items;
    for (const YAML::Node& item : node)
      if (item.IsScalar()) items.push_back({Of(item.Mark()), item.Scalar()});
    return items;
  }

 private:
  const std::vector<TextLine>& lines_;
  size_t end_;
};

bool ReadHeaderYaml(const std::string& yaml, const HeaderLines& at, RimeHeader* header) {
  const YAML::Node root = YAML::Load(yaml);
  if (!root.IsDefined() || !root.IsMap()) return true;
  header->complete = IsScalar(root["name"]) && IsScalar(root["version"]);
  if (const YAML::Node columns = root["columns"]) {
    header->columns.clear();
    if (IsList(columns))
      for (const YAML::Node& column : columns) header->columns.push_back(ScalarOf(column));
  }
  const std::string name = ScalarOf(root["name"]);
  for (const TextLine& table : at.List(root["import_tables"]))
    if (table.text != name) header->importTables.push_back(table);  // Rime passes over itself
  header->wordMakingCodes = at.List(root["navo_word_making_codes"]);
  const YAML::Node preset = root["use_preset_vocabulary"], vocabulary = root["vocabulary"];
  if (ScalarOf(preset) == "true") header->presetVocabularyLine = at.Of(preset.Mark());
  if (IsScalar(vocabulary)) header->presetVocabularyLine = at.Of(vocabulary.Mark());
  const YAML::Node encoder = root["encoder"];
  if (encoder.IsDefined() && encoder.IsMap()) header->encoder.reset(encoder);
  return true;
}

// Gives the header, up to its line "...", to the YAML parser whole.
bool ReadHeader(const std::vector<TextLine>& lines, RimeHeader* header, TableReadResult* result) {
  std::string yaml;
  size_t end = 0;
  while (end < lines.size() && TrimRight(lines[end].text) != "...")
    yaml += TrimRight(lines[end++].text) + "\n";
  if (end == lines.size()) {
    result->errors.push_back({0, "no line \"...\" ends the YAML header: not a Rime dictionary"});
    return false;
  }
  yaml += "...\n";
  header->bodyStart = end + 1;
  const HeaderLines at(lines, end);
  try {
    return ReadHeaderYaml(yaml, at, header);
  } catch (const YAML::Exception& e) {
    result->errors.push_back({at.Of(e.mark), YamlMessage("YAML header", e.msg)});
  } catch (const std::exception& e) {
    result->errors.push_back({0, YamlMessage("YAML header", e.what())});
  }
  return false;
}

size_t ColumnOf(const RimeHeader& header, const char* label) {
  size_t column = 0;
  while (column < header.columns.size() && header.columns[column] != label) ++column;
  return column;
}

// A weight as Rime takes it: a number, or a share of the preset
// vocabulary's weight ("50%"), which is not read here.
double WeightOf(size_t line, const std::string& text, TableReadResult* result) {
  if (text.empty() || text.back() == '%') return 0;
  char* end = nullptr;
  const double weight = std::strtod(text.c_str(), &end);
  if (*end == '\0') return weight;
  result->warnings.push_back({line, "weight " + Quote(text) + " is not a number: taken as 0"});
  return 0;
}

// Items "character code" (or a character alone, for an empty code).
void AddWordMakingCodes(const HeaderList& items, const TableReadOptions& options,
                        TableSource* source, TableReadResult* result) {
  for (const TextLine& item : items) {
    const size_t space = item.text.find(' ');
    const std::string code = space == std::string::npos ? "" : item.text.substr(space + 1);
    AddWordMakingCode(item.number, item.text.substr(0, space), code, options, source, result);
  }
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> fields;
  for (size_t start = 0;;) {
    const size_t at = text.find(separator, start);
    fields.push_back(text.substr(start, at - start));
    if (at == std::string::npos) return fields;
    start = at + 1;
  }
}

// The UTF-8 characters of text.
std::vector<std::string> CharactersOf(const std::string& text) {
  std::vector<std::string> characters;
  for (size_t i = 0; i < text.size();) {
    size_t length = 1;
    while (i + length < text.size() && (text[i + length] & 0xC0) == 0x80) ++length;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

const int kSearchLimit = 32;      // Rime tries at most this many choices of codes
const int kLongestPhrase = 32;    // nor encodes longer texts

// Reads the encoder settings as Rime does: a rule without a formula, or
// with a bad formula or length, is passed over (with a warning here).
void ReadEncoder(const YAML::Node& settings, const HeaderLines& at, RimeEncoder* encoder,
                 TableReadResult* result) {
  for (const YAML::Node& item : settings["rules"]) {
    if (!item.IsDefined() || !item.IsMap() || !item["formula"]) continue;
    RimeEncodingRule rule;
    const size_t line = at.Of(item.Mark());
    if (!ParseRimeFormula(ScalarOf(item["formula"]), &rule)) {
      result->warnings.push_back({line, "encoder rule: formula " +
                                            Quote(ScalarOf(item["formula"])) +
                                            " is not pairs such as Aa, Zz: rule passed over"});
      continue;
    }
    const YAML::Node equal = item["length_equal"], range = item["length_in_range"];
    int fewest = 0, most = 0;  // neither key: a rule for no word
    bool valid = true;
    if (equal) {
      valid = YAML::convert<int>::decode(equal, fewest);
      most = fewest;
    } else if (IsList(range)) {
      valid = range.size() == 2 && YAML::convert<int>::decode(range[0], fewest) &&
              YAML::convert<int>::decode(range[1], most);
    }
    if (!valid || fewest > most || fewest < 0) {
      result->warnings.push_back({line, "encoder rule: no word length or range: rule passed over"});
      continue;
    }
    rule.fewest = fewest;
    rule.most = most;
    encoder->longestWord = std::min(std::max(encoder->longestWord, most), kLongestPhrase);
    encoder->rules.push_back(rule);
  }
  for (const TextLine& pattern : at.List(settings["exclude_patterns"])) {
    try {
      encoder->excludePatterns.emplace_back(pattern.text);
    } catch (const std::regex_error&) {
      result->errors.push_back({pattern.number, "exclude_patterns: " + Quote(pattern.text) +
                                                    " is not a regular expression"});
    }
  }
  encoder->tailAnchor = ScalarOf(settings["tail_anchor"]);
}

}  // namespace

// A search over the codes of the characters of one text, as Rime's
// encoders make it: every choice, up to kSearchLimit, gives a code.
struct RimeDictionaryReader::Encoding {
  const RimeDictionaryReader& reader;
  std::string text;
  std::vector<std::string> chosen;
  std::vector<std::string> made;
  int limit = kSearchLimit;

  // Whether every character has a code the rules may take: without one no
  // choice of the others' codes makes a code, and trying them all would take
  // as long as their product.
  bool EachHasACode(const std::vector<std::string>& characters) const {
    for (const std::string& character : characters) {
      std::vector<std::string> codes;
      if (!reader.Translate(character, &codes)) return false;
      bool usable = false;
      for (const std::string& code : codes) usable = usable || !reader.encoder_.IsExcluded(code);
      if (!usable) return false;
    }
    return true;
  }

  // By the encoder rules: one code of each character.
  bool ByRules(const std::vector<std::string>& characters, size_t at) {
    if (at == characters.size()) {
      --limit;
      std::string code;
      if (!reader.encoder_.Encode(chosen, &code)) return false;
      made.push_back(code);
      return true;
    }
    bool any = false;
    std::vector<std::string> codes;
    if (!reader.Translate(characters[at], &codes)) return false;
    for (const std::string& code : codes) {
      if (reader.encoder_.IsExcluded(code)) continue;
      chosen.push_back(code);
      any = ByRules(characters, at + 1) || any;
      chosen.pop_back();
      if (limit <= 0) break;
    }
    return any;
  }

  // Without rules: from each place in the text, whether the rest can be cut
  // into texts that have codes. The search takes no cut that cannot be
  // finished, so that every way it tries makes a code and the limit bounds it.
  std::vector<bool> finishes;
  void FindWhereTheRestFinishes() {
    finishes.assign(text.size() + 1, false);
    finishes[text.size()] = true;
    for (size_t start = text.size(); start-- > 0;) {
      for (size_t length = text.size() - start; length > 0 && !finishes[start]; --length) {
        std::vector<std::string> codes;
        finishes[start] = finishes[start + length] &&
                          reader.Translate(text.substr(start, length), &codes) && !codes.empty();
      }
    }
  }

  // Without rules: the text cut into texts that have codes, longest first,
  // their codes one after another.
  bool ByParts(size_t start) {
    if (start == text.size()) {
      --limit;
      std::string code;
      for (const std::string& part : chosen) code += (code.empty() ? "" : " ") + part;
      made.push_back(code);
      return true;
    }
    bool any = false;
    for (size_t length = text.size() - start; length > 0; --length) {
      std::vector<std::string> codes;
      if (!finishes[start + length] || !reader.Translate(text.substr(start, length), &codes))
        continue;
      for (const std::string& code : codes) {
        chosen.push_back(code);
        any = ByParts(start + length) || any;
        chosen.pop_back();
        if (limit <= 0) return any;
      }
    }
    return any;
  }
};

RimeDictionaryReader::RimeDictionaryReader(const TableReadOptions& options, TableSource* source)
    : options_(options), source_(source) {}

bool RimeDictionaryReader::Translate(const std::string& text,
                                     std::vector<std::string>* codes) const {
  const auto stems = stems_.find(text);
  if (stems != stems_.end()) {
    codes->assign(stems->second.begin(), stems->second.end());
    return true;
  }
  const auto words = words_.find(text);
  if (words == words_.end()) return false;
  // Rarely typed codes (under 5% of the text's weight) make no words.
  const double least = totalWeights_.at(text) * 0.05;
  for (const auto& [code, weight] : words->second)
    if (weight >= least) codes->push_back(code);
  return true;
}

void RimeDictionaryReader::AddEntry(size_t line, const std::string& text, const std::string& code,
                                    double weight, bool encoded, TableReadResult* result) {
  // Rime cuts a code at blanks into syllables, typed with a separator
  // between them; a table code is one syllable. Blanks around it are no
  // syllable (librime 1.9 on; 1.8 kept an empty one, which nothing types).
  std::vector<std::string> syllables;
  for (const std::string& piece : Split(code, ' '))
    if (!piece.empty()) syllables.push_back(piece);
  if (syllables.size() != 1) {
    result->warnings.push_back({line, "code " + Quote(code) + " of " + Quote(text) +
                                          " is not one syllable: left out, as Rime types it "
                                          "only with separators"});
    return;
  }
  auto& codes = words_[text];
  if (codes.count(syllables[0])) {
    // Rime shows a text once under a code; a table's own repeats stay,
    // so that an exported table reads back as it was.
    if (encoded) return;
  } else {
    codes[syllables[0]] = weight;
    totalWeights_[text] += weight;
  }
  AddCandidate(line, text, syllables[0], options_, source_, result);
}

TableReadResult RimeDictionaryReader::Read(size_t file, const std::vector<TextLine>& lines,
                                           RimeImports* imports) {
  TableReadResult result;
  RimeHeader header;
  const bool first = first_;
  first_ = false;
  if (!ReadHeader(lines, &header, &result)) return result;
  const size_t textColumn = ColumnOf(header, "text");
  const char* unread = !header.complete ? "the header gives no name: or no version:"
                       : textColumn == header.columns.size() ? "columns: names no text column"
                                                             : nullptr;
  if (unread) {
    if (first)
      result.errors.push_back({0, std::string(unread) + ", which Rime needs"});
    else
      result.warnings.push_back({0, std::string(unread) + ": not read, as Rime does not read it"});
    return result;
  }
  if (first) {
    const HeaderLines at(lines, header.bodyStart - 1);
    const YAML::Node& encoder = header.encoder;
    ruleBased_ = encoder.IsMap() && IsList(encoder["rules"]);
    try {
      if (ruleBased_) ReadEncoder(encoder, at, &encoder_, &result);
    } catch (const YAML::Exception& e) {
      result.errors.push_back({at.Of(e.mark), YamlMessage("encoder", e.msg)});
    } catch (const std::exception& e) {
      result.errors.push_back({0, YamlMessage("encoder", e.what())});
    }
    if (header.presetVocabularyLine)
      result.warnings.push_back({header.presetVocabularyLine,
                                 "Rime's preset vocabulary is not read: its words are not added"});
  }
  *imports = header.importTables;
  AddWordMakingCodes(header.wordMakingCodes, options_, source_, &result);
  const size_t codeColumn = ColumnOf(header, "code"), weightColumn = ColumnOf(header, "weight"),
               stemColumn = ColumnOf(header, "stem");

  bool comments = true;
  for (size_t i = header.bodyStart; i < lines.size(); ++i) {
    const std::string text = TrimRight(lines[i].text);
    const size_t number = lines[i].number;
    if (text.empty()) continue;
    if (comments && text[0] == '#') {
      if (text == "# no comment") comments = false;
      continue;
    }
    const std::vector<std::string> fields = Split(text, '\t');
    const auto field = [&](size_t column) {
      return column < fields.size() ? fields[column] : std::string();
    };
    const std::string entry = field(textColumn), code = field(codeColumn);
    if (entry.empty()) {
      result.warnings.push_back({number, "no text: left out, as Rime leaves it out"});
      continue;
    }
    const double weight = WeightOf(number, field(weightColumn), &result);
    if (code.empty()) {
      pending_.push_back({file, number, entry, weight});
      continue;
    }
    AddEntry(number, entry, code, weight, false, &result);
    if (!field(stemColumn).empty()) stems_[entry].insert(field(stemColumn));
  }
  return result;
}

void RimeDictionaryReader::Finish(const std::vector<TableReadResult*>& results) {
  for (const Pending& entry : pending_) {
    TableReadResult* result = results[entry.file];
    Encoding encoding{*this, entry.text, {}, {}, kSearchLimit, {}};
    const std::vector<std::string> characters = CharactersOf(entry.text);
    std::string why;
    if (!ruleBased_) {
      if (characters.size() <= static_cast<size_t>(kLongestPhrase))
        encoding.FindWhereTheRestFinishes();
      if (characters.size() > static_cast<size_t>(kLongestPhrase) || !encoding.ByParts(0))
        why = "no encoder rules, and it is not made of texts with codes";
    } else if (characters.size() > static_cast<size_t>(encoder_.longestWord)) {
      why = "the encoder rules take words of at most " + std::to_string(encoder_.longestWord) +
            " characters";
    } else if (!encoding.EachHasACode(characters) || !encoding.ByRules(characters, 0)) {
      why = "the encoder rules make no code of its characters' codes";
      for (const std::string& character : characters) {
        std::vector<std::string> codes;
        if (!Translate(character, &codes) || codes.empty()) {
          why = Quote(character) + " has no code to make words of";
          break;
        }
      }
    }
    if (!why.empty()) {
      result->warnings.push_back(
          {entry.line, "no code for " + Quote(entry.text) + ": " + why + "; left out, as Rime leaves it out"});
      continue;
    }
    for (const std::string& code : encoding.made)
      AddEntry(entry.line, entry.text, code, entry.weight, true, result);
  }
  pending_.clear();
}

TableReadResult ReadRimeDictionary(const std::vector<TextLine>& lines,
                                   const TableReadOptions& options, TableSource* source,
                                   RimeImports* imports) {
  RimeDictionaryReader reader(options, source);
  TableReadResult result = reader.Read(0, lines, imports);
  reader.Finish({&result});
  return result;
}

}  // namespace navo
