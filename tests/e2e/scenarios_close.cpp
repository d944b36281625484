// Scenarios of the program's end: "E&xit" and the title bar's close box each end the process.
#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

E2E_SCENARIO(ScenarioExitFromMenu, "exit-menu", false) {
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  app.ChooseMenu(IDM_EXIT);
  CHECK(app.WaitForExit());
}

E2E_SCENARIO(ScenarioExitByAccessKey, "exit-alt-x", false) {
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  SetForegroundWindow(app.main());
  CHECK(WaitUntilInFrontAndIdle(app.main()));
  SendKey('X', VK_MENU);
  CHECK(app.WaitForExit());
}

E2E_SCENARIO(ScenarioCloseBox, "close-box", false) {
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  // What the close box sends.
  PostMessageW(app.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
  CHECK(app.WaitForExit());
}

}  // namespace e2e
