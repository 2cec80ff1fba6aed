// The chart chosen by the command line.
#include "rootwin/chart_mode.h"

#include <cwchar>

namespace navo::rootwin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

// In UTF-16 every character outside ASCII is made of units above 0x7F, so
// no part of one is a quote or a blank: the line is scanned unit by unit.
const wchar_t* ProgramArguments(const wchar_t* commandLine) {
  const wchar_t* at = commandLine;
  if (*at == L'"') {
    ++at;
    while (*at != L'\0' && *at != L'"') ++at;
    if (*at == L'"') ++at;
  } else {
    while (*at != L'\0' && !IsBlank(*at)) ++at;
  }
  while (IsBlank(*at)) ++at;
  return at;
}

int ChartModeFromArguments(const wchar_t* arguments) {
  return std::wcscmp(arguments, L"2") == 0 ? Chart2 : Chart1;
}

int ChartModeFromCommandLine(const wchar_t* commandLine) {
  return ChartModeFromArguments(ProgramArguments(commandLine));
}

}  // namespace navo::rootwin
