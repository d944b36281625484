// The fake platform: every interface in memory, all calls recorded in one CallLog.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_file_tree.h"
#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "platform/platform.h"

class FakeEnvironment : public platform::Environment {
 public:
  explicit FakeEnvironment(CallLog& log) : log_(log) {}
  std::optional<std::string> Variable(const std::string& name) override;
  bool AtLogon(const std::string& name) override { return hereOnly_.count(name) == 0; }
  void Set(const std::string& name, const std::string& value) { variables_[name] = value; }
  // A variable a script set, which the user's environment at logon lacks.
  void SetHereOnly(const std::string& name, const std::string& value) {
    Set(name, value);
    hereOnly_.insert(name);
  }

 private:
  CallLog& log_;
  std::map<std::string, std::string, CaseInsensitiveLess> variables_;
  std::set<std::string, CaseInsensitiveLess> hereOnly_;
};

class FakeSystem : public platform::System {
 public:
  explicit FakeSystem(CallLog& log) : log_(log) {}
  platform::WindowsVersion Version() override;
  std::string WindowsFolder() override;
  std::string TempFolder() override;
  // The system's words for the codes the tests meet, as Windows has them in English; empty text for others.
  std::string ErrorText(std::int32_t code) override;
  std::uint16_t InstalledUiLanguage() override { return uiLanguage; }
  platform::LocalTime Now() override { return now; }
  // Records the pause and lets that much time pass, at once.
  void Pause(std::uint32_t ms) override {
    pauses.push_back(ms);
    ticks += ms;
  }
  // Each call lets ticksPerCall pass.
  std::uint32_t Ticks() override { return ticks += ticksPerCall; }
  int OutputConsoleColumns() override { return consoleColumns; }

  platform::WindowsVersion version;  // none set: all zero, as when the system gives none
  std::string tempFolder = "C:\\TEMP\\";
  std::uint16_t uiLanguage = 0x0409;  // English (United States)
  platform::LocalTime now{2026, 12, 9, 1, 57, 0};
  std::vector<std::uint32_t> pauses;
  std::uint32_t ticks = 0;
  std::uint32_t ticksPerCall = 0;
  int consoleColumns = 0;  // standard output goes to a file

 private:
  CallLog& log_;
};

class FakeShell : public platform::Shell {
 public:
  struct FileDialog {
    platform::WindowHandle owner;
    std::string title;
    std::string initialFolder;
    std::string preselectedName;
    std::string filter;
  };

  explicit FakeShell(CallLog& log) : log_(log) {}
  platform::DesktopFolderAnswer DesktopFolder() override;
  std::optional<std::string> ApplicationDataFolder() override { return applicationData; }
  std::optional<std::string> StockFolderPath(int csidl) override;
  void OpenWebPage(const std::string& address) override;
  std::optional<std::string> BrowseForFolder(platform::WindowHandle owner, const std::string& title) override;
  platform::FileChoice ChooseFile(platform::WindowHandle owner, const std::string& title,
                                  const std::string& initialFolder, const std::string& preselectedName,
                                  const std::string& filter) override;

  // DesktopFolder's answer.
  platform::DesktopFolderAnswer desktop{platform::DesktopFolderAnswer::Result::kFound,
                                        "C:\\Documents and Settings\\Ann\\Desktop"};
  std::optional<std::string> applicationData = std::string("C:\\Documents and Settings\\Ann\\Application Data");
  // StockFolderPath's answers by CSIDL; a folder not listed has none.
  std::map<int, std::string> stockFolders;
  // The folder dialog's answer: a path, or nothing for a dialog the user cancelled.
  std::optional<std::string> browsed = std::string("D:\\Browsed");
  // The open-file dialog's answer.
  platform::FileChoice fileChoice;

  std::vector<std::string> openedPages;
  std::vector<std::pair<platform::WindowHandle, std::string>> browses;
  std::vector<FileDialog> fileDialogs;

 private:
  CallLog& log_;
};

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
        fileTree(log, files),
        platform_{registry, environment, system, files, processes, shell, locks, fileTree} {
    // A profile has its application-data folder from the start.
    files.folders.insert(*shell.applicationData);
  }

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
  FakeFileTree fileTree;

 private:
  platform::Platform platform_;
};
