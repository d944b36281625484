// Restoring a backup: which registry files the check lets through, what they set, and the import over the fakes.
#include <gtest/gtest.h>

#include "backup/registry_import.h"
#include "core/catalogue.h"
#include "fakes/fake_platform.h"
#include "text/utf16.h"

namespace {

const std::string kUser = "HKEY_CURRENT_USER\\";
const std::string kMachine = "HKEY_LOCAL_MACHINE\\";
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n";
const std::string kFile = "D:\\Backups\\specialfolders.bak";

std::string Section(const std::string& hive, const char* key) {
  return "\r\n[" + hive + key + "]\r\n";
}

// Our own backup's shape, as regedit /e writes the four keys: REG_EXPAND_SZ as hex(2) with continuation lines.
std::string Backup(const std::string& header = kHeader) {
  return header + Section(kUser, kUserShellFoldersKey) +
         "\"Personal\"=hex(2):43,00,3a,00,5c,00,\\\r\n  44,00,00,00\r\n" + Section(kUser, kShellFoldersKey) +
         "\"Personal\"=\"C:\\\\D\"\r\n" + Section(kMachine, kUserShellFoldersKey) + "\"Common Desktop\"=-\r\n" +
         Section(kMachine, kShellFoldersKey) + "@=dword:0000002a\r\n";
}

std::string Utf16(const std::string& utf8) {
  return "\xFF\xFE" + Utf8ToUtf16Le(utf8);
}

std::string Wide(const std::string& utf8) {
  return Utf8ToUtf16Le(utf8) + std::string(2, '\0');
}

struct FileCase {
  const char* what;
  std::string bytes;
  int line;  // of the refusal; 0 when the whole file is refused, -1 when it is importable
  const char* reason;
};

TEST(CheckRegistryFileTest, LetsThroughTheFourKeysAndRefusesTheFirstForeignLine) {
  std::string usf = Section(kUser, kUserShellFoldersKey);  // lines 2 and 3 after the header
  const FileCase cases[] = {
      {"UTF-16 backup", Utf16(Backup()), -1, ""},
      {"single-byte backup", Backup(), -1, ""},
      {"REGEDIT4 backup", Backup("REGEDIT4\r\n"), -1, ""},
      {"keys in another case, comments",
       kHeader + "; mine\r\n[hkey_current_user\\SOFTWARE\\microsoft\\windows\\currentversion\\explorer\\shell "
                 "folders]\r\n@=\"x\"",
       -1, ""},
      {"another key", Utf16(Backup() + "\r\n[HKEY_CURRENT_USER\\Software\\Run]\r\n"), 16,
       "This key is not one of the four keys that hold the special folder paths."},
      {"key deletion", kHeader + "[-" + kUser + kShellFoldersKey + "]\r\n", 2, "This would delete a whole key."},
      {"value before a key", kHeader + "\"Personal\"=\"C:\\\\D\"\r\n", 2, "This value comes before any key is named."},
      {"stray text", kHeader + usf + "Personal=C:\\D\r\n", 4,
       "This is not a value, a key or a comment of a registry file."},
      {"unknown escape", kHeader + usf + "\"P\"=\"C:\\D\"\r\n", 4,
       "This is not a value, a key or a comment of a registry file."},
      {"broken hex list", kHeader + usf + "\"P\"=hex(2):43,00,\\\r\n  4x\r\n", 5,
       "This is not a value, a key or a comment of a registry file."},
      {"hex list after a blank line", kHeader + usf + "\"P\"=hex:01,\\\r\n\r\n  02\r\n", 6,
       "This is not a value, a key or a comment of a registry file."},
      {"no header", "[" + kUser + kUserShellFoldersKey + "]\r\n", 0,
       "The file does not begin with the header of a registry file."},
      {"empty", Utf16("\r\n  \r\n"), 0, "The file is empty."},
      {"too large", kHeader + std::string(16 * 1024 * 1024, ';'), 0,
       "The file is larger than 16 MB, far too large to be a backup."},
      {"only deletions", kHeader + usf + "\"Personal\"=-\r\n", 0, "The file sets no special folder value."},
  };
  for (const FileCase& c : cases) {
    RegistryFileCheck check = CheckRegistryFile(c.bytes);
    EXPECT_EQ(check.importable, c.line < 0) << c.what;
    EXPECT_EQ(check.offendingLineNumber, std::max(c.line, 0)) << c.what;
    EXPECT_EQ(check.reason, c.reason) << c.what;
  }
  EXPECT_EQ(CheckRegistryFile(kHeader + usf + "junk").offendingLine, "junk");
}

struct ValueCase {
  std::string file;
  std::string name;  // of the one value read back; none when the file's value is left out
  std::uint32_t type;
  std::string bytes;
};

TEST(CheckRegistryFileTest, GivesEachValueAsTheRegistryStoresIt) {
  std::string usf = kHeader + Section(kUser, kUserShellFoldersKey);
  std::string usf4 = "REGEDIT4\r\n" + Section(kUser, kUserShellFoldersKey);
  const ValueCase cases[] = {
      {Utf16(usf + "\"My \\\"Music\\\"\"=\"C:\\\\M \\\"1\\\"\""), "My \"Music\"", 1, Wide("C:\\M \"1\"")},
      {Utf16(usf + "@=\"\u0414\u043e\u043c\""), "", 1, Wide("\u0414\u043e\u043c")},
      {Utf16(usf + "\"P\"=hex(2):43,00,\\\r\n  00,00"), "P", 2, Wide("C")},
      {Utf16(usf + "\"P\"=hex(7):41,00,00,00,00,00"), "P", 7, std::string("A\0\0\0\0\0", 6)},
      {usf + "\"B\" = hex:01,ff", "B", 3, "\x01\xff"},
      {usf + "\"D\"=dword:0000010A", "D", 4, std::string("\x0a\x01\0\0", 4)},
      {usf + "\"P\"=\"a\"\r\n\"p\"=\"b\"", "p", 1, Wide("b")},
      {usf + "\"P\"=\"a\"\r\n\"P\"=-", "", 0, ""},
      {usf + "\"P\"=\"\u0414\"", "", 0, ""},           // its characters depend on the code page
      {usf + "\"P\"=hex(2):43,00,00,00", "", 0, ""},   // Wine's regedit reads these bytes as code-page text
      {usf4 + "\"P\"=hex(2):43,3a,00", "", 0, ""},     // single-byte text in a REGEDIT4 file
      {Utf16(usf + "\"P\"=hex(2):43,00"), "", 0, ""},  // Wine adds the missing terminator, Windows does not
  };
  for (const ValueCase& c : cases) {
    RegistryFileCheck check = CheckRegistryFile(c.file);
    ASSERT_TRUE(check.importable) << c.file;
    ASSERT_EQ(check.values.size(), c.type == 0 ? 0u : 1u) << c.file;
    if (c.type == 0) continue;
    const ImportedValue& value = check.values[0];
    EXPECT_EQ(value.hive, platform::kHkeyCurrentUser);
    EXPECT_EQ(value.keyPath, kUserShellFoldersKey);
    EXPECT_EQ(value.valueName, c.name) << c.file;
    EXPECT_EQ(value.type, c.type) << c.file;
    EXPECT_EQ(value.bytes, c.bytes) << c.file;
  }
}

class RegistryImportTest : public ::testing::Test {
 protected:
  RegistryImportTest() {
    fake.files.files[kFile] = Utf16(Backup());
    fake.processes.onRun = [this](const std::string& commandLine) {
      fake.ImportLikeRegedit(commandLine);
      return ending;
    };
  }

  // A failed import: its code and message, and no editor left running or open.
  void ExpectFailure(std::int32_t code, const std::string& reason) {
    ImportOutcome outcome = import.Run(kFile);
    EXPECT_EQ(outcome.result, ImportOutcome::Result::kFailed);
    EXPECT_EQ(outcome.code, code);
    EXPECT_EQ(outcome.message, "Could not restore the special folder paths from \"" + kFile + "\".\n" + reason);
    for (const FakeProcesses::Process& process : fake.processes.started) {
      EXPECT_TRUE(process.closed);
      EXPECT_TRUE(process.terminated || !process.outcome.hangs);
    }
  }

  FakePlatform fake;
  RegistryImport import{fake.platform()};
  FakeProcesses::Outcome ending;
};

TEST_F(RegistryImportTest, ImportsWithTheWindowsFoldersEditorAndReadsBack) {
  ImportOutcome outcome = import.Run(kFile);
  EXPECT_EQ(outcome.result, ImportOutcome::Result::kImported);
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.message, "Restored the special folder paths from \"" + kFile + "\".");
  ASSERT_EQ(fake.processes.started.size(), 1u);
  EXPECT_EQ(fake.processes.started[0].applicationName, "C:\\WINDOWS\\regedit.exe");
  EXPECT_EQ(fake.processes.started[0].commandLine, "regedit /s \"" + kFile + "\"");
  EXPECT_TRUE(fake.processes.started[0].closed);
  EXPECT_EQ(fake.registry.GetString(platform::kHkeyCurrentUser, kUserShellFoldersKey, "Personal"), "C:\\D");
  EXPECT_EQ(fake.registry.GetValue(platform::kHkeyLocalMachine, kShellFoldersKey, "")->bytes,
            std::string("\x2a\0\0\0", 4));
}

TEST_F(RegistryImportTest, RefusedFileStartsNothingAndChangesNothing) {
  fake.files.files[kFile] = kHeader + "[HKEY_CLASSES_ROOT\\exefile]\r\n@=\"x\"\r\n";
  ImportOutcome outcome = import.Run(kFile);
  EXPECT_EQ(outcome.result, ImportOutcome::Result::kInvalidFile);
  EXPECT_EQ(outcome.code, 13);
  EXPECT_EQ(outcome.message, "\"" + kFile +
                                 "\" is not a backup of the special folder paths, so nothing was imported.\n"
                                 "Line 2: [HKEY_CLASSES_ROOT\\exefile]\n"
                                 "This key is not one of the four keys that hold the special folder paths.");
  EXPECT_TRUE(fake.processes.started.empty());
  EXPECT_TRUE(fake.registry.keys().empty());
}

TEST_F(RegistryImportTest, UnreadableFileUnstartableEditorNonZeroExitAndHangFail) {
  const std::string regedit = "\"C:\\WINDOWS\\regedit.exe\": ";
  fake.files.failing["ReadWholeFile(" + kFile + ")"] = 5;
  ExpectFailure(5, "Cannot read \"" + kFile + "\": Access is denied. (error 5)");
  fake.files.failing.clear();
  fake.processes.failing["CreateProcessW(regedit /s \"" + kFile + "\", 2)"] = 2;
  ExpectFailure(2, "Cannot start " + regedit + "The system cannot find the file specified. (error 2)");
  fake.processes.failing.clear();
  ending.exitCode = 1;
  ExpectFailure(1, "Cannot import with " + regedit + "(error 1)");
  ending = FakeProcesses::Outcome{0, true};
  ExpectFailure(258, "Cannot finish the import with " + regedit + "The wait operation timed out. (error 258)");
}

TEST_F(RegistryImportTest, ValueLeftUnchangedFailsNamingIt) {
  fake.registry.DenyWrites(platform::kHkeyCurrentUser, kShellFoldersKey);
  ExpectFailure(1013, "The value \"Personal\" of HKEY_CURRENT_USER\\" + std::string(kShellFoldersKey) +
                          " does not hold what the file sets: The configuration registry key could not be written. "
                          "(error 1013)");
}

}  // namespace
