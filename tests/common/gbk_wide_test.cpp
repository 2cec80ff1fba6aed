// The conversion at the window boundary, run under Windows (Wine): GBK
// characters survive the trip through UTF-16, characters outside GBK arrive
// as "?", and texts that do not fit are cut between characters.
#include "common/gbk_wide.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace navo {
namespace {

TEST(GbkWideTest, EveryGbkCharacterRoundTrips) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char gbk[3] = {static_cast<char>(lead), static_cast<char>(trail), '\0'};
      wchar_t wide[4];
      const size_t units = GbkToWide(gbk, wide, 4);
      if (units != 1 || wide[0] == L'?' || wide[0] == 0x30FB) continue;  // not a character
      char back[4];
      ASSERT_EQ(WideToGbk(wide, back, sizeof back), 2u) << std::hex << lead << ' ' << trail;
      EXPECT_EQ(std::memcmp(back, gbk, 3), 0) << std::hex << lead << ' ' << trail;
      ++characters;
    }
  }
  // GBK's 21886 characters and symbols, plus the user-defined areas.
  EXPECT_GE(characters, 21886);
}

TEST(GbkWideTest, KnownTextsBothWays) {
  struct Case {
    const char* gbk;
    const wchar_t* wide;
  } cases[] = {
      {"\xB9\xA4", L"\u5DE5"},                // 工
      {"\xCD\xAF", L"\u7AE5"},                // 童
      {"navo.mb", L"navo.mb"},                // ASCII as it is
      {"\xA4\xA2\xA7\xA1", L"\u3042\u0410"},  // あА: kana and Cyrillic are GBK too
      {"Navo\xCA\xE4\xC8\xEB\xB7\xA8", L"Navo\u8F93\u5165\u6CD5"},
  };
  for (const Case& c : cases) {
    wchar_t wide[32];
    char gbk[32];
    EXPECT_EQ(GbkToWide(c.gbk, wide, 32), std::wcslen(c.wide));
    EXPECT_EQ(std::wstring(wide), c.wide);
    EXPECT_EQ(WideToGbk(c.wide, gbk, sizeof gbk), std::strlen(c.gbk));
    EXPECT_STREQ(gbk, c.gbk);
  }
}

TEST(GbkWideTest, CharactersOutsideGbkBecomeTheDefaultCharacter) {
  struct Case {
    const wchar_t* wide;
    const char* gbk;
  } cases[] = {
      {L"\uD55C", "?"},  // a Hangul syllable
      {L"a\uD55Cb", "a?b"},
      {L"\U0001F600", "??"},  // beyond the BMP: one "?" a surrogate, as the 8-bit call gives
  };
  for (const Case& c : cases) {
    char gbk[16];
    EXPECT_EQ(WideToGbk(c.wide, gbk, sizeof gbk), std::strlen(c.gbk));
    EXPECT_STREQ(gbk, c.gbk);
  }
}

TEST(GbkWideTest, TextsAreCutBetweenCharacters) {
  // 工 童 a: 5 bytes, 3 units.
  const wchar_t wide[] = L"\u5DE5\u7AE5a";
  const char gbk[] =
      "\xB9\xA4\xCD\xAF"
      "a";
  struct Case {
    size_t size, bytes;
  } toGbk[] = {{1, 0}, {2, 0}, {3, 2}, {4, 2}, {5, 4}, {6, 5}};
  for (const Case& c : toGbk) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(WideToGbk(wide, out, c.size), c.bytes) << c.size;
    EXPECT_EQ(out[c.bytes], '\0');
    EXPECT_EQ(out[c.size], 'x') << "nothing written past the buffer";
  }
  for (size_t size = 1; size <= 4; ++size) {
    wchar_t out[8];
    std::wmemset(out, L'x', 8);
    EXPECT_EQ(GbkToWide(gbk, out, size), size - 1);
    EXPECT_EQ(out[size], L'x');
  }
  wchar_t pair[3];
  EXPECT_EQ(GbkToWide("a", pair, 3), 1u);
  const wchar_t astral[] = L"a\U0001F600";
  char out[3];
  EXPECT_EQ(WideToGbk(astral, out, 3), 1u);  // "??" stays whole or is left out
}

}  // namespace
}  // namespace navo
