// navomb: builds, dumps and checks code tables in the navo.mb layout.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/common/gbk_text.h"
#include "tools/navomb/engine_tables.h"
#include "tools/navomb/table_examine.h"
#include "tools/navomb/table_files.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_table.h"

#ifndef NAVO_VERSION
#define NAVO_VERSION "unknown"
#endif

namespace {

const char Usage[] =
    "usage: navomb build [--from text|rime|fcitx5] [--skip-unencodable] TABLE OUT.mb\n"
    "       navomb export --to rime TABLE.mb DIR       (DIR/NAME.dict.yaml, NAME.schema.yaml)\n"
    "       navomb export --to fcitx5 TABLE.mb FILE.txt  (and FILE.conf)\n"
    "       navomb dump TABLE.mb            (text table on standard output)\n"
    "       navomb check TABLE.mb           (each damage with its offset)\n"
    "       navomb --help | --version\n";

const char Help[] =
    "\n"
    "build reads a text table (text<TAB>code, @character<TAB>word-making code,\n"
    "# comments), with --from rime a Rime dictionary (X.dict.yaml: text and code\n"
    "columns as its columns: list says; the dictionaries under import_tables:\n"
    "followed, from the same folder) or with --from fcitx5 an fcitx5 table text\n"
    "(code text lines under [Data]); UTF-8 with or without a byte-order mark, or\n"
    "UTF-16 with one. --skip-unencodable drops entries whose text GBK cannot hold.\n"
    "A table without any candidate is not built.\n"
    "export writes a sound table in an engine's formats: for Rime a dictionary\n"
    "and a schema named after TABLE, for fcitx5 the table text and its input\n"
    "method file, named after FILE.\n"
    "Exit status 0 on success, 1 on a fault of a file, 2 on bad usage.\n";

// Enough to show what is wrong without burying the terminal.
constexpr size_t MaxErrorsShown = 50;

int UsageError() {
  std::fputs(Usage, stderr);
  return 2;
}

bool FormatNamed(const char* name, navo::TableFormat* format) {
  const struct {
    const char* name;
    navo::TableFormat format;
  } formats[] = {{"text", navo::TableFormat::Text},
                 {"rime", navo::TableFormat::Rime},
                 {"fcitx5", navo::TableFormat::Fcitx5}};
  for (const auto& f : formats)
    if (std::strcmp(name, f.name) == 0) return *format = f.format, true;
  return false;
}

// Written whole or not at all: a failed write leaves no partial file behind.
template <typename Bytes>
bool WriteFile(const std::string& path, const Bytes& bytes) {
  const std::string temporary = path + ".navomb-part";
  std::ofstream out(temporary, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out.flush() || (out.close(), !out) || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    std::fprintf(stderr, "navomb: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

void PrintLineErrors(const char* path, const std::vector<navo::LineError>& errors, const char* kind,
                     size_t* shown) {
  for (const navo::LineError& e : errors) {
    if (*shown == MaxErrorsShown) return;
    ++*shown;
    if (e.line == 0)
      std::fprintf(stderr, "%s: %s%s\n", path, kind, e.message.c_str());
    else
      std::fprintf(stderr, "%s:%zu: %s%s\n", path, e.line, kind, e.message.c_str());
  }
}

int Build(int argc, char** argv) {
  navo::TableReadOptions options;
  navo::TableFormat format = navo::TableFormat::Text;
  int next = 2;
  for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
    if (std::strcmp(argv[next], "--skip-unencodable") == 0) {
      options.skipUnencodable = true;
    } else if (std::strcmp(argv[next], "--from") == 0 && next + 1 < argc &&
               FormatNamed(argv[next + 1], &format)) {
      ++next;
    } else {
      return UsageError();
    }
  }
  if (argc - next != 2) return UsageError();
  const char* inPath = argv[next];
  const char* outPath = argv[next + 1];

  navo::TableSource source;
  bool faults = false;
  size_t skipped = 0;
  for (navo::FileReport& report : navo::ReadTableFiles(format, inPath, options, &source)) {
    navo::TableReadResult& read = report.read;
    std::stable_sort(
        read.errors.begin(), read.errors.end(),
        [](const navo::LineError& a, const navo::LineError& b) { return a.line < b.line; });
    const char* path = report.path.c_str();
    size_t shown = 0;
    PrintLineErrors(path, read.warnings, "warning: ", &shown);
    shown = 0;
    PrintLineErrors(path, read.errors, "", &shown);
    if (read.errors.size() > shown)
      std::fprintf(stderr, "%s: %zu more errors not shown (%zu in all)\n", path,
                   read.errors.size() - shown, read.errors.size());
    faults = faults || !read.errors.empty();
    skipped += read.skipped;
  }
  if (!faults && source.candidates.empty()) {
    std::fprintf(stderr, "%s: no candidate at all%s\n", inPath,
                 skipped ? " (every entry was skipped as not GBK)" : "");
    faults = true;
  }
  if (faults) {
    std::fprintf(stderr, "navomb: %s not built\n", outPath);
    return 1;
  }

  navo::BuildResult built = navo::BuildCodeTable(source);
  for (const std::string& e : built.errors)
    std::fprintf(stderr, "navomb: %s\n", navo::GbkToDisplay(e).c_str());
  if (!built.errors.empty()) {
    std::fprintf(stderr, "navomb: %s not built\n", outPath);
    return 1;
  }
  if (!WriteFile(outPath, built.bytes)) return 1;
  std::fprintf(stderr, "navomb: %zu candidates, %zu bytes%s\n", source.candidates.size(),
               built.bytes.size(),
               skipped ? (", " + std::to_string(skipped) + " entries not GBK skipped").c_str()
                       : "");
  return 0;
}

// A name as both engines take it for a schema, a dictionary or an input method.
bool IsEngineName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
  return true;
}

// navomb export --to rime|fcitx5 TABLE.mb DESTINATION
int Export(int argc, char** argv) {
  navo::TableFormat format;
  if (argc != 6 || std::strcmp(argv[2], "--to") != 0 || !FormatNamed(argv[3], &format) ||
      format == navo::TableFormat::Text)
    return UsageError();
  const std::string tablePath = argv[4], destination = argv[5];
  const std::string name = std::filesystem::path(format == navo::TableFormat::Rime ? tablePath
                                                                                  : destination)
                               .stem()
                               .string();
  if (!IsEngineName(name)) {
    std::fprintf(stderr, "navomb: the name \"%s\" is not letters, digits, _ and - only, as the "
                 "engines need it\n", name.c_str());
    return 1;
  }
  std::string file;
  if (!navo::ReadWholeFile(tablePath, &file))
    return std::fprintf(stderr, "navomb: cannot read %s\n", tablePath.c_str()), 1;
  const std::vector<uint8_t> bytes(file.begin(), file.end());
  if (!navo::CheckCodeTable(bytes).empty()) {
    std::fprintf(stderr, "navomb: %s is damaged (navomb check names where); not exported\n",
                 tablePath.c_str());
    return 1;
  }
  const navo::ExportTable table = navo::PrepareExport(navo::DumpCodeTable(bytes));
  for (size_t i = 0; i < table.errors.size() && i < MaxErrorsShown; ++i)
    std::fprintf(stderr, "%s: %s\n", tablePath.c_str(), table.errors[i].c_str());
  if (table.errors.size() > MaxErrorsShown)
    std::fprintf(stderr, "%s: %zu more errors not shown\n", tablePath.c_str(),
                 table.errors.size() - MaxErrorsShown);
  if (table.candidates.empty() && table.errors.empty())
    std::fprintf(stderr, "%s: no candidate at all\n", tablePath.c_str());
  if (!table.errors.empty() || table.candidates.empty()) {
    std::fprintf(stderr, "navomb: %s not exported\n", tablePath.c_str());
    return 1;
  }

  std::ostringstream first, second;
  std::string firstPath, secondPath;
  if (format == navo::TableFormat::Rime) {
    std::error_code error;
    std::filesystem::create_directories(destination, error);
    const std::filesystem::path folder(destination);
    firstPath = (folder / (name + ".dict.yaml")).string();
    secondPath = (folder / (name + ".schema.yaml")).string();
    navo::WriteRimeDictionary(table, name, first);
    navo::WriteRimeSchema(name, second);
  } else {
    firstPath = destination;
    secondPath = std::filesystem::path(destination).replace_extension(".conf").string();
    navo::WriteFcitx5Table(table, first);
    navo::WriteFcitx5InputMethod(name, second);
  }
  if (!WriteFile(firstPath, first.str()) || !WriteFile(secondPath, second.str())) return 1;
  std::fprintf(stderr, "navomb: %zu candidates, %zu word-making codes: %s, %s\n",
               table.candidates.size(), table.wordMakingCodes.size(), firstPath.c_str(),
               secondPath.c_str());
  return 0;
}

int DumpOrCheck(const std::string& command, const char* path) {
  std::string file;
  if (!navo::ReadWholeFile(path, &file)) return std::fprintf(stderr, "navomb: cannot read %s\n", path), 1;
  const std::vector<uint8_t> bytes(file.begin(), file.end());
  if (command == "dump") {
    const navo::TableSource dump = navo::DumpCodeTable(bytes);
    navo::WriteTextTable(dump, std::cout);
    if (!std::cout.flush()) return 1;
    // What the lookup passes over but no text table holds (an empty text, a
    // code with other than a-z) is written as it is; building it would fail.
    const std::vector<std::string> refused = navo::BuildCodeTable(dump).errors;
    if (refused.empty()) return 0;
    std::fprintf(stderr, "navomb: %s: the dump does not build back: %s\n", path,
                 navo::GbkToDisplay(refused.front()).c_str());
    return 1;
  }
  std::vector<navo::TableFinding> findings = navo::CheckCodeTable(bytes);
  for (const navo::TableFinding& f : findings)
    std::printf("%s: offset %llu (0x%llX): %s\n", path, static_cast<unsigned long long>(f.offset),
                static_cast<unsigned long long>(f.offset), f.what.c_str());
  if (findings.empty()) std::printf("%s: sound\n", path);
  return findings.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError();
  const std::string command = argv[1];
  if (command == "--help" && argc == 2) {
    std::printf("%s%s", Usage, Help);
    return 0;
  }
  if (command == "--version" && argc == 2) {
    std::printf("navomb %s\n", NAVO_VERSION);
    return 0;
  }
  if (command == "build") return Build(argc, argv);
  if (command == "export") return Export(argc, argv);
  if ((command == "dump" || command == "check") && argc == 3) return DumpOrCheck(command, argv[2]);
  return UsageError();
}
