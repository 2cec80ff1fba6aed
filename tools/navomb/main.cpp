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
#include "tools/navomb/engine_install.h"
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
    "       navomb export --to rime [--hints] [--name NAME] TABLE.mb DIR\n"
    "                                       (DIR/NAME.dict.yaml, NAME.schema.yaml)\n"
    "       navomb export --to fcitx5 [--hints] [--name NAME] TABLE.mb FILE.txt\n"
    "                                       (and NAME.conf beside it)\n"
    "       navomb export --to rime-zip|fcitx5-android [--hints] [--name NAME] TABLE.mb OUT.zip\n"
    "       navomb install --to rime|fcitx5 [--hints] [--name NAME] [--user-dir DIR] TABLE.mb\n"
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
    "method file, named after FILE up to its first dot; --name names them.\n"
    "Both type the typed code's entries only, in the table's order, and look\n"
    "pinyin up after ` (each character with its codes); --hints adds longer\n"
    "codes' entries with the letters still to type.\n"
    "rime-zip bundles the Rime files with a README.txt (no default.custom.yaml);\n"
    "fcitx5-android the .conf and the compiled table, as its table import takes.\n"
    "install writes the files into the user folders of the front ends found\n"
    "(fcitx5-rime, ibus-rime; fcitx5's table/ and inputmethod/), or DIR; adds the\n"
    "schema to default.custom.yaml's list, deploys with rime_deployer, and never\n"
    "replaces a file without the line \"written by navomb\".\n"
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

// Where an export or an install goes.
enum class Target { None, Rime, Fcitx5, RimeZip, Fcitx5Android };

bool TargetNamed(const char* name, Target* target) {
  const struct {
    const char* name;
    Target target;
  } targets[] = {{"rime", Target::Rime},
                 {"fcitx5", Target::Fcitx5},
                 {"rime-zip", Target::RimeZip},
                 {"fcitx5-android", Target::Fcitx5Android}};
  for (const auto& t : targets)
    if (std::strcmp(name, t.name) == 0) return *target = t.target, true;
  return false;
}

// The options export and install share.
struct EngineCommand {
  Target target = Target::None;
  navo::EngineExportOptions options;
  std::string name, userDir;
  std::vector<std::string> operands;
};

bool ParseEngineCommand(int argc, char** argv, bool install, EngineCommand* command) {
  int next = 2;
  for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
    const bool valued = next + 1 < argc;
    if (std::strcmp(argv[next], "--hints") == 0) {
      command->options.hints = true;
    } else if (std::strcmp(argv[next], "--to") == 0 && valued &&
               TargetNamed(argv[next + 1], &command->target)) {
      ++next;
    } else if (std::strcmp(argv[next], "--name") == 0 && valued) {
      command->name = argv[++next];
    } else if (install && std::strcmp(argv[next], "--user-dir") == 0 && valued) {
      command->userDir = argv[++next];
    } else {
      return false;
    }
  }
  command->operands.assign(argv + next, argv + argc);
  if (install)
    return command->operands.size() == 1 &&
           (command->target == Target::Rime || command->target == Target::Fcitx5);
  return command->operands.size() == 2 && command->target != Target::None;
}

// The name checked as both engines take it for a schema, a dictionary or an
// input method.
bool CheckName(const std::string& name) {
  if (IsEngineName(name)) return true;
  std::fprintf(stderr, "navomb: the name \"%s\" is not letters, digits, _ and - only, as the "
               "engines need it\n", name.c_str());
  return false;
}

// A sound table read and made ready for the engines; false after saying why not.
bool LoadForExport(const std::string& tablePath, navo::ExportTable* table) {
  std::string file;
  if (!navo::ReadWholeFile(tablePath, &file))
    return std::fprintf(stderr, "navomb: cannot read %s\n", tablePath.c_str()), false;
  const std::vector<uint8_t> bytes(file.begin(), file.end());
  if (!navo::CheckCodeTable(bytes).empty()) {
    std::fprintf(stderr, "navomb: %s is damaged (navomb check names where); not exported\n",
                 tablePath.c_str());
    return false;
  }
  *table = navo::PrepareExport(navo::DumpCodeTable(bytes));
  for (size_t i = 0; i < table->errors.size() && i < MaxErrorsShown; ++i)
    std::fprintf(stderr, "%s: %s\n", tablePath.c_str(), table->errors[i].c_str());
  if (table->errors.size() > MaxErrorsShown)
    std::fprintf(stderr, "%s: %zu more errors not shown\n", tablePath.c_str(),
                 table->errors.size() - MaxErrorsShown);
  if (table->candidates.empty() && table->errors.empty())
    std::fprintf(stderr, "%s: no candidate at all\n", tablePath.c_str());
  if (!table->errors.empty() || table->candidates.empty()) {
    std::fprintf(stderr, "navomb: %s not exported\n", tablePath.c_str());
    return false;
  }
  return true;
}

std::string TableName(const std::string& tablePath) {
  return std::filesystem::path(tablePath).stem().string();
}

// A phone's bundle: the Rime files with a README.txt, or fcitx5-android's
// .conf and compiled table (nothing else: it takes any .txt for a table).
int ExportBundle(const EngineCommand& command, const navo::ExportTable& table) {
  const std::string& out = command.operands[1];
  navo::EngineFiles files;
  std::vector<std::pair<std::string, std::string>> entries;
  if (command.target == Target::RimeZip) {
    files = navo::RimeFiles(table, command.name, command.options);
    entries = files.files;
    entries.push_back({"README.txt", navo::RimeBundleReadme(command.name)});
  } else {
    std::string error;
    if (!navo::Fcitx5Files(table, command.name, command.options, &files, &error))
      return std::fprintf(stderr, "navomb: %s; %s not written\n", error.c_str(), out.c_str()), 1;
    for (const auto& [path, bytes] : files.files)
      entries.push_back({std::filesystem::path(path).filename().string(), bytes});
  }
  std::string error;
  if (!navo::WriteZip(out, entries, &error))
    return std::fprintf(stderr, "navomb: cannot write %s: %s\n", out.c_str(), error.c_str()), 1;
  std::fprintf(stderr, "navomb: %zu candidates: %s (", table.candidates.size(), out.c_str());
  for (size_t i = 0; i < entries.size(); ++i)
    std::fprintf(stderr, "%s%s", i ? ", " : "", entries[i].first.c_str());
  std::fprintf(stderr, ")\n");
  return 0;
}

// navomb export --to rime|fcitx5|rime-zip|fcitx5-android [--hints] [--name NAME] TABLE.mb DESTINATION
int Export(int argc, char** argv) {
  EngineCommand command;
  if (!ParseEngineCommand(argc, argv, false, &command)) return UsageError();
  const std::string tablePath = command.operands[0], destination = command.operands[1];
  std::string& name = command.name;
  // Rime and the bundles: the table's name; fcitx5: the output file's up to
  // its first dot ("cj.libime.txt" is cj).
  if (name.empty() && command.target != Target::Fcitx5) name = TableName(tablePath);
  if (name.empty()) {
    name = std::filesystem::path(destination).filename().string();
    name = name.substr(0, name.find('.'));
  }
  if (!CheckName(name)) return 1;
  navo::ExportTable table;
  if (!LoadForExport(tablePath, &table)) return 1;
  if (command.target == Target::RimeZip || command.target == Target::Fcitx5Android)
    return ExportBundle(command, table);

  const navo::EngineExportOptions& options = command.options;
  std::ostringstream first, second;
  std::string firstPath, secondPath;
  if (command.target == Target::Rime) {
    std::error_code error;
    std::filesystem::create_directories(destination, error);
    const std::filesystem::path folder(destination);
    firstPath = (folder / (name + ".dict.yaml")).string();
    secondPath = (folder / (name + ".schema.yaml")).string();
    navo::WriteRimeDictionary(table, name, first);
    navo::WriteRimeSchema(name, options, second);
  } else {
    firstPath = destination;
    secondPath = std::filesystem::path(destination).replace_filename(name + ".conf").string();
    navo::WriteFcitx5Table(table, first);
    navo::WriteFcitx5InputMethod(name, options, second);
  }
  if (!WriteFile(firstPath, first.str()) || !WriteFile(secondPath, second.str())) return 1;
  std::fprintf(stderr, "navomb: %zu candidates, %zu word-making codes: %s, %s\n",
               table.candidates.size(), table.wordMakingCodes.size(), firstPath.c_str(),
               secondPath.c_str());
  return 0;
}

// navomb install --to rime|fcitx5 [--hints] [--name NAME] [--user-dir DIR] TABLE.mb
int Install(int argc, char** argv) {
  EngineCommand command;
  if (!ParseEngineCommand(argc, argv, true, &command)) return UsageError();
  const bool rime = command.target == Target::Rime;
  if (command.name.empty()) command.name = TableName(command.operands[0]);
  if (!CheckName(command.name)) return 1;
  std::vector<navo::FrontEndFolder> folders;
  if (!command.userDir.empty())
    folders.push_back({"--user-dir", command.userDir});
  else
    folders = rime ? navo::RimeUserFolders() : navo::Fcitx5DataFolders();
  if (folders.empty()) {
    std::fprintf(stderr, "navomb: no %s folder found (looked for %s); name one with --user-dir\n",
                 rime ? "Rime user" : "fcitx5 data", navo::FoldersLookedAt(rime).c_str());
    return 1;
  }
  navo::ExportTable table;
  if (!LoadForExport(command.operands[0], &table)) return 1;
  navo::EngineFiles files;
  std::string error;
  if (rime) {
    files = navo::RimeFiles(table, command.name, command.options);
  } else if (!navo::Fcitx5Files(table, command.name, command.options, &files, &error)) {
    std::fprintf(stderr, "navomb: %s; nothing installed\n", error.c_str());
    return 1;
  }
  bool sound = true;
  for (const navo::FrontEndFolder& folder : folders) {
    std::printf("%s (%s):\n", folder.path.c_str(), folder.frontEnd.c_str());
    sound = (rime ? navo::InstallRime(files, folder.path) : navo::InstallFcitx5(files, folder.path)) &&
            sound;
  }
  return sound ? 0 : 1;
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
  if (command == "install") return Install(argc, argv);
  if ((command == "dump" || command == "check") && argc == 3) return DumpOrCheck(command, argv[2]);
  return UsageError();
}
