// Where Zolvane's start-up time goes, step by step.
// Runs the profiling build (zolvane_profile.exe, the same sources with PROFILE_MARK recording each step) and two
// floors built the same way, interleaved, and prints Markdown tables of the median time at which each step ends,
// counted from process creation, and what each step takes.
//
// Usage: startup_profile.exe <folder of the profiling builds> [rounds [once]]
//   rounds: default 21. With "once", runs zolvane_profile.exe a single time and prints its process id and
//   marks, for a run traced with WINEDEBUG.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/marks_file.h"
#include "bench/started_program.h"
#include "resources/control_ids.h"
#include "ui/main_window_layout.h"

namespace {

using bench::Median;
using bench::Program;
using bench::Quoted;

struct Profiled {
  const char* exe;
  const char* title;
  const char* className;
  int probeId;
  // Each step's name in order of first appearance, and per step the times of every run.
  std::vector<std::string> steps;
  std::map<std::string, std::vector<double>> endsAt;
  std::map<std::string, std::vector<double>> takes;
};

const char kReadyStep[] = "the driver's probe answered (message loop running)";

std::string StepName(const std::string& step, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kMainWindowControlCount) return step;
  const ControlDesign& design = kMainWindowControls[index];
  std::string caption = *design.caption != '\0' ? design.caption : "(no caption)";
  if (caption.size() > 30) caption = caption.substr(0, 27) + "...";
  char name[160];
  std::snprintf(name, sizeof name, "%s %d: %ls \"%s\"", step.c_str(), index + 1, design.className, caption.c_str());
  return name;
}

// One run: started, timed to its probe, closed; its marks read back.
std::vector<std::pair<double, std::string>> RunOnce(const std::string& folder, const Profiled& program,
                                                    DWORD* processId) {
  std::string marks = bench::TempFile("zolvane_profile_marks.txt");
  bench::MarkInto(marks);
  double started = 0;
  double ready = 0;
  {
    Program running(Quoted(folder + program.exe));
    if (processId != nullptr) *processId = running.processId();
    started = running.started();
    ready = running.TimeToWindow(program.className, program.probeId);
  }
  std::vector<std::pair<double, std::string>> steps;
  for (const bench::Mark& mark : bench::ReadMarksFile(marks, started)) {
    steps.emplace_back(mark.ms, StepName(mark.step, mark.index));
  }
  steps.emplace_back(ready, kReadyStep);
  return steps;
}

void Record(Profiled& program, const std::vector<std::pair<double, std::string>>& marks) {
  double previous = 0;
  for (const auto& [at, step] : marks) {
    if (program.endsAt.find(step) == program.endsAt.end()) program.steps.push_back(step);
    program.endsAt[step].push_back(at);
    program.takes[step].push_back(at - previous);
    previous = at;
  }
}

void PrintSteps(const Profiled& program) {
  std::printf("\n%s, step by step:\n\n| Step (timed where it ends) | Ends at, ms | Takes, ms |\n|---|---:|---:|\n",
              program.title);
  for (const std::string& step : program.steps) {
    std::printf("| %s | %.1f | %.1f |\n", step.c_str(), Median(program.endsAt.at(step)),
                Median(program.takes.at(step)));
  }
}

// The steps every program marks, and what each program spends between one and the next: the median of
// each run's difference.
void PrintPhases(const std::vector<Profiled>& programs) {
  std::vector<std::string> common;
  for (const std::string& step : programs[0].steps) {
    bool everywhere = std::all_of(programs.begin(), programs.end(),
                                  [&](const Profiled& program) { return program.endsAt.count(step) > 0; });
    if (everywhere) common.push_back(step);
  }
  std::printf("\nThe steps all three mark, in ms since the step before (the time at which it ends):\n\n| Phase, up to");
  for (const Profiled& program : programs) std::printf(" | %s", program.title);
  std::printf(" |\n|---");
  for (std::size_t i = 0; i < programs.size(); ++i) std::printf("|---:");
  std::printf("|\n");
  for (std::size_t i = 0; i < common.size(); ++i) {
    std::printf("| %s", common[i].c_str());
    for (const Profiled& program : programs) {
      const std::vector<double>& ends = program.endsAt.at(common[i]);
      std::vector<double> spans(ends);
      if (i > 0) {
        const std::vector<double>& before = program.endsAt.at(common[i - 1]);
        for (std::size_t run = 0; run < spans.size(); ++run) spans[run] -= before[run];
      }
      std::printf(" | %.1f (%.1f)", Median(spans), Median(ends));
    }
    std::printf(" |\n");
  }
}

int Run(int argc, char** argv) {
  if (argc < 2) bench::Fail("usage: startup_profile.exe <folder of the profiling builds> [rounds [once]]");
  std::string folder = std::string(argv[1]) + "/";
  int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
  std::vector<Profiled> programs = {{"zolvane_profile.exe", "Zolvane", ZOLVANE_MAIN_WINDOW_CLASS, IDC_PATH, {}, {}, {}},
                                    {"floor_window_profile.exe", "floor_window", "ZolvaneBenchFloor", 0, {}, {}, {}},
                                    {"floor_controls_styled_profile.exe",
                                     "floor_controls_styled",
                                     "ZolvaneBenchControlsFloor",
                                     IDC_PATH,
                                     {},
                                     {},
                                     {}}};
  if (argc > 3 && std::string(argv[3]) == "once") {
    DWORD processId = 0;
    auto marks = RunOnce(folder, programs[0], &processId);
    std::printf("process %lu\n", static_cast<unsigned long>(processId));
    for (const auto& [at, step] : marks) std::printf("%.1f %s\n", at, step.c_str());
    return 0;
  }
  for (Profiled& program : programs) RunOnce(folder, program, nullptr);  // unmeasured: a cold cache is no figure
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < programs.size(); ++i) {
      Profiled& program = programs[(i + static_cast<std::size_t>(round)) % programs.size()];
      Record(program, RunOnce(folder, program, nullptr));
    }
  }
  PrintPhases(programs);
  PrintSteps(programs[0]);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "startup_profile: %s\n", failure.what());
    return 1;
  }
}
