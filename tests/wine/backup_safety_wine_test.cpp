// zolvane-cli's backup and restore under Wine, tried as an attacker and a busy machine would: a file that would
// carry keys past the check on lone line feeds, a restore whose second value is refused, a backup with a key below
// the four keys, and twenty rounds of two backups started together. The prefix is put back.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"
#include "scratch.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/shell_folder_keys.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

std::wstring cliPath;

std::wstring Cli(const std::wstring& arguments) {
  return L"\"" + cliPath + L"\" " + arguments;
}

const std::string kUserShellFoldersSection =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]";

// A value for the check to let through, then, after lone line feeds that regedit reads as line ends, a key of
// the file's own and the deletion of another's whole tree.
void TestSmuggledKeysAreRefused() {
  const char* const kPlanted = "Software\\ZolvaneSmuggled";
  const char* const kVictim = "Software\\ZolvaneSmuggleVictim";
  RawValue probeBefore = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "ZolvaneSmuggleProbe");
  const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n" + kUserShellFoldersSection +
                           "\r\n\"ZolvaneSmuggleProbe\"=\"C:\\\\Probe\"\r\n; x\n[HKEY_CURRENT_USER\\" + kPlanted +
                           "]\n\"x\"=\"y\"\n[-HKEY_CURRENT_USER\\" + kVictim + "]\r\n";
  const std::string encodings[] = {"\xFF\xFE" + Utf8ToUtf16Le(text), text};
  for (const std::string& bytes : encodings) {
    WriteRawValue(HKEY_CURRENT_USER, kVictim, "kept", RawValue{true, REG_SZ, std::string("k\0\0\0", 4)});
    std::wstring file = TempFolder() + L"zolvane-smuggled.reg";
    WriteFileBytes(file, bytes);
    ProgramRun run = CapturedRun(Cli(L"import \"" + file + L"\""), L"smuggled").Finish();
    CHECK_EQ(run.exitCode, 3LL);
    CHECK(run.err.find("Line 6: [HKEY_CURRENT_USER\\" + std::string(kPlanted) + "]\r\n") != std::string::npos);
    CHECK_EQ(run.out, std::string());
    CHECK(!KeyExists(HKEY_CURRENT_USER, kPlanted));
    CHECK(ReadRawValue(HKEY_CURRENT_USER, kVictim, "kept").present);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "ZolvaneSmuggleProbe") == probeBefore);
    std::printf("smuggled file (%s) refused: %s", bytes[0] == '\xFF' ? "UTF-16LE" : "ASCII",
                run.err.substr(run.err.find("Line 6")).c_str());
    DeleteFileW(file.c_str());
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kVictim).c_str());
}

// The second of two values is refused: the first, already written, is put back, and both are as they were.
void TestRestoreRefusedHalfwayChangesNothing() {
  e2e::RegistryKeeper keeper;
  keeper.Keep(HKEY_CURRENT_USER, kUserShellFoldersKey, "My Music");
  keeper.Keep(HKEY_CURRENT_USER, kShellFoldersKey, "My Music");
  RawValue userShell = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "My Music");
  RawValue shell = ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "My Music");
  std::wstring file = TempFolder() + L"zolvane-refused-halfway.reg";
  WriteFileBytes(file,
                 "\xFF\xFE" + Utf8ToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n" + kUserShellFoldersSection +
                                            "\r\n\"My Music\"=\"D:\\\\Halfway\"\r\n\r\n[HKEY_CURRENT_USER\\" +
                                            kShellFoldersKey + "]\r\n\"My Music\"=\"D:\\\\Halfway\"\r\n"));
  e2e::ShellFoldersRefusal refusal;
  if (!CHECK(refusal.refused())) return;
  ProgramRun run = CapturedRun(Cli(L"import \"" + file + L"\""), L"halfway").Finish();
  CHECK_EQ(run.exitCode, 5LL);
  CHECK_EQ(run.err, "Could not restore the special folder paths from \"" + Utf8(file) +
                        "\".\r\nCannot write the value \"My Music\" of HKEY_CURRENT_USER\\" + kShellFoldersKey + ": " +
                        e2e::SystemWords(5) +
                        " (error 5)\r\nNothing was changed: every value already written was put "
                        "back as it was.\r\n");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "My Music") == userShell);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "My Music") == shell);
  DeleteFileW(file.c_str());
}

// A key any program may make below User Shell Folders goes into the backup, and its restore passes it over.
void TestBackupWithASubkeyImportsAgain() {
  const std::string subKey = std::string(kUserShellFoldersKey) + "\\ZolvaneSubkey";
  WriteRawValue(HKEY_CURRENT_USER, subKey.c_str(), "v", RawValue{true, REG_SZ, std::string("1\0\0\0", 4)});
  std::wstring file = TempFolder() + L"zolvane-subkey.bak";
  DeleteFileW(file.c_str());
  ProgramRun backup = CapturedRun(Cli(L"backup \"" + file + L"\""), L"subkey").Finish();
  CHECK_EQ(backup.exitCode, 0LL);
  WriteRawValue(HKEY_CURRENT_USER, subKey.c_str(), "v", RawValue{true, REG_SZ, std::string("2\0\0\0", 4)});
  ProgramRun import = CapturedRun(Cli(L"import \"" + file + L"\""), L"subkey").Finish();
  CHECK_EQ(import.exitCode, 0LL);
  CHECK_EQ(import.out, "Restored the special folder paths from \"" + Utf8(file) +
                           "\".\r\nThe file also holds keys below the four keys; they were left as they are:\r\n"
                           "HKEY_CURRENT_USER\\" +
                           subKey + "\r\n");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, subKey.c_str(), "v").bytes == std::string("2\0\0\0", 4));
  std::printf("a backup with a key below User Shell Folders: backup exit %lld, import exit %lld\n", backup.exitCode,
              import.exitCode);
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(subKey).c_str());
  DeleteFileW(file.c_str());
}

bool SameAsRestored(const RawValue& held, const RegistryFileValue& backedUp) {
  if (!held.present || held.type != backedUp.type) return false;
  if (held.type != REG_SZ && held.type != REG_EXPAND_SZ) return held.bytes == backedUp.bytes;
  auto text = [](const std::string& bytes) {
    std::wstring units = Utf16LeUnits(bytes);
    return units.substr(0, units.find(L'\0'));
  };
  return text(held.bytes) == text(backedUp.bytes);
}

// The file parses as the restore reads it, and every value it holds is the registry's now.
bool HoldsTheCurrentValues(const std::wstring& file) {
  RegistryFile parsed = ParseRegistryFile(ReadFileBytes(file));
  if (!parsed.readable) return false;
  for (const RegistryFileValue& value : parsed.values) {
    HKEY root = value.key->hive == platform::kHkeyCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (!SameAsRestored(ReadRawValue(root, value.key->path, value.name.c_str()), value)) return false;
  }
  return parsed.sections == std::array<bool, 4>{true, true, true, true};
}

// Twenty rounds of two backups started together, into one file and into two: each success leaves a file the
// restore reads back as the registry holds the keys, each failure says why, and nothing is left behind.
void TestTwoBackupsAtOnce() {
  const std::wstring files[] = {TempFolder() + L"zolvane-race-a.bak", TempFolder() + L"zolvane-race-b.bak"};
  int successes = 0;
  int failures = 0;
  for (bool sameFile : {true, false}) {
    for (int round = 0; round < 20; ++round) {
      const std::wstring& first = files[0];
      const std::wstring& second = sameFile ? files[0] : files[1];
      CapturedRun a(Cli(L"backup \"" + first + L"\""), L"race-a");
      CapturedRun b(Cli(L"backup \"" + second + L"\""), L"race-b");
      ProgramRun runs[] = {a.Finish(), b.Finish()};
      const std::wstring* targets[] = {&first, &second};
      for (int i = 0; i < 2; ++i) {
        if (runs[i].exitCode == 0) {
          ++successes;
          CHECK(HoldsTheCurrentValues(*targets[i]));
        } else {
          ++failures;
          // The verdict, then the reason on a line of its own.
          CHECK(runs[i].err.find("Could not backup the shell folder registry keys\r\n") == 0 &&
                runs[i].err.size() > std::string("Could not backup the shell folder registry keys\r\n").size() + 2);
          std::printf("round %d failed: %s", round, runs[i].err.c_str());
        }
        CHECK(!Exists(*targets[i] + L".new"));
      }
      CHECK(!e2e::BackupTempFilesLeft());
    }
  }
  std::printf("two backups at once, 20 rounds into one file and 20 into two: %d succeeded, %d failed\n", successes,
              failures);
  CHECK_EQ(failures, 0);
  for (const std::wstring& file : files) DeleteFileW(file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  TestSmuggledKeysAreRefused();
  TestRestoreRefusedHalfwayChangesNothing();
  TestBackupWithASubkeyImportsAgain();
  TestTwoBackupsAtOnce();
  return wine_check::Summary();
}
