// Scenarios of the folder list and the path box: every folder's location as the registry holds it, the
// Apply button following the path box, and Apply and Restore Default written through to Wine's registry.
#include <shlobj.h>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

HKEY HiveOf(const Folder& folder) {
  return folder.shared ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

void KeepFolder(RegistryKeeper& keeper, const Folder& folder) {
  keeper.Keep(HiveOf(folder), kUserShellFolders, folder.valueName);
  keeper.Keep(HiveOf(folder), kShellFolders, folder.valueName);
}

bool ShowFolder(ZolvaneApp& app, int index) {
  app.SelectEntry(index);
  std::string label = std::string(kFolders[index].displayName) + " location";
  return CHECK(WaitUntil([&] { return app.Text(IDC_LOCATION_CAPTION) == label; }));
}

bool StartWithFolder(ZolvaneApp& app, int index) {
  return CHECK(app.WaitForMainWindow()) && ShowFolder(app, index);
}

std::string ClickAndAnswer(ZolvaneApp& app, int button, DWORD timeoutMs) {
  return CHECK(app.Click(button)) ? AnswerMessageBox(app, timeoutMs) : std::string();
}

std::string AnswerMessageBox(ZolvaneApp& app, DWORD timeoutMs) {
  HWND box = app.WaitForMessageBox("Zolvane", timeoutMs);
  if (!CHECK(box != nullptr)) return std::string();
  std::string text = ZolvaneApp::MessageBoxText(box);
  CHECK(!HasVisibleIcon(box));
  CHECK(CloseWith(box));
  return text;
}

namespace {

// After Apply or Restore Default: both values of the folder in Wine's registry, the one as stored and the other
// expanded, with their types; and the window showing what the registry holds, Apply waiting for the next edit.
void CheckStoredAndShown(ZolvaneApp& app, const Folder& folder, const std::string& stored) {
  std::string expanded = Expanded(stored);
  CHECK(expanded.find('%') == std::string::npos);
  CheckFolderValues(HiveOf(folder), folder.valueName, Wide(stored));
  CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == expanded; }));
  CHECK(!app.Enabled(IDC_APPLY));
  CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
}

// An edit that is not applied is discarded by the restore, which stores the folder's stock location.
void RestoreAndCheck(ZolvaneApp& app, int index, const std::string& stockPath) {
  if (!ShowFolder(app, index) || !CHECK(app.SetPathText("D:\\Typed but not applied"))) return;
  CHECK(app.Enabled(IDC_APPLY));
  CHECK_EQ(ClickAndAnswer(app, IDC_RESTORE_DEFAULT), "Restored the default values!");
  CheckStoredAndShown(app, kFolders[index], stockPath);
}

}  // namespace

// One run of the window: each of the fifteen folders shown where the registry keeps it, as the list follows the
// keyboard and each pick; Apply waiting for text that is not blank; and Apply and Restore Default each storing a
// user's folder and a shared one through the real registry, a reference unexpanded beside its expansion.
E2E_SCENARIO(ScenarioFoldersShownAppliedAndRestored, "folders-shown-applied-and-restored", true) {
  RegistryKeeper keeper;
  for (int index : {kMyDocuments, kDesktop, kCommonDesktop, kSharedVideo}) KeepFolder(keeper, kFolders[index]);
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
    if (!ShowFolder(app, index)) continue;
    bool shown = WaitUntil([&] { return app.Text(IDC_PATH) == expected; });
    if (!CHECK(shown)) std::printf("  %s: the path box shows \"%s\"\n", folder.displayName, app.Text(IDC_PATH).c_str());
    CHECK_EQ(app.Text(IDC_FOLDER_LIST), folder.displayName);
    CHECK(!app.Enabled(IDC_APPLY));
    CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
  }

  const struct {
    int folder;
    const char* typed;
    const char* stored;
  } applied[] = {
      {kMyDocuments, "  D:\\Data\\Docs  ", "D:\\Data\\Docs"},
      {kDesktop, "%USERPROFILE%\\Docs", "%USERPROFILE%\\Docs"},
      {kCommonDesktop, "D:\\Shared\\Desktop", "D:\\Shared\\Desktop"},
  };
  for (const auto& apply : applied) {
    if (!ShowFolder(app, apply.folder) || !CHECK(app.SetPathText(" "))) return;
    CHECK(!app.Enabled(IDC_APPLY));
    if (!CHECK(app.SetPathText(apply.typed))) return;
    CHECK(app.Enabled(IDC_APPLY));
    CHECK_EQ(ClickAndAnswer(app, IDC_APPLY), "Successfully done!");
    CheckStoredAndShown(app, kFolders[apply.folder], apply.stored);
  }
  RestoreAndCheck(app, kMyDocuments, "%USERPROFILE%\\My Documents");
  RestoreAndCheck(app, kSharedVideo, "%ALLUSERSPROFILE%\\Documents\\My Videos");
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
  RegistryKeeper keeper;
  KeepFolder(keeper, kFolders[kMyDocuments]);
  ZolvaneApp app(exe);
  if (CHECK(app.WaitForMainWindow())) RestoreAndCheck(app, kMyDocuments, "%USERPROFILE%\\Documents");
}

}  // namespace e2e
