// --move: each folder's plan made and held to before anything moves, its files moved with a real wait for a file
// in use and a progress line on a console, and its summary lines.
#include "cli/move_commands.h"

#include <algorithm>

#include "cli/cli_texts.h"
#include "cli/progress_line.h"
#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "features/folder_maker.h"
#include "features/folder_move_plan.h"
#include "features/folder_mover.h"
#include "features/layout.h"
#include "vocabulary/failure.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/shell_folder_keys.h"

namespace {

constexpr std::uint32_t kMostPausedMs = 3000;

// What a move came to, as the command line exits with it (ExitCode): the mover's 5 stands for access denied
// alone, so its 6 never carries that code.
CliResult ResultOf(const FolderMoveOutcome& moved) {
  switch (moved.exitCode) {
    case 0:
      return {};
    case 3:
      return {CliResult::kUnusableInput};
    case 5:
      return {CliResult::kFailed, platform::kErrorAccessDenied};
    default:
      break;
  }
  std::int32_t code =
      moved.outcome.code == platform::kErrorAccessDenied ? platform::kErrorFunctionFailed : moved.outcome.code;
  return {CliResult::kFailed, code};
}

// The lines of a move done: the folder's, those of the folders that followed it, then what the mover said beyond
// its first line (files kept in the old place as well, or not deleted there).
std::string MovedLines(const FolderMoveOutcome& moved) {
  const FolderMovePlan& plan = moved.plan;
  std::string name = plan.folder->displayName;
  std::string text = plan.MovesFiles() ? MovedWithFilesLine(name, plan.files, plan.bytes, plan.source, plan.target)
                                       : MovedWithoutFilesLine(name, plan.target);
  for (const FollowingFolder& follower : plan.following)
    text += "\n" + FollowsFolder(follower.folder->displayName, name, follower.newLocation);
  std::size_t firstLineEnd = moved.outcome.message.find('\n');
  if (firstLineEnd != std::string::npos) text += moved.outcome.message.substr(firstLineEnd);
  return text;
}

// A folder's move: its location made first with --create, then its files moved, waiting for a file in use a
// few seconds at most, with the progress on a console.
CliResult MoveOne(platform::Platform& platform, CliOutput& output, const ShellFolder& folder,
                  const std::string& targetStored, bool create) {
  std::string location = FolderLocations(platform).ExpandText(targetStored);
  try {
    if (!ReadyLocation(platform, location, create).made.empty()) output.Err(AsLines(MadeFolderText(location)));
  } catch (const Failure& failure) {
    return TellError(output, {CliResult::kFailed, failure.code()},
                     failure.what() + std::string(kNotMadeNothingWritten));
  }
  // A file in use is tried five times, half a second apart; however many are in use, the move pauses three
  // seconds at most in all, and then tries without pausing.
  FileInUseWait wait;
  std::uint32_t paused = 0;
  wait.pause = [&](std::uint32_t ms) {
    if (paused >= kMostPausedMs) return;
    platform.system.Pause(ms);
    paused += ms;
  };
  ProgressLine line(platform.system, output);
  FolderMoveOutcome moved =
      MoveFolderWithFiles(platform, folder, targetStored, wait,
                          [&](const MoveProgress& progress) { line.Show(folder.displayName, progress); });
  line.Clear();
  for (const std::string& notice : moved.outcome.notices) output.Err(AsLines(notice));
  if (moved.exitCode == 0) {
    output.Out(AsLines(MovedLines(moved)));
    if (!platform.files.IsFolder(location)) output.Err(AsLines(NotThereYetText(location)));
    return {};
  }
  Outcome failed = moved.outcome;
  failed.notices.clear();
  Tell(output, failed);
  return ResultOf(moved);
}

// The folders a plan's folder would carry along but the layout moves elsewhere itself (and first): they follow
// it no more.
void DropFollowersMovedThemselves(FolderMovePlan* plan, const std::vector<const ShellFolder*>& moving) {
  auto& following = plan->following;
  following.erase(std::remove_if(following.begin(), following.end(),
                                 [&](const FollowingFolder& follower) {
                                   return std::find(moving.begin(), moving.end(), follower.folder) != moving.end();
                                 }),
                  following.end());
}

// Whether both of the folder's values hold what a move to targetStored would write.
bool ValuesAlreadySo(platform::Platform& platform, const ShellFolder& folder, const std::string& targetStored) {
  std::vector<bool> already =
      AlreadySo(platform.registry, FolderLocations(platform).RelocationOf(folder, targetStored));
  return std::find(already.begin(), already.end(), false) == already.end();
}

// A folder of a layout that moves, with its plan made before anything is touched.
struct Planned {
  const LayoutEntry* entry;
  FolderMovePlan plan;
};

// The move of a folder out of which the layout's files would all go refused, when the layout puts another of
// its folders inside it: that one would be carried along, and put back at the next run.
void RefuseCarryingAway(platform::Platform& platform, const std::vector<LayoutEntry>& entries, FolderMovePlan* plan) {
  FolderLocations locations(platform);
  for (const LayoutEntry& entry : entries) {
    std::string location = locations.ExpandText(entry.path);
    if (entry.folder != plan->folder && plan->MovesFiles() && IsOrLiesInside(location, plan->source))
      plan->refusals.push_back(KeptInsideText(entry.folder->displayName, location));
  }
}

}  // namespace

CliResult MoveFolderCommand(platform::Platform& platform, CliOutput& output, const ShellFolder& folder,
                            const std::string& targetStored, bool dryRun, bool create) {
  if (!dryRun) return MoveOne(platform, output, folder, targetStored, create);
  FolderMovePlan plan = PlanFolderMove(platform, folder, targetStored);
  output.Out(AsLines(DescribeFolderMove(plan)));
  if (plan.Refused()) return {CliResult::kUnusableInput};
  return {ValuesAlreadySo(platform, folder, targetStored) ? CliResult::kDone : CliResult::kFoundSomething};
}

CliResult ApplyLayoutWithFiles(platform::Platform& platform, CliOutput& output, const std::string& file,
                               const std::vector<LayoutEntry>& entries, platform::HKey hive, bool dryRun, bool create) {
  std::vector<Planned> planned;
  std::vector<const ShellFolder*> moving;
  std::vector<std::string> lines;  // a folder's line, in the file's order
  std::size_t unchanged = 0;
  std::size_t passedOver = 0;
  std::size_t madeAgain = 0;
  for (const LayoutEntry& entry : entries) {
    std::string name = std::string(entry.folder->displayName) + ": ";
    if (hive != 0 && entry.folder->hive != hive) {
      lines.push_back(name + PassedOverDetail(ShortHiveName(entry.folder->hive)));
      ++passedOver;
    } else if (ValuesAlreadySo(platform, *entry.folder, entry.path)) {
      // Made again, when asked and its location is missing, before anything moves: as apply without --move.
      std::vector<std::string> made;
      LayoutResult there;
      try {
        there = AlreadyThere(platform, entry, create, dryRun, &made);
      } catch (const Failure& failure) {
        return TellError(output, {CliResult::kFailed, failure.code()},
                         failure.what() + std::string(kNotMadeNothingWritten));
      }
      lines.push_back(name + (there.detail.empty() ? kUnchanged : there.detail));
      bool again = there.state == LayoutResult::State::kMadeAgain;
      madeAgain += again;
      unchanged += !again;
    } else {
      lines.emplace_back();
      planned.push_back(Planned{&entry, FolderMovePlan()});
      moving.push_back(entry.folder);
    }
  }
  // A folder that moves on its own is left out of the plan of another it lies inside: it moves first.
  std::vector<std::string> sources;
  for (const ShellFolder* folder : moving) {
    RegValue location = FolderLocations(platform).CurrentLocation(*folder);
    if (location.IsText()) sources.push_back(location.text());
  }
  bool refused = false;
  for (Planned& each : planned) {
    each.plan = PlanFolderMove(platform, *each.entry->folder, each.entry->path, sources);
    DropFollowersMovedThemselves(&each.plan, moving);
    RefuseCarryingAway(platform, entries, &each.plan);
    refused = refused || each.plan.Refused();
    if (dryRun) lines[static_cast<std::size_t>(each.entry - entries.data())] = DescribeFolderMove(each.plan);
  }
  if (refused && !dryRun) {
    for (const Planned& each : planned) {
      if (each.plan.Refused()) output.Err(AsLines(DescribeFolderMove(each.plan)));
    }
    return TellError(output, {CliResult::kUnusableInput}, Quoted(file) + kFilesMayNotMove);
  }
  for (const std::string& line : lines) {
    if (!line.empty()) output.Out(AsLines(line));
  }
  // As apply's own dry run: 2 when something would change.
  bool changing = !planned.empty() || madeAgain > 0;
  if (dryRun) return {refused ? CliResult::kUnusableInput : changing ? CliResult::kFoundSomething : CliResult::kDone};
  // A folder inside another moves first: its files are carried once, not with the other and then again.
  std::stable_sort(planned.begin(), planned.end(), [](const Planned& one, const Planned& other) {
    return one.plan.source.size() > other.plan.source.size();
  });
  for (std::size_t i = 0; i < planned.size(); ++i) {
    const LayoutEntry& entry = *planned[i].entry;
    CliResult moved = MoveOne(platform, output, *entry.folder, entry.path, create);
    if (moved.kind == CliResult::kDone) continue;
    for (std::size_t k = i + 1; k < planned.size(); ++k)
      output.Out(AsLines(std::string(planned[k].entry->folder->displayName) + ": " + kNotReached));
    output.Err(AsLines(LayoutStoppedText(entry.folder->displayName)));
    return moved;
  }
  // Last, as apply without --move ends: the one line a logon script keeps of a run that went well.
  output.Out(AsLines(LayoutSummary(planned.size(), false, unchanged, passedOver, madeAgain)));
  return {};
}
