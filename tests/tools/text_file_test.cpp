// Table texts in the encodings and line ends that editors save.
#include "tools/navomb/text_file.h"

#include <gtest/gtest.h>

namespace navo::testing {
namespace {

// "# c", "工<TAB>aaaa", "", "U+20000<TAB>b" in the encoding's code units.
std::string Utf16(bool bigEndian, bool crlf) {
  const char16_t units[] = u"# c\n\u5DE5\taaaa\n\n\U00020000\tb\n";
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : std::u16string(units)) {
    if (unit == u'\n' && crlf) bytes += bigEndian ? std::string("\0\r", 2) : std::string("\r\0", 2);
    const char high = char(unit >> 8), low = char(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(TextFileTest, EveryEncodingAndLineEndGivesTheSameLines) {
  const std::vector<std::pair<const char*, std::string>> files = {
      {"UTF-8, LF", u8"# c\n工\taaaa\n\n\xF0\xA0\x80\x80\tb\n"},
      {"UTF-8, no last line end", u8"# c\n工\taaaa\n\n\xF0\xA0\x80\x80\tb"},
      {"UTF-8 with mark, CRLF", u8"\xEF\xBB\xBF# c\r\n工\taaaa\r\n\r\n\xF0\xA0\x80\x80\tb\r\n"},
      {"UTF-16 LE with mark, CRLF", Utf16(false, true)},
      {"UTF-16 BE with mark, LF", Utf16(true, false)},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    DecodedText decoded = DecodeTextFile(bytes);
    EXPECT_TRUE(decoded.errors.empty());
    ASSERT_EQ(decoded.lines.size(), 4u);
    EXPECT_EQ(decoded.lines[0].text, "# c");
    EXPECT_EQ(decoded.lines[1].text, u8"工\taaaa");
    EXPECT_EQ(decoded.lines[2].text, "");
    EXPECT_EQ(decoded.lines[3].text, u8"\xF0\xA0\x80\x80\tb");
    EXPECT_EQ(decoded.lines[3].number, 4u);
  }
}

TEST(TextFileTest, NamesTheLinesThatDoNotDecodeAndKeepsTheOthers) {
  const struct {
    const char* name;
    std::string bytes;
    size_t line;
    const char* message;
  } cases[] = {
      {"GBK in a UTF-8 file", "a\n\xB9\xA4\tb\nc\n", 2, "not UTF-8: \\xB9\\xA4\\x09b"},
      {"lone surrogate",
       std::string("\xFF\xFE"
                   "a\0\n\0\x00\xD8\n\0c\0",
                   12),
       2, "not UTF-16: a surrogate without its pair"},
      {"odd length", std::string("\xFE\xFF\0a\0\n\0b\0", 9), 2,
       "not UTF-16: the file ends in half a character"},
      {"UTF-16 without mark", std::string("a\0\n\0", 4), 0,
       "holds NUL bytes: UTF-16 without a byte-order mark? Save it as UTF-8, or as UTF-16 with "
       "the mark"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedText decoded = DecodeTextFile(c.bytes);
    ASSERT_EQ(decoded.errors.size(), 1u);
    EXPECT_EQ(decoded.errors[0].line, c.line);
    EXPECT_EQ(decoded.errors[0].message, c.message);
    for (const TextLine& line : decoded.lines) EXPECT_NE(line.number, c.line);
  }
}

}  // namespace
}  // namespace navo::testing
