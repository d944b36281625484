// The real platform layer's binding of the shell's functions on first use, under Wine: the library comes
// from the system folder only when a function of it is first asked for, and what cannot be had is null.
// This program links none of the shell's libraries itself, so nothing else loads them. Last, a program it starts
// runs in the system folder.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"
#include "wide_text.h"
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
  platform::DesktopFolderAnswer desktop = win32.platform().shell.DesktopFolder();
  CHECK(desktop.result == platform::DesktopFolderAnswer::Result::kFound);
  CHECK(!desktop.path.empty());
  CHECK(GetModuleHandleA("shell32.dll") != nullptr);
}

// A started program runs in the system folder, not in the folder Zolvane was started in.
void TestProcessesStartInTheSystemFolder() {
  platform::Win32Platform win32;
  char temp[MAX_PATH];
  std::string out = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "zolvane-started-in.txt";
  DeleteFileA(out.c_str());
  platform::ProcessHandle process = platform::ProcessHandle::kNone;
  std::string cmd = SystemFolder() + "\\cmd.exe";
  CHECK_EQ(win32.platform().processes.Start(cmd, "cmd /c cd > \"" + out + "\"", &process), 0);
  platform::ProcessEnd end = win32.platform().processes.Finish(process, 30000);
  CHECK(end.how == platform::ProcessEnd::How::kExited && end.exitCode == 0);
  char folder[MAX_PATH + 2] = "";
  std::FILE* file = std::fopen(out.c_str(), "rb");
  std::size_t got = file ? std::fread(folder, 1, MAX_PATH, file) : 0;
  if (file) std::fclose(file);
  std::string started(folder, got);
  CHECK_EQ(started.substr(0, started.find_first_of("\r\n")), SystemFolder());
  DeleteFileA(out.c_str());
}

// The system's own version record, folders and words, as the layer hands them over: the prefix reports
// Windows XP x64; a folder without its terminator or an error text with its line end would show in a message.
void TestSystemAsZolvaneAsksForIt() {
  platform::Win32System system;
  platform::WindowsVersion version = system.Version();
  CHECK(version.platformId == 2 && version.major == 5 && version.minor == 2);
  CHECK_EQ(system.WindowsFolder(), Utf8(L"C:\\windows"));
  CHECK_EQ(system.ErrorText(0x7FFFFFF0), std::string());
}

}  // namespace

int main() {
  TestBindsOnFirstUse();
  TestWhatCannotBeHad();
  TestShellCallsThroughBinding();
  TestProcessesStartInTheSystemFolder();
  TestSystemAsZolvaneAsksForIt();
  return wine_check::Summary();
}
