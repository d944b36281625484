// Restoring a backup: which registry files the parser lets through and what they set, and the restore over the
// fakes, all or nothing.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_platform.h"
#include "features/feature_texts.h"
#include "features/registry_import.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/failure.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/shell_folder_registry.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kUser = "HKEY_CURRENT_USER\\";
const std::string kMachine = "HKEY_LOCAL_MACHINE\\";
const std::string kHeader = std::string(kRegistryFileHeader) + "\r\n";
const std::string kFile = "D:\\Backups\\specialfolders.bak";
const std::string kUsf = kHeader + "\r\n[" + kUser + kUserShellFoldersKey + "]\r\n";  // lines 1 to 3

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

// What regedit would take for the end of a line, or a line it would read differently, cannot carry a key past
// the parser: each shape is refused at the line that would have done harm.
TEST(ParseRegistryFileTest, LetsThroughTheFourKeysAndRefusesTheFirstLineThatCouldDoMore) {
  const std::string smuggled = "[" + kUser + "Software\\Anything]\n\"x\"=\"y\"\n[-" + kUser + "Software\\Else]\r\n";
  const struct {
    std::string bytes;
    int line;  // of the refusal; 0 when the whole file is refused, -1 when it is readable
    std::string reason;
  } cases[] = {
      {Utf16(Backup()), -1, ""},
      {Backup(), -1, ""},
      {"\xEF\xBB\xBF" + Backup(), -1, ""},
      {Backup("REGEDIT4\r\n"), -1, ""},
      {kHeader + "; mine\r\n[hkey_current_user\\SOFTWARE\\MICROSOFT\\windows\\currentversion\\explorer\\SHELL "
                 "folders]\r\n@=\"x\"",
       -1, ""},
      // A lone LF ends a line, after a comment, after a value, or anywhere else.
      {kUsf + "\"Personal\"=\"C:\\\\D\"\r\n; x\n" + smuggled, 6, kNotOneOfTheFourKeys},
      {kUsf + "\"Personal\"=\"C:\\\\D\"\n" + smuggled, 5, kNotOneOfTheFourKeys},
      {kUsf + "\"Personal\"=\"C:\\\\D\"\r" + smuggled, 5, kNotOneOfTheFourKeys},
      {kUsf + "[-" + kUser + kShellFoldersKey + "]", 4, kDeletesAWholeKey},
      // A NUL, or any control character but a tab, inside a line.
      {Utf16(kUsf + "\"P\"=\"a" + std::string(1, '\0') + "\"\r\n" + smuggled), 4, kRegistryLineControlCharacter},
      {kUsf + "\"P\"=\"a\x1b\"", 4, kRegistryLineControlCharacter},
      {kUsf + "\"P\"=\t\"a\"", -1, ""},
      // A blank or comment line inside a list of bytes, or a file that ends inside one.
      {kUsf + "\"P\"=hex:01,\\\r\n\r\n  02", 5, kByteListBroken},
      {kUsf + "\"P\"=hex:01,\\\r\n; c\r\n" + smuggled, 5, kByteListBroken},
      {kUsf + "\"P\"=hex:01,\\", 4, kEndsInsideByteList},
      {kUsf + "\"P\"=hex(2):43,00,\\\r\n  4x", 5, kNotARegistryLine},
      // The header must be the first line.
      {"\r\n\r\n" + Backup(), 1, kNoRegistryFileHeader},
      {"[" + kUser + kUserShellFoldersKey + "]", 1, kNoRegistryFileHeader},
      {Utf16(Backup() + "\r\n[HKEY_CURRENT_USER\\Software\\Run]"), 16, kNotOneOfTheFourKeys},
      {Utf16(Backup() + "\r\n[" + kUser + kUserShellFoldersKey + "X]"), 16, kNotOneOfTheFourKeys},
      {kHeader + "\"Personal\"=\"C:\\\\D\"", 2, kValueBeforeAnyKey},
      {kUsf + "Personal=C:\\D", 4, kNotARegistryLine},
      {kUsf + "\"P\"=\"C:\\D\"", 4, kNotARegistryLine},
      {"REGEDIT4\r\n[" + kUser + kUserShellFoldersKey + "]\r\n\"P\"=\"Caf\xC3\xA9\"", 3, kRegedit4CodePage},
      // A version 5 file without a byte-order mark is read in a code page too; with its mark, as Unicode.
      {kUsf + "\"P\"=\"Caf\xC3\xA9\"", 4, kNoByteOrderMarkCodePage},
      {kUsf + "\"Caf\xC3\xA9\"=\"P\"", 4, kNoByteOrderMarkCodePage},
      {Utf16("\r\n  \r\n"), 0, kRegistryFileEmpty},
      {std::string("\xFF\xFE\x00\xD8", 4) + Utf8ToUtf16Le(Backup()), 0, kRegistryFileNotText},
      {kUsf + "\"P\"=\"\xC3\"", 0, kRegistryFileNotText},
      {kHeader + std::string(16 * 1024 * 1024, ';'), 0, RegistryFileTooLarge()},
      {kUsf + "; nothing", 0, kSetsNoFolderValue},
      {kUsf + "[" + kUser + kUserShellFoldersKey + "\\Sub]\r\n\"x\"=\"y\"", 0, kSetsNoFolderValue},
  };
  for (const auto& c : cases) {
    RegistryFile file = ParseRegistryFile(c.bytes);
    EXPECT_EQ(file.readable, c.line < 0) << c.bytes.substr(0, 300);
    EXPECT_EQ(file.offendingLineNumber, std::max(c.line, 0)) << c.bytes.substr(0, 300);
    EXPECT_EQ(file.reason, c.reason) << c.bytes.substr(0, 300);
  }
  EXPECT_EQ(ParseRegistryFile(kUsf + "junk").offendingLine, "junk");
  EXPECT_EQ(ParseRegistryFile(kUsf + "\"P\"=\"a" + std::string(1, '\0') + "\"").offendingLine, "\"P\"=\"a<0x00>\"");
}

// The largest file a restore takes is read whole, and its last line refused, in time in step with its length
// (bench/ measures the time).
TEST(ParseRegistryFileTest, AFileAtTheSizeLimitIsReadToItsEnd) {
  std::string file = kUsf;
  std::size_t values = 0;
  char line[32];
  while (file.size() + 2 * sizeof line < kMaxRegistryFileBytes) {
    std::snprintf(line, sizeof line, "\"v%07zu\"=-\r\n", values++);
    file += line;
  }
  RegistryFile parsed = ParseRegistryFile(file + "\"v0000000\"=\"last\"");
  ASSERT_TRUE(parsed.readable) << parsed.reason;
  EXPECT_EQ(parsed.values.size(), values);
  EXPECT_FALSE(parsed.values.back().deleted);  // the name given again, at its last place
  EXPECT_EQ(ParseRegistryFile(file + "junk").offendingLineNumber, static_cast<int>(values + 4));
}

TEST(FailureWordsTest, ANameOrPathReachesAMessageAtAReadableLength) {
  std::string name(20000, 'n');
  EXPECT_EQ(Quoted(name), "\"" + std::string(100, 'n') + "..." + std::string(57, 'n') + "\"");
  // A character is never cut in two.
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += "\xD0\x94";
  EXPECT_EQ(Quoted(wide).size(), 2 + 157 * 2 + 3);
}

TEST(ParseRegistryFileTest, GivesEachValueAsTheRegistryIsToStoreIt) {
  const std::string usf4 = "REGEDIT4\r\n[" + kUser + kUserShellFoldersKey + "]\r\n";
  const struct {
    std::string file;
    std::string name;  // of the file's last value
    bool deleted;
    std::uint32_t type;
    std::string bytes;
  } cases[] = {
      {Utf16(kUsf + "\"My \\\"Music\\\"\"=\"C:\\\\M \\\"1\\\"\""), "My \"Music\"", false, 1,
       StringValueBytes("C:\\M \"1\"")},
      {Utf16(kUsf + "\"a\\nb\"=\"c\\rd\""), "a\nb", false, 1, StringValueBytes("c\rd")},
      {Utf16(kUsf + "@=\"\u0414\u043e\u043c\""), "", false, 1, StringValueBytes("\u0414\u043e\u043c")},
      {"\xEF\xBB\xBF" + kUsf + "\"P\"=\"\u0414\"", "P", false, 1, StringValueBytes("\u0414")},
      {Utf16(kUsf + "\"P\"=hex(2):43,00,\\\r\n  00,00"), "P", false, 2, StringValueBytes("C")},
      {kUsf + "\"P\"=hex(2):43,00", "P", false, 2, std::string("C\0", 2)},
      {Utf16(kUsf + "\"P\"=hex(7):41,00,00,00,00,00"), "P", false, 7, std::string("A\0\0\0\0\0", 6)},
      {usf4 + "\"P\"=hex(2):43,3a,00", "P", false, 2, StringValueBytes("C:")},
      {kUsf + "\"B\" = hex:01,ff", "B", false, 3, "\x01\xff"},
      {kUsf + "\"D\"=dword:0000010A", "D", false, 4, std::string("\x0a\x01\0\0", 4)},
      {kUsf + "\"Q\"=hex(b):05,00,00,00,00,00,00,00", "Q", false, 11, std::string("\x05\0\0\0\0\0\0\0", 8)},
      {kUsf + "\"P\"=\"a\"\r\n\"p\"=\"b\"", "p", false, 1, StringValueBytes("b")},
      {kUsf + "\"P\"=\"a\"\r\n\"P\"=-", "P", true, 0, ""},
  };
  for (const auto& c : cases) {
    RegistryFile file = ParseRegistryFile(c.file);
    ASSERT_TRUE(file.readable) << c.file << ": " << file.reason;
    ASSERT_EQ(file.values.size(), 1u) << c.file;
    const RegistryFileValue& value = file.values[0];
    EXPECT_EQ(value.key, &kShellFolderKeys[0]) << c.file;
    EXPECT_EQ(value.name, c.name) << c.file;
    EXPECT_EQ(value.deleted, c.deleted) << c.file;
    if (c.deleted) continue;
    EXPECT_EQ(value.type, c.type) << c.file;
    EXPECT_EQ(value.bytes, c.bytes) << c.file;
  }
  RegistryFile backup = ParseRegistryFile(Utf16(Backup()));
  ASSERT_EQ(backup.values.size(), 4u);
  EXPECT_EQ(backup.sections, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(backup.values[3].key, &kShellFolderKeys[3]);
}

class RegistryImportTest : public ::testing::Test {
 protected:
  RegistryImportTest() {
    fake.files.files[kFile] = Utf16(Backup());
    fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", platform::kRegExpandSz, "D:\\Old");
    fake.registry.SetString(kHkeyLocalMachine, kUserShellFoldersKey, "Common Desktop", platform::kRegSz, "E:\\All");
  }

  FakePlatform fake;
  RegistryImport import{fake.platform()};
};

TEST_F(RegistryImportTest, WritesEveryValueItselfAndStartsNoProgram) {
  EXPECT_EQ(import.Run(kFile).message, RestoredFromBackup(kFile, {}, {}));
  EXPECT_TRUE(fake.processes.started.empty());
  EXPECT_EQ(fake.registry.GetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal"), "C:\\D");
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Personal")->type, platform::kRegExpandSz);
  EXPECT_EQ(fake.registry.GetString(kHkeyCurrentUser, kShellFoldersKey, "Personal"), "C:\\D");
  // A deletion is carried out and read back as gone.
  EXPECT_EQ(fake.registry.GetValue(kHkeyLocalMachine, kUserShellFoldersKey, "Common Desktop"), nullptr);
  EXPECT_EQ(fake.registry.GetValue(kHkeyLocalMachine, kShellFoldersKey, "")->bytes, std::string("\x2a\0\0\0", 4));
  EXPECT_TRUE(fake.locks.Held().empty());
}

// A key below the four, given once or a hundred thousand times, is named once; so is any list a message holds.
TEST_F(RegistryImportTest, KeysBelowTheFourAreLeftAsTheyAreAndNamedOnce) {
  const std::string sub = kUser + kUserShellFoldersKey + "\\Sub";
  std::string subs;
  for (int i = 0; i < 100000; ++i) subs += "\r\n[" + sub + "]\r\n\"x\"=\"y\"";
  fake.files.files[kFile] = "\xEF\xBB\xBF" + Backup() + subs;
  Outcome outcome = import.Run(kFile);
  EXPECT_EQ(outcome.message, RestoredFromBackup(kFile, {}, {sub}));
  std::vector<std::string> many;
  for (int i = 0; i < 25; ++i) many.push_back("key " + std::to_string(i % 15));
  EXPECT_EQ(NamedOnce(many, ", "), "key 0, key 1, key 2, key 3, key 4, key 5, key 6, key 7, key 8, key 9, and 5 more");
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, std::string(kUserShellFoldersKey) + "\\Sub", "x"), nullptr);
}

// A file that is no backup is refused as such; one that cannot be read, or a value that cannot be read before it
// is replaced, fails the restore: either way nothing is written, and the lock is let go.
TEST_F(RegistryImportTest, AFileThatIsNoBackupOrCannotBeReadChangesNothingAndSaysWhy) {
  using Result = Outcome::Result;
  const struct {
    std::function<void()> arrange;
    Result result;
    std::int32_t code;
    std::string message;
  } cases[] = {
      {[&] { fake.files.files[kFile] = kUsf + "Personal=C:\\D"; }, Result::kRefused, 13,
       NotABackupRefusal(kFile) + "\n" + OffendingLine(4, "Personal=C:\\D") + kNotARegistryLine},
      {[&] { fake.files.folders.insert(kFile); }, Result::kRefused, 13,
       NotABackupRefusal(kFile) + "\n" + kNotARegularFile},
      {[&] { fake.files.files[kFile] = std::string(kMaxRegistryFileBytes + 1, ';'); }, Result::kRefused, 13,
       NotABackupRefusal(kFile) + "\n" + RegistryFileTooLarge()},
      {[&] { fake.log.Fail("ReadWholeFile(" + kFile + ")", 0, 32); }, Result::kFailed, 32,
       NotRestoredHeadline(kFile) + "\n" + kCannotReadAction + " \"" + kFile +
           "\": The process cannot access the file because it is being used by another process. (error 32)"},
      {[&] { fake.log.Fail("ReadValue(0x80000002, " + std::string(kShellFoldersKey), CallLog::kEvery, 5); },
       Result::kFailed, 5,
       NotRestoredHeadline(kFile) + "\n" + NotReadBeforeReplaced(ValueInSentence(kMachine + kShellFoldersKey, "")) +
           ": Access is denied. (error 5)" + kNothingChanged},
  };
  for (const auto& c : cases) {
    fake.files.files[kFile] = Utf16(Backup());
    fake.files.folders.erase(kFile);
    fake.log.ClearFailures();
    c.arrange();
    Outcome outcome = import.Run(kFile);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.message, c.message);
    EXPECT_TRUE(fake.registry.changes.empty());
    EXPECT_TRUE(fake.locks.Held().empty());
  }
}

}  // namespace
