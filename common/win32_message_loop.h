// The message loop of every program: messages read, translated and
// dispatched until the quit message, with no dialog keyboard handling.
#pragma once

namespace navo {

// The quit message's wParam, the program's exit code.
int RunMessageLoop();

}  // namespace navo
