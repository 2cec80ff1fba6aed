#include "rootwin/chart_mode.h"

#include <cstring>

namespace navo {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

// GBK trail bytes are 0x40 and above, so neither a quote nor a blank can be
// the second byte of a character: the line is scanned byte by byte.
const char* ProgramArguments(const char* commandLine) {
  const char* at = commandLine;
  if (*at == '"') {
    ++at;
    while (*at != '\0' && *at != '"') ++at;
    if (*at == '"') ++at;
  } else {
    while (*at != '\0' && !IsBlank(*at)) ++at;
  }
  while (IsBlank(*at)) ++at;
  return at;
}

int ChartModeFromArguments(const char* arguments) {
  return std::strcmp(arguments, "2") == 0 ? Chart2 : Chart1;
}

int ChartModeFromCommandLine(const char* commandLine) {
  return ChartModeFromArguments(ProgramArguments(commandLine));
}

}  // namespace navo
