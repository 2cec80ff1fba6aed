// The entry point every program shares (win32_program_entry.cpp): it keeps
// the DLL search to the system directory, then runs the program's own
// start-up, which each shell defines.
#pragma once

#include <windows.h>

namespace navo {

// The program's start-up and message loop; the exit code.
int RunProgram(HINSTANCE instance);

}  // namespace navo
