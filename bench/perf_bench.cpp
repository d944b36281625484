// Zolvane.exe beside its floors and beside the programs a user would open instead (Wine's notepad, regedit and
// winecfg), side by side in one run under Wine: start-up, the Apply round trip, the backup and the peak working
// set after start-up. Runs are interleaved (the order rotates every round) and each
// figure is the median of its rounds. Prints one Markdown table row per figure.
//
// Usage: perf_bench.exe <Zolvane.exe> <folder of the floors> [rounds [figures]]
//   rounds: at least 15, default 21; figures: any of startup,apply,backup (default all three).
// What the runs change (My Documents' two values, the backup file on the desktop) is put back afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/started_program.h"
#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"

namespace {

using bench::Fail;
using bench::Median;
using bench::PollUntil;
using bench::Program;
using bench::Quoted;

const char kFloorClass[] = "ZolvaneBenchFloor";
const char kControlsFloorClass[] = "ZolvaneBenchControlsFloor";
const char kApplyFloorClass[] = "ZolvaneBenchApplyFloor";
const char* const kExportedKeys[4] = {
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
};
// The programs a user would open instead, from the prefix's Windows folders.
struct OtherProgram {
  const char* name;
  const char* path;
};
const OtherProgram kOtherPrograms[] = {
    {"Wine's notepad", "C:\\windows\\notepad.exe"},
    {"Wine's regedit", "C:\\windows\\regedit.exe"},
    {"Wine's winecfg", "C:\\windows\\system32\\winecfg.exe"},
};

struct StartUpSample {
  double ms;
  double peakKb;
};

void PrintRow(const char* figure, double zolvane, double reference, const char* unit, double target) {
  double ratio = zolvane / reference;
  std::printf("| %s | %.1f %s | %.1f %s | %.2f | <= %.2f | %s |\n", figure, zolvane, unit, reference, unit, ratio,
              target, ratio <= target ? "met" : "not met");
}

// A row whose target is to be faster than the reference.
void PrintFasterRow(const std::string& figure, double zolvane, double reference) {
  double ratio = zolvane / reference;
  std::printf("| %s | %.1f ms | %.1f ms | %.2f | < 1.00 | %s |\n", figure.c_str(), zolvane, reference, ratio,
              ratio < 1.0 ? "met" : "not met");
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

// A program timed to its window of a known class and probe, with its peak working set.
struct Starter {
  std::string exe;
  const char* className;
  int probeId;
  std::vector<double> peaksKb;
};

TimedRun TimeToProbedWindow(Starter& starter) {
  return [&starter] {
    Program program(Quoted(starter.exe));
    double ms = program.TimeToWindow(starter.className, starter.probeId);
    starter.peaksKb.push_back(program.PeakWorkingSetKb());
    return ms;
  };
}

// Any program timed to its first visible top-level window, the one measure that fits every program.
TimedRun TimeToFirstVisibleWindow(const std::string& commandLine) {
  return [commandLine] {
    Program program(commandLine);
    return program.TimeToVisibleWindow();
  };
}

void CheckOtherProgramsExist() {
  for (const OtherProgram& other : kOtherPrograms) {
    if (GetFileAttributesA(other.path) == INVALID_FILE_ATTRIBUTES) Fail(std::string("no ") + other.path);
  }
}

// Zolvane beside its floors, timed to its filled path box, and beside the programs a user would open instead,
// all timed to their first visible top-level window; in one interleaved run.
void BenchStartUp(int rounds, const std::string& zolvaneExe, const std::string& floors) {
  CheckOtherProgramsExist();
  std::vector<Starter> starters = {{zolvaneExe, ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH, {}},
                                   {floors + "floor_window.exe", kFloorClass, 0, {}},
                                   {floors + "floor_controls.exe", kControlsFloorClass, IDC_PATH, {}},
                                   {floors + "floor_controls_styled.exe", kControlsFloorClass, IDC_PATH, {}}};
  std::vector<TimedRun> runs;
  for (Starter& starter : starters) runs.push_back(TimeToProbedWindow(starter));
  runs.push_back(TimeToFirstVisibleWindow(Quoted(zolvaneExe)));
  for (const OtherProgram& other : kOtherPrograms) runs.push_back(TimeToFirstVisibleWindow(other.path));
  std::vector<std::vector<double>> times = Interleave(rounds, runs);
  // The unmeasured first run of each counts for memory no more than for time.
  for (Starter& starter : starters) starter.peaksKb.erase(starter.peaksKb.begin());

  double emptyMs = Median(times[1]);
  PrintRow(
      "Start-up to the window shown with its path box filled, against the bare program with the main window's 13 "
      "controls and the same visual styles manifest",
      Median(times[0]), Median(times[3]), "ms", 1.10);
  PrintReferenceRow("Start-up to the window shown with its path box filled, against one empty window", Median(times[0]),
                    emptyMs, "ms");
  PrintReferenceRow("Start-up of the bare program with the 13 controls and the manifest, against one empty window",
                    Median(times[3]), emptyMs, "ms");
  PrintReferenceRow("Start-up of the bare program with the 13 controls, no manifest, against one empty window",
                    Median(times[2]), emptyMs, "ms");
  double zolvaneVisibleMs = Median(times[4]);
  for (std::size_t i = 0; i < sizeof kOtherPrograms / sizeof kOtherPrograms[0]; ++i) {
    PrintFasterRow(std::string("Start-up to the first visible top-level window, against ") + kOtherPrograms[i].name,
                   zolvaneVisibleMs, Median(times[5 + i]));
  }
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
  PrintRow("Apply: click to message box, against two registry writes and a message box, the same manifest",
           Median(times[0]), Median(times[1]), "ms", 1.05);
}

// Minimised, as the backup starts its exports.
bool RunAndWait(const std::string& commandLine) {
  HANDLE process = bench::StartProcess(commandLine, SW_SHOWMINIMIZED);
  bool ended = WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// The four exports one after another, each waited for; the files are deleted outside the timing.
double TimeSequentialExports() {
  char temp[MAX_PATH];
  std::string tempDir(temp, GetTempPathA(sizeof temp, temp));
  double start = bench::NowMs();
  for (int i = 0; i < 4; ++i) {
    std::string file = tempDir + "zolvane_bench" + std::to_string(i + 1) + ".txt";
    if (!RunAndWait("regedit /e \"" + file + "\" \"" + kExportedKeys[i] + "\"")) Fail("regedit did not end");
  }
  double elapsed = bench::NowMs() - start;
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
