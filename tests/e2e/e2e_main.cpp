// The end-to-end driver: runs one named scenario against Zolvane.exe and prints "N passed, N failed".
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace {

struct Scenario {
  const char* name;
  void (*run)(const std::string& exe);
};

const Scenario kScenarios[] = {
    {"version-record", e2e::ScenarioVersionRecord},
    {"start-up", e2e::ScenarioStartUp},
    {"refused-windows7", e2e::ScenarioRefusedOnWindows7},
    {"refused-vista", e2e::ScenarioRefusedOnVista},
    {"fifteen-folders", e2e::ScenarioFifteenFolders},
    {"apply-follows-path", e2e::ScenarioApplyFollowsPath},
    {"apply-my-documents", e2e::ScenarioApplyMyDocuments},
    {"apply-desktop-variable", e2e::ScenarioApplyDesktopWithVariable},
    {"apply-common-desktop", e2e::ScenarioApplyCommonDesktop},
    {"restore-my-documents", e2e::ScenarioRestoreMyDocuments},
    {"restore-shared-video", e2e::ScenarioRestoreSharedVideo},
    {"exit-menu", e2e::ScenarioExitFromMenu},
    {"exit-alt-x", e2e::ScenarioExitByAccessKey},
    {"close-box", e2e::ScenarioCloseBox},
    {"about-window", e2e::ScenarioAboutWindow},
    {"about-closes-with-main", e2e::ScenarioAboutClosesWithMain},
    {"browse-pick", e2e::ScenarioBrowsePick},
    {"browse-cancel", e2e::ScenarioBrowseCancel},
    {"web-links", e2e::ScenarioWebLinks},
    {"random-paths", e2e::ScenarioRandomPaths},
    {"access-keys", e2e::ScenarioAccessKeys},
    {"apply-typed-wide-path", e2e::ScenarioApplyTypedWidePath},
    {"show-stored-wide-path", e2e::ScenarioShowStoredWidePath},
    {"backup-wide-desktop", e2e::ScenarioBackupWideDesktop},
    {"backup-failure-keeps-old", e2e::ScenarioBackupFailureKeepsOld},
    {"backup-ignores-planted-regedit", e2e::ScenarioBackupIgnoresPlantedRegedit},
    {"about-link-double-click", e2e::ScenarioAboutLinkDoubleClick},
    {"apply-refused-write-put-back", e2e::ScenarioApplyRefusedWritePutBack},
    {"backup-window-answers", e2e::ScenarioBackupWindowAnswers},
    {"backup-close-waits", e2e::ScenarioBackupCloseWaits},
    {"restore-from-backup", e2e::ScenarioRestoreFromBackup},
    {"restore-refuses-smuggled-file", e2e::ScenarioRestoreRefusesSmuggledFile},
    {"backup-beside-command-line", e2e::ScenarioBackupBesideCommandLine},
};

int Usage() {
  std::printf("usage: zolvane_e2e SCENARIO PATH-TO-Zolvane.exe | open-about | park-pointer\nscenarios:");
  for (const Scenario& scenario : kScenarios) std::printf(" %s", scenario.name);
  std::printf("\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "open-about") == 0) return e2e::OpenAboutInRunningApp();
  if (argc == 2 && std::strcmp(argv[1], "park-pointer") == 0) return e2e::ParkPointer() ? 0 : 1;
  if (argc != 3) return Usage();
  for (const Scenario& scenario : kScenarios) {
    if (std::strcmp(argv[1], scenario.name) != 0) continue;
    scenario.run(argv[2]);
    return wine_check::Summary();
  }
  return Usage();
}
