#include "codefind/label_fit.h"

#include <cstdint>

#include "common/display_scale.h"

namespace navo::codefind {

Growth LabelGrowth(Extent text, Extent label) {
  if (label.w <= 0 || label.h <= 0 || (text.w <= label.w && text.h <= label.h)) return {1, 1};
  // text.w / label.w against text.h / label.h, without division.
  const bool widthShortest = int64_t{text.w} * label.h >= int64_t{text.h} * label.w;
  return widthShortest ? Growth{text.w, label.w} : Growth{text.h, label.h};
}

int Grow(int value, Growth growth) { return MulDivRounded(value, growth.by, growth.per); }

}  // namespace navo::codefind
