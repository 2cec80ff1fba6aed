// The last ten characters looked up, newest first, with their codes.
#pragma once

#include <cstddef>

#include "codefind/code_lookup.h"

namespace navo::codefind {

constexpr size_t HistoryEntries = 10;
constexpr size_t HistoryCharacterSize = 4;

struct HistoryEntry {
  char character[HistoryCharacterSize];  // two GBK bytes and the NUL; empty in an empty entry
  char codes[CodesStringSize];           // may be empty in a filled entry
};

// Filled entries always run unbroken from entry 0, the newest.
struct LookupHistory {
  HistoryEntry entries[HistoryEntries];
};

void ClearLookupHistory(LookupHistory& history);

// Pushes every entry one place back (the oldest is lost) and stores the new
// one in front. The same character looked up twice has two entries.
void AddHistoryEntry(LookupHistory& history, const char* character, const char* codes);

}  // namespace navo::codefind
