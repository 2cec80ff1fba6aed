// The installation step's Win32 platform under Wine: directories, the
// identity of a directory whatever its spelling, files found, read and
// compared, deletion, the copy request as SHFileOperationW runs it, all in
// UTF-16 whatever the system's code page.
#include "setup/shell/win32_install_platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace navo::setup::testing {
namespace {

// A folder of the test's own under the temporary directory, its name in
// Chinese, Japanese and Cyrillic characters.
std::wstring ScratchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"navo-安装-ファイル-Папка-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void WriteText(const std::wstring& path, const std::string& text) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

std::string ReadText(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return "<missing>";
  std::string text;
  char buffer[256];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

CopyRequest Request(const std::wstring& from, const std::wstring& to) {
  CopyRequest request;
  request.operation = FileOperationCopy;
  std::wmemcpy(request.from, from.c_str(), from.size() + 1);
  std::wmemcpy(request.to, to.c_str(), to.size() + 1);
  return request;
}

TEST(Win32InstallPlatform, ReadsTheDirectoriesAsTheSystemGivesThem) {
  Win32InstallPlatform platform(nullptr);
  wchar_t current[260], expected[260];
  const size_t length = platform.ReadCurrentDirectory(current, 260);
  EXPECT_EQ(length, GetCurrentDirectoryW(260, expected));
  EXPECT_STREQ(current, expected);
  wchar_t system[260];
  EXPECT_EQ(platform.ReadSystemDirectory(system, 260), GetSystemDirectoryW(expected, 260));
  EXPECT_STREQ(system, expected);
  // Too small a buffer: the size needed, as the installation step expects.
  wchar_t tiny[4] = L"abc";
  EXPECT_GT(platform.ReadSystemDirectory(tiny, 4), 4u);
}

TEST(Win32InstallPlatform, TellsOneDirectoryUnderTwoSpellings) {
  Win32InstallPlatform platform(nullptr);
  wchar_t system[260];
  GetSystemDirectoryW(system, 260);
  std::wstring upper = system;
  for (wchar_t& c : upper) c = towupper(c);
  EXPECT_TRUE(platform.IsSameDirectory(system, (upper + L"\\").c_str()));
  const std::wstring other = ScratchFolder(L"other");
  EXPECT_FALSE(platform.IsSameDirectory(system, other.c_str()));
  EXPECT_FALSE(platform.IsSameDirectory(system, (other + L"\\missing").c_str()));
}

TEST(Win32InstallPlatform, CopiesAFileIntoADirectoryAndFailsForAMissingOne) {
  Win32InstallPlatform platform(nullptr);
  const std::wstring source = ScratchFolder(L"source"), target = ScratchFolder(L"target");
  WriteText(source + L"\\navo.cnt", "contents");
  EXPECT_EQ(platform.RunFileOperation(Request(source + L"\\navo.cnt", target + L"\\")), 0);
  EXPECT_EQ(ReadText(target + L"\\navo.cnt"), "contents");
  EXPECT_NE(platform.RunFileOperation(Request(source + L"\\navo.ud", target + L"\\")), 0);
  EXPECT_EQ(ReadText(target + L"\\navo.ud"), "<missing>");

  platform.RemoveFile((target + L"\\navo.cnt").c_str());
  EXPECT_EQ(ReadText(target + L"\\navo.cnt"), "<missing>");
}

TEST(Win32InstallPlatform, ComparesFilesByteForByteAndReadsNoneHeldWithoutSharing) {
  Win32InstallPlatform platform(nullptr);
  const std::wstring folder = ScratchFolder(L"compare") + L"\\";
  const std::string big(70000, 'b');  // longer than one read
  struct Case {
    const char* what;
    std::string first, second;  // "<missing>": no such file
    bool same;
  } cases[] = {
      {"equal", "contents", "contents", true},
      {"equal across several reads", big, big, true},
      {"last byte differs", big, big.substr(0, big.size() - 1) + "c", false},
      {"one is shorter", "contents", "content", false},
      {"both empty", "", "", true},
      {"second missing", "contents", "<missing>", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::wstring first = folder + L"a" + std::to_wstring(n);
    const std::wstring second = folder + L"b" + std::to_wstring(n);
    ++n;
    WriteText(first, c.first);
    if (c.second != "<missing>") WriteText(second, c.second);
    EXPECT_EQ(platform.SameContents(first.c_str(), second.c_str()), c.same) << c.what;
  }

  const std::wstring path = folder + L"navo.ud";
  WriteText(path, "held");
  FileStamp stamp;
  EXPECT_TRUE(platform.FindFile(path.c_str(), stamp));
  EXPECT_EQ(stamp.size, 4u);
  EXPECT_FALSE(platform.FindFile(folder.c_str(), stamp)) << "a directory is no file";
  EXPECT_FALSE(platform.FindFile((folder + L"none").c_str(), stamp));
  EXPECT_TRUE(platform.CanOpenForReading(path.c_str()));
  EXPECT_FALSE(platform.CanOpenForReading((folder + L"none").c_str()));

  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(platform.FindFile(path.c_str(), stamp)) << "found, though held";
  EXPECT_FALSE(platform.CanOpenForReading(path.c_str()));
  EXPECT_FALSE(platform.SameContents(path.c_str(), path.c_str()));
  CloseHandle(held);
}

}  // namespace
}  // namespace navo::setup::testing
