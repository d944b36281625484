// Scenarios of "Restore from backup..." and of the backup beside the command line: a backup made by the button
// is chosen in the system's real open-file dialog, a No changes nothing, and a Yes brings back the value changed
// since; a file that would carry keys past the check on lone line feeds is refused; and twenty rounds of the
// button and a zolvane-cli backup started together.
#include <windows.h>

#include <fstream>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/run_program.h"
#include "tests/wine/wine_check.h"
#include "vocabulary/registry_file.h"

namespace e2e {

namespace {

const char* const kDialogCaption = "Restore from backup";
const char* const kChangedPath = "D:\\Changed since the backup";

BOOL CALLBACK TakeVisibleEdit(HWND child, LPARAM found) {
  if (ClassOf(child) != "Edit" || !IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// The dialog's file name box, wherever the dialog keeps it: its one visible edit control.
HWND FileNameBox(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(dialog, TakeVisibleEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Chooses the menu command, confirms the preselected file in the dialog and returns the box that follows: the
// question, or the refusal of a file that is no backup.
HWND ChooseBackupInDialog(ZolvaneApp& app, const std::string& expectedName) {
  app.ChooseMenu(IDM_RESTORE_FROM_BACKUP);
  HWND dialog = app.WaitForWindow("#32770", kDialogCaption);
  if (!CHECK(dialog != nullptr)) return nullptr;
  CHECK(GetWindow(dialog, GW_OWNER) == app.main());
  HWND name = FileNameBox(dialog);
  CHECK(name != nullptr && WaitUntil([&] { return TextOf(name) == expectedName; }));
  PressButton(GetDlgItem(dialog, IDOK));
  CHECK(WaitUntil([dialog] { return !IsWindow(dialog); }));
  HWND question = app.WaitForMessageBox("Zolvane");
  CHECK(question != nullptr);
  return question;
}

void Answer(HWND box, int button) {
  PressButton(GetDlgItem(box, button));
  CHECK(WaitUntil([box] { return !IsWindow(box); }));
}

// Starts Zolvane, restores from the backup on the desktop with Yes to the question, if one is asked, and returns
// the message that tells how it went (nullptr, and a failed check, when there is none).
HWND RestoreFromDesktopBackup(ZolvaneApp& app) {
  if (!StartWithFolder(app, kMyDocuments)) return nullptr;
  HWND question = ChooseBackupInDialog(app, "specialfolders.bak");
  if (question == nullptr || GetDlgItem(question, IDYES) == nullptr) return question;
  Answer(question, IDYES);
  HWND outcome = app.WaitForMessageBox("Zolvane", 40000);
  CHECK(outcome != nullptr);
  return outcome;
}

}  // namespace

E2E_SCENARIO(ScenarioRestoreFromBackup, "restore-from-backup", true) {
  RegistryKeeper keeper;
  BackupFileKeeper backupFile;
  keeper.Keep(HKEY_CURRENT_USER, kUserShellFolders, "Personal");
  keeper.Keep(HKEY_CURRENT_USER, kShellFolders, "Personal");
  RegData before = ReadValue(HKEY_CURRENT_USER, kUserShellFolders, "Personal");
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kMyDocuments)) return;
  CHECK_EQ(ClickAndAnswer(app, IDC_BACKUP), std::string("Shell folder registry keys are now backed up."));
  CHECK(WriteText(HKEY_CURRENT_USER, kUserShellFolders, "Personal", kChangedPath, REG_EXPAND_SZ));

  // No: nothing is imported and no other box follows.
  HWND question = ChooseBackupInDialog(app, "specialfolders.bak");
  if (question == nullptr) return;
  // The question names the file and how many values it changes (My Documents' and any the shell has rewritten).
  std::string asked = ZolvaneApp::MessageBoxText(question);
  CHECK_EQ(asked.substr(0, asked.find('\n')),
           "Replace the current special folder paths with those in " + backupFile.path() + "?");
  CHECK(asked.find("\nIt changes ") != std::string::npos && asked.find("It changes no value") == std::string::npos);
  Answer(question, IDNO);
  CHECK(app.WaitForMessageBox("Zolvane", 1000) == nullptr);
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kUserShellFolders, "Personal"), std::string(kChangedPath));

  // Yes: the backup's value is back, and the window shows it.
  question = ChooseBackupInDialog(app, "specialfolders.bak");
  if (question == nullptr) return;
  Answer(question, IDYES);
  HWND outcome = app.WaitForMessageBox("Zolvane", 40000);
  if (!CHECK(outcome != nullptr)) return;
  CHECK_EQ(ZolvaneApp::MessageBoxText(outcome),
           "Restored the special folder paths from \"" + backupFile.path() + "\".");
  CHECK(ZolvaneApp::PressOk(outcome));
  CHECK(ReadValue(HKEY_CURRENT_USER, kUserShellFolders, "Personal") == before);
  CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == ExpectedLocation(kFolders[kMyDocuments]); }));
}

namespace {

bool KeyExists(const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The restore's own reading of a backup: readable, a section for each of the four keys, and My Documents as the
// registry holds it.
bool RestorableWithTheCurrentValues(const std::string& path) {
  RegistryFile parsed = ParseRegistryFile(FileBytes(path));
  if (!parsed.readable || parsed.sections != std::array<bool, 4>{true, true, true, true}) return false;
  RegData personal = ReadValue(HKEY_CURRENT_USER, kUserShellFolders, "Personal");
  for (const RegistryFileValue& value : parsed.values) {
    if (value.key->path != std::string(kUserShellFolders) || value.key->hive != platform::kHkeyCurrentUser) continue;
    if (value.name == "Personal")
      return value.type == personal.type && personal.bytes == std::vector<BYTE>(value.bytes.begin(), value.bytes.end());
  }
  return false;
}

}  // namespace

// The file the window offers is one whose comment line hides, behind lone line feeds, a key of its own and a
// key's deletion: the window says which line stops it, and neither key is touched.
E2E_SCENARIO(ScenarioRestoreRefusesSmuggledFile, "restore-refuses-smuggled-file", true) {
  const std::string planted = "Software\\ZolvaneSmuggledByWindow";
  const std::string victim = "Software\\ZolvaneVictimOfWindow";
  BackupFileKeeper backupFile;
  RegistryKeeper keeper;
  keeper.KeepKeyAbsence(HKEY_CURRENT_USER, victim);
  CHECK(WriteText(HKEY_CURRENT_USER, victim, "kept", "yes", REG_SZ));
  std::ofstream(backupFile.path(), std::ios::binary)
      << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" << kUserShellFolders
      << "]\r\n\"ZolvaneProbe\"=\"C:\\\\Probe\"\r\n; x\n[HKEY_CURRENT_USER\\" << planted
      << "]\n\"x\"=\"y\"\n[-HKEY_CURRENT_USER\\" << victim << "]\r\n";
  ZolvaneApp app(exe);
  // Refused before any question is asked.
  HWND outcome = RestoreFromDesktopBackup(app);
  if (outcome == nullptr) return;
  CHECK(GetDlgItem(outcome, IDYES) == nullptr);
  CHECK_EQ(ZolvaneApp::MessageBoxText(outcome),
           "\"" + backupFile.path() +
               "\" is not a backup of the special folder paths, so nothing was imported.\nLine 6: "
               "[HKEY_CURRENT_USER\\" +
               planted + "]\nThis key is not one of the four keys that hold the special folder paths.");
  CHECK(ZolvaneApp::PressOk(outcome));
  CHECK(!KeyExists(planted));
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, victim, "kept"), std::string("yes"));
  CHECK(!ReadValue(HKEY_CURRENT_USER, kUserShellFolders, "ZolvaneProbe").present);
}

// A file that names one key below the four a hundred thousand times: the window's message names it once, and
// stays on the screen.
E2E_SCENARIO(ScenarioRestoreNamesARepeatedKeyOnce, "restore-names-a-repeated-key-once", false) {
  const std::string sub = "HKEY_CURRENT_USER\\" + std::string(kUserShellFolders) + "\\ZolvaneRepeated";
  BackupFileKeeper backupFile;
  RegistryKeeper keeper;
  keeper.Keep(HKEY_CURRENT_USER, kUserShellFolders, "ZolvaneProbe");
  std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\" +
                     std::string(kUserShellFolders) + "]\r\n\"ZolvaneProbe\"=\"C:\\\\Probe\"\r\n";
  for (int i = 0; i < 100000; ++i) text += "[" + sub + "]\r\n\"x\"=\"y\"\r\n";
  std::ofstream(backupFile.path(), std::ios::binary) << text;
  ZolvaneApp app(exe);
  HWND outcome = RestoreFromDesktopBackup(app);
  if (outcome == nullptr) return;
  std::string said = ZolvaneApp::MessageBoxText(outcome);
  CHECK_EQ(said.find(sub), said.rfind(sub));
  CHECK(said.find(sub) != std::string::npos);
  RECT box;
  GetWindowRect(outcome, &box);
  CHECK(box.left >= 0 && box.top >= 0 && box.right <= GetSystemMetrics(SM_CXSCREEN) &&
        box.bottom <= GetSystemMetrics(SM_CYSCREEN));
  CHECK(ZolvaneApp::PressOk(outcome));
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kUserShellFolders, "ZolvaneProbe"), std::string("C:\\Probe"));
}

// The window's backup and a zolvane-cli backup, started together twenty times: both succeed one after the other,
// each file is one the restore reads back as the registry holds the keys, and nothing is left behind.
E2E_SCENARIO(ScenarioBackupBesideCommandLine, "backup-beside-command-line", true) {
  BackupFileKeeper backupFile;
  std::string windowsExe = WindowsPath(exe);
  std::string cli = windowsExe.substr(0, windowsExe.find_last_of('\\') + 1) + "zolvane-cli.exe";
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::string cliFile = Utf8(temp) + "zolvane-beside-window.bak";
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  int succeeded = 0;
  for (int round = 0; round < 20; ++round) {
    PressButton(app.Control(IDC_BACKUP));
    CapturedRun run(Wide("\"" + cli + "\" backup \"" + cliFile + "\""), L"beside-window");
    HWND box = app.WaitForMessageBox("Zolvane", 40000);
    if (!CHECK(box != nullptr)) return;
    std::string windowOutcome = ZolvaneApp::MessageBoxText(box);
    CHECK(ZolvaneApp::PressOk(box));
    ProgramRun cliOutcome = run.Finish();
    CHECK_EQ(windowOutcome, std::string("Shell folder registry keys are now backed up."));
    CHECK_EQ(cliOutcome.exitCode, 0LL);
    CHECK_EQ(cliOutcome.err, std::string());
    CHECK(RestorableWithTheCurrentValues(backupFile.path()));
    CHECK(RestorableWithTheCurrentValues(cliFile));
    CHECK(GetFileAttributesW(Wide(backupFile.path() + ".new").c_str()) == INVALID_FILE_ATTRIBUTES);
    CHECK(GetFileAttributesW(Wide(cliFile + ".new").c_str()) == INVALID_FILE_ATTRIBUTES);
    CHECK(!BackupTempFilesLeft());
    if (windowOutcome == "Shell folder registry keys are now backed up." && cliOutcome.exitCode == 0) ++succeeded;
    if (!CHECK(WaitUntil([&] { return app.Enabled(IDC_BACKUP); }))) return;
  }
  std::printf("the window's backup beside zolvane-cli's, 20 rounds: %d with both succeeding\n", succeeded);
  DeleteFileW(Wide(cliFile).c_str());
}

}  // namespace e2e
