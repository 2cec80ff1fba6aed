// Damaged tables and arbitrary typed bytes against the reader and the lookup.
// The input truncates and patches a sound table, then drives lookups of
// characters and words and block loads with bytes of its own.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "codefind/code_lookup.h"
#include "codefind/code_table.h"
#include "tests/support/memory_table_file.h"
#include "tools/navomb/table_source.h"

namespace {

using navo::testing::MemoryTableFile;

std::vector<uint8_t> SoundTable() {
  navo::TableSource source;
  const char* characters[] = {"\xB9\xA4", "\xC8\xCB", "\xCA\xBD", "\xCD\xAF",
                              "\xD6\xD0", "\x81\x40", "\xFE\xFF", "\xB8\xEA"};
  const char* codes[] = {"aaaa", "ww", "aad", "ujff", "k", "khk", "zzzzzzz", "a"};
  for (int round = 0; round < 3; ++round)
    for (int i = 0; i < 8; ++i) source.candidates.push_back({characters[i], codes[i]});
  source.candidates.push_back({"\xB9\xA4\xC8\xCB", "aaww"});
  for (int i = 0; i < 2010; ++i) source.candidates.push_back({"\xB9\xA4", "qq"});
  source.wordMakingCodes["\xCD\xAF"] = "uj";
  return navo::BuildCodeTable(source).bytes;
}

struct NoReports final : navo::codefind::Reports {
  void ShowMessage(const char* text, const char*) override { (void)std::strlen(text); }
  void Beep() override {}
};

struct Buffer final : navo::codefind::TextBuffer {
  char bytes[navo::codefind::TextBufferSize];
  char* Lock() override { return bytes; }
  void Unlock() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> sound = SoundTable();
  static std::vector<uint8_t> bytes;
  FuzzedDataProvider input(data, size);

  bytes = sound;
  if (input.ConsumeBool()) bytes.resize(input.ConsumeIntegralInRange<size_t>(0, sound.size()));
  const int edits = input.ConsumeIntegralInRange(0, 24);
  for (int i = 0; i < edits && !bytes.empty(); ++i) {
    // Mostly the fixed regions and the first blocks, where the reader looks.
    const size_t start = input.ConsumeBool() ? std::min<size_t>(navo::codefind::LeadByteTableOffset,
                                                                bytes.size() - 1)
                                             : 0;
    const size_t at = input.ConsumeIntegralInRange<size_t>(start, bytes.size() - 1);
    const uint32_t value = input.ConsumeIntegral<uint32_t>();
    const size_t width = input.ConsumeBool() ? 4 : 1;
    for (size_t k = 0; k < width && at + k < bytes.size(); ++k)
      bytes[at + k] = uint8_t(value >> 8 * k);
  }

  static MemoryTableFile file(&bytes);
  static NoReports reports;
  static Buffer buffer;
  static navo::codefind::CodeTable table(file, reports, buffer);
  if (input.ConsumeBool())
    navo::codefind::OpenCodeTable(table, "");
  else
    file.Close();

  while (input.remaining_bytes() > 0) {
    const std::string text = input.ConsumeRandomLengthString(12);
    char codes[navo::codefind::CodesStringSize];
    static navo::codefind::WordCodes word;
    switch (input.ConsumeIntegralInRange(0, 2)) {
      case 0:
        navo::codefind::LookupCharacterCodes(table, text.c_str(), codes);
        break;
      case 1:
        navo::codefind::LookupWordCodes(table, text.c_str(), word);
        break;
      default:
        navo::codefind::LoadCandidateBlock(table, text.substr(0, 3).c_str());
        break;
    }
  }
  return 0;
}
