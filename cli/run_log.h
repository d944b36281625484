// zolvane-cli's own log (--log FILE): one line a run of apply, check or restore, appended whole, in UTF-8.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "platform/platform.h"

// Passes what a run says on to the real output, and keeps its lines for the log's summary.
class RecordedOutput : public CliOutput {
 public:
  explicit RecordedOutput(CliOutput& output) : output_(output) {}
  void Out(const std::string& text) override;
  void Err(const std::string& text) override;
  // A run that came to a result: the last line it said. A failure: every line of standard error, on one line.
  std::string Summary(bool failed) const;

 private:
  void Keep(const std::string& text, bool error);

  CliOutput& output_;
  std::string last_;
  std::vector<std::string> errors_;
};

// The log's line of a run, its fields separated by a tab, each on one line:
// "2026-12-09 01:57:00<TAB>PC<TAB>Ann<TAB>apply layout.txt --move<TAB>0<TAB>1 moved, 0 unchanged.\r\n".
std::string RunLogLine(const platform::LocalTime& time, const std::string& computer, const std::string& user,
                       const std::string& command, int exitCode, const std::string& summary);

// Adds the run's line to the request's log, making its folder when it is missing; a line that cannot be written is
// said on standard error, with the line, and a run that came to a result (0, or 2: a problem found) ends with 6.
// Gives the exit code to end with.
int LogRun(platform::Platform& platform, CliOutput& output, const CliRequest& request, const RecordedOutput& said,
           int exitCode);
