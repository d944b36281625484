// The system services Zolvane uses, as small interfaces free of windows.h.
//
// Each method mirrors one Win32 call: the same arguments the call sites pass and the same result codes
// the system returns, so the core reads like the system calls it makes and a fake can record or fail any
// of them. Texts are UTF-8 everywhere in this interface except where a method says "ANSI bytes": those
// are raw bytes in the system's ANSI code page, converted with CodePage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A registry key: a predefined root (0x80000001, ...) or a key opened by RegOpenKeyExA.
using HKey = std::uintptr_t;
// A window handle, or an opaque shell object (item identifier list), as an integer.
using Handle = std::uintptr_t;

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
constexpr std::int32_t kErrorMoreData = 234;

// The system's ANSI code page (CP_ACP): the one place texts cross between UTF-8 and ANSI bytes.
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::string ToAnsi(const std::string& utf8) = 0;
  virtual std::string FromAnsi(const std::string& ansiBytes) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyExA. *phkResult is written only on success.
  virtual std::int32_t RegOpenKeyExA(HKey hKey, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t samDesired, HKey* phkResult) = 0;
  // RegQueryValueExA. With data == nullptr it is the size query; otherwise *cbData is the buffer's length
  // on the way in and the number of bytes stored on the way out (ERROR_MORE_DATA when it does not fit).
  virtual std::int32_t RegQueryValueExA(HKey hKey, const std::string& valueName, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* cbData) = 0;
  virtual std::int32_t RegCloseKey(HKey hKey) = 0;
  // SHSetValueA: creates the key when missing. data holds cbData ANSI bytes.
  virtual std::int32_t SHSetValueA(HKey hKey, const std::string& subKey, const std::string& valueName,
                                   std::uint32_t type, const void* data, std::uint32_t cbData) = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // GetEnvironmentVariableA: the value of a defined variable (names match without regard to case), or none.
  virtual std::optional<std::string> GetEnvironmentVariableA(const std::string& name) = 0;
};

// The ANSI OSVERSIONINFO record: 148 bytes, the CSD text as 128 ANSI characters.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 0;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

class System {
 public:
  virtual ~System() = default;
  // GetVersionExA: non-zero on success; on failure the record is left as it was.
  virtual int GetVersionExA(OsVersionInfo* info) = 0;
};

constexpr std::int32_t kHfileError = -1;
constexpr std::uint32_t kOfExist = 0x4000;

// Files, by path. Every operation returns 0 or the system's error code.
class Files {
 public:
  virtual ~Files() = default;
  // GetTempPathA: the number of characters written into *buffer, 0 on failure.
  virtual std::uint32_t GetTempPathA(std::uint32_t nBufferLength, std::string* buffer) = 0;
  // OpenFile with a zeroed OFSTRUCT: HFILE_ERROR (-1) when the file cannot be opened.
  virtual std::int32_t OpenFile(const std::string& fileName, std::uint32_t style) = 0;
  // The whole content of an existing file.
  virtual std::int32_t ReadWholeFile(const std::string& fileName, std::string* bytes) = 0;
  // Creates the file, or replaces what it held, with these bytes.
  virtual std::int32_t WriteWholeFile(const std::string& fileName, const std::string& bytes) = 0;
  virtual std::int32_t DeleteFileA(const std::string& fileName) = 0;
};

constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitTimeout = 0x102;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateProcessA of a command line with STARTF_USESHOWWINDOW: 0 and the process handle, or an error code.
  virtual std::int32_t CreateProcessA(const std::string& commandLine, int showWindow, Handle* process) = 0;
  virtual std::uint32_t WaitForSingleObject(Handle handle, std::uint32_t milliseconds) = 0;
  // Non-zero on success.
  virtual int GetExitCodeProcess(Handle process, std::uint32_t* exitCode) = 0;
  virtual int TerminateProcess(Handle process, std::uint32_t exitCode) = 0;
  virtual int CloseHandle(Handle handle) = 0;
};

constexpr int kCsidlDesktop = 0x0000;
constexpr int kCsidlFlagCreate = 0x8000;
constexpr std::int32_t kSOk = 0;
constexpr std::int32_t kSFalse = 1;
constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057u);

constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x1;
constexpr std::uint32_t kBifDontGoBelowDomain = 0x2;
constexpr std::size_t kMaxPath = 260;

// The ANSI BROWSEINFO fields that are not zero; the title is converted to ANSI by the platform layer.
struct BrowseInfo {
  Handle hwndOwner = 0;
  Handle pidlRoot = 0;
  std::string lpszTitle;
  std::uint32_t ulFlags = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // SHGetFolderPathA: an HRESULT; on S_OK *path holds the folder's path.
  virtual std::int32_t SHGetFolderPathA(Handle hwndOwner, int nFolder, Handle hToken, std::uint32_t dwFlags,
                                        std::string* path) = 0;
  virtual Handle GetDesktopWindow() = 0;
  // ShellExecuteA: an absent parameters or directory text is passed as null.
  virtual Handle ShellExecuteA(Handle hwnd, const std::string& operation, const std::string& file,
                               const std::optional<std::string>& parameters,
                               const std::optional<std::string>& directory, int showCmd) = 0;
  // SHBrowseForFolderA: the item identifier list of the confirmed folder, or 0 when cancelled.
  virtual Handle SHBrowseForFolderA(const BrowseInfo& browseInfo) = 0;
  // SHGetPathFromIDListA into a caller's buffer of kMaxPath ANSI bytes.
  virtual int SHGetPathFromIDListA(Handle pidl, char* pszPath) = 0;
  virtual void CoTaskMemFree(Handle pv) = 0;
};

// Everything the program asks of the system, handed to the core in one piece.
struct Platform {
  CodePage& codePage;
  Registry& registry;
  Environment& environment;
  System& system;
  Files& files;
  Processes& processes;
  Shell& shell;
};

}  // namespace platform
