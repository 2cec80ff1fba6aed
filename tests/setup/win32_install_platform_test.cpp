// The installation step's Win32 platform under Wine: directories, the
// identity of a directory whatever its spelling, files found, read and
// compared, deletion and the copy request as SHFileOperationA runs it.
#include "setup/win32_install_platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace navo::setup::testing {
namespace {

std::string ScratchFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder =
      std::string(temp) + "navo-setup-" + std::to_string(GetCurrentProcessId()) + "-" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

std::string ReadText(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<missing>";
  std::string text;
  char buffer[256];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

CopyRequest Request(const std::string& from, const std::string& to) {
  CopyRequest request;
  request.operation = FileOperationCopy;
  std::memcpy(request.from, from.c_str(), from.size() + 1);
  std::memcpy(request.to, to.c_str(), to.size() + 1);
  return request;
}

TEST(Win32InstallPlatform, ReadsTheDirectoriesAsTheSystemGivesThem) {
  Win32InstallPlatform platform(nullptr);
  char current[260], expected[260];
  const size_t length = platform.ReadCurrentDirectory(current, sizeof current);
  EXPECT_EQ(length, GetCurrentDirectoryA(sizeof expected, expected));
  EXPECT_STREQ(current, expected);
  char system[260];
  EXPECT_EQ(platform.ReadSystemDirectory(system, sizeof system),
            GetSystemDirectoryA(expected, sizeof expected));
  EXPECT_STREQ(system, expected);
  // Too small a buffer: the size needed, as the installation step expects.
  char tiny[4] = "abc";
  EXPECT_GT(platform.ReadSystemDirectory(tiny, sizeof tiny), sizeof tiny);
}

TEST(Win32InstallPlatform, TellsOneDirectoryUnderTwoSpellings) {
  Win32InstallPlatform platform(nullptr);
  char system[260];
  GetSystemDirectoryA(system, sizeof system);
  std::string upper = system;
  for (char& c : upper) c = char(toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(platform.IsSameDirectory(system, (upper + "\\").c_str()));
  const std::string other = ScratchFolder("other");
  EXPECT_FALSE(platform.IsSameDirectory(system, other.c_str()));
  EXPECT_FALSE(platform.IsSameDirectory(system, (other + "\\missing").c_str()));
}

TEST(Win32InstallPlatform, CopiesAFileIntoADirectoryAndFailsForAMissingOne) {
  Win32InstallPlatform platform(nullptr);
  const std::string source = ScratchFolder("source"), target = ScratchFolder("target");
  WriteText(source + "\\navo.cnt", "contents");
  EXPECT_EQ(platform.RunFileOperation(Request(source + "\\navo.cnt", target + "\\")), 0);
  EXPECT_EQ(ReadText(target + "\\navo.cnt"), "contents");
  EXPECT_NE(platform.RunFileOperation(Request(source + "\\navo.ud", target + "\\")), 0);
  EXPECT_EQ(ReadText(target + "\\navo.ud"), "<missing>");

  platform.RemoveFile((target + "\\navo.cnt").c_str());
  EXPECT_EQ(ReadText(target + "\\navo.cnt"), "<missing>");
}

TEST(Win32InstallPlatform, ComparesFilesByteForByteAndReadsNoneHeldWithoutSharing) {
  Win32InstallPlatform platform(nullptr);
  const std::string folder = ScratchFolder("compare") + "\\";
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
    const std::string first = folder + "a" + std::to_string(n),
                      second = folder + "b" + std::to_string(n);
    ++n;
    WriteText(first, c.first);
    if (c.second != "<missing>") WriteText(second, c.second);
    EXPECT_EQ(platform.SameContents(first.c_str(), second.c_str()), c.same) << c.what;
  }

  const std::string path = folder + "navo.ud";
  WriteText(path, "held");
  FileStamp stamp;
  EXPECT_TRUE(platform.FindFile(path.c_str(), stamp));
  EXPECT_EQ(stamp.size, 4u);
  EXPECT_FALSE(platform.FindFile(folder.c_str(), stamp)) << "a directory is no file";
  EXPECT_FALSE(platform.FindFile((folder + "none").c_str(), stamp));
  EXPECT_TRUE(platform.CanOpenForReading(path.c_str()));
  EXPECT_FALSE(platform.CanOpenForReading((folder + "none").c_str()));

  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(platform.FindFile(path.c_str(), stamp)) << "found, though held";
  EXPECT_FALSE(platform.CanOpenForReading(path.c_str()));
  EXPECT_FALSE(platform.SameContents(path.c_str(), path.c_str()));
  CloseHandle(held);
}

}  // namespace
}  // namespace navo::setup::testing
