// In-memory files, locks and processes; any call made to fail through the CallLog.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_registry.h"
#include "platform/platform.h"

class FakeFiles : public platform::Files {
 public:
  explicit FakeFiles(CallLog& log) : log_(log) {}
  // A path that names no drive or share is made full against the current folder, C:\\Work.
  std::string FullPath(const std::string& path) override;
  // FullPath, without a "\\\\?\\" prefix, and each name in shortNames by its long name.
  std::string LongFullPath(const std::string& path) override;
  // A folder is made in an existing one: a drive's root, a share, or one of folders.
  std::int32_t CreateFolder(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override { return readOnly.count(path) != 0; }
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::int32_t ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes) override;
  std::int32_t WriteNewFile(const std::string& path, const std::string& bytes) override;
  // In a folder that exists (a drive's root, a share, or one of folders).
  std::int32_t AppendToFile(const std::string& path, const std::string& bytes) override;
  std::int32_t Delete(const std::string& path) override;
  std::int32_t Replace(const std::string& from, const std::string& to) override;
  std::int32_t MoveToNewName(const std::string& from, const std::string& to) override;

  // The file system's 8.3 names: "C:\\TEMP\\SPLF~LWB.TXT" for "C:\\TEMP\\splfolders2.txt".
  std::map<std::string, std::string, CaseInsensitiveLess> shortNames;
  std::set<std::string, CaseInsensitiveLess> readOnly;
  // File names match without regard to case, as on Windows.
  std::map<std::string, std::string, CaseInsensitiveLess> files;
  // Another program at work on the disk: called with a new file's path once it is written and closed.
  std::function<void(const std::string& path)> onWritten;
  std::set<std::string, CaseInsensitiveLess> folders;

 private:
  // Its folder is a drive's root, a share, or one of folders.
  bool ParentIsThere(const std::string& path) const;

  CallLog& log_;
};

// The session's locks, as named mutexes are: a lock is held by the thread that took it, which may take it again
// (and lets go as often); another thread's wait for it times out, at once, for no time passes here. A lock whose
// holding thread ended without letting go is abandoned: the next to wait has it, and is told so.
class FakeLocks : public platform::Locks {
 public:
  explicit FakeLocks(CallLog& log);
  ~FakeLocks() override;
  std::int32_t Acquire(const std::string& name, std::uint32_t timeoutMs, platform::LockHandle* lock,
                       bool* abandoned) override;
  void Release(platform::LockHandle lock) override;
  // Called as a thread that took a lock ends.
  void AbandonLocksOf(std::thread::id thread);
  // Another Zolvane holds the lock, and goes on holding it.
  void HoldElsewhere(const std::string& name);

  // The names of the locks held now, by any thread.
  std::multiset<std::string> Held() const;

 private:
  struct Hold {
    std::string name;
    std::thread::id owner;
    bool abandoned = false;
  };

  CallLog& log_;
  mutable std::mutex mutex_;
  std::map<platform::LockHandle, Hold> holds_;
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
    bool closed = false;  // finished: exited, or ended by the wait (the one way the platform ends a program)
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

 private:
  CallLog& log_;
};
