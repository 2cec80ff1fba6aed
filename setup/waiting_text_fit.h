// The progress dialog's waiting text made to fit: the template sizes its
// control for the font it names, and most systems draw a wider one. When the
// text does not fit, the control is widened to hold it and the dialog by as
// much, keeping its centre; otherwise nothing moves.
#pragma once

namespace navo::setup {

// In pixels; the dialog in screen coordinates.
struct WaitingTextLayout {
  int textWidth = 0;  // the text in the control's font
  int controlWidth = 0;
  int dialogLeft = 0;
  int dialogWidth = 0;
};

struct WaitingTextFit {
  bool widened = false;
  int controlWidth = 0;
  int dialogLeft = 0;
  int dialogWidth = 0;
};

WaitingTextFit FitWaitingText(const WaitingTextLayout& layout);

}  // namespace navo::setup
