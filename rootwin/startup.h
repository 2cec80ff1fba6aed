// The program's start-up, from the command line to the end of the message
// loop, and the process-wide state its handlers share.
#pragma once

#include <cstddef>

#include "rootwin/chart_mode.h"
#include "rootwin/drag.h"
#include "rootwin/platform.h"
#include "rootwin/res/resource.h"

namespace navo::rootwin {

constexpr int ClassNameStringId = IDS_ROOT_CLASS;  // "NVROOTWINCLASS"
constexpr int TitleStringId = IDS_ROOT_TITLE;      // "NVROOTWIN"
constexpr size_t NameBufferSize = 20;              // characters, terminator included

struct RootWindowState {
  int ChartMode = Chart1;  // named as the window's state is named (see drag.h)
  DragState drag;
};

// Chart mode, names, class, position, window, shown, message loop. Every
// way out gives exit code 0 but the loop's own (the quit message's wParam).
int RunRootWindow(RootWindowState& state, const wchar_t* commandLine, StartupPlatform& platform,
                  Registry& registry);

}  // namespace navo::rootwin
