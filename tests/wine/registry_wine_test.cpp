// The registry module and CurrentLocation against Wine's real registry, a variable no code page holds,
// then a listing of where the fifteen catalogue folders live in this prefix. Scratch data lives under HKCU\Software
// and is removed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "features/folder_locations.h"
#include "platform/win32/win32_platform.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/shell_folder_registry.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

const char* const kScratchKey = "Software\\ZolvaneWineTest";
const char* const kScratchValue = "ZolvaneWineTestFolder";

void SetRaw(const char* subKey, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void SetText(const char* subKey, const char* name, DWORD type, const std::string& text) {
  SetRaw(subKey, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void DeleteValue(const char* subKey, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

// The type and raw bytes of a value as stored (UTF-16 for a string), read without the module under test.
bool GetRaw(const char* subKey, const char* name, DWORD* type, std::string* bytes) {
  BYTE buffer[1024];
  DWORD size = sizeof buffer;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  LONG code = RegQueryValueExW(key, Wide(name).c_str(), nullptr, type, buffer, &size);
  RegCloseKey(key);
  if (code != ERROR_SUCCESS) return false;
  bytes->assign(reinterpret_cast<const char*>(buffer), size);
  return true;
}

std::string Env(const char* name) {
  char buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return std::string(buffer, length);
}

void TestQueryEachType(ShellFolderRegistry& registry) {
  SetText(kScratchKey, "sz", REG_SZ, "C:\\Docs");
  SetText(kScratchKey, "expand", REG_EXPAND_SZ, "%USERPROFILE%\\My Documents");
  DWORD seven = 7;
  SetRaw(kScratchKey, "dword", REG_DWORD, &seven, sizeof seven);
  DWORD negative = 0xFFFFFFFEu;
  SetRaw(kScratchKey, "negative", REG_DWORD, &negative, sizeof negative);
  BYTE eight[8] = {1, 0, 0, 0, 2, 0, 0, 0};
  SetRaw(kScratchKey, "longdword", REG_DWORD, eight, sizeof eight);
  SetRaw(kScratchKey, "binary", REG_BINARY, eight, sizeof eight);
  SetRaw(kScratchKey, "multi", REG_MULTI_SZ, "a\0b\0", 5);
  SetRaw(kScratchKey, "nobytes", REG_SZ, "", 0);
  SetRaw(kScratchKey, "onlyzero", REG_SZ, "", 1);

  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "sz") == RegValue::FromText("C:\\Docs"));
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "expand") ==
        RegValue::FromText("%USERPROFILE%\\My Documents"));
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "dword") == RegValue::FromInteger(7));
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "negative") == RegValue::FromInteger(-2));
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "longdword").IsEmpty());
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "binary").IsEmpty());
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "multi").IsEmpty());
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "nobytes").IsEmpty());
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "onlyzero") == RegValue::FromText(""));
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "missing").IsEmpty());
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, "Software\\ZolvaneNoSuchKey", "sz").IsEmpty());
  // An unterminated string keeps its last character.
  SetRaw(kScratchKey, "unterminated", REG_SZ, "D:\\Docs", 7);
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, kScratchKey, "unterminated") ==
        RegValue::FromText("D:\\Docs"));
}

void TestWrite(ShellFolderRegistry& registry) {
  CHECK_EQ(registry.WriteRegValue(platform::kHkeyCurrentUser, kScratchKey, "written", "D:\\Docs", REG_SZ), 0);
  DWORD type = 0;
  std::string bytes;
  CHECK(GetRaw(kScratchKey, "written", &type, &bytes));
  CHECK_EQ(static_cast<long long>(type), REG_SZ);
  CHECK_EQ(bytes, Utf8ToUtf16Le("D:\\Docs") + std::string(2, '\0'));

  CHECK_EQ(registry.WriteRegValue(platform::kHkeyCurrentUser, kScratchKey, "empty", "", REG_EXPAND_SZ), 0);
  CHECK(GetRaw(kScratchKey, "empty", &type, &bytes));
  CHECK_EQ(static_cast<long long>(type), REG_EXPAND_SZ);
  CHECK_EQ(bytes, std::string(2, '\0'));

  // A key that does not exist yet is created.
  std::string deeper = std::string(kScratchKey) + "\\Created";
  CHECK_EQ(registry.WriteRegValue(platform::kHkeyCurrentUser, deeper, "v", "x", REG_SZ), 0);
  CHECK(registry.ReadRegValue(platform::kHkeyCurrentUser, deeper, "v") == RegValue::FromText("x"));
}

// A value another program keeps rewriting, now short and now long: every read gives one of them whole, never an
// error for a value that grew between the size query and the data query, nor a part of one.
DWORD WINAPI KeepRewriting(void* stop) {
  const std::string shortValue(10, 's');
  const std::string longValue(60000, 'l');
  for (int round = 0; *static_cast<volatile LONG*>(stop) == 0; ++round) {
    const std::string& value = round % 2 == 0 ? shortValue : longValue;
    SetRaw(kScratchKey, "changing", REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
  }
  return 0;
}

void TestAValueThatGrowsWhileItIsReadIsReadWhole(platform::Registry& registry) {
  SetRaw(kScratchKey, "changing", REG_BINARY, "s", 1);
  volatile LONG stop = 0;
  HANDLE writer = CreateThread(nullptr, 0, &KeepRewriting, const_cast<LONG*>(&stop), 0, nullptr);
  int whole = 0;
  for (int i = 0; i < 300; ++i) {
    platform::RegistryValue value;
    std::int32_t code = registry.ReadValue(platform::kHkeyCurrentUser, kScratchKey, "changing", &value);
    bool oneOfThem = value.bytes == std::string(10, 's') || value.bytes == std::string(60000, 'l') ||
                     value.bytes == std::string(1, 's');
    if (code == 0 && oneOfThem) ++whole;
  }
  InterlockedExchange(const_cast<LONG*>(&stop), 1);
  WaitForSingleObject(writer, 10000);
  CloseHandle(writer);
  CHECK_EQ(whole, 300);
}

// The fallback rules of CurrentLocation, with a value of our own beside the real folder values.
void TestCurrentPathFallback(FolderLocations& locations) {
  auto current = [&locations] { return locations.CurrentLocation(platform::kHkeyCurrentUser, kScratchValue); };
  DeleteValue(kUserShellFoldersKey, kScratchValue);
  DeleteValue(kShellFoldersKey, kScratchValue);
  CHECK(current().IsEmpty());

  SetText(kShellFoldersKey, kScratchValue, REG_SZ, "D:\\Docs");
  CHECK(current() == RegValue::FromText("D:\\Docs"));

  SetText(kUserShellFoldersKey, kScratchValue, REG_EXPAND_SZ, "%USERPROFILE%\\My Documents");
  CHECK(current() == RegValue::FromText(Env("USERPROFILE") + "\\My Documents"));

  SetText(kUserShellFoldersKey, kScratchValue, REG_EXPAND_SZ, "");
  CHECK(current() == RegValue::FromText("D:\\Docs"));

  DWORD two = 2;
  SetRaw(kUserShellFoldersKey, kScratchValue, REG_DWORD, &two, sizeof two);
  CHECK(current() == RegValue::FromText("D:\\Docs"));

  DWORD seven = 7;
  SetRaw(kUserShellFoldersKey, kScratchValue, REG_DWORD, &seven, sizeof seven);
  CHECK(current() == RegValue::FromInteger(7));

  SetRaw(kUserShellFoldersKey, kScratchValue, REG_BINARY, &seven, sizeof seven);
  CHECK(current() == RegValue::FromText("D:\\Docs"));

  DeleteValue(kUserShellFoldersKey, kScratchValue);
  DeleteValue(kShellFoldersKey, kScratchValue);
}

void TestExpandPath(FolderLocations& locations) {
  std::string profile = Env("USERPROFILE");
  CHECK(!profile.empty());
  CHECK(locations.ExpandPath(RegValue::FromText("%userprofile%\\Docs")) == RegValue::FromText(profile + "\\Docs"));
  CHECK(locations.ExpandPath(RegValue::FromText("%NOSUCHVARIABLE%\\Docs")) ==
        RegValue::FromText("%NOSUCHVARIABLE%\\Docs"));
  CHECK(locations.ExpandPath(RegValue::FromText("D:\\Data\\%USERNAME%\\Docs")) ==
        RegValue::FromText("D:\\Data\\" + Env("USERNAME") + "\\Docs"));
  // The platform's own expansion is the yardstick.
  char expected[MAX_PATH];
  ExpandEnvironmentStringsA("%HOMEDRIVE%%HOMEPATH%\\Docs 50%", expected, sizeof expected);
  CHECK(locations.ExpandPath(RegValue::FromText("%HOMEDRIVE%%HOMEPATH%\\Docs 50%")) == RegValue::FromText(expected));
}

// A variable whose name and value no code page holds, set in this process, as the platform's
// GetEnvironmentVariableW reads it: expanded exactly, alone and inside a stored folder value.
void TestWideVariable(FolderLocations& locations) {
  const std::wstring name = L"ZOLVANE_\u041F\u0410\u041F\u041A\u0410";
  const std::wstring value = std::wstring(kCyrillicGreekCjkPath) + L" " + kBeyondBmpCharacter;
  const std::wstring stored = L"%" + name + L"%\\\u03B1\u03B2";
  CHECK(GetEnvironmentVariableW(name.c_str(), nullptr, 0) == 0);
  CHECK(SetEnvironmentVariableW(name.c_str(), value.c_str()));

  CHECK_EQ(locations.ExpandPath(RegValue::FromText("%" + Utf8(name) + "%\\Music")).ToDisplayText(),
           Utf8(value) + "\\Music");

  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kUserShellFoldersKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                  nullptr);
  RegSetValueExW(key, Wide(kScratchValue).c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                 static_cast<DWORD>((stored.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  CHECK_EQ(locations.CurrentLocation(platform::kHkeyCurrentUser, kScratchValue).ToDisplayText(),
           Utf8(value + L"\\\u03B1\u03B2"));

  DeleteValue(kUserShellFoldersKey, kScratchValue);
  SetEnvironmentVariableW(name.c_str(), nullptr);
}

// Prints where each folder lives now, as Zolvane shows it, and checks that each is a full path.
void ListCatalogue(FolderLocations& locations) {
  std::printf("Where the fifteen folders live in this prefix:\n");
  for (int position = 0; position < static_cast<int>(kShellFolderCount); ++position) {
    const ShellFolder* entry = ShellFolderAtListPosition(position);
    std::string path = locations.CurrentLocation(entry->hive, entry->valueName).ToDisplayText();
    std::printf("  %-26s %s\n", entry->displayName, path.c_str());
    CHECK(path.find('%') == std::string::npos);
  }
  CHECK(!locations.CurrentLocation(platform::kHkeyCurrentUser, "Personal").ToDisplayText().empty());
  CHECK(!locations.CurrentLocation(platform::kHkeyLocalMachine, "Common Desktop").ToDisplayText().empty());
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  ShellFolderRegistry registry(win32.platform().registry);
  FolderLocations locations(win32.platform());

  TestQueryEachType(registry);
  TestAValueThatGrowsWhileItIsReadIsReadWhole(win32.platform().registry);
  TestWrite(registry);
  TestCurrentPathFallback(locations);
  TestExpandPath(locations);
  TestWideVariable(locations);
  ListCatalogue(locations);

  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZolvaneWineTest\\Created");
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
  return wine_check::Summary();
}
