// RtNavo's start-up, from the command line to the end of the message loop.
#include "rootwin/startup.h"

#include "rootwin/saved_position.h"

namespace navo::rootwin {

int RunRootWindow(RootWindowState& state, const wchar_t* commandLine, StartupPlatform& platform,
                  Registry& registry) {
  state.ChartMode = ChartModeFromCommandLine(commandLine);

  wchar_t className[NameBufferSize] = {};
  wchar_t title[NameBufferSize] = {};
  platform.LoadText(ClassNameStringId, className, NameBufferSize);
  platform.LoadText(TitleStringId, title, NameBufferSize);
  if (!platform.RegisterWindowClass(className)) return 0;

  Point saved = {};
  const bool found = ReadSavedPosition(registry, &saved);
  const Rect workArea = platform.WorkArea();
  const Rect virtualScreen = platform.VirtualScreen();
  const Point corner = StartPosition(found, saved, workArea, virtualScreen);

  if (!platform.CreateChartWindow(className, title, corner, WindowSize)) return 0;
  platform.ShowWindow(ShowCommand::Normal);
  platform.UpdateWindow();
  return platform.RunMessageLoop();
}

}  // namespace navo::rootwin
