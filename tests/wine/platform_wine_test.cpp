// What only the real platform layer shows, beyond the platform contract, under Wine: the shell's functions bound
// on first use from the system folder (this program links none of the shell's libraries, so nothing else loads
// them), a program started in the system folder, the system's version and words, a registry value read whole while
// another thread rewrites it, variables no code page holds or defined empty and expanded as Windows expands them,
// no temporary folder rather than a part of one too long, a file's 8.3 name taken for its long one, and the long
// form every path of the file tree takes (Wine, unlike Windows, takes a path beyond MAX_PATH without it, so the
// contract alone cannot show it).
#include <windows.h>

#include <cstdio>
#include <string>

#include "features/folder_locations.h"
#include "platform/win32/long_path.h"
#include "platform/win32/win32_platform.h"
#include "scratch.h"
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
  const std::wstring out = TempFolder() + L"zolvane-started-in.txt";
  DeleteFileW(out.c_str());
  platform::ProcessHandle process = platform::ProcessHandle::kNone;
  std::string cmd = SystemFolder() + "\\cmd.exe";
  CHECK_EQ(win32.platform().processes.Start(cmd, "cmd /c cd > \"" + Utf8(out) + "\"", &process), 0);
  platform::ProcessEnd end = win32.platform().processes.Finish(process, 30000);
  CHECK(end.how == platform::ProcessEnd::How::kExited && end.exitCode == 0);
  std::string started = ReadFileBytes(out);
  CHECK_EQ(started.substr(0, started.find_first_of("\r\n")), SystemFolder());
  DeleteFileW(out.c_str());
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

const char* const kScratchKey = "Software\\ZolvaneWineTest";

void SetBinary(const std::string& bytes) {
  WriteRawValue(HKEY_CURRENT_USER, kScratchKey, "changing", {true, REG_BINARY, bytes});
}

// Another program keeps rewriting the value, now short and now long.
DWORD WINAPI KeepRewriting(void* stop) {
  for (int round = 0; *static_cast<volatile LONG*>(stop) == 0; ++round) {
    SetBinary(round % 2 == 0 ? std::string(10, 's') : std::string(60000, 'l'));
  }
  return 0;
}

// Every read gives one of the values whole: never an error for a value that grew between the size query and the
// data query, nor a part of one.
void TestAValueThatGrowsWhileItIsReadIsReadWhole() {
  platform::Win32Registry registry;
  SetBinary("s");
  volatile LONG stop = 0;
  HANDLE writer = CreateThread(nullptr, 0, &KeepRewriting, const_cast<LONG*>(&stop), 0, nullptr);
  int whole = 0;
  for (int i = 0; i < 300; ++i) {
    platform::RegistryValue value;
    std::int32_t code = registry.ReadValue(platform::kHkeyCurrentUser, kScratchKey, "changing", &value);
    const std::string& bytes = value.bytes;
    if (code == 0 && (bytes == std::string(10, 's') || bytes == std::string(60000, 'l') || bytes == "s")) ++whole;
  }
  InterlockedExchange(const_cast<LONG*>(&stop), 1);
  WaitForSingleObject(writer, 10000);
  CloseHandle(writer);
  CHECK_EQ(whole, 300);
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kScratchKey).c_str());
}

// A variable whose name and value no code page holds reads exactly; one defined empty is empty text, which
// GetEnvironmentVariableW tells from an undefined one only by its error code. The Shell Folders value Zolvane
// expands is what Windows expands: texts made at random of references to such variables, defined or not, lone
// and doubled "%", and other characters.
void TestVariablesAndTheirExpansion() {
  platform::Win32Platform real;
  platform::Environment& environment = real.platform().environment;
  const std::string name = "ZOLVANE_\xD0\x9F\xD0\x90\xD0\x9F\xD0\x9A\xD0\x90";
  const std::wstring value = std::wstring(kCyrillicGreekCjkPath) + L" " + kBeyondBmpCharacter;
  SetEnvironmentVariableW(Wide(name).c_str(), value.c_str());
  SetEnvironmentVariableW(L"ZOLVANE_EMPTY", L"");
  CHECK_EQ(environment.Variable(name).value_or("none"), Utf8(value));
  CHECK_EQ(environment.Variable("ZOLVANE_EMPTY").value_or("none"), std::string());
  CHECK(!environment.Variable("ZOLVANE_NOT_DEFINED").has_value());

  const std::string pieces[] = {
      "%" + name + "%", "%zolvane_empty%", "%USERPROFILE%", "%windir%", "%NOSUCH%", "%", "%%", "\\", " ", "a",
      "\xC3\xA9",       "\xE6\x97\xA5"};
  FolderLocations locations(real.platform());
  unsigned state = 2026;
  int differing = 0;
  for (int run = 0; run < 5000; ++run) {
    std::string text;
    for (int length = 0; length < 12; ++length) {
      state = state * 1103515245u + 12345u;
      text += pieces[(state >> 16) % (sizeof pieces / sizeof pieces[0])];
    }
    if (locations.ExpandText(text) != Expanded(text) && ++differing <= 3) {
      std::printf("  \"%s\" expands to \"%s\", Windows: \"%s\"\n", text.c_str(), locations.ExpandText(text).c_str(),
                  Expanded(text).c_str());
    }
  }
  CHECK_EQ(differing, 0);
  SetEnvironmentVariableW(Wide(name).c_str(), nullptr);
  SetEnvironmentVariableW(L"ZOLVANE_EMPTY", nullptr);
}

// TMP and TEMP name an existing folder longer than MAX_PATH: there is no temporary folder, where a part of its
// path, or the current folder, would have the backup's exports land among the user's files.
void TestATemporaryFolderTooLongIsNone() {
  std::wstring tooLong = TempFolder() + L"zolvane long temp " + std::wstring(250, L'x');
  CreateDirectoryW((L"\\\\?\\" + tooLong).c_str(), nullptr);
  wchar_t saved[2][MAX_PATH] = {};
  const wchar_t* names[2] = {L"TMP", L"TEMP"};
  for (int i = 0; i < 2; ++i) {
    GetEnvironmentVariableW(names[i], saved[i], MAX_PATH);
    SetEnvironmentVariableW(names[i], tooLong.c_str());
  }
  CHECK_EQ(platform::Win32System().TempFolder(), std::string());
  for (int i = 0; i < 2; ++i) SetEnvironmentVariableW(names[i], saved[i][0] != L'\0' ? saved[i] : nullptr);
  RemoveDirectoryW((L"\\\\?\\" + tooLong).c_str());
}

// A file named by its 8.3 name ("SPLF~LWB.TXT") is the same file as by its long name, as the backup compares them.
void TestAShortNameIsTheLongName() {
  std::wstring file = TempFolder() + L"zolvane long file name.txt";
  WriteFileBytes(file, "x");
  wchar_t shortName[MAX_PATH] = L"";
  GetShortPathNameW(file.c_str(), shortName, MAX_PATH);
  CHECK(std::wstring(shortName) != file);
  CHECK_EQ(platform::Win32Files().LongFullPath(Utf8(shortName)), Utf8(file));
  DeleteFileW(file.c_str());
}

// Made full first, since the system takes a path behind "\\\\?\\" as it is.
void TestEveryPathTakesItsLongForm() {
  auto longForm = [](const std::string& path) { return platform::Narrow(platform::WidenLong(path).data()); };
  CHECK_EQ(longForm("C:\\a\\..\\b/c.txt"), std::string("\\\\?\\C:\\b\\c.txt"));
  CHECK_EQ(longForm("\\\\server\\share\\x"), std::string("\\\\?\\UNC\\server\\share\\x"));
  CHECK_EQ(longForm("\\\\?\\C:\\x"), std::string("\\\\?\\C:\\x"));
  CHECK_EQ(longForm("relative.txt"), "\\\\?\\" + platform::FullPathOf("relative.txt"));
}

}  // namespace

int main() {
  TestBindsOnFirstUse();
  TestWhatCannotBeHad();
  TestShellCallsThroughBinding();
  TestProcessesStartInTheSystemFolder();
  TestSystemAsZolvaneAsksForIt();
  TestAValueThatGrowsWhileItIsReadIsReadWhole();
  TestVariablesAndTheirExpansion();
  TestATemporaryFolderTooLongIsNone();
  TestAShortNameIsTheLongName();
  TestEveryPathTakesItsLongForm();
  return wine_check::Summary();
}
