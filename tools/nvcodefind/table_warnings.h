// Why a file is not the code table that the terminal lookups take it for:
// shorter than the fixed regions, or damaged as navomb check finds it.
#pragma once

#include <string>
#include <vector>

namespace navo {

// Empty for a sound table, and for a file that cannot be read (opening it
// for the lookup reports that).
std::vector<std::string> TableWarnings(const char* path);

}  // namespace navo
