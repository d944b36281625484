// Scenario of the folder browser: a cancelled dialog changes nothing, and a folder picked in the system's real
// dialog reaches the path box and enables Apply.
#include <shlobj.h>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

constexpr int kBrowseTree = 0x3741;
const char* const kBrowseCaption = "Browse for Folder";
const char* const kPickedName = "Zolvane browse pick";

// Where the dialog is to find the folder to pick: on the desktop.
std::wstring DesktopFolderPath() {
  wchar_t desktop[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, 0, desktop);
  return std::wstring(desktop) + L"\\" + Wide(kPickedName);
}

// A tree item's text, read through a buffer in the dialog's process.
std::string TreeItemText(HWND tree, HTREEITEM item, DWORD processId) {
  const SIZE_T textChars = 260;
  RemoteMemory remote(processId, sizeof(TVITEMW) + textChars * sizeof(wchar_t));
  TVITEMW request = {};
  request.mask = TVIF_TEXT;
  request.hItem = item;
  request.pszText = reinterpret_cast<wchar_t*>(remote.address() + sizeof(TVITEMW));
  request.cchTextMax = static_cast<int>(textChars);
  if (!remote.Write(&request, sizeof request)) return std::string();
  DWORD_PTR ok = 0;
  SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.address()), SMTO_ABORTIFHUNG, 5000, &ok);
  wchar_t text[260] = {};
  if (!ok || !remote.Read(text, sizeof text - sizeof(wchar_t), sizeof(TVITEMW))) return std::string();
  return Utf8(text);
}

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from), SMTO_ABORTIFHUNG, 5000, &result);
  return reinterpret_cast<HTREEITEM>(result);
}

// The child of the tree's root (the desktop) with the given text.
HTREEITEM FindDesktopChild(HWND tree, const std::string& text, DWORD processId) {
  HTREEITEM root = TreeItem(tree, TVGN_ROOT, nullptr);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root), SMTO_ABORTIFHUNG, 5000, &ignored);
  for (HTREEITEM item = TreeItem(tree, TVGN_CHILD, root); item != nullptr; item = TreeItem(tree, TVGN_NEXT, item)) {
    if (TreeItemText(tree, item, processId) == text) return item;
  }
  return nullptr;
}

HWND OpenBrowser(ZolvaneApp& app) {
  if (!CHECK(app.Click(IDC_BROWSE))) return nullptr;
  HWND dialog = app.WaitForWindow("#32770", kBrowseCaption);
  if (!CHECK(dialog != nullptr)) return nullptr;
  CHECK(ClassOf(GetDlgItem(dialog, kBrowseTree)) == "SysTreeView32");
  // Modal to the main window.
  CHECK(GetWindow(dialog, GW_OWNER) == app.main());
  CHECK(!IsWindowEnabled(app.main()));
  return dialog;
}

bool HasStaticText(HWND dialog, const std::string& text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (TextOf(child) == text) return true;
  }
  return false;
}

// Returns once the main window's thread is back in its message loop, so that whatever the dialog's
// closing set off has run.
void Settle(ZolvaneApp& app) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(app.main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

void CancelAndCheckNothingChanged(ZolvaneApp& app) {
  std::string text = app.Text(IDC_PATH);
  bool applyEnabled = app.Enabled(IDC_APPLY);
  HWND dialog = OpenBrowser(app);
  if (dialog == nullptr) return;
  CHECK(CloseWith(dialog, IDCANCEL));
  Settle(app);
  CHECK_EQ(app.Text(IDC_PATH), text);
  CHECK(app.Enabled(IDC_APPLY) == applyEnabled);
}

}  // namespace

E2E_SCENARIO(ScenarioBrowse, "browse", false) {
  RegistryKeeper keeper;
  ScratchFolder folder(DesktopFolderPath());
  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kMyDocuments)) return;
  // Cancelled once as the folder was shown (Apply disabled), once with an edit pending (Apply enabled).
  CancelAndCheckNothingChanged(app);
  CHECK(app.SetPathText("%USERPROFILE%\\Typed"));
  CHECK(app.Enabled(IDC_APPLY));
  CancelAndCheckNothingChanged(app);
  CHECK_EQ(app.Text(IDC_PATH), "%USERPROFILE%\\Typed");
  // The pick replaces whatever was typed, variable references included.
  app.SelectAllPath();
  CHECK(app.TypeInPath(VK_BACK, ""));
  CHECK(!app.Enabled(IDC_APPLY));
  HWND dialog = OpenBrowser(app);
  if (dialog == nullptr) return;
  CHECK(HasStaticText(dialog, "Select the new folder"));
  HWND tree = GetDlgItem(dialog, kBrowseTree);
  HTREEITEM item = nullptr;
  CHECK(WaitUntil([&] { return (item = FindDesktopChild(tree, kPickedName, app.processId())) != nullptr; }));
  if (item == nullptr) {
    PressButton(GetDlgItem(dialog, IDCANCEL));
    return;
  }
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
  CHECK(CloseWith(dialog));
  CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == Utf8(folder.path()); }));
  CHECK(app.Enabled(IDC_APPLY));
}

}  // namespace e2e
