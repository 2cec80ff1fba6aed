// The installation step against a recording platform: the exact calls and
// their order, the copy requests, the early stop, the beeps, the checks that
// come before any deletion, the comparison of each copy with its source, and
// the guards for a run from the system directory and for paths too long to
// hold.
#include "setup/installation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/setup/recording_platform.h"

namespace navo::setup::testing {
namespace {

const std::string Sys = "C:\\WINDOWS\\SYSTEM32\\";
const std::string Src = "D:\\NAVO20\\";
const std::string Layout = "Navo输入法2.0白金版";

std::vector<std::string> Deletions(const std::string& sys) {
  std::vector<std::string> calls;
  for (const char* name : {"navo.av", "navo.ime", "navo.mb", "navo.ud", "RtNavo.exe", "navo.hlp",
                           "navo.cnt", "navoOp.chm", "DodaZor.chm", "NvCodeFind.exe"})
    calls.push_back("delete " + sys + name);
  return calls;
}

std::vector<std::string> CopyOrderNames() {
  return {"navo.hlp", "navo.cnt",   "navo.av",    "navo.ime",    "navo.mb",
          "navo.ud",  "RtNavo.exe", "navoOp.chm", "DodaZor.chm", "NvCodeFind.exe"};
}

std::string CopyCall(const std::string& src, const std::string& name, const std::string& sys) {
  return "copy " + src + name + " into " + sys;
}

std::vector<std::string> FullSequence(const std::string& src, const std::string& sys) {
  std::vector<std::string> calls = Deletions(sys);
  for (const std::string& name : CopyOrderNames()) calls.push_back(CopyCall(src, name, sys));
  calls.push_back("register " + sys + "navo.ime " + Layout);
  return calls;
}

TEST(InstallList, TenFilesInBothOrders) {
  std::vector<std::string> deletion(InstallFiles, InstallFiles + InstallFileCount);
  EXPECT_EQ(deletion, (std::vector<std::string>{"navo.av", "navo.ime", "navo.mb", "navo.ud",
                                                "RtNavo.exe", "navo.hlp", "navo.cnt", "navoOp.chm",
                                                "DodaZor.chm", "NvCodeFind.exe"}));
  std::vector<std::string> copy;
  for (size_t index : CopyOrder) copy.push_back(InstallFiles[index]);
  EXPECT_EQ(copy, CopyOrderNames());
  EXPECT_STREQ(LayoutText, "Navo输入法2.0白金版");
  EXPECT_STREQ(LayoutText,
               "Navo\xCA\xE4\xC8\xEB\xB7\xA8"
               "2.0\xB0\xD7\xBD\xF0\xB0\xE6");
}

TEST(RunInstallation, FirstInstallationMakesTheTwentyOneCallsInOrder) {
  RecordingPlatform platform;
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  EXPECT_EQ(platform.Effects(), FullSequence(Src, Sys));
  EXPECT_EQ(platform.Effects().size(), 21u);
  EXPECT_EQ(platform.calls.front(), "current directory");
  EXPECT_EQ(platform.calls[1], "system directory");
  EXPECT_TRUE(report.ranToEnd);
  EXPECT_FALSE(report.alreadyInPlace);
  EXPECT_EQ(report.failedCount, 0u);
}

TEST(RunInstallation, DirectoriesAreReadInto260UnitBuffers) {
  RecordingPlatform platform;
  InstallReport report;
  RunInstallation(platform, report);
  EXPECT_EQ(platform.bufferSizes, (std::vector<size_t>{260, 260}));
}

TEST(RunInstallation, EachCopyRequestIsAnFoCopyWithoutFlagsAndClosedPathLists) {
  RecordingPlatform platform;
  InstallReport report;
  RunInstallation(platform, report);
  ASSERT_EQ(platform.requests.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    const CopyRequest& request = platform.requests[i];
    EXPECT_EQ(request.operation, 2u);  // FO_COPY
    EXPECT_EQ(request.flags, 0u);
    bool fromClosed = false, toClosed = false;
    EXPECT_EQ(ReadPathList(request.from, PathBufferSize + 1, &fromClosed),
              Src + CopyOrderNames()[i]);
    EXPECT_EQ(ReadPathList(request.to, PathBufferSize + 1, &toClosed), Sys);
    EXPECT_TRUE(fromClosed);
    EXPECT_TRUE(toClosed);
  }
}

TEST(RunInstallation, StopsWithFalseWhenADirectoryCannotBeRead) {
  for (const bool currentFails : {true, false}) {
    SCOPED_TRACE(currentFails ? "the current directory" : "the system directory");
    RecordingPlatform platform;
    platform.currentDirectoryFails = currentFails;
    platform.systemDirectoryFails = !currentFails;
    InstallReport report;
    EXPECT_FALSE(RunInstallation(platform, report));
    EXPECT_TRUE(platform.Effects().empty());
    EXPECT_FALSE(report.ranToEnd);
  }
}

TEST(RunInstallation, AFailedCopyBeepsOnceAndTheOtherFilesAreStillCopied) {
  RecordingPlatform platform;
  platform.failingSources = {Src + "navo.mb"};
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  std::vector<std::string> expected = FullSequence(Src, Sys);
  const auto mbCopy = std::find(expected.begin(), expected.end(), CopyCall(Src, "navo.mb", Sys));
  expected.insert(mbCopy + 1, "beep");
  EXPECT_EQ(platform.Effects(), expected);
  ASSERT_EQ(report.failedCount, 1u);
  EXPECT_STREQ(report.failed[0].name, "navo.mb");
}

TEST(RunInstallation, EveryFailedCopyBeepsAndIsReportedInCopyOrder) {
  RecordingPlatform platform;
  platform.failingSources = {Src + "NvCodeFind.exe", Src + "navo.hlp", Src + "navo.ime"};
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  const std::vector<std::string> effects = platform.Effects();
  EXPECT_EQ(std::count(effects.begin(), effects.end(), "beep"), 3);
  // A first installation without its module registers none.
  EXPECT_EQ(effects.back(), "beep");
  ASSERT_EQ(report.failedCount, 3u);
  EXPECT_STREQ(report.failed[0].name, "navo.hlp");
  EXPECT_STREQ(report.failed[1].name, "navo.ime");
  EXPECT_STREQ(report.failed[2].name, "NvCodeFind.exe");
}

TEST(RunInstallation, NoSecondBackslashForADriveRootOrASystemDirectoryEndingWithOne) {
  RecordingPlatform platform;
  platform.currentDirectory = "D:\\";
  platform.systemDirectory = "C:\\WINNT\\SYSTEM32\\";
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  EXPECT_EQ(platform.Effects(), FullSequence("D:\\", "C:\\WINNT\\SYSTEM32\\"));
}

TEST(RunInstallation, AFolderNamedInChineseJapaneseAndCyrillicKeepsEveryCharacter) {
  RecordingPlatform platform;
  const std::string folder = u8"D:\\安装 ファイル Папка";
  platform.currentDirectory = folder;
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  EXPECT_EQ(platform.Effects(), FullSequence(folder + "\\", Sys));
  EXPECT_EQ(report.failedCount, 0u);
}

TEST(RunInstallation, RunFromTheSystemDirectoryNothingIsDeletedOrCopiedButTheModuleRegistered) {
  RecordingPlatform platform;
  platform.InstallEarlierCopies();
  platform.currentDirectory = "c:\\windows\\system32";  // another spelling of the same
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  EXPECT_EQ(platform.Effects(),
            (std::vector<std::string>{"register " + Sys + "navo.ime " + Layout}));
  EXPECT_TRUE(report.alreadyInPlace);
  EXPECT_EQ(report.failedCount, 0u);
}

TEST(RunInstallation, RunFromTheSystemDirectoryAFileMissingThereCountsAsNotInstalled) {
  RecordingPlatform platform;
  platform.currentDirectory = "C:\\WINDOWS\\SYSTEM32";
  platform.InstallEarlierCopies();
  platform.systemFiles.erase(Sys + "navo.mb");
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  EXPECT_EQ(platform.Effects(),
            (std::vector<std::string>{"beep", "register " + Sys + "navo.ime " + Layout}));
  std::vector<std::string> checked;
  for (const std::string& call : platform.calls)
    if (call.rfind("find ", 0) == 0) checked.push_back(call.substr(5));
  std::vector<std::string> expected;
  for (const std::string& name : CopyOrderNames()) expected.push_back(Sys + name);
  expected.push_back(Sys + "navo.ime");  // before the registration
  EXPECT_EQ(checked, expected);
  ASSERT_EQ(report.failedCount, 1u);
  EXPECT_STREQ(report.failed[0].name, "navo.mb");
  EXPECT_EQ(report.failed[0].left, LeftInPlace::Nothing);
}

TEST(RunInstallation, RunFromTheSystemDirectoryUnderAnotherNameOnDisk) {
  RecordingPlatform platform;
  platform.currentDirectory = "C:\\WINDOWS\\SYSTE~1";
  platform.sameDirectoryOnDisk = true;
  platform.InstallEarlierCopies();
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  EXPECT_EQ(platform.calls[2], "same directory? C:\\WINDOWS\\SYSTE~1\\ " + Sys);
  EXPECT_EQ(platform.Effects(),
            (std::vector<std::string>{"register " + Sys + "navo.ime " + Layout}));
  EXPECT_TRUE(report.alreadyInPlace);
}

TEST(RunInstallation, AFolderInsideTheSystemDirectoryIsNotTheSystemDirectory) {
  RecordingPlatform platform;
  platform.currentDirectory = "C:\\WINDOWS\\SYSTEM32\\NAVO";
  InstallReport report;
  RunInstallation(platform, report);
  EXPECT_EQ(platform.Effects(), FullSequence("C:\\WINDOWS\\SYSTEM32\\NAVO\\", Sys));
  EXPECT_FALSE(report.alreadyInPlace);
}

// Over an earlier installation, a file whose copy source does not fit its
// 260-byte buffer is neither deleted nor copied: it beeps where its copy
// would have come, and its earlier copy stays.
TEST(RunInstallation, AFileWhoseSourcePathDoesNotFitKeepsItsEarlierCopy) {
  struct Case {
    size_t folderLength;  // the source folder, without its backslash
    std::vector<std::string> notInstalled;
  };
  const Case cases[] = {
      {244, {}},  // 244 + 1 + 14 = 259 bytes, and the NUL
      {245, {"NvCodeFind.exe"}},
      {247, {"NvCodeFind.exe"}},
      {250, {"RtNavo.exe", "navoOp.chm", "DodaZor.chm", "NvCodeFind.exe"}},
      {258, CopyOrderNames()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folderLength);
    RecordingPlatform platform;
    platform.InstallEarlierCopies();
    platform.currentDirectory = "D:\\" + std::string(c.folderLength - 3, 'x');
    const std::string src = platform.currentDirectory + "\\";
    InstallReport report;
    EXPECT_TRUE(RunInstallation(platform, report));

    auto fits = [&](const std::string& name) {
      return std::find(c.notInstalled.begin(), c.notInstalled.end(), name) == c.notInstalled.end();
    };
    std::vector<std::string> expected;
    for (const std::string& call : Deletions(Sys))
      if (fits(call.substr(7 + Sys.size()))) expected.push_back(call);
    for (const std::string& name : CopyOrderNames())
      expected.push_back(fits(name) ? CopyCall(src, name, Sys) : "beep");
    expected.push_back("register " + Sys + "navo.ime " + Layout);
    EXPECT_EQ(platform.Effects(), expected);

    ASSERT_EQ(report.failedCount, c.notInstalled.size());
    for (size_t i = 0; i < report.failedCount; ++i) {
      EXPECT_EQ(report.failed[i].name, c.notInstalled[i]);
      EXPECT_EQ(report.failed[i].left, LeftInPlace::EarlierCopy);
      EXPECT_EQ(platform.systemFiles[Sys + c.notInstalled[i]], EarlierVersion);
    }
  }
}

TEST(RunInstallation, EveryFileIsCheckedBeforeTheFirstDeletion) {
  RecordingPlatform platform;
  platform.InstallEarlierCopies();
  InstallReport report;
  RunInstallation(platform, report);
  const auto firstDeletion =
      std::find_if(platform.calls.begin(), platform.calls.end(),
                   [](const std::string& c) { return c.rfind("delete", 0) == 0; });
  std::vector<std::string> checked;
  for (auto call = platform.calls.begin(); call != firstDeletion; ++call)
    if (call->rfind("readable? ", 0) == 0) checked.push_back(call->substr(10));
  std::vector<std::string> expected;
  for (const char* name : InstallFiles) expected.push_back(Src + name);
  EXPECT_EQ(checked, expected);
}

// Faults over an earlier installation: what is deleted, what beeps, what the
// report names, and what the system directory holds afterwards.
TEST(RunInstallation, AFileNotInstalledIsNamedWithWhatIsLeftOfIt) {
  enum Fault { MissingSource, HeldOpen, CopyFails, CopyDiffers };
  struct Case {
    const char* what;
    Fault fault;
    bool earlierInstallation;
    bool deleted;       // its deletion is attempted
    bool copied;        // its copy is attempted
    size_t beepsAfter;  // beeps after the copies (a copy found wrong)
    LeftInPlace left;
    unsigned long long versionLeft;  // 0: no file
  };
  const Case cases[] = {
      {"missing source", MissingSource, true, false, false, 0, LeftInPlace::EarlierCopy,
       EarlierVersion},
      {"missing source, first installation", MissingSource, false, false, false, 0,
       LeftInPlace::Nothing, 0},
      {"held open without sharing", HeldOpen, true, true, true, 1, LeftInPlace::EarlierCopy,
       EarlierVersion},
      {"copy fails after the deletion", CopyFails, true, true, true, 0, LeftInPlace::Nothing, 0},
      {"copy reports success, other bytes", CopyDiffers, true, true, true, 1,
       LeftInPlace::Unverified, NewVersion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingPlatform platform;
    if (c.earlierInstallation) platform.InstallEarlierCopies();
    const std::string source = Src + "navo.ud", target = Sys + "navo.ud";
    switch (c.fault) {
      case MissingSource:
        platform.unreadable.insert(source);
        break;
      case HeldOpen:
        platform.locked.insert(target);
        break;
      case CopyFails:
        platform.failingSources.insert(source);
        break;
      case CopyDiffers:
        platform.corruptCopies.insert(target);
        break;
    }
    InstallReport report;
    EXPECT_TRUE(RunInstallation(platform, report));

    std::vector<std::string> expected;
    for (const std::string& call : Deletions(Sys))
      if (c.deleted || call != "delete " + target) expected.push_back(call);
    for (const std::string& name : CopyOrderNames()) {
      if (name != "navo.ud") {
        expected.push_back(CopyCall(Src, name, Sys));
        continue;
      }
      if (c.copied) expected.push_back(CopyCall(Src, name, Sys));
      // A copy that is not made or fails beeps at once.
      if (!c.copied || c.fault == CopyFails) expected.push_back("beep");
    }
    for (size_t i = 0; i < c.beepsAfter; ++i) expected.push_back("beep");
    expected.push_back("register " + Sys + "navo.ime " + Layout);
    EXPECT_EQ(platform.Effects(), expected);

    ASSERT_EQ(report.failedCount, 1u);
    EXPECT_STREQ(report.failed[0].name, "navo.ud");
    EXPECT_EQ(report.failed[0].left, c.left);
    const auto left = platform.systemFiles.find(target);
    EXPECT_EQ(left == platform.systemFiles.end() ? 0 : left->second, c.versionLeft);
  }
}

TEST(RunInstallation, TheModuleIsRegisteredWhenANavoImeIsInTheSystemDirectory) {
  struct Case {
    bool earlierInstallation;
    bool moduleInSource;
    bool registered;
  };
  for (const Case& c : {Case{false, true, true}, Case{false, false, false}, Case{true, false, true},
                        Case{true, true, true}}) {
    SCOPED_TRACE(::testing::Message() << c.earlierInstallation << c.moduleInSource);
    RecordingPlatform platform;
    if (c.earlierInstallation) platform.InstallEarlierCopies();
    if (!c.moduleInSource) platform.unreadable.insert(Src + "navo.ime");
    InstallReport report;
    RunInstallation(platform, report);
    EXPECT_EQ(platform.Effects().back() == "register " + Sys + "navo.ime " + Layout, c.registered);
  }
}

TEST(RunInstallation, APathTooLongInTheSystemDirectoryIsNeitherDeletedNorCopied) {
  RecordingPlatform platform;
  platform.systemDirectory = "C:\\" + std::string(247, 's');
  const std::string sys = platform.systemDirectory + "\\";  // 251 bytes
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));

  std::vector<std::string> expected;
  for (const std::string& call : Deletions(sys))
    if (call.size() - 7 <= 259) expected.push_back(call);
  for (const std::string& name : CopyOrderNames()) {
    if (sys.size() + name.size() <= 259)
      expected.push_back(CopyCall(Src, name, sys));
    else
      expected.push_back("beep");
  }
  expected.push_back("register " + sys + "navo.ime " + Layout);
  EXPECT_EQ(platform.Effects(), expected);
  EXPECT_EQ(report.failedCount, 4u);  // every name longer than eight bytes
  EXPECT_EQ(report.failed[0].left, LeftInPlace::Nothing);
}

TEST(RunInstallation, NoRegistrationWhenTheModulePathDoesNotFit) {
  RecordingPlatform platform;
  platform.systemDirectory = "C:\\" + std::string(252, 's');  // 256 with the backslash
  InstallReport report;
  EXPECT_TRUE(RunInstallation(platform, report));
  for (const std::string& call : platform.Effects()) EXPECT_NE(call.rfind("register", 0), 0u);
  EXPECT_EQ(report.failedCount, 10u);
  EXPECT_TRUE(report.ranToEnd);
}

TEST(RunInstallation, ACurrentDirectoryWithNoRoomForItsBackslashStopsBeforeAnyDeletion) {
  RecordingPlatform platform;
  platform.currentDirectory = "D:\\" + std::string(256, 'x');  // 259 bytes
  InstallReport report;
  EXPECT_FALSE(RunInstallation(platform, report));
  EXPECT_TRUE(platform.Effects().empty());
}

TEST(RunInstallation, ADirectoryLongerThanItsBufferStopsBeforeAnyDeletion) {
  RecordingPlatform platform;
  platform.systemDirectory = "C:\\" + std::string(300, 's');
  InstallReport report;
  EXPECT_FALSE(RunInstallation(platform, report));
  EXPECT_TRUE(platform.Effects().empty());
  EXPECT_FALSE(report.ranToEnd);
}

class BeepCounter final : public InstallPlatform {
 public:
  int result = 0;
  int beeps = 0;
  unsigned flagsSeen = 99;
  size_t ReadCurrentDirectory(wchar_t*, size_t) override { return 0; }
  size_t ReadSystemDirectory(wchar_t*, size_t) override { return 0; }
  bool IsSameDirectory(const wchar_t*, const wchar_t*) override { return false; }
  bool FindFile(const wchar_t*, FileStamp&) override { return true; }
  bool CanOpenForReading(const wchar_t*) override { return true; }
  bool SameContents(const wchar_t*, const wchar_t*) override { return true; }
  void RemoveFile(const wchar_t*) override {}
  int RunFileOperation(const CopyRequest& request) override {
    flagsSeen = request.flags;
    return result;
  }
  void Beep() override { ++beeps; }
  void InstallInputMethod(const wchar_t*, const char*) override {}
};

TEST(CopyFileToDirectory, ClearsTheFlagsAndBeepsOnceOnANonZeroResult) {
  BeepCounter platform;
  CopyRequest request;
  request.operation = FileOperationCopy;
  request.flags = 0x14;
  EXPECT_TRUE(CopyFileToDirectory(platform, request));
  EXPECT_EQ(platform.flagsSeen, 0u);
  EXPECT_EQ(platform.beeps, 0);
  platform.result = 0x402;
  EXPECT_FALSE(CopyFileToDirectory(platform, request));
  EXPECT_EQ(platform.beeps, 1);
}

}  // namespace
}  // namespace navo::setup::testing
