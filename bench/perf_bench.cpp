// Zolvane.exe beside its floors, side by side in one run under Wine: start-up, the Apply round trip, the backup
// and the peak working set after start-up. Runs are interleaved (the order rotates every round) and each
// figure is the median of its rounds. Prints one Markdown table row per figure.
//
// Usage: perf_bench.exe <Zolvane.exe> <folder of the floors> [rounds [figures]]
//   rounds: at least 15, default 21; figures: any of startup,apply,backup (default all three).
// What the runs change (My Documents' two values, the backup file on the desktop) is put back afterwards.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"

namespace {

constexpr DWORD kGiveUpMs = 20000;
const char kFloorClass[] = "ZolvaneBenchFloor";
const char kControlsFloorClass[] = "ZolvaneBenchControlsFloor";
const char kApplyFloorClass[] = "ZolvaneBenchApplyFloor";
const char* const kExportedKeys[4] = {
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
};

double NowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A run that cannot go on. It unwinds to main, so that the programs in flight are ended and the registry
// values put back before the failure is reported.
class BenchFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& what) {
  throw BenchFailure(what);
}

// Looks every pollMs (every millisecond unless asked otherwise, so that a figure is not rounded up to a coarse
// poll) until done() holds; false when it did not hold in time. Between looks the driver only sleeps: the
// e2e driver's wait also takes its own messages, and those two more requests to wineserver a millisecond
// slowed the measured backup from 0.57 to 0.62 of its reference.
template <typename Condition>
bool PollUntil(Condition done, DWORD pollMs = 1) {
  double start = NowMs();
  while (!done()) {
    if (NowMs() - start > kGiveUpMs) return false;
    Sleep(pollMs);
  }
  return true;
}

// The first top-level window of that class that the program has (made, or also shown); null when none. Not
// e2e::TopLevelWindows, which asks every top-level window for its class: here wineserver finds the class.
HWND WindowOf(DWORD processId, const char* className, bool visibleOnly) {
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && (!visibleOnly || IsWindowVisible(window))) return window;
  }
  return nullptr;
}

// The length of a window's text, asked of the thread that owns it: an answer means it is taking messages.
LRESULT TextLength(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kGiveUpMs, &length)) return -1;
  return static_cast<LRESULT>(length);
}

// Starts a program with a show command; its process handle.
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

// One running program, ended when it goes out of scope.
class Program {
 public:
  explicit Program(const std::string& commandLine) {
    started_ = NowMs();
    process_ = StartProcess(commandLine, SW_SHOWNORMAL);
    processId_ = GetProcessId(process_);
  }
  ~Program() {
    if (main_ != nullptr) PostMessageA(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    CloseHandle(process_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Milliseconds from process creation until the window of that class is visible and the probe window
  // (a control, or the window itself) answers with a non-empty text. A program answers only when it takes
  // messages, from its message loop once it has shown and painted its window; so, once the window exists, the
  // driver waits for that answer instead of polling a program that is still building its window, which
  // would slow the program with more requests to wineserver the more windows it makes.
  double TimeToWindow(const char* className, int probeId) {
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

  // The peak working set so far, once the program has painted and waits for input.
  double PeakWorkingSetKb() const {
    WaitForInputIdle(process_, 5000);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_, &counters, sizeof counters)) Fail("GetProcessMemoryInfo failed");
    return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
  }

  // Milliseconds from a posted click on a button until a message box of this program is visible; the box's
  // text, then OK pressed, and the box waited away.
  double TimeClickToMessageBox(HWND button, std::string* boxText) {
    double start = NowMs();
    PostMessageA(button, BM_CLICK, 0, 0);
    HWND box = nullptr;
    if (!PollUntil([&] { return (box = WindowOf(processId_, "#32770", true)) != nullptr; })) {
      Fail("no message box after a click");
    }
    double elapsed = NowMs() - start;
    *boxText = e2e::TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    if (!PollUntil([&] { return !IsWindow(box); })) Fail("the message box did not close");
    return elapsed;
  }

  HWND main() const { return main_; }

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
  double started_ = 0;
};

std::string Quoted(const std::string& path) {
  return "\"" + e2e::WindowsPath(path) + "\"";
}

struct StartUpSample {
  double ms;
  double peakKb;
};

StartUpSample StartOnce(const std::string& exe, const char* className, int probeId) {
  Program program(Quoted(exe));
  StartUpSample sample;
  sample.ms = program.TimeToWindow(className, probeId);
  sample.peakKb = program.PeakWorkingSetKb();
  return sample;
}

void PrintRow(const char* figure, double zolvane, double reference, const char* unit, double target) {
  double ratio = zolvane / reference;
  std::printf("| %s | %.1f %s | %.1f %s | %.2f | <= %.2f | %s |\n", figure, zolvane, unit, reference, unit, ratio,
              target, ratio <= target ? "met" : "not met");
}

// A row that explains rather than judges: what a bare program with the same design costs.
void PrintReferenceRow(const char* figure, double value, double reference, const char* unit) {
  std::printf("| %s | %.1f %s | %.1f %s | %.2f | (for comparison) | |\n", figure, value, unit, reference, unit,
              value / reference);
}

using TimedRun = std::function<double()>;

// Runs each program once unmeasured (a cold cache is not what the figure is about), then the rounds, the
// order rotating every round so that a drift in the machine's load favours none of them.
std::vector<std::vector<double>> Interleave(int rounds, const std::vector<TimedRun>& runs) {
  for (const TimedRun& run : runs) run();
  std::vector<std::vector<double>> samples(runs.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
      std::size_t which = (i + static_cast<std::size_t>(round)) % runs.size();
      samples[which].push_back(runs[which]());
    }
  }
  return samples;
}

// Zolvane, the empty window and the bare program with the main window's controls, each started, timed and ended.
void BenchStartUp(int rounds, const std::string& zolvaneExe, const std::string& floors) {
  struct Starter {
    std::string exe;
    const char* className;
    int probeId;
    std::vector<double> peaksKb;
  };
  std::vector<Starter> starters = {{zolvaneExe, ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH, {}},
                                   {floors + "floor_window.exe", kFloorClass, 0, {}},
                                   {floors + "floor_controls.exe", kControlsFloorClass, IDC_PATH, {}}};
  std::vector<TimedRun> runs;
  for (Starter& starter : starters) {
    runs.push_back([&starter] {
      StartUpSample sample = StartOnce(starter.exe, starter.className, starter.probeId);
      starter.peaksKb.push_back(sample.peakKb);
      return sample.ms;
    });
  }
  std::vector<std::vector<double>> times = Interleave(rounds, runs);
  // The unmeasured first run of each counts for memory no more than for time.
  for (Starter& starter : starters) starter.peaksKb.erase(starter.peaksKb.begin());
  double floorMs = Median(times[1]);
  PrintRow("Start-up to the window shown with its path box filled, against one empty window", Median(times[0]), floorMs,
           "ms", 1.15);
  PrintReferenceRow("Start-up of a bare program with the main window's 13 controls only, against one empty window",
                    Median(times[2]), floorMs, "ms");
  PrintRow("Peak working set after start-up, against one empty window", Median(starters[0].peaksKb) / 1024.0,
           Median(starters[1].peaksKb) / 1024.0, "MB", 1.5);
}

// Applies My Documents' own User Shell Folders value again, so the registry ends as it began.
void BenchApply(int rounds, Program& zolvane, const std::string& floorApplyExe) {
  std::string raw = e2e::ReadText(HKEY_CURRENT_USER, e2e::kUserShellFolders, "Personal");
  std::string expanded = e2e::Expanded(raw);
  Program floor(Quoted(floorApplyExe) + " \"" + raw + "\" \"" + expanded + "\"");
  floor.TimeToWindow(kApplyFloorClass, 0);

  HWND combo = GetDlgItem(zolvane.main(), IDC_FOLDER_LIST);
  SendMessageA(combo, CB_SETCURSEL, 4, 0);  // "My Documents"
  SendMessageA(zolvane.main(), WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  HWND pathText = GetDlgItem(zolvane.main(), IDC_PATH);
  HWND apply = GetDlgItem(zolvane.main(), IDC_APPLY);
  std::string boxText;
  std::vector<std::vector<double>> times =
      Interleave(rounds, {[&] {
                            SendMessageA(pathText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(raw.c_str()));
                            if (!PollUntil([&] { return IsWindowEnabled(apply) != FALSE; }))
                              Fail("Apply was not enabled");
                            double ms = zolvane.TimeClickToMessageBox(apply, &boxText);
                            if (boxText != "Successfully done!") Fail("Apply said: " + boxText);
                            if (!PollUntil([&] { return IsWindowEnabled(apply) == FALSE; }))
                              Fail("Apply stayed enabled");
                            return ms;
                          },
                          [&] {
                            double ms = floor.TimeClickToMessageBox(GetDlgItem(floor.main(), 1), &boxText);
                            if (boxText != "Successfully done!") Fail("the floor said: " + boxText);
                            return ms;
                          }});
  PrintRow("Apply: click to message box, against two registry writes and a message box", Median(times[0]),
           Median(times[1]), "ms", 1.2);
}

// Minimised, as the backup starts its exports.
bool RunAndWait(const std::string& commandLine) {
  HANDLE process = StartProcess(commandLine, SW_SHOWMINIMIZED);
  bool ended = WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// The four exports one after another, each waited for; the files are deleted outside the timing.
double TimeSequentialExports() {
  char temp[MAX_PATH];
  std::string tempDir(temp, GetTempPathA(sizeof temp, temp));
  double start = NowMs();
  for (int i = 0; i < 4; ++i) {
    std::string file = tempDir + "zolvane_bench" + std::to_string(i + 1) + ".txt";
    if (!RunAndWait("regedit /e \"" + file + "\" \"" + kExportedKeys[i] + "\"")) Fail("regedit did not end");
  }
  double elapsed = NowMs() - start;
  for (int i = 0; i < 4; ++i) DeleteFileA((tempDir + "zolvane_bench" + std::to_string(i + 1) + ".txt").c_str());
  return elapsed;
}

void BenchBackup(int rounds, Program& zolvane) {
  e2e::BackupFileKeeper backupFile;
  HWND backup = GetDlgItem(zolvane.main(), IDC_BACKUP);
  std::string boxText;
  std::vector<std::vector<double>> times =
      Interleave(rounds, {[&] {
                            double ms = zolvane.TimeClickToMessageBox(backup, &boxText);
                            if (boxText != "Shell folder registry keys are now backed up.")
                              Fail("the backup said: " + boxText);
                            return ms;
                          },
                          [] { return TimeSequentialExports(); }});
  PrintRow("Backup: click to message box, against four sequential regedit /e runs", Median(times[0]), Median(times[1]),
           "ms", 0.6);
}

int Run(int argc, char** argv) {
  if (argc < 3) Fail("usage: perf_bench.exe <Zolvane.exe> <folder of the floors> [rounds [figures]]");
  std::string zolvaneExe = argv[1];
  std::string floors = std::string(argv[2]) + "/";
  int rounds = argc > 3 ? std::max(15, std::atoi(argv[3])) : 21;
  std::string figures = argc > 4 ? argv[4] : "startup,apply,backup";
  auto wanted = [&](const char* figure) { return figures.find(figure) != std::string::npos; };
  e2e::RegistryKeeper::RecoverFromJournal();
  e2e::RegistryKeeper keeper;
  keeper.Keep(HKEY_CURRENT_USER, e2e::kUserShellFolders, "Personal");
  keeper.Keep(HKEY_CURRENT_USER, e2e::kShellFolders, "Personal");
  e2e::ParkPointer();

  if (wanted("startup")) BenchStartUp(rounds, zolvaneExe, floors);
  Program zolvane(Quoted(zolvaneExe));
  zolvane.TimeToWindow(ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH);
  if (wanted("apply")) BenchApply(rounds, zolvane, floors + "floor_apply.exe");
  if (wanted("backup")) BenchBackup(rounds, zolvane);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "perf_bench: %s\n", failure.what());
    return 1;
  }
}
