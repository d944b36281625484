// Lost data and half-made changes, tried against Wine's real registry, environment, files and regedit: a
// variable defined empty, a refused write whose partner is put back, and a backup through temporary and desktop
// folders longer than the 128 characters OpenFile took. Everything a check changes is put back.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "fakes/fake_main_view.h"
#include "features/folder_locations.h"
#include "platform/win32/win32_platform.h"
#include "presenters/main_presenter.h"
#include "scratch.h"
#include "vocabulary/catalogue.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

RawValue Text(DWORD type, const std::wstring& text) {
  RawValue value;
  value.present = true;
  value.type = type;
  value.bytes.assign(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
  return value;
}

bool SameKey(const std::string& a, const char* b) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Wide(a).c_str(), -1, Wide(b).c_str(), -1) == CSTR_EQUAL;
}

// The real registry, but for writes under one key, which it refuses as a user without the right would find.
class RefusingRegistry : public platform::Win32Registry {
 public:
  explicit RefusingRegistry(const char* refusedKey) : refusedKey_(refusedKey) {}
  std::int32_t WriteValue(platform::HKey hive, const std::string& subKey,
                          const platform::RegistryValue& value) override {
    if (SameKey(subKey, refusedKey_)) return ERROR_ACCESS_DENIED;
    return Win32Registry::WriteValue(hive, subKey, value);
  }

 private:
  const char* refusedKey_;
};

void TestEmptyVariableExpandsToNothing(platform::Platform& platform) {
  platform::Environment& environment = platform.environment;
  SetEnvironmentVariableW(L"ZOLVANE_EMPTY", L"");
  std::optional<std::string> value = environment.Variable("ZOLVANE_EMPTY");
  CHECK(value.has_value() && value->empty());
  CHECK(!environment.Variable("ZOLVANE_NOT_DEFINED").has_value());
  CHECK_EQ(FolderLocations(platform).ExpandText("%ZOLVANE_EMPTY%\\x"), std::string("\\x"));
  SetEnvironmentVariableW(L"ZOLVANE_EMPTY", nullptr);
}

// Apply with the Shell Folders write refused: the User Shell Folders value is put back byte for byte, or
// removed again when there was none, and the user is told that nothing changed.
void TestRefusedWriteIsUndone(platform::Win32Platform& win32) {
  const char* kValue = "My Music";
  RawValue savedUser = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, kValue);
  RawValue savedShell = ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, kValue);
  RefusingRegistry refusing(kShellFoldersKey);
  platform::Platform& real = win32.platform();
  platform::Platform refusingPlatform{refusing,       real.environment, real.system, real.files,
                                      real.processes, real.shell,       real.locks};
  const RawValue befores[] = {Text(REG_EXPAND_SZ, L"%USERPROFILE%\\\x041C\x0443\x0437\x044B\x043A\x0430"), RawValue()};
  for (const RawValue& before : befores) {
    WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, kValue, before);
    FakeMainView view;
    MainPresenter presenter(refusingPlatform, view);
    view.Attach(&presenter);
    view.SelectFolderAt(ListPositionOf(*FindShellFolder(kValue)));
    view.Type("D:\\Zolvane put-back check");
    presenter.OnApply();
    CHECK_EQ(view.messages.empty() ? std::string() : view.messages.back().prompt,
             std::string("Access Denied. No changes were made."));
    CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, kValue) == before);
  }
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, kValue, savedUser);
  WriteRawValue(HKEY_CURRENT_USER, kShellFoldersKey, kValue, savedShell);
}

// A backup whose temporary folder and desktop both have paths longer than 128 characters: it succeeds, the file
// is where it should be, and no temporary file is left.
void TestBackupThroughLongPaths(platform::Win32Platform& win32) {
  wchar_t base[MAX_PATH];
  DWORD baseLength = GetTempPathW(MAX_PATH, base);
  std::wstring longName(100, L'x');
  std::wstring temp = std::wstring(base, baseLength) + L"Zolvane long temporary folder " + longName;
  std::wstring desktop = std::wstring(base, baseLength) + L"Zolvane long desktop folder " + longName;
  CHECK(temp.size() > 128 && desktop.size() > 128);
  CreateDirectoryW(temp.c_str(), nullptr);
  CreateDirectoryW(desktop.c_str(), nullptr);
  RawValue savedUser = ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Desktop");
  RawValue savedShell = ReadRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop");
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Desktop", Text(REG_EXPAND_SZ, desktop));
  WriteRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", Text(REG_SZ, desktop));
  wchar_t savedTmp[MAX_PATH] = L"";
  wchar_t savedTemp[MAX_PATH] = L"";
  bool hadTmp = GetEnvironmentVariableW(L"TMP", savedTmp, MAX_PATH) != 0;
  bool hadTemp = GetEnvironmentVariableW(L"TEMP", savedTemp, MAX_PATH) != 0;
  SetEnvironmentVariableW(L"TMP", (temp + L"\\").c_str());
  SetEnvironmentVariableW(L"TEMP", (temp + L"\\").c_str());

  FakeMainView view;
  MainPresenter presenter(win32.platform(), view);
  view.Attach(&presenter);
  presenter.OnBackup();
  CHECK_EQ(view.messages.empty() ? std::string() : view.messages.back().prompt,
           std::string("Shell folder registry keys are now backed up."));
  std::wstring backup = desktop + L"\\specialfolders.bak";
  CHECK(Exists(backup));
  for (const wchar_t* name : {L"splfolders1.txt", L"splfolders2.txt", L"splfolders3.txt", L"splfolders4.txt"}) {
    CHECK(!Exists(temp + L"\\" + name));
  }

  DeleteFileW(backup.c_str());
  RemoveDirectoryW(desktop.c_str());
  RemoveDirectoryW(temp.c_str());
  SetEnvironmentVariableW(L"TMP", hadTmp ? savedTmp : nullptr);
  SetEnvironmentVariableW(L"TEMP", hadTemp ? savedTemp : nullptr);
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Desktop", savedUser);
  WriteRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", savedShell);
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  TestEmptyVariableExpandsToNothing(win32.platform());
  TestRefusedWriteIsUndone(win32);
  TestBackupThroughLongPaths(win32);
  return wine_check::Summary();
}
