// The lookup tool's start-up steps and its one start-up failure message.
#include "codefind/lookup_startup.h"

#include "codefind/lookup_texts.h"

namespace navo::codefind {

const char* const OutOfMemoryText = gbk::OutOfMemory;

namespace {

class LookupProgramStartup final : public ProgramStartup {
 public:
  explicit LookupProgramStartup(LookupStartup& platform) : platform_(platform) {}

  int ExitCodeWithoutWindow() override { return 0; }
  void BeforeMainWindow() override {}
  bool WithMainWindow() override {
    // Without its text buffer no lookup could run: say so and end.
    if (!platform_.AllocateTextBuffer()) {
      platform_.ShowStartupFailure(OutOfMemoryText);
      platform_.DestroyMainWindow();
      return false;
    }
    platform_.OpenTable();
    return true;
  }

 private:
  LookupStartup& platform_;
};

}  // namespace

int StartLookupProgram(LookupStartup& startup) {
  LookupProgramStartup program(startup);
  return StartProgram(startup, program);
}

}  // namespace navo::codefind
