// The real platform: each method is the wide Win32 call it is named after, its texts converted at the call.
#pragma once

#include "platform/platform.h"

namespace platform {

// A function of a library in the system folder, which is loaded on first use and then stays loaded for the
// life of the process. Null when the library or the function cannot be had.
void* SystemFunction(const char* dll, const char* name);

class Win32Registry : public Registry {
 public:
  std::int32_t RegOpenKeyExW(HKey hKey, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                             HKey* phkResult) override;
  std::int32_t RegQueryValueExW(HKey hKey, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* cbData) override;
  std::int32_t RegCloseKey(HKey hKey) override;
  std::int32_t SHSetValueW(HKey hKey, const std::string& subKey, const std::string& valueName, std::uint32_t type,
                           const void* data, std::uint32_t cbData) override;
  std::int32_t SHDeleteValueW(HKey hKey, const std::string& subKey, const std::string& valueName) override;
};

class Win32Environment : public Environment {
 public:
  std::optional<std::string> GetEnvironmentVariableW(const std::string& name) override;
};

class Win32System : public System {
 public:
  int GetVersionExW(OsVersionInfo* info) override;
  std::uint32_t GetWindowsDirectoryW(std::string* path) override;
};

class Win32Files : public Files {
 public:
  std::uint32_t GetTempPathW(std::uint32_t nBufferLength, std::string* buffer) override;
  std::uint32_t GetFileAttributesW(const std::string& fileName) override;
  std::int32_t ReadWholeFile(const std::string& fileName, std::string* bytes) override;
  std::int32_t WriteWholeFile(const std::string& fileName, const std::string& bytes) override;
  std::int32_t DeleteFileW(const std::string& fileName) override;
  std::int32_t MoveFileExW(const std::string& existingFileName, const std::string& newFileName,
                           std::uint32_t flags) override;
};

class Win32Processes : public Processes {
 public:
  std::int32_t CreateProcessW(const std::string& applicationName, const std::string& commandLine, int showWindow,
                              ProcessHandle* process) override;
  std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) override;
  int GetExitCodeProcess(ProcessHandle process, std::uint32_t* exitCode) override;
  int TerminateProcess(ProcessHandle process, std::uint32_t exitCode) override;
  int CloseHandle(ProcessHandle process) override;
};

class Win32Shell : public Shell {
 public:
  std::int32_t SHGetFolderPathW(WindowHandle hwndOwner, int nFolder, std::uintptr_t hToken, std::uint32_t dwFlags,
                                std::string* path) override;
  WindowHandle GetDesktopWindow() override;
  std::intptr_t ShellExecuteW(WindowHandle hwnd, const std::string& operation, const std::string& file,
                              const std::optional<std::string>& parameters, const std::optional<std::string>& directory,
                              int showCmd) override;
  ItemIdList SHBrowseForFolderW(const BrowseInfo& browseInfo) override;
  int SHGetPathFromIDListW(ItemIdList pidl, char16_t* pszPath) override;
  void CoTaskMemFree(ItemIdList pv) override;
  std::int32_t CoInitializeEx(std::uint32_t coInit) override;
  int GetOpenFileNameW(const OpenFileName& ofn, std::string* file) override;
  std::uint32_t CommDlgExtendedError() override;
};

// All of the above, wired together.
class Win32Platform {
 public:
  Win32Platform() = default;
  Platform& platform() { return platform_; }

 private:
  Win32Registry registry_;
  Win32Environment environment_;
  Win32System system_;
  Win32Files files_;
  Win32Processes processes_;
  Win32Shell shell_;
  Platform platform_{registry_, environment_, system_, files_, processes_, shell_};
};

}  // namespace platform
