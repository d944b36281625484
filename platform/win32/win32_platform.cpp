#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

namespace platform {

namespace {

// UTF-16 is held in a vector, not a std::wstring, which would link a whole second string class.
using WideText = std::vector<wchar_t>;

WideText Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return WideText();
  int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  WideText wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const WideText& wide, UINT codePage) {
  if (wide.empty()) return std::string();
  int length =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
  return text;
}

// The predefined roots are 32-bit values that Win64 sign-extends; opened keys pass through as they are.
HKEY ToHkey(HKey hKey) {
  if (hKey >= 0x80000000u && hKey <= 0x800000FFu) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(hKey))));
  }
  return reinterpret_cast<HKEY>(hKey);
}

HANDLE ToHandle(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
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
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + std::strlen(dll) >= MAX_PATH) return nullptr;
  path[length] = '\\';
  std::strcpy(path + length + 1, dll);
  HMODULE module = LoadLibraryA(path);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

std::string Win32CodePage::ToAnsi(const std::string& utf8) {
  return Narrow(Widen(utf8, CP_UTF8), CP_ACP);
}

std::string Win32CodePage::FromAnsi(const std::string& ansiBytes) {
  return Narrow(Widen(ansiBytes, CP_ACP), CP_UTF8);
}

std::int32_t Win32Registry::RegOpenKeyExA(HKey hKey, const std::string& subKey, std::uint32_t options,
                                          std::uint32_t samDesired, HKey* phkResult) {
  HKEY opened = nullptr;
  LONG code = ::RegOpenKeyExA(ToHkey(hKey), codePage_.ToAnsi(subKey).c_str(), options, samDesired, &opened);
  if (code == ERROR_SUCCESS) *phkResult = reinterpret_cast<HKey>(opened);
  return code;
}

std::int32_t Win32Registry::RegQueryValueExA(HKey hKey, const std::string& valueName, std::uint32_t* type,
                                             std::uint8_t* data, std::uint32_t* cbData) {
  DWORD valueType = 0;
  DWORD size = *cbData;
  LONG code = ::RegQueryValueExA(ToHkey(hKey), codePage_.ToAnsi(valueName).c_str(), nullptr, &valueType, data, &size);
  *type = valueType;
  *cbData = size;
  return code;
}

std::int32_t Win32Registry::RegCloseKey(HKey hKey) {
  return ::RegCloseKey(ToHkey(hKey));
}

std::int32_t Win32Registry::SHSetValueA(HKey hKey, const std::string& subKey, const std::string& valueName,
                                        std::uint32_t type, const void* data, std::uint32_t cbData) {
  ZOLVANE_SYSTEM_FUNCTION("shlwapi.dll", SHSetValueA);
  if (boundSHSetValueA == nullptr) return ERROR_MOD_NOT_FOUND;
  return static_cast<std::int32_t>(boundSHSetValueA(ToHkey(hKey), codePage_.ToAnsi(subKey).c_str(),
                                                    codePage_.ToAnsi(valueName).c_str(), type, data, cbData));
}

std::optional<std::string> Win32Environment::GetEnvironmentVariableA(const std::string& name) {
  std::string ansiName = codePage_.ToAnsi(name);
  DWORD needed = ::GetEnvironmentVariableA(ansiName.c_str(), nullptr, 0);
  if (needed == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::vector<char> buffer(needed + 1, '\0');
  DWORD length = ::GetEnvironmentVariableA(ansiName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return std::nullopt;
  return codePage_.FromAnsi(std::string(buffer.data(), length));
}

int Win32System::GetVersionExA(OsVersionInfo* info) {
  OSVERSIONINFOA record;
  std::memset(&record, 0, sizeof record);
  record.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
  record.dwMajorVersion = info->dwMajorVersion;
  record.dwMinorVersion = info->dwMinorVersion;
  record.dwBuildNumber = info->dwBuildNumber;
  record.dwPlatformId = info->dwPlatformId;
  std::memcpy(record.szCSDVersion, info->szCSDVersion, sizeof record.szCSDVersion);
  BOOL ok = ::GetVersionExA(&record);
  if (!ok) return 0;
  info->dwMajorVersion = record.dwMajorVersion;
  info->dwMinorVersion = record.dwMinorVersion;
  info->dwBuildNumber = record.dwBuildNumber;
  info->dwPlatformId = record.dwPlatformId;
  std::memcpy(info->szCSDVersion, record.szCSDVersion, sizeof info->szCSDVersion);
  return 1;
}

std::uint32_t Win32Files::GetTempPathA(std::uint32_t nBufferLength, std::string* buffer) {
  std::vector<char> chars(nBufferLength + 1, ' ');
  DWORD length = ::GetTempPathA(nBufferLength, chars.data());
  if (length == 0 || length > nBufferLength) return 0;
  *buffer = codePage_.FromAnsi(std::string(chars.data(), length));
  return length;
}

std::int32_t Win32Files::OpenFile(const std::string& fileName, std::uint32_t style) {
  OFSTRUCT record;
  std::memset(&record, 0, sizeof record);
  return static_cast<std::int32_t>(::OpenFile(codePage_.ToAnsi(fileName).c_str(), &record, style));
}

std::int32_t Win32Files::ReadWholeFile(const std::string& fileName, std::string* bytes) {
  HANDLE file = ::CreateFileA(codePage_.ToAnsi(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
  HANDLE file = ::CreateFileA(codePage_.ToAnsi(fileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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

std::int32_t Win32Files::DeleteFileA(const std::string& fileName) {
  if (::DeleteFileA(codePage_.ToAnsi(fileName).c_str())) return 0;
  return static_cast<std::int32_t>(GetLastError());
}

std::int32_t Win32Processes::CreateProcessA(const std::string& commandLine, int showWindow, Handle* process) {
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof info);
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::string ansi = codePage_.ToAnsi(commandLine);
  std::vector<char> line(ansi.begin(), ansi.end());
  line.push_back('\0');
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return static_cast<std::int32_t>(GetLastError());
  }
  ::CloseHandle(info.hThread);
  *process = reinterpret_cast<Handle>(info.hProcess);
  return 0;
}

std::uint32_t Win32Processes::WaitForSingleObject(Handle handle, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(ToHandle(handle), milliseconds);
}

int Win32Processes::GetExitCodeProcess(Handle process, std::uint32_t* exitCode) {
  DWORD code = 0;
  BOOL ok = ::GetExitCodeProcess(ToHandle(process), &code);
  *exitCode = code;
  return ok ? 1 : 0;
}

int Win32Processes::TerminateProcess(Handle process, std::uint32_t exitCode) {
  return ::TerminateProcess(ToHandle(process), exitCode) ? 1 : 0;
}

int Win32Processes::CloseHandle(Handle handle) {
  return ::CloseHandle(ToHandle(handle)) ? 1 : 0;
}

std::int32_t Win32Shell::SHGetFolderPathA(Handle hwndOwner, int nFolder, Handle hToken, std::uint32_t dwFlags,
                                          std::string* path) {
  char buffer[MAX_PATH + 1];
  std::memset(buffer, 0, sizeof buffer);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetFolderPathA);
  if (boundSHGetFolderPathA == nullptr) return static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  HRESULT result = boundSHGetFolderPathA(reinterpret_cast<HWND>(hwndOwner), nFolder, ToHandle(hToken), dwFlags, buffer);
  if (result == S_OK) *path = codePage_.FromAnsi(buffer);
  return static_cast<std::int32_t>(result);
}

Handle Win32Shell::GetDesktopWindow() {
  return reinterpret_cast<Handle>(::GetDesktopWindow());
}

Handle Win32Shell::ShellExecuteA(Handle hwnd, const std::string& operation, const std::string& file,
                                 const std::optional<std::string>& parameters,
                                 const std::optional<std::string>& directory, int showCmd) {
  std::string ansiParameters = parameters ? codePage_.ToAnsi(*parameters) : std::string();
  std::string ansiDirectory = directory ? codePage_.ToAnsi(*directory) : std::string();
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", ShellExecuteA);
  // What ShellExecuteA itself answers when a library it needs is missing.
  if (boundShellExecuteA == nullptr) return SE_ERR_DLLNOTFOUND;
  HINSTANCE result = boundShellExecuteA(reinterpret_cast<HWND>(hwnd), codePage_.ToAnsi(operation).c_str(),
                                        codePage_.ToAnsi(file).c_str(), parameters ? ansiParameters.c_str() : nullptr,
                                        directory ? ansiDirectory.c_str() : nullptr, showCmd);
  return reinterpret_cast<Handle>(result);
}

Handle Win32Shell::SHBrowseForFolderA(const BrowseInfo& browseInfo) {
  // The ANSI title must stay valid until the dialog has closed: it lives in this frame.
  std::string title = codePage_.ToAnsi(browseInfo.lpszTitle);
  BROWSEINFOA record;
  std::memset(&record, 0, sizeof record);
  record.hwndOwner = reinterpret_cast<HWND>(browseInfo.hwndOwner);
  record.pidlRoot = reinterpret_cast<LPCITEMIDLIST>(browseInfo.pidlRoot);
  record.lpszTitle = title.c_str();
  record.ulFlags = browseInfo.ulFlags;
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHBrowseForFolderA);
  // Without the shell there is no dialog: the same answer as a dialog that was cancelled.
  if (boundSHBrowseForFolderA == nullptr) return 0;
  return reinterpret_cast<Handle>(boundSHBrowseForFolderA(&record));
}

int Win32Shell::SHGetPathFromIDListA(Handle pidl, char* pszPath) {
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetPathFromIDListA);
  if (boundSHGetPathFromIDListA == nullptr) return 0;
  return boundSHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(pidl), pszPath) ? 1 : 0;
}

void Win32Shell::CoTaskMemFree(Handle pv) {
  // Only a list the shell made comes here, so ole32 is already loaded by then.
  ZOLVANE_SYSTEM_FUNCTION("ole32.dll", CoTaskMemFree);
  if (boundCoTaskMemFree != nullptr) boundCoTaskMemFree(reinterpret_cast<void*>(pv));
}

Win32Platform::Win32Platform()
    : registry_(codePage_),
      environment_(codePage_),
      files_(codePage_),
      processes_(codePage_),
      shell_(codePage_),
      platform_{codePage_, registry_, environment_, system_, files_, processes_, shell_} {}

}  // namespace platform
