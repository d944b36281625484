// Runs a command line under cut_at_call, which ends it as it enters its Nth call of a function (a power cut
// between two writes), for the tests that then look at what it left and at what the next run does.
#pragma once

#include <windows.h>

#include <string>

#include "run_program.h"

// What a run under cut_at_call did.
struct CutRun {
  long long outcome = -1;  // cut_at_call's exit code: 0 cut, 1 ended by itself first, 2 could not run, -1 not started
  std::string report;      // its one line, e.g. "cut at call 2 of RegSetValueExW"
  std::string out;         // the program's own standard output
  std::string err;         // and standard error
  bool Cut() const { return outcome == 0; }
};

// cut_at_call.exe, built beside the test programs.
inline std::wstring CutAtCallPath() {
  std::wstring path = OwnPath();
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"cut_at_call.exe";
}

// Runs the command line, ended at the entry of its callNumber-th call of function in module (0: never, only
// counted); cut_at_call itself gives up after about 60 s.
// A program that did not start at all (Wine now and then fails a CreateProcess on a loaded machine, error 1359) is
// started again, twice at most: it ran nothing.
inline CutRun RunCutAtCall(unsigned callNumber, const std::wstring& module, const std::wstring& function,
                           const std::wstring& commandLine) {
  ProgramRun run;
  for (int attempt = 0; attempt < 3; ++attempt) {
    run = RunAndCapture(L"\"" + CutAtCallPath() + L"\" " + std::to_wstring(callNumber) + L" \"" + module + L"\" " +
                            function + L" " + commandLine,
                        std::wstring(), 90000);
    if (run.exitCode != 2 || run.err.find(" did not start (error ") == std::string::npos) break;
    Sleep(500);
  }
  CutRun cut;
  cut.outcome = run.exitCode;
  cut.out = run.out;
  // The report is the last line of standard error, written once the program had ended.
  std::size_t lineEnd = run.err.size() >= 2 ? run.err.size() - 2 : 0;
  std::size_t lineStart = lineEnd == 0 ? 0 : run.err.rfind('\n', lineEnd - 1) + 1;  // npos + 1: the first line
  cut.err = run.err.substr(0, lineStart);
  cut.report = run.err.substr(lineStart, lineEnd - lineStart);
  return cut;
}
