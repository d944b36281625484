// The backup of the shell-folder keys over the fakes: command lines, order, line reading, failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "backup/backup.h"
#include "backup/text_file.h"
#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "text/utf16.h"

namespace {

const std::string kTemp = "C:\\TEMP\\";
const std::string kTemp1 = kTemp + "splfolders1.txt";
const std::string kTemp2 = kTemp + "splfolders2.txt";
const std::string kTemp3 = kTemp + "splfolders3.txt";
const std::string kTemp4 = kTemp + "splfolders4.txt";
const std::string kDesktop = "C:\\Documents and Settings\\Ann\\Desktop";
const std::string kBackupPath = kDesktop + "\\specialfolders.bak";
const std::string kNewBackupPath = kBackupPath + ".new";
const std::string kRegedit = "C:\\WINDOWS\\regedit.exe";

const std::string kKeyUserUsf =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kKeyUserSf =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kKeyMachineUsf =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kKeyMachineSf =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const std::string kHeader = "Windows Registry Editor Version 5.00";
const std::string kSuccess = "Shell folder registry keys are now backed up.";
const std::string kFailure = "Could not backup the shell folder registry keys";

// ASCII text as UTF-16LE code units.
std::string Wide(const std::string& ascii) {
  std::string bytes;
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

std::string Utf16File(const std::string& ascii) {
  return "\xFF\xFE" + Wide(ascii);
}

// An export as regedit writes it: header, blank line, the key, its values, a blank line.
std::string ExportText(const std::string& key, const std::string& values) {
  return kHeader + "\r\n\r\n[" + key + "]\r\n" + values + "\r\n";
}

// The line that opens a key's section, without which a backup is not complete.
std::string Section(const std::string& key) {
  return "[" + key + "]\r\n";
}

// Message boxes go into the call log too, with the temporary files that exist while each one shows.
class LoggingView : public FakeMainView {
 public:
  LoggingView(CallLog& log, FakeFiles& files) : log_(log), files_(files) {}
  void ShowMessage(const std::string& prompt, int buttons, const std::string& title) override {
    log_.Record("ShowMessage(" + prompt + ")");
    std::set<std::string> present;
    for (const std::string& path : {kTemp1, kTemp2, kTemp3, kTemp4}) {
      if (files_.files.count(path)) present.insert(path);
    }
    tempFilesAtMessage.push_back(present);
    FakeMainView::ShowMessage(prompt, buttons, title);
  }
  std::vector<std::set<std::string>> tempFilesAtMessage;

 private:
  CallLog& log_;
  FakeFiles& files_;
};

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    fake.processes.onRun = [this](const std::string& commandLine) { return Regedit(commandLine); };
    SetUsualExports();
  }

  void SetUsualExports() {
    SetExports(Utf16File(ExportText(kKeyUserUsf, "\"Personal\"=\"D:\\\\Docs\"\r\n")),
               Utf16File(ExportText(kKeyUserSf, "\"Personal\"=\"D:\\\\Docs\"\r\n")),
               Utf16File(ExportText(kKeyMachineUsf, "\"Common Desktop\"=\"C:\\\\All\"\r\n")),
               Utf16File(ExportText(kKeyMachineSf, "\"Common Desktop\"=\"C:\\\\All\"\r\n")));
  }

  // Stands in for regedit /e: writes the export set for the key (the second quoted text) into the file (the first).
  FakeProcesses::Outcome Regedit(const std::string& commandLine) {
    std::vector<std::string> quoted;
    for (std::size_t open = commandLine.find('"'); open != std::string::npos;) {
      std::size_t close = commandLine.find('"', open + 1);
      quoted.push_back(commandLine.substr(open + 1, close - open - 1));
      open = commandLine.find('"', close + 1);
    }
    auto found = exports.find(quoted.at(1));
    if (found != exports.end()) fake.files.files[quoted.at(0)] = found->second;
    return outcomes[quoted.at(1)];
  }

  void SetExports(const std::string& first, const std::string& second, const std::string& third,
                  const std::string& fourth) {
    exports = {{kKeyUserUsf, first}, {kKeyUserSf, second}, {kKeyMachineUsf, third}, {kKeyMachineSf, fourth}};
  }

  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const auto& box : view.messages) prompts.push_back(box.prompt);
    return prompts;
  }

  bool HasFile(const std::string& path) const { return fake.files.files.count(path) != 0; }
  bool AnyTempFileLeft() const { return HasFile(kTemp1) || HasFile(kTemp2) || HasFile(kTemp3) || HasFile(kTemp4); }

  // A failed run: its one message, nothing half-written on the desktop, no editor left running or open.
  void ExpectFailedRun(const std::string& prompt) {
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{prompt});
    EXPECT_FALSE(HasFile(kBackupPath));
    EXPECT_FALSE(HasFile(kNewBackupPath));
    for (const FakeProcesses::Process& process : fake.processes.started) {
      EXPECT_TRUE(process.closed) << process.commandLine;
      EXPECT_TRUE(process.terminated || (process.ran && !process.outcome.hangs)) << process.commandLine;
    }
  }

  // The program goes on: once the cause is gone, the next click backs up.
  void ExpectNextRunSucceeds() {
    fake.files.failing.clear();
    fake.processes.failing.clear();
    outcomes.clear();
    view.messages.clear();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
    EXPECT_TRUE(HasFile(kBackupPath));
    EXPECT_FALSE(AnyTempFileLeft());
  }

  FakePlatform fake;
  LoggingView view{fake.log, fake.files};
  MainPresenter presenter{fake.platform(), view};
  RegistryBackup& backup = presenter.backup();
  std::map<std::string, std::string> exports;  // by key
  std::map<std::string, FakeProcesses::Outcome> outcomes;
};

// --- Command lines, paths and the order of operations ---

TEST_F(BackupTest, StartsOneMinimizedRegeditPerKeyWithTheCommandLineByteForByte) {
  presenter.OnBackup();
  ASSERT_EQ(fake.processes.started.size(), 4u);
  const std::string expected[4] = {
      "regedit /e \"C:\\TEMP\\splfolders1.txt\" \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion"
      "\\Explorer\\User Shell Folders\"",
      "regedit /e \"C:\\TEMP\\splfolders2.txt\" \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion"
      "\\Explorer\\Shell Folders\"",
      "regedit /e \"C:\\TEMP\\splfolders3.txt\" \"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion"
      "\\Explorer\\User Shell Folders\"",
      "regedit /e \"C:\\TEMP\\splfolders4.txt\" \"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion"
      "\\Explorer\\Shell Folders\"",
  };
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(fake.processes.started[i].commandLine, expected[i]);
    EXPECT_EQ(fake.processes.started[i].showWindow, 2);
    // By its full path in the Windows folder: a regedit.exe beside Zolvane.exe is never searched for.
    EXPECT_EQ(fake.processes.started[i].applicationName, kRegedit);
  }
}

TEST_F(BackupTest, WithoutTheWindowsFolderNoRegistryEditorIsStarted) {
  fake.log.FailCallStartingWith("GetWindowsDirectoryW", 0, 0);
  ExpectFailedRun(kFailure + "\nCannot find the Windows folder, which holds the registry editor.");
  EXPECT_TRUE(fake.processes.started.empty());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, RunsLeftoversExportsWaitsJoinFilterReplaceCleanupMessageInThisOrder) {
  fake.files.files[kTemp1] = "left over";
  fake.files.files[kTemp3] = "left over";
  fake.files.files[kBackupPath] = "old backup";
  presenter.OnBackup();

  std::vector<std::string> steps;
  for (const std::string& call : fake.log.calls()) {
    for (const char* kind :
         {"DeleteFileW", "CreateProcessW", "WaitForSingleObject", "WriteWholeFile", "MoveFileExW", "ShowMessage"}) {
      if (call.rfind(kind, 0) == 0) steps.push_back(call.substr(0, call.find(" \"HKEY")));
    }
  }
  const std::vector<std::string> expected = {
      "DeleteFileW(" + kTemp1 + ")",
      "DeleteFileW(" + kTemp3 + ")",
      "CreateProcessW(regedit /e \"" + kTemp1 + "\"",
      "CreateProcessW(regedit /e \"" + kTemp2 + "\"",
      "CreateProcessW(regedit /e \"" + kTemp3 + "\"",
      "CreateProcessW(regedit /e \"" + kTemp4 + "\"",
      "WaitForSingleObject(1792, 30000)",
      "WaitForSingleObject(1796, 30000)",
      "WaitForSingleObject(1800, 30000)",
      "WaitForSingleObject(1804, 30000)",
      "WriteWholeFile(" + kTemp3 + ")",                               // export 4 appended to 3
      "WriteWholeFile(" + kTemp2 + ")",                               // 3 and 4 appended to 2
      "WriteWholeFile(" + kTemp1 + ")",                               // 2, 3 and 4 appended to 1
      "WriteWholeFile(" + kNewBackupPath + ")",                       // the one header
      "WriteWholeFile(" + kNewBackupPath + ")",                       // the filtered lines
      "MoveFileExW(" + kNewBackupPath + ", " + kBackupPath + ", 9)",  // in place of the old one, in one step
      "DeleteFileW(" + kTemp1 + ")",
      "DeleteFileW(" + kTemp2 + ")",
      "DeleteFileW(" + kTemp3 + ")",
      "DeleteFileW(" + kTemp4 + ")",
      "ShowMessage(" + kSuccess + ")",
  };
  EXPECT_EQ(steps, expected);
  // The temporary files are gone by the time the outcome is told.
  ASSERT_EQ(view.tempFilesAtMessage.size(), 1u);
  EXPECT_TRUE(view.tempFilesAtMessage[0].empty());
  EXPECT_FALSE(AnyTempFileLeft());
  for (const FakeProcesses::Process& process : fake.processes.started) EXPECT_TRUE(process.closed);
}

TEST_F(BackupTest, MessagesHaveTheApplicationTitleAndAnOkButtonOnly) {
  presenter.OnBackup();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].prompt, kSuccess);
  EXPECT_EQ(view.messages[0].buttons, 0);
  EXPECT_EQ(view.messages[0].title, "Zolvane");
}

TEST_F(BackupTest, AsksTheShellForTheDesktopWithCreateFlagAndCurrentPath) {
  presenter.OnBackup();
  EXPECT_EQ(fake.log.CallsStartingWith("SHGetFolderPathW"),
            std::vector<std::string>{"SHGetFolderPathW(0, 32768, 0, 0)"});
  EXPECT_EQ(fake.log.CallsStartingWith("GetTempPathW"), std::vector<std::string>{"GetTempPathW(260)"});
  EXPECT_EQ(backup.backupFile, kBackupPath);
  EXPECT_TRUE(HasFile(kBackupPath));
}

TEST_F(BackupTest, DesktopPathEndingInABackslashGetsASecondOne) {
  fake.shell.desktopPath = "D:\\";
  presenter.OnBackup();
  EXPECT_EQ(backup.backupFile, "D:\\\\specialfolders.bak");
  EXPECT_TRUE(HasFile("D:\\\\specialfolders.bak"));
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
}

TEST_F(BackupTest, DesktopPathNotObtainedTellsWhyAndBacksUpToTheDriveRoot) {
  struct Case {
    std::int32_t result;
    std::vector<std::string> prompts;
  };
  const Case cases[] = {
      {platform::kSFalse, {"The folder does not exist", kSuccess}},
      {platform::kEInvalidArg, {"An invalid folder ID was specified", kSuccess}},
      {static_cast<std::int32_t>(0x80004005u), {kSuccess}},  // any other failure: no message of its own
  };
  for (const Case& c : cases) {
    fake.shell.folderPathResult = c.result;
    fake.files.files.clear();
    view.messages.clear();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), c.prompts) << c.result;
    EXPECT_EQ(backup.backupFile, "\\specialfolders.bak") << c.result;
    EXPECT_TRUE(HasFile("\\specialfolders.bak")) << c.result;
  }
}

TEST_F(BackupTest, NoTemporaryDirectoryGivesBareFileNames) {
  fake.files.failing["GetTempPathW(260)"] = 0;
  presenter.OnBackup();
  EXPECT_EQ(backup.exportFiles[0], "splfolders1.txt");
  EXPECT_EQ(backup.exportFiles[3], "splfolders4.txt");
  ASSERT_EQ(fake.processes.started.size(), 4u);
  EXPECT_EQ(fake.processes.started[1].commandLine,
            "regedit /e \"splfolders2.txt\" \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion"
            "\\Explorer\\Shell Folders\"");
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
  EXPECT_FALSE(HasFile("splfolders1.txt"));
}

// The exports run away from the window's thread: the window stays busy until the outcome is told, a second
// click starts nothing, and a close asked for meanwhile waits for the outcome.
TEST_F(BackupTest, WhileABackupRunsNothingStartsTwiceAndACloseWaitsForItsOutcome) {
  view.holdBackgroundWork = true;
  presenter.OnBackup();
  EXPECT_EQ(view.busyChanges, std::vector<bool>{true});
  EXPECT_TRUE(presenter.WorkRunning());
  presenter.OnBackup();
  EXPECT_FALSE(presenter.OnCloseRequested());
  EXPECT_FALSE(view.closed);

  view.FinishBackgroundWork();
  EXPECT_EQ(fake.processes.started.size(), 4u);
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
  EXPECT_EQ(view.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(AnyTempFileLeft());
  EXPECT_TRUE(presenter.OnCloseRequested());
}

// --- What the backup file holds ---

TEST_F(BackupTest, Utf16ExportsBecomeOneUtf16FileWithOneMarkAndOneHeader) {
  presenter.OnBackup();
  EXPECT_EQ(fake.files.files.at(kBackupPath),
            Utf16File(kHeader + "\r\n" +                                                            //
                      "\r\n[" + kKeyUserUsf + "]\r\n\"Personal\"=\"D:\\\\Docs\"\r\n\r\n" +          //
                      "\r\n[" + kKeyUserSf + "]\r\n\"Personal\"=\"D:\\\\Docs\"\r\n\r\n" +           //
                      "\r\n[" + kKeyMachineUsf + "]\r\n\"Common Desktop\"=\"C:\\\\All\"\r\n\r\n" +  //
                      "\r\n[" + kKeyMachineSf + "]\r\n\"Common Desktop\"=\"C:\\\\All\"\r\n\r\n"));
}

TEST_F(BackupTest, Utf8ExportsBecomeOneUtf8FileWithoutMark) {
  SetExports(ExportText(kKeyUserUsf, "\"Personal\"=\"D:\\\\Caf\xC3\xA9\"\r\n"), ExportText(kKeyUserSf, ""),
             ExportText(kKeyMachineUsf, ""), ExportText(kKeyMachineSf, "\"Common Desktop\"=\"C:\\\\All\"\r\n"));
  presenter.OnBackup();
  EXPECT_EQ(fake.files.files.at(kBackupPath),
            kHeader + "\r\n" +                                                               //
                "\r\n[" + kKeyUserUsf + "]\r\n\"Personal\"=\"D:\\\\Caf\xC3\xA9\"\r\n\r\n" +  //
                "\r\n[" + kKeyUserSf + "]\r\n\r\n" +                                         //
                "\r\n[" + kKeyMachineUsf + "]\r\n\r\n" +                                     //
                "\r\n[" + kKeyMachineSf + "]\r\n\"Common Desktop\"=\"C:\\\\All\"\r\n\r\n");
}

// The line rules, the same in both encodings.
class BackupLinesTest : public BackupTest, public ::testing::WithParamInterface<bool> {
 protected:
  std::string Encoded(const std::string& ascii) const { return GetParam() ? Utf16File(ascii) : ascii; }
};

TEST_P(BackupLinesTest, LeavesOutEveryLineHoldingTheHeaderAndKeepsTheRestLineByLine) {
  SetExports(Encoded(kHeader + "\r\n" + Section(kKeyUserUsf) + "\r\na line holding " + kHeader + " inside\r\n" +  //
                     "WINDOWS REGISTRY EDITOR VERSION 5.00\r\n" +                                                 //
                     "lone\rcarriage return\r\n" +                                                                //
                     "lone\nline feed\r\n\r\n\r\n" +                                                              //
                     "no final line end"),
             Encoded(Section(kKeyUserSf) + "second export's first line\r\n" + kHeader + "\r\n"),  //
             Encoded(Section(kKeyMachineUsf) + "  " + kHeader + "  \r\n\r\n"),                    //
             Encoded(Section(kKeyMachineSf) + "last\r"));
  presenter.OnBackup();
  EXPECT_EQ(fake.files.files.at(kBackupPath), Encoded(kHeader + "\r\n" +                            //
                                                      Section(kKeyUserUsf) + "\r\n" +               //
                                                      "WINDOWS REGISTRY EDITOR VERSION 5.00\r\n" +  //
                                                      "lone\r\ncarriage return\r\n" +               //
                                                      "lone\nline feed\r\n\r\n\r\n" +               //
                                                      "no final line end\r\n" +                     //
                                                      Section(kKeyUserSf) +                         //
                                                      "second export's first line\r\n" +            //
                                                      Section(kKeyMachineUsf) + "\r\n" +            //
                                                      Section(kKeyMachineSf) + "last\r\n"));
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
}

INSTANTIATE_TEST_SUITE_P(Encodings, BackupLinesTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Utf16Le" : "Utf8"; });

TEST_F(BackupTest, Utf16ExportKeepsEveryCharacter) {
  // "é€" and U+1F600 (a surrogate pair) in a value.
  const std::string value("\xE9\x00\xAC\x20\x3D\xD8\x00\xDE", 8);
  SetExports("\xFF\xFE" + Wide(Section(kKeyUserUsf) + "\"A\"=\"") + value + Wide("\"\r\n"),
             Utf16File(Section(kKeyUserSf)), Utf16File(Section(kKeyMachineUsf)), Utf16File(Section(kKeyMachineSf)));
  presenter.OnBackup();
  EXPECT_EQ(fake.files.files.at(kBackupPath),
            Utf16File(kHeader + "\r\n" + Section(kKeyUserUsf) + "\"A\"=\"") + value +
                Wide("\"\r\n" + Section(kKeyUserSf) + Section(kKeyMachineUsf) + Section(kKeyMachineSf)));
}

TEST_F(BackupTest, MixedEncodingsGiveUtf16SoNoCharacterIsLost) {
  SetExports(ExportText(kKeyUserUsf, "\"Personal\"=\"Caf\xC3\xA9\"\r\n"), ExportText(kKeyUserSf, ""),
             Utf16File(ExportText(kKeyMachineUsf, "")), Utf16File(ExportText(kKeyMachineSf, "")));
  presenter.OnBackup();
  const std::string& bytes = fake.files.files.at(kBackupPath);
  EXPECT_EQ(bytes, "\xFF\xFE" + Wide(kHeader + "\r\n\r\n[" + kKeyUserUsf + "]\r\n\"Personal\"=\"Caf") +
                       std::string("\xE9\x00", 2) +
                       Wide("\"\r\n\r\n\r\n[" + kKeyUserSf + "]\r\n\r\n\r\n[" + kKeyMachineUsf + "]\r\n\r\n\r\n[" +
                            kKeyMachineSf + "]\r\n\r\n"));
}

TEST_F(BackupTest, Utf16ExportWithNothingButItsMarkAddsNoLine) {
  // The empty export is one short, which the backup then misses.
  SetExports(Utf16File(Section(kKeyUserUsf) + Section(kKeyUserSf)), "\xFF\xFE", Utf16File(Section(kKeyMachineUsf)),
             Utf16File("[" + kKeyMachineSf + "]"));
  presenter.OnBackup();
  EXPECT_EQ(fake.files.files.at(kBackupPath), Utf16File(kHeader + "\r\n" + Section(kKeyUserUsf) + Section(kKeyUserSf) +
                                                        Section(kKeyMachineUsf) + Section(kKeyMachineSf)));
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
}

TEST_F(BackupTest, FilterFileAppendsTheKeptLinesAndCountsTheOthers) {
  fake.files.files["C:\\src.txt"] = "one " + kHeader + "\r\ntwo\r\n" + kHeader + "\r\nthree";
  fake.files.files["C:\\dst.txt"] = "zero\r\n";
  EXPECT_EQ(backup.FilterFile("C:\\src.txt", "C:\\dst.txt", kHeader), 2);
  EXPECT_EQ(fake.files.files.at("C:\\dst.txt"), "zero\r\ntwo\r\nthree\r\n");
}

TEST(TextFile, UndecodableUtf16BecomesReplacementCharacters) {
  // A lone low surrogate, a high surrogate followed by a letter, and half a code unit at the end.
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xDC"
                                      "A\x00"
                                      "\x3D\xD8"
                                      "B\x00"
                                      "C",
                                      9)),
            "\xEF\xBF\xBD"
            "A"
            "\xEF\xBF\xBD"
            "B"
            "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16Le("\xFF"
                          "A"),
            std::string("\xFD\xFF"
                        "A\x00",
                        4));
}

// --- Failures: each ends in its message, and the program goes on ---

TEST_F(BackupTest, RegeditThatCannotBeStartedEndsTheBackupAndTheOnesAlreadyRunning) {
  fake.processes.failing["CreateProcessW(regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf + "\", 2)"] = 2;
  ExpectFailedRun(kFailure + "\nCannot start \"regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf +
                  "\"\": The system cannot find the file specified. (error 2)");
  ASSERT_EQ(fake.processes.started.size(), 2u);
  EXPECT_TRUE(fake.processes.started[0].terminated);
  EXPECT_TRUE(fake.processes.started[1].terminated);
  EXPECT_FALSE(AnyTempFileLeft());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, AStartThatFailsWithAnInternalErrorIsTriedOnceMore) {
  fake.log.FailCallStartingWith("CreateProcessW", 2, 1359);
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
  EXPECT_EQ(fake.processes.started.size(), 4u);
  // A second failure of the same kind ends the backup like any other.
  view.messages.clear();
  fake.processes.failing["CreateProcessW(regedit /e \"" + kTemp1 + "\" \"" + kKeyUserUsf + "\", 2)"] = 1359;
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kFailure + "\nCannot start \"regedit /e \"" + kTemp1 + "\" \"" +
                                                kKeyUserUsf + "\"\": (error 1359)"});
}

TEST_F(BackupTest, RegeditStillRunningAfterThirtySecondsIsEndedAndTheBackupFails) {
  outcomes[kKeyUserSf].hangs = true;
  ExpectFailedRun(kFailure);
  ASSERT_EQ(fake.processes.started.size(), 4u);
  EXPECT_TRUE(fake.processes.started[1].terminated);
  EXPECT_EQ(fake.log.CallsStartingWith("TerminateProcess"), std::vector<std::string>{"TerminateProcess(1796, 1)"});
  // The others were still waited for, each within its own limit.
  EXPECT_EQ(fake.log.CallsStartingWith("WaitForSingleObject(1804, 30000)").size(), 1u);
  EXPECT_FALSE(AnyTempFileLeft());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, FailedWaitCountsAsAFailedExport) {
  fake.processes.failing["WaitForSingleObject(1792, 30000)"] = 0;
  ExpectFailedRun(kFailure);
  EXPECT_EQ(fake.log.CallsStartingWith("TerminateProcess").size(), 1u);
}

TEST_F(BackupTest, RegeditEndingWithAnExitCodeOtherThanZeroFailsTheBackup) {
  outcomes[kKeyMachineSf].exitCode = 1;
  ExpectFailedRun(kFailure);
  EXPECT_FALSE(AnyTempFileLeft());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, ExportThatIsEmptyOrNeverWrittenFailsTheBackup) {
  exports[kKeyUserSf] = "";
  ExpectFailedRun(kFailure);
  view.messages.clear();
  exports.erase(kKeyUserSf);  // regedit that could not open the key: exit code 0, no file
  ExpectFailedRun(kFailure);
  SetUsualExports();
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, FileThatCannotBeReadEndsTheBackupWithTheReason) {
  fake.files.failing["ReadWholeFile(" + kTemp2 + ")"] = 32;
  ExpectFailedRun(kFailure + "\nCannot read \"" + kTemp2 +
                  "\": The process cannot access the file because it is being used by another process. (error 32)");
  EXPECT_FALSE(AnyTempFileLeft());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, BackupFileThatCannotBeWrittenEndsTheBackupWithTheReason) {
  fake.files.failing["WriteWholeFile(" + kNewBackupPath + ")"] = 5;
  ExpectFailedRun(kFailure + "\nCannot write \"" + kNewBackupPath + "\": Access is denied. (error 5)");
  EXPECT_FALSE(AnyTempFileLeft());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, LeftoverThatCannotBeDeletedStopsTheBackupBeforeAnyExport) {
  fake.files.files[kTemp1] = "left over";
  fake.files.files[kTemp2] = "left over";
  fake.files.failing["DeleteFileW(" + kTemp2 + ")"] = 5;
  ExpectFailedRun(kFailure + "\nCannot delete \"" + kTemp2 + "\": Access is denied. (error 5)");
  EXPECT_TRUE(fake.processes.started.empty());
  // Removed where possible: only the one that cannot be deleted is still there.
  EXPECT_FALSE(HasFile(kTemp1));
  EXPECT_TRUE(HasFile(kTemp2));
  ExpectNextRunSucceeds();
}

// A failed run leaves the previous backup exactly as it was, and nothing half-made beside it.
TEST_F(BackupTest, OldBackupIsReplacedOnlyByACompleteVerifiedNewOne) {
  const std::string oldBackup = Utf16File(kHeader + "\r\nOLD LINE\r\n");
  const std::string incomplete = kFailure + "\nThe new backup \"" + kNewBackupPath + "\" does not hold all four keys.";
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string prompt;
  } cases[] = {
      {"an export that fails", [&] { outcomes[kKeyUserUsf].exitCode = 1; }, kFailure},
      {"an export read short", [&] { fake.files.shortReads.insert("ReadWholeFile(" + kTemp1 + ")"); }, incomplete},
      {"a new backup that reads back short",
       [&] { fake.files.shortReads.insert("ReadWholeFile(" + kNewBackupPath + ")"); }, incomplete},
      {"a new backup that cannot be written",
       [&] { fake.files.failing["WriteWholeFile(" + kNewBackupPath + ")"] = 112; },
       kFailure + "\nCannot write \"" + kNewBackupPath + "\": There is not enough space on the disk. (error 112)"},
      {"an old backup that cannot be replaced",
       [&] { fake.files.failing["MoveFileExW(" + kNewBackupPath + ", " + kBackupPath + ", 9)"] = 5; },
       kFailure + "\nCannot replace \"" + kBackupPath + "\": Access is denied. (error 5)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.files.files[kBackupPath] = oldBackup;
    view.messages.clear();
    c.arrange();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{c.prompt});
    EXPECT_EQ(fake.files.files.at(kBackupPath), oldBackup);
    EXPECT_FALSE(HasFile(kNewBackupPath));
    EXPECT_FALSE(AnyTempFileLeft());
    fake.files.shortReads.clear();
    ExpectNextRunSucceeds();
    EXPECT_EQ(fake.files.files.at(kBackupPath).find(Wide("OLD")), std::string::npos);
  }
}

// A script learns from the outcome's code which step failed; a file it names takes the desktop's place.
TEST_F(BackupTest, TheOutcomeCarriesTheFailedStepsCodeAndANamedFileIsWrittenInstead) {
  const std::string named = "D:\\Saved\\keys.reg";
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::int32_t code;
  } cases[] = {
      {"success", [] {}, 0},
      {"an export that fails", [&] { outcomes[kKeyUserSf].exitCode = 1; }, 1012},
      {"an unwritable file", [&] { fake.files.failing["WriteWholeFile(" + named + ".new)"] = 112; }, 112},
      {"an export read short", [&] { fake.files.shortReads.insert("ReadWholeFile(" + kTemp1 + ")"); }, 13},
      {"an editor that cannot start",
       [&] {
         fake.processes.failing["CreateProcessW(regedit /e \"" + kTemp1 + "\" \"" + kKeyUserUsf + "\", 2)"] = 740;
       },
       740},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.files.files.erase(named);
    c.arrange();
    BackupOutcome outcome = backup.Run(named);
    EXPECT_EQ(outcome.succeeded, c.code == 0);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(HasFile(named), c.code == 0);
    EXPECT_FALSE(HasFile(kBackupPath));
    fake.files.failing.clear();
    fake.files.shortReads.clear();
    fake.processes.failing.clear();
    outcomes.clear();
  }
}

TEST_F(BackupTest, TemporaryFileThatCannotBeDeletedAtTheEndLeavesTheSuccessStanding) {
  fake.files.failing["DeleteFileW(" + kTemp4 + ")"] = 32;
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kSuccess});
  EXPECT_TRUE(HasFile(kTemp4));
  EXPECT_FALSE(HasFile(kTemp1));
  // The next run deletes it before it starts any export.
  fake.log.Clear();
  ExpectNextRunSucceeds();
  const std::vector<std::string>& calls = fake.log.calls();
  auto deleted = std::find(calls.begin(), calls.end(), "DeleteFileW(" + kTemp4 + ")");
  auto firstExport = std::find_if(calls.begin(), calls.end(),
                                  [](const std::string& call) { return call.rfind("CreateProcessW", 0) == 0; });
  EXPECT_LT(deleted, firstExport);
}

}  // namespace
