#include "setup/installation.h"

namespace navo::setup {

const char* const InstallFiles[InstallFileCount] = {
    "navo.av",  "navo.ime", "navo.mb",    "navo.ud",     "RtNavo.exe",
    "navo.hlp", "navo.cnt", "navoOp.chm", "DodaZor.chm", "NvCodeFind.exe"};

const size_t CopyOrder[InstallFileCount] = {5, 6, 0, 1, 2, 3, 4, 7, 8, 9};

const char* const InputMethodModule = "navo.ime";
const char* const LayoutText = "Navo输入法2.0白金版";

namespace {

using DirectoryReader = size_t (InstallPlatform::*)(char* buffer, size_t size);

// Reads a directory and ends it with a backslash. False when it cannot be
// read or does not fit.
bool ReadDirectory(InstallPlatform& platform, DirectoryReader read,
                   char (&directory)[PathBufferSize]) {
  const size_t length = (platform.*read)(directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) {
    directory[0] = '\0';
    return false;
  }
  return EndWithBackslash(directory, sizeof directory);
}

void NoteFailure(InstallReport& report, const char* name) {
  report.failed[report.failedCount++] = name;
}

// Copies one file; its path in the system directory must fit as well, or the
// file could not be deleted nor found there afterwards.
void CopyOneFile(InstallPlatform& platform, const char* sourceDirectory,
                 const char* systemDirectory, const char* name, InstallReport& report) {
  char source[PathBufferSize];
  char target[PathBufferSize];
  CopyRequest request;
  request.operation = FileOperationCopy;
  const bool fits = JoinPath(sourceDirectory, name, source, sizeof source) &&
                    JoinPath(systemDirectory, name, target, sizeof target) &&
                    MakePathList(source, request.from, sizeof request.from) &&
                    MakePathList(systemDirectory, request.to, sizeof request.to);
  if (!fits) {
    platform.Beep();
    NoteFailure(report, name);
    return;
  }
  if (!CopyFileToDirectory(platform, request)) NoteFailure(report, name);
}

// Run from the system directory: the file is there or it is not installed,
// told as a failed copy would be.
void CheckInPlace(InstallPlatform& platform, const char* systemDirectory, const char* name,
                  InstallReport& report) {
  char path[PathBufferSize];
  if (JoinPath(systemDirectory, name, path, sizeof path) && platform.FileExists(path)) return;
  platform.Beep();
  NoteFailure(report, name);
}

}  // namespace

bool CopyFileToDirectory(InstallPlatform& platform, CopyRequest& request) {
  request.flags = 0;
  if (platform.RunFileOperation(request) == 0) return true;
  platform.Beep();
  return false;
}

bool RunInstallation(InstallPlatform& platform, InstallReport& report) {
  report = InstallReport{};
  char sourceDirectory[PathBufferSize];
  char systemDirectory[PathBufferSize];
  if (!ReadDirectory(platform, &InstallPlatform::ReadCurrentDirectory, sourceDirectory) ||
      !ReadDirectory(platform, &InstallPlatform::ReadSystemDirectory, systemDirectory)) {
    return false;
  }

  // Run from the system directory, the files are there already: deleting
  // them would destroy the very files to be copied.
  report.alreadyInPlace = SameDirectoryText(sourceDirectory, systemDirectory) ||
                          platform.IsSameDirectory(sourceDirectory, systemDirectory);
  if (report.alreadyInPlace) {
    for (size_t index : CopyOrder)
      CheckInPlace(platform, systemDirectory, InstallFiles[index], report);
  } else {
    for (const char* name : InstallFiles) {
      char path[PathBufferSize];
      if (JoinPath(systemDirectory, name, path, sizeof path)) platform.RemoveFile(path);
    }
    for (size_t index : CopyOrder) {
      CopyOneFile(platform, sourceDirectory, systemDirectory, InstallFiles[index], report);
    }
  }

  char modulePath[PathBufferSize];
  if (JoinPath(systemDirectory, InputMethodModule, modulePath, sizeof modulePath)) {
    platform.InstallInputMethod(modulePath, LayoutText);
  }
  report.ranToEnd = true;
  return true;
}

}  // namespace navo::setup
