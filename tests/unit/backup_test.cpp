// The backup of the shell-folder keys over the fakes: command lines, order, the file it writes, the proof that
// the restore reads it back, the lock, and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "features/backup.h"
#include "features/feature_texts.h"
#include "main_presenter_fixture.h"
#include "text/text_file.h"
#include "text/utf16.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kTemp = "C:\\TEMP\\";
const std::string kTemp1 = kTemp + "splfolders1.txt";
const std::string kTemp2 = kTemp + "splfolders2.txt";
const std::string kTemp3 = kTemp + "splfolders3.txt";
const std::string kTemp4 = kTemp + "splfolders4.txt";
const std::string kDesktop = "C:\\Documents and Settings\\Ann\\Desktop";
const std::string kBackupPath = kDesktop + "\\specialfolders.bak";
const std::string kNewBackupPath = kBackupPath + ".new";
const std::string kRegedit = "C:\\WINDOWS\\regedit.exe";

const std::string kKeyUserUsf = "HKEY_CURRENT_USER\\" + std::string(kUserShellFoldersKey);
const std::string kKeyUserSf = "HKEY_CURRENT_USER\\" + std::string(kShellFoldersKey);
const std::string kKeyMachineUsf = "HKEY_LOCAL_MACHINE\\" + std::string(kUserShellFoldersKey);
const std::string kKeyMachineSf = "HKEY_LOCAL_MACHINE\\" + std::string(kShellFoldersKey);

const std::string kHeader = kRegistryFileHeader;
// Every failure's first line; and the fake system's reason for an export the registry editor did not make.
const std::string kFailure = std::string(kNotBackedUp) + "\n";
const std::string kCantRead = ": The configuration registry key could not be read. (error 1012)";

std::string Utf16File(const std::string& utf8) {
  return "\xFF\xFE" + Utf8ToUtf16Le(utf8);
}

// What could not be done, to what, and the fake system's reason, as a failure says it.
std::string Described(const char* action, const std::string& target, const std::string& reason) {
  return std::string(action) + " \"" + target + "\": " + reason;
}

// An export as regedit writes it: header, blank line, the key, its values, a blank line.
std::string ExportText(const std::string& key, const std::string& values) {
  return kHeader + "\r\n\r\n[" + key + "]\r\n" + values + "\r\n";
}

// Message boxes go into the call log too, with the temporary files that exist while each one shows.
class LoggingView : public FakeMainView {
 public:
  LoggingView(CallLog& log, FakeFiles& files) : log_(log), files_(files) {}
  void ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) override {
    log_.Record("ShowMessage(" + prompt + ")");
    std::set<std::string> present;
    for (const std::string& path : {kTemp1, kTemp2, kTemp3, kTemp4}) {
      if (files_.files.count(path)) present.insert(path);
    }
    tempFilesAtMessage.push_back(present);
    FakeMainView::ShowMessage(prompt, title, icon);
  }
  std::vector<std::set<std::string>> tempFilesAtMessage;

 private:
  CallLog& log_;
  FakeFiles& files_;
};

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    fake.shell.desktop.path = kDesktop;
    fake.processes.onRun = [this](const std::string& commandLine) {
      FakeProcesses::Outcome outcome = fake.ExportLikeRegedit(commandLine);
      for (const auto& [key, bytes] : exports) {
        if (commandLine.find("\"" + key + "\"") != std::string::npos) fake.files.files[ExportFile(commandLine)] = bytes;
      }
      for (const auto& [key, ending] : outcomes) {
        if (commandLine.find("\"" + key + "\"") != std::string::npos) outcome = ending;
      }
      if (afterExport) afterExport(commandLine);
      return outcome;
    };
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      fake.registry.SetString(kHkeyCurrentUser, key, "Personal", platform::kRegExpandSz, "D:\\Docs");
      fake.registry.SetString(kHkeyLocalMachine, key, "Common Desktop", platform::kRegSz, "C:\\All");
    }
  }

  static std::string ExportFile(const std::string& commandLine) {
    std::size_t open = commandLine.find('"');
    return commandLine.substr(open + 1, commandLine.find('"', open + 1) - open - 1);
  }

  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const auto& box : view.messages) prompts.push_back(box.prompt);
    return prompts;
  }

  bool HasFile(const std::string& path) const { return fake.files.files.count(path) != 0; }
  bool AnyTempFileLeft() const { return HasFile(kTemp1) || HasFile(kTemp2) || HasFile(kTemp3) || HasFile(kTemp4); }

  // A failed run: its one message, nothing half-written on the desktop, no editor left running or open, the
  // lock let go.
  void ExpectFailedRun(const std::string& prompt) {
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{prompt});
    EXPECT_FALSE(HasFile(kBackupPath));
    EXPECT_FALSE(HasFile(kNewBackupPath));
    EXPECT_TRUE(fake.locks.Held().empty());
    for (const FakeProcesses::Process& process : fake.processes.started) {
      EXPECT_TRUE(process.closed) << process.commandLine;
      EXPECT_TRUE(process.ended || (process.ran && !process.outcome.hangs)) << process.commandLine;
    }
  }

  // regedit ending the export of this file half-way through, with exit code 0.
  std::function<void(const std::string&)> CutShort(const std::string& file) {
    return [this, file](const std::string& commandLine) {
      if (ExportFile(commandLine) == file) fake.files.files[file].resize(fake.files.files[file].size() / 2);
    };
  }

  // The program goes on: once the cause is gone, the next click backs up.
  void ExpectNextRunSucceeds() {
    fake.log.ClearFailures();
    fake.files.onWritten = nullptr;
    outcomes.clear();
    exports.clear();
    afterExport = nullptr;
    view.messages.clear();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
    EXPECT_TRUE(HasFile(kBackupPath));
    EXPECT_FALSE(AnyTempFileLeft());
  }

  FakePlatform fake;
  LoggingView view{fake.log, fake.files};
  MainPresenter presenter{fake.platform(), view};
  RegistryBackup backup{fake.platform()};
  // Exports that stand in for what regedit would write from the registry, by key.
  std::map<std::string, std::string> exports;
  std::map<std::string, FakeProcesses::Outcome> outcomes;
  std::function<void(const std::string&)> afterExport;
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
    // By its full path in the Windows folder: a regedit.exe beside Zolvane.exe is never searched for.
    EXPECT_EQ(fake.processes.started[i].program, kRegedit);
  }
}

TEST_F(BackupTest, WithoutTheWindowsFolderNoRegistryEditorIsStarted) {
  fake.log.Fail("WindowsFolder", 0, 0);
  ExpectFailedRun(kFailure + kNoWindowsFolder);
  EXPECT_TRUE(fake.processes.started.empty());
  ExpectNextRunSucceeds();
}

TEST_F(BackupTest, LocksRemovesLeftoversExportsReadsThemWritesOnceAndMovesInThisOrder) {
  fake.files.files[kTemp1] = "left over";
  fake.files.files[kTemp3] = "left over";
  fake.files.files[kBackupPath] = "old backup";
  int exportsRun = 0;
  // Each export runs under the lock, with no leftover of an earlier run beside it.
  afterExport = [&](const std::string&) {
    ++exportsRun;
    EXPECT_EQ(fake.locks.Held().count(kSessionLockName), 1u);
    for (const std::string& file : {kTemp1, kTemp3}) EXPECT_NE(fake.files.files[file], "left over");
  };
  // The new backup is written once the exports are read and gone, beside the old one, which it then replaces.
  int written = 0;
  fake.files.onWritten = [&](const std::string& path) {
    ++written;
    EXPECT_EQ(path, kNewBackupPath);
    EXPECT_FALSE(AnyTempFileLeft());
    EXPECT_EQ(fake.files.files.at(kBackupPath), "old backup");
  };
  presenter.OnBackup();
  EXPECT_EQ(exportsRun, 4);
  EXPECT_EQ(written, 1);
  EXPECT_NE(fake.files.files.at(kBackupPath), "old backup");
  EXPECT_FALSE(HasFile(kNewBackupPath));
  EXPECT_TRUE(fake.locks.Held().empty());

  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  // The temporary files are gone by the time the outcome is told.
  ASSERT_EQ(view.tempFilesAtMessage.size(), 1u);
  EXPECT_TRUE(view.tempFilesAtMessage[0].empty());
  for (const FakeProcesses::Process& process : fake.processes.started) EXPECT_TRUE(process.closed);
}

TEST_F(BackupTest, MessagesHaveTheApplicationTitleAndAnOkButtonOnly) {
  presenter.OnBackup();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].prompt, kBackedUp);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(view.messages[0].title, kAppTitle);
}

TEST_F(BackupTest, WithoutAFileNamedTheBackupGoesToTheDesktop) {
  Outcome outcome = backup.Run();
  EXPECT_EQ(outcome.file, kBackupPath);
  EXPECT_TRUE(HasFile(kBackupPath));
}

TEST_F(BackupTest, DesktopPathNotObtainedTellsWhyAndBacksUpToTheDriveRoot) {
  using Result = platform::DesktopFolderAnswer::Result;
  struct Case {
    Result result;
    std::string desktop;
    std::vector<std::string> prompts;
    std::string file;
  };
  const Case cases[] = {
      {Result::kFound, "D:\\", {kBackedUp}, "D:\\\\specialfolders.bak"},  // a second backslash, as it always had
      {Result::kMissing, "", {kFolderDoesNotExist, kBackedUp}, "\\specialfolders.bak"},
      {Result::kInvalidFolder, "", {kInvalidFolderId, kBackedUp}, "\\specialfolders.bak"},
      {Result::kFailed, "", {kBackedUp}, "\\specialfolders.bak"},  // no message of its own
  };
  for (const Case& c : cases) {
    fake.shell.desktop = platform::DesktopFolderAnswer{c.result, c.desktop};
    fake.files.files.clear();
    view.messages.clear();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), c.prompts) << c.file;
    EXPECT_TRUE(HasFile(c.file)) << c.file;
  }
}

// Bare names would be the current folder's files to Zolvane and the system folder's to regedit.
TEST_F(BackupTest, WithoutAUsableTemporaryFolderNothingIsTouched) {
  for (const char* temp : {"", "TEMP\\", "\\TEMP\\"}) {
    SCOPED_TRACE(temp);
    fake.system.tempFolder = temp;
    fake.files.files["C:\\Work\\splfolders2.txt"] = "the user's own";
    fake.files.files[kBackupPath] = "old backup";
    fake.registry.changes.clear();
    view.messages.clear();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{kFailure + kNoTempFolder});
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_EQ(fake.files.files.at("C:\\Work\\splfolders2.txt"), "the user's own");
    EXPECT_EQ(fake.files.files.at(kBackupPath), "old backup");
  }
}

// The exports run away from the window's thread: the window stays busy until the outcome is told, a second
// click starts nothing, and a close asked for meanwhile waits for the outcome.
TEST_F(BackupTest, WhileABackupRunsNothingStartsTwiceAndACloseWaitsForItsOutcome) {
  view.holdBackgroundWork = true;
  presenter.OnBackup();
  EXPECT_EQ(view.busyChanges, std::vector<bool>{true});
  presenter.OnBackup();
  EXPECT_FALSE(presenter.OnCloseRequested());
  EXPECT_FALSE(view.closed);

  view.FinishBackgroundWork();
  EXPECT_EQ(fake.processes.started.size(), 4u);
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  EXPECT_EQ(view.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(AnyTempFileLeft());
  EXPECT_TRUE(presenter.OnCloseRequested());
}

// Work that breaks off before it has told its outcome is told as a failure, never as the last run's success.
TEST_F(BackupTest, ABackupThatBreaksOffIsNeverToldAsTheLastRunsSuccess) {
  presenter.OnBackup();
  view.messages.clear();
  view.holdBackgroundWork = true;
  presenter.OnBackup();
  view.heldWork = [] {};  // the work ends without a word
  view.FinishBackgroundWork();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].prompt.rfind(kFailure, 0), 0u);
}

// --- What the backup file holds ---

TEST_F(BackupTest, TheFileIsOneUtf16RegistryFileOfTheFourExportsWithOneHeader) {
  presenter.OnBackup();
  EXPECT_EQ(fake.files.files.at(kBackupPath),
            Utf16File(kHeader + "\r\n" +  //
                      "\r\n[" + kKeyUserUsf + "]\r\n\"Personal\"=hex(2):44,00,3a,00,5c,00,44,00,6f,00,63,00,73,00," +
                      "00,00\r\n\r\n" +  //
                      "\r\n[" + kKeyUserSf + "]\r\n\"Personal\"=hex(2):44,00,3a,00,5c,00,44,00,6f,00,63,00,73,00," +
                      "00,00\r\n\r\n" +                                                             //
                      "\r\n[" + kKeyMachineUsf + "]\r\n\"Common Desktop\"=\"C:\\\\All\"\r\n\r\n" +  //
                      "\r\n[" + kKeyMachineSf + "]\r\n\"Common Desktop\"=\"C:\\\\All\"\r\n\r\n"));
}

// Whatever encoding and line ends each export came in, the file is UTF-16LE with CR LF; only a line that is
// the header itself is left out, and a value that holds the header's words is kept.
TEST_F(BackupTest, ExportsOfEitherEncodingAndAnyLineEndBecomeOneFileThatKeepsEveryCharacter) {
  const std::string words = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 " + kHeader;
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", platform::kRegSz, words);
  exports[kKeyUserUsf] = ExportText(kKeyUserUsf, "\"Personal\"=\"" + words + "\"\n");  // UTF-8, LF
  exports[kKeyUserSf] = Utf16File(kHeader + "\r[" + kKeyUserSf + "]\r\"Personal\"=hex(2):44,00,3a,00,5c,00,44,00," +
                                  "6f,00,63,00,73,00,00,00");  // lone CRs, no final line end
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  EXPECT_EQ(fake.files.files.at(kBackupPath).substr(0, Utf16File(kHeader + "\r\n\r\n[").size()),
            Utf16File(kHeader + "\r\n\r\n["));
  RegistryFile parsed = ParseRegistryFile(fake.files.files.at(kBackupPath));
  ASSERT_TRUE(parsed.readable) << parsed.reason;
  EXPECT_EQ(parsed.values[0].name, "Personal");
  EXPECT_EQ(parsed.values[0].bytes, StringValueBytes(words));
  std::vector<std::string> lines = SplitLines(DecodeTextFile(fake.files.files.at(kBackupPath)).text);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), kHeader), 1);
}

// --- A backup is kept only when the restore would give the registry back as it is ---

TEST_F(BackupTest, ABackupTheRestoreWouldNotGiveBackNeverReplacesTheLastGoodOne) {
  const std::string oldBackup = Utf16File(kHeader + "\r\nOLD\r\n");
  const struct {
    const char* name;
    std::function<void()> arrange;
    std::string reason;
  } cases[] = {
      {"an export the restore refuses",
       [&] { exports[kKeyUserSf] = ExportText(kKeyUserSf, "\"Personal\"=\"D:\\\\Docs\"\r\n[HKEY_CLASSES_ROOT\\x]"); },
       kNewBackupNotRestorable + std::string("\nLine 9: [HKEY_CLASSES_ROOT\\x]\n") + kNotOneOfTheFourKeys},
      {"an export without its section", [&] { exports[kKeyMachineSf] = Utf16File(kHeader + "\r\n"); },
       NoSectionInNewBackup(kKeyMachineSf)},
      {"an export that misses a value", [&] { exports[kKeyMachineUsf] = ExportText(kKeyMachineUsf, ""); },
       MissingFromNewBackup(kKeyMachineUsf, "Common Desktop")},
      {"an export with a value the registry lacks",
       [&] { exports[kKeyMachineUsf] = ExportText(kKeyMachineUsf, "\"Common Desktop\"=\"C:\\\\All\"\r\n@=\"x\""); },
       ExtraValuesInNewBackup(kKeyMachineUsf)},
      {"an export of a value as it was not held",
       [&] { exports[kKeyMachineSf] = ExportText(kKeyMachineSf, "\"Common Desktop\"=\"E:\\\\Other\""); },
       NotRestoredAsHeld(kKeyMachineSf, "Common Desktop")},
      // The values are read while the editors run; one that another program changes meanwhile is said so.
      {"a value changed while the backup was made",
       [&] {
         afterExport = [&](const std::string& commandLine) {
           if (commandLine.find(kKeyUserUsf) == std::string::npos) return;
           fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", platform::kRegSz, "E:\\New");
         };
       },
       ChangedWhileBackingUp(kKeyMachineSf, "Common Desktop")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake.files.files[kBackupPath] = oldBackup;
    view.messages.clear();
    c.arrange();
    presenter.OnBackup();
    EXPECT_EQ(Prompts(), std::vector<std::string>{kFailure + c.reason});
    EXPECT_EQ(fake.files.files.at(kBackupPath), oldBackup);
    EXPECT_FALSE(HasFile(kNewBackupPath));
    EXPECT_FALSE(AnyTempFileLeft());
    fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", platform::kRegSz, "C:\\All");
    ExpectNextRunSucceeds();
  }
}

// regedit exports a text value up to its first NUL, and the restore gives it back with one terminator: the
// same text is the same value. A key below the four keys goes into the backup and is passed over by the restore.
TEST_F(BackupTest, TextValuesCompareAsTheShellReadsThemAndKeysBelowTheFourAreKept) {
  fake.registry.SetValue(kHkeyCurrentUser, kShellFoldersKey, "Unterminated", platform::kRegSz,
                         std::string("D\0:\0", 4));
  fake.registry.SetString(kHkeyCurrentUser, std::string(kUserShellFoldersKey) + "\\Extra", "Other", platform::kRegSz,
                          "x");
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  RegistryFile parsed = ParseRegistryFile(fake.files.files.at(kBackupPath));
  ASSERT_TRUE(parsed.readable) << parsed.reason;
  EXPECT_EQ(parsed.passedOverKeys, std::vector<std::string>{kKeyUserUsf + "\\Extra"});
}

// --- Two runs at once ---

TEST_F(BackupTest, ARunWaitsForTheUsersOtherBackupOrRestoreAndGivesUpUntouchedPastTheBound) {
  fake.files.files[kBackupPath] = "old backup";
  {
    LockHeldElsewhere another(fake.locks, kSessionLockName);
    presenter.OnBackup();
  }
  EXPECT_EQ(Prompts(), std::vector<std::string>{kFailure + OtherRunNotFinished(60) +
                                                ": The wait operation timed out. (error 258)"});
  EXPECT_TRUE(fake.processes.started.empty());
  EXPECT_EQ(fake.files.files.at(kBackupPath), "old backup");
  ExpectNextRunSucceeds();
  EXPECT_TRUE(fake.locks.Held().empty());
}

TEST_F(BackupTest, ALeftoverNewFileIsRemovedFirstAndOneMadeMeanwhileByAnotherIsLeftAlone) {
  fake.files.files[kNewBackupPath] = "left by a run that ended on the way";
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  EXPECT_FALSE(HasFile(kNewBackupPath));

  // Another program makes the file right after the backup looked for a leftover.
  view.messages.clear();
  fake.files.files[kNewBackupPath] = "another program's";
  fake.log.Fail("Exists(" + kNewBackupPath + ")", 0, 0);
  fake.files.files[kBackupPath] = "old backup";
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{
                           kFailure + Described(kCannotWriteAction, kNewBackupPath, "The file exists. (error 80)")});
  EXPECT_EQ(fake.files.files.at(kNewBackupPath), "another program's");
  EXPECT_EQ(fake.files.files.at(kBackupPath), "old backup");
}

// The files are compared, not the texts that name them: in any case, by an 8.3 name, or behind "\\?\".
TEST_F(BackupTest, ABackupIntoOneOfItsOwnTemporaryFilesOrAReadOnlyFileIsRefusedUpFront) {
  fake.files.shortNames["C:\\TEMP\\SPLF~LWB.TXT"] = kTemp2;
  fake.files.files[kTemp2] = "an export left over";
  for (const char* target :
       {"c:\\temp\\SPLFOLDERS2.TXT", "C:\\TEMP\\SPLF~LWB.TXT", "\\\\?\\C:\\TEMP\\splfolders2.txt"}) {
    Outcome outcome = backup.Run(target);
    EXPECT_EQ(outcome.message, kFailure + ExportFileAsTarget(target));
  }
  fake.files.files["D:\\kept.bak"] = "a backup the user keeps";
  fake.files.readOnly.insert("D:\\kept.bak");
  EXPECT_EQ(backup.Run("D:\\kept.bak").message, kFailure + ReadOnlyTarget("D:\\kept.bak"));
  EXPECT_EQ(fake.files.files.at("D:\\kept.bak"), "a backup the user keeps");
  EXPECT_EQ(fake.files.files.at(kTemp2), "an export left over");
  EXPECT_TRUE(fake.processes.started.empty());
}

// What no registry file carries is refused before the exports are read, naming the value and why.
TEST_F(BackupTest, AValueNoRegistryFileCarriesIsRefusedInTheUsersWords) {
  const std::string fine = "D:\\Docs";
  const struct {
    const char* name;
    std::uint32_t type;
    std::string bytes;
    const char* shown;  // the name as the message shows it
    const char* reason;
  } cases[] = {
      {"Bell\a", platform::kRegSz, StringValueBytes(fine), "Bell<0x07>", kHoldsControlCharacter},
      {"Escape", platform::kRegExpandSz, StringValueBytes("D:\x1b"), "Escape", kHoldsControlCharacter},
      {"Half", platform::kRegSz, std::string("D\0\x00\xD8\0\0", 6), "Half", kHoldsHalfACharacterPair},
      {"Half \xEF\xBF\xBD", platform::kRegSz, StringValueBytes(fine), "Half \xEF\xBF\xBD", kHoldsHalfACharacterPair},
      {"Long", platform::kRegDword, std::string(8, '\x01'), "Long", kDwordTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, c.name, c.type, c.bytes);
    view.messages.clear();
    ExpectFailedRun(kFailure + NotCarriable(kKeyUserUsf, c.shown, c.reason));
    EXPECT_FALSE(AnyTempFileLeft());
    fake.registry.DeleteValue(kHkeyCurrentUser, kUserShellFoldersKey, c.name);
  }
  // A line break and a tab are carried, as the registry editor escapes them.
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Lines\r\n", platform::kRegSz, "a\tb\nc");
  view.messages.clear();
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
}

TEST_F(BackupTest, KeysTooLargeForARestoreAreNotBackedUp) {
  exports[kKeyUserSf] = Utf16File(kHeader + "\r\n" + std::string(kMaxRegistryFileBytes / 2, ';'));
  ExpectFailedRun(kFailure + KeysTooLargeToRestore());
}

// --- Failures: each ends in its message, and the program goes on ---

TEST_F(BackupTest, RegeditThatCannotBeStartedEndsTheBackupAndTheOnesAlreadyRunning) {
  fake.log.Fail("Start(regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf + "\")", 0, 2);
  ExpectFailedRun(kFailure + Described(kCannotStart, "regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf + "\"",
                                       "The system cannot find the file specified. (error 2)"));
  ASSERT_EQ(fake.processes.started.size(), 2u);
  EXPECT_TRUE(fake.processes.started[0].ended);
  EXPECT_TRUE(fake.processes.started[1].ended);
  EXPECT_FALSE(AnyTempFileLeft());
  ExpectNextRunSucceeds();
}

// Every export that does not end well fails the backup with its reason; the others are ended, nothing is left.
TEST_F(BackupTest, AnExportThatHangsFailsOrWritesNothingFailsTheBackupSayingWhy) {
  const struct {
    const char* name;
    std::function<void()> arrange;
    std::string reason;
  } cases[] = {
      {"still running after thirty seconds", [&] { outcomes[kKeyUserSf].hangs = true; },
       Described(kCannotFinishExportOf, kKeyUserSf, "The wait operation timed out. (error 258)")},
      {"a wait that fails",
       [&] { fake.log.Fail("Finish(regedit /e \"" + kTemp1 + "\" \"" + kKeyUserUsf + "\", 30000)", 0, 0); },
       Described(kExportEndUnknown, kKeyUserUsf, "The handle is invalid. (error 6)")},
      {"an exit code other than zero", [&] { outcomes[kKeyMachineSf].exitCode = 1; },
       ExportEndedWithCode(1, kKeyMachineSf) + kCantRead},
      {"an empty export", [&] { exports[kKeyUserSf] = ""; }, ExportEmpty(kKeyUserSf, kTemp2) + kCantRead},
      {"an export never written", [&] { afterExport = [&](const std::string&) { fake.files.files.erase(kTemp4); }; },
       ExportEmpty(kKeyMachineSf, kTemp4) + kCantRead},
      {"an export that cannot be read", [&] { fake.log.Fail("ReadWholeFile(" + kTemp2 + ")", 0, 32); },
       Described(kCannotReadAction, kTemp2,
                 "The process cannot access the file because it is being used by another process. (error 32)")},
      {"an export that is no text", [&] { exports[kKeyUserSf] = std::string("\xFF\xFE\x00\xDC", 4); },
       ExportNotText(kKeyUserSf)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake.files.files.erase(kBackupPath);
    view.messages.clear();
    c.arrange();
    ExpectFailedRun(kFailure + c.reason);
    EXPECT_FALSE(AnyTempFileLeft());
    ExpectNextRunSucceeds();
  }
}

TEST_F(BackupTest, LeftoverThatCannotBeDeletedStopsTheBackupBeforeAnyExport) {
  fake.files.files[kTemp1] = "left over";
  fake.files.files[kTemp2] = "left over";
  fake.log.Fail("Delete(" + kTemp2 + ")", CallLog::kEvery, 5);
  ExpectFailedRun(kFailure + Described(kCannotDeleteAction, kTemp2, "Access is denied. (error 5)"));
  EXPECT_TRUE(fake.processes.started.empty());
  // Removed where possible: only the one that cannot be deleted is still there.
  EXPECT_FALSE(HasFile(kTemp1));
  EXPECT_TRUE(HasFile(kTemp2));
  ExpectNextRunSucceeds();
}

// A failed run leaves the previous backup exactly as it was, and nothing half-made beside it.
TEST_F(BackupTest, OldBackupIsReplacedOnlyByACompleteVerifiedNewOne) {
  const std::string oldBackup = Utf16File(kHeader + "\r\nOLD LINE\r\n");
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string prompt;
  } cases[] = {
      {"an export that fails", [&] { outcomes[kKeyUserUsf].exitCode = 1; },
       kFailure + ExportEndedWithCode(1, kKeyUserUsf) + kCantRead},
      {"an export cut short", [&] { afterExport = CutShort(kTemp1); }, kFailure + ExportNotText(kKeyUserUsf)},
      {"a new backup that another program changes before it is read back",
       [&] { fake.files.onWritten = [&](const std::string& path) { fake.files.files[path].pop_back(); }; },
       kFailure + NewBackupNotReadBack(kNewBackupPath)},
      {"a new backup that cannot be written", [&] { fake.log.Fail("WriteNewFile(" + kNewBackupPath + ")", 0, 112); },
       kFailure + Described(kCannotWriteAction, kNewBackupPath, "There is not enough space on the disk. (error 112)")},
      {"an old backup that cannot be replaced",
       [&] { fake.log.Fail("Replace(" + kNewBackupPath + ", " + kBackupPath + ")", 0, 5); },
       kFailure + Described(kCannotReplace, kBackupPath, "Access is denied. (error 5)")},
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
    ExpectNextRunSucceeds();
    EXPECT_EQ(fake.files.files.at(kBackupPath).find(Utf8ToUtf16Le("OLD")), std::string::npos);
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
      {"an unwritable file", [&] { fake.log.Fail("WriteNewFile(" + named + ".new)", 0, 112); }, 112},
      {"an export cut short", [&] { afterExport = CutShort(kTemp1); }, 13},
      {"an editor that cannot start",
       [&] { fake.log.Fail("Start(regedit /e \"" + kTemp1 + "\" \"" + kKeyUserUsf + "\")", 0, 740); }, 740},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.files.files.erase(named);
    c.arrange();
    Outcome outcome = backup.Run(named);
    EXPECT_EQ(outcome.done(), c.code == 0);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.file, named);
    EXPECT_EQ(outcome.done(), outcome.message == kBackedUp);
    EXPECT_EQ(HasFile(named), c.code == 0);
    EXPECT_FALSE(HasFile(kBackupPath));
    fake.log.ClearFailures();
    outcomes.clear();
    afterExport = nullptr;
  }
}

TEST_F(BackupTest, TemporaryFileThatCannotBeDeletedLeavesTheSuccessStanding) {
  fake.log.Fail("Delete(" + kTemp4 + ")", 0, 32);
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  EXPECT_TRUE(HasFile(kTemp4));
  EXPECT_FALSE(HasFile(kTemp1));
  // The next run deletes it before it starts any export: none of them finds it there.
  fake.files.files[kTemp4] = "left over";
  fake.log.ClearFailures();
  bool leftOverSeen = false;
  fake.processes.onRun = [&](const std::string& commandLine) {
    leftOverSeen = leftOverSeen || (HasFile(kTemp4) && fake.files.files.at(kTemp4) == "left over");
    return fake.ExportLikeRegedit(commandLine);
  };
  view.messages.clear();
  presenter.OnBackup();
  EXPECT_EQ(Prompts(), std::vector<std::string>{kBackedUp});
  EXPECT_FALSE(leftOverSeen);
  EXPECT_FALSE(AnyTempFileLeft());
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

}  // namespace
