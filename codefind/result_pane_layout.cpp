// The result pane's heading and lines, laid out for the pane's height.
#include "codefind/result_pane_layout.h"

#include <cstring>

#include "codefind/lookup_texts.h"
#include "common/display_scale.h"

namespace navo::codefind {

const char* const ResultPaneHeading = gbk::PaneHeading;

namespace {

size_t Append(char* line, size_t length, const char* text) {
  const size_t room = PaneLineSize - 1 - length;
  const size_t count = strnlen(text, room);
  std::memcpy(line + length, text, count);
  return length + count;
}

}  // namespace

int PaneFontHeightAt(int dpi) { return ScaleToDpi(PaneFontHeight, DpiOrDefault(dpi)); }

size_t FormatPaneLine(const HistoryEntry& entry, char line[PaneLineSize]) {
  size_t length = 0;
  length = Append(line, length, entry.character);
  length = Append(line, length, ": ");
  length = Append(line, length, entry.codes);
  line[length] = '\0';
  return length;
}

void LayOutResultPane(const LookupHistory& history, TextMeasure& measure, int clientHeight,
                      PaneLayout* layout) {
  layout->showHeading = history.entries[0].character[0] == '\0';
  layout->lineCount = 0;
  int y = 0, used = 0;
  for (const HistoryEntry& entry : history.entries) {
    used += measure.TextHeight(SampleCharacter, CharacterLength);
    if (used > clientHeight) break;
    if (strnlen(entry.character, sizeof entry.character) != CharacterLength) continue;
    PaneLine& line = layout->lines[layout->lineCount++];
    line.y = y;
    line.length = FormatPaneLine(entry, line.text);
    y += measure.TextHeight(line.text, line.length);
    used = y;
  }
}

}  // namespace navo::codefind
