// The installation step's platform on Windows: the current and system
// directories, file attributes and reading, DeleteFileA, SHFileOperationA
// with the progress dialog as the parent of its windows, MessageBeep and
// ImmInstallIMEA.
#pragma once

#include <windows.h>

#include "setup/installation.h"

namespace navo::setup {

class Win32InstallPlatform final : public InstallPlatform {
 public:
  explicit Win32InstallPlatform(HWND dialog) : dialog_(dialog) {}

  size_t ReadCurrentDirectory(char* buffer, size_t size) override;
  size_t ReadSystemDirectory(char* buffer, size_t size) override;
  bool IsSameDirectory(const char* first, const char* second) override;
  bool FindFile(const char* path, FileStamp& stamp) override;
  bool CanOpenForReading(const char* path) override;
  bool SameContents(const char* first, const char* second) override;
  void RemoveFile(const char* path) override;
  int RunFileOperation(const CopyRequest& request) override;
  void Beep() override;
  void InstallInputMethod(const char* modulePath, const char* layoutText) override;

 private:
  HWND dialog_;
};

}  // namespace navo::setup
