// The word-code rule, the lookup of one typed character's codes, and the
// answers beside it: a typed code's candidates and every code of a text.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The entries of a typed code, 1 to 7 letters a-z, and of the codes it
// begins. A code's entries lie in the one-letter block of its first letter
// and the block of its first two letters; the longer codes of a one-letter
// code also in the 26 blocks of the pairs it begins. Entries are listed in
// prefix order: a block of one letter before the blocks of two it begins
// (a, aa, ab, ... az, b, ...), each block in its order.
constexpr size_t MaxCandidatesListed = 200;
constexpr size_t CandidateTextsSize = 4000;  // the listed texts with their NULs

struct CodeCandidate {
  uint16_t textAt;            // in CodeCandidates::texts
  char rest[MaxCodeLetters];  // the letters still to type (at most six); empty for an exact one
};

struct CodeCandidates {
  // The entries whose code is exactly the typed one (exactCount of them),
  // then as hints those whose code is longer and begins with it.
  CodeCandidate listed[MaxCandidatesListed];
  uint32_t count;
  uint32_t exactCount;
  char texts[CandidateTextsSize];
  // More entries than fit (in count or in texts): those listed come first,
  // each whole, as in a word's codes.
  bool cut;
};

// A code as typed: 1 to 7 letters a-z.
bool IsTypedCode(const char* code);

// Fails without a read when code is not a typed code, and when a
// block cannot be loaded (its message told). A prefix without block holds
// no entry.
bool LookupCodeCandidates(CodeTable& table, const char* code, CodeCandidates& found);

// Every code of a text (one or more GBK characters) anywhere in the table,
// short codes included: shortest first, then in prefix order.
constexpr size_t MaxEveryCodeListed = 32;
constexpr int NoBestCode = -1;

struct EveryCode {
  char codes[MaxEveryCodeListed][MaxCodeLetters + 1];
  uint32_t count;
  // The listed code under which the text is the first candidate, the
  // shortest such (the fewest keystrokes with space), or NoBestCode.
  int best;
  bool cut;  // more codes than fit: the shortest are listed
};

// Fails without a read when text is not whole GBK characters, and when a
// block cannot be loaded (its message told).
bool LookupEveryCode(CodeTable& table, const char* text, EveryCode& found);

// Every code, joined by CodeSeparator.
constexpr size_t EveryCodeStringSize =
    MaxEveryCodeListed * (MaxCodeLetters + CodeSeparatorLength) - CodeSeparatorLength + 1;
void JoinEveryCode(const EveryCode& found, char joined[EveryCodeStringSize]);

// The codes of a character that its codes string from LookupCharacterCodes
// does not hold (short codes of other blocks, as a rule), every code's order
// kept: what the window's rule leaves out. Fails as LookupEveryCode fails.
bool LookupCodesLeftOut(CodeTable& table, const char* typed, const char* codes,
                        char leftOut[EveryCodeStringSize]);

}  // namespace navo::codefind
