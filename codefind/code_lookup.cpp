// The word-code rule and the lookup of one typed character's codes.
#include "codefind/code_lookup.h"

#include <cstring>

#include "codefind/lookup_texts.h"
#include "common/gbk.h"

namespace navo::codefind {

const char SampleCharacter[] = {gbk::Sample[0], gbk::Sample[1], gbk::Sample[2]};
const char* const WordMakingCodeErrorCaption = gbk::WordMakingCodeError;

namespace {

constexpr size_t MaxUsedCharacters = 4;

// Appends the first letter of code, if any. False when code is empty.
bool AppendFirstLetter(char*& out, const char* code) {
  if (code[0] == '\0') return false;
  *out++ = code[0];
  return true;
}

void AppendWhole(char*& out, const char* code) {
  while (*code != '\0') *out++ = *code++;
}

// Byte positions of the characters that the rule uses for a word of the given
// length; returns how many.
size_t UsedCharacterPositions(size_t length, size_t positions[MaxUsedCharacters]) {
  if (length == 4) {
    positions[0] = 0, positions[1] = 2;
    return 2;
  }
  positions[0] = 0, positions[1] = 2, positions[2] = 4;
  if (length == 6) return 3;
  positions[3] = length >= 2 ? length - 2 : 0;
  return length > 6 ? 4 : 3;
}

// The codes of the candidates whose text is text in the block of the
// two-letter prefix of wordCode, in block order, into codes (size bytes).
// A code that does not fit whole ends the string, and *cut tells so; no code
// is cut. False when the block cannot be loaded or its texts locked.
bool CollectCodesUnderPrefix(CodeTable& table, const char* wordCode, const char* text,
                             char* codes, size_t size, bool* cut) {
  char prefix[MaxPrefixLetters + 1] = {};
  std::memcpy(prefix, wordCode, strnlen(wordCode, MaxPrefixLetters));
  if (!LoadCandidateBlock(table, prefix)) return false;

  const char* texts = table.textBuffer.Lock();
  if (texts == nullptr) return false;
  const size_t prefixLength = std::strlen(prefix);
  size_t length = 0;
  *cut = false;
  for (uint32_t i = NextCandidateWithText(table, texts, text, 0); i < table.loadedCount;
       i = NextCandidateWithText(table, texts, text, i + 1)) {
    const char* suffix = CandidateSuffix(table, i);
    const size_t separator = length == 0 ? 0 : CodeSeparatorLength;
    const size_t suffixLength = std::strlen(suffix);
    if (length + separator + prefixLength + suffixLength > size - 1) {
      *cut = true;
      break;
    }
    std::memcpy(codes + length, CodeSeparator, separator);
    length += separator;
    std::memcpy(codes + length, prefix, prefixLength);
    length += prefixLength;
    std::memcpy(codes + length, suffix, suffixLength);
    length += suffixLength;
  }
  codes[length] = '\0';
  table.textBuffer.Unlock();
  return true;
}

}  // namespace

bool DeriveWordCode(CodeTable& table, const char* word, char wordCode[WordCodeSize]) {
  wordCode[0] = '\0';
  const size_t length = std::strlen(word);
  size_t positions[MaxUsedCharacters];
  const size_t used = UsedCharacterPositions(length, positions);

  // Checked in order, so that a NUL met as a lead byte stops before the
  // bytes beyond the word are looked at.
  for (size_t k = 0; k < used; ++k) {
    const unsigned char lead = static_cast<unsigned char>(word[positions[k]]);
    if (!IsGbkLeadByte(lead)) return false;
    if (!IsGbkCharacter(lead, static_cast<unsigned char>(word[positions[k] + 1])))
      return false;
  }

  char codes[MaxUsedCharacters][WordMakingCodeSize] = {};
  for (size_t k = 0; k < used; ++k) {
    const unsigned char* character = reinterpret_cast<const unsigned char*>(word + positions[k]);
    switch (ReadWordMakingCode(table, character[0], character[1], codes[k])) {
      case WordCodeRead::Ok:
        break;
      case WordCodeRead::ReadFailed:
        table.reports.ShowMessage(word, WordMakingCodeErrorCaption);
        return false;
      case WordCodeRead::Damaged:
        return false;
    }
  }

  char* out = wordCode;
  if (used == 2) {
    AppendWhole(out, codes[0]);
    AppendWhole(out, codes[1]);
  } else if (used == 3) {
    if (AppendFirstLetter(out, codes[0])) AppendFirstLetter(out, codes[1]);
    AppendWhole(out, codes[2]);
  } else {
    for (size_t k = 0; k < used && AppendFirstLetter(out, codes[k]); ++k) {
    }
  }
  *out = '\0';
  return true;
}

bool LookupCharacterCodes(CodeTable& table, const char* typed, char codes[CodesStringSize]) {
  codes[0] = '\0';
  if (strnlen(typed, CharacterLength + 1) != CharacterLength) return false;

  char probe[2 * CharacterLength + 1];
  std::memcpy(probe, typed, CharacterLength);
  std::memcpy(probe + CharacterLength, SampleCharacter, CharacterLength + 1);

  char wordCode[WordCodeSize];
  if (!DeriveWordCode(table, probe, wordCode)) return false;
  // typed, two bytes and its NUL, is matched as a one-character text; the
  // window shows the codes that fit, and no more.
  bool cut;
  return CollectCodesUnderPrefix(table, wordCode, typed, codes, CodesStringSize, &cut);
}

bool LookupWordCodes(CodeTable& table, const char* word, WordCodes& found) {
  found.codes[0] = '\0';
  found.cut = false;
  if (!DeriveWordCode(table, word, found.wordCode)) return false;
  return CollectCodesUnderPrefix(table, found.wordCode, word, found.codes, WordCodesStringSize,
                                 &found.cut);
}

}  // namespace navo::codefind
