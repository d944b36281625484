// The marks a profiling build writes at exit, read back by the drivers that ran it.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct Mark {
  double ms;         // since the driver's CreateProcess call
  std::string step;  // the step that ended
  int index;         // the step's index (a control, a command), or -1
};

// Sets ZOLVANE_PROFILE_MARKS to a fresh file of that path for the programs started from now on.
void MarkInto(const std::string& path);
// The file's marks in time order, counted from startedMs (the driver's reading when it started the program);
// the file is deleted. Fails when there is none.
std::vector<Mark> ReadMarksFile(const std::string& path, double startedMs);

}  // namespace bench
