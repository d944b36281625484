// The system services Zolvane uses, as small interfaces free of windows.h.
//
// The registry, whole files and locks come at the level of what Zolvane needs (a value, a file, a lock); the
// other methods mirror one wide (W) Win32 call each, with the same arguments and result codes. A fake can record
// or fail any of them. Texts are UTF-8 in this interface and UTF-16 at the system: the Win32 layer converts them
// at the call. Where a method hands over one of the system's own buffers (registry data, a path buffer, the
// version record), that buffer holds UTF-16 as the system stores it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A registry hive: a predefined root, 0x80000001 or 0x80000002.
using HKey = std::uintptr_t;
// Handles of different kinds have types of their own, so that one cannot be passed for another.
enum class WindowHandle : std::uintptr_t { kNone = 0 };
enum class ItemIdList : std::uintptr_t { kNone = 0 };
enum class ProcessHandle : std::uintptr_t { kNone = 0 };
enum class LockHandle : std::uintptr_t { kNone = 0 };

constexpr HKey kHkeyCurrentUser = 0x80000001u;
constexpr HKey kHkeyLocalMachine = 0x80000002u;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr std::int32_t kErrorSuccess = 0;
constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kErrorNotEnoughMemory = 8;
constexpr std::int32_t kErrorInvalidData = 13;
constexpr std::int32_t kErrorFileExists = 80;
constexpr std::int32_t kErrorBadFileType = 222;  // not a file on a disk: a folder, a device or a pipe
constexpr std::int32_t kErrorFileTooLarge = 223;
constexpr std::int32_t kErrorMoreData = 234;
constexpr std::int32_t kErrorWaitTimeout = 258;
constexpr std::int32_t kErrorCantRead = 1012;   // a registry key could not be read
constexpr std::int32_t kErrorCantWrite = 1013;  // a registry key could not be written
constexpr std::int32_t kErrorInternalError = 1359;
constexpr std::int32_t kErrorFunctionFailed = 1627;

// One registry value as stored: its name, type and bytes (a string's bytes are UTF-16LE, as the system keeps them).
struct RegistryValue {
  std::string name;
  std::uint32_t type = 0;
  std::string bytes;
};

// The registry's values, by hive, key and name. On 64-bit Windows every call works on the 64-bit view, the one
// the shell reads, also from a 32-bit process; 32-bit Windows has only that one. Each call returns 0 or the
// system's code: ERROR_FILE_NOT_FOUND when the key or the value does not exist.
class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key for reading only. A value that grows while it is read is read again.
  virtual std::int32_t ReadValue(HKey hive, const std::string& subKey, const std::string& name,
                                 RegistryValue* value) = 0;
  // Every value of the key, in the registry's order.
  virtual std::int32_t ReadValues(HKey hive, const std::string& subKey, std::vector<RegistryValue>* values) = 0;
  // Creates the key when it is missing, then stores the value.
  virtual std::int32_t WriteValue(HKey hive, const std::string& subKey, const RegistryValue& value) = 0;
  virtual std::int32_t DeleteValue(HKey hive, const std::string& subKey, const std::string& name) = 0;
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
  // The whole content of an existing file on a disk, read once while nobody may write it: ERROR_BAD_FILE_TYPE
  // for a folder, a device or a pipe, ERROR_FILE_TOO_LARGE for more than maxBytes, both before anything is read.
  virtual std::int32_t ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string* bytes) = 0;
  // Creates a file that must not exist yet (ERROR_FILE_EXISTS when it does), writes the bytes and flushes them
  // to the disk before it closes the file.
  virtual std::int32_t WriteNewFile(const std::string& fileName, const std::string& bytes) = 0;
  virtual std::int32_t DeleteFileW(const std::string& fileName) = 0;
  // MoveFileExW: with MOVEFILE_REPLACE_EXISTING it takes the place of an existing file in one step.
  virtual std::int32_t MoveFileExW(const std::string& existingFileName, const std::string& newFileName,
                                   std::uint32_t flags) = 0;
};

// Locks shared by every process of the user's session: named mutexes in the session's namespace.
class Locks {
 public:
  virtual ~Locks() = default;
  // Waits up to timeoutMs for the lock of this name: 0 with *lock held (also when its last holder ended without
  // letting go), WAIT_TIMEOUT (258) while another holds it, or the system's code. Released on the same thread.
  virtual std::int32_t Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock) = 0;
  virtual void Release(LockHandle lock) = 0;
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
  // a command line, STARTF_USESHOWWINDOW, in the system folder: 0 and the process handle, or an error code. On
  // 64-bit Windows a program of the Windows folder starts as the 64-bit one, even from a 32-bit process.
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
  Locks& locks;
};

}  // namespace platform
