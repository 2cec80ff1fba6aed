// A recording installation platform: directories as the test sets them,
// every call written down in order, copies that fail for chosen sources.
#pragma once

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "setup/installation.h"

namespace navo::setup::testing {

// One path list: the path, then the empty entry closing the list.
inline std::string ReadPathList(const char* list, size_t size, bool* closed) {
  const size_t length = strnlen(list, size);
  *closed = length + 1 < size && list[length + 1] == '\0';
  return std::string(list, length);
}

class RecordingPlatform final : public InstallPlatform {
 public:
  std::string currentDirectory = "D:\\NAVO20";
  std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
  bool currentDirectoryFails = false;
  bool systemDirectoryFails = false;
  bool sameDirectoryOnDisk = false;
  std::set<std::string> failingSources;            // copies of these sources fail
  std::set<std::string> missingInSystemDirectory;  // full paths
  std::vector<std::string> calls;
  std::vector<CopyRequest> requests;
  std::vector<size_t> bufferSizes;
  // Runs inside each copy, as messages do while the platform's own windows
  // are up.
  std::function<void()> duringCopy;

  size_t ReadCurrentDirectory(char* buffer, size_t size) override {
    calls.push_back("current directory");
    return Fill(currentDirectory, currentDirectoryFails, buffer, size);
  }
  size_t ReadSystemDirectory(char* buffer, size_t size) override {
    calls.push_back("system directory");
    return Fill(systemDirectory, systemDirectoryFails, buffer, size);
  }
  bool IsSameDirectory(const char* first, const char* second) override {
    calls.push_back(std::string("same directory? ") + first + " " + second);
    return sameDirectoryOnDisk;
  }
  bool FileExists(const char* path) override {
    calls.push_back(std::string("exists? ") + path);
    return !missingInSystemDirectory.count(path);
  }
  void RemoveFile(const char* path) override { calls.push_back(std::string("delete ") + path); }
  int RunFileOperation(const CopyRequest& request) override {
    requests.push_back(request);
    bool fromClosed = false, toClosed = false;
    const std::string from = ReadPathList(request.from, sizeof request.from, &fromClosed);
    const std::string to = ReadPathList(request.to, sizeof request.to, &toClosed);
    calls.push_back("copy " + from + " into " + to);
    if (duringCopy) duringCopy();
    return failingSources.count(from) ? 0x402 : 0;
  }
  void Beep() override { calls.push_back("beep"); }
  void InstallInputMethod(const char* modulePath, const char* layoutText) override {
    calls.push_back(std::string("register ") + modulePath + " " + layoutText);
  }

  // The calls that touch files or the input method manager, beeps included.
  std::vector<std::string> Effects() const {
    std::vector<std::string> effects;
    for (const std::string& call : calls) {
      if (call.rfind("delete ", 0) == 0 || call.rfind("copy ", 0) == 0 || call == "beep" ||
          call.rfind("register ", 0) == 0)
        effects.push_back(call);
    }
    return effects;
  }

 private:
  // As the platform's directory calls: the length, 0 on failure, or the size
  // needed (with the NUL) when the buffer is too small, which is then left
  // untouched.
  size_t Fill(const std::string& path, bool fails, char* buffer, size_t size) {
    bufferSizes.push_back(size);
    if (fails) return 0;
    if (path.size() + 1 > size) return path.size() + 1;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return path.size();
  }
};

}  // namespace navo::setup::testing
