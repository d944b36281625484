// cut_at_call under Wine: a program that writes "1" to "5" into a file, one WriteFile each, then a line on its
// standard output, is ended at the entry of its third call with exactly "12" written; let run, it is counted, and
// so are the calls of four threads at once.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cut_at_call.h"
#include "scratch.h"
#include "wine_check.h"

namespace {

constexpr int kWriterExitCode = 7;

std::wstring TraceFile() {
  return TempFolder() + L"zolvane-cut-at-call.txt";
}

// The program cut_at_call watches: five writes, each a trace of its own, then one line through the C runtime.
int WriteFive() {
  HANDLE file = CreateFileW(TraceFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  for (char digit = '1'; digit <= '5'; ++digit) {
    DWORD written = 0;
    WriteFile(file, &digit, 1, &written, nullptr);
  }
  CloseHandle(file);
  std::fputs("five written\n", stdout);
  return kWriterExitCode;
}

// Four threads at once, fifty writes to NUL each: a call made while another thread stands at the entry counts too.
DWORD WINAPI WriteFifty(void* device) {
  for (int i = 0; i < 50; ++i) {
    DWORD written = 0;
    WriteFile(device, "x", 1, &written, nullptr);
  }
  return 0;
}

int WriteFromFourThreads() {
  HANDLE device = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE threads[4];
  for (HANDLE& thread : threads) thread = CreateThread(nullptr, 0, WriteFifty, device, 0, nullptr);
  WaitForMultipleObjects(4, threads, TRUE, 30000);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--write-five") == 0) return WriteFive();
  if (argc == 2 && std::strcmp(argv[1], "--write-from-threads") == 0) return WriteFromFourThreads();
  std::wstring self = L"\"" + OwnPath() + L"\"";
  std::wstring writer = self + L" --write-five";

  CutRun cut = RunCutAtCall(3, L"kernel32.dll", L"WriteFile", writer);
  CHECK_EQ(cut.report, std::string("cut at call 3 of WriteFile"));
  CHECK(cut.Cut());
  CHECK_EQ(ReadFileBytes(TraceFile()), std::string("12"));
  CHECK_EQ(cut.out, std::string());

  // Let run: the five writes and the C runtime's one of the line, which reaches the standard output.
  CutRun counted = RunCutAtCall(0, L"kernel32.dll", L"WriteFile", writer);
  CHECK_EQ(counted.report, "ended by itself after 6 calls of WriteFile, exit " + std::to_string(kWriterExitCode));
  CHECK_EQ(counted.outcome, 1);
  CHECK_EQ(ReadFileBytes(TraceFile()), std::string("12345"));
  CHECK_EQ(counted.out, std::string("five written\r\n"));

  CHECK_EQ(RunCutAtCall(0, L"kernel32.dll", L"WriteFile", self + L" --write-from-threads").report,
           std::string("ended by itself after 200 calls of WriteFile, exit 0"));
  CHECK_EQ(RunCutAtCall(7, L"kernel32.dll", L"WriteFile", writer).outcome, 1);
  CutRun unknown = RunCutAtCall(1, L"kernel32.dll", L"NoSuchFunction", writer);
  CHECK_EQ(unknown.report, std::string("could not run: kernel32.dll has no function NoSuchFunction"));
  CHECK_EQ(unknown.outcome, 2);
  DeleteFileW(TraceFile().c_str());
  return wine_check::Summary();
}
