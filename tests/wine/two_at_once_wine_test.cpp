// Two zolvane-cli processes started together, round after round, under Wine, where only the user's one named
// mutex keeps them apart: two backups into one file and into two, each file then one the restore reads back as
// the registry holds the keys and nothing left behind; two writers of one folder (set beside set, set beside
// import), its two values then agreeing. Every run succeeds. The prefix is put back.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "backup_check.h"
#include "run_program.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "vocabulary/shell_folder_keys.h"
#include "wine_check.h"

namespace {

// Starts both command lines together, rounds times: each run must succeed, and what the pair left must hold
// (what is amiss, or empty text) after each round.
void RunTogether(const std::wstring& first, const std::wstring& second, int rounds,
                 const std::function<std::string()>& whatIsAmiss) {
  int failed = 0;
  int amiss = 0;
  for (int round = 0; round < rounds; ++round) {
    CapturedRun a(Cli(first), L"first");
    CapturedRun b(Cli(second), L"second");
    for (const ProgramRun& run : {a.Finish(), b.Finish()}) {
      if (run.exitCode == 0) continue;
      ++failed;
      std::printf("round %d: a run ended with %lld (start error %lu): %s\n", round, run.exitCode, run.startError,
                  run.err.c_str());
    }
    std::string amissNow = whatIsAmiss();
    if (amissNow.empty()) continue;
    ++amiss;
    std::printf("round %d: %s\n", round, amissNow.c_str());
  }
  std::printf("%s beside %s, %d rounds: %d runs failed, %d rounds left something amiss\n", Utf8(first).c_str(),
              Utf8(second).c_str(), rounds, failed, amiss);
  CHECK_EQ(failed, 0);
  CHECK_EQ(amiss, 0);
}

std::string WhatTheBackupsMiss(const std::wstring& first, const std::wstring& second) {
  for (const std::wstring& file : {first, second}) {
    std::string missed = WhatTheBackupMisses(file);
    if (!missed.empty()) return Utf8(file) + ": " + missed;
    if (Exists(file + L".new")) return Utf8(file) + ".new is left";
  }
  return e2e::BackupTempFilesLeft() ? "an export is left in the temporary folder" : "";
}

void TestTwoBackups() {
  const std::wstring a = TempFolder() + L"zolvane-race-a.bak";
  const std::wstring b = TempFolder() + L"zolvane-race-b.bak";
  RunTogether(L"backup \"" + a + L"\"", L"backup \"" + a + L"\"", 20, [&] { return WhatTheBackupsMiss(a, a); });
  RunTogether(L"backup \"" + a + L"\"", L"backup \"" + b + L"\"", 20, [&] { return WhatTheBackupsMiss(a, b); });
  DeleteFileW(a.c_str());
  DeleteFileW(b.c_str());
}

// Favorites' two values agree: Shell Folders holds the expansion of User Shell Folders.
std::string WhereFavoritesDisagree() {
  std::wstring stored = UpToNul(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Favorites").bytes);
  std::wstring shell = UpToNul(ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites").bytes);
  return shell == Expanded(stored) ? "" : "Favorites: " + Utf8(stored) + " beside " + Utf8(shell);
}

void TestTwoWritersOfOneFolder() {
  e2e::RegistryKeeper keeper;
  keeper.Keep(HKEY_CURRENT_USER, kUserShellFoldersKey, "Favorites");
  keeper.Keep(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites");
  const std::wstring backup = TempFolder() + L"zolvane-race-favorites.reg";
  WriteFileBytes(backup, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" +
                             std::string(kUserShellFoldersKey) +
                             "]\r\n\"Favorites\"=hex(2):44,00,3a,00,5c,00,42,00,00,00\r\n[HKEY_CURRENT_USER\\" +
                             kShellFoldersKey + "]\r\n\"Favorites\"=\"D:\\\\B\"\r\n");
  const std::wstring setA = L"set Favorites \"%USERPROFILE%\\ZolvaneRaceA\"";
  RunTogether(setA, L"set Favorites D:\\ZolvaneRaceB", 200, WhereFavoritesDisagree);
  RunTogether(setA, L"import \"" + backup + L"\"", 200, WhereFavoritesDisagree);
  DeleteFileW(backup.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  TestTwoBackups();
  TestTwoWritersOfOneFolder();
  return wine_check::Summary();
}
