// The table's texts checked and converted for the engines' text formats.
#include "tools/navomb/table_export.h"

#include "tools/common/gbk_text.h"

namespace navo {

const EncoderRule WordCodeRules[3] = {
    {"length_equal: 2", "AaAbAcBaBbBc", "e2=p11+p12+p13+p21+p22+p23"},
    {"length_equal: 3", "AaBaCaCbCc", "e3=p11+p21+p31+p32+p33"},
    {"length_in_range: [4, 32]", "AaBaCaZa", "a4=p11+p21+p31+n11"},
};

namespace {

// Both formats split a line on white space or tabs, Rime takes a line that
// starts with "#" as a comment, and neither holds control bytes.
const char* WhyNotExportable(const std::string& utf8) {
  if (utf8[0] == '#') return "starts with \"#\"";
  for (unsigned char c : utf8)
    if (c <= ' ' || c == 0x7F) return "holds a space or control character";
  return nullptr;
}

}  // namespace

ExportTable PrepareExport(const TableSource& source) {
  ExportTable table;
  std::string utf8;
  auto convert = [&](const std::string& gbk, const std::string& code) {
    const char* why = nullptr;
    if (!GbkToUtf8(gbk, &utf8))
      why = "is not GBK text";
    else
      why = WhyNotExportable(utf8);
    if (why) {
      table.errors.push_back("text \"" + GbkToDisplay(gbk) + "\" (code " +
                             (code.empty() ? "none" : code) + ") " + why);
      return false;
    }
    return true;
  };
  for (const TableCandidate& c : source.candidates)
    if (convert(c.text, c.code)) table.candidates.push_back({utf8, c.code});
  for (const auto& [character, code] : source.wordMakingCodes)
    if (convert(character, code)) table.wordMakingCodes.push_back({utf8, code});
  return table;
}

}  // namespace navo
