// Reading the "counter step [index]" lines of a profiling build's marks file.
#include "bench/marks_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/started_program.h"

namespace bench {

void MarkInto(const std::string& path) {
  DeleteFileA(path.c_str());
  SetEnvironmentVariableA("ZOLVANE_PROFILE_MARKS", path.c_str());
}

std::vector<Mark> ReadMarksFile(const std::string& path, double startedMs) {
  std::vector<Mark> marks;
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) Fail("no marks in " + path);
  char line[256];
  long long frequency = 0;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    long long counter = 0;
    int used = 0;
    if (std::sscanf(line, "%lld %n", &counter, &used) != 1) continue;
    std::string rest(line + used);
    while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) rest.pop_back();
    if (rest == "frequency") {
      frequency = counter;
      continue;
    }
    // A step with an index ends in its number.
    int index = -1;
    std::size_t space = rest.find_last_of(' ');
    if (space != std::string::npos && rest.find_first_not_of("0123456789", space + 1) == std::string::npos) {
      index = std::atoi(rest.c_str() + space + 1);
      rest.resize(space);
    }
    double ms = 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency);
    marks.push_back({ms - startedMs, rest, index});
  }
  std::fclose(file);
  DeleteFileA(path.c_str());
  // Two threads mark: a slot taken a moment after another's may hold the earlier reading.
  std::stable_sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.ms < b.ms; });
  return marks;
}

}  // namespace bench
