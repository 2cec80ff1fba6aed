// The installation step's Win32 platform, in UTF-16 throughout.
#include "setup/shell/win32_install_platform.h"

#include <imm.h>
#include <shellapi.h>

#include <cstring>

#include "common/gbk_wide.h"
#include "common/system_directory.h"

namespace navo::setup {

static_assert(FileOperationCopy == FO_COPY, "the copy request names FO_COPY");

namespace {

// The identity of a directory on disk: its volume and its file index.
bool DirectoryIdentity(const wchar_t* path, BY_HANDLE_FILE_INFORMATION* identity) {
  HANDLE handle = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const BOOL known = GetFileInformationByHandle(handle, identity);
  CloseHandle(handle);
  return known != FALSE;
}

// Read access shared with other readers only: a file that another program is
// writing is not taken for a finished one.
HANDLE OpenForReading(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads until the buffer is full or the file ends: the bytes read, or -1 on
// a read error.
long ReadFull(HANDLE file, unsigned char* buffer, DWORD size) {
  DWORD total = 0;
  while (total < size) {
    DWORD got = 0;
    if (!ReadFile(file, buffer + total, size - total, &got, nullptr)) return -1;
    if (got == 0) break;
    total += got;
  }
  return static_cast<long>(total);
}

bool SameBytes(HANDLE first, HANDLE second) {
  LARGE_INTEGER firstSize, secondSize;
  if (!GetFileSizeEx(first, &firstSize) || !GetFileSizeEx(second, &secondSize) ||
      firstSize.QuadPart != secondSize.QuadPart) {
    return false;
  }
  unsigned char a[8192], b[8192];
  for (;;) {
    const long gotA = ReadFull(first, a, sizeof a);
    const long gotB = ReadFull(second, b, sizeof b);
    if (gotA < 0 || gotA != gotB || std::memcmp(a, b, gotA) != 0) return false;
    if (gotA == 0) return true;
  }
}

}  // namespace

size_t Win32InstallPlatform::ReadCurrentDirectory(wchar_t* buffer, size_t size) {
  return GetCurrentDirectoryW(static_cast<DWORD>(size), buffer);
}

size_t Win32InstallPlatform::ReadSystemDirectory(wchar_t* buffer, size_t size) {
  return navo::ReadSystemDirectory(buffer, size);
}

bool Win32InstallPlatform::IsSameDirectory(const wchar_t* first, const wchar_t* second) {
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!DirectoryIdentity(first, &a) || !DirectoryIdentity(second, &b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

bool Win32InstallPlatform::FindFile(const wchar_t* path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  stamp.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.writeTime = (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool Win32InstallPlatform::CanOpenForReading(const wchar_t* path) {
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool Win32InstallPlatform::SameContents(const wchar_t* first, const wchar_t* second) {
  HANDLE a = OpenForReading(first);
  if (a == INVALID_HANDLE_VALUE) return false;
  HANDLE b = OpenForReading(second);
  const bool same = b != INVALID_HANDLE_VALUE && SameBytes(a, b);
  if (b != INVALID_HANDLE_VALUE) CloseHandle(b);
  CloseHandle(a);
  return same;
}

void Win32InstallPlatform::RemoveFile(const wchar_t* path) { DeleteFileW(path); }

int Win32InstallPlatform::RunFileOperation(const CopyRequest& request) {
  SHFILEOPSTRUCTW operation = {};
  operation.hwnd = dialog_;
  operation.wFunc = request.operation;
  operation.pFrom = request.from;
  operation.pTo = request.to;
  operation.fFlags = static_cast<FILEOP_FLAGS>(request.flags);
  operation.fAnyOperationsAborted = FALSE;
  operation.hNameMappings = nullptr;
  operation.lpszProgressTitle = nullptr;
  return SHFileOperationW(&operation);
}

void Win32InstallPlatform::Beep() { MessageBeep(MB_OK); }

void Win32InstallPlatform::InstallInputMethod(const wchar_t* modulePath, const char* layoutText) {
  wchar_t text[64];
  GbkToWide(layoutText, text, sizeof text / sizeof text[0]);
  ImmInstallIMEW(modulePath, text);
}

}  // namespace navo::setup
