// Runs a program and waits for it, bounded, for the test programs that start regedit or zolvane-cli themselves.
#pragma once

#include <windows.h>

#include <string>

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
  std::string out;
  std::string err;
};

// A file the started program inherits as a standard handle; read back and deleted once it has ended. A file,
// not a pipe: nothing can block on a full buffer, and the program sees no console.
class CapturedOutput {
 public:
  explicit CapturedOutput(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder) + name;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~CapturedOutput() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    DeleteFileW(path_.c_str());
  }
  HANDLE handle() const { return handle_; }
  std::string Read() {
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    std::string bytes;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
  }

 private:
  std::wstring path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Starts the command line in folder (this program's own when empty) with its standard output and error in files,
// waits up to timeoutMs, and gives what it wrote and its exit code.
inline ProgramRun RunAndCapture(std::wstring commandLine, const std::wstring& folder = std::wstring(),
                                DWORD timeoutMs = 60000) {
  CapturedOutput out(L"zolvane-captured-out.txt");
  CapturedOutput err(L"zolvane-captured-err.txt");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out.handle();
  startup.hStdError = err.handle();
  PROCESS_INFORMATION info = {};
  ProgramRun run;
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return run;
  }
  run.exitCode = WaitAndClose(info, timeoutMs);
  run.out = out.Read();
  run.err = err.Read();
  return run;
}
