// A code table written as a Rime dictionary and the schema that types it.
#include <map>

#include "tools/navomb/engine_tables.h"

namespace navo {

void WriteRimeDictionary(const ExportTable& table, const std::string& name, std::ostream& out) {
  out << "# Rime dictionary " << name << ", " << WrittenByNavomb << " export from " << name << ".mb.\n"
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

void WriteRimeSchema(const std::string& name, const EngineExportOptions& options,
                     std::ostream& out) {
  out << "# Rime schema " << name << ", " << WrittenByNavomb << " export from " << name << ".mb.\n"
      << "# encoding: utf-8\n"
      << "schema:\n"
      << "  schema_id: " << name << "\n"
      << "  name: \"" << EngineDisplayName(name) << "\"\n"
      << "  version: \"1\"\n"
      << "  description: |\n"
      << "    Navo code table " << name << ".\n"
      << "    " << ReverseLookupKey << " then pinyin: each character with its codes in this table.\n"
      << "  dependencies:\n"
      << "    - " << PinyinDictionary << "\n"
      << "switches:\n"
      << "  - name: ascii_mode\n"
      << "    reset: 0\n"
      << "    states: [ 中文, 西文 ]\n"
      << "  - name: full_shape\n"
      << "    states: [ 半角, 全角 ]\n"
      << "  - name: ascii_punct\n"
      << "    states: [ 。，, ．， ]\n"
      << "engine:\n"
      << "  processors: [ascii_composer, recognizer, key_binder, speller, punctuator, selector,\n"
      << "               navigator, express_editor]\n"
      << "  segmentors: [ascii_segmentor, matcher, abc_segmentor, punct_segmentor,\n"
      << "               fallback_segmentor]\n"
      << "  translators: [punct_translator, reverse_lookup_translator, table_translator]\n"
      << "# Codes are 1 to 7 letters; no max_code_length, which would commit the first\n"
      << "# candidate at the next key.\n"
      << "speller:\n"
      << "  alphabet: abcdefghijklmnopqrstuvwxyz\n"
      << "  delimiter: \" '\"\n"
      << "# Exactly the typed code's entries, in the table's order, rare characters too;\n"
      << "# with completion, longer codes' entries after them with the letters to type.\n"
      << "translator:\n"
      << "  dictionary: " << name << "\n"
      << "  enable_charset_filter: false\n"
      << "  enable_completion: " << (options.hints ? "true" : "false") << "\n"
      << "  enable_sentence: false\n"
      << "  enable_user_dict: false\n"
      << "  enable_encoder: false\n"
      << "  encode_commit_history: false\n"
      << "# The grave accent, which no code begins with, then pinyin: each candidate\n"
      << "# shows its codes in this table.\n"
      << "reverse_lookup:\n"
      << "  dictionary: " << PinyinDictionary << "\n"
      << "  prefix: \"" << ReverseLookupKey << "\"\n"
      << "  suffix: \"'\"\n"
      << "  tips: 〔拼音〕\n"
      << "# The presets every Rime front end ships (rime-prelude); Shift's switch to\n"
      << "# Latin letters included here too, for a schema compiled on its own.\n"
      << "ascii_composer:\n"
      << "  __include: default:/ascii_composer\n"
      << "punctuator:\n"
      << "  import_preset: symbols\n"
      << "key_binder:\n"
      << "  import_preset: default\n"
      << "recognizer:\n"
      << "  import_preset: default\n"
      << "  patterns:\n"
      << "    punct: '^/([0-9]0?|[A-Za-z]+)$'\n"
      << "    reverse_lookup: \"^" << ReverseLookupKey << "[a-z]*'?$\"\n";
}

}  // namespace navo
