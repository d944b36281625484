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
  int GetOpenFileNameW(const platform::OpenFileName& ofn, std::string* file) override;
  std::uint32_t CommDlgExtendedError() override { return openDialogError; }

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
  // The open-file dialog: the file the user picks (empty: cancelled), and its extended error when it fails.
  std::string openDialogPick;
  std::uint32_t openDialogError = 0;
  std::vector<platform::OpenFileName> openDialogs;
  std::vector<platform::ItemIdList> freed;

 private:
  CallLog& log_;
};

// The key and the keys below it as Wine's regedit /e writes them: UTF-16LE behind a byte-order mark, the header,
// a section a key, REG_SZ quoted, REG_DWORD as dword:, anything else as hex(N): in lines of at most 80 columns.
std::string RegeditExport(const FakeRegistry& registry, platform::HKey hive, const std::string& subKey);

// Everything wired together into one platform::Platform.
class FakePlatform {
 public:
  FakePlatform()
      : registry(log),
        environment(log),
        system(log),
        files(log),
        processes(log),
        shell(log),
        locks(log),
        platform_{registry, environment, system, files, processes, shell, locks} {}

  platform::Platform& platform() { return platform_; }

  // Stands in for "regedit /e "FILE" "KEY"": writes the key and the keys below it from the fake registry into the
  // file, as Wine's regedit does. Set as processes.onRun (it ends with exit code 0); other command lines are
  // left alone.
  FakeProcesses::Outcome ExportLikeRegedit(const std::string& commandLine);

  CallLog log;
  FakeRegistry registry;
  FakeEnvironment environment;
  FakeSystem system;
  FakeFiles files;
  FakeProcesses processes;
  FakeShell shell;
  FakeLocks locks;

 private:
  platform::Platform platform_;
};
