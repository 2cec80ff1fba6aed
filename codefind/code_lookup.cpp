// The word-code rule, the lookup of one typed character's codes, and the
// answers beside it: a typed code's candidates and every code of a text.
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

// Calls visit(code, text) for each entry of the block of prefix, in block
// order, code being the prefix and the entry's suffix. A prefix without
// block has no entries; false when the block cannot be loaded.
template <typename Visit>
bool VisitBlock(CodeTable& table, const char* prefix, Visit visit) {
  const BlockLoad load = LoadCandidateBlockIfAny(table, prefix);
  if (load != BlockLoad::Loaded) return load == BlockLoad::NoBlock;
  const char* texts = table.textBuffer.Lock();
  if (texts == nullptr) return false;
  char code[MaxCodeLetters + 1];
  const size_t prefixLength = std::strlen(prefix);
  std::memcpy(code, prefix, prefixLength);
  for (uint32_t i = 0; i < table.loadedCount; ++i) {
    // A loaded suffix ends within its record: at most five letters.
    const char* suffix = CandidateSuffix(table, i);
    std::memcpy(code + prefixLength, suffix, std::strlen(suffix) + 1);
    visit(static_cast<const char*>(code), CandidateText(table, texts, i));
  }
  table.textBuffer.Unlock();
  return true;
}

// Every block that holds entries of code, in prefix order: the letter block
// of its first letter, the block of its first two letters; for a one-letter
// code with longer the 26 blocks of the pairs it begins.
template <typename Visit>
bool VisitBlocksOf(CodeTable& table, const char* code, bool longer, Visit visit) {
  char prefix[MaxPrefixLetters + 1] = {code[0], '\0', '\0'};
  if (!VisitBlock(table, prefix, visit)) return false;
  if (code[1] != '\0') {
    prefix[1] = code[1];
    return VisitBlock(table, prefix, visit);
  }
  for (char second = 'a'; longer && second <= 'z'; ++second) {
    prefix[1] = second;
    if (!VisitBlock(table, prefix, visit)) return false;
  }
  return true;
}

bool IsWholeGbkCharacters(const char* text) {
  if (text[0] == '\0') return false;
  for (; text[0] != '\0'; text += CharacterLength)
    if (!IsGbkCharacter(static_cast<unsigned char>(text[0]), static_cast<unsigned char>(text[1])))
      return false;
  return true;
}

// Lists one entry unless the list is full or was cut before: the entries
// listed are always the first ones.
void ListCandidate(CodeCandidates& found, const char* text, const char* rest, size_t& textsUsed) {
  const size_t size = std::strlen(text) + 1;
  if (found.cut || found.count == MaxCandidatesListed || textsUsed + size > CandidateTextsSize) {
    found.cut = true;
    return;
  }
  CodeCandidate& listed = found.listed[found.count++];
  listed.textAt = uint16_t(textsUsed);
  std::memcpy(listed.rest, rest, std::strlen(rest) + 1);
  std::memcpy(found.texts + textsUsed, text, size);
  textsUsed += size;
}

// Keeps the shortest codes, in the order found among equally long ones.
void ListCode(EveryCode& found, const char* code) {
  const size_t length = std::strlen(code);
  uint32_t at = found.count;
  while (at > 0 && std::strlen(found.codes[at - 1]) > length) --at;
  if (found.count == MaxEveryCodeListed) {
    found.cut = true;
    if (at == found.count) return;
    --found.count;  // the longest, last found, makes room
  }
  for (uint32_t i = found.count; i > at; --i)
    std::memcpy(found.codes[i], found.codes[i - 1], sizeof found.codes[i]);
  std::memcpy(found.codes[at], code, length + 1);
  ++found.count;
}

// Whether text is the first candidate of code. False also when a block
// cannot be loaded, then *loaded is false.
bool IsFirstCandidate(CodeTable& table, const char* code, const char* text, bool* loaded) {
  bool seen = false, first = false;
  *loaded = VisitBlocksOf(table, code, false, [&](const char* entryCode, const char* entryText) {
    if (seen || std::strcmp(entryCode, code) != 0) return;
    seen = true;
    first = std::strcmp(entryText, text) == 0;
  });
  return *loaded && first;
}

// Appends code to the codes of joined, *length bytes long, keeping the NUL.
void AppendCode(char* joined, size_t* length, const char* code) {
  if (*length != 0) {
    std::memcpy(joined + *length, CodeSeparator, CodeSeparatorLength);
    *length += CodeSeparatorLength;
  }
  const size_t codeLength = std::strlen(code);
  std::memcpy(joined + *length, code, codeLength + 1);
  *length += codeLength;
}

// Whether the codes string holds code as one of its codes.
bool HoldsCode(const char* codes, const char* code) {
  const size_t length = std::strlen(code);
  for (const char* at = codes; *at != '\0';) {
    const char* end = std::strstr(at, CodeSeparator);
    const size_t codeLength = end ? size_t(end - at) : std::strlen(at);
    if (codeLength == length && std::strncmp(at, code, length) == 0) return true;
    if (end == nullptr) break;
    at = end + CodeSeparatorLength;
  }
  return false;
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

bool IsTypedCode(const char* code) {
  const size_t length = strnlen(code, MaxCodeLetters + 1);
  if (length == 0 || length > MaxCodeLetters) return false;
  for (size_t i = 0; i < length; ++i)
    if (!IsCodeLetter(code[i])) return false;
  return true;
}

bool LookupCodeCandidates(CodeTable& table, const char* code, CodeCandidates& found) {
  found.count = found.exactCount = 0;
  found.cut = false;
  if (!IsTypedCode(code)) return false;
  const size_t length = std::strlen(code);
  size_t textsUsed = 0;
  const bool exactListed =
      VisitBlocksOf(table, code, false, [&](const char* entryCode, const char* text) {
        if (std::strcmp(entryCode, code) == 0) ListCandidate(found, text, "", textsUsed);
      });
  if (!exactListed) return false;
  found.exactCount = found.count;
  return VisitBlocksOf(table, code, true, [&](const char* entryCode, const char* text) {
    if (std::strncmp(entryCode, code, length) == 0 && entryCode[length] != '\0')
      ListCandidate(found, text, entryCode + length, textsUsed);
  });
}

bool LookupEveryCode(CodeTable& table, const char* text, EveryCode& found) {
  found.count = 0;
  found.best = NoBestCode;
  found.cut = false;
  if (!IsWholeGbkCharacters(text)) return false;
  const auto listIfText = [&](const char* entryCode, const char* entryText) {
    if (std::strcmp(entryText, text) == 0) ListCode(found, entryCode);
  };
  for (char first = 'a'; first <= 'z'; ++first) {
    const char letter[] = {first, '\0'};
    if (!VisitBlocksOf(table, letter, true, listIfText)) return false;
  }
  for (uint32_t i = 0; i < found.count; ++i) {
    bool loaded;
    if (IsFirstCandidate(table, found.codes[i], text, &loaded)) {
      found.best = int(i);
      break;
    }
    if (!loaded) return false;
  }
  return true;
}

bool LookupCodesLeftOut(CodeTable& table, const char* typed, const char* codes,
                        char leftOut[EveryCodeStringSize]) {
  leftOut[0] = '\0';
  EveryCode every;
  if (!LookupEveryCode(table, typed, every)) return false;
  size_t length = 0;
  for (uint32_t i = 0; i < every.count; ++i)
    if (!HoldsCode(codes, every.codes[i])) AppendCode(leftOut, &length, every.codes[i]);
  return true;
}

void JoinEveryCode(const EveryCode& found, char joined[EveryCodeStringSize]) {
  joined[0] = '\0';
  size_t length = 0;
  for (uint32_t i = 0; i < found.count; ++i) AppendCode(joined, &length, found.codes[i]);
}

}  // namespace navo::codefind
