// The program's start-up, from the command line to the end of the message
// loop, and the process-wide state its handlers share.
#pragma once

#include "rootwin/chart_mode.h"
#include "rootwin/drag.h"
#include "rootwin/platform.h"

namespace navo::rootwin {

struct RootWindowState {
  int ChartMode = Chart1;  // named as the window's state is named (see drag.h)
  DragState drag;
};

// In the shape of every program's (common/program_startup.h): chart mode,
// class, position, window, shown, message loop. Every way out gives exit
// code 0 but the loop's own (the quit message's wParam).
int RunRootWindow(RootWindowState& state, const wchar_t* commandLine, StartupPlatform& platform,
                  Registry& registry);

}  // namespace navo::rootwin
