// zolvane-cli under Wine as a cut-off run, an odd system and a busy machine try it: restores and layouts killed at
// random moments, each followed by another command, which finds the keys as before or as after; a journal that
// cannot be read; a backup without a usable temporary folder, and into one of its own files by its 8.3 name; two
// hundred rounds of two writers of one folder at once. The prefix is put back.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
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
constexpr int kRestoredValues = 3000;
constexpr int kRounds = 20;

std::wstring Cli(const std::wstring& arguments) {
  return L"\"" + cliPath + L"\" " + arguments;
}

std::wstring JournalPath() {
  wchar_t folder[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
  return std::wstring(folder) + L"\\Zolvane\\unfinished.reg";
}

std::string ScratchName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "ZolvaneCutOff%04d", i);
  return name;
}

std::string ScratchData(int i) {
  return "C:\\Cut\\" + ScratchName(i);
}

// How many of the restore's values the registry holds as the file sets them; -1 when one holds anything else.
int RestoredValuesHeld() {
  int held = 0;
  for (int i = 0; i < kRestoredValues; ++i) {
    RawValue value = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, ScratchName(i).c_str());
    if (!value.present) continue;
    if (value.type != REG_SZ || value.bytes != Utf8ToUtf16Le(ScratchData(i)) + std::string(2, '\0')) return -1;
    ++held;
  }
  return held;
}

void DeleteRestoredValues() {
  for (int i = 0; i < kRestoredValues; ++i) {
    WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, ScratchName(i).c_str(), RawValue());
  }
}

// A backup that sets many values, so that a restore of it takes long enough to be cut off in the middle.
std::wstring ManyValuesFile() {
  std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kUserShellFoldersKey) + "]\r\n";
  for (int i = 0; i < kRestoredValues; ++i) {
    std::string data = ScratchData(i);
    std::string escaped;
    for (char c : data) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    text += "\"" + ScratchName(i) + "\"=\"" + escaped + "\"\r\n";
  }
  std::wstring file = TempFolder() + L"zolvane-cut-off.reg";
  WriteFileBytes(file, "\xFF\xFE" + Utf8ToUtf16Le(text));
  return file;
}

// A run killed at a random moment of its usual length (and a little past it), then any command.
template <typename Check>
void KillAtRandomThenRunAnother(const std::wstring& command, const wchar_t* tag, DWORD wholeMs, Check check) {
  CapturedRun run(command, tag);
  Sleep(static_cast<DWORD>(std::rand()) % (wholeMs + wholeMs / 5 + 1));
  run.Kill();
  run.Finish();
  ProgramRun next = RunAndCapture(Cli(L"list"));
  CHECK_EQ(next.exitCode, 0LL);
  check(next.err);
  CHECK(!Exists(JournalPath()));
}

void TestCutOffRestoresAreUndoneByTheNextCommand() {
  std::wstring file = ManyValuesFile();
  DWORD began = GetTickCount();
  CHECK_EQ(RunAndCapture(Cli(L"import \"" + file + L"\"")).exitCode, 0LL);
  DWORD wholeMs = GetTickCount() - began;
  CHECK_EQ(RestoredValuesHeld(), kRestoredValues);
  DeleteRestoredValues();
  int undone = 0, finished = 0, untouched = 0;
  for (int round = 0; round < kRounds; ++round) {
    KillAtRandomThenRunAnother(Cli(L"import \"" + file + L"\""), L"cut-off-restore", wholeMs,
                               [&](const std::string& said) {
                                 int held = RestoredValuesHeld();
                                 CHECK(held == 0 || held == kRestoredValues);
                                 if (said.find("A restore that was cut off has been undone") != std::string::npos) {
                                   ++undone;
                                 } else {
                                   ++(held == 0 ? untouched : finished);
                                 }
                               });
    DeleteRestoredValues();
  }
  std::printf(
      "%d restores of %d values killed at random within %lu ms: %d undone by the next command, %d finished, "
      "%d killed before their first write\n",
      kRounds, kRestoredValues, static_cast<unsigned long>(wholeMs * 6 / 5), undone, finished, untouched);
  DeleteFileW(file.c_str());
}

// Five folders moved by a layout: each round ends with all five as they were, or all five moved.
void TestCutOffLayoutsAreUndoneByTheNextCommand() {
  const char* names[] = {"Desktop", "Favorites", "My Music", "My Pictures", "SendTo"};
  std::vector<RawValue> saved;
  for (const char* name : names) {
    const ShellFolder& folder = *FindShellFolder(name);
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      saved.push_back(ReadRawValue(HKEY_CURRENT_USER, key, folder.valueName));
    }
  }
  std::string layout;
  for (const char* name : names) layout += std::string(name) + " = D:\\Layout\\" + name + "\r\n";
  std::wstring file = TempFolder() + L"zolvane-cut-off-layout.txt";
  WriteFileBytes(file, layout);
  auto putBack = [&] {
    std::size_t i = 0;
    for (const char* name : names) {
      for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
        WriteRawValue(HKEY_CURRENT_USER, key, FindShellFolder(name)->valueName, saved[i++]);
      }
    }
  };
  auto moved = [&] {
    int count = 0;
    std::size_t i = 0;
    for (const char* name : names) {
      RawValue now = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, FindShellFolder(name)->valueName);
      std::string path = "D:\\Layout\\" + std::string(name);
      if (now.bytes == Utf8ToUtf16Le(path) + std::string(2, '\0')) {
        ++count;
      } else {
        CHECK(now == saved[i]);
      }
      i += 2;
    }
    return count;
  };
  DWORD began = GetTickCount();
  CHECK_EQ(RunAndCapture(Cli(L"apply \"" + file + L"\"")).exitCode, 0LL);
  DWORD wholeMs = GetTickCount() - began;
  CHECK_EQ(moved(), 5);
  putBack();
  for (int round = 0; round < kRounds; ++round) {
    KillAtRandomThenRunAnother(Cli(L"apply \"" + file + L"\""), L"cut-off-layout", wholeMs, [&](const std::string&) {
      int count = moved();
      CHECK(count == 0 || count == 5);
    });
    putBack();
  }
  DeleteFileW(file.c_str());
}

void TestAJournalThatCannotBeReadIsKeptAndNamed() {
  CreateDirectoryW(JournalPath().substr(0, JournalPath().find_last_of(L'\\')).c_str(), nullptr);
  WriteFileBytes(JournalPath(), "not a journal");
  ProgramRun run = RunAndCapture(Cli(L"list"));
  CHECK_EQ(run.exitCode, 0LL);
  CHECK(run.err.find("The journal of a Zolvane run that was cut off, \"" + Utf8(JournalPath()) +
                     "\", is not a journal Zolvane can read, so it was kept") != std::string::npos);
  CHECK_EQ(ReadFileBytes(JournalPath()), std::string("not a journal"));
  DeleteFileW(JournalPath().c_str());
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
  unsigned seed = GetTickCount();
  std::printf("seed %u\n", seed);
  std::srand(seed);
  TestCutOffRestoresAreUndoneByTheNextCommand();
  TestCutOffLayoutsAreUndoneByTheNextCommand();
  TestAJournalThatCannotBeReadIsKeptAndNamed();
  TestABackupWithoutAUsableTemporaryFolderTouchesNothing();
  TestABackupIntoItsOwnExportByItsShortNameIsRefused();
  TestTwoWritersOfOneFolderNeverInterleave();
  return wine_check::Summary();
}
