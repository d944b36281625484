// The end-to-end scenarios, each run by name from the command line: "zolvane_e2e NAME PATH-TO-Zolvane.exe".
#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/driver.h"

namespace e2e {

// The design's fifteen folders in the folder list's order, with where each keeps its path.
struct Folder {
  const char* displayName;
  const char* valueName;
  bool shared;  // HKEY_LOCAL_MACHINE rather than HKEY_CURRENT_USER
};
extern const Folder kFolders[15];
constexpr int kCommonDesktop = 0;
constexpr int kDesktop = 2;
constexpr int kMyDocuments = 4;
constexpr int kMyMusic = 5;
constexpr int kSharedMusic = 9;
constexpr int kSharedVideo = 11;

extern const char* const kCaption;  // the main window's and the About window's caption

// What the path box should show for a folder: its User Shell Folders value, else its Shell Folders value, expanded.
std::string ExpectedLocation(const Folder& folder);

// Starts Zolvane with the folder selected; false (and a failed check) when it could not.
bool StartWithFolder(ZolvaneApp& app, int index);
// Clicks a button and answers the one message box that follows, without an icon; returns its text.
std::string ClickAndAnswer(ZolvaneApp& app, int button, DWORD timeoutMs = kWaitMs);

// The client area as designed in twips, at the screen's resolution, and the window centred in the work area.
void CheckDesignedPlace(HWND window, int clientWidthTwips, int clientHeightTwips);

void ScenarioVersionRecord(const std::string& exe);
void ScenarioStartUp(const std::string& exe);
void ScenarioRefusedOnWindows7(const std::string& exe);
void ScenarioRefusedOnVista(const std::string& exe);
void ScenarioFifteenFolders(const std::string& exe);
void ScenarioApplyFollowsPath(const std::string& exe);
void ScenarioApplyMyDocuments(const std::string& exe);
void ScenarioApplyDesktopWithVariable(const std::string& exe);
void ScenarioApplyCommonDesktop(const std::string& exe);
void ScenarioRestoreMyDocuments(const std::string& exe);
void ScenarioRestoreSharedVideo(const std::string& exe);
void ScenarioExitFromMenu(const std::string& exe);
void ScenarioExitByAccessKey(const std::string& exe);
void ScenarioCloseBox(const std::string& exe);
void ScenarioAboutWindow(const std::string& exe);
void ScenarioAboutClosesWithMain(const std::string& exe);
void ScenarioBrowsePick(const std::string& exe);
void ScenarioBrowseCancel(const std::string& exe);
void ScenarioWebLinks(const std::string& exe);
void ScenarioRandomPaths(const std::string& exe);
void ScenarioAccessKeys(const std::string& exe);
void ScenarioApplyTypedWidePath(const std::string& exe);
void ScenarioRestoreFromBackup(const std::string& exe);
void ScenarioRestoreRefusesSmuggledFile(const std::string& exe);
void ScenarioBackupBesideCommandLine(const std::string& exe);
void ScenarioShowStoredWidePath(const std::string& exe);
void ScenarioBackupWideDesktop(const std::string& exe);
void ScenarioBackupFailureKeepsOld(const std::string& exe);
void ScenarioBackupIgnoresPlantedRegedit(const std::string& exe);
void ScenarioAboutLinkDoubleClick(const std::string& exe);
void ScenarioApplyRefusedWritePutBack(const std::string& exe);
void ScenarioBackupWindowAnswers(const std::string& exe);
void ScenarioBackupCloseWaits(const std::string& exe);

// Not a test: chooses "About Zolvane" in a running Zolvane, for the README's screenshot.
int OpenAboutInRunningApp();

}  // namespace e2e
