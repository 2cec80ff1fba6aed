// The display's scale as Win32 tells it: the DPI of a window's own monitor
// where the system keeps one per window (Windows 10 1607 and later), else
// the system's.
#pragma once

#include <windows.h>

namespace navo {

// Never 0: a DPI the system cannot tell is the default one.
int WindowDpi(HWND window);

}  // namespace navo
