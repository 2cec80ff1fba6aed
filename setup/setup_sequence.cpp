// The installer's run from its start-up to its exit code.
#include "setup/setup_sequence.h"

#include <cstring>

#include "setup/setup_texts.h"

namespace navo::setup {

const char* const CompletionMessage = gbk::Completion;
const char* const IncompleteMessage = gbk::Incomplete;
const char* const EarlierCopyKept = gbk::EarlierCopyKept;
const char* const NoCopyLeft = gbk::NoCopyLeft;
const char* const CopyUnverified = gbk::CopyUnverified;
const char* const HelpFileName = "navo.hlp";

namespace {

// Appends text if it fits with the NUL; false otherwise.
bool Append(char* out, size_t size, const char* text) {
  const size_t used = std::strlen(out);
  const size_t length = std::strlen(text);
  if (used + length + 1 > size) return false;
  std::memcpy(out + used, text, length + 1);
  return true;
}

bool Installed(const SetupRun& run) {
  return run.stage == SetupStage::Confirming && run.report.ranToEnd;
}

class SetupProgramStartup final : public ProgramStartup {
 public:
  SetupProgramStartup(SetupRun& run, SetupStartup& platform) : run_(run), platform_(platform) {}

  int ExitCodeWithoutWindow() override { return SetupExitCode(run_); }
  void BeforeMainWindow() override {}
  bool WithMainWindow() override {
    platform_.ShowMainWindow();
    return true;
  }

 private:
  SetupRun& run_;
  SetupStartup& platform_;
};

const char* WhatIsLeftText(LeftInPlace left) {
  switch (left) {
    case LeftInPlace::EarlierCopy:
      return EarlierCopyKept;
    case LeftInPlace::Nothing:
      return NoCopyLeft;
    case LeftInPlace::Unverified:
      break;
  }
  return CopyUnverified;
}

}  // namespace

MessageIcon ComposeFinalMessage(const InstallReport& report, char* text, size_t size) {
  if (size == 0) return MessageIcon::None;
  text[0] = '\0';
  if (report.failedCount == 0) {
    Append(text, size, CompletionMessage);
    return MessageIcon::None;
  }
  Append(text, size, IncompleteMessage);
  for (size_t i = 0; i < report.failedCount; ++i) {
    const char* name = report.failed[i].name;
    const char* left = WhatIsLeftText(report.failed[i].left);
    // A line goes in whole, or not at all.
    if (std::strlen(text) + 1 + std::strlen(name) + std::strlen(left) + 1 > size) break;
    Append(text, size, "\n");
    Append(text, size, name);
    Append(text, size, left);
  }
  return MessageIcon::Warning;
}

int SetupExitCode(const SetupRun& run) {
  const InstallReport& report = run.report;
  if (!report.ranToEnd) return ExitNothingInstalled;
  if (report.failedCount == 0) return ExitAllInstalled;
  // Run from the system directory there is nothing to install.
  if (!report.alreadyInPlace && report.failedCount == InstallFileCount) return ExitNothingInstalled;
  return ExitSomeNotInstalled;
}

int StartSetup(SetupRun& run, SetupStartup& startup) {
  SetupProgramStartup program(run, startup);
  return StartProgram(startup, program);
}

void OnMainWindowCreate(SetupRun& run, SetupWindow& window) {
  run.stage = SetupStage::Backdrop;
  window.Show();
  const int result = window.RunProgressDialog();
  run.stage = SetupStage::DialogEnded;
  // A run that ended without installing claims nothing.
  if (result == DialogInstalled && run.report.ranToEnd) {
    run.stage = SetupStage::Confirming;
    char text[FinalMessageSize];
    const MessageIcon icon = ComposeFinalMessage(run.report, text, sizeof text);
    window.ShowMessage(text, icon);
  }
  window.Close();
}

void OnMainWindowClose(SetupRun& run, HelpShell& shell) {
  const bool installed = Installed(run);
  run.stage = SetupStage::Closing;
  if (installed) {
    wchar_t directory[PathBufferSize];
    wchar_t helpPath[PathBufferSize];
    const size_t length = shell.ReadSystemDirectory(directory, PathBufferSize);
    // Without the system directory or the file there is no help to open.
    if (length > 0 && length < PathBufferSize && EndWithBackslash(directory, PathBufferSize) &&
        JoinPath(directory, HelpFileName, helpPath, PathBufferSize) && shell.FileExists(helpPath)) {
      shell.OpenHelp(helpPath);
    }
  }
  shell.Quit(SetupExitCode(run));
  run.stage = SetupStage::Ended;
}

void OnDialogInit(SetupRun& run, ProgressDialog& dialog) {
  WaitingTextLayout layout;
  if (dialog.MeasureWaitingText(layout)) {
    const WaitingTextFit fit = FitWaitingText(layout);
    if (fit.widened) dialog.ApplyWaitingTextFit(fit);
  }
  run.stage = SetupStage::Waiting;
  dialog.StartTimer();
}

void OnDialogTimer(SetupRun& run, ProgressDialog& dialog, InstallPlatform& platform) {
  if (run.stage != SetupStage::Waiting) return;
  dialog.StopTimer();
  run.stage = SetupStage::Installing;
  if (RunInstallation(platform, run.report)) {
    run.stage = SetupStage::DialogEnded;
    dialog.End(DialogInstalled);
  } else {
    run.stage = SetupStage::Idle;
  }
}

void OnDialogCommand(SetupRun& run, ProgressDialog& dialog, int command) {
  if (command != CommandOk && command != CommandCancel) return;
  if (run.stage != SetupStage::Waiting && run.stage != SetupStage::Idle) return;
  run.stage = SetupStage::DialogEnded;
  dialog.End(DialogAbandoned);
}

}  // namespace navo::setup
