#include "setup/win32_install_platform.h"

#include <imm.h>
#include <shellapi.h>

namespace navo::setup {

static_assert(FileOperationCopy == FO_COPY, "the copy request names FO_COPY");

namespace {

// The identity of a directory on disk: its volume and its file index.
bool DirectoryIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* identity) {
  HANDLE handle = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const BOOL known = GetFileInformationByHandle(handle, identity);
  CloseHandle(handle);
  return known != FALSE;
}

}  // namespace

size_t Win32InstallPlatform::ReadCurrentDirectory(char* buffer, size_t size) {
  return GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
}

size_t Win32InstallPlatform::ReadSystemDirectory(char* buffer, size_t size) {
  return GetSystemDirectoryA(buffer, static_cast<UINT>(size));
}

bool Win32InstallPlatform::IsSameDirectory(const char* first, const char* second) {
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!DirectoryIdentity(first, &a) || !DirectoryIdentity(second, &b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

bool Win32InstallPlatform::FileExists(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32InstallPlatform::RemoveFile(const char* path) { DeleteFileA(path); }

int Win32InstallPlatform::RunFileOperation(const CopyRequest& request) {
  SHFILEOPSTRUCTA operation = {};
  operation.hwnd = dialog_;
  operation.wFunc = request.operation;
  operation.pFrom = request.from;
  operation.pTo = request.to;
  operation.fFlags = static_cast<FILEOP_FLAGS>(request.flags);
  operation.fAnyOperationsAborted = FALSE;
  operation.hNameMappings = nullptr;
  operation.lpszProgressTitle = nullptr;
  return SHFileOperationA(&operation);
}

void Win32InstallPlatform::Beep() { MessageBeep(MB_OK); }

void Win32InstallPlatform::InstallInputMethod(const char* modulePath, const char* layoutText) {
  ImmInstallIMEA(modulePath, layoutText);
}

}  // namespace navo::setup
