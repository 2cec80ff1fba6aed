// The installation step: the ten files of the input method checked, their
// old copies deleted from the system directory, the new ones copied there
// from the current directory and compared with their sources, and the input
// method module registered with the input method manager.
#pragma once

#include <cstddef>

#include "setup/install_paths.h"

namespace navo::setup {

constexpr size_t InstallFileCount = 10;

// The installation list in deletion order.
extern const char* const InstallFiles[InstallFileCount];
// The same ten files in copy order, as indexes into InstallFiles: the help
// files come first, the lookup program last.
extern const size_t CopyOrder[InstallFileCount];

extern const char* const InputMethodModule;  // "navo.ime"
// The layout text of the registration, GBK as every text of the system; the
// platform hands it to Windows in UTF-16.
extern const char* const LayoutText;

// FO_COPY of the platform's file operations.
constexpr unsigned FileOperationCopy = 2;

// One copy request, field for field what the platform's file operation
// takes; the paths are lists closed by an empty entry.
struct CopyRequest {
  unsigned operation = 0;
  wchar_t from[PathBufferSize + 1] = {};
  wchar_t to[PathBufferSize + 1] = {};
  unsigned flags = 0;
};

// What tells one version of a file from another without reading it: its
// size and the time it was last written.
struct FileStamp {
  unsigned long long size = 0;
  unsigned long long writeTime = 0;
  bool operator==(const FileStamp& other) const {
    return size == other.size && writeTime == other.writeTime;
  }
};

// What the step needs of the platform. The file operation's windows
// (confirmations, progress, errors) have the progress dialog as parent.
class InstallPlatform {
 public:
  // As GetCurrentDirectoryW and GetSystemDirectoryW: the length of the path
  // in units, 0 on failure, or the size it would need when it does not fit.
  virtual size_t ReadCurrentDirectory(wchar_t* buffer, size_t size) = 0;
  virtual size_t ReadSystemDirectory(wchar_t* buffer, size_t size) = 0;
  // True when both paths lead to one directory on disk whatever their
  // spelling; false when they do not, or when it cannot be told.
  virtual bool IsSameDirectory(const wchar_t* first, const wchar_t* second) = 0;
  // True, with its stamp, when the path names a file (not a directory).
  virtual bool FindFile(const wchar_t* path, FileStamp& stamp) = 0;
  // True when the file exists and can be opened for reading now.
  virtual bool CanOpenForReading(const wchar_t* path) = 0;
  // True when both files can be read and hold the same bytes.
  virtual bool SameContents(const wchar_t* first, const wchar_t* second) = 0;
  // The result does not matter: a missing file is the usual case.
  virtual void RemoveFile(const wchar_t* path) = 0;
  // 0 when the operation succeeded.
  virtual int RunFileOperation(const CopyRequest& request) = 0;
  virtual void Beep() = 0;
  // The result does not matter.
  virtual void InstallInputMethod(const wchar_t* modulePath, const char* layoutText) = 0;

 protected:
  ~InstallPlatform() = default;
};

// What the system directory holds of a file that was not installed.
enum class LeftInPlace {
  EarlierCopy,  // the copy that was there before the run, unchanged
  Nothing,      // no file of that name
  Unverified,   // a file that is neither the earlier copy nor a verified new one
};

struct NotInstalled {
  const char* name = nullptr;
  LeftInPlace left = LeftInPlace::Nothing;
};

struct InstallReport {
  bool ranToEnd = false;        // false: a directory could not be read, nothing done
  bool alreadyInPlace = false;  // run from the system directory: nothing deleted or copied
  size_t failedCount = 0;       // files not installed, in copy order
  NotInstalled failed[InstallFileCount];
};

// Completes a request whose operation, from and to are filled, runs it and
// beeps once when it fails. True when the platform reports the copy done.
bool CopyFileToDirectory(InstallPlatform& platform, CopyRequest& request);

// The whole step. Stops before touching anything, and reports false, when
// the current or the system directory cannot be read or does not fit its
// buffer with a trailing backslash.
//
// Each file is checked before anything is deleted: both its paths fit and
// its source can be read. A file that fails is neither deleted nor copied,
// beeps once where its copy would have come, and is not installed. A copy
// counts only when the file in the system directory then holds the bytes of
// its source; one that does not beeps once and is not installed. The module
// is registered when a navo.ime is in the system directory at the end.
//
// Run from the system directory itself, nothing is deleted or copied; a file
// missing there beeps and counts as not installed.
bool RunInstallation(InstallPlatform& platform, InstallReport& report);

}  // namespace navo::setup
