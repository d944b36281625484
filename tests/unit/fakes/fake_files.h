// In-memory files and processes for the backup, with any call made to fail by its recorded text.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_registry.h"
#include "platform/platform.h"

// Calls that fail, by their text as the CallLog records it, with the code each one fails with.
using FailingCalls = std::map<std::string, std::int32_t>;

class FakeFiles : public platform::Files {
 public:
  explicit FakeFiles(CallLog& log) : log_(log) {}
  std::uint32_t GetTempPathW(std::uint32_t nBufferLength, std::string* buffer) override;
  std::uint32_t GetFileAttributesW(const std::string& fileName) override;
  std::int32_t ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string* bytes) override;
  std::int32_t WriteNewFile(const std::string& fileName, const std::string& bytes) override;
  std::int32_t DeleteFileW(const std::string& fileName) override;
  std::int32_t MoveFileExW(const std::string& existingFileName, const std::string& newFileName,
                           std::uint32_t flags) override;

  std::string tempPath = "C:\\TEMP\\";
  // File names match without regard to case, as on Windows.
  std::map<std::string, std::string, CaseInsensitiveLess> files;
  // For example failing["DeleteFileW(C:\\TEMP\\splfolders1.txt)"] = 5. GetTempPathW and GetFileAttributesW fail with
  // their own failure results whatever the code.
  FailingCalls failing;
  // Reads, by their recorded text, that succeed with only the first half of the file.
  std::set<std::string> shortReads;
  // Paths that are there but are no file on a disk: a folder, a device, a pipe.
  std::set<std::string, CaseInsensitiveLess> notFiles;

 private:
  std::optional<std::int32_t> Record(std::string call);

  CallLog& log_;
};

// The session's locks: held by this process or, as a test says, by another.
class FakeLocks : public platform::Locks {
 public:
  explicit FakeLocks(CallLog& log) : log_(log) {}
  std::int32_t Acquire(const std::string& name, std::uint32_t timeoutMs, platform::LockHandle* lock) override;
  void Release(platform::LockHandle lock) override;

  // Another process holds every lock: each wait times out.
  bool heldElsewhere = false;
  // Locks held now by this process, by name.
  std::multiset<std::string> held;

 private:
  CallLog& log_;
  std::map<platform::LockHandle, std::string> handles_;
  std::uintptr_t next_ = 0x900;
};

class FakeProcesses : public platform::Processes {
 public:
  // How a started process ends when it runs.
  struct Outcome {
    std::uint32_t exitCode = 0;
    bool hangs = false;  // never ends by itself: every wait times out until it is terminated
  };
  struct Process {
    std::string applicationName;
    std::string commandLine;
    int showWindow = 0;
    bool ran = false;
    Outcome outcome;
    bool terminated = false;
    std::uint32_t terminationCode = 0;
    bool closed = false;
  };

  explicit FakeProcesses(CallLog& log) : log_(log) {}
  std::int32_t CreateProcessW(const std::string& applicationName, const std::string& commandLine, int showWindow,
                              platform::ProcessHandle* process) override;
  std::uint32_t WaitForSingleObject(platform::ProcessHandle process, std::uint32_t milliseconds) override;
  int GetExitCodeProcess(platform::ProcessHandle process, std::uint32_t* exitCode) override;
  int TerminateProcess(platform::ProcessHandle process, std::uint32_t exitCode) override;
  int CloseHandle(platform::ProcessHandle process) override;

  static constexpr std::uint32_t kStillActive = 259;

  // What a process does: called once, when it is first waited for and not yet terminated, with its command
  // line. It may write files, and says how the process ends. Unset, a process ends at once with exit code 0.
  std::function<Outcome(const std::string& commandLine)> onRun;
  // Every process started, in order; the handle of started[i] is Handle(i).
  std::vector<Process> started;
  FailingCalls failing;

  static platform::ProcessHandle Handle(std::size_t index) {
    return static_cast<platform::ProcessHandle>(0x700 + 4 * index);
  }

 private:
  std::optional<std::int32_t> Record(std::string call);
  Process* Find(platform::ProcessHandle handle);

  CallLog& log_;
};
