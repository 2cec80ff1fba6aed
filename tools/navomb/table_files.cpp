// Table files read from disk, Rime's imported dictionaries followed.
#include "tools/navomb/table_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/navomb/engine_tables.h"
#include "tools/navomb/rime_dictionary.h"
#include "tools/navomb/text_file.h"
#include "tools/navomb/text_table.h"

namespace navo {

namespace {

namespace fs = std::filesystem;

class FileReader {
 public:
  FileReader(TableFormat format, const TableReadOptions& options, TableSource* source)
      : format_(format), options_(options), source_(source), rime_(options, source) {}

  std::vector<FileReport> reports;

  // Reads one file; for Rime, then its imports, each while chain_ holds the
  // file that imports it, so that the file met again is named as a cycle.
  void Read(const std::string& path) {
    reports.push_back({path, {}});
    const size_t report = reports.size() - 1;
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) {
      reports[report].read.errors.push_back({0, "cannot read the file"});
      return;
    }
    DecodedText decoded = DecodeTextFile(bytes);
    RimeImports imports;
    TableReadResult read;
    switch (format_) {
      case TableFormat::Text:
        read = ReadTextTable(decoded.lines, options_, source_);
        break;
      case TableFormat::Rime:
        read = rime_.Read(report, decoded.lines, &imports);
        break;
      case TableFormat::Fcitx5:
        read = ReadFcitx5Table(decoded.lines, options_, source_);
        break;
    }
    read.errors.insert(read.errors.begin(), decoded.errors.begin(), decoded.errors.end());
    reports[report].read = read;
    if (imports.empty()) return;
    if (!chain_.empty()) {  // Rime merges only the tables the dictionary itself names
      for (const TextLine& name : imports)
        reports[report].read.warnings.push_back(
            {name.number, "import_tables: " + name.text +
                              " not read: Rime reads only the dictionary's own imports"});
      return;
    }

    const std::string identity = Identity(path);
    chain_.push_back(identity);
    const fs::path folder = fs::path(path).parent_path();
    for (const TextLine& name : imports) {
      const std::string imported = (folder / (name.text + ".dict.yaml")).string();
      std::error_code error;
      if (!fs::is_regular_file(imported, error)) {
        reports[report].read.errors.push_back(
            {name.number, "import_tables: no table " + name.text + " (" + imported + ")"});
      } else if (OnChain(Identity(imported))) {
        reports[report].read.errors.push_back(
            {name.number, "import_tables: " + name.text + " imports itself (" + imported +
                              " is already being read)"});
      } else {
        Read(imported);
      }
    }
    chain_.pop_back();
  }

  // Rime encodes the entries without a code once every file is read.
  void Finish() {
    if (format_ != TableFormat::Rime) return;
    std::vector<TableReadResult*> results;
    for (FileReport& report : reports) results.push_back(&report.read);
    rime_.Finish(results);
  }

 private:
  TableFormat format_;
  const TableReadOptions& options_;
  TableSource* source_;
  RimeDictionaryReader rime_;
  std::vector<std::string> chain_;  // outermost first

  static std::string Identity(const std::string& path) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path : canonical.string();
  }

  bool OnChain(const std::string& identity) const {
    for (const std::string& link : chain_)
      if (link == identity) return true;
    return false;
  }
};

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::vector<FileReport> ReadTableFiles(TableFormat format, const std::string& path,
                                       const TableReadOptions& options, TableSource* source) {
  FileReader reader(format, options, source);
  reader.Read(path);
  reader.Finish();
  return reader.reports;
}

}  // namespace navo
