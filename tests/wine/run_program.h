// Runs a program and waits for it, bounded, for the test programs that start regedit themselves.
#pragma once

#include <windows.h>

#include <string>

// Starts the command line and waits up to timeoutMs for it to end (ending it after that); its exit code, or -1
// when it could not be started.
inline long long RunAndWait(std::wstring commandLine, DWORD timeoutMs = 30000) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return -1;
  }
  DWORD exitCode = 1;
  if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  GetExitCodeProcess(info.hProcess, &exitCode);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return exitCode;
}
