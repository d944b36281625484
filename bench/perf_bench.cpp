// Zolvane.exe beside its floors, beside the programs a user would open instead (Wine's notepad, regedit and
// winecfg) and zolvane-cli.exe beside reg.exe, side by side under Wine: start-up, the Apply round trip, the
// backup, the peak working set after start-up, the command line's set, backup and list, and its move of a
// folder with its files on one volume and across two (bench/move_bench.h). Runs are
// interleaved (the order rotates every round). The profiling build (zolvane_profile.exe, the same sources with
// marks) gives what Zolvane's own code takes of its start-up, its Apply and its backup. Everything may be run
// several times over, so that each figure's spread across the runs says whether its verdict can be trusted.
// Prints one Markdown table row per figure.
//
// Usage: perf_bench.exe <Zolvane.exe> <folder of the floors and the profiling build> [rounds [repeat [figures]]]
//   rounds: at least 15, default 21; repeat: how many runs, default 1; figures: any of
//   startup,apply,backup,cli,parse,move (default all six). zolvane-cli.exe is the one beside Zolvane.exe.
// What the runs change (My Documents' two values, the backup file on the desktop) is put back afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/interleaved_rounds.h"
#include "bench/marks_file.h"
#include "bench/move_bench.h"
#include "bench/started_program.h"
#include "bench/verdict_table.h"
#include "features/feature_texts.h"
#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/shell_folder_keys.h"

namespace {

using bench::Fail;
using bench::Interleave;
using bench::Mark;
using bench::PollUntil;
using bench::Program;
using bench::Quoted;
using bench::Target;
using bench::TimedRun;
using bench::VerdictTable;

const char kFloorClass[] = "ZolvaneBenchFloor";
const char kControlsFloorClass[] = "ZolvaneBenchControlsFloor";
const char kApplyFloorClass[] = "ZolvaneBenchApplyFloor";
const char kRegExe[] = "C:\\windows\\system32\\reg.exe";
// A key as regedit and reg.exe name it, by its place in the backup's order.
std::string ExportedKey(std::size_t index) {
  return kShellFolderKeys[index].FullName();
}
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

// The start-up steps that are Zolvane's own code rather than Wine's (each marked where it ends): the runtime
// and the program's objects; the icons, the class and the window objects; the client area's check; the folder
// list, the registry read and the path shown. Making the windows, showing and painting them is Wine's work.
const char* const kOwnStartUpSteps[] = {"runtime started, wWinMain entered", "window class registered",
                                        "client area kept", "path shown"};
const char kFirstPaint[] = "UpdateWindow: first paint";
const char kCommandReceived[] = "command received";
const char kMessageBoxCalled[] = "message box called";
const char kExportStarted[] = "export start begun";
const char kExportWaited[] = "export wait ended";

const Target kForComparison{Target::Kind::kNone, 0};
const Target kFaster{Target::Kind::kBelow, 1.0};

// Long enough for Apply's message box to have come.
constexpr DWORD kQuietWaitMs = 200;

// A program timed to its window of a known class and probe, with its peak working set.
struct Starter {
  std::string exe;
  const char* className;
  int probeId;
  std::vector<double> peaksMb;
};

TimedRun TimeToProbedWindow(Starter& starter) {
  return [&starter] {
    Program program(Quoted(starter.exe));
    double ms = program.TimeToWindow(starter.className, starter.probeId);
    starter.peaksMb.push_back(program.PeakWorkingSetKb() / 1024.0);
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

// What Zolvane's own start-up steps took in one start of the profiling build, and when it first painted.
struct OwnStartUp {
  std::vector<double> ownMs;
  std::vector<double> firstPaintMs;
};

void RecordOwnStartUp(const std::vector<Mark>& marks, OwnStartUp* own) {
  double ownMs = 0;
  double previous = 0;
  for (const Mark& mark : marks) {
    for (const char* step : kOwnStartUpSteps) {
      if (mark.step == step) ownMs += mark.ms - previous;
    }
    previous = mark.ms;
    if (mark.step == kFirstPaint) {
      own->ownMs.push_back(ownMs);
      own->firstPaintMs.push_back(mark.ms);
      return;
    }
  }
  Fail("the profiling build marked no first paint");
}

TimedRun TimeProfiledStartUp(const std::string& profileExe, OwnStartUp* own) {
  return [profileExe, own] {
    std::string marks = bench::TempFile("zolvane_bench_startup_marks.txt");
    bench::MarkInto(marks);
    double ms = 0;
    double started = 0;
    {
      Program program(Quoted(profileExe));
      started = program.started();
      ms = program.TimeToWindow(ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH);
    }
    RecordOwnStartUp(bench::ReadMarksFile(marks, started), own);
    return ms;
  };
}

void CheckOtherProgramsExist() {
  for (const OtherProgram& other : kOtherPrograms) {
    if (GetFileAttributesA(other.path) == INVALID_FILE_ATTRIBUTES) Fail(std::string("no ") + other.path);
  }
}

// Zolvane beside its floors, timed to its filled path box, and beside the programs a user would open instead,
// all timed to their first visible top-level window; the profiling build in the same rotation.
void BenchStartUp(VerdictTable& table, int rounds, const std::string& zolvaneExe, const std::string& floors) {
  CheckOtherProgramsExist();
  std::vector<Starter> starters = {{zolvaneExe, ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH, {}},
                                   {floors + "floor_window.exe", kFloorClass, 0, {}},
                                   {floors + "floor_controls.exe", kControlsFloorClass, IDC_PATH, {}},
                                   {floors + "floor_controls_styled.exe", kControlsFloorClass, IDC_PATH, {}}};
  OwnStartUp own;
  std::vector<TimedRun> runs;
  for (Starter& starter : starters) runs.push_back(TimeToProbedWindow(starter));
  runs.push_back(TimeToFirstVisibleWindow(Quoted(zolvaneExe)));
  for (const OtherProgram& other : kOtherPrograms) runs.push_back(TimeToFirstVisibleWindow(other.path));
  runs.push_back(TimeProfiledStartUp(floors + "zolvane_profile.exe", &own));
  std::vector<std::vector<double>> times = Interleave(rounds, runs);
  // The unmeasured first run of each counts for memory and for the marks no more than for time.
  for (Starter& starter : starters) starter.peaksMb.erase(starter.peaksMb.begin());
  own.ownMs.erase(own.ownMs.begin());
  own.firstPaintMs.erase(own.firstPaintMs.begin());

  table.AddRun(
      "Zolvane's own start-up work before the first paint (profiling build), against its start-up to the first paint",
      "ms", Target{Target::Kind::kAtMost, 0.05}, own.ownMs, own.firstPaintMs);
  for (std::size_t i = 0; i < sizeof kOtherPrograms / sizeof kOtherPrograms[0]; ++i) {
    table.AddRun(std::string("Start-up to the first visible top-level window, against ") + kOtherPrograms[i].name, "ms",
                 kFaster, times[4], times[5 + i]);
  }
  table.AddRun("Peak working set after start-up, against one empty window", "MB", Target{Target::Kind::kAtMost, 1.5},
               starters[0].peaksMb, starters[1].peaksMb);
  table.AddRun(
      "Start-up to the window shown with its path box filled, against the bare program with the main window's 13 "
      "controls and the same visual styles manifest",
      "ms", kForComparison, times[0], times[3]);
  table.AddRun("Start-up to the window shown with its path box filled, against one empty window", "ms", kForComparison,
               times[0], times[1]);
  table.AddRun("Start-up of the bare program with the 13 controls and the manifest, against one empty window", "ms",
               kForComparison, times[3], times[1]);
  table.AddRun("Start-up of the bare program with the 13 controls, no manifest, against one empty window", "ms",
               kForComparison, times[2], times[1]);
}

// Applies My Documents' own User Shell Folders value again, so the registry ends as it began.
void BenchApply(VerdictTable& table, int rounds, Program& zolvane, const std::string& floorApplyExe) {
  std::string raw = e2e::ReadText(HKEY_CURRENT_USER, e2e::kUserShellFolders, "Personal");
  std::string expanded = Expanded(raw);
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
                            if (boxText != kRelocated) Fail("Apply said: " + boxText);
                            if (!PollUntil([&] { return IsWindowEnabled(apply) == FALSE; }))
                              Fail("Apply stayed enabled");
                            return ms;
                          },
                          [&] {
                            double ms = floor.TimeClickToMessageBox(GetDlgItem(floor.main(), 1), &boxText);
                            if (boxText != kRelocated) Fail("the floor said: " + boxText);
                            return ms;
                          }});
  // The clicks whose marks give Zolvane's own work: the driver waits without a look at the windows until the
  // box must be there, as a driver that asks wineserver every millisecond slows what it measures.
  for (int round = 0; round < rounds; ++round) {
    SendMessageA(pathText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(raw.c_str()));
    if (!PollUntil([&] { return IsWindowEnabled(apply) != FALSE; })) Fail("Apply was not enabled");
    zolvane.ClickAndAnswerMessageBox(apply, kQuietWaitMs, &boxText);
    if (boxText != kRelocated) Fail("Apply said: " + boxText);
  }
  table.AddRun(
      "Apply: click to message box (profiling build), against two registry writes and a message box, the same "
      "manifest",
      "ms", kForComparison, times[0], times[1]);
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
  double start = bench::NowMs();
  for (int i = 0; i < 4; ++i) {
    std::string file = bench::TempFile("zolvane_bench" + std::to_string(i + 1) + ".txt");
    if (!RunAndWait("regedit /e \"" + file + "\" \"" + ExportedKey(i) + "\"")) Fail("regedit did not end");
  }
  double elapsed = bench::NowMs() - start;
  for (int i = 0; i < 4; ++i) DeleteFileA(bench::TempFile("zolvane_bench" + std::to_string(i + 1) + ".txt").c_str());
  return elapsed;
}

void BenchBackup(VerdictTable& table, int rounds, Program& zolvane) {
  e2e::BackupFileKeeper backupFile;
  HWND backup = GetDlgItem(zolvane.main(), IDC_BACKUP);
  std::string boxText;
  auto timeBackup = [&] {
    double ms = zolvane.TimeClickToMessageBox(backup, &boxText);
    if (boxText != kBackedUp) Fail("the backup said: " + boxText);
    return ms;
  };
  std::vector<std::vector<double>> times = Interleave(rounds, {timeBackup, [] { return TimeSequentialExports(); }});
  table.AddRun("Backup: click to message box (profiling build), against four sequential regedit /e runs", "ms",
               kForComparison, times[0], times[1]);
}

// From each received command of that id to the message box it led to: the whole, and the part that is
// Zolvane's own work, which is all but the exports' span (from starting the first to having waited for the
// last; the window's thread greys its buttons meanwhile). The first of them is the unmeasured round.
struct OwnWork {
  std::vector<double> ownMs;
  std::vector<double> totalMs;
};

OwnWork OwnWorkOfCommand(const std::vector<Mark>& marks, int commandId) {
  OwnWork work;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (marks[i].step != kCommandReceived || marks[i].index != commandId) continue;
    double exportsBegun = -1;
    double exportsEnded = -1;
    for (std::size_t j = i + 1; j < marks.size(); ++j) {
      if (marks[j].step == kExportStarted && exportsBegun < 0) exportsBegun = marks[j].ms;
      if (marks[j].step == kExportWaited) exportsEnded = marks[j].ms;
      if (marks[j].step != kMessageBoxCalled) continue;
      double total = marks[j].ms - marks[i].ms;
      work.totalMs.push_back(total);
      work.ownMs.push_back(exportsBegun < 0 ? total : total - (exportsEnded - exportsBegun));
      break;
    }
  }
  if (work.ownMs.size() < 2) Fail("the profiling build marked no click of command " + std::to_string(commandId));
  work.ownMs.erase(work.ownMs.begin());
  work.totalMs.erase(work.totalMs.begin());
  return work;
}

// Apply and the backup, clicked in the profiling build, whose marks then say what Zolvane's own code took.
void BenchClicks(VerdictTable& table, int rounds, const std::string& floors, bool apply, bool backup) {
  std::string marks = bench::TempFile("zolvane_bench_click_marks.txt");
  bench::MarkInto(marks);
  double started = 0;
  {
    Program zolvane(Quoted(floors + "zolvane_profile.exe"));
    started = zolvane.started();
    zolvane.TimeToWindow(ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH);
    if (apply) BenchApply(table, rounds, zolvane, floors + "floor_apply.exe");
    if (backup) BenchBackup(table, rounds, zolvane);
  }
  std::vector<Mark> marked = bench::ReadMarksFile(marks, started);
  if (apply) {
    table.AddRunAgainstLimit("Apply: Zolvane's own work from the click to the message box call (profiling build)", "ms",
                             2.0, OwnWorkOfCommand(marked, IDC_APPLY).ownMs);
  }
  if (backup) {
    OwnWork work = OwnWorkOfCommand(marked, IDC_BACKUP);
    table.AddRun(
        "Backup: Zolvane's own work (all but the four exports, from starting the first to having waited for the "
        "last) from the click to the message box call (profiling build), against the whole of it",
        "ms", Target{Target::Kind::kAtMost, 0.10}, work.ownMs, work.totalMs);
  }
}

TimedRun InSequence(const std::vector<std::string>& commandLines, const std::vector<std::string>& leftFiles = {}) {
  return [commandLines, leftFiles] {
    double ms = 0;
    for (const std::string& commandLine : commandLines) ms += bench::TimeToExit(commandLine);
    for (const std::string& file : leftFiles) DeleteFileA(file.c_str());
    return ms;
  };
}

// zolvane-cli.exe against what an administrator would otherwise script with reg.exe, interleaved: My Documents
// set to its own value, the four keys saved, the folders listed.
void BenchCommandLine(VerdictTable& table, int rounds, const std::string& cliExe) {
  std::string raw = e2e::ReadText(HKEY_CURRENT_USER, e2e::kUserShellFolders, "Personal");
  std::string expanded = Expanded(raw);
  std::string cli = Quoted(cliExe);
  std::string reg = kRegExe;
  std::string backupFile = bench::TempFile("zolvane_bench_cli.bak");
  std::vector<std::string> exports;
  std::vector<std::string> exportRuns;
  for (int i = 0; i < 4; ++i) {
    exports.push_back(bench::TempFile("zolvane_bench_reg" + std::to_string(i + 1) + ".reg"));
    exportRuns.push_back(reg + " export \"" + ExportedKey(i) + "\" \"" + exports.back() + "\" /y");
  }
  std::vector<std::vector<double>> times = Interleave(
      rounds, {InSequence({cli + " set \"My Documents\" \"" + raw + "\""}),
               InSequence({reg + " add \"" + ExportedKey(0) + "\" /v Personal /t REG_EXPAND_SZ /d \"" + raw + "\" /f",
                           reg + " add \"" + ExportedKey(1) + "\" /v Personal /t REG_SZ /d \"" + expanded + "\" /f"}),
               InSequence({cli + " backup \"" + backupFile + "\""}, {backupFile}), InSequence(exportRuns, exports),
               InSequence({cli + " list"}),
               InSequence({reg + " query \"" + ExportedKey(0) + "\"", reg + " query \"" + ExportedKey(2) + "\""})});
  const Target half{Target::Kind::kAtMost, 0.5};
  table.AddRun("zolvane-cli set (My Documents), against two reg add runs", "ms", half, times[0], times[1]);
  table.AddRun("zolvane-cli backup FILE, against four reg export runs", "ms", half, times[2], times[3]);
  table.AddRun("zolvane-cli list, against two reg query runs (User Shell Folders of HKCU and of HKLM)", "ms", half,
               times[4], times[5]);
}

// The largest file a restore reads: the header, one key and values of which none is written twice, each a line.
std::string LargestRestoreFile(std::size_t* values) {
  std::string file = std::string(kRegistryFileHeader) + "\r\n[" + ExportedKey(0) + "]\r\n";
  char line[32];
  for (*values = 0; file.size() + 2 * sizeof line < kMaxRegistryFileBytes; ++*values) {
    std::snprintf(line, sizeof line, "\"v%07u\"=-\r\n", static_cast<unsigned>(*values));
    file += line;
  }
  return file;
}

// The restore's parser on the largest file it reads, and on the same file refused at its last line: Zolvane's
// own work, in this process, with the product's compiler and options.
void BenchParsing(VerdictTable& table, int rounds) {
  std::size_t values = 0;
  const std::string file = LargestRestoreFile(&values);
  const std::string refused = file + "junk";
  std::vector<double> times[2];
  for (int round = 0; round < rounds; ++round) {
    for (int kind = 0; kind < 2; ++kind) {
      double start = bench::NowMs();
      bool readable = ParseRegistryFile(kind == 0 ? file : refused).readable;
      times[kind].push_back(bench::NowMs() - start);
      if (readable != (kind == 0)) Fail("the parser did not read the largest file as it should");
    }
  }
  std::string size =
      std::to_string(kMaxRegistryFileBytes / (1024 * 1024)) + " MB, " + std::to_string(values) + " lines";
  table.AddRunAgainstLimit("Restore: parsing the largest file it reads (" + size + ")", "ms", 1000, times[0]);
  table.AddRunAgainstLimit("Restore: refusing that file at its last line (" + size + ")", "ms", 1000, times[1]);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int Run(int argc, char** argv) {
  if (argc < 3) {
    Fail("usage: perf_bench.exe <Zolvane.exe> <folder of the floors> [rounds [repeat [figures]]]");
  }
  std::string zolvaneExe = argv[1];
  std::string floors = std::string(argv[2]) + "/";
  int rounds = argc > 3 ? std::max(15, std::atoi(argv[3])) : 21;
  int repeat = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
  std::string figures = argc > 5 ? argv[5] : "startup,apply,backup,cli,parse,move";
  auto wanted = [&](const char* figure) { return figures.find(figure) != std::string::npos; };
  e2e::RegistryKeeper::RecoverFromJournal();
  e2e::RegistryKeeper keeper;
  keeper.Keep(HKEY_CURRENT_USER, e2e::kUserShellFolders, "Personal");
  keeper.Keep(HKEY_CURRENT_USER, e2e::kShellFolders, "Personal");
  e2e::ParkPointer();

  VerdictTable table;
  for (int run = 0; run < repeat; ++run) {
    std::fprintf(stderr, "perf_bench: run %d of %d\n", run + 1, repeat);
    if (wanted("startup")) BenchStartUp(table, rounds, zolvaneExe, floors);
    if (wanted("apply") || wanted("backup")) BenchClicks(table, rounds, floors, wanted("apply"), wanted("backup"));
    if (wanted("cli")) BenchCommandLine(table, rounds, FolderOf(zolvaneExe) + "zolvane-cli.exe");
    if (wanted("parse")) BenchParsing(table, rounds);
    if (wanted("move")) bench::BenchMoves(table, rounds, FolderOf(zolvaneExe) + "zolvane-cli.exe");
  }
  std::printf("%s", table.Rows().c_str());
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
