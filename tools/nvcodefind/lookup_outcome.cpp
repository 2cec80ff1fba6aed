#include "tools/nvcodefind/lookup_outcome.h"

#include <cstdio>

#include "tools/common/gbk_text.h"

namespace navo {

namespace {

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::vector<std::string> SplitCodes(const std::string& codes) {
  std::vector<std::string> split;
  for (size_t start = 0; start < codes.size();) {
    size_t end = codes.find("  ", start);
    if (end == std::string::npos) end = codes.size();
    split.push_back(codes.substr(start, end - start));
    start = end + 2;
  }
  return split;
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + JsonString(items[i]);
  return out + "]";
}

std::string ReportsField(const std::vector<Report>& reports) {
  std::string field;
  for (const Report& report : reports)
    field += (field.empty() ? "" : "|") + ReportText(report, true);
  return field;
}

std::string JsonReports(const std::vector<Report>& reports) {
  std::vector<std::string> texts;
  for (const Report& report : reports) texts.push_back(ReportText(report, false));
  return JsonList(texts);
}

const char Ellipsis[] = "\xE2\x80\xA6";  // "…" in UTF-8

std::string Joined(const std::vector<std::string>& items) {
  std::string out;  // an empty text keeps its place
  for (size_t i = 0; i < items.size(); ++i) out += (i == 0 ? "" : "  ") + items[i];
  return out;
}

}  // namespace

std::string ReportText(const Report& report, bool fields) {
  if (report.beep) return "beep";
  auto show = fields ? GbkToFieldDisplay : GbkToDisplay;
  return "box:" + show(report.text) + "/" + show(report.caption);
}

std::string ShownCodes(const LookupOutcome& outcome) {
  return outcome.cut ? outcome.codes + "  " + Ellipsis : outcome.codes;
}

std::string BatchLine(const LookupOutcome& outcome) {
  std::string line = outcome.hex + "\t" + (outcome.ok ? "ok" : "fail") + "\t" +
                     ShownCodes(outcome) + "\t" + ReportsField(outcome.reports);
  if (outcome.every) return line + "\t" + outcome.best;
  return outcome.word ? line + "\t" + outcome.wordCode : line;
}

std::string JsonLine(const LookupOutcome& outcome) {
  std::string out = "{";
  if (!outcome.hex.empty()) out += "\"hex\":" + JsonString(outcome.hex) + ",";
  out += "\"text\":" + JsonString(outcome.text);
  out += std::string(",\"ok\":") + (outcome.ok ? "true" : "false");
  out += ",\"codes\":" + JsonList(SplitCodes(outcome.codes));
  if (!outcome.wordCode.empty()) out += ",\"wordCode\":" + JsonString(outcome.wordCode);
  if (outcome.every)
    out += ",\"best\":" + (outcome.best.empty() ? "null" : JsonString(outcome.best));
  if (outcome.cut) out += ",\"cut\":true";
  out += ",\"reports\":" + JsonReports(outcome.reports);
  if (!outcome.error.empty()) out += ",\"error\":" + JsonString(outcome.error);
  return out + "}";
}

std::string ShownCandidates(const CodeOutcome& outcome, bool fields) {
  auto show = fields ? GbkToFieldDisplay : GbkToDisplay;
  std::vector<std::string> candidates, hints;
  for (const std::string& text : outcome.candidates) candidates.push_back(show(text));
  for (const CodeOutcome::Hint& hint : outcome.hints)
    hints.push_back(show(hint.text) + "+" + show(hint.rest));
  std::string out = Joined(candidates);
  if (!hints.empty()) out += (candidates.empty() ? "| " : " | ") + Joined(hints);
  if (outcome.cut) out += (candidates.empty() && hints.empty() ? "" : "  ") + std::string(Ellipsis);
  return out;
}

std::string BatchLine(const CodeOutcome& outcome) {
  return GbkToFieldDisplay(outcome.code) + "\t" + (outcome.ok ? "ok" : "fail") + "\t" +
         ShownCandidates(outcome, true) + "\t" + ReportsField(outcome.reports);
}

std::string JsonLine(const CodeOutcome& outcome) {
  std::vector<std::string> candidates;
  for (const std::string& text : outcome.candidates) candidates.push_back(GbkToDisplay(text));
  std::string hints = "[";
  for (const CodeOutcome::Hint& hint : outcome.hints)
    hints += std::string(hints.size() > 1 ? "," : "") +
             "{\"text\":" + JsonString(GbkToDisplay(hint.text)) +
             ",\"rest\":" + JsonString(GbkToDisplay(hint.rest)) + "}";
  std::string out = "{\"code\":" + JsonString(GbkToDisplay(outcome.code));
  out += std::string(",\"ok\":") + (outcome.ok ? "true" : "false");
  out += ",\"candidates\":" + JsonList(candidates) + ",\"hints\":" + hints + "]";
  if (outcome.cut) out += ",\"cut\":true";
  out += ",\"reports\":" + JsonReports(outcome.reports);
  if (!outcome.error.empty()) out += ",\"error\":" + JsonString(outcome.error);
  return out + "}";
}

}  // namespace navo
