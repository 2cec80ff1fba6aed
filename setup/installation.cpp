// The installation list in its two orders, and the installation step.
#include "setup/installation.h"

#include "setup/setup_texts.h"

namespace navo::setup {

const char* const InstallFiles[InstallFileCount] = {
    "navo.av",  "navo.ime", "navo.mb",    "navo.ud",     "RtNavo.exe",
    "navo.hlp", "navo.cnt", "navoOp.chm", "DodaZor.chm", "NvCodeFind.exe"};

const InstallFile CopyOrder[InstallFileCount] = {NavoHlp,    NavoCnt,      NavoAv,    NavoIme,
                                                 NavoMb,     NavoUd,       RtNavoExe, NavoOpChm,
                                                 DodaZorChm, NvCodeFindExe};

const char* const InputMethodModule = "navo.ime";
const char* const LayoutText = gbk::Layout;

namespace {

using DirectoryReader = size_t (InstallPlatform::*)(wchar_t* buffer, size_t size);

// Reads a directory and ends it with a backslash. False when it cannot be
// read or does not fit.
bool ReadDirectory(InstallPlatform& platform, DirectoryReader read,
                   wchar_t (&directory)[PathBufferSize]) {
  const size_t length = (platform.*read)(directory, PathBufferSize);
  if (length == 0 || length >= PathBufferSize) {
    directory[0] = L'\0';
    return false;
  }
  return EndWithBackslash(directory, PathBufferSize);
}

// One file of the list through the step.
struct FileState {
  wchar_t source[PathBufferSize] = {};
  wchar_t target[PathBufferSize] = {};  // its path in the system directory
  bool ready = false;                   // checked: may be deleted and copied
  bool hadEarlierCopy = false;
  FileStamp earlierCopy;
  bool installed = false;
};

// Both paths fit and the source can be read; what the system directory holds
// of the file is noted before anything changes there.
void CheckFile(InstallPlatform& platform, const wchar_t* sourceDirectory,
               const wchar_t* systemDirectory, const char* name, FileState& file) {
  const bool targetFits = JoinPath(systemDirectory, name, file.target, PathBufferSize);
  if (targetFits) file.hadEarlierCopy = platform.FindFile(file.target, file.earlierCopy);
  file.ready = targetFits && JoinPath(sourceDirectory, name, file.source, PathBufferSize) &&
               platform.CanOpenForReading(file.source);
}

// True when the platform reports the copy done.
bool CopyOneFile(InstallPlatform& platform, const wchar_t* systemDirectory, const FileState& file) {
  CopyRequest request;
  request.operation = FileOperationCopy;
  // Both fit: the paths fit their buffers, the lists have one unit more.
  MakePathList(file.source, request.from, PathBufferSize + 1);
  MakePathList(systemDirectory, request.to, PathBufferSize + 1);
  return CopyFileToDirectory(platform, request);
}

LeftInPlace WhatIsLeft(InstallPlatform& platform, const FileState& file) {
  FileStamp now;
  if (file.target[0] == L'\0' || !platform.FindFile(file.target, now)) return LeftInPlace::Nothing;
  return file.hadEarlierCopy && now == file.earlierCopy ? LeftInPlace::EarlierCopy
                                                        : LeftInPlace::Unverified;
}

void NoteFailure(InstallReport& report, const char* name, LeftInPlace left) {
  report.failed[report.failedCount++] = NotInstalled{name, left};
}

// Run from the system directory: the file is there or it is not installed,
// told as a failed copy would be.
void CheckInPlace(InstallPlatform& platform, const wchar_t* systemDirectory, const char* name,
                  InstallReport& report) {
  wchar_t path[PathBufferSize];
  FileStamp stamp;
  if (JoinPath(systemDirectory, name, path, PathBufferSize) && platform.FindFile(path, stamp))
    return;
  platform.Beep();
  NoteFailure(report, name, LeftInPlace::Nothing);
}

void InstallFromSource(InstallPlatform& platform, const wchar_t* sourceDirectory,
                       const wchar_t* systemDirectory, InstallReport& report) {
  FileState files[InstallFileCount];
  // Nothing is deleted before every file has been checked.
  for (size_t i = 0; i < InstallFileCount; ++i)
    CheckFile(platform, sourceDirectory, systemDirectory, InstallFiles[i], files[i]);
  for (const FileState& file : files) {
    if (file.ready) platform.RemoveFile(file.target);
  }
  bool copied[InstallFileCount] = {};
  for (size_t index : CopyOrder) {
    if (files[index].ready)
      copied[index] = CopyOneFile(platform, systemDirectory, files[index]);
    else
      platform.Beep();  // as a failed copy does
  }
  // A reported copy is trusted only once the file in place is its source's.
  for (size_t index : CopyOrder) {
    if (!copied[index]) continue;
    files[index].installed = platform.SameContents(files[index].source, files[index].target);
    if (!files[index].installed) platform.Beep();
  }
  for (size_t index : CopyOrder) {
    if (!files[index].installed)
      NoteFailure(report, InstallFiles[index], WhatIsLeft(platform, files[index]));
  }
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
  wchar_t sourceDirectory[PathBufferSize];
  wchar_t systemDirectory[PathBufferSize];
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
    InstallFromSource(platform, sourceDirectory, systemDirectory, report);
  }

  // The module registered is the one in the system directory, new or kept.
  wchar_t modulePath[PathBufferSize];
  FileStamp stamp;
  if (JoinPath(systemDirectory, InputMethodModule, modulePath, PathBufferSize) &&
      platform.FindFile(modulePath, stamp)) {
    platform.InstallInputMethod(modulePath, LayoutText);
  }
  report.ranToEnd = true;
  return true;
}

}  // namespace navo::setup
