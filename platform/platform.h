// The system services Zolvane uses, as small interfaces free of windows.h.
//
// Each method mirrors one wide (W) Win32 call: the same arguments the call sites pass and the same result codes
// the system returns, so the core reads like the system calls it makes and a fake can record or fail any of
// them. Texts are UTF-8 in this interface and UTF-16 at the system: the Win32 layer converts them at the call.
// Where a method hands over one of the system's own buffers (registry data, a path buffer, the version
// record), that buffer holds UTF-16 as the system stores it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A registry key: a predefined root (0x80000001, ...) or a key opened by RegOpenKeyExW.
using HKey = std::uintptr_t;
// Handles of different kinds have types of their own, so that one cannot be passed for another.
enum class WindowHandle : std::uintptr_t { kNone = 0 };
enum class ItemIdList : std::uintptr_t { kNone = 0 };
enum class ProcessHandle : std::uintptr_t { kNone = 0 };

constexpr HKey kHkeyCurrentUser = 0x80000001u;
constexpr HKey kHkeyLocalMachine = 0x80000002u;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr std::uint32_t kKeyQueryValue = 0x1;
constexpr std::int32_t kErrorSuccess = 0;
constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kErrorNotEnoughMemory = 8;
constexpr std::int32_t kErrorInvalidData = 13;
constexpr std::int32_t kErrorMoreData = 234;
constexpr std::int32_t kErrorWaitTimeout = 258;
constexpr std::int32_t kErrorCantRead = 1012;   // a registry key could not be read
constexpr std::int32_t kErrorCantWrite = 1013;  // a registry key could not be written
constexpr std::int32_t kErrorInternalError = 1359;
constexpr std::int32_t kErrorFunctionFailed = 1627;

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyExW. *phkResult is written only on success.
  virtual std::int32_t RegOpenKeyExW(HKey hKey, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t samDesired, HKey* phkResult) = 0;
  // RegQueryValueExW. With data == nullptr it is the size query; otherwise *cbData is the buffer's length
  // on the way in and the number of bytes stored on the way out (ERROR_MORE_DATA when it does not fit).
  // A string value's data is UTF-16LE.
  virtual std::int32_t RegQueryValueExW(HKey hKey, const std::string& valueName, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* cbData) = 0;
  virtual std::int32_t RegCloseKey(HKey hKey) = 0;
  // SHSetValueW: creates the key when missing. data holds cbData bytes, UTF-16LE for a string type.
  virtual std::int32_t SHSetValueW(HKey hKey, const std::string& subKey, const std::string& valueName,
                                   std::uint32_t type, const void* data, std::uint32_t cbData) = 0;
  // SHDeleteValueW: ERROR_FILE_NOT_FOUND when there is no such value.
  virtual std::int32_t SHDeleteValueW(HKey hKey, const std::string& subKey, const std::string& valueName) = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // GetEnvironmentVariableW: the value of a defined variable (names match without regard to case), or none.
  virtual std::optional<std::string> GetEnvironmentVariableW(const std::string& name) = 0;
};

// The OSVERSIONINFOW record: 276 bytes, the CSD text as 128 UTF-16 code units.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 0;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  char16_t szCSDVersion[128] = {};
};
constexpr std::uint32_t kOsVersionInfoSize = 5 * 4 + 128 * 2;

class System {
 public:
  virtual ~System() = default;
  // GetVersionExW: non-zero on success; on failure the record is left as it was.
  virtual int GetVersionExW(OsVersionInfo* info) = 0;
  // GetWindowsDirectoryW: the number of characters written into *path, 0 on failure.
  virtual std::uint32_t GetWindowsDirectoryW(std::string* path) = 0;
};

constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr std::uint32_t kMovefileReplaceExisting = 0x1;
constexpr std::uint32_t kMovefileWriteThrough = 0x8;

// Files, by path. Every operation returns 0 or the system's error code unless it says otherwise.
class Files {
 public:
  virtual ~Files() = default;
  // GetTempPathW: the number of characters written into *buffer, 0 on failure.
  virtual std::uint32_t GetTempPathW(std::uint32_t nBufferLength, std::string* buffer) = 0;
  // GetFileAttributesW: the file's attributes, or INVALID_FILE_ATTRIBUTES when there is no such file.
  virtual std::uint32_t GetFileAttributesW(const std::string& fileName) = 0;
  // The whole content of an existing file.
  virtual std::int32_t ReadWholeFile(const std::string& fileName, std::string* bytes) = 0;
  // Creates the file, or replaces what it held, with these bytes.
  virtual std::int32_t WriteWholeFile(const std::string& fileName, const std::string& bytes) = 0;
  virtual std::int32_t DeleteFileW(const std::string& fileName) = 0;
  // MoveFileExW: with MOVEFILE_REPLACE_EXISTING it takes the place of an existing file in one step.
  virtual std::int32_t MoveFileExW(const std::string& existingFileName, const std::string& newFileName,
                                   std::uint32_t flags) = 0;
};

constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitTimeout = 0x102;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateProcessW of the program at a full path (the application name, so that nothing is searched for) with
  // a command line, STARTF_USESHOWWINDOW: 0 and the process handle, or an error code.
  virtual std::int32_t CreateProcessW(const std::string& applicationName, const std::string& commandLine,
                                      int showWindow, ProcessHandle* process) = 0;
  virtual std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) = 0;
  // Non-zero on success.
  virtual int GetExitCodeProcess(ProcessHandle process, std::uint32_t* exitCode) = 0;
  virtual int TerminateProcess(ProcessHandle process, std::uint32_t exitCode) = 0;
  virtual int CloseHandle(ProcessHandle process) = 0;
};

constexpr int kCsidlDesktop = 0x0000;
constexpr int kCsidlFlagCreate = 0x8000;
constexpr std::int32_t kSOk = 0;
constexpr std::int32_t kSFalse = 1;
constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057u);

constexpr std::uint32_t kCoinitApartmentThreaded = 0x2;
constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x1;
constexpr std::uint32_t kBifDontGoBelowDomain = 0x2;
constexpr std::size_t kMaxPath = 260;

// The BROWSEINFOW fields that are not zero; the Win32 layer keeps the title valid while the dialog is open.
struct BrowseInfo {
  WindowHandle hwndOwner = WindowHandle::kNone;
  ItemIdList pidlRoot = ItemIdList::kNone;
  std::string lpszTitle;
  std::uint32_t ulFlags = 0;
};

constexpr std::uint32_t kOfnHideReadOnly = 0x4;
constexpr std::uint32_t kOfnNoChangeDir = 0x8;
constexpr std::uint32_t kOfnPathMustExist = 0x800;
constexpr std::uint32_t kOfnFileMustExist = 0x1000;

// The OPENFILENAMEW fields that are not zero. The filter's names and patterns are separated by '|', which no
// file name can hold; the Win32 layer makes the double-NUL list of them.
struct OpenFileName {
  WindowHandle hwndOwner = WindowHandle::kNone;
  std::string lpstrFilter;
  std::string lpstrInitialDir;
  std::string lpstrFile;  // the name shown preselected
  std::string lpstrTitle;
  std::uint32_t flags = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // SHGetFolderPathW: an HRESULT; on S_OK *path holds the folder's path.
  virtual std::int32_t SHGetFolderPathW(WindowHandle hwndOwner, int nFolder, std::uintptr_t hToken,
                                        std::uint32_t dwFlags, std::string* path) = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  // ShellExecuteW: a value above 32 on success. An absent parameters or directory text is passed as null.
  virtual std::intptr_t ShellExecuteW(WindowHandle hwnd, const std::string& operation, const std::string& file,
                                      const std::optional<std::string>& parameters,
                                      const std::optional<std::string>& directory, int showCmd) = 0;
  // SHBrowseForFolderW: the item identifier list of the confirmed folder, or none when cancelled.
  virtual ItemIdList SHBrowseForFolderW(const BrowseInfo& browseInfo) = 0;
  // SHGetPathFromIDListW into a caller's buffer of kMaxPath UTF-16 code units.
  virtual int SHGetPathFromIDListW(ItemIdList pidl, char16_t* pszPath) = 0;
  virtual void CoTaskMemFree(ItemIdList pv) = 0;
  // CoInitializeEx on the calling thread: an HRESULT (S_FALSE when it was initialised already).
  virtual std::int32_t CoInitializeEx(std::uint32_t coInit) = 0;
  // GetOpenFileNameW: non-zero with *file the chosen path when the user confirmed; zero when cancelled or
  // failed, which CommDlgExtendedError then tells apart (0 for cancelled).
  virtual int GetOpenFileNameW(const OpenFileName& ofn, std::string* file) = 0;
  virtual std::uint32_t CommDlgExtendedError() = 0;
};

// Everything the program asks of the system, handed to the core in one piece.
struct Platform {
  Registry& registry;
  Environment& environment;
  System& system;
  Files& files;
  Processes& processes;
  Shell& shell;
};

}  // namespace platform
