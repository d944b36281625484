// The real platform: each method makes the wide Win32 call it is named after.
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// The predefined roots are 32-bit values that Win64 sign-extends; opened keys pass through as they are.
HKEY ToHkey(HKey hKey) {
  if (hKey >= 0x80000000u && hKey <= 0x800000FFu) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(hKey))));
  }
  return reinterpret_cast<HKEY>(hKey);
}

HANDLE ToHandle(ProcessHandle process) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(process));
}

HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

LPITEMIDLIST ToPidl(ItemIdList list) {
  return reinterpret_cast<LPITEMIDLIST>(static_cast<std::uintptr_t>(list));
}

// The null pointer for an absent text, the text itself otherwise.
const wchar_t* OptionalText(const std::optional<std::string>& utf8, WideText& storage) {
  if (!utf8) return nullptr;
  storage = Widen(*utf8);
  return storage.data();
}

template <typename Function>
Function SystemFunctionOfType(const char* dll, const char* name) {
  return reinterpret_cast<Function>(SystemFunction(dll, name));
}

#define ZOLVANE_SYSTEM_FUNCTION(dll, function) \
  static const auto bound##function = SystemFunctionOfType<decltype(&::function)>(dll, #function)

}  // namespace

// The shell's libraries are loaded on first use, and from the system folder only: start-up needs none of
// them, and loading shell32 with all it pulls in would cost more than showing the whole window.
void* SystemFunction(const char* dll, const char* name) {
  wchar_t path[MAX_PATH];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  std::size_t dllLength = std::strlen(dll);
  if (length == 0 || length + 1 + dllLength >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  // Library names are ASCII.
  for (std::size_t i = 0; i <= dllLength; ++i) path[length + 1 + i] = static_cast<wchar_t>(dll[i]);
  HMODULE module = LoadLibraryW(path);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

std::int32_t Win32Registry::RegOpenKeyExW(HKey hKey, const std::string& subKey, std::uint32_t options,
                                          std::uint32_t samDesired, HKey* phkResult) {
  HKEY opened = nullptr;
  LONG code = ::RegOpenKeyExW(ToHkey(hKey), Widen(subKey).data(), options, samDesired, &opened);
  if (code == ERROR_SUCCESS) *phkResult = reinterpret_cast<HKey>(opened);
  return code;
}

std::int32_t Win32Registry::RegQueryValueExW(HKey hKey, const std::string& valueName, std::uint32_t* type,
                                             std::uint8_t* data, std::uint32_t* cbData) {
  DWORD valueType = 0;
  DWORD size = *cbData;
  LONG code = ::RegQueryValueExW(ToHkey(hKey), Widen(valueName).data(), nullptr, &valueType, data, &size);
  *type = valueType;
  *cbData = size;
  return code;
}

std::int32_t Win32Registry::RegCloseKey(HKey hKey) {
  return ::RegCloseKey(ToHkey(hKey));
}

std::int32_t Win32Registry::SHSetValueW(HKey hKey, const std::string& subKey, const std::string& valueName,
                                        std::uint32_t type, const void* data, std::uint32_t cbData) {
  ZOLVANE_SYSTEM_FUNCTION("shlwapi.dll", SHSetValueW);
  if (boundSHSetValueW == nullptr) return ERROR_MOD_NOT_FOUND;
  return static_cast<std::int32_t>(
      boundSHSetValueW(ToHkey(hKey), Widen(subKey).data(), Widen(valueName).data(), type, data, cbData));
}

// A variable defined with an empty value is empty text, as ExpandEnvironmentStrings has it; only a variable
// that is not defined at all is none. Some systems answer the size query for an empty value with 1, others
// with 0 and ERROR_SUCCESS, so the last error decides, not the length.
std::int32_t Win32Registry::SHDeleteValueW(HKey hKey, const std::string& subKey, const std::string& valueName) {
  ZOLVANE_SYSTEM_FUNCTION("shlwapi.dll", SHDeleteValueW);
  if (boundSHDeleteValueW == nullptr) return ERROR_MOD_NOT_FOUND;
  return static_cast<std::int32_t>(boundSHDeleteValueW(ToHkey(hKey), Widen(subKey).data(), Widen(valueName).data()));
}

std::optional<std::string> Win32Environment::GetEnvironmentVariableW(const std::string& name) {
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

int Win32System::GetVersionExW(OsVersionInfo* info) {
  OSVERSIONINFOW record;
  static_assert(sizeof record == kOsVersionInfoSize, "OSVERSIONINFOW is 276 bytes");
  static_assert(sizeof record.szCSDVersion == sizeof info->szCSDVersion, "the CSD text is 128 code units");
  std::memset(&record, 0, sizeof record);
  record.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
  record.dwMajorVersion = info->dwMajorVersion;
  record.dwMinorVersion = info->dwMinorVersion;
  record.dwBuildNumber = info->dwBuildNumber;
  record.dwPlatformId = info->dwPlatformId;
  std::memcpy(record.szCSDVersion, info->szCSDVersion, sizeof record.szCSDVersion);
  if (!::GetVersionExW(&record)) return 0;
  info->dwMajorVersion = record.dwMajorVersion;
  info->dwMinorVersion = record.dwMinorVersion;
  info->dwBuildNumber = record.dwBuildNumber;
  info->dwPlatformId = record.dwPlatformId;
  std::memcpy(info->szCSDVersion, record.szCSDVersion, sizeof info->szCSDVersion);
  return 1;
}

std::uint32_t Win32System::GetWindowsDirectoryW(std::string* path) {
  wchar_t buffer[MAX_PATH + 1];
  UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return 0;
  *path = Narrow(buffer, length);
  return length;
}

std::uint32_t Win32Files::GetTempPathW(std::uint32_t nBufferLength, std::string* buffer) {
  std::vector<wchar_t> chars(nBufferLength + 1, L' ');
  DWORD length = ::GetTempPathW(nBufferLength, chars.data());
  if (length == 0 || length > nBufferLength) return 0;
  *buffer = Narrow(chars.data(), length);
  return length;
}

std::uint32_t Win32Files::GetFileAttributesW(const std::string& fileName) {
  return ::GetFileAttributesW(Widen(fileName).data());
}

std::int32_t Win32Files::ReadWholeFile(const std::string& fileName, std::string* bytes) {
  HANDLE file = ::CreateFileW(Widen(fileName).data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<std::int32_t>(GetLastError());
  std::string content;
  char chunk[65536];
  DWORD got = 0;
  std::int32_t code = 0;
  while (true) {
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      code = static_cast<std::int32_t>(GetLastError());
      break;
    }
    if (got == 0) break;
    content.append(chunk, got);
  }
  ::CloseHandle(file);
  if (code == 0) *bytes = std::move(content);
  return code;
}

std::int32_t Win32Files::WriteWholeFile(const std::string& fileName, const std::string& bytes) {
  HANDLE file =
      ::CreateFileW(Widen(fileName).data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<std::int32_t>(GetLastError());
  std::int32_t code = 0;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > 65536 ? 65536 : bytes.size() - done);
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
      code = static_cast<std::int32_t>(GetLastError());
      break;
    }
    done += written;
  }
  if (!::CloseHandle(file) && code == 0) code = static_cast<std::int32_t>(GetLastError());
  return code;
}

std::int32_t Win32Files::DeleteFileW(const std::string& fileName) {
  if (::DeleteFileW(Widen(fileName).data())) return 0;
  return static_cast<std::int32_t>(GetLastError());
}

std::int32_t Win32Files::MoveFileExW(const std::string& existingFileName, const std::string& newFileName,
                                     std::uint32_t flags) {
  if (::MoveFileExW(Widen(existingFileName).data(), Widen(newFileName).data(), flags)) return 0;
  return static_cast<std::int32_t>(GetLastError());
}

std::int32_t Win32Processes::CreateProcessW(const std::string& applicationName, const std::string& commandLine,
                                            int showWindow, ProcessHandle* process) {
  STARTUPINFOW startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof info);
  // CreateProcessW may write into the command line: it gets a copy of its own.
  WideText line = Widen(commandLine);
  if (!::CreateProcessW(Widen(applicationName).data(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return static_cast<std::int32_t>(GetLastError());
  }
  ::CloseHandle(info.hThread);
  *process = static_cast<ProcessHandle>(reinterpret_cast<std::uintptr_t>(info.hProcess));
  return 0;
}

std::uint32_t Win32Processes::WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(ToHandle(process), milliseconds);
}

int Win32Processes::GetExitCodeProcess(ProcessHandle process, std::uint32_t* exitCode) {
  DWORD code = 0;
  BOOL ok = ::GetExitCodeProcess(ToHandle(process), &code);
  *exitCode = code;
  return ok ? 1 : 0;
}

int Win32Processes::TerminateProcess(ProcessHandle process, std::uint32_t exitCode) {
  return ::TerminateProcess(ToHandle(process), exitCode) ? 1 : 0;
}

int Win32Processes::CloseHandle(ProcessHandle process) {
  return ::CloseHandle(ToHandle(process)) ? 1 : 0;
}

std::int32_t Win32Shell::SHGetFolderPathW(WindowHandle hwndOwner, int nFolder, std::uintptr_t hToken,
                                          std::uint32_t dwFlags, std::string* path) {
  wchar_t buffer[MAX_PATH + 1];
  std::memset(buffer, 0, sizeof buffer);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetFolderPathW);
  if (boundSHGetFolderPathW == nullptr) return static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  HRESULT result = boundSHGetFolderPathW(ToHwnd(hwndOwner), nFolder, reinterpret_cast<HANDLE>(hToken), dwFlags, buffer);
  if (result == S_OK) *path = Narrow(buffer);
  return static_cast<std::int32_t>(result);
}

WindowHandle Win32Shell::GetDesktopWindow() {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(::GetDesktopWindow()));
}

std::intptr_t Win32Shell::ShellExecuteW(WindowHandle hwnd, const std::string& operation, const std::string& file,
                                        const std::optional<std::string>& parameters,
                                        const std::optional<std::string>& directory, int showCmd) {
  WideText parametersText;
  WideText directoryText;
  const wchar_t* parametersPointer = OptionalText(parameters, parametersText);
  const wchar_t* directoryPointer = OptionalText(directory, directoryText);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", ShellExecuteW);
  // What ShellExecuteW itself answers when a library it needs is missing.
  if (boundShellExecuteW == nullptr) return SE_ERR_DLLNOTFOUND;
  HINSTANCE result = boundShellExecuteW(ToHwnd(hwnd), Widen(operation).data(), Widen(file).data(), parametersPointer,
                                        directoryPointer, showCmd);
  return reinterpret_cast<std::intptr_t>(result);
}

ItemIdList Win32Shell::SHBrowseForFolderW(const BrowseInfo& browseInfo) {
  // The title must stay valid until the dialog has closed: it lives in this frame.
  WideText title = Widen(browseInfo.lpszTitle);
  BROWSEINFOW record;
  std::memset(&record, 0, sizeof record);
  record.hwndOwner = ToHwnd(browseInfo.hwndOwner);
  record.pidlRoot = ToPidl(browseInfo.pidlRoot);
  record.lpszTitle = title.data();
  record.ulFlags = browseInfo.ulFlags;
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHBrowseForFolderW);
  // Without the shell there is no dialog: the same answer as a dialog that was cancelled.
  if (boundSHBrowseForFolderW == nullptr) return ItemIdList::kNone;
  return static_cast<ItemIdList>(reinterpret_cast<std::uintptr_t>(boundSHBrowseForFolderW(&record)));
}

int Win32Shell::SHGetPathFromIDListW(ItemIdList pidl, char16_t* pszPath) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetPathFromIDListW);
  if (boundSHGetPathFromIDListW == nullptr) return 0;
  return boundSHGetPathFromIDListW(ToPidl(pidl), reinterpret_cast<wchar_t*>(pszPath)) ? 1 : 0;
}

void Win32Shell::CoTaskMemFree(ItemIdList pv) {
  // Only a list the shell made comes here, so ole32 is already loaded by then.
  ZOLVANE_SYSTEM_FUNCTION("ole32.dll", CoTaskMemFree);
  if (boundCoTaskMemFree != nullptr) boundCoTaskMemFree(ToPidl(pv));
}

std::int32_t Win32Shell::CoInitializeEx(std::uint32_t coInit) {
  ZOLVANE_SYSTEM_FUNCTION("ole32.dll", CoInitializeEx);
  if (boundCoInitializeEx == nullptr) return static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  return static_cast<std::int32_t>(boundCoInitializeEx(nullptr, coInit));
}

// The filter as the dialog takes it: each name and pattern ended by a NUL, and one more NUL after the last.
WideText FilterList(const std::string& filter) {
  WideText list = Widen(filter);
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  return list;
}

int Win32Shell::GetOpenFileNameW(const OpenFileName& ofn, std::string* file) {
  // Room for a long path; the preselected name is copied in and the chosen one comes back here.
  constexpr std::size_t kFileBufferLength = 4096;
  WideText chosen = Widen(ofn.lpstrFile);
  chosen.resize(kFileBufferLength, L'\0');
  chosen.back() = L'\0';
  WideText filter = FilterList(ofn.lpstrFilter);
  WideText initialDir = Widen(ofn.lpstrInitialDir);
  WideText title = Widen(ofn.lpstrTitle);
  OPENFILENAMEW record;
  std::memset(&record, 0, sizeof record);
  record.lStructSize = sizeof record;
  record.hwndOwner = ToHwnd(ofn.hwndOwner);
  record.lpstrFilter = filter.data();
  record.nFilterIndex = 1;
  record.lpstrFile = chosen.data();
  record.nMaxFile = static_cast<DWORD>(chosen.size());
  record.lpstrInitialDir = ofn.lpstrInitialDir.empty() ? nullptr : initialDir.data();
  record.lpstrTitle = ofn.lpstrTitle.empty() ? nullptr : title.data();
  record.Flags = ofn.flags;
  ZOLVANE_SYSTEM_FUNCTION("comdlg32.dll", GetOpenFileNameW);
  if (boundGetOpenFileNameW == nullptr || !boundGetOpenFileNameW(&record)) return 0;
  *file = Narrow(chosen.data());
  return 1;
}

std::uint32_t Win32Shell::CommDlgExtendedError() {
  ZOLVANE_SYSTEM_FUNCTION("comdlg32.dll", CommDlgExtendedError);
  // Without the library there was no dialog to fail: CDERR_INITIALIZATION.
  if (boundCommDlgExtendedError == nullptr) return 0x0002;
  return boundCommDlgExtendedError();
}

}  // namespace platform
