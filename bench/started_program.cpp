// Starting a program under Wine and timing its first window, for the benchmarks.
#include "bench/started_program.h"

#include <psapi.h>

#include <algorithm>

#include "tests/e2e/driver.h"

namespace bench {

namespace {

LARGE_INTEGER CounterFrequency() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return frequency;
}

struct VisibleSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<VisibleSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

double CounterMs(LONGLONG counter) {
  return 1000.0 * static_cast<double>(counter) / static_cast<double>(CounterFrequency().QuadPart);
}

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return CounterMs(now.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Fail(const std::string& what) {
  throw BenchFailure(what);
}

// Not e2e::TopLevelWindows, which asks every top-level window for its class: here wineserver finds the class.
HWND WindowOf(DWORD processId, const char* className, bool visibleOnly) {
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && (!visibleOnly || IsWindowVisible(window))) return window;
  }
  return nullptr;
}

HWND VisibleWindowOf(DWORD processId) {
  VisibleSearch search = {processId, nullptr};
  EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

LRESULT TextLength(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kGiveUpMs, &length)) return -1;
  return static_cast<LRESULT>(length);
}

HANDLE StartProcess(const std::string& commandLine, WORD showCommand) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    Fail("cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

double TimeToExit(const std::string& commandLine, DWORD giveUpMs) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE nowhere = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                               OPEN_EXISTING, 0, nullptr);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nowhere;
  PROCESS_INFORMATION info = {};
  double start = bench::NowMs();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(nowhere);
    Fail("cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
  }
  bool ended = WaitForSingleObject(info.hProcess, giveUpMs) == WAIT_OBJECT_0;
  double elapsed = bench::NowMs() - start;
  if (!ended) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, kGiveUpMs);
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(info.hProcess, &exitCode);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  CloseHandle(nowhere);
  if (!ended) Fail(commandLine + " did not end within " + std::to_string(giveUpMs / 1000) + " s");
  if (exitCode != 0) Fail(commandLine + " failed (exit " + std::to_string(exitCode) + ")");
  return elapsed;
}

std::string TempFile(const std::string& name) {
  char temp[MAX_PATH];
  return std::string(temp, GetTempPathA(sizeof temp, temp)) + name;
}

std::string Quoted(const std::string& path) {
  return "\"" + e2e::WindowsPath(path) + "\"";
}

Program::Program(const std::string& commandLine) {
  started_ = NowMs();
  process_ = StartProcess(commandLine, SW_SHOWNORMAL);
  processId_ = GetProcessId(process_);
}

Program::~Program() {
  if (main_ != nullptr) PostMessageA(main_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
  CloseHandle(process_);
}

double Program::TimeToWindow(const char* className, int probeId) {
  if (!PollUntil([&] { return (main_ = WindowOf(processId_, className, false)) != nullptr; }, 5)) {
    Fail(std::string("no window of class ") + className);
  }
  double ready = 0;
  bool shown = PollUntil([&] {
    bool filled = TextLength(probeId ? GetDlgItem(main_, probeId) : main_) > 0;
    ready = NowMs();
    return filled && IsWindowVisible(main_);
  });
  if (!shown) Fail(std::string("the window of class ") + className + " was not shown with its text");
  return ready - started_;
}

double Program::TimeToVisibleWindow() {
  double seen = 0;
  if (!PollUntil([&] {
        main_ = VisibleWindowOf(processId_);
        seen = NowMs();
        return main_ != nullptr;
      })) {
    Fail("no visible window");
  }
  return seen - started_;
}

double Program::PeakWorkingSetKb() const {
  WaitForInputIdle(process_, 5000);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process_, &counters, sizeof counters)) Fail("GetProcessMemoryInfo failed");
  return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
}

double Program::TimeClickToMessageBox(HWND button, std::string* boxText) {
  double start = NowMs();
  PostMessageA(button, BM_CLICK, 0, 0);
  return AnswerMessageBox(boxText) - start;
}

void Program::ClickAndAnswerMessageBox(HWND button, DWORD quietMs, std::string* boxText) {
  PostMessageA(button, BM_CLICK, 0, 0);
  Sleep(quietMs);
  AnswerMessageBox(boxText);
}

double Program::AnswerMessageBox(std::string* boxText) {
  HWND box = nullptr;
  if (!PollUntil([&] { return (box = WindowOf(processId_, "#32770", true)) != nullptr; })) {
    Fail("no message box after a click");
  }
  double seen = NowMs();
  *boxText = e2e::TextOf(GetDlgItem(box, 0xFFFF));
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  if (!PollUntil([&] { return !IsWindow(box); })) Fail("the message box did not close");
  return seen;
}

}  // namespace bench
