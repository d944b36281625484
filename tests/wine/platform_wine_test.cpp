// The real platform layer's binding of the shell's functions on first use, under Wine: the library comes
// from the system folder only when a function of it is first asked for, and what cannot be had is null.
// This program links none of the shell's libraries itself, so nothing else loads them.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"
#include "wine_check.h"

namespace {

std::string SystemFolder() {
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  return std::string(path, length);
}

std::string ModuleFolder(HMODULE module) {
  char path[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  std::string file(path, length);
  return file.substr(0, file.find_last_of('\\'));
}

void TestBindsOnFirstUse() {
  CHECK(GetModuleHandleA("shlwapi.dll") == nullptr);
  void* bound = platform::SystemFunction("shlwapi.dll", "SHSetValueW");
  HMODULE loaded = GetModuleHandleA("shlwapi.dll");
  CHECK(bound != nullptr);
  CHECK(loaded != nullptr);
  if (loaded == nullptr) return;
  CHECK(bound == reinterpret_cast<void*>(GetProcAddress(loaded, "SHSetValueW")));
  CHECK_EQ(ModuleFolder(loaded), SystemFolder());
  // Asked again, the same function of the same library.
  CHECK(platform::SystemFunction("shlwapi.dll", "SHSetValueW") == bound);
}

void TestWhatCannotBeHad() {
  CHECK(platform::SystemFunction("zolvane-no-such-library.dll", "SHSetValueW") == nullptr);
  CHECK(platform::SystemFunction("shell32.dll", "ZolvaneNoSuchFunction") == nullptr);
  // A name that would run past the path buffer is refused, not truncated into another library's name.
  std::string longName(MAX_PATH, 'x');
  CHECK(platform::SystemFunction((longName + ".dll").c_str(), "SHSetValueW") == nullptr);
}

// The platform's shell calls work through the bound functions.
void TestShellCallsThroughBinding() {
  platform::Win32Platform win32;
  std::string desktop;
  CHECK_EQ(
      win32.platform().shell.SHGetFolderPathW(platform::WindowHandle::kNone, platform::kCsidlDesktop, 0, 0, &desktop),
      0);
  CHECK(!desktop.empty());
  CHECK(GetModuleHandleA("shell32.dll") != nullptr);
}

}  // namespace

int main() {
  TestBindsOnFirstUse();
  TestWhatCannotBeHad();
  TestShellCallsThroughBinding();
  return wine_check::Summary();
}
