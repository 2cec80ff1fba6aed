// What the lookup window does with each change of its input box: exactly one
// double-byte character is taken out of the box and looked up; longer text
// is thrown away; a single byte stays until the next change.
#pragma once

#include <cstddef>

#include "codefind/lookup_history.h"
#include "codefind/platform.h"

namespace navo::codefind {

constexpr size_t InputBufferSize = 200;
constexpr size_t InputReadLimit = 190;  // including the terminating NUL

class CharacterLookup {
 public:
  // The codes of one typed two-byte character; false when the lookup fails.
  virtual bool Lookup(const char* typed, char codes[CodesStringSize]) = 0;

 protected:
  ~CharacterLookup() = default;
};

struct InputState {
  // Set just before the program empties the box itself, so that the change
  // this causes is not taken for typing.
  bool suppressNextChange = false;
  char inputBuffer[InputBufferSize] = {};
};

enum class InputOutcome {
  Ignored,     // the change caused by emptying the box after taking a character
  EmptiedBox,  // more than one character arrived at once: thrown away
  LookedUp,    // one character taken and looked up (whether or not found)
  Nothing,     // empty or a single byte: left as it is
};

struct InputWindow {
  InputBox& box;
  ResultPaneView& pane;
  CharacterLookup& lookup;
  LookupHistory& history;
};

InputOutcome HandleInputChange(InputState& state, InputWindow& window);

}  // namespace navo::codefind
