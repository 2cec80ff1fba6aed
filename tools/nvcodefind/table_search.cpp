// The search for nvcodefind's code table: variable, user's data, installed.
#include "tools/nvcodefind/table_search.h"

#include <cstdlib>
#include <filesystem>

namespace navo {

namespace {

bool IsSet(const char* value) { return value != nullptr && value[0] != '\0'; }

}  // namespace

TableSearchResult FindTable(const TableSearchPlaces& places) {
  TableSearchResult result;
  if (IsSet(places.navoTable)) {  // named by the user: taken even if it is not there
    result.path = places.navoTable;
    result.looked.push_back(places.navoTable);
    return result;
  }
  // The XDG rule: a relative XDG_DATA_HOME is ignored.
  if (IsSet(places.xdgDataHome) && places.xdgDataHome[0] == '/')
    result.looked.push_back(std::string(places.xdgDataHome) + "/navo/navo.mb");
  else if (IsSet(places.home))
    result.looked.push_back(std::string(places.home) + "/.local/share/navo/navo.mb");
  if (!places.executable.empty()) {
    const std::filesystem::path prefix =
        std::filesystem::path(places.executable).parent_path().parent_path();
    result.looked.push_back((prefix / "share" / "navo" / "navo.mb").string());
  }
  for (const std::string& place : result.looked) {
    if (places.exists(place)) {
      result.path = place;
      break;
    }
  }
  return result;
}

TableSearchPlaces ProcessTableSearchPlaces() {
  TableSearchPlaces places;
  places.navoTable = std::getenv("NAVO_TABLE");
  places.xdgDataHome = std::getenv("XDG_DATA_HOME");
  places.home = std::getenv("HOME");
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) places.executable = executable.string();
  places.exists = [](const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
  };
  return places;
}

}  // namespace navo
