// The installation step's Win32 platform under Wine: directories, the
// identity of a directory whatever its spelling, deletion and the copy
// request as SHFileOperationA runs it.
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

}  // namespace
}  // namespace navo::setup::testing
