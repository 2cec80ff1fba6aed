// The directory-path rule of every program, for GBK and UTF-16 paths: a
// backslash is appended unless the last character already is one.
#include "common/directory_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace navo::testing {
namespace {

struct BackslashCase {
  const char* what;
  const char* path;
  size_t size;
  bool ended;
  const char* result;
};

// "\x81\x5C" is one GBK character whose trail byte is 0x5C, the backslash's.
const BackslashCase GbkCases[] = {
    {"appended", "C:\\WINDOWS\\SYSTEM", PathBufferSize, true, "C:\\WINDOWS\\SYSTEM\\"},
    {"already there", "C:\\WINDOWS\\", PathBufferSize, true, "C:\\WINDOWS\\"},
    {"trail byte 0x5C is no backslash", "D:\\\x81\x5C", PathBufferSize, true, "D:\\\x81\x5C\\"},
    {"backslash after a 0x5C trail byte", "D:\\\x81\x5C\\", PathBufferSize, true, "D:\\\x81\x5C\\"},
    {"a lone lead byte at the end", "D:\\\x81", PathBufferSize, true, "D:\\\x81\\"},
    {"empty", "", PathBufferSize, false, ""},
    {"no room for the backslash", "C:\\AB", 6, false, "C:\\AB"},
    {"the last room taken", "C:\\AB", 7, true, "C:\\AB\\"},
};

class GbkDirectoryPath : public ::testing::TestWithParam<BackslashCase> {};

TEST_P(GbkDirectoryPath, EndsWithOneBackslash) {
  const BackslashCase& c = GetParam();
  char path[PathBufferSize] = {};
  std::strcpy(path, c.path);
  EXPECT_EQ(EndWithBackslash(path, c.size), c.ended) << c.what;
  EXPECT_STREQ(path, c.result) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, GbkDirectoryPath, ::testing::ValuesIn(GbkCases));

TEST(WideDirectoryPath, EndsWithOneBackslash) {
  const struct {
    const wchar_t* path;
    size_t size;
    bool ended;
    const wchar_t* result;
  } cases[] = {
      {L"C:\\WINDOWS\\SYSTEM32", PathBufferSize, true, L"C:\\WINDOWS\\SYSTEM32\\"},
      {L"C:\\WINDOWS\\", PathBufferSize, true, L"C:\\WINDOWS\\"},
      {L"D:\\\u8868", PathBufferSize, true, L"D:\\\u8868\\"},
      {L"", PathBufferSize, false, L""},
      {L"C:\\AB", 6, false, L"C:\\AB"},
      {L"C:\\AB", 7, true, L"C:\\AB\\"},
  };
  for (const auto& c : cases) {
    wchar_t path[PathBufferSize] = {};
    std::wcscpy(path, c.path);
    EXPECT_EQ(EndWithBackslash(path, c.size), c.ended);
    EXPECT_EQ(std::wstring(path), std::wstring(c.result));
  }
}

TEST(WideDirectoryPath, AFullBufferIsRefused) {
  wchar_t path[4] = {L'C', L':', L'X', L'Y'};  // no NUL within the buffer
  EXPECT_FALSE(EndWithBackslash(path, 4));
}

TEST(GbkCharacterStepping, LeadByteTakesTheNextByteUnlessItIsTheEnd) {
  EXPECT_EQ(GbkCharacterBytes("\x81\x5C"), 2u);
  EXPECT_EQ(GbkCharacterBytes("\xFE\x40"), 2u);
  EXPECT_EQ(GbkCharacterBytes("\x81"), 1u);
  EXPECT_EQ(GbkCharacterBytes("\x80\x40"), 1u);
  EXPECT_EQ(GbkCharacterBytes("\xFF\x40"), 1u);
  EXPECT_EQ(GbkCharacterBytes("\\"), 1u);
}

}  // namespace
}  // namespace navo::testing
