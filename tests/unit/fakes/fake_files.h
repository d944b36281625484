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
  // A path that names no drive or share is made full against currentFolder.
  std::string FullPath(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::int32_t ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes) override;
  std::int32_t WriteNewFile(const std::string& path, const std::string& bytes) override;
  std::int32_t Delete(const std::string& path) override;
  std::int32_t Replace(const std::string& from, const std::string& to) override;

  std::string currentFolder = "C:\\Work";
  // File names match without regard to case, as on Windows.
  std::map<std::string, std::string, CaseInsensitiveLess> files;
  // For example failing["Delete(C:\\TEMP\\splfolders1.txt)"] = 5; a failing Exists answers that there is no file.
  FailingCalls failing;
  // Reads, by their recorded text, that succeed with only the first half of the file.
  std::set<std::string> shortReads;
  // Paths that are there but are no file on a disk: a device, a pipe (folders are no files either).
  std::set<std::string, CaseInsensitiveLess> notFiles;
  std::set<std::string, CaseInsensitiveLess> folders;

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
    bool hangs = false;  // never ends by itself: it is ended once its time is up
  };
  struct Process {
    std::string program;
    std::string commandLine;
    bool ran = false;
    Outcome outcome;
    bool ended = false;   // ended because it ran too long, or was abandoned before it ran
    bool closed = false;  // finished, one way or another
  };

  explicit FakeProcesses(CallLog& log) : log_(log) {}
  std::int32_t Start(const std::string& program, const std::string& commandLine,
                     platform::ProcessHandle* process) override;
  platform::ProcessEnd Finish(platform::ProcessHandle process, std::uint32_t timeoutMs) override;

  // What a process does: called once, when it is first waited for with time to run, with its command line. It
  // may write files, and says how the process ends. Unset, a process ends at once with exit code 0.
  std::function<Outcome(const std::string& commandLine)> onRun;
  // Every process started, in order.
  std::vector<Process> started;
  // For example failing["Start(regedit /e ...)"] = 2, or failing["Finish(regedit /e ...)"] for a wait that is lost.
  FailingCalls failing;

 private:
  std::optional<std::int32_t> Record(std::string call);

  CallLog& log_;
};
