// What each change of the lookup window's input box does.
#include "codefind/input_change.h"

#include <cstring>

namespace navo::codefind {

InputOutcome HandleInputChange(InputState& state, InputWindow& window) {
  if (state.suppressNextChange) {
    state.suppressNextChange = false;
    return InputOutcome::Ignored;
  }

  std::memset(state.inputBuffer, 0, sizeof state.inputBuffer);
  window.box.ReadText(state.inputBuffer, InputReadLimit);
  const size_t length = strnlen(state.inputBuffer, InputReadLimit);

  InputOutcome outcome = InputOutcome::Nothing;
  if (length > CharacterLength) {
    // The nested change this causes finds the box empty and only refreshes.
    window.box.Empty();
    outcome = InputOutcome::EmptiedBox;
  } else if (length == CharacterLength) {
    state.suppressNextChange = true;
    window.box.Empty();
    char codes[CodesStringSize];
    if (window.lookup.Lookup(state.inputBuffer, codes))
      AddHistoryEntry(window.history, state.inputBuffer, codes);
    outcome = InputOutcome::LookedUp;
  }
  window.pane.Refresh();
  return outcome;
}

}  // namespace navo::codefind
