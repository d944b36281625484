// layout, apply and check: a layout file written and applied, and the folders' problems listed.
#include "cli/layout_commands.h"

#include <utility>

#include "cli/cli_texts.h"
#include "cli/cli_words.h"
#include "cli/move_commands.h"
#include "features/folder_check.h"
#include "features/folder_locations.h"
#include "features/folder_maker.h"
#include "features/kept_layout.h"
#include "features/layout.h"
#include "features/layout_file.h"
#include "features/usable_path.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/failure.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

// The file's bytes replaced whole (ReplaceFileWhole), its folder made first when it is missing.
std::int32_t ReplaceWhole(platform::Platform& platform, const std::string& file, const std::string& bytes) {
  std::size_t slash = file.find_last_of('\\');
  std::vector<std::string> made;
  std::int32_t code =
      slash == std::string::npos ? 0 : MakeFolderAndParents(platform.files, file.substr(0, slash), &made);
  return code != 0 ? code : ReplaceFileWhole(platform.files, file, bytes, kBesideSuffix);
}

// What a folder's line says: a move, a failure or a folder passed over says what its detail says, when it has a
// detail; any other state its words.
std::string LineWords(const LayoutResult& result) {
  using State = LayoutResult::State;
  State state = result.state;
  bool detailed = state == State::kWouldMove || state == State::kMoved || state == State::kFailed ||
                  state == State::kPassedOver || state == State::kUnchanged || state == State::kMadeAgain;
  if (detailed && !result.detail.empty()) return result.detail;
  const std::pair<State, const char*> kWords[] = {
      {State::kUnchanged, kUnchanged},   {State::kWouldMove, kWouldMove},
      {State::kMoved, kMoved},           {State::kPutBack, kPutBack},
      {State::kNotPutBack, kNotPutBack}, {State::kChangedElsewhere, kChangedElsewhere},
      {State::kNotReached, kNotReached}};
  for (const auto& [known, words] : kWords) {
    if (known == state) return words;
  }
  return "";
}

// The layout file read once, bounded; a file that is no layout is told as such, with the line that stops it.
CliResult ReadLayout(platform::Platform& platform, CliOutput& output, const std::string& file, LayoutFile* layout) {
  std::string bytes;
  std::int32_t code = platform.files.ReadWholeFile(file, kMaxLayoutFileBytes, &bytes);
  const CliResult unusable{CliResult::kUnusableInput};
  std::string notALayout = Quoted(file) + kNotALayout + "\n";
  if (code == platform::kErrorFileTooLarge) return TellError(output, unusable, notALayout + LayoutFileTooLarge());
  if (code == platform::kErrorBadFileType) return TellError(output, unusable, notALayout + kNotARegularFile);
  if (code != 0) {
    return TellError(output, {CliResult::kFailed, code},
                     DescribeFailure(platform.system, kCannotReadAction, file, code));
  }
  *layout = ParseLayoutFile(bytes);
  if (!layout->readable) {
    std::string offending = OffendingLine(layout->offendingLineNumber, layout->offendingLine);
    return TellError(output, unusable, notALayout + offending + layout->reason);
  }
  // Every path is held to the rule before anything is written: one unusable path refuses the whole file.
  FolderLocations locations(platform);
  for (const LayoutEntry& entry : layout->entries) {
    std::string refused = UnusablePathText(locations, entry.path);
    if (refused.empty()) continue;
    std::string offending = OffendingLine(entry.lineNumber, entry.line);
    return TellError(output, unusable, Quoted(file) + kPutsFolderWhereNoneCanLive + "\n" + offending + refused);
  }
  return {};
}

// The layout's folders moved (with their files, with --move), each told on its line.
CliResult ApplyEntries(platform::Platform& platform, CliOutput& output, const CliRequest& request,
                       const std::string& file, const std::vector<LayoutEntry>& entries, bool create) {
  bool dryRun = request.Has(CliSwitch::kDryRun);
  if (request.Has(CliSwitch::kMove))
    return ApplyLayoutWithFiles(platform, output, file, entries, request.hive, dryRun, create);
  LayoutRun run = ApplyLayout(platform, entries, LayoutOptions{dryRun, create, request.hive});
  for (const LayoutResult& result : run.results) {
    output.Out(AsLines(std::string(result.folder->displayName) + ": " + LineWords(result)));
  }
  CliResult told = Tell(output, run.outcome);
  if (told.kind == CliResult::kDone && run.wouldChange) told.kind = CliResult::kFoundSomething;
  return told;
}

// --undo: the kept layouts applied (their folders' locations made where they are missing), but to a folder moved
// elsewhere since the layout, which is left where it is and named; then retired once every folder is back; a run
// that fails keeps them, for the next to try again.
CliResult UndoLayout(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  std::vector<KeptLayout> kept;
  try {
    kept = ReadKeptLayouts(platform, request.hive);
  } catch (const Failure& failure) {
    return TellError(output, {CliResult::kFailed, failure.code()}, failure.what() + std::string(kNothingWritten));
  }
  FolderLocations locations(platform);
  std::vector<LayoutEntry> entries;
  std::vector<std::string> names, movedSince;
  for (const KeptLayout& layout : kept) {
    for (const LayoutEntry& entry : layout.entries) {
      bool ours = layout.Undoes(locations, entry);
      if (ours) entries.push_back(entry);
      (ours ? names : movedSince).push_back(entry.folder->displayName);
    }
  }
  if (!movedSince.empty()) output.Out(AsLines(MovedSinceLayoutText(NamedOnce(movedSince, ", "))));
  if (entries.empty() && movedSince.empty()) {
    output.Out(AsLines(kNothingToUndo));
    return {};
  }
  if (!entries.empty()) {
    CliResult undone = ApplyEntries(platform, output, request, kept.front().path, entries, true);
    if (undone.kind != CliResult::kDone || request.Has(CliSwitch::kDryRun)) return undone;
  }
  if (request.Has(CliSwitch::kDryRun)) return {};
  for (const KeptLayout& layout : kept) {
    std::string notice = RetireJournal(platform, layout.path, kKeptLayoutStays);
    if (!notice.empty()) output.Err(AsLines(notice));
  }
  if (!names.empty()) output.Out(AsLines(PutBackAsBeforeText(NamedOnce(names, ", "))));
  return {};
}

}  // namespace

std::string UnusablePathText(FolderLocations& locations, const std::string& path) {
  PathVerdict verdict = JudgePath(locations, path);
  return verdict.usable ? std::string() : NoFolderCanLiveText(path, verdict.why);
}

CliResult PrintLayout(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  FolderLocations locations(platform);
  std::vector<std::pair<const ShellFolder*, RegValue>> stored;
  for (const ShellFolder& folder : kShellFolders) {
    if (request.hive == 0 || folder.hive == request.hive)
      stored.emplace_back(&folder, locations.StoredLocation(folder));
  }
  for (const std::string& line : LayoutLines(stored)) output.Out(AsLines(line));
  return {};
}

// The file is named by its full path in what the user is told. Before anything moves, where the layout's folders
// are now is kept, unless an earlier layout kept it (KeepLayoutBefore); after, what the layout wrote to them.
CliResult ApplyLayoutFile(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  if (request.Has(CliSwitch::kUndo)) return UndoLayout(platform, output, request);
  std::string file = platform.files.FullPath(request.path);
  LayoutFile layout;
  CliResult read = ReadLayout(platform, output, file, &layout);
  if (read.kind != CliResult::kDone) return read;
  if (!request.Has(CliSwitch::kDryRun)) {
    try {
      KeepLayoutBefore(platform, layout.entries, request.hive);
    } catch (const Failure& failure) {
      return TellError(output, {CliResult::kFailed, failure.code()}, failure.what() + std::string(kNothingWritten));
    }
  }
  CliResult applied = ApplyEntries(platform, output, request, file, layout.entries, request.Has(CliSwitch::kCreate));
  if (request.Has(CliSwitch::kDryRun)) return applied;
  try {
    KeepLayoutApplied(platform, layout.entries, request.hive);
  } catch (const Failure& failure) {
    output.Err(AsLines(failure.what()));
  }
  return applied;
}

CliResult CheckFolderProblems(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  std::vector<FolderProblem> problems = CheckFolders(platform, request.hive);
  CliResult found{problems.empty() ? CliResult::kDone : CliResult::kFoundSomething};
  if (!request.Has(CliSwitch::kCsv)) {
    for (const FolderProblem& problem : problems) {
      output.Out(AsLines(std::string(problem.folder->displayName) + "\t" + problem.problem + "\t" + problem.detail));
    }
    output.Out(AsLines(ProblemCountText(problems.size())));
    return found;
  }
  // Each row says which machine and user it is of, and when: the rows of two hundred machines go into one sheet.
  std::string rows;
  std::string who = CsvField(platform.environment.Variable("COMPUTERNAME").value_or("")) + "," +
                    CsvField(platform.environment.Variable("USERNAME").value_or("")) + "," +
                    LocalTimeText(platform.system.Now(), 'T') + ",";
  if (!request.Has(CliSwitch::kNoHeader)) rows += AsLines(kCheckCsvHeader);
  for (const FolderProblem& problem : problems) {
    rows += AsLines(who + CsvField(problem.folder->displayName) + "," + CsvField(problem.problem) + "," +
                    CsvField(problem.detail));
  }
  if (problems.empty()) rows += AsLines(who + "," + kHealthyProblem + ",");
  if (request.outFile.empty()) {
    output.Out(rows);
  } else {
    std::string file = platform.files.FullPath(request.outFile);
    std::int32_t code = ReplaceWhole(platform, file, rows);
    if (code != 0) {
      return TellError(output, {CliResult::kFailed, code},
                       DescribeFailure(platform.system, kCannotWriteAction, file, code));
    }
  }
  output.Err(AsLines(ProblemCountText(problems.size())));
  return found;
}
