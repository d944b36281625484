// The fake platform: every interface in memory, all calls recorded in one CallLog.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "platform/platform.h"

class FakeEnvironment : public platform::Environment {
 public:
  explicit FakeEnvironment(CallLog& log) : log_(log) {}
  std::optional<std::string> GetEnvironmentVariableW(const std::string& name) override;
  void Set(const std::string& name, const std::string& value) { variables_[name] = value; }

 private:
  CallLog& log_;
  std::map<std::string, std::string, CaseInsensitiveLess> variables_;
};

class FakeSystem : public platform::System {
 public:
  explicit FakeSystem(CallLog& log) : log_(log) {}
  int GetVersionExW(platform::OsVersionInfo* info) override;
  std::uint32_t GetWindowsDirectoryW(std::string* path) override;
  void SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

  // What the last call was handed, before it filled anything in.
  platform::OsVersionInfo passedIn;
  std::string windowsFolder = "C:\\WINDOWS";

 private:
  CallLog& log_;
  platform::OsVersionInfo version_;
};

class FakeShell : public platform::Shell {
 public:
  struct Execution {
    platform::WindowHandle hwnd;
    std::string operation;
    std::string file;
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
    int showCmd;
  };

  explicit FakeShell(CallLog& log) : log_(log) {}
  std::int32_t SHGetFolderPathW(platform::WindowHandle hwndOwner, int nFolder, std::uintptr_t hToken,
                                std::uint32_t dwFlags, std::string* path) override;
  platform::WindowHandle GetDesktopWindow() override;
  std::intptr_t ShellExecuteW(platform::WindowHandle hwnd, const std::string& operation, const std::string& file,
                              const std::optional<std::string>& parameters, const std::optional<std::string>& directory,
                              int showCmd) override;
  platform::ItemIdList SHBrowseForFolderW(const platform::BrowseInfo& browseInfo) override;
  int SHGetPathFromIDListW(platform::ItemIdList pidl, char16_t* pszPath) override;
  void CoTaskMemFree(platform::ItemIdList pv) override;
  std::int32_t CoInitializeEx(std::uint32_t coInit) override;

  static constexpr platform::WindowHandle kDesktopWindow = static_cast<platform::WindowHandle>(0x10010);
  static constexpr platform::ItemIdList kPickedPidl = static_cast<platform::ItemIdList>(0x5150);

  // SHGetFolderPathW's answer and the path it gives on S_OK.
  std::int32_t folderPathResult = platform::kSOk;
  std::string desktopPath = "C:\\Documents and Settings\\Ann\\Desktop";
  // The browse dialog: confirmed or cancelled, and the path SHGetPathFromIDListW leaves in the buffer.
  bool browseConfirms = true;
  std::string browsePath;
  bool browseLeavesNoZero = false;

  std::vector<Execution> executions;
  std::vector<platform::BrowseInfo> browses;
  std::vector<platform::ItemIdList> freed;

 private:
  CallLog& log_;
};

// Everything wired together into one platform::Platform.
class FakePlatform {
 public:
  FakePlatform()
      : registry(log), environment(log), system(log), files(log), processes(log), shell(log), platform_{registry,
                                                                                                        environment,
                                                                                                        system,
                                                                                                        files,
                                                                                                        processes,
                                                                                                        shell} {}

  platform::Platform& platform() { return platform_; }

  // Stands in for "regedit /s "FILE"": stores in the registry what the file sets, as the import's own check
  // reads it (Wine's regedit proves that reading); a write the registry refuses is skipped without a word, as
  // regedit /s skips it. Set as processes.onRun, with the ending a test wants.
  void ImportLikeRegedit(const std::string& commandLine);

  CallLog log;
  FakeRegistry registry;
  FakeEnvironment environment;
  FakeSystem system;
  FakeFiles files;
  FakeProcesses processes;
  FakeShell shell;

 private:
  platform::Platform platform_;
};
