// In-memory files and processes: a process "runs" when it is first waited for, which is when its files appear.
#include "fakes/fake_files.h"

std::string FakeFiles::FullPath(const std::string& path) {
  bool full = (path.size() >= 2 && path[1] == ':') || path.compare(0, 2, "\\\\") == 0;
  return full ? path : "C:\\Work\\" + path;
}

std::string FakeFiles::LongFullPath(const std::string& path) {
  std::string full = FullPath(path.compare(0, 4, "\\\\?\\") == 0 ? path.substr(4) : path);
  for (const auto& [shortName, longName] : shortNames) {
    if (full.size() >= shortName.size() && CaseInsensitiveLess::Equal(full.substr(0, shortName.size()), shortName) &&
        (full.size() == shortName.size() || full[shortName.size()] == '\\')) {
      return longName + full.substr(shortName.size());
    }
  }
  return full;
}

std::int32_t FakeFiles::CreateFolder(const std::string& path) {
  if (auto fail = log_.Record("CreateFolder(" + path + ")")) return *fail;
  if (folders.count(path) != 0) return platform::kErrorAlreadyExists;
  if (files.count(path) != 0) return platform::kErrorAlreadyExists;
  if (!ParentIsThere(path)) return platform::kErrorPathNotFound;
  folders.insert(path);
  return 0;
}

bool FakeFiles::ParentIsThere(const std::string& path) const {
  // Windows takes "/" for "\\".
  std::size_t slash = path.find_last_of("\\/");
  std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash);
  bool root = parent.size() == 2 && parent[1] == ':';
  // \\server\share is a share's root, which is there when the share is.
  std::size_t server = parent.find('\\', 2);
  bool share = parent.compare(0, 2, "\\\\") == 0 && server != std::string::npos &&
               parent.find('\\', server + 1) == std::string::npos;
  return root || share || folders.count(parent) != 0;
}

bool FakeFiles::Exists(const std::string& path) {
  if (log_.Record("Exists(" + path + ")")) return false;
  return files.count(path) != 0 || folders.count(path) != 0;
}

bool FakeFiles::IsFolder(const std::string& path) {
  if (log_.Record("IsFolder(" + path + ")")) return false;
  return folders.count(path) != 0;
}

std::int32_t FakeFiles::ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes) {
  if (auto fail = log_.Record("ReadWholeFile(" + path + ")")) return *fail;
  if (folders.count(path)) return platform::kErrorBadFileType;
  auto found = files.find(path);
  if (found == files.end()) return platform::kErrorFileNotFound;
  if (found->second.size() > maxBytes) return platform::kErrorFileTooLarge;
  *bytes = found->second;
  return 0;
}

std::int32_t FakeFiles::WriteNewFile(const std::string& path, const std::string& bytes) {
  if (auto fail = log_.Record("WriteNewFile(" + path + ")")) return *fail;
  if (files.count(path)) return platform::kErrorFileExists;
  files[path] = bytes;
  if (onWritten) onWritten(path);
  return 0;
}

std::int32_t FakeFiles::AppendToFile(const std::string& path, const std::string& bytes) {
  if (auto fail = log_.Record("AppendToFile(" + path + ")")) return *fail;
  if (!ParentIsThere(path)) return platform::kErrorPathNotFound;
  if (folders.count(path) != 0) return platform::kErrorAccessDenied;
  files[path] += bytes;
  return 0;
}

std::int32_t FakeFiles::Delete(const std::string& path) {
  if (auto fail = log_.Record("Delete(" + path + ")")) return *fail;
  if (files.erase(path) == 0) return platform::kErrorFileNotFound;
  return 0;
}

std::int32_t FakeFiles::Replace(const std::string& from, const std::string& to) {
  if (auto fail = log_.Record("Replace(" + from + ", " + to + ")")) return *fail;
  auto found = files.find(from);
  if (found == files.end()) return platform::kErrorFileNotFound;
  std::string bytes = found->second;
  files.erase(found);
  files[to] = bytes;
  return 0;
}

namespace {

// The fake locks alive now, so that a thread that ends after one of them never reaches it.
std::mutex liveLocksMutex;
std::set<FakeLocks*> liveLocks;

// What a thread holds: when it ends, its locks are abandoned, as Windows abandons a mutex whose owner ended.
struct ThreadHolds {
  std::set<FakeLocks*> locks;
  ~ThreadHolds() {
    std::lock_guard<std::mutex> guard(liveLocksMutex);
    for (FakeLocks* locks : locks) {
      if (liveLocks.count(locks) != 0) locks->AbandonLocksOf(std::this_thread::get_id());
    }
  }
};
thread_local ThreadHolds threadHolds;

}  // namespace

FakeLocks::FakeLocks(CallLog& log) : log_(log) {
  std::lock_guard<std::mutex> guard(liveLocksMutex);
  liveLocks.insert(this);
}

FakeLocks::~FakeLocks() {
  std::lock_guard<std::mutex> guard(liveLocksMutex);
  liveLocks.erase(this);
}

std::int32_t FakeFiles::MoveToNewName(const std::string& from, const std::string& to) {
  if (auto fail = log_.Record("MoveToNewName(" + from + ", " + to + ")")) return *fail;
  if (files.count(to) != 0 || folders.count(to) != 0) return platform::kErrorAlreadyExists;
  return Replace(from, to);
}

std::int32_t FakeLocks::Acquire(const std::string& name, std::uint32_t timeoutMs, platform::LockHandle* lock,
                                bool* abandoned) {
  if (auto fail = log_.Record("Acquire(" + name + ", " + std::to_string(timeoutMs) + ")")) return *fail;
  std::lock_guard<std::mutex> guard(mutex_);
  *abandoned = false;
  for (auto hold = holds_.begin(); hold != holds_.end();) {
    if (hold->second.name != name || hold->second.owner == std::this_thread::get_id()) {
      ++hold;
    } else if (hold->second.abandoned) {
      *abandoned = true;
      hold = holds_.erase(hold);
    } else {
      return platform::kErrorWaitTimeout;
    }
  }
  *lock = static_cast<platform::LockHandle>(next_++);
  holds_[*lock] = Hold{name, std::this_thread::get_id(), false};
  threadHolds.locks.insert(this);
  return 0;
}

void FakeLocks::AbandonLocksOf(std::thread::id thread) {
  std::lock_guard<std::mutex> guard(mutex_);
  for (auto& [handle, hold] : holds_) {
    if (hold.owner == thread) hold.abandoned = true;
  }
}

void FakeLocks::HoldElsewhere(const std::string& name) {
  std::lock_guard<std::mutex> guard(mutex_);
  holds_[static_cast<platform::LockHandle>(next_++)] = Hold{name, std::thread::id(), false};  // no thread's id
}

void FakeLocks::Release(platform::LockHandle lock) {
  std::lock_guard<std::mutex> guard(mutex_);
  log_.Record("Release(" + holds_[lock].name + ")");
  holds_.erase(lock);
}

std::multiset<std::string> FakeLocks::Held() const {
  std::lock_guard<std::mutex> guard(mutex_);
  std::multiset<std::string> names;
  for (const auto& [handle, hold] : holds_) {
    if (!hold.abandoned) names.insert(hold.name);
  }
  return names;
}

std::int32_t FakeProcesses::Start(const std::string& program, const std::string& commandLine,
                                  platform::ProcessHandle* process) {
  if (auto fail = log_.Record("Start(" + commandLine + ")")) return *fail;
  *process = static_cast<platform::ProcessHandle>(started.size() + 1);
  Process record;
  record.program = program;
  record.commandLine = commandLine;
  started.push_back(record);
  return 0;
}

// A process not yet run is run now when it has time to; one that hangs, or gets no time, is ended.
platform::ProcessEnd FakeProcesses::Finish(platform::ProcessHandle handle, std::uint32_t timeoutMs) {
  std::size_t index = static_cast<std::size_t>(handle) - 1;
  platform::ProcessEnd end;
  if (index >= started.size() || started[index].closed) return end;
  Process& process = started[index];
  bool lost = log_.Record("Finish(" + process.commandLine + ", " + std::to_string(timeoutMs) + ")").has_value();
  if (!process.ran && timeoutMs > 0 && !lost) {
    process.ran = true;
    if (onRun) process.outcome = onRun(process.commandLine);
  }
  process.closed = true;
  if (lost) return end;
  if (!process.ran || process.outcome.hangs) {
    end.how = platform::ProcessEnd::How::kEnded;
    return end;
  }
  end.how = platform::ProcessEnd::How::kExited;
  end.exitCode = process.outcome.exitCode;
  return end;
}
