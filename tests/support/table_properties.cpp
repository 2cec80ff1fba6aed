// The builder, checker, dump and reader held to one another on generated tables.
#include "tests/support/table_properties.h"

#include "codefind/code_table.h"
#include "common/little_endian.h"
#include "tests/support/memory_table_file.h"
#include "tools/navomb/table_examine.h"

namespace navo::testing {

using namespace navo::codefind;

namespace {

const char* const Characters[] = {"\xB9\xA4", "\xC8\xCB", "\xCA\xBD", "\xCD\xAF", "\xD6\xD0",
                                  "\xB9\xFA", "\x81\x40", "\xFE\xFF", "\x81\x7F"};
// Not GBK characters; some of them what a line of the text form must not
// hold as it is (a first "#" or "@", a tab).
const char* const OtherTexts[] = {"x", "AB", "ok!", "#x", "@x", "\\\t "};

template <size_t Size>
const char* Pick(Choices& choices, const char* const (&texts)[Size]) {
  return texts[choices.Below(Size)];
}

// Letters mostly from a few, so that codes share their prefixes.
std::string Letters(Choices& choices, uint32_t count) {
  std::string letters;
  for (uint32_t i = 0; i < count; ++i)
    letters += char('a' + (choices.Below(8) == 0 ? choices.Below(26) : choices.Below(3)));
  return letters;
}

std::string Text(Choices& choices) {
  if (choices.Below(6) == 0) return Pick(choices, OtherTexts);
  std::string text;
  for (uint32_t n = 1 + (choices.Below(3) == 0 ? choices.Below(4) : 0); n > 0; --n)
    text += Pick(choices, Characters);
  return text;
}

TableCandidate Candidate(Choices& choices) {
  std::string text = Text(choices);
  uint32_t length = 1 + choices.Below(MaxCodeLetters);
  if (length == 1 && text.size() > MaxLetterBlockTextBytes) length = 2;
  return {text, Letters(choices, length)};
}

uint32_t BytesOf(const std::vector<uint8_t>& bytes, uint64_t at) {
  unsigned char value[4] = {};
  for (int i = 0; i < 4; ++i) value[i] = at + i < bytes.size() ? bytes[at + i] : 0;
  return ReadU32Le(value);
}

void PutU32(std::vector<uint8_t>& bytes, uint64_t at, uint32_t value) {
  for (int i = 0; i < 4 && at + i < bytes.size(); ++i) bytes[at + i] = uint8_t(value >> 8 * i);
}

// A value near the one there: most edits keep a table readable.
uint32_t Nudged(Choices& choices, uint32_t value) {
  switch (choices.Below(4)) {
    case 0:
      return value + choices.Below(9) - 4;
    case 1:
      return value + (choices.Below(5) - 2) * CharacterRecordSize;
    case 2:
      return choices.Below(2) ? 0 : value / 2;
    default:
      return choices.Below(0x10000) << (8 * choices.Below(3));
  }
}

// Mostly the entry of a block that is there.
uint32_t IndexEntryOffset(const std::vector<uint8_t>& bytes, Choices& choices) {
  std::vector<uint32_t> used;
  for (uint32_t i = 0; i < CodeLetterCount + PairPrefixCount; ++i) {
    const uint32_t at =
        i < CodeLetterCount ? LetterIndexEntryOffset(i) : PairIndexEntryOffset(i - CodeLetterCount);
    if (BytesOf(bytes, at) != 0) used.push_back(at);
  }
  if (used.empty() || choices.Below(5) == 0)
    return PairIndexEntryOffset(choices.Below(PairPrefixCount));
  return used[choices.Below(uint32_t(used.size()))];
}

// The blocks a prefix loads, one or two letters, in dump order: a..z, aa..zz.
std::vector<std::string> Prefixes() {
  std::vector<std::string> prefixes;
  for (char a = 'a'; a <= 'z'; ++a) prefixes.push_back(std::string(1, a));
  for (char a = 'a'; a <= 'z'; ++a)
    for (char b = 'a'; b <= 'z'; ++b) prefixes.push_back(std::string{a, b});
  return prefixes;
}

struct CountingReports final : Reports {
  std::string first;
  void ShowMessage(const char* text, const char* caption) override {
    if (first.empty()) first = std::string(text) + " / " + (caption ? caption : "");
  }
  void Beep() override {}
};

struct FixedTextBuffer final : TextBuffer {
  char bytes[TextBufferSize];
  char* Lock() override { return bytes; }
  void Unlock() override {}
};

std::string Shown(const TableCandidate& c) { return "\"" + c.text + "\" " + c.code; }

std::string CompareBlocks(CodeTable& table, FixedTextBuffer& buffer,
                          const std::vector<TableCandidate>& dumped) {
  size_t next = 0;
  for (const std::string& prefix : Prefixes()) {
    if (!LoadCandidateBlock(table, prefix.c_str())) continue;
    for (uint32_t i = 0; i < table.loadedCount; ++i, ++next) {
      const TableCandidate read{CandidateText(table, buffer.bytes, i),
                                prefix + CandidateSuffix(table, i)};
      if (next >= dumped.size()) return "block " + prefix + ": the dump lacks " + Shown(read);
      if (read.text != dumped[next].text || read.code != dumped[next].code)
        return "block " + prefix + " candidate " + std::to_string(i) + ": reader " + Shown(read) +
               ", dump " + Shown(dumped[next]);
    }
    // Past the 2000 loaded, only the dump goes on, within the block's prefix.
    while (prefix.size() == 2 && next < dumped.size() &&
           dumped[next].code.compare(0, 2, prefix) == 0)
      ++next;
  }
  if (next != dumped.size()) return "the dump has more: " + Shown(dumped[next]);
  return "";
}

std::string CompareWordMakingCodes(CodeTable& table, const TableSource& dump) {
  for (unsigned lead = GbkFirstLeadByte; lead <= GbkLastLeadByte; ++lead) {
    for (unsigned trail = GbkFirstTrailByte; trail <= 0xFF; ++trail) {
      char code[WordMakingCodeSize];
      if (ReadWordMakingCode(table, uint8_t(lead), uint8_t(trail), code) != WordCodeRead::Ok)
        return "word-making code of " + std::to_string(lead << 8 | trail) + " not read";
      const auto found = dump.wordMakingCodes.find(std::string{char(lead), char(trail)});
      const std::string dumped = found == dump.wordMakingCodes.end() ? "" : found->second;
      if (dumped != code)
        return "word-making code of " + std::to_string(lead << 8 | trail) + ": reader \"" + code +
               "\", dump \"" + dumped + "\"";
    }
  }
  return "";
}

}  // namespace

TableSource GeneratedSource(Choices& choices) {
  TableSource source;
  for (uint32_t n = choices.Below(40); n > 0; --n) source.candidates.push_back(Candidate(choices));
  if (choices.Below(6) == 0) {
    const std::string prefix = Letters(choices, 2);
    for (uint32_t n = MaxLoadedCandidates - 2 + choices.Below(40); n > 0; --n) {
      TableCandidate c = Candidate(choices);
      c.code = prefix + c.code.substr(0, MaxCodeLetters - 2);
      source.candidates.push_back(c);
    }
  }
  for (uint32_t n = choices.Below(4); n > 0; --n)
    source.wordMakingCodes[Pick(choices, Characters)] =
        Letters(choices, choices.Below(MaxWordMakingCodeLetters + 1));
  return source;
}

void EditTable(std::vector<uint8_t>& bytes, Choices& choices) {
  for (uint32_t edits = 1 + choices.Below(3); edits > 0 && !bytes.empty(); --edits) {
    switch (choices.Below(6)) {
      case 0: {  // a field of an index entry
        const uint64_t at = IndexEntryOffset(bytes, choices) + 4 * choices.Below(3);
        PutU32(bytes, at, Nudged(choices, BytesOf(bytes, at)));
        break;
      }
      case 1: {  // a text offset of a two-letter block, or its text length made one
        const uint32_t entry = IndexEntryOffset(bytes, choices);
        const uint32_t count = BytesOf(bytes, entry + CandidateCountField);
        if (entry < PairPrefixIndexOffset || entry >= LetterPrefixIndexOffset || count == 0) break;
        const uint64_t at = uint64_t(BytesOf(bytes, entry)) + SuffixRecordSize * uint64_t(count) +
                            TextOffsetSize * choices.Below(count);
        if (choices.Below(2))
          PutU32(bytes, at, Nudged(choices, BytesOf(bytes, at)));
        else
          PutU32(bytes, entry + TextLengthField, BytesOf(bytes, at));
        break;
      }
      case 2: {  // a lead byte entry
        const uint64_t at =
            LeadByteEntryOffset(uint8_t(GbkFirstLeadByte + choices.Below(LeadBytes)));
        PutU32(bytes, at, Nudged(choices, BytesOf(bytes, at)));
        break;
      }
      case 3: {  // a byte of the blocks
        if (bytes.size() <= FixedRegionsEnd) break;
        const uint32_t values[] = {0, 'a', 'z', 'A', 0xB9, 0xFF};
        bytes[FixedRegionsEnd + choices.Below(uint32_t(bytes.size() - FixedRegionsEnd))] =
            uint8_t(values[choices.Below(6)]);
        break;
      }
      case 4: {  // a byte of a character record
        const uint32_t values[] = {0, 'a', 'q', '{', 0x80};
        const uint8_t lead = uint8_t(GbkFirstLeadByte + choices.Below(LeadBytes));
        const uint32_t base = BytesOf(bytes, LeadByteEntryOffset(lead));
        const uint64_t at = uint64_t(base) + choices.Below(TrailBytes * CharacterRecordSize);
        if (at < bytes.size()) bytes[at] = uint8_t(values[choices.Below(5)]);
        break;
      }
      default:  // the file cut short, mostly inside its blocks
        if (bytes.size() > FixedRegionsEnd / 2)
          bytes.resize(bytes.size() - choices.Below(uint32_t(bytes.size() - FixedRegionsEnd / 2)));
        break;
    }
  }
}

std::string ReaderDisagreement(const std::vector<uint8_t>& bytes) {
  if (!CheckCodeTable(bytes).empty()) return "";
  const TableSource dump = DumpCodeTable(bytes);
  MemoryTableFile file(&bytes);
  CountingReports reports;
  FixedTextBuffer buffer;
  CodeTable table(file, reports, buffer);
  if (!OpenCodeTableFile(table, "navo.mb")) return "the table did not open";
  std::string fault = CompareBlocks(table, buffer, dump.candidates);
  if (fault.empty()) fault = CompareWordMakingCodes(table, dump);
  if (fault.empty() && !reports.first.empty()) fault = "the reader reported " + reports.first;
  return fault;
}

std::string RoundTripFault(const TableSource& source) {
  const BuildResult built = BuildCodeTable(source);
  if (!built.errors.empty()) return "the source did not build: " + built.errors.front();
  const std::vector<TableFinding> findings = CheckCodeTable(built.bytes);
  if (!findings.empty()) return "the built table is not sound: " + findings.front().what;

  // The source's candidates in block order: one-letter codes a..z, then by
  // their first two letters, file order kept within each block.
  std::vector<TableCandidate> expected;
  for (const std::string& prefix : Prefixes())
    for (const TableCandidate& c : source.candidates)
      if (c.code.size() == 1 ? c.code == prefix : c.code.compare(0, 2, prefix) == 0)
        expected.push_back(c);
  const TableSource dump = DumpCodeTable(built.bytes);
  if (dump.candidates.size() != expected.size())
    return "the dump has " + std::to_string(dump.candidates.size()) + " candidates, the source " +
           std::to_string(expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    if (dump.candidates[i].text != expected[i].text || dump.candidates[i].code != expected[i].code)
      return "candidate " + std::to_string(i) + ": dump " + Shown(dump.candidates[i]) +
             ", source " + Shown(expected[i]);
  if (BuildCodeTable(dump).bytes != built.bytes) return "the dump builds another table";
  return ReaderDisagreement(built.bytes);
}

}  // namespace navo::testing
