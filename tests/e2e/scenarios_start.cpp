// Scenarios of the program's start: its version record and icon, start-up on Windows XP x64, and the
// refusal on Windows 7 and Vista.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>

#include "product_version.h"
#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

const Folder kFolders[15] = {
    {"Common Desktop", "Common Desktop", true},
    {"Common Startup", "Common Startup", true},
    {"Desktop", "Desktop", false},
    {"Favorites", "Favorites", false},
    {"My Documents", "Personal", false},
    {"My Music", "My Music", false},
    {"My Pictures", "My Pictures", false},
    {"SendTo", "SendTo", false},
    {"Shared Documents", "Common Documents", true},
    {"Shared Music", "CommonMusic", true},
    {"Shared Pictures", "CommonPictures", true},
    {"Shared Video", "CommonVideo", true},
    {"Start Menu", "Start Menu", false},
    {"Startup", "Startup", false},
    {"Temporary Internet Files", "Cache", false},
};

const char* const kCaption = "Zolvane for Windows\xC2\xAE XP";

std::string ExpectedLocation(const Folder& folder) {
  HKEY hive = folder.shared ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  std::string stored = ReadText(hive, kUserShellFolders, folder.valueName);
  if (stored.empty()) stored = ReadText(hive, kShellFolders, folder.valueName);
  return Expanded(stored);
}

void CheckDesignedPlace(HWND window, int clientWidthTwips, int clientHeightTwips) {
  HDC screen = GetDC(nullptr);
  int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(window, &client);
  CHECK_EQ(client.right - client.left, MulDiv(clientWidthTwips, dpiX, 1440));
  CHECK_EQ(client.bottom - client.top, MulDiv(clientHeightTwips, dpiY, 1440));
  RECT frame;
  GetWindowRect(window, &frame);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CHECK(std::abs((frame.left + frame.right) / 2 - (work.left + work.right) / 2) <= 1);
  CHECK(std::abs((frame.top + frame.bottom) / 2 - (work.top + work.bottom) / 2) <= 1);
}

namespace {

const char* const kAppDefaults = "Software\\Wine\\AppDefaults\\Zolvane.exe";
const char* const kRefusal = "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit";

std::string VersionString(const std::vector<BYTE>& block, const char* name) {
  std::wstring path = L"\\StringFileInfo\\040904b0\\" + Wide(name);
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) {
    return std::string();
  }
  return Utf8(std::wstring(value, length - 1));
}

void CheckVersionRecord(const std::wstring& exe) {
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
  if (!CHECK(size > 0)) return;
  std::vector<BYTE> block(size);
  if (!CHECK(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()))) return;
  CHECK_EQ(VersionString(block, "ProductName"), "Zolvane for Windows\xC2\xAE XP");
  CHECK_EQ(VersionString(block, "FileDescription"), "Relocate special folder paths in Windows XP");
  CHECK_EQ(VersionString(block, "Comments"), "Relocate special folder paths in Windows XP");
  CHECK_EQ(VersionString(block, "FileVersion"), ZOLVANE_VERSION_RECORD);
  CHECK_EQ(VersionString(block, "ProductVersion"), ZOLVANE_VERSION_RECORD);
  CHECK_EQ(VersionString(block, "InternalName"), "Zolvane");
  CHECK_EQ(VersionString(block, "OriginalFilename"), "Zolvane.exe");
  CHECK_EQ(VersionString(block, "LegalCopyright"), ZOLVANE_COPYRIGHT);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!CHECK(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))) return;
  const long long versionMs = ZOLVANE_VERSION_MAJOR << 16 | ZOLVANE_VERSION_MINOR;
  CHECK_EQ(static_cast<long long>(fixed->dwFileVersionMS), versionMs);
  CHECK_EQ(static_cast<long long>(fixed->dwFileVersionLS), 0LL);
  CHECK_EQ(static_cast<long long>(fixed->dwProductVersionMS), versionMs);
}

void CheckResources(const std::wstring& exe) {
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!CHECK(module != nullptr)) return;
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_ZOLVANE), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  if (CHECK(group != nullptr)) {
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    // GRPICONDIR: reserved, type, count; then one 14-byte entry: width, height, colours, ...
    CHECK_EQ(directory[4] | (directory[5] << 8), 1);
    CHECK_EQ(directory[6], 32);
    CHECK_EQ(directory[7], 32);
    CHECK_EQ(directory[8], 16);
  }
  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  if (CHECK(manifest != nullptr)) {
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    std::string xml(text, SizeofResource(module, manifest));
    CHECK(xml.find("Microsoft.Windows.Common-Controls") != std::string::npos);
    CHECK(xml.find("version=\"6.0.0.0\"") != std::string::npos);
    CHECK(xml.find("level=\"asInvoker\"") != std::string::npos);
  }
  CHECK(FindResourceW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS), MAKEINTRESOURCEW(9)) != nullptr);  // RT_ACCELERATOR
  FreeLibrary(module);
}

std::map<std::string, RawValue> ShellFolderKeys() {
  std::map<std::string, RawValue> all;
  const HKEY hives[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  const char* keys[] = {kUserShellFolders, kShellFolders};
  for (HKEY hive : hives) {
    for (const char* key : keys) {
      for (const auto& value : ReadKey(hive, key)) {
        all[std::string(hive == HKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\") + key + "\\" + value.first] = value.second;
      }
    }
  }
  return all;
}

void CheckWindowFrame(HWND main) {
  CHECK_EQ(TextOf(main), kCaption);
  LONG style = GetWindowLongW(main, GWL_STYLE);
  CHECK((style & WS_CAPTION) == WS_CAPTION);
  CHECK((style & WS_SYSMENU) != 0);
  CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
  CHECK(GetWindow(main, GW_OWNER) == nullptr);  // a taskbar button of its own
  CheckDesignedPlace(main, 5775, 3825);
}

void CheckControls(ZolvaneApp& app) {
  CHECK_EQ(app.Text(IDC_TITLE), "Relocate special folders in Windows XP");
  CHECK_EQ(app.Text(IDC_FOLDER_FRAME), "Special Folders");
  CHECK_EQ(app.Text(IDC_BROWSE), "...");
  CHECK_EQ(app.Text(IDC_APPLY), "&Apply");
  CHECK_EQ(app.Text(IDC_BACKUP), "&Backup special folder paths");
  CHECK_EQ(app.Text(IDC_RESTORE_DEFAULT), "&Restore Default");
  CHECK_EQ(app.Text(IDC_NOT_MOVED_NOTE),
           "This utility does not move the files to the new location. Please move the files manually.");
  CHECK_EQ(app.Text(IDC_HOME_PAGE), "Visit Homepage");
  CHECK_EQ(app.Text(IDC_FEEDBACK), "Feedback");
  CHECK_EQ(app.Text(IDC_DONATE), "&Donate");
  CHECK_EQ(app.Text(IDC_COPYRIGHT), ZOLVANE_COPYRIGHT);
  // The folder list is a list to pick from, not to type in.
  CHECK_EQ(GetWindowLongW(app.Control(IDC_FOLDER_LIST), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  CHECK_EQ(app.FolderListCount(), 15);
  for (int i = 0; i < 15; ++i) CHECK_EQ(app.FolderListEntry(i), kFolders[i].displayName);
}

// The tool tips, as the main window's tool tip control holds them, by control. The control is made just after
// the window's first paint, so it is waited for.
std::map<int, std::string> ToolTips(ZolvaneApp& app) {
  std::map<int, std::string> tips;
  std::vector<HWND> controls;
  WaitUntil([&] {
    controls = TopLevelWindows(app.processId(), "tooltips_class32", false);
    return !controls.empty();
  });
  if (controls.size() != 1) return tips;
  HWND tooltips = controls.front();
  DWORD_PTR count = 0;
  SendMessageTimeoutW(tooltips, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  const SIZE_T textChars = 256;
  RemoteMemory remote(app.processId(), sizeof(TTTOOLINFOW) + textChars * sizeof(wchar_t));
  for (DWORD_PTR index = 0; index < count; ++index) {
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.lpszText = reinterpret_cast<wchar_t*>(remote.address() + sizeof(TTTOOLINFOW));
    wchar_t empty[textChars] = {};
    remote.Write(empty, sizeof empty, sizeof(TTTOOLINFOW));
    remote.Write(&tool, sizeof tool);
    DWORD_PTR found = 0;
    SendMessageTimeoutW(tooltips, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(remote.address()), SMTO_ABORTIFHUNG,
                        5000, &found);
    wchar_t text[textChars] = {};
    if (!found || !remote.Read(&tool, sizeof tool) || !remote.Read(text, sizeof text, sizeof(TTTOOLINFOW))) continue;
    tips[GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId))] = Utf8(text);
  }
  return tips;
}

void CheckToolTips(ZolvaneApp& app) {
  std::map<int, std::string> tips = ToolTips(app);
  CHECK_EQ(tips.size(), 5u);
  CHECK_EQ(tips[IDC_PATH], "Type the new path here. This text box accepts expandable string as well.");
  CHECK_EQ(tips[IDC_BROWSE], "Browse for folder...");
  CHECK_EQ(tips[IDC_APPLY], "Click to set the new path for the specified folder.");
  CHECK_EQ(tips[IDC_BACKUP], "Backup the special folder paths to a file ( in .REG format)");
  CHECK_EQ(tips[IDC_RESTORE_DEFAULT], "Restores the default path for the selected item");
}

std::string MenuText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return Utf8(text);
}

// The menu bar as the program loads it (Wine cannot read another process's menus, so the resource is read).
void CheckMenu(const std::string& exe, HWND main) {
  CHECK(GetMenu(main) != nullptr);
  HMODULE module = LoadLibraryExW(Wide(WindowsPath(exe)).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!CHECK(module != nullptr)) return;
  HMENU bar = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAINMENU));
  if (CHECK(bar != nullptr)) {
    CHECK_EQ(GetMenuItemCount(bar), 2);
    CHECK_EQ(MenuText(bar, 0), "&Menu");
    CHECK_EQ(MenuText(bar, 1), "E&xit");
    CHECK_EQ(GetMenuItemID(bar, 1), static_cast<UINT>(IDM_EXIT));
    HMENU menu = GetSubMenu(bar, 0);
    if (CHECK(menu != nullptr)) {
      // Five commands and no separator line, as no menu of this window has one.
      CHECK_EQ(GetMenuItemCount(menu), 5);
      CHECK_EQ(MenuText(menu, 0), "Visit Homepage\tCtrl+H");
      CHECK_EQ(MenuText(menu, 1), "Send feedback\tCtrl+F");
      CHECK_EQ(MenuText(menu, 2), "Donations\tCtrl+D");
      CHECK_EQ(MenuText(menu, 3), "About Zolvane");
      CHECK_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(IDM_ABOUT));
      // Its access key is the only one in this menu.
      CHECK_EQ(MenuText(menu, 4), "&Restore from backup...");
      CHECK_EQ(GetMenuItemID(menu, 4), static_cast<UINT>(IDM_RESTORE_FROM_BACKUP));
    }
    DestroyMenu(bar);
  }
  FreeLibrary(module);
}

// Tab walks the designed order; Apply, disabled, is passed over.
void CheckTabOrder(ZolvaneApp& app) {
  const int order[] = {IDC_PATH,      IDC_BROWSE,   IDC_BACKUP, IDC_RESTORE_DEFAULT,
                       IDC_HOME_PAGE, IDC_FEEDBACK, IDC_DONATE, IDC_FOLDER_LIST};
  for (int id : order) {
    HWND from = FocusOf(app.main());
    PostMessageW(from, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(from, WM_KEYUP, VK_TAB, 0);
    bool moved = WaitUntil([&] { return FocusOf(app.main()) == app.Control(id); }, 3000);
    if (!CHECK(moved)) {
      std::printf("  Tab did not reach control %d\n", id);
      return;
    }
  }
}

// Wine reports the version named for this program alone; the rest of the prefix stays Windows XP.
void Refused(const std::string& exe, const char* wineVersion) {
  RegistryKeeper keeper;
  keeper.KeepKeyAbsence(HKEY_CURRENT_USER, kAppDefaults);
  keeper.Keep(HKEY_CURRENT_USER, kAppDefaults, "Version");
  if (!CHECK(WriteRawValue(HKEY_CURRENT_USER, kAppDefaults, "Version", TextValue(REG_SZ, Wide(wineVersion))))) return;
  std::map<std::string, RawValue> before = ShellFolderKeys();

  ZolvaneApp app(exe, true);
  if (!CHECK(app.started())) return;
  ShowWatch watch(app.processId());
  app.Resume();
  HWND box = app.WaitForMessageBox(kCaption);
  if (!CHECK(box != nullptr)) return;
  CHECK_EQ(ZolvaneApp::MessageBoxText(box), kRefusal);
  CHECK(HasVisibleIcon(box));
  CHECK(GetDlgItem(box, IDCANCEL) == nullptr || !IsWindowVisible(GetDlgItem(box, IDCANCEL)));
  CHECK(TopLevelWindows(app.processId(), ZOLVANE_MAIN_WINDOW_CLASS).empty());
  CHECK(CloseWith(box));
  CHECK(app.WaitForExit());
  CHECK(!watch.SawWindowOfClass(ZOLVANE_MAIN_WINDOW_CLASS));
  CHECK(ShellFolderKeys() == before);
}

}  // namespace

E2E_SCENARIO(ScenarioVersionRecord, "version-record", false) {
  std::wstring path = Wide(WindowsPath(exe));
  CheckVersionRecord(path);
  CheckResources(path);
}

E2E_SCENARIO(ScenarioStartUp, "start-up", true) {
  RegistryKeeper keeper;
  std::map<std::string, RawValue> before = ShellFolderKeys();
  ZolvaneApp app(exe, true);
  if (!CHECK(app.started())) return;
  ShowWatch watch(app.processId());
  app.Resume();
  if (!CHECK(app.WaitForMainWindow())) return;
  // The watch that proves the refused window was never shown sees this one.
  CHECK(WaitUntil([&] { return watch.SawWindowOfClass(ZOLVANE_MAIN_WINDOW_CLASS); }));
  CHECK(TopLevelWindows(app.processId(), "#32770").empty());
  CheckWindowFrame(app.main());
  CHECK_EQ(app.FolderListIndex(), 0);
  CHECK_EQ(app.Text(IDC_FOLDER_LIST), "Common Desktop");
  CHECK_EQ(app.Text(IDC_LOCATION_CAPTION), "Common Desktop location");
  std::string expected = ExpectedLocation(kFolders[kCommonDesktop]);
  CHECK(!expected.empty() && expected.find('%') == std::string::npos);
  CHECK_EQ(app.Text(IDC_PATH), expected);
  CHECK(!app.Enabled(IDC_APPLY));
  CHECK(app.Enabled(IDC_RESTORE_DEFAULT));
  CHECK(FocusOf(app.main()) == app.Control(IDC_FOLDER_LIST));
  CheckControls(app);
  CheckToolTips(app);
  CheckMenu(exe, app.main());
  CheckTabOrder(app);
  CHECK(ShellFolderKeys() == before);
}

E2E_SCENARIO(ScenarioRefusedAfterXp, "refused-on-vista-and-windows7", false) {
  for (const char* version : {"vista", "win7"}) Refused(exe, version);
}

}  // namespace e2e
