// Which chart the window shows: chosen by the command line at start, changed
// afterwards only by the control message.
#pragma once

namespace navo::rootwin {

constexpr int Chart1 = 1;
constexpr int Chart2 = 2;

// What follows the program name and the blanks after it. A program name in
// double quotes runs to the closing quote (or the end); otherwise it runs to
// the first blank. Blanks are spaces and tabs.
const wchar_t* ProgramArguments(const wchar_t* commandLine);

// Chart 2 when the arguments are exactly "2", chart 1 for anything else, an
// empty line included.
int ChartModeFromArguments(const wchar_t* arguments);

// Both steps on the whole command line as the system gives it.
int ChartModeFromCommandLine(const wchar_t* commandLine);

}  // namespace navo::rootwin
