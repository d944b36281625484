// In-memory files and processes: a process "runs" when it is first waited for, which is when its files appear.
#include "fakes/fake_files.h"

namespace {

std::optional<std::int32_t> RecordCall(CallLog& log, const FailingCalls& failing, std::string call) {
  auto found = failing.find(call);
  std::optional<std::int32_t> logFailure = log.Record(std::move(call));
  if (found != failing.end()) return found->second;
  return logFailure;
}

std::string Number(platform::ProcessHandle process) {
  return std::to_string(static_cast<std::uintptr_t>(process));
}

}  // namespace

std::optional<std::int32_t> FakeFiles::Record(std::string call) {
  return RecordCall(log_, failing, std::move(call));
}

std::uint32_t FakeFiles::GetTempPathW(std::uint32_t nBufferLength, std::string* buffer) {
  if (Record("GetTempPathW(" + std::to_string(nBufferLength) + ")")) return 0;
  *buffer = tempPath;
  return static_cast<std::uint32_t>(tempPath.size());
}

std::uint32_t FakeFiles::GetFileAttributesW(const std::string& fileName) {
  constexpr std::uint32_t kFileAttributeArchive = 0x20;
  if (Record("GetFileAttributesW(" + fileName + ")")) return platform::kInvalidFileAttributes;
  return files.count(fileName) ? kFileAttributeArchive : platform::kInvalidFileAttributes;
}

std::int32_t FakeFiles::ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string* bytes) {
  std::string call = "ReadWholeFile(" + fileName + ")";
  bool shortRead = shortReads.count(call) != 0;
  if (auto fail = Record(std::move(call))) return *fail;
  if (notFiles.count(fileName)) return platform::kErrorBadFileType;
  auto found = files.find(fileName);
  if (found == files.end()) return platform::kErrorFileNotFound;
  if (found->second.size() > maxBytes) return platform::kErrorFileTooLarge;
  *bytes = shortRead ? found->second.substr(0, found->second.size() / 2) : found->second;
  return 0;
}

std::int32_t FakeFiles::WriteNewFile(const std::string& fileName, const std::string& bytes) {
  if (auto fail = Record("WriteNewFile(" + fileName + ")")) return *fail;
  if (files.count(fileName)) return platform::kErrorFileExists;
  files[fileName] = bytes;
  return 0;
}

std::int32_t FakeFiles::DeleteFileW(const std::string& fileName) {
  if (auto fail = Record("DeleteFileW(" + fileName + ")")) return *fail;
  if (files.erase(fileName) == 0) return platform::kErrorFileNotFound;
  return 0;
}

std::int32_t FakeFiles::MoveFileExW(const std::string& existingFileName, const std::string& newFileName,
                                    std::uint32_t flags) {
  if (auto fail = Record("MoveFileExW(" + existingFileName + ", " + newFileName + ", " + std::to_string(flags) + ")")) {
    return *fail;
  }
  auto found = files.find(existingFileName);
  if (found == files.end()) return platform::kErrorFileNotFound;
  constexpr std::int32_t kErrorAlreadyExists = 183;
  if (files.count(newFileName) && (flags & platform::kMovefileReplaceExisting) == 0) return kErrorAlreadyExists;
  std::string bytes = found->second;
  files.erase(found);
  files[newFileName] = bytes;
  return 0;
}

std::int32_t FakeLocks::Acquire(const std::string& name, std::uint32_t timeoutMs, platform::LockHandle* lock) {
  if (auto fail = log_.Record("Acquire(" + name + ", " + std::to_string(timeoutMs) + ")")) return *fail;
  if (heldElsewhere) return platform::kErrorWaitTimeout;
  *lock = static_cast<platform::LockHandle>(next_++);
  handles_[*lock] = name;
  held.insert(name);
  return 0;
}

void FakeLocks::Release(platform::LockHandle lock) {
  log_.Record("Release(" + handles_[lock] + ")");
  auto found = held.find(handles_[lock]);
  if (found != held.end()) held.erase(found);
  handles_.erase(lock);
}

std::optional<std::int32_t> FakeProcesses::Record(std::string call) {
  return RecordCall(log_, failing, std::move(call));
}

FakeProcesses::Process* FakeProcesses::Find(platform::ProcessHandle handle) {
  for (std::size_t i = 0; i < started.size(); ++i) {
    if (Handle(i) == handle && !started[i].closed) return &started[i];
  }
  return nullptr;
}

std::int32_t FakeProcesses::CreateProcessW(const std::string& applicationName, const std::string& commandLine,
                                           int showWindow, platform::ProcessHandle* process) {
  if (auto fail = Record("CreateProcessW(" + commandLine + ", " + std::to_string(showWindow) + ")")) return *fail;
  *process = Handle(started.size());
  Process record;
  record.applicationName = applicationName;
  record.commandLine = commandLine;
  record.showWindow = showWindow;
  started.push_back(record);
  return 0;
}

std::uint32_t FakeProcesses::WaitForSingleObject(platform::ProcessHandle handle, std::uint32_t milliseconds) {
  Process* process = Find(handle);
  if (Record("WaitForSingleObject(" + Number(handle) + ", " + std::to_string(milliseconds) + ")") ||
      process == nullptr) {
    return platform::kWaitFailed;
  }
  if (process->terminated) return platform::kWaitObject0;
  if (!process->ran) {
    process->ran = true;
    if (onRun) process->outcome = onRun(process->commandLine);
  }
  return process->outcome.hangs ? platform::kWaitTimeout : platform::kWaitObject0;
}

int FakeProcesses::GetExitCodeProcess(platform::ProcessHandle process, std::uint32_t* exitCode) {
  Process* found = Find(process);
  if (Record("GetExitCodeProcess(" + Number(process) + ")") || found == nullptr) return 0;
  if (found->terminated) {
    *exitCode = found->terminationCode;
  } else if (!found->ran || found->outcome.hangs) {
    *exitCode = kStillActive;
  } else {
    *exitCode = found->outcome.exitCode;
  }
  return 1;
}

int FakeProcesses::TerminateProcess(platform::ProcessHandle process, std::uint32_t exitCode) {
  Process* found = Find(process);
  if (Record("TerminateProcess(" + Number(process) + ", " + std::to_string(exitCode) + ")") || found == nullptr) {
    return 0;
  }
  bool running = !found->ran || found->outcome.hangs;
  if (running && !found->terminated) {
    found->terminated = true;
    found->terminationCode = exitCode;
  }
  return 1;
}

int FakeProcesses::CloseHandle(platform::ProcessHandle handle) {
  Process* found = Find(handle);
  if (Record("CloseHandle(" + Number(handle) + ")") || found == nullptr) return 0;
  found->closed = true;
  return 1;
}
