// Scenarios of the folder list and the path box: every folder's location as the registry holds it, the
// Apply button following the path box, and Apply and Restore Default written through to Wine's registry.
#include <shlobj.h>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

bool StartWithFolder(ZolvaneApp& app, int index) {
  if (!CHECK(app.WaitForMainWindow())) return false;
  app.SelectEntry(index);
  std::string label = std::string(kFolders[index].displayName) + " location";
  return CHECK(WaitUntil([&] { return app.Text(IDC_LOCATION_CAPTION) == label; }));
}

std::string ClickAndAnswer(ZolvaneApp& app, int button, DWORD timeoutMs) {
  if (!CHECK(app.Click(button))) return std::string();
  HWND box = app.WaitForMessageBox("Zolvane", timeoutMs);
  if (!CHECK(box != nullptr)) return std::string();
  std::string text = ZolvaneApp::MessageBoxText(box);
  CHECK(!HasVisibleIcon(box));
  CHECK(ZolvaneApp::PressOk(box));
  return text;
}

namespace {

HKEY HiveOf(const Folder& folder) {
  return folder.shared ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

void KeepFolder(RegistryKeeper& keeper, const Folder& folder) {
  keeper.Keep(HiveOf(folder), kUserShellFolders, folder.valueName);
  keeper.Keep(HiveOf(folder), kShellFolders, folder.valueName);
}

// Both values of a folder, with their types.
void CheckStored(const Folder& folder, const std::string& userShellFolders, const std::string& shellFolders) {
  DWORD type = 0;
  CHECK_EQ(ReadText(HiveOf(folder), kUserShellFolders, folder.valueName, &type), userShellFolders);
  CHECK_EQ(static_cast<long long>(type), static_cast<long long>(REG_EXPAND_SZ));
  CHECK_EQ(ReadText(HiveOf(folder), kShellFolders, folder.valueName, &type), shellFolders);
  CHECK_EQ(static_cast<long long>(type), static_cast<long long>(REG_SZ));
}

void ApplyAndCheck(const std::string& exe, int index, const std::string& typed, const std::string& stored,
                   const std::string& expanded) {
  const Folder& folder = kFolders[index];
  RegistryKeeper keeper;
  KeepFolder(keeper, folder);
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, index)) return;
  CHECK(!app.Enabled(IDC_APPLY));
  if (!CHECK(app.SetPathText(typed))) return;
  CHECK(app.Enabled(IDC_APPLY));
  std::string message = ClickAndAnswer(app, IDC_APPLY);
  CHECK_EQ(message, "Successfully done!");
  CheckStored(folder, stored, expanded);
  // After the message the box shows what the registry holds now, and Apply waits for the next edit.
  CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == expanded; }));
  CHECK(!app.Enabled(IDC_APPLY));
  CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
}

void RestoreAndCheck(const std::string& exe, int index, const std::string& stockPath) {
  const Folder& folder = kFolders[index];
  RegistryKeeper keeper;
  KeepFolder(keeper, folder);
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, index)) return;
  // An edit that is not applied is discarded by the restore.
  if (!CHECK(app.SetPathText("D:\\Typed but not applied"))) return;
  CHECK(app.Enabled(IDC_APPLY));
  std::string message = ClickAndAnswer(app, IDC_RESTORE_DEFAULT);
  CHECK_EQ(message, "Restored the default values!");
  std::string expanded = Expanded(stockPath);
  CHECK(expanded.find('%') == std::string::npos);
  CheckStored(folder, stockPath, expanded);
  CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == expanded; }));
  CHECK(!app.Enabled(IDC_APPLY));
  CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
}

}  // namespace

E2E_SCENARIO(ScenarioFifteenFolders, "fifteen-folders", true) {
  RegistryKeeper keeper;
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  // A pick with the keyboard in the list itself: the list's own notification reaches the window.
  PostMessageW(app.Control(IDC_FOLDER_LIST), WM_KEYDOWN, VK_DOWN, 0);
  CHECK(WaitUntil([&] { return app.Text(IDC_LOCATION_CAPTION) == "Common Startup location"; }));
  CHECK_EQ(app.FolderListIndex(), 1);
  for (int index = 0; index < 15; ++index) {
    const Folder& folder = kFolders[index];
    std::string expected = ExpectedLocation(folder);
    // Every folder of a fresh prefix has a location, and it reaches the box expanded.
    CHECK(!expected.empty() && expected.find('%') == std::string::npos);
    app.SelectEntry(index);
    std::string label = std::string(folder.displayName) + " location";
    bool shown = WaitUntil([&] { return app.Text(IDC_LOCATION_CAPTION) == label && app.Text(IDC_PATH) == expected; });
    if (!CHECK(shown)) std::printf("  %s: the path box shows \"%s\"\n", folder.displayName, app.Text(IDC_PATH).c_str());
    CHECK_EQ(app.Text(IDC_FOLDER_LIST), folder.displayName);
    CHECK(!app.Enabled(IDC_APPLY));
    CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
  }
}

E2E_SCENARIO(ScenarioApplyFollowsPath, "apply-follows-path", true) {
  RegistryKeeper keeper;
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kMyDocuments)) return;
  CHECK(!app.Enabled(IDC_APPLY));
  app.SelectAllPath();
  CHECK(app.TypeInPath(L' ', " "));
  CHECK(!app.Enabled(IDC_APPLY));
  CHECK(app.TypeInPath(L'x', " x"));
  CHECK(app.Enabled(IDC_APPLY));
  app.SelectAllPath();
  CHECK(app.TypeInPath(VK_BACK, ""));
  CHECK(!app.Enabled(IDC_APPLY));
  CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
}

E2E_SCENARIO(ScenarioApplyMyDocuments, "apply-my-documents", true) {
  ApplyAndCheck(exe, kMyDocuments, "  D:\\Data\\Docs  ", "D:\\Data\\Docs", "D:\\Data\\Docs");
}

E2E_SCENARIO(ScenarioApplyDesktopWithVariable, "apply-desktop-variable", true) {
  std::string expanded = Expanded("%USERPROFILE%\\Docs");
  CHECK(expanded.find('%') == std::string::npos && expanded.size() > 5);
  ApplyAndCheck(exe, kDesktop, "%USERPROFILE%\\Docs", "%USERPROFILE%\\Docs", expanded);
}

E2E_SCENARIO(ScenarioApplyCommonDesktop, "apply-common-desktop", true) {
  ApplyAndCheck(exe, kCommonDesktop, "D:\\Shared\\Desktop", "D:\\Shared\\Desktop", "D:\\Shared\\Desktop");
}

E2E_SCENARIO(ScenarioRestoreMyDocuments, "restore-my-documents", true) {
  RestoreAndCheck(exe, kMyDocuments, "%USERPROFILE%\\My Documents");
}

E2E_SCENARIO(ScenarioRestoreSharedVideo, "restore-shared-video", true) {
  RestoreAndCheck(exe, kSharedVideo, "%ALLUSERSPROFILE%\\Documents\\My Videos");
}

// Run with LANG and LC_ALL set to German (CMake gives every scenario named "...-in-german" that environment), so
// that Wine reports a German Windows: Restore Default stores the shell's own stock location, from %USERPROFILE% on.
E2E_SCENARIO(ScenarioRestoreMyDocumentsInGerman, "restore-my-documents-in-german", false) {
  if (!CHECK_EQ(static_cast<long long>(PRIMARYLANGID(GetSystemDefaultUILanguage())),
                static_cast<long long>(LANG_GERMAN))) {
    return;
  }
  wchar_t shellPath[MAX_PATH] = L"";
  CHECK(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_DEFAULT, shellPath) ==
        S_OK);
  CHECK_EQ(Expanded("%USERPROFILE%\\Documents"), Utf8(shellPath));
  RestoreAndCheck(exe, kMyDocuments, "%USERPROFILE%\\Documents");
}

}  // namespace e2e
