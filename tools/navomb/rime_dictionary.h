// Rime dictionaries (X.dict.yaml) read as librime reads them: a YAML header
// ended by a line "...", then one entry a line, its columns separated by tabs
// in the order that the header's "columns:" list gives (text, code, weight
// when it gives none). Lines are read without their trailing blanks; lines
// starting with "#" are comments until a line exactly "# no comment"; an entry
// without text is skipped with a warning. Entries without a code get the
// codes that Rime's encoder gives them (rime_encoder.h) from the codes of
// their characters, after every file's entries. Weights and stems decide
// which codes of a character make words, as in Rime; the word-making codes
// of a navo.mb table come from the header list "navo_word_making_codes:",
// items "character code", which navomb export writes and Rime passes over.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/navomb/rime_encoder.h"
#include "tools/navomb/table_reading.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_file.h"

namespace navo {

// The names under "import_tables:" and the line of each.
using RimeImports = std::vector<TextLine>;

class RimeDictionaryReader {
 public:
  RimeDictionaryReader(const TableReadOptions& options, TableSource* source);

  // Reads one file, numbered file by the caller; the first read is the
  // dictionary itself, whose encoder settings apply to all. The tables it
  // imports are the caller's to read.
  TableReadResult Read(size_t file, const std::vector<TextLine>& lines, RimeImports* imports);

  // Encodes the entries without a code of every file read, in file order,
  // noting what cannot be encoded in results[file].
  void Finish(const std::vector<TableReadResult*>& results);

 private:
  struct Pending {
    size_t file, line;
    std::string text;
    double weight;
  };
  struct Encoding;

  // encoded: made by the encoder, left out when the text has the code already.
  void AddEntry(size_t line, const std::string& text, const std::string& code, double weight,
                bool encoded, TableReadResult* result);
  // The codes of a text that make words, as Rime chooses them.
  bool Translate(const std::string& text, std::vector<std::string>* codes) const;

  const TableReadOptions& options_;
  TableSource* source_;
  bool first_ = true;
  bool ruleBased_ = false;  // encoder rules given, else Rime's script encoder
  RimeEncoder encoder_;
  // What makes words: single codes of each text with their weights, and stems.
  std::map<std::string, std::map<std::string, double>> words_;
  std::map<std::string, double> totalWeights_;
  std::map<std::string, std::set<std::string>> stems_;
  std::vector<Pending> pending_;
};

// One file alone, its entries without a code encoded.
TableReadResult ReadRimeDictionary(const std::vector<TextLine>& lines,
                                   const TableReadOptions& options, TableSource* source,
                                   RimeImports* imports);

}  // namespace navo
