// The code table builder: a table source checked and laid out as navo.mb.
#include <cstring>

#include "codefind/table_layout.h"
#include "common/gbk.h"
#include "common/little_endian.h"
#include "tools/navomb/table_source.h"

namespace navo {

// The code table layout, as the lookup tool defines it.
using namespace navo::codefind;

namespace {

// The record arrays lie below the lead byte table, one per lead byte, and
// end this many zero bytes before it. No reader looks at them; they stay so
// that a source builds to the same bytes as in every table built before.
constexpr uint32_t GapBeforeLeadByteTable = 16;
constexpr uint32_t RecordArraysOffset =
    LeadByteTableOffset - LeadBytes * CharacterRecordArraySize - GapBeforeLeadByteTable;

bool IsCodeLetters(const std::string& code) {
  for (char c : code)
    if (!IsCodeLetter(c)) return false;
  return true;
}

bool IsOneGbkCharacter(const std::string& text) {
  return text.size() == 2 && IsGbkCharacter(uint8_t(text[0]), uint8_t(text[1]));
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  WriteU32Le(&bytes[at], value);
}

void AppendU32(std::vector<uint8_t>& bytes, uint32_t value) {
  bytes.resize(bytes.size() + 4);
  PutU32(bytes, bytes.size() - 4, value);
}

void AppendPadded(std::vector<uint8_t>& bytes, const std::string& text, size_t size) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.insert(bytes.end(), size - text.size(), 0);
}

struct Block {
  std::vector<const TableCandidate*> candidates;
};

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

void WritePairBlock(const Block& block, std::vector<uint8_t>& bytes) {
  for (const TableCandidate* c : block.candidates)
    AppendPadded(bytes, c->code.substr(2), SuffixRecordSize);
  uint32_t offset = 0;
  for (const TableCandidate* c : block.candidates) {
    AppendU32(bytes, offset);
    offset += uint32_t(c->text.size() + 1);
  }
  for (const TableCandidate* c : block.candidates) AppendPadded(bytes, c->text, c->text.size() + 1);
}

void WriteLetterBlock(const Block& block, std::vector<uint8_t>& bytes) {
  for (const TableCandidate* c : block.candidates)
    AppendPadded(bytes, c->code.substr(1), SuffixRecordSize);
  for (const TableCandidate* c : block.candidates) AppendPadded(bytes, c->text, LetterTextSlotSize);
}

// The candidates by the blocks of their prefixes: one-letter codes in the
// letter blocks, longer ones in the blocks of their first two letters.
struct Blocks {
  Block letters[CodeLetterCount];
  Block pairs[PairPrefixCount];
};

using Errors = std::vector<std::string>;

void SortIntoBlocks(const TableSource& source, Blocks& blocks, Errors& errors) {
  for (const TableCandidate& c : source.candidates) {
    if (c.code.empty() || c.code.size() > MaxCodeLetters || !IsCodeLetters(c.code)) {
      errors.push_back("code " + Quote(c.code) + " of " + Quote(c.text) +
                       " is not 1 to 7 letters a-z");
    } else if (c.text.empty() || c.text.find('\0') != std::string::npos) {
      errors.push_back("empty text for code " + c.code);
    } else if (c.code.size() == 1) {
      if (c.text.size() > MaxLetterBlockTextBytes)
        errors.push_back("text " + Quote(c.text) + " too long for one-letter code");
      else
        blocks.letters[c.code[0] - 'a'].candidates.push_back(&c);
    } else {
      blocks.pairs[CodeLetterCount * (c.code[0] - 'a') + (c.code[1] - 'a')].candidates.push_back(
          &c);
    }
  }
}

void CheckWordMakingCodes(const TableSource& source, Errors& errors) {
  for (const auto& [character, code] : source.wordMakingCodes) {
    if (!IsOneGbkCharacter(character))
      errors.push_back("word-making code for a text that is not one character");
    if (code.size() > MaxWordMakingCodeLetters || !IsCodeLetters(code))
      errors.push_back("word-making code " + Quote(code) + " is not 0 to 3 letters a-z");
  }
}

void PlaceIndexEntry(std::vector<uint8_t>& bytes, uint32_t at, uint32_t blockOffset,
                     uint32_t textLength, uint32_t count) {
  EncodePrefixIndexEntry({blockOffset, textLength, count}, &bytes[at]);
}

// The fixed regions: the character records with their word-making codes,
// the lead byte table, and the prefix indexes left empty for the blocks.
void WriteFixedRegions(const TableSource& source, std::vector<uint8_t>& bytes) {
  bytes.assign(FixedRegionsEnd, 0);
  for (const auto& [character, code] : EffectiveWordMakingCodes(source)) {
    if (!IsOneGbkCharacter(character) || code.size() > MaxWordMakingCodeLetters) continue;
    const uint8_t lead = uint8_t(character[0]), trail = uint8_t(character[1]);
    const uint32_t recordArray =
        RecordArraysOffset + (lead - GbkFirstLeadByte) * CharacterRecordArraySize;
    std::memcpy(&bytes[CharacterRecordOffset(recordArray, trail)], code.data(), code.size());
  }
  for (uint32_t lead = 0; lead < LeadBytes; ++lead)
    PutU32(bytes, LeadByteEntryOffset(uint8_t(GbkFirstLeadByte + lead)),
           RecordArraysOffset + lead * CharacterRecordArraySize);
}

void WriteLetterBlocks(const Blocks& blocks, std::vector<uint8_t>& bytes, Errors& errors) {
  for (uint32_t letter = 0; letter < CodeLetterCount; ++letter) {
    const Block& block = blocks.letters[letter];
    if (block.candidates.empty()) continue;
    const uint32_t count = uint32_t(block.candidates.size());
    if (count > MaxLoadedCandidates)
      errors.push_back(std::string("one-letter block ") + char('a' + letter) +
                       " has more than 2000 candidates");
    const uint32_t offset = uint32_t(bytes.size());
    WriteLetterBlock(block, bytes);
    PlaceIndexEntry(bytes, LetterIndexEntryOffset(letter), offset, LetterTextSlotSize * count,
                    count);
  }
}

void WritePairBlocks(const Blocks& blocks, std::vector<uint8_t>& bytes, Errors& errors) {
  for (uint32_t pair = 0; pair < PairPrefixCount; ++pair) {
    const Block& block = blocks.pairs[pair];
    if (block.candidates.empty()) continue;
    const uint32_t count = uint32_t(block.candidates.size());
    uint32_t textLength = 0, loadedTextLength = 0;
    for (uint32_t i = 0; i < count; ++i) {
      textLength += uint32_t(block.candidates[i]->text.size() + 1);
      if (i < MaxLoadedCandidates) loadedTextLength = textLength;
    }
    if (loadedTextLength > TextBufferSize) {
      errors.push_back(std::string("block ") + char('a' + pair / CodeLetterCount) +
                       char('a' + pair % CodeLetterCount) +
                       ": texts of its first 2000 candidates pass 20000 bytes");
    }
    const uint32_t offset = uint32_t(bytes.size());
    WritePairBlock(block, bytes);
    PlaceIndexEntry(bytes, PairIndexEntryOffset(pair), offset, textLength, count);
  }
}

}  // namespace

std::map<std::string, std::string> EffectiveWordMakingCodes(const TableSource& source) {
  std::map<std::string, std::string> codes;
  std::map<std::string, size_t> longest;
  for (const TableCandidate& c : source.candidates) {
    if (!IsOneGbkCharacter(c.text) || source.wordMakingCodes.count(c.text)) continue;
    size_t& length = longest[c.text];
    if (c.code.size() > length) {
      length = c.code.size();
      codes[c.text] = c.code.substr(0, 2);
    }
  }
  for (const auto& [character, code] : source.wordMakingCodes) codes[character] = code;
  return codes;
}

BuildResult BuildCodeTable(const TableSource& source) {
  BuildResult result;
  Blocks blocks;
  SortIntoBlocks(source, blocks, result.errors);
  CheckWordMakingCodes(source, result.errors);
  std::vector<uint8_t>& bytes = result.bytes;
  WriteFixedRegions(source, bytes);
  WriteLetterBlocks(blocks, bytes, result.errors);
  WritePairBlocks(blocks, bytes, result.errors);
  if (bytes.size() > MaxFileOffset) result.errors.push_back("table passes 2 GiB");
  if (!result.errors.empty()) result.bytes.clear();
  return result;
}

}  // namespace navo
