// The lookup tool's start-up order and its one start-up failure message.
#include "codefind/lookup_startup.h"

namespace navo::codefind {

const char* const OutOfMemoryText = "内存不足，无法运行码表查询。";

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
