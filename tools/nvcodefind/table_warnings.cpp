// Why a file is not the code table that the terminal lookup takes it for.
#include "tools/nvcodefind/table_warnings.h"

#include <fstream>
#include <iterator>

#include "codefind/code_table.h"
#include "tools/navomb/table_examine.h"

namespace navo {

namespace {

// The first few name the kind of damage; navomb check names all.
constexpr size_t MaxFindingsShown = 3;

}  // namespace

std::vector<std::string> TableWarnings(const char* path) {
  std::vector<std::string> warnings;
  std::ifstream in(path, std::ios::binary);
  if (!in) return warnings;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  const std::string file = path;
  if (bytes.size() < codefind::FixedRegionsEnd) {
    warnings.push_back(file + " is not a code table: " + std::to_string(bytes.size()) +
                       " bytes, shorter than the " + std::to_string(codefind::FixedRegionsEnd) +
                       " bytes of its fixed regions");
    return warnings;
  }
  const std::vector<TableFinding> findings = CheckCodeTable(bytes);
  for (size_t i = 0; i < findings.size() && i < MaxFindingsShown; ++i)
    warnings.push_back(file + " is damaged at offset " + std::to_string(findings[i].offset) + ": " +
                       findings[i].what);
  if (findings.size() > MaxFindingsShown)
    warnings.push_back(std::to_string(findings.size()) + " damages in all (navomb check " + file +
                       " names each)");
  return warnings;
}

}  // namespace navo
