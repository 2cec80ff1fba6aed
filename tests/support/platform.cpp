#include "tests/support/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace navo::testing {

const std::string& ScratchDirectory() {
  static const std::string directory = [] {
#ifdef _WIN32
    std::string path = ::testing::TempDir();
    if (path.empty() || path.back() != '\\') path += '\\';
    path += "navo-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
#else
    std::string path = ::testing::TempDir();
    if (path.empty() || path.back() != '/') path += '/';
    path += "navo-test-" + std::to_string(getpid());
    mkdir(path.c_str(), 0700);
#endif
    return path + PathSeparator;
  }();
  return directory;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

void RemoveFile(const std::string& path) { std::remove(path.c_str()); }

}  // namespace navo::testing
