// Stands in for the prefix's regedit.exe in the end-to-end suite: logs each run, can be slow, and then runs the
// real regedit, set aside beside it, with the same arguments. Without its environment variables it only passes the
// run on, so a stand-in left behind by a killed run breaks nothing.
#include <windows.h>

#include <string>

#include "tests/e2e/regedit_stand_in.h"

namespace {

constexpr DWORD kRealRegeditWaitMs = 60000;

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? value : L"";
}

// The command line after the program's own name, as it was given.
std::wstring Arguments() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    line = wcschr(line + 1, L'"');
    line = line == nullptr ? L"" : line + 1;
  }
  while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  return line;
}

// Other runs append at the same moment: retry a while rather than lose the line.
void Log(const std::wstring& path, const std::wstring& line) {
  std::string utf8(static_cast<std::size_t>(line.size()) * 3 + 1, '\0');
  int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0],
                                  static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(bytes));
  utf8 += "\n";
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE log = CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
      CloseHandle(log);
      return;
    }
    Sleep(20);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring arguments = Arguments();
  std::wstring log = Variable(e2e::kRegeditLogVariable);
  if (!log.empty()) Log(log, arguments);
  Sleep(static_cast<DWORD>(_wtoi(Variable(e2e::kRegeditDelayVariable).c_str())));

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring real = self;
  real = real.substr(0, real.find_last_of(L'\\') + 1) + e2e::kRealRegeditAside;
  std::wstring commandLine = L"regedit" + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(real.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return 1;
  }
  DWORD exitCode = 1;
  if (WaitForSingleObject(info.hProcess, kRealRegeditWaitMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(info.hProcess, &exitCode);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return static_cast<int>(exitCode);
}
