// navomb: builds, dumps and checks code tables in the navo.mb layout.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "tools/navomb/table_examine.h"
#include "tools/navomb/table_source.h"
#include "tools/navomb/text_table.h"

namespace {

const char Usage[] =
    "usage: navomb build [--skip-unencodable] TABLE.txt OUT.mb\n"
    "       navomb dump TABLE.mb            (text table on standard output)\n"
    "       navomb check TABLE.mb           (each damage with its offset)\n";

bool ReadFile(const char* path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int Build(int argc, char** argv) {
  navo::TextTableOptions options;
  int next = 2;
  if (next < argc && std::strcmp(argv[next], "--skip-unencodable") == 0) {
    options.skipUnencodable = true;
    ++next;
  }
  if (argc - next != 2) return std::fputs(Usage, stderr), 2;
  std::ifstream in(argv[next]);
  if (!in) return std::fprintf(stderr, "navomb: cannot read %s\n", argv[next]), 1;
  navo::TableSource source;
  navo::TextTableResult read = navo::ReadTextTable(in, options, &source);
  navo::BuildResult built = navo::BuildCodeTable(source);
  for (const std::string& e : read.errors) std::fprintf(stderr, "%s: %s\n", argv[next], e.c_str());
  for (const std::string& e : built.errors) std::fprintf(stderr, "navomb: %s\n", e.c_str());
  if (!read.errors.empty() || !built.errors.empty()) return 1;
  std::ofstream out(argv[next + 1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(built.bytes.data()), std::streamsize(built.bytes.size()));
  if (!out.flush()) return std::fprintf(stderr, "navomb: cannot write %s\n", argv[next + 1]), 1;
  std::fprintf(
      stderr, "navomb: %zu candidates, %zu bytes%s\n", source.candidates.size(), built.bytes.size(),
      read.skipped ? (", " + std::to_string(read.skipped) + " lines not GBK skipped").c_str() : "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs(Usage, stderr), 2;
  const std::string command = argv[1];
  if (command == "build") return Build(argc, argv);
  if ((command != "dump" && command != "check") || argc != 3) return std::fputs(Usage, stderr), 2;

  std::vector<uint8_t> bytes;
  if (!ReadFile(argv[2], &bytes))
    return std::fprintf(stderr, "navomb: cannot read %s\n", argv[2]), 1;
  if (command == "dump") {
    navo::WriteTextTable(navo::DumpCodeTable(bytes), std::cout);
    return std::cout.flush() ? 0 : 1;
  }
  std::vector<navo::TableFinding> findings = navo::CheckCodeTable(bytes);
  for (const navo::TableFinding& f : findings)
    std::printf("%s: offset %llu (0x%llX): %s\n", argv[2],
                static_cast<unsigned long long>(f.offset),
                static_cast<unsigned long long>(f.offset), f.what.c_str());
  if (findings.empty()) std::printf("%s: sound\n", argv[2]);
  return findings.empty() ? 0 : 1;
}
