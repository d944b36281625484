// Scenario of the About window: opened from the menu, one at a time, modeless, closed by OK, Enter, Esc
// and its close box, and closed with the main window.
#include <windows.h>
#include <commctrl.h>

#include "product_version.h"
#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

HWND OpenAbout(ZolvaneApp& app) {
  app.ChooseMenu(IDM_ABOUT);
  return app.WaitForWindow(ZOLVANE_ABOUT_CLASS, kCaption);
}

std::string AboutText(HWND about, int id) {
  return TextOf(GetDlgItem(about, id));
}

void CheckAboutContent(HWND about) {
  CHECK_EQ(AboutText(about, IDC_ABOUT_TITLE), "Zolvane v" ZOLVANE_VERSION_SHORT);
  CHECK_EQ(AboutText(about, IDC_ABOUT_DESCRIPTION), "Relocate special folders in Windows\xC2\xAE XP");
  CHECK_EQ(AboutText(about, IDC_ABOUT_COPYRIGHT), ZOLVANE_COPYRIGHT);
  CHECK_EQ(AboutText(about, IDC_ABOUT_HOME_LINK), "Telvik's Windows\xC2\xAE Troubleshooting site.");
  CHECK_EQ(AboutText(about, IDC_ABOUT_DONATE_LINK), "To Donate (via PayPal), click this link.");
  CHECK_EQ(AboutText(about, IDC_ABOUT_OK), "OK");
  HWND picture = GetDlgItem(about, IDC_ABOUT_ICON);
  CHECK((GetWindowLongW(picture, GWL_STYLE) & SS_TYPEMASK) == SS_ICON);
  DWORD_PTR icon = 0;
  SendMessageTimeoutW(picture, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
  CHECK(icon != 0);
}

void CheckAboutFrame(HWND about, HWND main) {
  LONG style = GetWindowLongW(about, GWL_STYLE);
  LONG exStyle = GetWindowLongW(about, GWL_EXSTYLE);
  CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
  CHECK((exStyle & WS_EX_DLGMODALFRAME) != 0);
  CHECK((exStyle & WS_EX_APPWINDOW) == 0);
  // Not owned by the main window; its owner is a hidden window that keeps it off the taskbar.
  HWND owner = GetWindow(about, GW_OWNER);
  CHECK(owner != main && (owner == nullptr || !IsWindowVisible(owner)));
  CheckDesignedPlace(about, 4905, 2850);
}

// Presses a key on the keyboard with the About window in front, and waits for the window to go.
bool ClosesOnKey(HWND about, WORD key) {
  SetForegroundWindow(about);
  if (!WaitUntilInFrontAndIdle(about)) return false;
  SendKey(key);
  return WaitUntil([about] { return !IsWindow(about); });
}

}  // namespace

E2E_SCENARIO(ScenarioAboutWindow, "about-window", false) {
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  // A tool tip of the main window is topmost: showing when the About window opens, it would lie above it.
  CHECK(HoverCentre(app.Control(IDC_BROWSE)));
  CHECK(WaitUntil([&] { return !TopLevelWindows(app.processId(), TOOLTIPS_CLASSA).empty(); }));
  HWND about = OpenAbout(app);
  if (!CHECK(about != nullptr)) return;
  CHECK(TopLevelWindows(app.processId(), TOOLTIPS_CLASSA).empty());
  ParkPointer();
  CheckAboutContent(about);
  CheckAboutFrame(about, app.main());
  CHECK(WaitUntil([&] { return FocusOf(about) == GetDlgItem(about, IDC_ABOUT_OK); }));

  // Modeless: the main window goes on working while the About window is open.
  ShowFolder(app, kMyDocuments);

  // "About Zolvane" again brings the same window to the front rather than opening a second.
  SetForegroundWindow(app.main());
  CHECK(WaitUntil([&] { return GetForegroundWindow() == app.main(); }));
  app.ChooseMenu(IDM_ABOUT);
  CHECK(WaitUntil([&] { return GetForegroundWindow() == about; }));
  CHECK_EQ(TopLevelWindows(app.processId(), ZOLVANE_ABOUT_CLASS).size(), 1u);

  CHECK(ClosesOnKey(about, VK_RETURN));
  about = OpenAbout(app);
  if (!CHECK(about != nullptr)) return;
  CHECK(ClosesOnKey(about, VK_ESCAPE));
  about = OpenAbout(app);
  if (!CHECK(about != nullptr)) return;
  CHECK(CloseWith(about, IDC_ABOUT_OK));
  about = OpenAbout(app);
  if (!CHECK(about != nullptr)) return;
  PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  CHECK(WaitUntil([about] { return !IsWindow(about); }));
  // Closing the About window leaves the program running; closing the main window ends it, the About window open.
  CHECK(!app.HasExited() && IsWindowVisible(app.main()));
  if (!CHECK(OpenAbout(app) != nullptr)) return;
  PostMessageW(app.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
  CHECK(app.WaitForExit());
}

int OpenAboutInRunningApp() {
  ParkPointer();
  HWND main = nullptr;
  WaitUntil([&] { return (main = FindWindowA(ZOLVANE_MAIN_WINDOW_CLASS, nullptr)) != nullptr; });
  if (main == nullptr) return 1;
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
  bool shown = WaitUntil([] {
    HWND about = FindWindowA(ZOLVANE_ABOUT_CLASS, nullptr);
    return about != nullptr && IsWindowVisible(about);
  });
  return shown ? 0 : 1;
}

}  // namespace e2e
