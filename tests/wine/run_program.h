// Runs a program and waits for it, bounded, for the test programs that start regedit or zolvane-cli themselves.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/scoped_handle.h"
#include "scratch.h"

// zolvane-cli.exe, as the test program's first argument names it (main sets it), and a command line that runs it.
inline std::wstring cliPath;
inline std::wstring Cli(const std::wstring& arguments) {
  return L"\"" + cliPath + L"\" " + arguments;
}

// Waits up to timeoutMs for the started process to end (ending it after that), closes its handles and gives
// its exit code.
inline long long WaitAndClose(const PROCESS_INFORMATION& info, DWORD timeoutMs) {
  DWORD exitCode = 1;
  if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  GetExitCodeProcess(info.hProcess, &exitCode);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return exitCode;
}

// Starts the command line and waits up to timeoutMs for it to end (ending it after that); its exit code, or -1
// when it could not be started.
inline long long RunAndWait(std::wstring commandLine, DWORD timeoutMs = 30000) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return -1;
  }
  return WaitAndClose(info, timeoutMs);
}

// What a program wrote to its standard output and error, byte for byte, and its exit code (-1: not started).
struct ProgramRun {
  long long exitCode = -1;
  unsigned long startError = 0;  // the system's code when it could not be started
  std::string out;
  std::string err;
};

// A file the started program inherits as a standard handle; read back and deleted once it has ended. A file,
// not a pipe: nothing can block on a full buffer, and the program sees no console.
class CapturedOutput {
 public:
  explicit CapturedOutput(const wchar_t* name) {
    path_ = TempFolder() + name;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    file_ = platform::ScopedHandle(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  ~CapturedOutput() {
    file_.Close();  // before the file can be deleted
    DeleteFileW(path_.c_str());
  }
  HANDLE handle() const { return file_.get(); }
  std::string Read() {
    file_.Close();
    return ReadFileBytes(path_);
  }

 private:
  std::wstring path_;
  platform::ScopedHandle file_;
};

// A program started with its standard output and error in files of its own, named after tag, so that several
// can run at once; Finish waits for it and gives what it wrote and its exit code (-1: not started).
class CapturedRun {
 public:
  // environment: the program's environment block ("NAME=value" strings each ended by a NUL, and one more NUL), or
  // empty for this program's own.
  CapturedRun(std::wstring commandLine, const std::wstring& tag, const std::wstring& folder = std::wstring(),
              const std::wstring& environment = std::wstring())
      : out_((L"zolvane-captured-out-" + tag + L".txt").c_str()),
        err_((L"zolvane-captured-err-" + tag + L".txt").c_str()) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out_.handle();
    startup.hStdError = err_.handle();
    void* block = environment.empty() ? nullptr : const_cast<wchar_t*>(environment.data());
    // Wine now and then fails a start on a busy machine (error 1359): what is tested is the program, so a start
    // that failed is tried again, twice at most.
    for (int attempt = 0; attempt < 3 && !started_; ++attempt) {
      if (attempt > 0) Sleep(200);
      started_ = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT, block,
                                folder.empty() ? nullptr : folder.c_str(), &startup, &info_) != FALSE;
      startError_ = started_ ? 0 : GetLastError();
    }
  }
  CapturedRun(const CapturedRun&) = delete;
  CapturedRun& operator=(const CapturedRun&) = delete;

  ProgramRun Finish(DWORD timeoutMs = 60000) {
    ProgramRun run;
    run.startError = startError_;
    if (!started_) return run;
    started_ = false;
    run.exitCode = WaitAndClose(info_, timeoutMs);
    run.out = out_.Read();
    run.err = err_.Read();
    return run;
  }
  ~CapturedRun() { Finish(); }

 private:
  CapturedOutput out_;
  CapturedOutput err_;
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
  DWORD startError_ = 0;
};

// Starts the command line in folder (this program's own when empty) with its standard output and error in files,
// waits up to timeoutMs, and gives what it wrote and its exit code.
inline ProgramRun RunAndCapture(std::wstring commandLine, const std::wstring& folder = std::wstring(),
                                DWORD timeoutMs = 60000) {
  return CapturedRun(std::move(commandLine), L"one", folder).Finish(timeoutMs);
}
