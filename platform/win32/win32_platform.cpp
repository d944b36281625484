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

// The predefined roots are 32-bit values that Win64 sign-extends.
HKEY ToHkey(HKey hive) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(hive))));
}

template <typename Handle>
HANDLE ToHandle(Handle handle) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle));
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

namespace {

// RegQueryValueExW and RegEnumValueW may be handed a value that grew since its size was asked: they then answer
// ERROR_MORE_DATA and the read begins again. A value that keeps growing is given up on after this many tries.
constexpr int kReadTries = 8;

// The 64-bit view is the shell's on 64-bit Windows; 32-bit Windows XP ignores the flag.
constexpr REGSAM kShellView = KEY_WOW64_64KEY;

// A key opened for one call, closed when the call is done.
class OpenKey {
 public:
  OpenKey(HKey hive, const std::string& subKey, REGSAM access)
      : code_(::RegOpenKeyExW(ToHkey(hive), Widen(subKey).data(), 0, access | kShellView, &key_)) {}
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (code_ == ERROR_SUCCESS) ::RegCloseKey(key_);
  }
  LONG code() const { return code_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LONG code_;
};

LONG QueryValue(HKEY key, const WideText& name, RegistryValue* value) {
  for (int tries = 0; tries < kReadTries; ++tries) {
    DWORD type = 0;
    DWORD size = 0;
    LONG code = ::RegQueryValueExW(key, name.data(), nullptr, &type, nullptr, &size);
    if (code != ERROR_SUCCESS) return code;
    // One spare byte, so that an empty value still has a buffer to point at.
    std::vector<BYTE> data(static_cast<std::size_t>(size) + 1, 0);
    code = ::RegQueryValueExW(key, name.data(), nullptr, &type, data.data(), &size);
    if (code == ERROR_MORE_DATA) continue;
    if (code != ERROR_SUCCESS) return code;
    value->type = type;
    value->bytes.assign(reinterpret_cast<const char*>(data.data()), size);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

// The value at index, with buffers as large as the key says its largest name and data are.
LONG EnumValue(HKEY key, DWORD index, RegistryValue* value) {
  for (int tries = 0; tries < kReadTries; ++tries) {
    DWORD maxName = 0;
    DWORD maxData = 0;
    LONG code = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                   &maxData, nullptr, nullptr);
    if (code != ERROR_SUCCESS) return code;
    std::vector<wchar_t> name(static_cast<std::size_t>(maxName) + 1, L'\0');
    std::vector<BYTE> data(static_cast<std::size_t>(maxData) + 1, 0);
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    code = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (code == ERROR_MORE_DATA) continue;
    if (code != ERROR_SUCCESS) return code;
    value->name = Narrow(name.data(), nameLength);
    value->type = type;
    value->bytes.assign(reinterpret_cast<const char*>(data.data()), size);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

}  // namespace

std::int32_t Win32Registry::ReadValue(HKey hive, const std::string& subKey, const std::string& name,
                                      RegistryValue* value) {
  OpenKey key(hive, subKey, KEY_QUERY_VALUE);
  if (key.code() != ERROR_SUCCESS) return key.code();
  value->name = name;
  return QueryValue(key.get(), Widen(name), value);
}

std::int32_t Win32Registry::ReadValues(HKey hive, const std::string& subKey, std::vector<RegistryValue>* values) {
  OpenKey key(hive, subKey, KEY_QUERY_VALUE);
  if (key.code() != ERROR_SUCCESS) return key.code();
  std::vector<RegistryValue> found;
  for (DWORD index = 0;; ++index) {
    RegistryValue value;
    LONG code = EnumValue(key.get(), index, &value);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code != ERROR_SUCCESS) return code;
    found.push_back(std::move(value));
  }
  *values = std::move(found);
  return ERROR_SUCCESS;
}

// What SHSetValueW does, RegCreateKeyExW and RegSetValueExW, but with the view chosen: SHSetValueW takes no flag.
std::int32_t Win32Registry::WriteValue(HKey hive, const std::string& subKey, const RegistryValue& value) {
  HKEY key = nullptr;
  LONG code = ::RegCreateKeyExW(ToHkey(hive), Widen(subKey).data(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE | kShellView, nullptr, &key, nullptr);
  if (code != ERROR_SUCCESS) return code;
  code = ::RegSetValueExW(key, Widen(value.name).data(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.bytes.data()), static_cast<DWORD>(value.bytes.size()));
  ::RegCloseKey(key);
  return code;
}

std::int32_t Win32Registry::DeleteValue(HKey hive, const std::string& subKey, const std::string& name) {
  OpenKey key(hive, subKey, KEY_SET_VALUE);
  if (key.code() != ERROR_SUCCESS) return key.code();
  return ::RegDeleteValueW(key.get(), Widen(name).data());
}

// A variable defined with an empty value is empty text, as ExpandEnvironmentStrings has it; only a variable
// that is not defined at all is none. Some systems answer the size query for an empty value with 1, others
// with 0 and ERROR_SUCCESS, so the last error decides, not the length.
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

// FILE_SHARE_READ only: a file that another program still has open for writing is refused (error 32), and
// nobody can change it while it is read. Its type and size are asked before anything is read, so that a device
// or a pipe, which might never end, is never read from.
std::int32_t Win32Files::ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string* bytes) {
  HANDLE file = ::CreateFileW(Widen(fileName).data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    DWORD attributes = ::GetFileAttributesW(Widen(fileName).data());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return folder ? ERROR_BAD_FILE_TYPE : static_cast<std::int32_t>(code);
  }
  std::int32_t code = 0;
  LARGE_INTEGER size;
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    code = ERROR_BAD_FILE_TYPE;
  } else if (!::GetFileSizeEx(file, &size)) {
    code = static_cast<std::int32_t>(GetLastError());
  } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    code = ERROR_FILE_TOO_LARGE;
  }
  std::string content;
  char chunk[65536];
  while (code == 0) {
    DWORD got = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      code = static_cast<std::int32_t>(GetLastError());
    } else if (got == 0) {
      break;
    } else if (content.size() + got > maxBytes) {
      code = ERROR_FILE_TOO_LARGE;  // it grew after its size was asked
    } else {
      content.append(chunk, got);
    }
  }
  ::CloseHandle(file);
  if (code == 0) *bytes = std::move(content);
  return code;
}

std::int32_t Win32Files::WriteNewFile(const std::string& fileName, const std::string& bytes) {
  HANDLE file =
      ::CreateFileW(Widen(fileName).data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<std::int32_t>(GetLastError());
  std::int32_t code = 0;
  std::size_t done = 0;
  while (code == 0 && done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > 65536 ? 65536 : bytes.size() - done);
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
      code = static_cast<std::int32_t>(GetLastError());
    done += written;
  }
  // On the disk before it takes the place of anything: a power cut must not leave a backup that never was.
  if (code == 0 && !::FlushFileBuffers(file)) code = static_cast<std::int32_t>(GetLastError());
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

namespace {

// On 64-bit Windows a 32-bit process that starts the Windows folder's regedit.exe is given the 32-bit one from
// SysWOW64, which reads and exports the 32-bit view of HKLM\\Software; while the redirection is off for the start,
// the 64-bit one runs. 32-bit Windows XP has none of this: the functions are then missing, or do nothing.
class NativeFolders {
 public:
  NativeFolders() {
    using Disable = BOOL(WINAPI*)(PVOID*);
    auto disable = reinterpret_cast<Disable>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "Wow64DisableWow64FsRedirection")));
    off_ = disable != nullptr && disable(&previous_);
  }
  NativeFolders(const NativeFolders&) = delete;
  NativeFolders& operator=(const NativeFolders&) = delete;
  ~NativeFolders() {
    using Revert = BOOL(WINAPI*)(PVOID);
    auto revert = reinterpret_cast<Revert>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "Wow64RevertWow64FsRedirection")));
    if (off_ && revert != nullptr) revert(previous_);
  }

 private:
  PVOID previous_ = nullptr;
  bool off_ = false;
};

}  // namespace

// In the system folder, so that the program holds no handle on the folder the user started Zolvane in, and
// finds nothing there that it might load.
std::int32_t Win32Processes::CreateProcessW(const std::string& applicationName, const std::string& commandLine,
                                            int showWindow, ProcessHandle* process) {
  STARTUPINFOW startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof info);
  wchar_t systemFolder[MAX_PATH + 1];
  UINT length = ::GetSystemDirectoryW(systemFolder, MAX_PATH + 1);
  const wchar_t* folder = length == 0 || length > MAX_PATH ? nullptr : systemFolder;
  // CreateProcessW may write into the command line: it gets a copy of its own.
  WideText line = Widen(commandLine);
  WideText application = Widen(applicationName);
  BOOL started = FALSE;
  DWORD code = 0;
  {
    NativeFolders native;
    started =
        ::CreateProcessW(application.data(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info);
    code = GetLastError();
  }
  if (!started) return static_cast<std::int32_t>(code);
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

// "Local\\": the namespace of the user's session, so that two users of one machine never wait for each other.
std::int32_t Win32Locks::Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Widen("Local\\" + name).data());
  if (mutex == nullptr) return static_cast<std::int32_t>(GetLastError());
  DWORD waited = ::WaitForSingleObject(mutex, timeoutMs);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    *lock = static_cast<LockHandle>(reinterpret_cast<std::uintptr_t>(mutex));
    return 0;
  }
  DWORD code = waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError();
  ::CloseHandle(mutex);
  return static_cast<std::int32_t>(code);
}

void Win32Locks::Release(LockHandle lock) {
  HANDLE mutex = ToHandle(lock);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
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
