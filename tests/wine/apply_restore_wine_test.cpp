// Apply and Restore Default for My Documents through the core, against Wine's real registry, with Wine's
// own shell (SHGetFolderPathA) as the judge of where the folder now lives. The prefix's values are put back.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "core/catalogue.h"
#include "core/form1.h"
#include "core/module1.h"
#include "fakes/fake_form1_view.h"
#include "platform/win32/win32_platform.h"
#include "wine_check.h"

namespace {

constexpr int kMyDocumentsPosition = 4;

// One registry value as it stood, so that it can be put back exactly.
struct SavedValue {
  const char* subKey;
  bool existed = false;
  DWORD type = 0;
  std::string bytes;
};

SavedValue Save(const char* subKey, const char* name) {
  SavedValue saved;
  saved.subKey = subKey;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return saved;
  BYTE buffer[2048];
  DWORD size = sizeof buffer;
  saved.existed = RegQueryValueExA(key, name, nullptr, &saved.type, buffer, &size) == ERROR_SUCCESS;
  if (saved.existed) saved.bytes.assign(reinterpret_cast<const char*>(buffer), size);
  RegCloseKey(key);
  return saved;
}

void PutBack(const SavedValue& saved, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, saved.subKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  if (saved.existed) {
    RegSetValueExA(key, name, 0, saved.type, reinterpret_cast<const BYTE*>(saved.bytes.data()),
                   static_cast<DWORD>(saved.bytes.size()));
  } else {
    RegDeleteValueA(key, name);
  }
  RegCloseKey(key);
}

// Wine's shell's answer for My Documents: the path, or the HRESULT when it gives none.
std::string ShellPersonal(int flags) {
  char path[MAX_PATH] = "";
  HRESULT result = SHGetFolderPathA(nullptr, CSIDL_PERSONAL | flags, nullptr, SHGFP_TYPE_CURRENT, path);
  if (result != S_OK) {
    char text[32];
    std::snprintf(text, sizeof text, "HRESULT 0x%08lx", static_cast<unsigned long>(result));
    return text;
  }
  return path;
}

std::string ProfileDirectory() {
  char buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("USERPROFILE", buffer, sizeof buffer);
  return std::string(buffer, length);
}

std::string LastMessage(const FakeForm1View& view) {
  return view.messages.empty() ? std::string() : view.messages.back().prompt;
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  FakeForm1View view;
  Form1 form(win32.platform(), view);
  view.Attach(&form);

  CHECK_EQ(GetWindowsVersionName(win32.platform().system), std::string("Windows XP"));

  SavedValue userShell = Save(kUserShellFoldersKey, "Personal");
  SavedValue shell = Save(kShellFoldersKey, "Personal");
  std::string stockPath = ProfileDirectory() + "\\My Documents";
  bool stockExisted = GetFileAttributesA(stockPath.c_str()) != INVALID_FILE_ATTRIBUTES;

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string newFolder = std::string(temp) + "ZolvaneAppliedDocs";
  CreateDirectoryA(newFolder.c_str(), nullptr);

  std::printf("Wine's shell for My Documents before Apply: %s\n", ShellPersonal(0).c_str());

  form.Form_Load();
  view.SetCombo1ListIndex(kMyDocumentsPosition);
  CHECK_EQ(view.label1, std::string("My Documents location"));
  view.Type("  " + newFolder + "  ");
  CHECK(view.command1Enabled);
  form.Command1_Click();
  CHECK_EQ(LastMessage(view), std::string("Successfully done!"));
  CHECK_EQ(view.text1, newFolder);
  std::string afterApply = ShellPersonal(0);
  std::printf("Wine's shell for My Documents after Apply:  %s\n", afterApply.c_str());
  CHECK_EQ(afterApply, newFolder);

  view.Type("D:\\Typed but never applied");
  form.Command2_Click();
  CHECK_EQ(LastMessage(view), std::string("Restored the default values!"));
  CHECK_EQ(view.text1, stockPath);
  CHECK(!view.command1Enabled);
  std::string afterRestore = ShellPersonal(CSIDL_FLAG_CREATE);
  std::printf("Wine's shell for My Documents after Restore: %s\n", afterRestore.c_str());
  CHECK_EQ(afterRestore, stockPath);

  PutBack(userShell, "Personal");
  PutBack(shell, "Personal");
  RemoveDirectoryA(newFolder.c_str());
  if (!stockExisted) RemoveDirectoryA(stockPath.c_str());
  return wine_check::Summary();
}
