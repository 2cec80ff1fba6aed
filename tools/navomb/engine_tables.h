// The engines' text formats: Rime's dictionary and schema, fcitx5's table
// text (libime) and its input method file, written from a code table ready
// for export; and fcitx5's table text read back.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/navomb/table_export.h"
#include "tools/navomb/table_reading.h"
#include "tools/navomb/text_file.h"

namespace navo {

// What the person asks of an export beyond the table itself.
struct EngineExportOptions {
  bool hints = false;  // longer codes' candidates with the letters still to type
};

// Every file navomb writes for an engine carries this in its first lines;
// a file without it is the person's and is never replaced.
constexpr char WrittenByNavomb[] = "written by navomb";

// The key before pinyin in the reverse lookup: no code begins with it, codes
// being letters a-z. Rime's notation, and fcitx5's key name.
constexpr char ReverseLookupKey[] = "`";
constexpr char ReverseLookupKeyName[] = "grave";
// Simplified characters, as the tables' users write them; ships with Rime
// front ends (Debian: rime-data-pinyin-simp).
constexpr char PinyinDictionary[] = "pinyin_simp";

// The name an engine's menu shows: a Navo table, and which one.
inline std::string EngineDisplayName(const std::string& name) {
  return "Navo 码表（" + name + "）";
}

// NAME.dict.yaml: every candidate in order (sort: original), the stem of
// each character's first entry its word-making code, the word-code rule as
// encoder rules, and every word-making code in "navo_word_making_codes:"
// for navomb to read back.
void WriteRimeDictionary(const ExportTable& table, const std::string& name, std::ostream& out);

// NAME.schema.yaml: a table translator over a-z that shows exactly the
// entries of the typed code, in the dictionary's order (with hints, longer
// codes' after them); Chinese punctuation, paging and the switches from the
// presets of rime-prelude; the pinyin reverse lookup after ReverseLookupKey.
void WriteRimeSchema(const std::string& name, const EngineExportOptions& options,
                     std::ostream& out);

// KeyCode a-z, Length=7, ConstructPhrase "^" lines for the word-making codes,
// [Rule] with the word-code rule, [Data] the candidates in order.
void WriteFcitx5Table(const ExportTable& table, std::ostream& out);

// NAME.conf: a table input method that keeps the table's order and shows
// only the typed code's entries (with hints, longer codes' too), pages with
// -/= and looks pinyin up after ReverseLookupKeyName.
void WriteFcitx5InputMethod(const std::string& name, const EngineExportOptions& options,
                            std::ostream& out);

// Reads the [Data] lines "code text" in order; "^code character" lines (the
// ConstructPhrase key's character) give word-making codes, and once there is
// such a key, a character without one has none. Prompt and Pinyin lines are
// passed over.
TableReadResult ReadFcitx5Table(const std::vector<TextLine>& lines,
                                const TableReadOptions& options, TableSource* source);

}  // namespace navo
