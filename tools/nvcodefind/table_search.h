// Where nvcodefind finds its code table when no --table names one: the
// NAVO_TABLE variable; else the user's data folder ($XDG_DATA_HOME/navo/
// navo.mb, or ~/.local/share/navo/navo.mb); else the table installed beside
// the program (../share/navo/navo.mb from the folder of the executable).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace navo {

struct TableSearchPlaces {
  const char* navoTable = nullptr;    // the NAVO_TABLE variable, if set
  const char* xdgDataHome = nullptr;  // XDG_DATA_HOME, if set
  const char* home = nullptr;         // HOME, if set
  std::string executable;             // the running program's own path, if known
  std::function<bool(const std::string&)> exists;
};

struct TableSearchResult {
  std::string path;                 // empty when no table was found
  std::vector<std::string> looked;  // the places looked at, in order
};

TableSearchResult FindTable(const TableSearchPlaces& places);

// The places of this process: its environment and /proc/self/exe.
TableSearchPlaces ProcessTableSearchPlaces();

}  // namespace navo
