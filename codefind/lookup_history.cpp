// The last ten characters looked up, newest first.
#include "codefind/lookup_history.h"

#include <cstring>

namespace navo::codefind {

namespace {

// Copies at most size - 1 bytes and always ends with a NUL.
void CopyText(char* target, size_t size, const char* text) {
  const size_t length = strnlen(text, size - 1);
  std::memcpy(target, text, length);
  target[length] = '\0';
}

}  // namespace

void ClearLookupHistory(LookupHistory& history) { std::memset(&history, 0, sizeof history); }

void AddHistoryEntry(LookupHistory& history, const char* character, const char* codes) {
  for (size_t i = HistoryEntries - 1; i >= 1; --i) history.entries[i] = history.entries[i - 1];
  HistoryEntry& newest = history.entries[0];
  CopyText(newest.character, sizeof newest.character, character);
  CopyText(newest.codes, sizeof newest.codes, codes);
}

}  // namespace navo::codefind
