// The installation step: the ten files of the input method checked, their
// old copies deleted from the system directory, the new ones copied there
// from the current directory and compared with their sources, and the input
// method module registered with the input method manager.
#pragma once

#include <cstddef>

#include "setup/install_paths.h"
#include "setup/platform.h"

namespace navo::setup {

constexpr size_t InstallFileCount = 10;

// The installation list in deletion order.
extern const char* const InstallFiles[InstallFileCount];
// The ten files by name, each its place in InstallFiles.
enum InstallFile : size_t {
  NavoAv,
  NavoIme,
  NavoMb,
  NavoUd,
  RtNavoExe,
  NavoHlp,
  NavoCnt,
  NavoOpChm,
  DodaZorChm,
  NvCodeFindExe,
};
// The same ten files in copy order: the help files come first, the lookup
// program last.
extern const InstallFile CopyOrder[InstallFileCount];

extern const char* const InputMethodModule;  // "navo.ime"
// The layout text of the registration, GBK as every text of the system; the
// platform hands it to Windows in UTF-16.
extern const char* const LayoutText;

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
