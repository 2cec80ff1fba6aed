// The word-code rule and the lookup of one typed character's codes.
#pragma once

#include <cstddef>

#include "codefind/code_table.h"

namespace navo::codefind {

// The bytes of one Chinese character in GBK, as it is typed and as the
// table keeps it.
constexpr size_t CharacterLength = 2;
// "童": the second character of every lookup's probe word; its drawn height
// is the height of one line.
extern const char SampleCharacter[];
inline constexpr char CodeSeparator[] = "  ";  // between the codes of one text
constexpr size_t CodeSeparatorLength = sizeof CodeSeparator - 1;

constexpr size_t WordCodeSize = 8;      // at most 6 letters and the NUL
constexpr size_t CodesStringSize = 40;  // at most 39 bytes and the NUL

// The codes of a word: room for this many of the longest codes, with their
// separators and the NUL.
constexpr size_t MaxWordCodesListed = 40;
constexpr size_t WordCodesStringSize =
    MaxWordCodesListed * (MaxCodeLetters + CodeSeparatorLength) - CodeSeparatorLength + 1;

extern const char* const WordMakingCodeErrorCaption;

// The code of a word of two or more GBK characters, from the word-making
// codes of its 1st, 2nd, 3rd and last characters.
bool DeriveWordCode(CodeTable& table, const char* word, char wordCode[WordCodeSize]);

// The codes of the typed character (exactly two bytes) under the two-letter
// prefix of its word-making code, in block order. Success with an empty
// string when the block holds no candidate for it.
bool LookupCharacterCodes(CodeTable& table, const char* typed, char codes[CodesStringSize]);

// A word as the page's word field and the terminal tool look it up.
struct WordCodes {
  char wordCode[WordCodeSize];
  // The codes under which the word stands in the block of its word code's
  // two-letter prefix, in block order, joined by CodeSeparator.
  char codes[WordCodesStringSize];
  // More codes stand there than codes holds: the ones listed come first, each
  // whole, as in a character's codes string.
  bool cut;
};

// The codes of a word of two or more GBK characters. Fails as DeriveWordCode
// fails, or as the load of the block fails (a beep when there is none).
// Success with empty codes when the block holds no candidate for the word.
bool LookupWordCodes(CodeTable& table, const char* word, WordCodes& found);

}  // namespace navo::codefind
