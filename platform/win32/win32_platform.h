// The real platform: each method is the Win32 call it is named after, with texts converted in CP_ACP.
#pragma once

#include "platform/platform.h"

namespace platform {

// A function of a library in the system folder, which is loaded on first use and then stays loaded for the
// life of the process. Null when the library or the function cannot be had.
void* SystemFunction(const char* dll, const char* name);

class Win32CodePage : public CodePage {
 public:
  std::string ToAnsi(const std::string& utf8) override;
  std::string FromAnsi(const std::string& ansiBytes) override;
};

class Win32Registry : public Registry {
 public:
  explicit Win32Registry(CodePage& codePage) : codePage_(codePage) {}
  std::int32_t RegOpenKeyExA(HKey hKey, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                             HKey* phkResult) override;
  std::int32_t RegQueryValueExA(HKey hKey, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* cbData) override;
  std::int32_t RegCloseKey(HKey hKey) override;
  std::int32_t SHSetValueA(HKey hKey, const std::string& subKey, const std::string& valueName, std::uint32_t type,
                           const void* data, std::uint32_t cbData) override;

 private:
  CodePage& codePage_;
};

class Win32Environment : public Environment {
 public:
  explicit Win32Environment(CodePage& codePage) : codePage_(codePage) {}
  std::optional<std::string> GetEnvironmentVariableA(const std::string& name) override;

 private:
  CodePage& codePage_;
};

class Win32System : public System {
 public:
  int GetVersionExA(OsVersionInfo* info) override;
};

class Win32Files : public Files {
 public:
  explicit Win32Files(CodePage& codePage) : codePage_(codePage) {}
  std::uint32_t GetTempPathA(std::uint32_t nBufferLength, std::string* buffer) override;
  std::int32_t OpenFile(const std::string& fileName, std::uint32_t style) override;
  std::int32_t ReadWholeFile(const std::string& fileName, std::string* bytes) override;
  std::int32_t WriteWholeFile(const std::string& fileName, const std::string& bytes) override;
  std::int32_t DeleteFileA(const std::string& fileName) override;

 private:
  CodePage& codePage_;
};

class Win32Processes : public Processes {
 public:
  explicit Win32Processes(CodePage& codePage) : codePage_(codePage) {}
  std::int32_t CreateProcessA(const std::string& commandLine, int showWindow, Handle* process) override;
  std::uint32_t WaitForSingleObject(Handle handle, std::uint32_t milliseconds) override;
  int GetExitCodeProcess(Handle process, std::uint32_t* exitCode) override;
  int TerminateProcess(Handle process, std::uint32_t exitCode) override;
  int CloseHandle(Handle handle) override;

 private:
  CodePage& codePage_;
};

class Win32Shell : public Shell {
 public:
  explicit Win32Shell(CodePage& codePage) : codePage_(codePage) {}
  std::int32_t SHGetFolderPathA(Handle hwndOwner, int nFolder, Handle hToken, std::uint32_t dwFlags,
                                std::string* path) override;
  Handle GetDesktopWindow() override;
  Handle ShellExecuteA(Handle hwnd, const std::string& operation, const std::string& file,
                       const std::optional<std::string>& parameters, const std::optional<std::string>& directory,
                       int showCmd) override;
  Handle SHBrowseForFolderA(const BrowseInfo& browseInfo) override;
  int SHGetPathFromIDListA(Handle pidl, char* pszPath) override;
  void CoTaskMemFree(Handle pv) override;

 private:
  CodePage& codePage_;
};

// All of the above, wired together.
class Win32Platform {
 public:
  Win32Platform();
  Platform& platform() { return platform_; }

 private:
  Win32CodePage codePage_;
  Win32Registry registry_;
  Win32Environment environment_;
  Win32System system_;
  Win32Files files_;
  Win32Processes processes_;
  Win32Shell shell_;
  Platform platform_;
};

}  // namespace platform
