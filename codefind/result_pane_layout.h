// What the result pane shows: the heading while nothing has been looked up,
// then one line "character: codes" per history entry, newest at the top,
// as many as fit wholly in the pane.
#pragma once

#include <cstddef>

#include "codefind/lookup_history.h"
#include "codefind/platform.h"

namespace navo::codefind {

extern const char* const ResultPaneHeading;  // "汉字及编码显示窗口"

constexpr size_t PaneLineSize = 100;

// The pane's font, 宋体, has this cell height on a display of 96 DPI; on
// another it is as much larger, and its lines with it, since a line is as
// high as the font draws the sample character.
constexpr int PaneFontHeight = 36;
int PaneFontHeightAt(int dpi);

struct PaneLine {
  int y;  // top of the line; every line starts at the left edge
  char text[PaneLineSize];
  size_t length;
};

struct PaneLayout {
  bool showHeading;  // drawn from the top left, before any line
  size_t lineCount;
  PaneLine lines[HistoryEntries];
};

// Lays out the pane for a client area of the given height. A line is drawn
// only when the height of the sample character still fits below the lines
// above it.
void LayOutResultPane(const LookupHistory& history, TextMeasure& measure, int clientHeight,
                      PaneLayout* layout);

// "character: codes", as the pane draws it.
size_t FormatPaneLine(const HistoryEntry& entry, char line[PaneLineSize]);

}  // namespace navo::codefind
