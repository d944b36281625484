// Paths no code page holds, through the real window: shown from the registry, typed and applied, and a backup
// made while the desktop and the temporary folder have such names.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/run_program.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

// The backup waits for four regedit processes, each started afresh under Wine: far longer than a click.
constexpr DWORD kBackupWaitMs = 40000;
const char* const kBackupSuccess = "Shell folder registry keys are now backed up.";
const char* const kExportHeader = "Windows Registry Editor Version 5.00";

// Both values of a per-user folder hold exactly the text's UTF-16LE and one terminator, in their types.
void CheckStoredExactly(const char* valueName, const std::wstring& text) {
  RawValue userShell = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, valueName);
  RawValue shell = ReadRawValue(HKEY_CURRENT_USER, kShellFolders, valueName);
  CHECK_EQ(ShowUtf16Le(userShell.bytes), ShowUtf16Le(Utf16LeWithTerminator(text)));
  CHECK_EQ(static_cast<long long>(userShell.type), static_cast<long long>(REG_EXPAND_SZ));
  CHECK_EQ(ShowUtf16Le(shell.bytes), ShowUtf16Le(Utf16LeWithTerminator(text)));
  CHECK_EQ(static_cast<long long>(shell.type), static_cast<long long>(REG_SZ));
}

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

long long Occurrences(const std::string& text, const std::string& part) {
  long long count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A text as a .reg file writes it between quotes.
std::string RegFileQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

// A path no code page holds: one another program stored is shown as it is, and one typed a UTF-16 unit at a time is
// stored exactly and shown back.
E2E_SCENARIO(ScenarioWidePathTypedAndShown, "wide-path-typed-and-shown", true) {
  RegistryKeeper keeper;
  KeepFolder(keeper, kFolders[kSharedMusic]);
  KeepFolder(keeper, kFolders[kMyMusic]);
  const std::string stored = Utf8(std::wstring(kCyrillicGreekCjkPath) + L"\\" + kBeyondBmpCharacter);
  CHECK(WriteText(HKEY_LOCAL_MACHINE, kUserShellFolders, kFolders[kSharedMusic].valueName, stored, REG_EXPAND_SZ));
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
    CheckStoredExactly(kFolders[kMyMusic].valueName, path);
    WaitUntil([&] { return app.Text(IDC_PATH) == Utf8(path); });
    CHECK_EQ(app.Text(IDC_PATH), Utf8(path));
  }
}

E2E_SCENARIO(ScenarioBackupWideDesktop, "backup-wide-desktop", false) {
  // Taken while the desktop is still the prefix's own, in case the backup lands there after all.
  BackupFileKeeper prefixDesktopBackup;
  RegistryKeeper keeper;
  KeepFolder(keeper, kFolders[kDesktop]);
  // The last part of the path asked for ("Documents" in Russian, alpha beta, "Japan"), and a musical note.
  const std::wstring wideName = std::wstring(kCyrillicGreekCjkPath + 3) + L" " + kBeyondBmpCharacter;
  ScratchFolder desktop(TempFolder() + L"Zolvane desktop " + wideName);
  ScratchFolder temp(TempFolder() + L"Zolvane temp " + wideName);
  if (!CHECK(desktop.made() && temp.made())) return;
  // Zolvane inherits the driver's environment, which ends with this run.
  SetEnvironmentVariableW(L"TEMP", temp.path().c_str());
  SetEnvironmentVariableW(L"TMP", temp.path().c_str());
  CHECK_EQ(Utf8(TempFolder()), Utf8(temp.path() + L"\\"));

  const std::string desktopPath = Utf8(desktop.path());
  CHECK(WriteText(HKEY_CURRENT_USER, kUserShellFolders, "Desktop", desktopPath, REG_EXPAND_SZ));
  CHECK(WriteText(HKEY_CURRENT_USER, kShellFolders, "Desktop", desktopPath, REG_SZ));
  wchar_t shellDesktop[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, shellDesktop);
  if (!CHECK_EQ(Utf8(shellDesktop), desktopPath)) return;

  {
    ZolvaneApp app(exe);
    if (!CHECK(app.WaitForMainWindow())) return;
    CHECK_EQ(ClickAndAnswer(app, IDC_BACKUP, kBackupWaitMs), kBackupSuccess);
  }
  const std::string backupFile = desktop.File("specialfolders.bak");
  std::string bytes = ReadFileBytes(Wide(backupFile));
  if (!CHECK(bytes.size() > 2)) return;
  CHECK(bytes.compare(0, 2, "\xFF\xFE") == 0);
  std::string text = Utf8(Utf16LeUnits(bytes.substr(2)));
  CHECK_EQ(text.substr(0, text.find("\r\n")), kExportHeader);
  CHECK_EQ(Occurrences(text, kExportHeader), 1LL);
  CHECK(text.find("\"Desktop\"=" + RegFileQuoted(desktopPath) + "\r\n") != std::string::npos);

  // Imported again, the backup brings both desktop values back exactly.
  CHECK(WriteText(HKEY_CURRENT_USER, kUserShellFolders, "Desktop", "C:\\Elsewhere", REG_EXPAND_SZ));
  CHECK(WriteText(HKEY_CURRENT_USER, kShellFolders, "Desktop", "C:\\Elsewhere", REG_SZ));
  CHECK_EQ(RunAndWait(L"regedit /s \"" + Wide(backupFile) + L"\""), 0LL);
  CheckStoredExactly("Desktop", desktop.path());
}

}  // namespace e2e
