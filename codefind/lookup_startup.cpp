// The lookup tool's start-up order and its one start-up failure message.
#include "codefind/lookup_startup.h"

#include "codefind/lookup_texts.h"

namespace navo::codefind {

const char* const OutOfMemoryText = gbk::OutOfMemory;

int StartLookupProgram(LookupStartup& startup) {
  if (!startup.CreateMainWindow()) return 0;
  // Without its text buffer no lookup could run: say so and end.
  if (!startup.AllocateTextBuffer()) {
    startup.ShowStartupFailure(OutOfMemoryText);
    startup.DestroyMainWindow();
    return 0;
  }
  startup.OpenTable();
  return startup.RunMessageLoop();
}

}  // namespace navo::codefind
