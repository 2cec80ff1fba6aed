// navomb: builds, dumps and checks code tables in the navo.mb layout.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tools/common/gbk_text.h"
#include "tools/navomb/rime_dictionary.h"
#include "tools/navomb/table_examine.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_file.h"
#include "tools/navomb/text_table.h"

#ifndef NAVO_VERSION
#define NAVO_VERSION "unknown"
#endif

namespace {

const char Usage[] =
    "usage: navomb build [--from text|rime] [--skip-unencodable] TABLE OUT.mb\n"
    "       navomb dump TABLE.mb            (text table on standard output)\n"
    "       navomb check TABLE.mb           (each damage with its offset)\n"
    "       navomb --help | --version\n";

const char Help[] =
    "\n"
    "build reads a text table (text<TAB>code, @character<TAB>word-making code,\n"
    "# comments) or, with --from rime, a Rime dictionary (X.dict.yaml: text and\n"
    "code columns as its columns: list says); UTF-8 with or without a byte-order\n"
    "mark, or UTF-16 with one. --skip-unencodable drops entries whose text GBK\n"
    "cannot hold. Exit status 0 on success, 1 on a fault of a file, 2 on bad usage.\n";

// Enough to show what is wrong without burying the terminal.
constexpr size_t MaxErrorsShown = 50;

int UsageError() {
  std::fputs(Usage, stderr);
  return 2;
}

bool ReadFile(const char* path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
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
  bool fromRime = false;
  int next = 2;
  for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
    if (std::strcmp(argv[next], "--skip-unencodable") == 0) {
      options.skipUnencodable = true;
    } else if (std::strcmp(argv[next], "--from") == 0 && next + 1 < argc &&
               (std::strcmp(argv[next + 1], "rime") == 0 ||
                std::strcmp(argv[next + 1], "text") == 0)) {
      fromRime = std::strcmp(argv[++next], "rime") == 0;
    } else {
      return UsageError();
    }
  }
  if (argc - next != 2) return UsageError();
  const char* inPath = argv[next];
  const char* outPath = argv[next + 1];

  std::string bytes;
  if (!ReadFile(inPath, &bytes)) return std::fprintf(stderr, "navomb: cannot read %s\n", inPath), 1;
  navo::DecodedText decoded = navo::DecodeTextFile(bytes);
  navo::TableSource source;
  navo::TableReadResult read = fromRime ? navo::ReadRimeDictionary(decoded.lines, options, &source)
                                        : navo::ReadTextTable(decoded.lines, options, &source);
  read.errors.insert(read.errors.begin(), decoded.errors.begin(), decoded.errors.end());
  std::stable_sort(
      read.errors.begin(), read.errors.end(),
      [](const navo::LineError& a, const navo::LineError& b) { return a.line < b.line; });

  size_t shown = 0;
  PrintLineErrors(inPath, read.warnings, "warning: ", &shown);
  shown = 0;
  PrintLineErrors(inPath, read.errors, "", &shown);
  if (read.errors.size() > shown)
    std::fprintf(stderr, "%s: %zu more errors not shown (%zu in all)\n", inPath,
                 read.errors.size() - shown, read.errors.size());
  if (!read.errors.empty()) {
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
  std::ofstream out(outPath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(built.bytes.data()), std::streamsize(built.bytes.size()));
  if (!out.flush()) return std::fprintf(stderr, "navomb: cannot write %s\n", outPath), 1;
  std::fprintf(
      stderr, "navomb: %zu candidates, %zu bytes%s\n", source.candidates.size(), built.bytes.size(),
      read.skipped ? (", " + std::to_string(read.skipped) + " entries not GBK skipped").c_str()
                   : "");
  return 0;
}

int DumpOrCheck(const std::string& command, const char* path) {
  std::string file;
  if (!ReadFile(path, &file)) return std::fprintf(stderr, "navomb: cannot read %s\n", path), 1;
  const std::vector<uint8_t> bytes(file.begin(), file.end());
  if (command == "dump") {
    navo::WriteTextTable(navo::DumpCodeTable(bytes), std::cout);
    return std::cout.flush() ? 0 : 1;
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
  if ((command == "dump" || command == "check") && argc == 3) return DumpOrCheck(command, argv[2]);
  return UsageError();
}
