// nvcodefind: the code lookup in a terminal.
//   nvcodefind [--table FILE] [--json] 字 词语 ...       one lookup per argument
//   nvcodefind [--table FILE] [--json] --text [TEXT...]  each Chinese character once
//   nvcodefind [--table FILE] [--json] --batch           HEX lines on standard input
//   nvcodefind [--table FILE] [--json] --all 字 ...       every code, short codes too
//   nvcodefind [--table FILE] [--json] --code abc ...     the candidates of a code
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/nvcodefind/han_characters.h"
#include "tools/nvcodefind/lookup_outcome.h"
#include "tools/nvcodefind/table_search.h"
#include "tools/nvcodefind/table_warnings.h"
#include "tools/nvcodefind/terminal_lookup.h"

#ifndef NAVO_VERSION
#define NAVO_VERSION "unknown"
#endif

namespace {

const char Usage[] =
    "usage: nvcodefind [--table FILE] [--json] CHARACTER|WORD...\n"
    "       nvcodefind [--table FILE] [--json] --text [TEXT...]\n"
    "       nvcodefind [--table FILE] [--json] --batch < lines of hex digits (e.g. CDAF)\n"
    "       nvcodefind [--table FILE] [--json] --all CHARACTER|WORD...\n"
    "                  (--all also with --text and --batch)\n"
    "       nvcodefind [--table FILE] [--json] --code CODE...\n"
    "       nvcodefind [--table FILE] [--json] --code --batch < lines of codes\n"
    "       nvcodefind --help | --version\n";

const char Help[] =
    "\n"
    "Looks characters up as the lookup window does, in the code table FILE;\n"
    "without --table, in $NAVO_TABLE, else $XDG_DATA_HOME/navo/navo.mb (or\n"
    "~/.local/share/navo/navo.mb), else ../share/navo/navo.mb from the program's folder.\n"
    "  CHARACTER|WORD  a line \"text: codes\" each; a word also gives its word code\n"
    "  --text          each Chinese character of the UTF-8 TEXT (standard input\n"
    "                  when there is none) once, in order of first appearance\n"
    "  --batch         HEX<TAB>ok|fail<TAB>codes<TAB>reports for each typed value;\n"
    "                  a longer HEX is a word's bytes, its line ending <TAB>word code\n"
    "  --all           every code the table holds for each, short codes too,\n"
    "                  shortest first, then \"(best CODE)\": the shortest under\n"
    "                  which it is the first candidate (batch lines: <TAB>best)\n"
    "  --code          for each CODE (1 to 7 letters a-z) the entries of exactly\n"
    "                  that code in the table's order, then \" | \" and those of\n"
    "                  longer codes beginning with it, each TEXT+letters still to type\n"
    "                  (batch lines: CODE<TAB>ok|fail<TAB>candidates<TAB>reports)\n"
    "  --json          one JSON object a line instead, for scripts\n"
    "Exit status 0 when every lookup succeeded, 1 otherwise (also for a table\n"
    "file that is short or damaged), 2 on bad usage.\n";

struct Options {
  std::string table;  // empty: searched for
  bool batch = false;
  bool text = false;
  bool json = false;
  bool every = false;  // --all
  bool codes = false;  // --code
  std::vector<std::string> arguments;
};

enum class Request { Lookups, Help, Version, BadUsage };

Request ParseCommandLine(int argc, char** argv, Options* options) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return Request::Help;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) return Request::Version;
  int next = 1;
  for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
    const std::string option = argv[next];
    if (option == "--") {
      ++next;
      break;
    } else if (option == "--table" && next + 1 < argc) {
      options->table = argv[++next];
    } else if (option == "--batch") {
      options->batch = true;
    } else if (option == "--text") {
      options->text = true;
    } else if (option == "--json") {
      options->json = true;
    } else if (option == "--all") {
      options->every = true;
    } else if (option == "--code") {
      options->codes = true;
    } else {
      return Request::BadUsage;
    }
  }
  options->arguments.assign(argv + next, argv + argc);
  if (options->batch && (options->text || !options->arguments.empty())) return Request::BadUsage;
  if (options->codes && (options->every || options->text)) return Request::BadUsage;
  if (!options->batch && !options->text && options->arguments.empty()) return Request::BadUsage;
  return Request::Lookups;
}

void PrintReports(const std::vector<navo::Report>& reports) {
  for (const navo::Report& report : reports)
    std::fprintf(stderr, "%s\n", navo::ReportText(report, false).c_str());
}

// A line as the window draws it on standard output, or what went wrong on
// standard error; one JSON object with --json. Returns the lookup's success.
bool Print(const navo::LookupOutcome& outcome, bool json) {
  if (json) {
    std::printf("%s\n", navo::JsonLine(outcome).c_str());
    return outcome.ok;
  }
  const char* text = outcome.text.c_str();
  if (!outcome.error.empty()) {
    std::fprintf(stderr, "nvcodefind: %s: %s\n", text, outcome.error.c_str());
    return false;
  }
  std::fflush(stdout);  // keep the window's lines and the reports in order on a terminal
  PrintReports(outcome.reports);
  if (!outcome.ok) {
    std::fprintf(stderr, "nvcodefind: %s: lookup failed\n", text);
  } else if (outcome.every) {
    const std::string best = outcome.best.empty() ? "" : " (best " + outcome.best + ")";
    std::printf("%s: %s%s\n", text, navo::ShownCodes(outcome).c_str(), best.c_str());
  } else if (!outcome.wordCode.empty()) {
    std::printf("%s: %s (word code %s)\n", text, navo::ShownCodes(outcome).c_str(),
                outcome.wordCode.c_str());
  } else {
    std::printf("%s: %s\n", text, navo::ShownCodes(outcome).c_str());
  }
  return outcome.ok;
}

bool Print(const navo::CodeOutcome& outcome, bool json) {
  if (json) {
    std::printf("%s\n", navo::JsonLine(outcome).c_str());
    return outcome.ok;
  }
  if (!outcome.error.empty()) {
    std::fprintf(stderr, "nvcodefind: %s: %s\n", outcome.code.c_str(), outcome.error.c_str());
    return false;
  }
  std::fflush(stdout);
  PrintReports(outcome.reports);
  if (!outcome.ok) {
    std::fprintf(stderr, "nvcodefind: %s: lookup failed\n", outcome.code.c_str());
    return false;
  }
  std::printf("%s: %s\n", outcome.code.c_str(), navo::ShownCandidates(outcome, false).c_str());
  return true;
}

// One answer of --all, or the lookup as the window has it.
navo::LookupOutcome LookUp(navo::TerminalLookup& lookup, const std::string& text, bool every) {
  return every ? lookup.LookUpEveryCode(text) : lookup.LookUpText(text);
}

// A typed code a line, its batch line each.
int RunCodeBatch(navo::TerminalLookup& lookup, bool json) {
  bool allFound = true;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const navo::CodeOutcome outcome = lookup.LookUpCode(line);
    allFound = outcome.ok && allFound;
    std::printf("%s\n", json ? navo::JsonLine(outcome).c_str() : navo::BatchLine(outcome).c_str());
  }
  return allFound ? 0 : 1;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::toupper(static_cast<unsigned char>(c)));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// A line of four hex digits is read exactly as the window reads two typed
// bytes: no check of the table. A longer line of hex digits, two a byte, is
// a word as the page's word field takes it.
int RunBatch(navo::TerminalLookup& lookup, bool json, bool every) {
  bool allFound = true;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    bool valid = line.size() >= 4 && line.size() % 2 == 0;
    for (size_t i = 0; valid && i < line.size(); ++i) valid = HexDigit(line[i]) >= 0;
    if (!valid) {
      std::fprintf(stderr, "nvcodefind: not hex digits, two a byte: %s\n", line.c_str());
      return 2;
    }
    std::string bytes;
    for (size_t i = 0; i < line.size(); i += 2)
      bytes += char(HexDigit(line[i]) << 4 | HexDigit(line[i + 1]));
    const navo::LookupOutcome outcome = every               ? lookup.LookUpTypedEveryCode(bytes)
                                        : bytes.size() == 2 ? lookup.LookUpTyped(bytes.data())
                                                            : lookup.LookUpTypedWord(bytes);
    allFound = outcome.ok && allFound;
    std::printf("%s\n", json ? navo::JsonLine(outcome).c_str() : navo::BatchLine(outcome).c_str());
  }
  return allFound ? 0 : 1;
}

// Each Chinese character of the texts once; false when a lookup failed or
// the text was not UTF-8.
bool LookUpCharactersOf(navo::TerminalLookup& lookup, navo::HanCharacters& characters,
                        const std::string& text, const Options& options) {
  std::vector<std::string> newCharacters;
  bool allFound = characters.Take(text, &newCharacters);
  if (!allFound) std::fprintf(stderr, "nvcodefind: bytes that are not UTF-8 passed over\n");
  for (const std::string& character : newCharacters)
    allFound = Print(LookUp(lookup, character, options.every), options.json) && allFound;
  std::fflush(stdout);
  return allFound;
}

bool RunText(navo::TerminalLookup& lookup, const Options& options) {
  navo::HanCharacters characters;
  bool allFound = true;
  for (const std::string& argument : options.arguments)
    allFound = LookUpCharactersOf(lookup, characters, argument, options) && allFound;
  if (!options.arguments.empty()) return allFound;
  std::string line;
  while (std::getline(std::cin, line))
    allFound = LookUpCharactersOf(lookup, characters, line, options) && allFound;
  return allFound;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  switch (ParseCommandLine(argc, argv, &options)) {
    case Request::Help:
      std::printf("%s%s", Usage, Help);
      return 0;
    case Request::Version:
      std::printf("nvcodefind %s\n", NAVO_VERSION);
      return 0;
    case Request::BadUsage:
      std::fputs(Usage, stderr);
      return 2;
    case Request::Lookups:
      break;
  }

  if (options.table.empty()) {
    const navo::TableSearchResult found = navo::FindTable(navo::ProcessTableSearchPlaces());
    if (found.path.empty()) {
      std::fprintf(stderr, "nvcodefind: no code table found; looked at:\n");
      for (const std::string& place : found.looked) std::fprintf(stderr, "  %s\n", place.c_str());
      std::fprintf(stderr, "nvcodefind: name one with --table FILE or NAVO_TABLE=FILE\n");
      return 1;
    }
    options.table = found.path;
  }
  static navo::TerminalLookup lookup(options.table.c_str());  // the fixed buffers stay off the stack
  PrintReports(lookup.OpeningReports());
  if (options.batch && options.codes) return RunCodeBatch(lookup, options.json);
  if (options.batch) return RunBatch(lookup, options.json, options.every);

  const std::vector<std::string> warnings = navo::TableWarnings(options.table.c_str());
  for (const std::string& warning : warnings)
    std::fprintf(stderr, "nvcodefind: warning: %s\n", warning.c_str());
  bool allFound = true;
  if (options.text) {
    allFound = RunText(lookup, options);
  } else {
    for (const std::string& argument : options.arguments) {
      const bool found = options.codes
                             ? Print(lookup.LookUpCode(argument), options.json)
                             : Print(LookUp(lookup, argument, options.every), options.json);
      allFound = found && allFound;
    }
  }
  return allFound && warnings.empty() ? 0 : 1;
}
