#include "fakes/fake_files.h"

std::uint32_t FakeFiles::GetTempPathA(std::uint32_t nBufferLength, std::string* buffer) {
  if (log_.Record("GetTempPathA(" + std::to_string(nBufferLength) + ")")) return 0;
  *buffer = tempPath;
  return static_cast<std::uint32_t>(tempPath.size());
}

std::int32_t FakeFiles::OpenFile(const std::string& fileName, std::uint32_t style) {
  if (log_.Record("OpenFile(" + fileName + ", " + std::to_string(style) + ")")) return platform::kHfileError;
  return files.count(fileName) ? 3 : platform::kHfileError;
}

std::int32_t FakeFiles::ReadWholeFile(const std::string& fileName, std::string* bytes) {
  if (auto fail = log_.Record("ReadWholeFile(" + fileName + ")")) return *fail;
  auto found = files.find(fileName);
  if (found == files.end()) return platform::kErrorFileNotFound;
  *bytes = found->second;
  return 0;
}

std::int32_t FakeFiles::WriteWholeFile(const std::string& fileName, const std::string& bytes) {
  if (auto fail = log_.Record("WriteWholeFile(" + fileName + ")")) return *fail;
  files[fileName] = bytes;
  return 0;
}

std::int32_t FakeFiles::DeleteFileA(const std::string& fileName) {
  if (auto fail = log_.Record("DeleteFileA(" + fileName + ")")) return *fail;
  if (files.erase(fileName) == 0) return platform::kErrorFileNotFound;
  return 0;
}

std::int32_t FakeProcesses::CreateProcessA(const std::string& commandLine, int showWindow,
                                           platform::Handle* process) {
  if (auto fail = log_.Record("CreateProcessA(" + commandLine + ", " + std::to_string(showWindow) + ")")) return *fail;
  *process = 0x700;
  return 0;
}

std::uint32_t FakeProcesses::WaitForSingleObject(platform::Handle handle, std::uint32_t milliseconds) {
  if (log_.Record("WaitForSingleObject(" + std::to_string(handle) + ", " + std::to_string(milliseconds) + ")")) {
    return platform::kWaitFailed;
  }
  return platform::kWaitObject0;
}

int FakeProcesses::GetExitCodeProcess(platform::Handle process, std::uint32_t* exitCode) {
  if (log_.Record("GetExitCodeProcess(" + std::to_string(process) + ")")) return 0;
  *exitCode = 0;
  return 1;
}

int FakeProcesses::TerminateProcess(platform::Handle process, std::uint32_t exitCode) {
  if (log_.Record("TerminateProcess(" + std::to_string(process) + ", " + std::to_string(exitCode) + ")")) return 0;
  return 1;
}

int FakeProcesses::CloseHandle(platform::Handle handle) {
  if (log_.Record("CloseHandle(" + std::to_string(handle) + ")")) return 0;
  return 1;
}
