// The lookup dialog grown until its label shows whole. The template sizes
// the dialog in the units of the font it names; where the display's scale
// enlarges the label's font but not those units (a raster font that has no
// larger size, as "System" on some systems), the label would be cut at the
// right and at the bottom. Then the dialog and every control in it grow by
// the label's shortfall, the layout keeping its proportions; a label that
// fits changes nothing.
#pragma once

namespace navo::codefind {

struct Extent {
  int w;
  int h;
};

// Lengths grow times by / per.
struct Growth {
  int by;
  int per;
};

// The growth that makes text (as the label's font draws it) fit the label's
// client area: the larger of the two shortfalls, or none (1 / 1).
Growth LabelGrowth(Extent text, Extent label);

// A length or a coordinate grown, rounded to the nearest pixel.
int Grow(int value, Growth growth);

}  // namespace navo::codefind
