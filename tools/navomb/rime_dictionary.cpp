#include "tools/navomb/rime_dictionary.h"

namespace navo {

namespace {

// A list of the header, each item with the number of its line.
using HeaderList = std::vector<TextLine>;

// What the reader takes from the header.
struct RimeHeader {
  HeaderList columns = {{0, "text"}, {0, "code"}, {0, "weight"}};
  HeaderList importTables;
  HeaderList wordMakingCodes;
  size_t bodyStart = 0;  // index into the lines of the first entry line
};

// A scalar of the header: without a trailing comment and without quotes.
std::string Scalar(const std::string& text) {
  std::string value = text;
  const size_t comment = value.find(" #");
  if (comment != std::string::npos) value.erase(comment);
  value = TrimBlanks(value);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return value;
}

// "[a, b, c]" on line number as a list.
HeaderList FlowList(size_t number, const std::string& text) {
  HeaderList items;
  const std::string inner = text.substr(1, text.find(']') - 1);
  for (size_t start = 0; start <= inner.size();) {
    size_t comma = inner.find(',', start);
    if (comma == std::string::npos) comma = inner.size();
    const std::string item = Scalar(inner.substr(start, comma - start));
    if (!item.empty()) items.push_back({number, item});
    start = comma + 1;
  }
  return items;
}

// Reads the top-level keys that matter here and their lists, in block
// ("- item" lines) or flow ("[a, b]") style; everything else is passed over.
bool ReadHeader(const std::vector<TextLine>& lines, RimeHeader* header, TableReadResult* result) {
  HeaderList* list = nullptr;  // the list being read, if one matters
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& text = lines[i].text;
    if (text == "...") {
      header->bodyStart = i + 1;
      return true;
    }
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed[0] == '#' || text == "---") continue;
    if (trimmed[0] == '-' && (trimmed.size() == 1 || trimmed[1] == ' ')) {
      if (list) list->push_back({lines[i].number, Scalar(trimmed.substr(1))});
      continue;
    }
    if (text[0] == ' ' || text[0] == '\t') {  // nested under some other key
      list = nullptr;
      continue;
    }
    const size_t colon = text.find(':');
    const std::string key = TrimBlanks(text.substr(0, colon));
    const std::string value = colon == std::string::npos ? "" : Scalar(text.substr(colon + 1));
    list = nullptr;
    if (key == "columns") {
      list = &header->columns;
    } else if (key == "import_tables") {
      list = &header->importTables;
    } else if (key == "navo_word_making_codes") {
      list = &header->wordMakingCodes;
    } else {
      continue;
    }
    list->clear();
    if (!value.empty() && value[0] == '[') {
      *list = FlowList(lines[i].number, value);
      list = nullptr;
    }
  }
  result->errors.push_back({0, "no line \"...\" ends the YAML header: not a Rime dictionary"});
  return false;
}

size_t ColumnOf(const RimeHeader& header, const char* label) {
  size_t column = 0;
  while (column < header.columns.size() && header.columns[column].text != label) ++column;
  return column;
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

}  // namespace

TableReadResult ReadRimeDictionary(const std::vector<TextLine>& lines,
                                   const TableReadOptions& options, TableSource* source,
                                   RimeImports* imports) {
  TableReadResult result;
  RimeHeader header;
  if (!ReadHeader(lines, &header, &result)) return result;
  *imports = header.importTables;
  AddWordMakingCodes(header.wordMakingCodes, options, source, &result);
  const size_t textColumn = ColumnOf(header, "text"), codeColumn = ColumnOf(header, "code");
  if (textColumn == header.columns.size() || codeColumn == header.columns.size()) {
    result.errors.push_back({0, "columns: names no text or no code column"});
    return result;
  }

  bool comments = true;
  for (size_t i = header.bodyStart; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    if (line.text.empty()) continue;
    if (comments && line.text[0] == '#') {
      if (line.text.compare(0, 12, "# no comment") == 0) comments = false;
      continue;
    }
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
      const size_t tab = line.text.find('\t', start);
      fields.push_back(line.text.substr(start, tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (codeColumn >= fields.size()) {
      result.errors.push_back({line.number, "no code in column " + std::to_string(codeColumn + 1) +
                                                " (codes that Rime would make by its encoder "
                                                "rules are not made here)"});
    } else if (textColumn >= fields.size()) {
      result.errors.push_back({line.number, "no text in column " + std::to_string(textColumn + 1)});
    } else {
      AddCandidate(line.number, fields[textColumn], fields[codeColumn], options, source, &result);
    }
  }
  return result;
}

}  // namespace navo
