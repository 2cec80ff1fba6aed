// The table checker and dump: each region of navo.mb examined as the reader reads it.
#include "tools/navomb/table_examine.h"

#include <cstdio>
#include <cstring>

#include "codefind/code_table.h"
#include "common/gbk.h"

namespace navo {

// The code table layout and the reader, as the lookup tool defines them.
using namespace navo::codefind;

namespace {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string PrefixName(int pair) {
  return pair < 26 ? std::string(1, char('a' + pair))
                   : std::string{char('a' + (pair - 26) / 26), char('a' + (pair - 26) % 26)};
}

// Reads the file as the lookup does, noting everything it cannot rely on.
class Examiner {
 public:
  explicit Examiner(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  std::vector<TableFinding> findings;
  TableSource source;

  void Run() {
    if (bytes_.size() < FixedRegionsEnd)
      Note(bytes_.size(),
           "file ends before the end of the prefix indexes (" + Hex(FixedRegionsEnd) + ")");
    CheckCharacterRecords();
    for (int letter = 0; letter < 26; ++letter)
      CheckBlock(letter, LetterPrefixIndexOffset + PrefixIndexEntrySize * letter);
    for (int pair = 0; pair < 26 * 26; ++pair)
      CheckBlock(26 + pair, PairPrefixIndexOffset + PrefixIndexEntrySize * pair);
  }

 private:
  const std::vector<uint8_t>& bytes_;

  void Note(uint64_t offset, const std::string& what) { findings.push_back({offset, what}); }

  bool Has(uint64_t offset, uint64_t size) const { return offset + size <= bytes_.size(); }

  // Bytes past the end read as zero, as a short read leaves them.
  uint32_t U32(uint64_t offset) const {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
      if (offset + i < bytes_.size()) value |= uint32_t(bytes_[offset + i]) << (8 * i);
    return value;
  }

  void CheckCharacterRecords() {
    for (uint32_t lead = GbkFirstLeadByte; lead <= GbkLastLeadByte; ++lead) {
      const uint64_t entryAt = LeadByteTableOffset + 4 * (lead - GbkFirstLeadByte);
      const uint64_t base = U32(entryAt);
      if (base + CharacterRecordSize * 192 > MaxFileOffset + 1) {
        Note(entryAt, "record array of lead byte " + Hex(lead) + " lies past 2 GiB");
        continue;
      }
      for (uint32_t trail = GbkFirstTrailByte; trail <= 0xFF; ++trail) {
        const uint64_t at = base + CharacterRecordSize * (trail - GbkFirstTrailByte);
        if (at >= bytes_.size()) break;  // past the end: an empty code, as read
        char code[WordMakingCodeSize] = {};
        for (uint32_t i = 0; i < WordMakingCodeSize && at + i < bytes_.size(); ++i)
          code[i] = char(bytes_[at + i]);
        const std::string name = "word-making code of " + Hex(lead << 8 | trail);
        if (!std::memchr(code, 0, sizeof code)) {
          Note(at, name + " has no NUL in its 4 bytes");
          continue;
        }
        bool letters = true;
        for (const char* c = code; *c; ++c) letters = letters && *c >= 'a' && *c <= 'z';
        if (!letters) {
          Note(at, name + " holds a byte outside a-z");
          continue;
        }
        if (code[0]) source.wordMakingCodes[std::string{char(lead), char(trail)}] = code;
      }
    }
  }

  void CheckBlock(int prefixNumber, uint64_t entryAt) {
    const uint32_t offset = U32(entryAt), textLength = U32(entryAt + 4), count = U32(entryAt + 8);
    if (offset == 0) return;
    const bool letter = prefixNumber < 26;
    const std::string prefix = PrefixName(prefixNumber);
    const std::string name = "block " + prefix;
    const uint32_t loaded = count <= MaxLoadedCandidates ? count : MaxLoadedCandidates;
    if (letter && count > MaxLoadedCandidates) {
      Note(entryAt + 8, name + " has " + std::to_string(count) + " candidates, more than 2000");
      return;
    }
    const uint64_t suffixesAt = offset;
    const uint64_t offsetsAt = offset + uint64_t(SuffixRecordSize) * count;
    uint64_t textsAt = letter ? offsetsAt : offset + uint64_t(10) * count;
    uint64_t textSize = textLength;
    if (!letter && count > MaxLoadedCandidates) {
      const uint64_t at = offsetsAt + 4 * MaxLoadedCandidates;
      if (!Has(at, 4)) return Note(at, name + ": file ends inside its 2001st text offset");
      textSize = U32(at);
    }
    if (textsAt + textSize > MaxFileOffset + 1) return Note(entryAt, name + " lies past 2 GiB");
    if (textSize > TextBufferSize)
      return Note(entryAt + 4,
                  name + " has " + std::to_string(textSize) + " bytes of text, more than 20000");
    if (!Has(suffixesAt, uint64_t(SuffixRecordSize) * loaded))
      return Note(suffixesAt, name + ": file ends inside its suffixes");
    if (!letter && !Has(offsetsAt, 4 * uint64_t(loaded)))
      return Note(offsetsAt, name + ": file ends inside its text offsets");
    if (!Has(textsAt, textSize)) return Note(textsAt, name + ": file ends inside its texts");

    bool sound = true;
    for (uint32_t i = 0; i < loaded; ++i) {
      const uint64_t at = suffixesAt + SuffixRecordSize * i;
      if (!std::memchr(&bytes_[at], 0, SuffixRecordSize)) {
        Note(at, name + ": suffix " + std::to_string(i) + " has no NUL in its 6 bytes");
        sound = false;
      }
    }
    for (uint32_t i = 0; i < loaded; ++i) {
      const uint64_t textOffset = letter ? LetterTextSlotSize * i : U32(offsetsAt + 4 * i);
      const uint64_t at = letter ? textsAt + textOffset : offsetsAt + 4 * i;
      if (textOffset >= textSize) {
        Note(at, name + ": text offset of candidate " + std::to_string(i) +
                     " points outside its texts");
        sound = false;
      } else if (!std::memchr(&bytes_[textsAt + textOffset], 0, textSize - textOffset)) {
        Note(textsAt + textOffset,
             name + ": text of candidate " + std::to_string(i) + " has no NUL");
        sound = false;
      }
    }
    if (!sound) return;
    // The dump takes every candidate the file holds, also past the 2000 loaded.
    for (uint32_t i = 0; i < count; ++i) {
      const uint64_t suffixAt = suffixesAt + SuffixRecordSize * i;
      const uint64_t textOffset = letter ? LetterTextSlotSize * i : U32(offsetsAt + 4 * i);
      const uint64_t textAt = textsAt + textOffset;
      if (!Has(suffixAt, SuffixRecordSize) || (!letter && !Has(offsetsAt + 4 * i, 4)) ||
          textOffset >= textLength || !Has(textAt, 1) ||
          !std::memchr(&bytes_[suffixAt], 0, SuffixRecordSize) ||
          !std::memchr(&bytes_[textAt], 0, bytes_.size() - textAt))
        break;
      source.candidates.push_back({reinterpret_cast<const char*>(&bytes_[textAt]),
                                   prefix + reinterpret_cast<const char*>(&bytes_[suffixAt])});
    }
  }
};

}  // namespace

std::vector<TableFinding> CheckCodeTable(const std::vector<uint8_t>& bytes) {
  Examiner examiner(bytes);
  examiner.Run();
  return examiner.findings;
}

TableSource DumpCodeTable(const std::vector<uint8_t>& bytes) {
  Examiner examiner(bytes);
  examiner.Run();
  // A character whose record is empty says so, so that building the dump
  // does not give it the default code of its longest code.
  TableSource& source = examiner.source;
  for (const TableCandidate& c : source.candidates)
    if (c.text.size() == 2 && uint8_t(c.text[0]) >= 0x81 && uint8_t(c.text[1]) >= 0x40)
      source.wordMakingCodes.emplace(c.text, "");
  return source;
}

}  // namespace navo
