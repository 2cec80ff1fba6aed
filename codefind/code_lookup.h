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
extern const char CodeSeparator[];  // two spaces between the codes of a character

constexpr size_t WordCodeSize = 8;      // at most 6 letters and the NUL
constexpr size_t CodesStringSize = 40;  // at most 39 bytes and the NUL

extern const char* const WordMakingCodeErrorCaption;

bool IsAcceptableCharacter(unsigned char lead, unsigned char trail);

// The code of a word of two or more GBK characters, from the word-making
// codes of its 1st, 2nd, 3rd and last characters.
bool DeriveWordCode(CodeTable& table, const char* word, char wordCode[WordCodeSize]);

// The codes of the typed character (exactly two bytes) under the two-letter
// prefix of its word-making code, in block order. Success with an empty
// string when the block holds no candidate for it.
bool LookupCharacterCodes(CodeTable& table, const char* typed, char codes[CodesStringSize]);

}  // namespace navo::codefind
