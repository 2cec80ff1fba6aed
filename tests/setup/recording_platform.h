// A recording installation platform: directories as the test sets them, a
// system directory whose files the calls change as Windows would, every call
// written down in order, and the faults a test chooses.
#pragma once

#include <cstring>
#include <functional>
#include <map>
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

// Write times of the files a fake platform holds.
constexpr unsigned long long EarlierVersion = 1;
constexpr unsigned long long NewVersion = 2;

class RecordingPlatform final : public InstallPlatform {
 public:
  std::string currentDirectory = "D:\\NAVO20";
  std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
  bool currentDirectoryFails = false;
  bool systemDirectoryFails = false;
  bool sameDirectoryOnDisk = false;
  // Files in the system directory, by full path, with their write time.
  std::map<std::string, unsigned long long> systemFiles;
  // Full paths: sources missing or unreadable, system files that cannot be
  // deleted or written (held open without sharing), copies that fail, copies
  // that report success but leave other bytes.
  std::set<std::string> unreadable, locked, failingSources, corruptCopies;
  std::vector<std::string> calls;
  std::vector<CopyRequest> requests;
  std::vector<size_t> bufferSizes;
  // Runs inside each copy, as messages do while the platform's own windows
  // are up.
  std::function<void()> duringCopy;

  // An earlier installation: the ten files in the system directory.
  void InstallEarlierCopies() {
    for (const char* name : InstallFiles) systemFiles[SystemPath(name)] = EarlierVersion;
  }
  std::string SystemPath(const std::string& name) const {
    return systemDirectory + (systemDirectory.back() == '\\' ? "" : "\\") + name;
  }

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
  bool FindFile(const char* path, FileStamp& stamp) override {
    calls.push_back(std::string("find ") + path);
    const auto file = systemFiles.find(path);
    if (file == systemFiles.end()) return false;
    stamp = FileStamp{100, file->second};
    return true;
  }
  bool CanOpenForReading(const char* path) override {
    calls.push_back(std::string("readable? ") + path);
    return !unreadable.count(path);
  }
  bool SameContents(const char* first, const char* second) override {
    calls.push_back(std::string("compare ") + first + " " + second);
    const auto file = systemFiles.find(second);
    return !unreadable.count(first) && !locked.count(second) && file != systemFiles.end() &&
           file->second == NewVersion && !corruptCopies.count(second);
  }
  void RemoveFile(const char* path) override {
    calls.push_back(std::string("delete ") + path);
    if (!locked.count(path)) systemFiles.erase(path);
  }
  // A held file is not written, and the copy still reports success, as
  // Wine's copy into a folder does.
  int RunFileOperation(const CopyRequest& request) override {
    requests.push_back(request);
    bool fromClosed = false, toClosed = false;
    const std::string from = ReadPathList(request.from, sizeof request.from, &fromClosed);
    const std::string to = ReadPathList(request.to, sizeof request.to, &toClosed);
    calls.push_back("copy " + from + " into " + to);
    if (duringCopy) duringCopy();
    if (failingSources.count(from) || unreadable.count(from)) return 0x402;
    const std::string target = to + from.substr(from.rfind('\\') + 1);
    if (!locked.count(target)) systemFiles[target] = NewVersion;
    return 0;
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
