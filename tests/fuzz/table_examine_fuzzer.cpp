// The table checker and dump on arbitrary bytes: a whole file of them, or
// them written over a sound table at a place the input chooses.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "codefind/table_layout.h"
#include "tools/navomb/table_examine.h"

namespace {

std::vector<uint8_t> SoundTable() {
  navo::TableSource source;
  const char* characters[] = {"\xB9\xA4", "\xC8\xCB", "\xCA\xBD", "\xCD\xAF", "\xD6\xD0"};
  const char* codes[] = {"aaaa", "ww", "aad", "ujff", "k"};
  for (int i = 0; i < 5; ++i) source.candidates.push_back({characters[i], codes[i]});
  source.candidates.push_back({"\xB9\xA4\xC8\xCB", "aaww"});
  for (int i = 0; i < 2003; ++i) source.candidates.push_back({"\xB9\xA4", "qq"});
  return navo::BuildCodeTable(source).bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace navo::codefind;
  static const std::vector<uint8_t> sound = SoundTable();
  static std::vector<uint8_t> bytes;
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    bytes = input.ConsumeRemainingBytes<uint8_t>();
  } else {
    // Where the reader looks: the lead byte table, the indexes, the blocks.
    const uint32_t places[] = {LeadByteTableOffset, PairPrefixIndexOffset, LetterPrefixIndexOffset,
                               FixedRegionsEnd, 0};
    const size_t at =
        places[input.ConsumeIntegralInRange(0, 4)] + input.ConsumeIntegralInRange<size_t>(0, 12000);
    bytes = sound;
    if (input.ConsumeBool()) bytes.resize(input.ConsumeIntegralInRange<size_t>(0, sound.size()));
    const std::vector<uint8_t> patch = input.ConsumeRemainingBytes<uint8_t>();
    if (at + patch.size() > bytes.size()) bytes.resize(at + patch.size());
    std::copy(patch.begin(), patch.end(), bytes.begin() + at);
  }
  for (const navo::TableFinding& finding : navo::CheckCodeTable(bytes))
    if (finding.what.empty()) {
      std::fprintf(stderr, "table checker: a finding without words\n");
      std::abort();
    }
  navo::DumpCodeTable(bytes);
  return 0;
}
