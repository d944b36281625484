// Scenario of "Restore from backup...": a backup made by the button is chosen in the system's real open-file
// dialog, a No changes nothing, a Yes brings back the value changed since, and a file that is no backup is refused
// before any question.
#include <windows.h>

#include <fstream>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

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
  CHECK(CloseWith(dialog));
  HWND question = app.WaitForMessageBox("Zolvane");
  CHECK(question != nullptr);
  return question;
}

}  // namespace

E2E_SCENARIO(ScenarioRestoreFromBackup, "restore-from-backup", true) {
  RegistryKeeper keeper;
  BackupFileKeeper backupFile;
  KeepFolder(keeper, kFolders[kMyDocuments]);
  RawValue before = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, "Personal");
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kMyDocuments)) return;
  CHECK_EQ(ClickAndAnswer(app, IDC_BACKUP), std::string("Shell folder registry keys are now backed up."));
  CHECK(WriteRawValue(HKEY_CURRENT_USER, kUserShellFolders, "Personal", TextValue(REG_EXPAND_SZ, Wide(kChangedPath))));

  // No: nothing is imported and no other box follows.
  HWND question = ChooseBackupInDialog(app, "specialfolders.bak");
  if (question == nullptr) return;
  // The question names the file and how many values it changes (My Documents' and any the shell has rewritten).
  std::string asked = ZolvaneApp::MessageBoxText(question);
  CHECK_EQ(asked.substr(0, asked.find('\n')),
           "Replace the current special folder paths with those in " + backupFile.path() + "?");
  CHECK(asked.find("\nIt changes ") != std::string::npos && asked.find("It changes no value") == std::string::npos);
  CHECK(CloseWith(question, IDNO));
  CHECK(app.WaitForMessageBox("Zolvane", 1000) == nullptr);
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kUserShellFolders, "Personal"), std::string(kChangedPath));

  // Yes: the backup's value is back, and the window shows it.
  question = ChooseBackupInDialog(app, "specialfolders.bak");
  if (question == nullptr) return;
  CHECK(CloseWith(question, IDYES));
  CHECK_EQ(AnswerMessageBox(app, 40000), "Restored the special folder paths from \"" + backupFile.path() + "\".");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, "Personal") == before);
  CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == ExpectedLocation(kFolders[kMyDocuments]); }));

  // A file whose comment line hides a key of its own behind lone line feeds: refused with the line that stops it,
  // no question asked, and none of its values written.
  keeper.Keep(HKEY_CURRENT_USER, kUserShellFolders, "ZolvaneProbe");
  const std::string planted = "[HKEY_CURRENT_USER\\Software\\ZolvaneSmuggledByWindow]";
  std::ofstream(backupFile.path(), std::ios::binary)
      << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" << kUserShellFolders
      << "]\r\n\"ZolvaneProbe\"=\"C:\\\\Probe\"\r\n; x\n"
      << planted << "\n\"x\"=\"y\"\r\n";
  HWND refusal = ChooseBackupInDialog(app, "specialfolders.bak");
  if (refusal == nullptr) return;
  CHECK(GetDlgItem(refusal, IDYES) == nullptr);
  CHECK_EQ(ZolvaneApp::MessageBoxText(refusal),
           "\"" + backupFile.path() +
               "\" is not a backup of the special folder paths, so nothing was imported.\nLine 6: " + planted +
               "\nThis key is not one of the four keys that hold the special folder paths.");
  CHECK(CloseWith(refusal));
  CHECK(!ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, "ZolvaneProbe").present);
}

}  // namespace e2e
