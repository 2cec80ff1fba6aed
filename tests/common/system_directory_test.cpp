// The system directory as every program reads it, run under Windows (Wine),
// whose system directory in a 32-bit prefix is C:\windows\system32.
#include "common/system_directory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

namespace navo {
namespace {

TEST(SystemDirectoryTest, InUtf16AsTheSystemGivesIt) {
  wchar_t directory[PathBufferSize];
  EXPECT_EQ(ReadSystemDirectory(directory, PathBufferSize), 19u);
  EXPECT_EQ(_wcsicmp(directory, L"C:\\windows\\system32"), 0);
  // Too small a buffer: the size it would need, NUL included.
  wchar_t tiny[4] = L"abc";
  EXPECT_EQ(ReadSystemDirectory(tiny, 4), 20u);
}

TEST(SystemDirectoryTest, InGbkWithItsBackslash) {
  char directory[PathBufferSize];
  std::memset(directory, 'x', sizeof directory);
  directory[PathBufferSize - 1] = '\0';
  ASSERT_TRUE(ReadSystemDirectoryAsGbk(directory));
  EXPECT_EQ(_stricmp(directory, "C:\\windows\\system32\\"), 0);
}

}  // namespace
}  // namespace navo
