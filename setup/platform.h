// Everything the installer's core needs of the platform: for the
// installation step the directories, the files, the copy operation, the
// beep and the registration; for the run the start-up, the progress
// dialog, the full-screen window and the shell that opens the help file. shell/
// implements them on Win32; the tests record them.
#pragma once

#include <cstddef>

#include "common/program_startup.h"
#include "setup/install_paths.h"
#include "setup/waiting_text_fit.h"

namespace navo::setup {

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

enum class MessageIcon { None, Warning };

// The progress dialog "正在安装，请稍候……".
class ProgressDialog {
 public:
  // The waiting text's control and the dialog as they are now, the text
  // measured in the control's own font. False when they cannot be measured.
  virtual bool MeasureWaitingText(WaitingTextLayout& layout) = 0;
  // Widens the text's control and moves and widens the dialog.
  virtual void ApplyWaitingTextFit(const WaitingTextFit& fit) = 0;
  // Timer ProgressTimerId every ProgressTimerPeriod ms, its ticks arriving
  // as messages to the dialog.
  virtual void StartTimer() = 0;
  virtual void StopTimer() = 0;
  virtual void End(int result) = 0;

 protected:
  ~ProgressDialog() = default;
};

// The full-screen main window.
class SetupWindow {
 public:
  // Shown normally, whatever the program's start asked for.
  virtual void Show() = 0;
  // Runs the dialog modally, owned by this window: its result, or -1 when it
  // cannot be shown.
  virtual int RunProgressDialog() = 0;
  // A message box owned by this window with the program's title as caption
  // and one OK button, its GBK text shown in UTF-16; returns when the user
  // has closed it.
  virtual void ShowMessage(const char* text, MessageIcon icon) = 0;
  // Asks the window to close; handled before the call returns.
  virtual void Close() = 0;

 protected:
  ~SetupWindow() = default;
};

// What closing needs: the help file opened by the shell, the end of the run.
class HelpShell {
 public:
  // As GetSystemDirectoryW.
  virtual size_t ReadSystemDirectory(wchar_t* buffer, size_t size) = 0;
  // True when the path names a file (not a directory).
  virtual bool FileExists(const wchar_t* path) = 0;
  // Without waiting for the viewer; the result does not matter.
  virtual void OpenHelp(const wchar_t* path) = 0;
  // The message loop ends and the program exits with this code.
  virtual void Quit(int exitCode) = 0;

 protected:
  ~HelpShell() = default;
};

// The start-up's steps: the main window's class and window as every
// program's (the whole run happens while the window is created), then the
// window shown.
class SetupStartup : public MainWindowStartup {
 public:
  // Shown normally, whatever the program's start asked for.
  virtual void ShowMainWindow() = 0;

 protected:
  ~SetupStartup() = default;
};

}  // namespace navo::setup
