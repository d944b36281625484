// The end-to-end scenarios, each run by name from the command line: "zolvane_e2e NAME PATH-TO-Zolvane.exe"; and what
// they share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"

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

// Where a folder keeps its two values, and both kept to be put back when the keeper goes.
HKEY HiveOf(const Folder& folder);
void KeepFolder(RegistryKeeper& keeper, const Folder& folder);

// Picks the folder in the list and waits for the window to show it; false (and a failed check) when it did not.
bool ShowFolder(ZolvaneApp& app, int index);
// Starts Zolvane with the folder selected; false (and a failed check) when it could not.
bool StartWithFolder(ZolvaneApp& app, int index);
// Answers the one message box that comes, without an icon, with OK; returns its text (empty when none came).
std::string AnswerMessageBox(ZolvaneApp& app, DWORD timeoutMs = kWaitMs);
// Clicks a button and answers the message box that follows.
std::string ClickAndAnswer(ZolvaneApp& app, int button, DWORD timeoutMs = kWaitMs);

// Whether Alt+M opens the menu's drop-down within the wait, as it does unless the menu is greyed; the menu is left
// closed. (Wine answers no menu state to another process: the keyboard asks instead.)
bool MenuOpens(ZolvaneApp& app, DWORD waitMs = kWaitMs);

// The client area as designed in twips, at the screen's resolution, and the window centred in the work area.
void CheckDesignedPlace(HWND window, int clientWidthTwips, int clientHeightTwips);

// The scenarios, registered once each where they are written: E2E_SCENARIO(ScenarioStartUp, "start-up", true) { ... }
// defines a scenario run as "zolvane_e2e start-up PATH", and true also runs it against the 32-bit exe under
// 32-bit Wine. CMake reads these lines from the sources to make one CTest test a scenario.
struct Scenario {
  const char* name;
  void (*run)(const std::string& exe);
};
const std::vector<Scenario>& Scenarios();

struct ScenarioRegistration {
  ScenarioRegistration(const char* name, void (*run)(const std::string& exe));
};

#define E2E_SCENARIO(function, name, alsoOn32Bit)                           \
  void function(const std::string& exe);                                    \
  static const ScenarioRegistration function##Registration(name, function); \
  void function(const std::string& exe)

// Not a test: chooses "About Zolvane" in a running Zolvane, for the README's screenshot.
int OpenAboutInRunningApp();

}  // namespace e2e
