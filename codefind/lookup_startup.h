// The lookup tool's start-up, in the shape of every program's
// (common/program_startup.h): the main window's class and the window (which
// computes the system directory and creates the dialog while it is
// created), the text buffer, the code table, then the message loop.
#pragma once

#include "codefind/platform.h"

namespace navo::codefind {

extern const char* const OutOfMemoryText;

// The program's exit code: 0 when it cannot start, else the loop's.
int StartLookupProgram(LookupStartup& startup);

}  // namespace navo::codefind
