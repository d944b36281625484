// zolvane-cli under Wine as an odd system and a busy machine try it: a backup without a usable temporary folder, and
// into one of its own files by its 8.3 name; two hundred rounds of two writers of one folder at once. The prefix is
// put back.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"
#include "scratch.h"
#include "tests/e2e/driver.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/shell_folder_keys.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

std::wstring cliPath;

std::wstring Cli(const std::wstring& arguments) {
  return L"\"" + cliPath + L"\" " + arguments;
}

// This program's environment with TMP and TEMP set to folder.
std::wstring EnvironmentWithTemp(const std::wstring& folder) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
    std::wstring text = entry;
    if (_wcsnicmp(entry, L"TMP=", 4) == 0 || _wcsnicmp(entry, L"TEMP=", 5) == 0) continue;
    block += text + L'\0';
  }
  FreeEnvironmentStringsW(strings);
  return block + L"TMP=" + folder + L'\0' + L"TEMP=" + folder + L'\0';
}

bool AnyExportIn(const std::wstring& folder) {
  for (int i = 1; i <= 4; ++i) {
    if (Exists(folder + L"\\splfolders" + std::to_wstring(i) + L".txt")) return true;
  }
  return false;
}

// TMP and TEMP name an existing folder longer than MAX_PATH: the backup stops before it reads, writes or deletes
// anything, in the current folder (where a file of the user's has an export's name) or the system folder.
void TestABackupWithoutAUsableTemporaryFolderTouchesNothing() {
  std::wstring longFolder = TempFolder() + L"zolvane long temp " + std::wstring(250, L'x');
  CreateDirectoryW((L"\\\\?\\" + longFolder).c_str(), nullptr);
  std::wstring current = TempFolder() + L"zolvane current folder";
  CreateDirectoryW(current.c_str(), nullptr);
  WriteFileBytes(current + L"\\splfolders2.txt", "the user's own");
  std::wstring target = TempFolder() + L"zolvane-long-temp.bak";
  ProgramRun run =
      CapturedRun(Cli(L"backup \"" + target + L"\""), L"long-temp", current, EnvironmentWithTemp(longFolder)).Finish();
  CHECK_EQ(run.exitCode, 6LL);
  CHECK(run.err.find("Windows names no temporary folder the backup can use") != std::string::npos);
  CHECK_EQ(ReadFileBytes(current + L"\\splfolders2.txt"), std::string("the user's own"));
  CHECK(!Exists(current + L"\\splfolders1.txt"));
  CHECK(!AnyExportIn(L"C:\\windows\\system32") && !AnyExportIn(L"C:\\windows"));
  CHECK(!Exists(target));
  DeleteFileW((current + L"\\splfolders2.txt").c_str());
  RemoveDirectoryW(current.c_str());
  RemoveDirectoryW((L"\\\\?\\" + longFolder).c_str());
}

// A file of the user's where an export goes, named by its 8.3 name: refused before anything is deleted.
void TestABackupIntoItsOwnExportByItsShortNameIsRefused() {
  std::wstring exportFile = TempFolder() + L"splfolders2.txt";
  WriteFileBytes(exportFile, "the user's own");
  wchar_t shortName[MAX_PATH] = L"";
  GetShortPathNameW(exportFile.c_str(), shortName, MAX_PATH);
  CHECK(std::wstring(shortName) != exportFile);
  ProgramRun run = RunAndCapture(Cli(L"backup \"" + std::wstring(shortName) + L"\""));
  CHECK_EQ(run.exitCode, 6LL);
  CHECK(run.err.find("is a temporary file of the backup's own; choose another file.") != std::string::npos);
  CHECK_EQ(ReadFileBytes(exportFile), std::string("the user's own"));
  DeleteFileW(exportFile.c_str());
}

// Favorites' two values agree: Shell Folders holds the expansion of User Shell Folders.
bool FavoritesAgree() {
  RawValue user = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Favorites");
  RawValue shell = ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites");
  std::wstring text = Utf16LeUnits(user.bytes);
  text = text.substr(0, text.find(L'\0'));
  wchar_t expanded[MAX_PATH] = L"";
  ExpandEnvironmentStringsW(text.c_str(), expanded, MAX_PATH);
  return shell.bytes == Utf16LeWithTerminator(expanded);
}

// Two writers of one folder at once, two hundred times: the folder's two values always agree, and each writer
// either succeeds or says what stopped it.
void TestTwoWritersOfOneFolderNeverInterleave() {
  RawValue savedUser = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Favorites");
  RawValue savedShell = ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites");
  std::wstring backup = TempFolder() + L"zolvane-race-favorites.reg";
  WriteFileBytes(backup, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" +
                             std::string(kUserShellFoldersKey) +
                             "]\r\n\"Favorites\"=hex(2):44,00,3a,00,5c,00,42,"
                             "00,00,00\r\n[HKEY_CURRENT_USER\\" +
                             std::string(kShellFoldersKey) + "]\r\n\"Favorites\"=\"D:\\\\B\"\r\n");
  const std::wstring pairs[2][2] = {
      {L"set Favorites \"%USERPROFILE%\\ZolvaneRaceA\"", L"set Favorites D:\\ZolvaneRaceB"},
      {L"set Favorites \"%USERPROFILE%\\ZolvaneRaceA\"", L"import \"" + backup + L"\""},
  };
  for (const auto& pair : pairs) {
    int disagreed = 0, failed = 0;
    for (int round = 0; round < 200; ++round) {
      CapturedRun first(Cli(pair[0]), L"race-first");
      CapturedRun second(Cli(pair[1]), L"race-second");
      ProgramRun runs[2] = {first.Finish(), second.Finish()};
      for (const ProgramRun& run : runs) {
        if (run.exitCode == 0) continue;
        ++failed;
        std::printf("a writer failed: %s", run.err.c_str());
      }
      if (!FavoritesAgree()) ++disagreed;
    }
    CHECK_EQ(disagreed, 0);
    CHECK_EQ(failed, 0);
    std::printf("%s beside %s, 200 rounds: the values disagreed %d times, %d runs failed\n", Utf8(pair[0]).c_str(),
                Utf8(pair[1]).c_str(), disagreed, failed);
  }
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Favorites", savedUser);
  WriteRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", savedShell);
  DeleteFileW(backup.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  TestABackupWithoutAUsableTemporaryFolderTouchesNothing();
  TestABackupIntoItsOwnExportByItsShortNameIsRefused();
  TestTwoWritersOfOneFolderNeverInterleave();
  return wine_check::Summary();
}
