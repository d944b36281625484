// The running system: its environment, its version, its Windows and temporary folders, its own words for an
// error code, its clock and pauses, and the console standard output writes to.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "text/ascii_case.h"

namespace platform {

// A variable defined with an empty value is empty text, as ExpandEnvironmentStrings has it; only a variable
// that is not defined at all is none. Some systems answer the size query for an empty value with 1, others
// with 0 and ERROR_SUCCESS, so the last error decides, not the length.
std::optional<std::string> Win32Environment::Variable(const std::string& name) {
  WideText wideName = Widen(name);
  std::vector<wchar_t> buffer(1, L'\0');
  while (true) {
    SetLastError(ERROR_SUCCESS);
    DWORD length = ::GetEnvironmentVariableW(wideName.data(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    // Too small: length is the size needed, terminator included. The value may grow in between, so ask again.
    buffer.assign(length + 1, L'\0');
  }
}

namespace {

// The names of the environment Windows gives the user's shell at logon: CreateEnvironmentBlock without
// inheriting builds it from the registry and the profile alone. userenv.dll is loaded only when asked. False
// when it cannot be had.
bool ReadLogonNames(std::vector<std::string>* names) {
  using CreateBlock = BOOL(WINAPI*)(void**, HANDLE, BOOL);
  using DestroyBlock = BOOL(WINAPI*)(void*);
  auto create = reinterpret_cast<CreateBlock>(SystemFunction("userenv.dll", "CreateEnvironmentBlock"));
  auto destroy = reinterpret_cast<DestroyBlock>(SystemFunction("userenv.dll", "DestroyEnvironmentBlock"));
  HANDLE token = nullptr;
  if (create == nullptr || destroy == nullptr || !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
    return false;
  ScopedHandle ownedToken(token);
  void* block = nullptr;
  if (!create(&block, token, FALSE)) return false;
  // "NAME=value" strings one after another, an empty one last; a name may begin with "=" ("=C:=C:\").
  for (const wchar_t* entry = static_cast<const wchar_t*>(block); *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    const wchar_t* equals = std::wcschr(entry + 1, L'=');
    if (equals != nullptr) names->push_back(AsciiLowered(Narrow(entry, static_cast<std::size_t>(equals - entry))));
  }
  destroy(block);
  return true;
}

}  // namespace

// The system's own variables, which Windows gives every process of the user's: some systems' block leaves out a
// few of them (Wine's has no PUBLIC, which Wine sets in each process as it starts), and a definition of one of them
// in a script only repeats what the shell has anyway.
bool Win32Environment::AtLogon(const std::string& name) {
  if (!logonRead_) logonKnown_ = ReadLogonNames(&logonNames_);
  logonRead_ = true;
  if (!logonKnown_) return true;
  const char* const kSystemsOwn[] = {"allusersprofile", "appdata",     "computername", "homedrive",   "homepath",
                                     "localappdata",    "programdata", "public",       "systemdrive", "systemroot",
                                     "userdomain",      "username",    "userprofile",  "windir"};
  std::string lowered = AsciiLowered(name);
  return std::find(std::begin(kSystemsOwn), std::end(kSystemsOwn), lowered) != std::end(kSystemsOwn) ||
         std::find(logonNames_.begin(), logonNames_.end(), lowered) != logonNames_.end();
}

// The record is handed over with its size set and the rest zero; a failed call leaves it so.
WindowsVersion Win32System::Version() {
  OSVERSIONINFOW record;
  std::memset(&record, 0, sizeof record);
  record.dwOSVersionInfoSize = sizeof record;
  WindowsVersion version;
  if (!::GetVersionExW(&record)) return version;
  version.platformId = record.dwPlatformId;
  version.major = record.dwMajorVersion;
  version.minor = record.dwMinorVersion;
  version.build = record.dwBuildNumber;
  return version;
}

std::string Win32System::WindowsFolder() {
  wchar_t buffer[MAX_PATH + 1];
  UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return std::string();
  return Narrow(buffer, length);
}

std::string Win32System::TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return std::string();
  return Narrow(buffer, length);
}

std::string Win32System::ErrorText(std::int32_t code) {
  wchar_t* text = nullptr;
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  ScopedLocalMemory<wchar_t> allocated(text);
  std::string description = length > 0 ? Narrow(text, length) : std::string();
  while (!description.empty() &&
         (description.back() == '\n' || description.back() == '\r' || description.back() == ' ')) {
    description.pop_back();
  }
  return description;
}

LocalTime Win32System::Now() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint16_t Win32System::InstalledUiLanguage() {
  return ::GetSystemDefaultUILanguage();
}

void Win32System::Pause(std::uint32_t ms) {
  ::Sleep(ms);
}

std::uint32_t Win32System::Ticks() {
  return ::GetTickCount();
}

// GetConsoleMode fails for a handle that is not a console's; the width is that of the window, not of its buffer.
int Win32System::OutputConsoleColumns() {
  HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  CONSOLE_SCREEN_BUFFER_INFO screen;
  if (output == nullptr || output == INVALID_HANDLE_VALUE || !::GetConsoleMode(output, &mode) ||
      !::GetConsoleScreenBufferInfo(output, &screen))
    return 0;
  return screen.srWindow.Right - screen.srWindow.Left + 1;
}

}  // namespace platform
