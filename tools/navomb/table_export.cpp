// The table's texts checked and converted for the engines' text formats.
#include "tools/navomb/table_export.h"

#include "tools/common/gbk_text.h"

namespace navo {

const EncoderRule WordCodeRules[3] = {
    {"length_equal: 2", "AaAbAcBaBbBc", "e2=p11+p12+p13+p21+p22+p23"},
    {"length_equal: 3", "AaBaCaCbCc", "e3=p11+p21+p31+p32+p33"},
    {"length_in_range: [4, 32]", "AaBaCaZa", "a4=p11+p21+p31+n11"},
};

ExportTable PrepareExport(const TableSource& source) {
  ExportTable table;
  for (const TableCandidate& c : source.candidates) {
    if (c.text.empty())
      table.errors.push_back("an empty text (code " + c.code + "), which no engine holds");
    else
      table.candidates.push_back({GbkToUtf8Keeping(c.text), c.code});
  }
  for (const auto& [character, code] : source.wordMakingCodes)
    table.wordMakingCodes.push_back({GbkToUtf8Keeping(character), code});
  return table;
}

}  // namespace navo
