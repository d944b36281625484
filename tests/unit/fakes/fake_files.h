// In-memory files and processes for the backup.
#pragma once

#include <map>
#include <string>

#include "fakes/call_log.h"
#include "fakes/fake_registry.h"
#include "platform/platform.h"

class FakeFiles : public platform::Files {
 public:
  explicit FakeFiles(CallLog& log) : log_(log) {}
  std::uint32_t GetTempPathA(std::uint32_t nBufferLength, std::string* buffer) override;
  std::int32_t OpenFile(const std::string& fileName, std::uint32_t style) override;
  std::int32_t ReadWholeFile(const std::string& fileName, std::string* bytes) override;
  std::int32_t WriteWholeFile(const std::string& fileName, const std::string& bytes) override;
  std::int32_t DeleteFileA(const std::string& fileName) override;

  std::string tempPath = "C:\\TEMP\\";
  // File names match without regard to case, as on Windows.
  std::map<std::string, std::string, CaseInsensitiveLess> files;

 private:
  CallLog& log_;
};

class FakeProcesses : public platform::Processes {
 public:
  explicit FakeProcesses(CallLog& log) : log_(log) {}
  std::int32_t CreateProcessA(const std::string& commandLine, int showWindow, platform::Handle* process) override;
  std::uint32_t WaitForSingleObject(platform::Handle handle, std::uint32_t milliseconds) override;
  int GetExitCodeProcess(platform::Handle process, std::uint32_t* exitCode) override;
  int TerminateProcess(platform::Handle process, std::uint32_t exitCode) override;
  int CloseHandle(platform::Handle handle) override;

 private:
  CallLog& log_;
};
