// The main window's keyboard: the access keys of Apply, Backup and Restore Default and of the menu and Exit, and
// Enter and Esc in the path box, which press nothing.
#include <windows.h>

#include <cstdio>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

// Presses Alt and a letter in the main window and answers the message box that follows; returns its text.
std::string AccessKeyAndAnswer(ZolvaneApp& app, char letter) {
  CHECK(app.ReadyForKeys());
  SendKey(static_cast<WORD>(letter), VK_MENU);
  return AnswerMessageBox(app, 40000);
}

}  // namespace

bool MenuOpens(ZolvaneApp& app, DWORD waitMs) {
  SetForegroundWindow(app.main());
  CHECK(WaitUntilInFrontAndIdle(app.main()));
  SendKey('M', VK_MENU);
  bool opened = WaitUntil([&] { return !TopLevelWindows(app.processId(), "#32768").empty(); }, waitMs);
  SendKey(VK_ESCAPE);
  if (opened) SendKey(VK_ESCAPE);
  CHECK(WaitUntil([&] { return TopLevelWindows(app.processId(), "#32768").empty(); }));
  return opened;
}

E2E_SCENARIO(ScenarioAccessKeys, "access-keys", false) {
  RegistryKeeper keeper;
  const Folder& myDocuments = kFolders[kMyDocuments];
  KeepFolder(keeper, myDocuments);
  BackupFileKeeper backupFile;
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kMyDocuments) || !CHECK(app.SetPathText("D:\\Keys\\Docs"))) return;
  CHECK_EQ(AccessKeyAndAnswer(app, 'A'), "Successfully done!");
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kUserShellFolders, myDocuments.valueName), "D:\\Keys\\Docs");

  CHECK_EQ(AccessKeyAndAnswer(app, 'R'), "Restored the default values!");
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kUserShellFolders, myDocuments.valueName), "%USERPROFILE%\\My Documents");

  DeleteFileA(backupFile.path().c_str());
  CHECK_EQ(AccessKeyAndAnswer(app, 'B'), "Shell folder registry keys are now backed up.");
  CHECK(GetFileAttributesA(backupFile.path().c_str()) != INVALID_FILE_ATTRIBUTES);

  CHECK(MenuOpens(app));

  // Enter and Esc in the path box press no button: no message, the edit stays, the registry is untouched.
  if (!CHECK(app.SetPathText("D:\\Not applied"))) return;
  ClickCentre(app.Control(IDC_PATH));
  CHECK(WaitUntil([&] { return FocusOf(app.main()) == app.Control(IDC_PATH); }));
  SendKey(VK_RETURN);
  SendKey(VK_ESCAPE);
  Sleep(500);
  CHECK(app.WaitForMessageBox("Zolvane", 0) == nullptr);
  CHECK(!app.HasExited());
  CHECK_EQ(app.Text(IDC_PATH), "D:\\Not applied");
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kUserShellFolders, myDocuments.valueName), "%USERPROFILE%\\My Documents");

  // Alt+X is the access key of Exit, which ends the program. (The pointer leaves the path box, whose tip would
  // have the window wait until it goes.)
  ParkPointer();
  CHECK(app.ReadyForKeys());
  SendKey('X', VK_MENU);
  CHECK(app.WaitForExit());
}

}  // namespace e2e
