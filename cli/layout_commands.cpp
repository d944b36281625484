// layout, apply and check: a layout file written and applied, and the folders' problems listed.
#include "cli/layout_commands.h"

#include "cli/cli_words.h"
#include "features/folder_check.h"
#include "features/folder_locations.h"
#include "features/layout.h"
#include "features/layout_file.h"
#include "features/usable_path.h"
#include "vocabulary/failure.h"

namespace {

const char* StateWords(LayoutResult::State state) {
  switch (state) {
    case LayoutResult::State::kUnchanged:
      return "unchanged";
    case LayoutResult::State::kWouldMove:
      return "would move";
    case LayoutResult::State::kMoved:
      return "moved";
    case LayoutResult::State::kPutBack:
      return "put back";
    case LayoutResult::State::kNotPutBack:
      return "moved, and could not be put back";
    case LayoutResult::State::kChangedElsewhere:
      return "moved, then changed by another program: left as it made it";
    case LayoutResult::State::kNotReached:
      return "not moved: the layout stopped before it";
    default:
      return "";
  }
}

// "2026-12-09T01:57:00": ISO 8601, local time.
std::string IsoTime(const platform::LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
  return text;
}

// What a folder's line says: the state, or what its detail says of it.
std::string LineWords(const LayoutResult& result) {
  using State = LayoutResult::State;
  switch (result.state) {
    case State::kWouldMove:
    case State::kMoved:
    case State::kFailed:
    case State::kPassedOver:
      return result.detail.empty() ? StateWords(result.state) : result.detail;
    default:
      return StateWords(result.state);
  }
}

// The layout file read once, bounded; a file that is no layout is told as such, with the line that stops it.
bool ReadLayout(platform::Platform& platform, CliOutput& output, const std::string& file, LayoutFile* layout,
                int* exitCode) {
  std::string bytes;
  std::int32_t code = platform.files.ReadWholeFile(file, kMaxLayoutFileBytes, &bytes);
  std::string refusal = Quoted(file) + " is not a layout of the special folders, so nothing was changed.\n";
  if (code == platform::kErrorBadFileType || code == platform::kErrorFileTooLarge) {
    output.Err(AsLines(refusal + (code == platform::kErrorFileTooLarge ? LayoutFileTooLarge() : kNotARegularFile)));
    *exitCode = kExitNotAFileOfOurs;
    return false;
  }
  if (code != 0) {
    output.Err(AsLines(DescribeFailure(platform.system, "Cannot read", file, code)));
    *exitCode = FailureExitCode(code);
    return false;
  }
  *layout = ParseLayoutFile(bytes);
  if (layout->readable) {
    // Every path is held to the rule before anything is written: one unusable path refuses the whole file.
    FolderLocations locations(platform);
    for (const LayoutEntry& entry : layout->entries) {
      std::string refused = UnusablePathText(locations, entry.path);
      if (refused.empty()) continue;
      output.Err(AsLines(Quoted(file) + " puts a folder where no folder can live, so nothing was changed.\n" +
                         OffendingLine(entry.lineNumber, entry.line) + refused));
      *exitCode = kExitNotAFileOfOurs;
      return false;
    }
    return true;
  }
  output.Err(AsLines(refusal + OffendingLine(layout->offendingLineNumber, layout->offendingLine) + layout->reason));
  *exitCode = kExitNotAFileOfOurs;
  return false;
}

}  // namespace

std::string UnusablePathText(FolderLocations& locations, const std::string& path) {
  PathVerdict verdict = JudgePath(locations, path);
  if (verdict.usable) return std::string();
  return "The path " + Quoted(path) + " cannot be where a folder lives: " + verdict.why + ".";
}

int PrintLayout(platform::Platform& platform, CliOutput& output, platform::HKey hive) {
  FolderLocations locations(platform);
  std::vector<std::pair<const ShellFolder*, RegValue>> stored;
  for (const ShellFolder& folder : kShellFolders) {
    if (hive == 0 || folder.hive == hive) stored.emplace_back(&folder, locations.StoredLocation(folder));
  }
  for (const std::string& line : LayoutLines(stored)) output.Out(AsLines(line));
  return kExitSuccess;
}

int ApplyLayoutFile(platform::Platform& platform, CliOutput& output, const std::string& file,
                    const LayoutOptions& options) {
  LayoutFile layout;
  int exitCode = kExitSuccess;
  if (!ReadLayout(platform, output, file, &layout, &exitCode)) return exitCode;
  LayoutRun run = ApplyLayout(platform, layout.entries, options);
  for (const LayoutResult& result : run.results) {
    output.Out(AsLines(std::string(result.folder->displayName) + ": " + LineWords(result)));
  }
  exitCode = Tell(output, run.outcome);
  return exitCode == kExitSuccess && run.wouldChange ? kExitFoundSomething : exitCode;
}

int CheckFolderProblems(platform::Platform& platform, CliOutput& output, const CheckOptions& options) {
  std::vector<FolderProblem> problems = CheckFolders(platform, options.hive);
  std::size_t count = problems.size();
  std::string total =
      count == 0 ? "No problem found." : std::to_string(count) + (count == 1 ? " problem." : " problems.");
  if (!options.csv) {
    for (const FolderProblem& problem : problems) {
      output.Out(AsLines(std::string(problem.folder->displayName) + "\t" + problem.problem + "\t" + problem.detail));
    }
    output.Out(AsLines(total));
    return count == 0 ? kExitSuccess : kExitFoundSomething;
  }
  // Each row says which machine and user it is of, and when: the rows of two hundred machines go into one file.
  std::string who = CsvField(platform.environment.Variable("COMPUTERNAME").value_or("")) + "," +
                    CsvField(platform.environment.Variable("USERNAME").value_or("")) + "," +
                    IsoTime(platform.system.Now()) + ",";
  if (!options.noHeader) output.Out(AsLines("Computer,User,Time,Folder,Problem,Detail"));
  for (const FolderProblem& problem : problems) {
    output.Out(AsLines(who + CsvField(problem.folder->displayName) + "," + CsvField(problem.problem) + "," +
                       CsvField(problem.detail)));
  }
  if (count == 0) output.Out(AsLines(who + ",ok,"));
  output.Err(AsLines(total));
  return count == 0 ? kExitSuccess : kExitFoundSomething;
}
