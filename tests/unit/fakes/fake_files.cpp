// In-memory files and processes: a process "runs" when it is first waited for, which is when its files appear.
#include "fakes/fake_files.h"

namespace {

std::optional<std::int32_t> RecordCall(CallLog& log, const FailingCalls& failing, std::string call) {
  auto found = failing.find(call);
  std::optional<std::int32_t> logFailure = log.Record(std::move(call));
  if (found != failing.end()) return found->second;
  return logFailure;
}

}  // namespace

std::optional<std::int32_t> FakeFiles::Record(std::string call) {
  return RecordCall(log_, failing, std::move(call));
}

std::uint32_t FakeFiles::GetTempPathA(std::uint32_t nBufferLength, std::string* buffer) {
  if (Record("GetTempPathA(" + std::to_string(nBufferLength) + ")")) return 0;
  *buffer = tempPath;
  return static_cast<std::uint32_t>(tempPath.size());
}

std::int32_t FakeFiles::OpenFile(const std::string& fileName, std::uint32_t style) {
  if (Record("OpenFile(" + fileName + ", " + std::to_string(style) + ")")) return platform::kHfileError;
  return files.count(fileName) ? 3 : platform::kHfileError;
}

std::int32_t FakeFiles::ReadWholeFile(const std::string& fileName, std::string* bytes) {
  std::string call = "ReadWholeFile(" + fileName + ")";
  bool shortRead = shortReads.count(call) != 0;
  if (auto fail = Record(std::move(call))) return *fail;
  auto found = files.find(fileName);
  if (found == files.end()) return platform::kErrorFileNotFound;
  *bytes = shortRead ? found->second.substr(0, found->second.size() / 2) : found->second;
  return 0;
}

std::int32_t FakeFiles::WriteWholeFile(const std::string& fileName, const std::string& bytes) {
  if (auto fail = Record("WriteWholeFile(" + fileName + ")")) return *fail;
  files[fileName] = bytes;
  return 0;
}

std::int32_t FakeFiles::DeleteFileA(const std::string& fileName) {
  if (auto fail = Record("DeleteFileA(" + fileName + ")")) return *fail;
  if (files.erase(fileName) == 0) return platform::kErrorFileNotFound;
  return 0;
}

std::optional<std::int32_t> FakeProcesses::Record(std::string call) {
  return RecordCall(log_, failing, std::move(call));
}

FakeProcesses::Process* FakeProcesses::Find(platform::Handle handle) {
  for (std::size_t i = 0; i < started.size(); ++i) {
    if (Handle(i) == handle && !started[i].closed) return &started[i];
  }
  return nullptr;
}

std::int32_t FakeProcesses::CreateProcessA(const std::string& commandLine, int showWindow, platform::Handle* process) {
  if (auto fail = Record("CreateProcessA(" + commandLine + ", " + std::to_string(showWindow) + ")")) return *fail;
  *process = Handle(started.size());
  Process record;
  record.commandLine = commandLine;
  record.showWindow = showWindow;
  started.push_back(record);
  return 0;
}

std::uint32_t FakeProcesses::WaitForSingleObject(platform::Handle handle, std::uint32_t milliseconds) {
  Process* process = Find(handle);
  if (Record("WaitForSingleObject(" + std::to_string(handle) + ", " + std::to_string(milliseconds) + ")") ||
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

int FakeProcesses::GetExitCodeProcess(platform::Handle process, std::uint32_t* exitCode) {
  Process* found = Find(process);
  if (Record("GetExitCodeProcess(" + std::to_string(process) + ")") || found == nullptr) return 0;
  if (found->terminated) {
    *exitCode = found->terminationCode;
  } else if (!found->ran || found->outcome.hangs) {
    *exitCode = kStillActive;
  } else {
    *exitCode = found->outcome.exitCode;
  }
  return 1;
}

int FakeProcesses::TerminateProcess(platform::Handle process, std::uint32_t exitCode) {
  Process* found = Find(process);
  if (Record("TerminateProcess(" + std::to_string(process) + ", " + std::to_string(exitCode) + ")") ||
      found == nullptr) {
    return 0;
  }
  bool running = !found->ran || found->outcome.hangs;
  if (running && !found->terminated) {
    found->terminated = true;
    found->terminationCode = exitCode;
  }
  return 1;
}

int FakeProcesses::CloseHandle(platform::Handle handle) {
  Process* found = Find(handle);
  if (Record("CloseHandle(" + std::to_string(handle) + ")") || found == nullptr) return 0;
  found->closed = true;
  return 1;
}
