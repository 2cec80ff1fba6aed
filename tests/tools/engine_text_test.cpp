// The engines' text formats as navomb reads them, and bytes that are no GBK
// character carried through UTF-8 and back.
#include <gtest/gtest.h>

#include "tools/common/gbk_text.h"
#include "tools/navomb/engine_tables.h"

namespace navo::testing {
namespace {

TEST(EngineTextTest, BytesThatAreNoCharacterBecomePrivateUseCodePointsAndComeBack) {
  const struct {
    const char* name;
    std::string gbk;
    std::string utf8;  // worked out by hand: U+F0000 + value is F3 B0+(v>>12) ...
  } cases[] = {
      {"GBK characters and ASCII as they are", "\xB9\xA4" "a#", u8"工a#"},
      {"a pair no GBK character: U+F817F", "\x81\x7F", "\xF3\xB8\x85\xBF"},
      {"a lone lead byte at the end: U+F00CD", "\xCD\xAF\xCD", u8"童\xF3\xB0\x83\x8D"},
      {"space and tab: U+F0020, U+F0009", " \t", "\xF3\xB0\x80\xA0\xF3\xB0\x80\x89"},
      {"a leading # (a Rime comment): U+F0023", "#a", "\xF3\xB0\x80\xA3" "a"},
      {"the last pair: U+FFEFF", "\xFE\xFF", "\xF3\xBF\xBB\xBF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GbkToUtf8Keeping(c.gbk), c.utf8);
    std::string back;
    EXPECT_TRUE(Utf8ToGbk(c.utf8, &back));
    EXPECT_EQ(back, c.gbk);
  }
  std::string gbk;
  EXPECT_FALSE(Utf8ToGbk("\xF0\xA0\x80\x80", &gbk));  // U+20000: not in GBK
}

struct Fcitx5Read {
  TableSource source;
  TableReadResult result;
  explicit Fcitx5Read(const std::string& utf8) {
    result = ReadFcitx5Table(DecodeTextFile(utf8).lines, {}, &source);
  }
};

TEST(EngineTextTest, Fcitx5TextGivesCandidatesInOrderAndConstructCodes) {
  const struct {
    const char* name;
    const char* text;
    std::vector<std::string> candidates;  // GBK text and code
    std::map<std::string, std::string> wordMakingCodes;
  } cases[] = {
      {"construct lines; a character without one has none",
       u8"KeyCode=abc\nConstructPhrase=^\n[Rule]\ne2=p11+p21\n[Data]\n^kh 中\nkhk 中\naaaa 工\n"
       u8"khlg 中国\n",
       {"\xD6\xD0 khk", "\xB9\xA4 aaaa", "\xD6\xD0\xB9\xFA khlg"},
       {{"\xD6\xD0", "kh"}, {"\xB9\xA4", ""}}},
      {"no ConstructPhrase: none given, the builder's default applies", u8"[Data]\nkhk\t中\n",
       {"\xD6\xD0 khk"}, {}},
      {"prompt and pinyin lines passed over", u8"Prompt=&\nPinyin=@\n[Data]\n&a 工\n@gong 工\na 工\n",
       {"\xB9\xA4 a"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fcitx5Read read(c.text);
    std::vector<std::string> candidates;
    for (const TableCandidate& t : read.source.candidates) candidates.push_back(t.text + " " + t.code);
    EXPECT_EQ(candidates, c.candidates);
    EXPECT_EQ(read.source.wordMakingCodes, c.wordMakingCodes);
  }
}

TEST(EngineTextTest, Fcitx5TextFaultsNamed) {
  Fcitx5Read none("KeyCode=abc\n");
  ASSERT_EQ(none.result.errors.size(), 1u);
  EXPECT_EQ(none.result.errors[0].message, "no line [Data]: not an fcitx5 table text");
  Fcitx5Read bad(u8"ConstructPhrase=^\n[Data]\nlonely\n^abcd 中\n");
  ASSERT_EQ(bad.result.errors.size(), 2u);
  EXPECT_EQ(bad.result.errors[0].line, 3u);
  EXPECT_EQ(bad.result.errors[0].message, "expected code and text");
  EXPECT_EQ(bad.result.errors[1].line, 4u);
}

}  // namespace
}  // namespace navo::testing
