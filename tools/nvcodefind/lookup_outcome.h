// One lookup as the terminal tool reports it, and its two written forms: the
// window's line and the batch line, or one JSON object for scripts.
#pragma once

#include <string>
#include <vector>

namespace navo {

// A message box or a beep of the lookup, its texts GBK as the window has them.
struct Report {
  bool beep = false;
  std::string text;
  std::string caption;  // empty: the system's default caption
};

struct LookupOutcome {
  std::string text;      // what was looked up, UTF-8
  std::string hex;       // batch lines: the two typed bytes as four hex digits
  bool ok = false;       // the lookup succeeded
  std::string codes;     // as the window draws them, two spaces between codes
  bool word = false;     // a word's lookup
  std::string wordCode;  // words only
  bool cut = false;      // words, and every code: more codes than the core lists
  bool every = false;    // every code of the text, short codes included
  std::string best;      // every code: the shortest under which it comes first
  std::vector<Report> reports;
  std::string error;  // why there was nothing to look up (the text is not GBK)
};

// The entries of a typed code: its candidates, then the hints.
struct CodeOutcome {
  std::string code;  // as typed
  bool ok = false;
  std::vector<std::string> candidates;
  struct Hint {
    std::string text;
    std::string rest;  // the letters still to type
  };
  std::vector<Hint> hints;
  bool cut = false;
  std::vector<Report> reports;
  std::string error;  // why there was nothing to look up
};

// "box:TEXT/CAPTION" or "beep". In a batch line (fields) the texts have "|",
// "/" and "\" written as \xHH, so that the line splits unambiguously.
std::string ReportText(const Report& report, bool fields);

// The codes as a line shows them: a list the core had to cut ends with
// "  …" after the codes it holds.
std::string ShownCodes(const LookupOutcome& outcome);

// HEX<TAB>ok|fail<TAB>codes<TAB>reports joined by "|"; a word's line adds
// <TAB>word code, every code's line <TAB>best code.
std::string BatchLine(const LookupOutcome& outcome);

// The candidates, two spaces between them, then " | " and the hints, each
// TEXT+REST; a cut list ends with "  …". Texts as fields or not.
std::string ShownCandidates(const CodeOutcome& outcome, bool fields);

// CODE<TAB>ok|fail<TAB>candidates and hints<TAB>reports, the texts as fields.
std::string BatchLine(const CodeOutcome& outcome);

// {"code":...,"ok":...,"candidates":[...],"hints":[{"text":...,"rest":...}],
// "reports":[...]}, with "cut":true and "error" as for a lookup.
std::string JsonLine(const CodeOutcome& outcome);

// {"text":...,"ok":...,"codes":[...],"reports":[...]}, with "hex" for batch
// lines, "wordCode" for words, "best" (a code or null) for every code,
// "cut":true for a cut list of codes and "error"
// when nothing could be looked up.
std::string JsonLine(const LookupOutcome& outcome);

}  // namespace navo
