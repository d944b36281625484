// layout, apply and check: a layout file written and applied, and the folders' problems listed.
#include "cli/layout_commands.h"

#include "cli/cli_words.h"
#include "features/folder_check.h"
#include "features/folder_locations.h"
#include "features/layout.h"
#include "features/layout_file.h"
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
  if (layout->readable) return true;
  output.Err(AsLines(refusal + OffendingLine(layout->offendingLineNumber, layout->offendingLine) + layout->reason));
  *exitCode = kExitNotAFileOfOurs;
  return false;
}

}  // namespace

int PrintLayout(platform::Platform& platform, CliOutput& output) {
  FolderLocations locations(platform);
  std::vector<std::pair<const ShellFolder*, RegValue>> stored;
  for (const ShellFolder& folder : kShellFolders) stored.emplace_back(&folder, locations.StoredLocation(folder));
  for (const std::string& line : LayoutLines(stored)) output.Out(AsLines(line));
  return kExitSuccess;
}

int ApplyLayoutFile(platform::Platform& platform, CliOutput& output, const std::string& file, bool dryRun) {
  LayoutFile layout;
  int exitCode = kExitSuccess;
  if (!ReadLayout(platform, output, file, &layout, &exitCode)) return exitCode;
  LayoutRun run = ApplyLayout(platform, layout.entries, dryRun);
  for (const LayoutResult& result : run.results) {
    std::string words = result.state == LayoutResult::State::kFailed ? result.detail : StateWords(result.state);
    if (result.state == LayoutResult::State::kNotPutBack) words += " (" + result.detail + ")";
    output.Out(AsLines(std::string(result.folder->displayName) + ": " + words));
  }
  exitCode = Tell(output, run.outcome);
  return exitCode == kExitSuccess && run.wouldChange ? kExitFoundSomething : exitCode;
}

int CheckFolderProblems(platform::Platform& platform, CliOutput& output, bool csv) {
  std::vector<FolderProblem> problems = CheckFolders(platform);
  std::string computer = platform.environment.Variable("COMPUTERNAME").value_or("");
  if (csv) output.Out(AsLines("Computer,Folder,Problem,Detail"));
  for (const FolderProblem& problem : problems) {
    if (csv) {
      output.Out(AsLines(CsvField(computer) + "," + CsvField(problem.folder->displayName) + "," +
                         CsvField(problem.problem) + "," + CsvField(problem.detail)));
    } else {
      output.Out(AsLines(std::string(problem.folder->displayName) + "\t" + problem.problem + "\t" + problem.detail));
    }
  }
  std::size_t count = problems.size();
  std::string total =
      count == 0 ? "No problem found." : std::to_string(count) + (count == 1 ? " problem." : " problems.");
  if (csv) {
    output.Err(AsLines(total));
  } else {
    output.Out(AsLines(total));
  }
  return count == 0 ? kExitSuccess : kExitFoundSomething;
}
