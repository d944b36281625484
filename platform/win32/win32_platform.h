// The real platform: each method is the wide Win32 call it is named after, its texts converted at the call.
#pragma once

#include "platform/platform.h"

namespace platform {

// A function of a library in the system folder, which is loaded on first use and then stays loaded for the
// life of the process. Null when the library or the function cannot be had.
void* SystemFunction(const char* dll, const char* name);

class Win32Registry : public Registry {
 public:
  std::int32_t ReadValue(HKey hive, const std::string& subKey, const std::string& name, RegistryValue* value) override;
  std::int32_t ReadValues(HKey hive, const std::string& subKey, std::vector<RegistryValue>* values) override;
  std::int32_t WriteValue(HKey hive, const std::string& subKey, const RegistryValue& value) override;
  std::int32_t DeleteValue(HKey hive, const std::string& subKey, const std::string& name) override;
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
  std::int32_t ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string* bytes) override;
  std::int32_t WriteNewFile(const std::string& fileName, const std::string& bytes) override;
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

class Win32Locks : public Locks {
 public:
  std::int32_t Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock) override;
  void Release(LockHandle lock) override;
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
  Win32Locks locks_;
  Platform platform_{registry_, environment_, system_, files_, processes_, shell_, locks_};
};

}  // namespace platform
