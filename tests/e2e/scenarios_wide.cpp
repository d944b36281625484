// Paths no code page holds, through the real window: shown from the registry, typed and applied.
#include <windows.h>

#include <string>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

// Types over the whole path box one UTF-16 unit per WM_CHAR, as the keyboard does; the box must show each
// character as it comes, a surrogate pair once both halves are in.
bool TypeOverPathBox(ZolvaneApp& app, const std::wstring& text) {
  app.SelectAllPath();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IS_HIGH_SURROGATE(text[i])) {
      PostMessageW(app.Control(IDC_PATH), WM_CHAR, text[i], 1);
      continue;
    }
    if (!app.TypeInPath(text[i], Utf8(text.substr(0, i + 1)))) return false;
  }
  return true;
}

}  // namespace

// A path no code page holds: one another program stored is shown as it is, and one typed a UTF-16 unit at a time is
// stored exactly and shown back.
E2E_SCENARIO(ScenarioWidePathTypedAndShown, "wide-path-typed-and-shown", true) {
  RegistryKeeper keeper;
  KeepFolder(keeper, kFolders[kSharedMusic]);
  KeepFolder(keeper, kFolders[kMyMusic]);
  const std::string stored = Utf8(std::wstring(kCyrillicGreekCjkPath) + L"\\" + kBeyondBmpCharacter);
  CHECK(WriteRawValue(HKEY_LOCAL_MACHINE, kUserShellFolders, kFolders[kSharedMusic].valueName,
                      TextValue(REG_EXPAND_SZ, Wide(stored))));
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kSharedMusic)) return;
  WaitUntil([&] { return app.Text(IDC_PATH) == stored; });
  CHECK_EQ(app.Text(IDC_PATH), stored);

  if (!ShowFolder(app, kMyMusic)) return;
  const std::wstring paths[] = {kCyrillicGreekCjkPath,
                                std::wstring(kCyrillicGreekCjkPath) + L"\\" + kBeyondBmpCharacter + L" Music"};
  for (const std::wstring& path : paths) {
    if (!CHECK(TypeOverPathBox(app, path))) return;
    CHECK_EQ(ClickAndAnswer(app, IDC_APPLY), "Successfully done!");
    CheckFolderValues(HKEY_CURRENT_USER, kFolders[kMyMusic].valueName, path);
    WaitUntil([&] { return app.Text(IDC_PATH) == Utf8(path); });
    CHECK_EQ(app.Text(IDC_PATH), Utf8(path));
  }
}

}  // namespace e2e
