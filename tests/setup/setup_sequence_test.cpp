// The installer's run from start to exit with fakes for the main window, the
// progress dialog, the shell and the installation platform: the order and
// nesting of every step, and what a run that did not install leaves out.
#include "setup/setup_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/setup/recording_platform.h"

namespace navo::setup::testing {
namespace {

// One log for everything, so that the test sees the order across fakes.
using Log = std::vector<std::string>;

class FakeDialog final : public ProgressDialog {
 public:
  explicit FakeDialog(Log& log) : log_(log) {}
  int result = -1;
  bool ended = false;
  bool timerRunning = false;
  bool measurable = true;
  WaitingTextLayout layout{120, 146, 400, 230};  // as the template lays it out: it fits
  bool MeasureWaitingText(WaitingTextLayout& measured) override {
    log_.push_back("measure the waiting text");
    measured = layout;
    return measurable;
  }
  void ApplyWaitingTextFit(const WaitingTextFit& fit) override {
    log_.push_back("widen: text " + std::to_string(fit.controlWidth) + ", dialog " +
                   std::to_string(fit.dialogWidth) + " from " + std::to_string(fit.dialogLeft));
  }
  void StartTimer() override {
    log_.push_back("start timer");
    timerRunning = true;
  }
  void StopTimer() override {
    log_.push_back("stop timer");
    timerRunning = false;
  }
  void End(int value) override {
    log_.push_back("end dialog " + std::to_string(value));
    result = value;
    ended = true;
  }

 private:
  Log& log_;
};

class FakeHelpShell final : public HelpShell {
 public:
  explicit FakeHelpShell(Log& log) : log_(log) {}
  std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
  bool systemDirectoryFails = false;
  std::set<std::string> missing;
  size_t ReadSystemDirectory(wchar_t* buffer, size_t size) override {
    log_.push_back("system directory for help, " + std::to_string(size));
    const std::wstring directory = Wide(systemDirectory);
    if (systemDirectoryFails) return 0;
    if (directory.size() + 1 > size) return directory.size() + 1;
    std::wmemcpy(buffer, directory.c_str(), directory.size() + 1);
    return directory.size();
  }
  bool FileExists(const wchar_t* path) override { return !missing.count(Utf8(path)); }
  void OpenHelp(const wchar_t* path) override { log_.push_back("open help " + Utf8(path)); }
  void Quit(int exitCode) override { log_.push_back("quit " + std::to_string(exitCode)); }

 private:
  Log& log_;
};

// The user's part while the dialog is up: events delivered to the dialog
// procedure in turn, as its modal loop would.
enum class Event { Tick, Enter, Esc, OtherCommand };

class FakeWindow final : public SetupWindow {
 public:
  FakeWindow(Log& log, SetupRun& run, RecordingPlatform& platform, FakeHelpShell& help)
      : log_(log), run_(run), platform_(platform), help_(help), dialog_(log) {}
  std::vector<Event> events;
  bool dialogFails = false;
  MessageIcon icon = MessageIcon::None;

  void Show() override { log_.push_back("show normally"); }
  int RunProgressDialog() override {
    log_.push_back("dialog");
    if (dialogFails) return -1;
    OnDialogInit(run_, dialog_);
    for (Event event : events) {
      if (dialog_.ended) break;
      switch (event) {
        case Event::Tick:
          log_.push_back("tick");
          OnDialogTimer(run_, dialog_, platform_);
          break;
        case Event::Enter:
          log_.push_back("Enter");
          OnDialogCommand(run_, dialog_, 1);
          break;
        case Event::Esc:
          log_.push_back("Esc");
          OnDialogCommand(run_, dialog_, 2);
          break;
        case Event::OtherCommand:
          log_.push_back("command 3");
          OnDialogCommand(run_, dialog_, 3);
          break;
      }
    }
    log_.push_back("dialog returns");
    return dialog_.ended ? dialog_.result : 0;
  }
  void ShowMessage(const char* text, MessageIcon messageIcon) override {
    log_.push_back(std::string("message ") + text);
    icon = messageIcon;
  }
  // SendMessageA: handled before it returns.
  void Close() override {
    log_.push_back("close");
    OnMainWindowClose(run_, help_);
    log_.push_back("close returns");
  }
  FakeDialog& dialog() { return dialog_; }

 private:
  Log& log_;
  SetupRun& run_;
  RecordingPlatform& platform_;
  FakeHelpShell& help_;
  FakeDialog dialog_;
};

class SetupSequenceTest : public ::testing::Test {
 protected:
  // Runs the main window's creation with the user's events.
  void Run(std::vector<Event> events) {
    window.events = std::move(events);
    OnMainWindowCreate(run, window);
  }
  Log log;
  SetupRun run;
  RecordingPlatform platform;
  FakeHelpShell help{log};
  FakeWindow window{log, run, platform, help};
};

TEST_F(SetupSequenceTest, OrdinaryRunInstallsConfirmsAndOpensTheHelpFromTheSystemDirectory) {
  platform.duringCopy = [this] { log.push_back("copying"); };
  Run({Event::Tick});
  Log expected = {"show normally", "dialog", "measure the waiting text",
                  "start timer",   "tick",   "stop timer"};
  for (int i = 0; i < 10; ++i) expected.push_back("copying");
  expected.insert(expected.end(),
                  {"end dialog 1", "dialog returns", "message 安装完毕，欢迎使用！", "close",
                   "system directory for help, 260", "open help C:\\WINDOWS\\SYSTEM32\\navo.hlp",
                   "quit 0", "close returns"});
  EXPECT_EQ(log, expected);
  EXPECT_EQ(window.icon, MessageIcon::None);
  EXPECT_EQ(platform.Effects().size(), 21u);
  EXPECT_FALSE(window.dialog().timerRunning);
  EXPECT_EQ(run.stage, SetupStage::Ended);
}

TEST_F(SetupSequenceTest, AWaitingTextWiderThanItsControlWidensItBeforeTheTimerStarts) {
  window.dialog().layout = WaitingTextLayout{160, 146, 400, 230};
  Run({Event::Tick});
  EXPECT_EQ(Log(log.begin(), log.begin() + 5),
            (Log{"show normally", "dialog", "measure the waiting text",
                 "widen: text 160, dialog 244 from 393", "start timer"}));
}

TEST_F(SetupSequenceTest, AWaitingTextThatCannotBeMeasuredLeavesTheDialogAsItIs) {
  window.dialog().layout = WaitingTextLayout{160, 146, 400, 230};
  window.dialog().measurable = false;
  Run({Event::Tick});
  EXPECT_EQ(log[3], "start timer");
  EXPECT_EQ(platform.Effects().size(), 21u);
}

TEST_F(SetupSequenceTest, TheStepRunsOnlyAtTheFirstTick) {
  platform.duringCopy = [this] { log.push_back("copying"); };
  // A second tick that was already on its way when the first one ran.
  OnDialogInit(run, window.dialog());
  OnDialogTimer(run, window.dialog(), platform);
  OnDialogTimer(run, window.dialog(), platform);
  EXPECT_EQ(platform.Effects().size(), 21u);
  EXPECT_EQ(std::count(log.begin(), log.end(), "stop timer"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "end dialog 1"), 1);
}

TEST_F(SetupSequenceTest, EscBeforeTheFirstTickInstallsNothingAndClaimsNothing) {
  Run({Event::Esc, Event::Tick});
  EXPECT_EQ(log, (Log{"show normally", "dialog", "measure the waiting text", "start timer", "Esc",
                      "end dialog 0", "dialog returns", "close", "quit 2", "close returns"}));
  EXPECT_TRUE(platform.calls.empty());
}

TEST_F(SetupSequenceTest, EnterBeforeTheFirstTickInstallsNothingAndClaimsNothing) {
  Run({Event::Enter, Event::Tick});
  EXPECT_EQ(log, (Log{"show normally", "dialog", "measure the waiting text", "start timer", "Enter",
                      "end dialog 0", "dialog returns", "close", "quit 2", "close returns"}));
  EXPECT_TRUE(platform.calls.empty());
}

TEST_F(SetupSequenceTest, OtherCommandsAreIgnored) {
  Run({Event::OtherCommand, Event::Tick});
  EXPECT_EQ(std::count(log.begin(), log.end(), "end dialog 1"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "end dialog 0"), 0);
}

TEST_F(SetupSequenceTest, AnUnreadableDirectoryLeavesTheDialogIdleUntilEscAndClaimsNothing) {
  platform.systemDirectoryFails = true;
  Run({Event::Tick, Event::Tick, Event::Esc});
  EXPECT_EQ(log, (Log{"show normally", "dialog", "measure the waiting text", "start timer", "tick",
                      "stop timer", "tick", "Esc", "end dialog 0", "dialog returns", "close",
                      "quit 2", "close returns"}));
  // The step ran once and stopped at the system directory.
  EXPECT_EQ(platform.calls, (Log{"current directory", "system directory"}));
}

TEST_F(SetupSequenceTest, EnterAndEscAreIgnoredWhileTheStepRuns) {
  platform.duringCopy = [this] {
    OnDialogCommand(run, window.dialog(), 2);
    OnDialogCommand(run, window.dialog(), 1);
  };
  Run({Event::Tick});
  EXPECT_EQ(platform.Effects().size(), 21u);
  EXPECT_EQ(std::count(log.begin(), log.end(), "end dialog 0"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "end dialog 1"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "message 安装完毕，欢迎使用！"), 1);
}

TEST_F(SetupSequenceTest, FailedCopiesBeepAndTheFinalMessageNamesTheFilesNotInstalled) {
  platform.failingSources = {"D:\\NAVO20\\navo.mb", "D:\\NAVO20\\RtNavo.exe"};
  Run({Event::Tick});
  const Log effects = platform.Effects();
  EXPECT_EQ(std::count(effects.begin(), effects.end(), "beep"), 2);
  EXPECT_EQ(log, (Log{"show normally", "dialog", "measure the waiting text", "start timer", "tick",
                      "stop timer", "end dialog 1", "dialog returns",
                      "message 安装未完成，以下文件未能安装：\nnavo.mb（无）\nRtNavo.exe（无）",
                      "close", "system directory for help, 260",
                      "open help C:\\WINDOWS\\SYSTEM32\\navo.hlp", "quit 1", "close returns"}));
  EXPECT_EQ(window.icon, MessageIcon::Warning);
}

// Every old copy is deleted before the first copy, so a copy that fails
// then (a full disk, a file another program holds) leaves no copy of its
// file at all, and the message says so.
TEST(SetupSequence, ACopyThatFailsAfterItsOldCopyWasDeletedLeavesNone) {
  // GBK of "安装未完成，以下文件未能安装：" and of "（无）".
  const std::string incomplete =
      "\xB0\xB2\xD7\xB0\xCE\xB4\xCD\xEA\xB3\xC9\xA3\xAC\xD2\xD4\xCF\xC2\xCE\xC4\xBC\xFE\xCE\xB4"
      "\xC4\xDC\xB0\xB2\xD7\xB0\xA3\xBA";
  const std::string none = "\xA3\xA8\xCE\xDE\xA3\xA9";
  struct Case {
    const char* what;
    std::vector<std::string> failing;  // in copy order
    std::string quit;
  };
  const Case cases[] = {
      {"one copy fails", {"navo.mb"}, "quit 1"},
      {"every copy fails: a full disk",
       {"navo.hlp", "navo.cnt", "navo.av", "navo.ime", "navo.mb", "navo.ud", "RtNavo.exe",
        "navoOp.chm", "DodaZor.chm", "NvCodeFind.exe"},
       "quit 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Log log;
    SetupRun run;
    RecordingPlatform platform;
    FakeHelpShell help{log};
    FakeWindow window{log, run, platform, help};
    platform.InstallEarlierCopies();
    std::string message = "message " + incomplete;
    for (const std::string& name : c.failing) {
      platform.failingSources.insert("D:\\NAVO20\\" + name);
      help.missing.insert(platform.SystemPath(name));
      message += "\n" + name + none;
    }
    window.events = {Event::Tick};
    OnMainWindowCreate(run, window);

    const Log effects = platform.Effects();
    for (const std::string& name : c.failing) {
      const auto deleted =
          std::find(effects.begin(), effects.end(), "delete C:\\WINDOWS\\SYSTEM32\\" + name);
      const auto copy = std::find(effects.begin(), effects.end(),
                                  "copy D:\\NAVO20\\" + name + " into C:\\WINDOWS\\SYSTEM32\\");
      EXPECT_LT(deleted, copy) << name << ": its old copy is deleted before its copy is tried";
      ASSERT_NE(copy, effects.end()) << name;
      ASSERT_NE(copy + 1, effects.end()) << name;
      EXPECT_EQ(copy[1], "beep") << name;
      EXPECT_EQ(platform.systemFiles.count(platform.SystemPath(name)), 0u) << name;
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), message), 1);
    EXPECT_EQ(window.icon, MessageIcon::Warning);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], c.quit);
  }
}

TEST_F(SetupSequenceTest, RunFromTheSystemDirectoryTheCompletionMessageStands) {
  platform.currentDirectory = "C:\\WINDOWS\\SYSTEM32";
  platform.InstallEarlierCopies();
  Run({Event::Tick});
  EXPECT_EQ(platform.Effects(),
            (Log{"register C:\\WINDOWS\\SYSTEM32\\navo.ime Navo输入法2.0白金版"}));
  EXPECT_EQ(std::count(log.begin(), log.end(), "message 安装完毕，欢迎使用！"), 1);
  EXPECT_EQ(window.icon, MessageIcon::None);
}

TEST_F(SetupSequenceTest, WithoutTheSystemDirectoryAtCloseNoHelpIsOpenedAndTheRunStillEnds) {
  help.systemDirectoryFails = true;
  Run({Event::Tick});
  EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
            (Log{"close", "system directory for help, 260", "quit 0", "close returns"}));
}

TEST_F(SetupSequenceTest, AHelpPathThatWouldNotFitIsNotOpened) {
  help.systemDirectory = "C:\\" + std::string(250, 's');  // 254 with the backslash
  Run({Event::Tick});
  for (const std::string& entry : log) EXPECT_NE(entry.rfind("open help", 0), 0u) << entry;
  EXPECT_EQ(log.back(), "close returns");
  EXPECT_EQ(log[log.size() - 2], "quit 0");
}

TEST_F(SetupSequenceTest, NoHelpIsOpenedWhenNavoHlpIsNotInTheSystemDirectory) {
  help.missing = {"C:\\WINDOWS\\SYSTEM32\\navo.hlp"};
  Run({Event::Tick});
  EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
            (Log{"close", "system directory for help, 260", "quit 0", "close returns"}));
}

TEST_F(SetupSequenceTest, ADialogThatCannotBeShownEndsTheRunWithoutAMessage) {
  window.dialogFails = true;
  Run({});
  EXPECT_EQ(log, (Log{"show normally", "dialog", "close", "quit 2", "close returns"}));
  EXPECT_TRUE(platform.calls.empty());
}

TEST(FinalMessage, TheCompletionMessageWhenEveryFileWasInstalled) {
  InstallReport report;
  report.ranToEnd = true;
  char text[FinalMessageSize];
  EXPECT_EQ(ComposeFinalMessage(report, text, sizeof text), MessageIcon::None);
  EXPECT_STREQ(text, "安装完毕，欢迎使用！");
  EXPECT_STREQ(text,
               "\xB0\xB2\xD7\xB0\xCD\xEA\xB1\xCF\xA3\xAC\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3\xA3\xA1");
}

TEST(FinalMessage, EachFileNotInstalledIsNamedWithWhatIsLeftOfIt) {
  InstallReport report;
  report.ranToEnd = true;
  report.failed[report.failedCount++] = {"navo.mb", LeftInPlace::EarlierCopy};
  report.failed[report.failedCount++] = {"navo.ud", LeftInPlace::Nothing};
  report.failed[report.failedCount++] = {"NvCodeFind.exe", LeftInPlace::Unverified};
  char text[FinalMessageSize];
  EXPECT_EQ(ComposeFinalMessage(report, text, sizeof text), MessageIcon::Warning);
  EXPECT_STREQ(text,
               "安装未完成，以下文件未能安装：\nnavo.mb（保留原有文件）\nnavo.ud（无）"
               "\nNvCodeFind.exe（现有文件未经核实）");
}

TEST(FinalMessage, AllTenNamesFitWithTheLongestNote) {
  InstallReport report;
  report.ranToEnd = true;
  for (size_t i = 0; i < InstallFileCount; ++i)
    report.failed[report.failedCount++] = {InstallFiles[i], LeftInPlace::Unverified};
  char text[FinalMessageSize];
  EXPECT_EQ(ComposeFinalMessage(report, text, sizeof text), MessageIcon::Warning);
  std::string expected = "安装未完成，以下文件未能安装：";
  for (const char* name : InstallFiles) expected += std::string("\n") + name + CopyUnverified;
  EXPECT_EQ(text, expected);
}

TEST(FinalMessage, ASmallBufferIsNeverOverrun) {
  InstallReport report;
  report.failed[report.failedCount++] = {"NvCodeFind.exe", LeftInPlace::Nothing};
  char text[40];
  std::memset(text, '#', sizeof text);
  ComposeFinalMessage(report, text, 35);
  EXPECT_EQ(std::string(text), "安装未完成，以下文件未能安装：");
  EXPECT_EQ(text[35], '#');
}

TEST(FitWaitingText, WidensTheControlAndTheDialogByWhatIsMissingAroundTheSameCentre) {
  struct Case {
    WaitingTextLayout layout;
    WaitingTextFit fit;
  };
  const Case cases[] = {
      {{120, 146, 400, 230}, {false, 146, 400, 230}},  // fits: nothing moves
      {{146, 146, 400, 230}, {false, 146, 400, 230}},  // exactly
      {{147, 146, 400, 230}, {true, 147, 400, 231}},   // one pixel more
      {{160, 146, 400, 230}, {true, 160, 393, 244}},
      {{161, 146, 400, 230}, {true, 161, 393, 245}},  // the odd pixel to the right
  };
  for (const Case& c : cases) {
    const WaitingTextFit fit = FitWaitingText(c.layout);
    SCOPED_TRACE(c.layout.textWidth);
    EXPECT_EQ(fit.widened, c.fit.widened);
    EXPECT_EQ(fit.controlWidth, c.fit.controlWidth);
    EXPECT_EQ(fit.dialogLeft, c.fit.dialogLeft);
    EXPECT_EQ(fit.dialogWidth, c.fit.dialogWidth);
  }
}

TEST(SetupExitCode, TellsAllSomeOrNothingInstalled) {
  struct Case {
    const char* what;
    bool ranToEnd;
    bool alreadyInPlace;
    size_t notInstalled;
    int exitCode;
  };
  const Case cases[] = {
      {"all ten installed", true, false, 0, 0},
      {"one not installed", true, false, 1, 1},
      {"none of the ten installed", true, false, 10, 2},
      {"the step did not run: Esc, or a directory unreadable", false, false, 0, 2},
      {"from the system directory, all there", true, true, 0, 0},
      {"from the system directory, one missing", true, true, 1, 1},
      {"from the system directory, all missing", true, true, 10, 1},
  };
  for (const Case& c : cases) {
    SetupRun run;
    run.report.ranToEnd = c.ranToEnd;
    run.report.alreadyInPlace = c.alreadyInPlace;
    run.report.failedCount = c.notInstalled;
    EXPECT_EQ(SetupExitCode(run), c.exitCode) << c.what;
  }
}

// Start-up with a main window whose creation runs (or not) the whole
// installation, as the real one does.
class FakeStartup final : public SetupStartup {
 public:
  FakeStartup(Log& log, SetupRun& run) : log_(log), run_(run) {}
  bool registers = true;
  bool creates = true;
  bool installsWhileCreated = false;
  bool RegisterMainWindowClass() override { return log_.push_back("class"), registers; }
  bool CreateMainWindow() override {
    log_.push_back("window");
    if (installsWhileCreated) run_.report.ranToEnd = true;  // all ten installed
    return creates;
  }
  void ShowMainWindow() override { log_.push_back("show"); }
  int RunMessageLoop() override { return log_.push_back("loop"), 1; }

 private:
  Log& log_;
  SetupRun& run_;
};

TEST(StartSetup, ClassWindowShownLoopAndTheExitCodeOfEachWayOut) {
  struct Case {
    const char* what;
    bool registers, creates, installsWhileCreated;
    Log calls;
    int exitCode;
  };
  const Case cases[] = {
      {"a window: the loop's code", true, true, true, {"class", "window", "show", "loop"}, 1},
      {"no class: nothing installed", false, true, false, {"class"}, 2},
      {"no window: nothing installed", true, false, false, {"class", "window"}, 2},
      {"gone when its creation returns: the run's", true, false, true, {"class", "window"}, 0},
  };
  for (const Case& c : cases) {
    Log log;
    SetupRun run;
    FakeStartup startup(log, run);
    startup.registers = c.registers;
    startup.creates = c.creates;
    startup.installsWhileCreated = c.installsWhileCreated;
    EXPECT_EQ(StartSetup(run, startup), c.exitCode) << c.what;
    EXPECT_EQ(log, c.calls) << c.what;
  }
}

}  // namespace
}  // namespace navo::setup::testing
