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
  bool cut = false;      // words only: more codes than the core lists
  std::vector<Report> reports;
  std::string error;  // why there was nothing to look up (the text is not GBK)
};

// "box:TEXT/CAPTION" or "beep". In a batch line (fields) the texts have "|",
// "/" and "\" written as \xHH, so that the line splits unambiguously.
std::string ReportText(const Report& report, bool fields);

// The codes as a line shows them: a list the core had to cut ends with
// "  …" after the codes it holds.
std::string ShownCodes(const LookupOutcome& outcome);

// HEX<TAB>ok|fail<TAB>codes<TAB>reports joined by "|"; a word's line adds
// <TAB>word code.
std::string BatchLine(const LookupOutcome& outcome);

// {"text":...,"ok":...,"codes":[...],"reports":[...]}, with "hex" for batch
// lines, "wordCode" for words, "cut":true for a cut list of codes and "error"
// when nothing could be looked up.
std::string JsonLine(const LookupOutcome& outcome);

}  // namespace navo
