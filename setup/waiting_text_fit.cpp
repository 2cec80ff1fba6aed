#include "setup/waiting_text_fit.h"

namespace navo::setup {

WaitingTextFit FitWaitingText(const WaitingTextLayout& layout) {
  WaitingTextFit fit{false, layout.controlWidth, layout.dialogLeft, layout.dialogWidth};
  const int missing = layout.textWidth - layout.controlWidth;
  if (missing <= 0) return fit;
  fit.widened = true;
  fit.controlWidth = layout.textWidth;
  fit.dialogWidth = layout.dialogWidth + missing;
  // Half the growth to each side keeps the centre where it was.
  fit.dialogLeft = layout.dialogLeft - missing / 2;
  return fit;
}

}  // namespace navo::setup
