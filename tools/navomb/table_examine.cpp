// The table checker and dump: each region of navo.mb examined as the reader reads it.
#include "tools/navomb/table_examine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "codefind/table_layout.h"
#include "common/gbk.h"
#include "common/little_endian.h"

namespace navo {

// The code table layout and its soundness rule, as the lookup tool defines them.
using namespace navo::codefind;

namespace {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string LetterName(uint32_t letter) { return std::string(1, char('a' + letter)); }

std::string PairName(uint32_t pair) {
  return {char('a' + pair / CodeLetterCount), char('a' + pair % CodeLetterCount)};
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
    for (uint32_t letter = 0; letter < CodeLetterCount; ++letter)
      CheckBlock(LetterName(letter), LetterIndexEntryOffset(letter));
    for (uint32_t pair = 0; pair < PairPrefixCount; ++pair)
      CheckBlock(PairName(pair), PairIndexEntryOffset(pair));
  }

 private:
  const std::vector<uint8_t>& bytes_;

  void Note(uint64_t offset, const std::string& what) { findings.push_back({offset, what}); }

  bool Has(uint64_t offset, uint64_t size) const { return offset + size <= bytes_.size(); }

  // Bytes past the end read as zero, as a short read leaves them.
  template <size_t Size>
  void Copy(uint64_t offset, unsigned char (&into)[Size]) const {
    for (size_t i = 0; i < Size; ++i) into[i] = offset + i < bytes_.size() ? bytes_[offset + i] : 0;
  }

  uint32_t U32(uint64_t offset) const {
    unsigned char value[4];
    Copy(offset, value);
    return ReadU32Le(value);
  }

  void CheckCharacterRecords() {
    for (uint32_t lead = GbkFirstLeadByte; lead <= GbkLastLeadByte; ++lead) {
      const uint64_t entryAt = LeadByteEntryOffset(uint8_t(lead));
      const uint32_t base = U32(entryAt);
      if (uint64_t(base) + CharacterRecordArraySize > MaxFileOffset + 1) {
        Note(entryAt, "record array of lead byte " + Hex(lead) + " lies past 2 GiB");
        continue;
      }
      for (uint32_t trail = GbkFirstTrailByte; trail <= 0xFF; ++trail) {
        const uint64_t at = CharacterRecordOffset(base, uint8_t(trail));
        if (at >= bytes_.size()) break;  // past the end: an empty code, as read
        unsigned char record[WordMakingCodeSize];
        Copy(at, record);
        char code[WordMakingCodeSize];
        std::memcpy(code, record, sizeof code);
        if (!WordMakingCodeIsSound(code)) {
          Note(at, "word-making code of " + Hex(lead << 8 | trail) +
                       (std::memchr(code, 0, sizeof code) ? " holds a byte outside a-z"
                                                          : " has no NUL in its 4 bytes"));
          continue;
        }
        if (code[0]) source.wordMakingCodes[std::string{char(lead), char(trail)}] = code;
      }
    }
  }

  // The block of one prefix (one or two letters) and its index entry.
  void CheckBlock(const std::string& prefix, uint64_t entryAt) {
    unsigned char entryBytes[PrefixIndexEntrySize];
    Copy(entryAt, entryBytes);
    const PrefixIndexEntry entry = DecodePrefixIndexEntry(entryBytes);
    if (entry.blockOffset == 0) return;
    const bool letter = prefix.size() == 1;
    const std::string name = "block " + prefix;
    if (letter && entry.candidateCount > MaxLoadedCandidates)
      return Note(
          entryAt + CandidateCountField,
          name + " has " + std::to_string(entry.candidateCount) + " candidates, more than 2000");
    const BlockPlace place = letter ? LetterBlockPlace(entry) : PairBlockPlace(entry);
    const uint32_t loaded = place.loadedCount;
    uint64_t textSize = entry.textLength;
    if (place.textSizeOffsetAt != 0) {
      if (!Has(place.textSizeOffsetAt, TextOffsetSize))
        return Note(place.textSizeOffsetAt, name + ": file ends inside its 2001st text offset");
      textSize = U32(place.textSizeOffsetAt);
    }
    if (place.textsAt + textSize > MaxFileOffset + 1)
      return Note(entryAt, name + " lies past 2 GiB");
    if (textSize > TextBufferSize)
      return Note(entryAt + TextLengthField,
                  name + " has " + std::to_string(textSize) + " bytes of text, more than 20000");
    if (!Has(place.suffixesAt, uint64_t(SuffixRecordSize) * loaded))
      return Note(place.suffixesAt, name + ": file ends inside its suffixes");
    if (!letter && !Has(place.textOffsetsAt, uint64_t(TextOffsetSize) * loaded))
      return Note(place.textOffsetsAt, name + ": file ends inside its text offsets");
    if (!Has(place.textsAt, textSize))
      return Note(place.textsAt, name + ": file ends inside its texts");

    const char* texts = Chars(place.textsAt);
    bool sound = true;
    for (uint32_t i = 0; i < loaded; ++i) {
      const uint64_t at = place.suffixesAt + SuffixRecordSize * i;
      if (!SuffixIsSound(Chars(at))) {
        Note(at, name + ": suffix " + std::to_string(i) + " has no NUL in its 6 bytes");
        sound = false;
      }
    }
    for (uint32_t i = 0; i < loaded; ++i) {
      const uint64_t textOffset = TextOffset(place, letter, i);
      switch (CandidateTextFault(texts, uint32_t(textSize), textOffset)) {
        case TextFault::None:
          break;
        case TextFault::OffsetOutside:
          Note(letter ? place.textsAt + textOffset : place.textOffsetsAt + TextOffsetSize * i,
               name + ": text offset of candidate " + std::to_string(i) +
                   " points outside its texts");
          sound = false;
          break;
        case TextFault::NoNul:
          Note(place.textsAt + textOffset,
               name + ": text of candidate " + std::to_string(i) + " has no NUL");
          sound = false;
          break;
      }
    }
    if (!sound) return;
    // The candidates the lookup loads, as it loads them.
    for (uint32_t i = 0; i < loaded; ++i) Take(prefix, place, letter, i);
    // The dump takes every candidate the file holds, also past the 2000
    // loaded, while each lies whole inside the block's texts.
    const uint64_t textLength = std::min<uint64_t>(entry.textLength, bytes_.size() - place.textsAt);
    for (uint32_t i = loaded; i < entry.candidateCount; ++i) {
      const uint64_t suffixAt = place.suffixesAt + SuffixRecordSize * i;
      if (!Has(suffixAt, SuffixRecordSize) || !Has(place.textOffsetsAt + TextOffsetSize * i, 4) ||
          !SuffixIsSound(Chars(suffixAt)) ||
          CandidateTextFault(texts, uint32_t(textLength), TextOffset(place, letter, i)) !=
              TextFault::None)
        break;
      Take(prefix, place, letter, i);
    }
  }

  const char* Chars(uint64_t offset) const {
    return reinterpret_cast<const char*>(bytes_.data() + offset);
  }

  uint64_t TextOffset(const BlockPlace& place, bool letter, uint32_t i) const {
    return letter ? LetterTextOffset(i) : U32(place.textOffsetsAt + TextOffsetSize * i);
  }

  void Take(const std::string& prefix, const BlockPlace& place, bool letter, uint32_t i) {
    source.candidates.push_back({Chars(place.textsAt + TextOffset(place, letter, i)),
                                 prefix + Chars(place.suffixesAt + SuffixRecordSize * i)});
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
    if (c.text.size() == 2 && IsGbkCharacter(uint8_t(c.text[0]), uint8_t(c.text[1])))
      source.wordMakingCodes.emplace(c.text, "");
  return source;
}

}  // namespace navo
