// A code table written as a Rime dictionary and the schema that types it.
#include <map>

#include "tools/navomb/engine_tables.h"

namespace navo {

void WriteRimeDictionary(const ExportTable& table, const std::string& name, std::ostream& out) {
  out << "# Rime dictionary " << name << ", written by navomb export from " << name << ".mb.\n"
      << "# encoding: utf-8\n"
      << "---\n"
      << "name: " << name << "\n"
      << "version: \"1\"\n"
      << "sort: original\n"
      << "use_preset_vocabulary: false\n"
      << "columns:\n  - text\n  - code\n  - stem\n"
      << "# New words (an entry without code) get the codes of the table's word-code rule\n"
      << "# from the stems, the characters' word-making codes.\n"
      << "encoder:\n  rules:\n";
  for (const EncoderRule& rule : WordCodeRules)
    out << "    - " << rule.lengths << "\n      formula: \"" << rule.rimeFormula << "\"\n";
  out << "# Every character's word-making code, for navomb to read the table back.\n"
      << "navo_word_making_codes:\n";
  std::map<std::string, std::string> stems;  // given once, on the character's first entry
  for (const ExportEntry& c : table.wordMakingCodes) {
    out << "  - \"" << c.text << (c.code.empty() ? "" : " ") << c.code << "\"\n";
    if (!c.code.empty()) stems[c.text] = c.code;
  }
  out << "...\n\n";
  for (const ExportEntry& c : table.candidates) {
    out << c.text << '\t' << c.code;
    const auto stem = stems.find(c.text);
    if (stem != stems.end()) {
      out << '\t' << stem->second;
      stems.erase(stem);
    }
    out << '\n';
  }
}

void WriteRimeSchema(const std::string& name, std::ostream& out) {
  out << "# Rime schema " << name << ", written by navomb export from " << name << ".mb.\n"
      << "# encoding: utf-8\n"
      << "schema:\n"
      << "  schema_id: " << name << "\n"
      << "  name: " << name << "\n"
      << "  version: \"1\"\n"
      << "  description: Navo code table " << name << "\n"
      << "engine:\n"
      << "  processors: [ascii_composer, speller, selector, navigator, express_editor]\n"
      << "  segmentors: [ascii_segmentor, matcher, abc_segmentor, fallback_segmentor]\n"
      << "  translators: [table_translator]\n"
      << "# Codes are 1 to 7 letters; no max_code_length, which would commit the first\n"
      << "# candidate at the next key.\n"
      << "speller:\n"
      << "  alphabet: abcdefghijklmnopqrstuvwxyz\n"
      << "  delimiter: \" '\"\n"
      << "# Exactly the typed code's entries, in the table's order, rare characters too.\n"
      << "translator:\n"
      << "  dictionary: " << name << "\n"
      << "  enable_charset_filter: false\n"
      << "  enable_completion: false\n"
      << "  enable_sentence: false\n"
      << "  enable_user_dict: false\n"
      << "  enable_encoder: false\n"
      << "  encode_commit_history: false\n";
}

}  // namespace navo
