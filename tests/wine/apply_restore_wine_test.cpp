// Apply and Restore Default through the core against Wine's real registry: for My Documents with Wine's own
// shell (SHGetFolderPathA) as the judge of where the folder now lives, and for My Music with a path no code
// page holds, read back byte for byte. The prefix's values are put back.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "fakes/fake_main_view.h"
#include "platform/win32/win32_platform.h"
#include "presenters/main_presenter.h"
#include "scratch.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/windows_version.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

constexpr int kMyDocumentsPosition = 4;
constexpr int kMyMusicPosition = 5;

// A value of the current user's shell-folder keys, kept to be checked and put back exactly.
struct SavedValue : RawValue {
  const char* subKey;
};

SavedValue Save(const char* subKey, const char* name) {
  return SavedValue{ReadRawValue(HKEY_CURRENT_USER, subKey, name), subKey};
}

void PutBack(const SavedValue& saved, const char* name) {
  WriteRawValue(HKEY_CURRENT_USER, saved.subKey, name, saved);
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

std::string LastMessage(const FakeMainView& view) {
  return view.messages.empty() ? std::string() : view.messages.back().prompt;
}

void TestMyDocumentsAsTheShellSeesIt(MainPresenter& presenter, FakeMainView& view) {
  SavedValue userShell = Save(kUserShellFoldersKey, "Personal");
  SavedValue shell = Save(kShellFoldersKey, "Personal");
  std::string stockPath = ProfileDirectory() + "\\My Documents";
  bool stockExisted = GetFileAttributesA(stockPath.c_str()) != INVALID_FILE_ATTRIBUTES;

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string newFolder = std::string(temp) + "ZolvaneAppliedDocs";
  CreateDirectoryA(newFolder.c_str(), nullptr);

  std::printf("Wine's shell for My Documents before Apply: %s\n", ShellPersonal(0).c_str());

  view.SelectFolderAt(kMyDocumentsPosition);
  CHECK_EQ(view.locationCaption, std::string("My Documents location"));
  view.Type("  " + newFolder + "  ");
  CHECK(view.applyEnabled);
  presenter.OnApply();
  CHECK_EQ(LastMessage(view), std::string("Successfully done!"));
  CHECK_EQ(view.pathText, newFolder);
  std::string afterApply = ShellPersonal(0);
  std::printf("Wine's shell for My Documents after Apply:  %s\n", afterApply.c_str());
  CHECK_EQ(afterApply, newFolder);

  view.Type("D:\\Typed but never applied");
  presenter.OnRestoreDefault();
  CHECK_EQ(LastMessage(view), std::string("Restored the default values!"));
  CHECK_EQ(view.pathText, stockPath);
  CHECK(!view.applyEnabled);
  std::string afterRestore = ShellPersonal(CSIDL_FLAG_CREATE);
  std::printf("Wine's shell for My Documents after Restore: %s\n", afterRestore.c_str());
  CHECK_EQ(afterRestore, stockPath);

  PutBack(userShell, "Personal");
  PutBack(shell, "Personal");
  RemoveDirectoryA(newFolder.c_str());
  if (!stockExisted) RemoveDirectoryA(stockPath.c_str());
}

// The real registry gets the UTF-16 of what was typed, a surrogate pair included, with one terminator in each
// key; the box shows it back exactly, and Restore Default replaces it.
void TestWidePathRoundTrip(MainPresenter& presenter, FakeMainView& view) {
  SavedValue userShell = Save(kUserShellFoldersKey, "My Music");
  SavedValue shell = Save(kShellFoldersKey, "My Music");
  const std::wstring path = std::wstring(kCyrillicGreekCjkPath) + L" " + kBeyondBmpCharacter;

  view.SelectFolderAt(kMyMusicPosition);
  CHECK_EQ(view.locationCaption, std::string("My Music location"));
  view.Type(Utf8(path));
  presenter.OnApply();
  CHECK_EQ(LastMessage(view), std::string("Successfully done!"));
  SavedValue stored[2] = {Save(kUserShellFoldersKey, "My Music"), Save(kShellFoldersKey, "My Music")};
  const DWORD types[2] = {REG_EXPAND_SZ, REG_SZ};
  for (int i = 0; i < 2; ++i) {
    CHECK_EQ(ShowUtf16Le(stored[i].bytes), ShowUtf16Le(Utf16LeWithTerminator(path)));
    CHECK_EQ(static_cast<long long>(stored[i].type), static_cast<long long>(types[i]));
  }
  CHECK_EQ(view.pathText, Utf8(path));

  presenter.OnRestoreDefault();
  CHECK_EQ(LastMessage(view), std::string("Restored the default values!"));
  CHECK_EQ(view.pathText, ProfileDirectory() + "\\My Documents\\My Music");

  PutBack(userShell, "My Music");
  PutBack(shell, "My Music");
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  FakeMainView view;
  MainPresenter presenter(win32.platform(), view);
  view.Attach(&presenter);

  CHECK_EQ(GetWindowsVersionName(win32.platform().system), std::string("Windows XP"));
  presenter.OnLoad();
  TestMyDocumentsAsTheShellSeesIt(presenter, view);
  TestWidePathRoundTrip(presenter, view);
  return wine_check::Summary();
}
