#include "rootwin/startup.h"

#include "rootwin/saved_position.h"

namespace navo {

int RunRootWindow(RootWindowState& state, const char* commandLine, StartupPlatform& platform,
                  Registry& registry) {
  state.ChartMode = ChartModeFromCommandLine(commandLine);

  char className[NameBufferSize] = {};
  char title[NameBufferSize] = {};
  platform.LoadText(ClassNameStringId, className, sizeof className);
  platform.LoadText(TitleStringId, title, sizeof title);
  if (!platform.RegisterWindowClass(className)) return 0;

  Point saved = {};
  const bool found = ReadSavedPosition(registry, &saved);
  const Rect workArea = platform.WorkArea();
  const Point corner = StartPosition(found, saved, workArea);

  if (!platform.CreateChartWindow(className, title, corner, WindowSize)) return 0;
  platform.ShowWindow(ShowCommand::Normal);
  platform.UpdateWindow();
  return platform.RunMessageLoop();
}

}  // namespace navo
