// The installation step's platform on Windows, in UTF-16 throughout: the
// current and system directories, file attributes and reading, DeleteFileW,
// SHFileOperationW with the progress dialog as the parent of its windows,
// MessageBeep and ImmInstallIMEW.
#pragma once

#include <windows.h>

#include "setup/installation.h"

namespace navo::setup {

class Win32InstallPlatform final : public InstallPlatform {
 public:
  explicit Win32InstallPlatform(HWND dialog) : dialog_(dialog) {}

  size_t ReadCurrentDirectory(wchar_t* buffer, size_t size) override;
  size_t ReadSystemDirectory(wchar_t* buffer, size_t size) override;
  bool IsSameDirectory(const wchar_t* first, const wchar_t* second) override;
  bool FindFile(const wchar_t* path, FileStamp& stamp) override;
  bool CanOpenForReading(const wchar_t* path) override;
  bool SameContents(const wchar_t* first, const wchar_t* second) override;
  void RemoveFile(const wchar_t* path) override;
  int RunFileOperation(const CopyRequest& request) override;
  void Beep() override;
  void InstallInputMethod(const wchar_t* modulePath, const char* layoutText) override;

 private:
  HWND dialog_;
};

}  // namespace navo::setup
