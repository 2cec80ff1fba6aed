// A recording installation platform: directories as the test sets them, a
// system directory whose files the calls change as Windows would, every call
// written down in order, and the faults a test chooses.
#pragma once

#include <cstring>
#include <cwchar>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/installation.h"

namespace navo::setup::testing {

// Paths cross the platform in UTF-16 (UTF-32 natively); the tests write
// and read them as UTF-8.
inline std::string Utf8(const std::wstring& wide) {
  std::string out;
  for (size_t i = 0; i < wide.size(); ++i) {
    unsigned long c = static_cast<unsigned long>(wide[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size())  // a UTF-16 surrogate pair
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(wide[++i]) - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

inline std::wstring Wide(const std::string& utf8) {
  std::wstring out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    unsigned long c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += 1 + extra;
    if (c >= 0x10000 && sizeof(wchar_t) == 2) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

// One path list: the path, then the empty entry closing the list.
inline std::string ReadPathList(const wchar_t* list, size_t size, bool* closed) {
  const size_t length = wcsnlen(list, size);
  *closed = length + 1 < size && list[length + 1] == L'\0';
  return Utf8(std::wstring(list, length));
}

// Write times of the files a fake platform holds.
constexpr unsigned long long EarlierVersion = 1;
constexpr unsigned long long NewVersion = 2;

class RecordingPlatform final : public InstallPlatform {
 public:
  // UTF-8 here, UTF-16 to the step.
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

  size_t ReadCurrentDirectory(wchar_t* buffer, size_t size) override {
    calls.push_back("current directory");
    return Fill(currentDirectory, currentDirectoryFails, buffer, size);
  }
  size_t ReadSystemDirectory(wchar_t* buffer, size_t size) override {
    calls.push_back("system directory");
    return Fill(systemDirectory, systemDirectoryFails, buffer, size);
  }
  bool IsSameDirectory(const wchar_t* first, const wchar_t* second) override {
    calls.push_back("same directory? " + Utf8(first) + " " + Utf8(second));
    return sameDirectoryOnDisk;
  }
  bool FindFile(const wchar_t* path, FileStamp& stamp) override {
    calls.push_back("find " + Utf8(path));
    const auto file = systemFiles.find(Utf8(path));
    if (file == systemFiles.end()) return false;
    stamp = FileStamp{100, file->second};
    return true;
  }
  bool CanOpenForReading(const wchar_t* path) override {
    calls.push_back("readable? " + Utf8(path));
    return !unreadable.count(Utf8(path));
  }
  bool SameContents(const wchar_t* first, const wchar_t* second) override {
    const std::string source = Utf8(first), target = Utf8(second);
    calls.push_back("compare " + source + " " + target);
    const auto file = systemFiles.find(target);
    return !unreadable.count(source) && !locked.count(target) && file != systemFiles.end() &&
           file->second == NewVersion && !corruptCopies.count(target);
  }
  void RemoveFile(const wchar_t* path) override {
    calls.push_back("delete " + Utf8(path));
    if (!locked.count(Utf8(path))) systemFiles.erase(Utf8(path));
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
  // The layout text as the step holds it, GBK.
  void InstallInputMethod(const wchar_t* modulePath, const char* layoutText) override {
    calls.push_back("register " + Utf8(modulePath) + " " + layoutText);
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
  // As the platform's directory calls: the length in units, 0 on failure,
  // or the size needed (with the NUL) when the buffer is too small, which is
  // then left untouched.
  size_t Fill(const std::string& utf8, bool fails, wchar_t* buffer, size_t size) {
    bufferSizes.push_back(size);
    if (fails) return 0;
    const std::wstring path = Wide(utf8);
    if (path.size() + 1 > size) return path.size() + 1;
    std::wmemcpy(buffer, path.c_str(), path.size() + 1);
    return path.size();
  }
};

}  // namespace navo::setup::testing
