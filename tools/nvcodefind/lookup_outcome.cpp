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

}  // namespace

std::string ReportText(const Report& report, bool fields) {
  if (report.beep) return "beep";
  auto show = fields ? GbkToFieldDisplay : GbkToDisplay;
  return "box:" + show(report.text) + "/" + show(report.caption);
}

std::string ShownCodes(const LookupOutcome& outcome) {
  return outcome.cut ? outcome.codes + "  \xE2\x80\xA6" : outcome.codes;  // "…" in UTF-8
}

std::string BatchLine(const LookupOutcome& outcome) {
  std::string reports;
  for (const Report& report : outcome.reports)
    reports += (reports.empty() ? "" : "|") + ReportText(report, true);
  std::string line = outcome.hex + "\t" + (outcome.ok ? "ok" : "fail") + "\t" +
                     ShownCodes(outcome) + "\t" + reports;
  return outcome.word ? line + "\t" + outcome.wordCode : line;
}

std::string JsonLine(const LookupOutcome& outcome) {
  std::string out = "{";
  if (!outcome.hex.empty()) out += "\"hex\":" + JsonString(outcome.hex) + ",";
  out += "\"text\":" + JsonString(outcome.text);
  out += std::string(",\"ok\":") + (outcome.ok ? "true" : "false");
  out += ",\"codes\":" + JsonList(SplitCodes(outcome.codes));
  if (!outcome.wordCode.empty()) out += ",\"wordCode\":" + JsonString(outcome.wordCode);
  if (outcome.cut) out += ",\"cut\":true";
  std::vector<std::string> reports;
  for (const Report& report : outcome.reports) reports.push_back(ReportText(report, false));
  out += ",\"reports\":" + JsonList(reports);
  if (!outcome.error.empty()) out += ",\"error\":" + JsonString(outcome.error);
  return out + "}";
}

}  // namespace navo
