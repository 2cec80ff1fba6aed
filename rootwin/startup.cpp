// RtNavo's start-up, from the command line to the end of the message loop.
#include "rootwin/startup.h"

#include "rootwin/saved_position.h"

namespace navo::rootwin {
namespace {

class RootProgramStartup final : public ProgramStartup {
 public:
  RootProgramStartup(StartupPlatform& platform, Registry& registry)
      : platform_(platform), registry_(registry) {}

  int ExitCodeWithoutWindow() override { return 0; }
  void BeforeMainWindow() override {
    Point saved = {};
    const bool found = ReadSavedPosition(registry_, &saved);
    const Rect workArea = platform_.WorkArea();
    const Rect virtualScreen = platform_.VirtualScreen();
    const Size size = WindowSizeAt(platform_.SystemDpi());
    platform_.PlaceMainWindow(StartPosition(found, saved, workArea, virtualScreen, size), size);
  }
  bool WithMainWindow() override {
    platform_.ShowWindow(ShowCommand::Normal);
    platform_.UpdateWindow();
    return true;
  }

 private:
  StartupPlatform& platform_;
  Registry& registry_;
};

}  // namespace

int RunRootWindow(RootWindowState& state, const wchar_t* commandLine, StartupPlatform& platform,
                  Registry& registry) {
  state.ChartMode = ChartModeFromCommandLine(commandLine);
  RootProgramStartup program(platform, registry);
  return StartProgram(platform, program);
}

}  // namespace navo::rootwin
