// The installer's run from start to exit: the backdrop, the progress dialog
// and its timer, the installation step at the first tick, the final message,
// and the closing that opens the help file from the system directory.
//
// Everything nests inside the main window's creation: its handler shows the
// backdrop and runs the dialog modally; the dialog's timer runs the step; the
// final message and the synchronous close follow when the dialog has ended.
#pragma once

#include <cstddef>

#include "setup/installation.h"
#include "setup/platform.h"
#include "setup/waiting_text_fit.h"

namespace navo::setup {

constexpr unsigned ProgressTimerId = 100;
constexpr unsigned ProgressTimerPeriod = 1000;  // milliseconds
constexpr int CommandOk = 1;                    // Enter
constexpr int CommandCancel = 2;                // Esc
constexpr int DialogInstalled = 1;              // the dialog's result after the step
constexpr int DialogAbandoned = 0;              // ... after Enter or Esc

extern const char* const CompletionMessage;  // all ten files installed
extern const char* const IncompleteMessage;  // heads the list of files not installed
// After the name of a file not installed: what the system directory holds.
extern const char* const EarlierCopyKept;  // its earlier copy, unchanged
extern const char* const NoCopyLeft;       // none
extern const char* const CopyUnverified;   // a file that is neither
extern const char* const HelpFileName;

// The program's exit code, for a script or a deployment tool that runs it.
constexpr int ExitAllInstalled = 0;
constexpr int ExitSomeNotInstalled = 1;
constexpr int ExitNothingInstalled = 2;

// The stages of one run; none is entered twice.
enum class SetupStage {
  Starting,     // the main window is being created
  Backdrop,     // the full-screen window is shown
  Waiting,      // the dialog is up, its timer running
  Installing,   // the first tick came; the timer is stopped
  Idle,         // the step stopped early; only Enter or Esc ends the dialog
  DialogEnded,  // the dialog has ended
  Confirming,   // the final message is shown
  Closing,      // the main window is closing
  Ended,        // the quit request is posted
};

struct SetupRun {
  SetupStage stage = SetupStage::Starting;
  InstallReport report;
};

// Room for the longest final message: the heading and all ten names, each
// with what is left of it.
constexpr size_t FinalMessageSize = 512;

// The final message after the step ran to the end: the completion message,
// or, when files were not installed, the heading and their names one a line,
// each followed by what the system directory holds of it, with a warning
// icon.
MessageIcon ComposeFinalMessage(const InstallReport& report, char* text, size_t size);

// ExitAllInstalled when all ten files are installed (run from the system
// directory: are there), ExitNothingInstalled when the step did not run or
// installed none, ExitSomeNotInstalled otherwise.
int SetupExitCode(const SetupRun& run);

// The installer's start-up, in the shape of every program's
// (common/program_startup.h): class, window (within whose creation the
// whole run happens), shown, message loop. The window no longer exists when
// its creation returns, which may then report failure; the exit code is the
// run's either way, and ExitNothingInstalled when there was no window.
int StartSetup(SetupRun& run, SetupStartup& startup);

// The main window's creation: backdrop, dialog, final message, close.
void OnMainWindowCreate(SetupRun& run, SetupWindow& window);
// The main window's close request: the help file when the installation ran
// and navo.hlp is in the system directory, then the quit request with the
// run's exit code, whatever happened before.
void OnMainWindowClose(SetupRun& run, HelpShell& shell);

// The waiting text made to fit its control, then the timer started.
void OnDialogInit(SetupRun& run, ProgressDialog& dialog);
// Any tick: the step runs once, at the first; the timer is stopped first.
void OnDialogTimer(SetupRun& run, ProgressDialog& dialog, InstallPlatform& platform);
// Enter or Esc end the dialog, except while the step runs; other commands
// are ignored.
void OnDialogCommand(SetupRun& run, ProgressDialog& dialog, int command);

}  // namespace navo::setup
