// The backup of the shell-folder keys over the fakes: the exports' command lines and order, the file it writes,
// where it goes, and every way it fails, each keeping the old backup and leaving nothing behind.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "features/backup.h"
#include "features/feature_texts.h"
#include "presenters/main_presenter.h"
#include "text/utf16.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using Files = std::map<std::string, std::string, CaseInsensitiveLess>;

const std::string kTemp1 = "C:\\TEMP\\splfolders1.txt";
const std::string kTemp2 = "C:\\TEMP\\splfolders2.txt";
const std::string kTemp3 = "C:\\TEMP\\splfolders3.txt";
const std::string kTemp4 = "C:\\TEMP\\splfolders4.txt";
const std::string kDesktop = "C:\\Documents and Settings\\Ann\\Desktop";
const std::string kBackupPath = kDesktop + "\\specialfolders.bak";
const std::string kNewBackupPath = kBackupPath + ".new";

// The four keys in export order, spelled out: the command lines hold them byte for byte.
const std::string kExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::string kKeyUserUsf = "HKEY_CURRENT_USER" + kExplorer + "User Shell Folders";
const std::string kKeyUserSf = "HKEY_CURRENT_USER" + kExplorer + "Shell Folders";
const std::string kKeyMachineUsf = "HKEY_LOCAL_MACHINE" + kExplorer + "User Shell Folders";
const std::string kKeyMachineSf = "HKEY_LOCAL_MACHINE" + kExplorer + "Shell Folders";

const std::string kHeader = kRegistryFileHeader;
// Every failure's first line; and the fake system's reason for an export the registry editor did not make.
const std::string kFailure = std::string(kNotBackedUp) + "\n";
const std::string kCantRead = ": The configuration registry key could not be read. (error 1012)";

std::string Utf16File(const std::string& utf8) {
  return "\xFF\xFE" + Utf8ToUtf16Le(utf8);
}

const std::string kOldBackup = Utf16File(kHeader + "\r\nOLD\r\n");

// What could not be done, to what, and the fake system's reason, as a failure says it.
std::string Described(const char* action, const std::string& target, const std::string& reason) {
  return std::string(action) + " \"" + target + "\": " + reason;
}

// An export as regedit writes it: header, blank line, the key, its values, a blank line.
std::string ExportText(const std::string& key, const std::string& values) {
  return kHeader + "\r\n\r\n[" + key + "]\r\n" + values + "\r\n";
}

// One user's session: a value in each of the four keys, an old backup on the desktop, and regedit exporting
// from the fake registry unless a test has it do otherwise.
class BackupSession {
 public:
  BackupSession() {
    fake.shell.desktop.path = kDesktop;
    fake.files.files[kBackupPath] = kOldBackup;
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      fake.registry.SetString(kHkeyCurrentUser, key, "Personal", platform::kRegExpandSz, "D:\\Docs");
      fake.registry.SetString(kHkeyLocalMachine, key, "Common Desktop", platform::kRegSz, "C:\\All");
    }
    fake.processes.onRun = [this](const std::string& commandLine) {
      FakeProcesses::Outcome outcome = fake.ExportLikeRegedit(commandLine);
      for (const auto& [key, bytes] : exports) {
        if (commandLine.find("\"" + key + "\"") != std::string::npos) fake.files.files[ExportFile(commandLine)] = bytes;
      }
      for (const auto& [key, ending] : endings) {
        if (commandLine.find("\"" + key + "\"") != std::string::npos) outcome = ending;
      }
      if (afterExport) afterExport(commandLine);
      return outcome;
    };
  }

  static std::string ExportFile(const std::string& commandLine) {
    std::size_t open = commandLine.find('"');
    return commandLine.substr(open + 1, commandLine.find('"', open + 1) - open - 1);
  }

  // regedit ending the export of this file half-way through, with exit code 0.
  std::function<void(const std::string&)> CutShort(const std::string& file) {
    return [this, file](const std::string& commandLine) {
      if (ExportFile(commandLine) == file) fake.files.files[file].resize(fake.files.files[file].size() / 2);
    };
  }

  bool HasFile(const std::string& path) const { return fake.files.files.count(path) != 0; }
  bool AnyTempFileLeft() const { return HasFile(kTemp1) || HasFile(kTemp2) || HasFile(kTemp3) || HasFile(kTemp4); }

  // What a run leaves: the files as they were before it, but for the backup a success wrote and a file the
  // failing call named; no value written, every editor waited for (which ends one still running), and the lock
  // let go.
  void ExpectLeftAsBefore(Files before, const Outcome& outcome, const std::string& failingCall = "") {
    Files now = fake.files.files;
    for (Files* files : {&before, &now}) {
      if (outcome.done()) files->erase(outcome.file);
      for (auto file = files->begin(); file != files->end();) {
        file = !failingCall.empty() && failingCall.find(file->first) != std::string::npos ? files->erase(file)
                                                                                          : std::next(file);
      }
    }
    EXPECT_EQ(now, before);
    EXPECT_TRUE(fake.registry.changes.empty());
    EXPECT_TRUE(fake.locks.Held().empty());
    for (const FakeProcesses::Process& process : fake.processes.started)
      EXPECT_TRUE(process.closed) << process.commandLine;
  }

  FakePlatform fake;
  RegistryBackup backup{fake.platform()};
  // What regedit writes instead of the key's export, and how it ends, by key.
  std::map<std::string, std::string> exports;
  std::map<std::string, FakeProcesses::Outcome> endings;
  std::function<void(const std::string&)> afterExport;
};

class BackupTest : public ::testing::Test, public BackupSession {};

// Each export runs under the lock, by the editor's full path (a regedit.exe beside Zolvane.exe is never searched
// for), once the leftovers of an earlier run are gone; the new backup is written once, beside the old one, after
// the exports are read and gone, and then takes the old one's place.
TEST_F(BackupTest, ExportsEachKeyUnderTheLockAndReplacesTheOldBackupWithOneFile) {
  for (const std::string& file : {kTemp1, kTemp3, kNewBackupPath}) fake.files.files[file] = "left over";
  afterExport = [&](const std::string&) {
    EXPECT_EQ(fake.locks.Held().count(kSessionLockName), 1u);
    for (const std::string& file : {kTemp1, kTemp3}) EXPECT_NE(fake.files.files[file], "left over");
  };
  int written = 0;
  fake.files.onWritten = [&](const std::string& path) {
    ++written;
    EXPECT_EQ(path, kNewBackupPath);
    EXPECT_FALSE(AnyTempFileLeft());
    EXPECT_EQ(fake.files.files.at(kBackupPath), kOldBackup);
  };
  Outcome outcome = backup.Run();
  EXPECT_EQ(outcome.message, kBackedUp);
  EXPECT_EQ(outcome.file, kBackupPath);
  EXPECT_EQ(written, 1);
  const std::string commandLines[4] = {"regedit /e \"" + kTemp1 + "\" \"" + kKeyUserUsf + "\"",
                                       "regedit /e \"" + kTemp2 + "\" \"" + kKeyUserSf + "\"",
                                       "regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf + "\"",
                                       "regedit /e \"" + kTemp4 + "\" \"" + kKeyMachineSf + "\""};
  ASSERT_EQ(fake.processes.started.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(fake.processes.started[i].commandLine, commandLines[i]);
    EXPECT_EQ(fake.processes.started[i].program, "C:\\WINDOWS\\regedit.exe");
  }
  // One UTF-16 registry file of the four exports, with one header.
  const std::string personal = "]\r\n\"Personal\"=hex(2):44,00,3a,00,5c,00,44,00,6f,00,63,00,73,00,00,00\r\n\r\n";
  const std::string commonDesktop = "]\r\n\"Common Desktop\"=\"C:\\\\All\"\r\n\r\n";
  EXPECT_EQ(fake.files.files.at(kBackupPath),
            Utf16File(kHeader + "\r\n\r\n[" + kKeyUserUsf + personal + "\r\n[" + kKeyUserSf + personal + "\r\n[" +
                      kKeyMachineUsf + commonDesktop + "\r\n[" + kKeyMachineSf + commonDesktop));
}

// A file named takes the desktop's place; without the desktop's path the backup goes to the drive's root, as it
// always did, after a notice for the two answers that have one.
TEST_F(BackupTest, ABackupGoesToTheFileNamedElseTheDesktopElseTheDrivesRoot) {
  Outcome named = backup.Run("D:\\Saved\\keys.reg");
  EXPECT_EQ(named.file, "D:\\Saved\\keys.reg");
  EXPECT_TRUE(HasFile("D:\\Saved\\keys.reg"));
  EXPECT_EQ(fake.files.files.at(kBackupPath), kOldBackup);

  using Result = platform::DesktopFolderAnswer::Result;
  const struct {
    Result result;
    std::string desktop;
    std::vector<std::string> notices;
    std::string file;
  } cases[] = {
      {Result::kFound, "D:\\", {}, "D:\\\\specialfolders.bak"},  // a second backslash, as it always had
      {Result::kMissing, "", {kFolderDoesNotExist}, "\\specialfolders.bak"},
      {Result::kInvalidFolder, "", {kInvalidFolderId}, "\\specialfolders.bak"},
      {Result::kFailed, "", {}, "\\specialfolders.bak"},
  };
  for (const auto& c : cases) {
    fake.shell.desktop = platform::DesktopFolderAnswer{c.result, c.desktop};
    fake.files.files.clear();
    Outcome outcome = backup.Run();
    EXPECT_EQ(outcome.notices, c.notices) << c.file;
    EXPECT_EQ(outcome.file, c.file);
    EXPECT_TRUE(HasFile(c.file)) << c.file;
  }
}

// Whatever encoding and line ends each export came in, the file is UTF-16LE with CR LF; only a line that is the
// header itself is left out, and a value that holds the header's words is kept. regedit exports a text value up
// to its first NUL, and the restore gives it back with one terminator: the same text is the same value. A line
// break and a tab are carried, as the editor escapes them, and a long value's continuation lines; a key below the
// four keys is backed up and passed over by the restore.
TEST_F(BackupTest, ExportsOfAnyEncodingAndLineEndBecomeOneFileThatKeepsEveryValue) {
  const std::string words = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 " + kHeader;
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", platform::kRegSz, words);
  exports[kKeyUserUsf] = ExportText(kKeyUserUsf, "\"Personal\"=\"" + words + "\"\n");  // UTF-8, LF
  exports[kKeyUserSf] = Utf16File(kHeader + "\r[" + kKeyUserSf + "]\r\"Personal\"=hex(2):44,00,3a,00,5c,00,44,00," +
                                  "6f,00,63,00,73,00,00,00");  // lone CRs, no final line end
  fake.registry.SetValue(kHkeyLocalMachine, kShellFoldersKey, "Unterminated", platform::kRegSz,
                         std::string("D\0:\0", 4));
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Lines\r\n", platform::kRegSz, "a\tb\nc");
  // A long REG_EXPAND_SZ goes on over continuation lines; a REG_DWORD is a number, the default value's bytes hex.
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Long", platform::kRegExpandSz, std::string(90, 'L'));
  fake.registry.SetValue(kHkeyLocalMachine, kShellFoldersKey, "Number", platform::kRegDword, std::string("*\0\0\0", 4));
  fake.registry.SetValue(kHkeyLocalMachine, kShellFoldersKey, "", platform::kRegBinary, "\x01\x02");
  fake.registry.SetString(kHkeyLocalMachine, std::string(kUserShellFoldersKey) + "\\Extra", "Other", platform::kRegSz,
                          "x");
  // Made, the backup restores as each value is held (the failure table proves that check), so every value is
  // in it once, the header's words too; what it does not check is its encoding and the key below the four.
  EXPECT_EQ(backup.Run().message, kBackedUp);
  const std::string& file = fake.files.files.at(kBackupPath);
  EXPECT_EQ(file.substr(0, Utf16File(kHeader + "\r\n\r\n[").size()), Utf16File(kHeader + "\r\n\r\n["));
  EXPECT_EQ(ParseRegistryFile(file).passedOverKeys, std::vector<std::string>{kKeyMachineUsf + "\\Extra"});
}

// Each failure says why, in its first line that no backup was made, with the failed step's code, which a script
// learns the step from: the old backup stays as it was, nothing half-made or temporary stays beside it, no editor
// runs on and the lock is let go. Then every call a backup makes fails in turn (each export also cut short, each
// editor also hanging): no failure escapes, and a backup told made is whole.
TEST_F(BackupTest, EveryFailureSaysWhyKeepsTheOldBackupAndLeavesNothingBehind) {
  const std::string tempTarget = "C:\\TEMP\\SPLF~LWB.TXT";
  struct Case {
    const char* name;
    std::function<void(BackupSession&)> arrange;
    std::string why;
    std::int32_t code;
    std::size_t editors = 4;  // started
    std::string target = "";  // empty: the desktop's
  };
  auto valueHolding = [](const char* name, std::uint32_t type, const std::string& bytes) {
    return
        [=](BackupSession& s) { s.fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, name, type, bytes); };
  };
  auto temp = [](const char* folder) {
    return [=](BackupSession& s) {
      s.fake.system.tempFolder = folder;
      s.fake.files.files["C:\\Work\\splfolders2.txt"] = "the user's own";  // a bare name's file
    };
  };
  auto exportOf = [](const std::string& key, const std::string& bytes) {
    return [=](BackupSession& s) { s.exports[key] = bytes; };
  };
  auto fails = [](const std::string& call, std::int32_t code) {
    return [=](BackupSession& s) { s.fake.log.Fail(call, 0, code); };
  };
  auto exportTarget = [&](BackupSession& s) {
    s.fake.files.shortNames[tempTarget] = kTemp2;
    s.fake.files.files[kTemp2] = "an export left over";
  };
  const std::string fine = StringValueBytes("D:\\Docs");
  const Case cases[] = {
      {"no Windows folder", fails("WindowsFolder", 0), kNoWindowsFolder, 2, 0},
      {"no temporary folder", temp(""), kNoTempFolder, 3, 0},
      {"a temporary folder with no drive", temp("TEMP\\"), kNoTempFolder, 3, 0},
      {"a temporary folder on no drive", temp("\\TEMP\\"), kNoTempFolder, 3, 0},
      // The files are compared, not the texts that name them: in any case, by an 8.3 name, or behind "\\?\".
      {"an export's file in another case", exportTarget, ExportFileAsTarget("c:\\temp\\SPLFOLDERS2.TXT"), 13, 0,
       "c:\\temp\\SPLFOLDERS2.TXT"},
      {"an export's file by its 8.3 name", exportTarget, ExportFileAsTarget(tempTarget), 13, 0, tempTarget},
      {"an export's file behind \\\\?\\", exportTarget, ExportFileAsTarget("\\\\?\\" + kTemp2), 13, 0,
       "\\\\?\\" + kTemp2},
      {"a read-only file",
       [](BackupSession& s) {
         s.fake.files.files["D:\\kept.bak"] = "a backup the user keeps";
         s.fake.files.readOnly.insert("D:\\kept.bak");
       },
       ReadOnlyTarget("D:\\kept.bak"), 5, 0, "D:\\kept.bak"},
      // What no registry file carries is refused before the exports are read, naming the value and why.
      {"a name with a bell", valueHolding("Bell\a", platform::kRegSz, fine),
       NotCarriable(kKeyUserUsf, "Bell<0x07>", kHoldsControlCharacter), 13},
      {"a path with an escape", valueHolding("Escape", platform::kRegExpandSz, StringValueBytes("D:\x1b")),
       NotCarriable(kKeyUserUsf, "Escape", kHoldsControlCharacter), 13},
      {"half a character pair", valueHolding("Half", platform::kRegSz, std::string("D\0\x00\xD8\0\0", 6)),
       NotCarriable(kKeyUserUsf, "Half", kHoldsHalfACharacterPair), 13},
      {"half a pair in a name", valueHolding("Half \xEF\xBF\xBD", platform::kRegSz, fine),
       NotCarriable(kKeyUserUsf, "Half \xEF\xBF\xBD", kHoldsHalfACharacterPair), 13},
      {"a long REG_DWORD", valueHolding("Long", platform::kRegDword, std::string(8, '\x01')),
       NotCarriable(kKeyUserUsf, "Long", kDwordTooLong), 13},
      {"keys too large for a restore",
       exportOf(kKeyUserSf, Utf16File(kHeader + "\r\n" + std::string(kMaxRegistryFileBytes / 2, ';'))),
       KeysTooLargeToRestore(), platform::kErrorFileTooLarge},
      // The editors already running are ended.
      {"an editor that cannot start", fails("Start(regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf + "\")", 2),
       Described(kCannotStart, "regedit /e \"" + kTemp3 + "\" \"" + kKeyMachineUsf + "\"",
                 "The system cannot find the file specified. (error 2)"),
       2, 2},
      {"an export still running after thirty seconds", [](BackupSession& s) { s.endings[kKeyUserSf].hangs = true; },
       Described(kCannotFinishExportOf, kKeyUserSf, "The wait operation timed out. (error 258)"), 258},
      {"a wait that fails", fails("Finish(regedit /e \"" + kTemp1 + "\" \"" + kKeyUserUsf + "\", 30000)", 0),
       Described(kExportEndUnknown, kKeyUserUsf, "The handle is invalid. (error 6)"), 6},
      {"an exit code other than zero", [](BackupSession& s) { s.endings[kKeyMachineSf].exitCode = 1; },
       ExportEndedWithCode(1, kKeyMachineSf) + kCantRead, 1012},
      {"an empty export", exportOf(kKeyUserSf, ""), ExportEmpty(kKeyUserSf, kTemp2) + kCantRead, 1012},
      {"an export never written",
       [](BackupSession& s) { s.afterExport = [&s](const std::string&) { s.fake.files.files.erase(kTemp4); }; },
       ExportEmpty(kKeyMachineSf, kTemp4) + kCantRead, 1012},
      {"an export that cannot be read", fails("ReadWholeFile(" + kTemp2 + ")", 32),
       Described(kCannotReadAction, kTemp2,
                 "The process cannot access the file because it is being used by another process. (error 32)"),
       32},
      {"an export that is no text", exportOf(kKeyUserSf, std::string("\xFF\xFE\x00\xDC", 4)), ExportNotText(kKeyUserSf),
       13},
      {"an export cut short", [](BackupSession& s) { s.afterExport = s.CutShort(kTemp1); }, ExportNotText(kKeyUserUsf),
       13},
      // A backup is kept only when the restore would give the registry back as it is.
      {"an export the restore refuses",
       exportOf(kKeyUserSf, ExportText(kKeyUserSf, "\"Personal\"=\"D:\\\\Docs\"\r\nx")),
       kNewBackupNotRestorable + std::string("\n") + OffendingLine(9, "x") + kNotARegistryLine, 13},
      {"an export without its section", exportOf(kKeyMachineSf, Utf16File(kHeader + "\r\n")),
       NoSectionInNewBackup(kKeyMachineSf), 13},
      {"an export that misses a value", exportOf(kKeyMachineUsf, ExportText(kKeyMachineUsf, "")),
       MissingFromNewBackup(kKeyMachineUsf, "Common Desktop"), 13},
      {"an export with a value the registry lacks",
       exportOf(kKeyMachineUsf, ExportText(kKeyMachineUsf, "\"Common Desktop\"=\"C:\\\\All\"\r\n@=\"x\"")),
       ExtraValuesInNewBackup(kKeyMachineUsf), 13},
      {"an export of a value as it was not held",
       exportOf(kKeyMachineSf, ExportText(kKeyMachineSf, "\"Common Desktop\"=\"E:\\\\Other\"")),
       NotRestoredAsHeld(kKeyMachineSf, "Common Desktop"), 13},
      // The values are read while the editors run; one that another program changes meanwhile is said so.
      {"a value changed while the backup was made",
       [](BackupSession& s) {
         s.afterExport = [&s](const std::string& commandLine) {
           if (commandLine.find(kKeyUserUsf) == std::string::npos) return;
           s.fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", platform::kRegSz,
                                     "E:\\New");
         };
       },
       ChangedWhileBackingUp(kKeyMachineSf, "Common Desktop"), 13},
      {"a new backup changed before it is read back",
       [](BackupSession& s) {
         s.fake.files.onWritten = [&s](const std::string& path) { s.fake.files.files[path].pop_back(); };
       },
       NewBackupNotReadBack(kNewBackupPath), 13},
      {"a new backup that cannot be written", fails("WriteNewFile(" + kNewBackupPath + ")", 112),
       Described(kCannotWriteAction, kNewBackupPath, "There is not enough space on the disk. (error 112)"), 112},
      // Another program makes the file right after the backup looked for a leftover: it is left alone.
      {"a new backup's file made meanwhile by another program",
       [](BackupSession& s) {
         s.fake.files.files[kNewBackupPath] = "another program's";
         s.fake.log.Fail("Exists(" + kNewBackupPath + ")", 0, 0);
       },
       Described(kCannotWriteAction, kNewBackupPath, "The file exists. (error 80)"), 80},
      {"an old backup that cannot be replaced", fails("Replace(" + kNewBackupPath + ", " + kBackupPath + ")", 5),
       Described(kCannotReplace, kBackupPath, "Access is denied. (error 5)"), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BackupSession s;
    c.arrange(s);
    Files before = s.fake.files.files;
    Outcome outcome = s.backup.Run(c.target);
    EXPECT_EQ(outcome.message, kFailure + c.why);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.file, c.target.empty() ? kBackupPath : c.target);
    EXPECT_EQ(s.fake.processes.started.size(), c.editors);
    s.ExpectLeftAsBefore(before, outcome);
  }

  fake.log.Clear();
  ASSERT_TRUE(backup.Run().done());
  const std::string whole = fake.files.files.at(kBackupPath);
  std::map<std::string, std::size_t> seen;
  int runs = 0;
  for (const std::string& call : fake.log.calls()) {
    std::size_t occurrence = seen[call]++;
    std::map<std::string, std::function<void(BackupSession&)>> failures = {
        {"fails", [&](BackupSession& s) { s.fake.log.Fail(call, occurrence, 1117); }}};
    // Only the editors' exports can come short, and only the editors can hang: they are other programs.
    if (call.rfind("ReadWholeFile(C:\\TEMP\\", 0) == 0) {
      std::string file = call.substr(14, call.size() - 15);
      failures["is cut short"] = [file](BackupSession& s) { s.afterExport = s.CutShort(file); };
    }
    if (call.rfind("Start(", 0) == 0) {
      std::size_t close = call.rfind('"');
      std::size_t open = call.rfind('"', close - 1);
      std::string key = call.substr(open + 1, close - open - 1);
      failures["hangs"] = [key](BackupSession& s) { s.endings[key].hangs = true; };
    }
    for (const auto& [how, fail] : failures) {
      SCOPED_TRACE(call + " " + how);
      BackupSession s;
      fail(s);
      Files before = s.fake.files.files;
      Outcome outcome;
      EXPECT_NO_THROW(outcome = s.backup.Run());
      ++runs;
      if (outcome.done()) {
        EXPECT_EQ(s.fake.files.files.at(outcome.file), whole);
      } else {
        EXPECT_EQ(outcome.message.rfind(kFailure, 0), 0u) << outcome.message;
      }
      // A temporary file that cannot be deleted, or no desktop, leaves the success standing.
      if (call.rfind("Delete(C:\\TEMP\\", 0) == 0 || call.rfind("DesktopFolder(", 0) == 0) {
        EXPECT_TRUE(outcome.done()) << outcome.message;
      }
      for (const std::string& notice : outcome.notices) {
        EXPECT_TRUE(notice != kBackedUp && notice.rfind(kNotBackedUp, 0) != 0) << notice;
      }
      s.ExpectLeftAsBefore(before, outcome, call);
    }
  }
  EXPECT_GT(runs, 40);
}

// Leftovers are removed where they can be; one that cannot be stops the backup before any export.
TEST_F(BackupTest, ALeftoverThatCannotBeDeletedStopsTheBackupBeforeAnyExport) {
  fake.files.files[kTemp1] = "left over";
  fake.files.files[kTemp2] = "left over";
  fake.log.Fail("Delete(" + kTemp2 + ")", CallLog::kEvery, 5);
  Outcome outcome = backup.Run();
  EXPECT_EQ(outcome.message, kFailure + Described(kCannotDeleteAction, kTemp2, "Access is denied. (error 5)"));
  EXPECT_EQ(outcome.code, 5);
  EXPECT_TRUE(fake.processes.started.empty());
  EXPECT_FALSE(HasFile(kTemp1));
  EXPECT_EQ(fake.files.files.at(kTemp2), "left over");
  EXPECT_EQ(fake.files.files.at(kBackupPath), kOldBackup);
}

// The exports run away from the window's thread: the window stays busy until the outcome is told, a second click
// starts nothing, and a close asked for meanwhile waits for the outcome. A failed run leaves the window ready for
// the next; work that breaks off before it has told its outcome is told as a failure, never as the last success.
TEST_F(BackupTest, WhileABackupRunsNothingStartsTwiceACloseWaitsAndABreakOffIsAFailure) {
  FakeMainView view;
  MainPresenter presenter(fake.platform(), view);
  view.Attach(&presenter);
  fake.log.Fail("WindowsFolder", 0, 0);
  presenter.OnBackup();
  view.holdBackgroundWork = true;
  presenter.OnBackup();
  EXPECT_EQ(view.busyChanges, (std::vector<bool>{false, true}));
  presenter.OnBackup();
  EXPECT_FALSE(presenter.OnCloseRequested());
  EXPECT_FALSE(view.closed);
  view.FinishBackgroundWork();
  EXPECT_EQ(fake.processes.started.size(), 4u);
  EXPECT_EQ(view.Prompts(), (std::vector<std::string>{kFailure + kNoWindowsFolder, kBackedUp}));
  EXPECT_EQ(view.busyChanges, (std::vector<bool>{false, true, false}));
  EXPECT_TRUE(view.closed);
  EXPECT_TRUE(presenter.OnCloseRequested());

  presenter.OnBackup();
  view.heldWork = [] {};  // the work ends without a word
  view.FinishBackgroundWork();
  ASSERT_EQ(view.messages.size(), 3u);
  EXPECT_EQ(view.messages[2].prompt.rfind(kFailure, 0), 0u);
}

}  // namespace
