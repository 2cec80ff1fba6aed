// Reading table files from disk: a text table, a Rime dictionary with the
// dictionaries it imports, an fcitx5 table text. Each file's faults are
// reported under its own path.
#pragma once

#include <string>
#include <vector>

#include "tools/navomb/table_reading.h"
#include "tools/navomb/table_source.h"

namespace navo {

enum class TableFormat { Text, Rime, Fcitx5 };

struct FileReport {
  std::string path;
  TableReadResult read;
};

// Reads path (and, for Rime, the dictionaries named under its
// "import_tables:", in its folder, each as NAME.dict.yaml: its own entries
// first, then each import's in the order named; as in Rime, an imported
// dictionary's own imports are not read). A table that cannot be found, or
// that is the dictionary itself, is an error.
std::vector<FileReport> ReadTableFiles(TableFormat format, const std::string& path,
                                       const TableReadOptions& options, TableSource* source);

bool ReadWholeFile(const std::string& path, std::string* bytes);

}  // namespace navo
