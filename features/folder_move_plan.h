// The plan of moving a special folder's files with it to a new location, made before anything is touched: where
// the files are and where they go, whether they may go and why not, how (renamed on one volume or copied to
// another), and the other special folders inside it that follow. It only reads; a mover carries it out, and a
// dry run tells it (DescribeFolderMove).
//
// On one volume each entry planned kRename is renamed whole, in a time that does not grow with the files' sizes.
// A volume reached through a second drive letter (subst) has another id, so it is planned as another volume; and
// where the ids agree but Rename still answers ERROR_NOT_SAME_DEVICE (17), the mover copies that entry instead,
// as across volumes (the entries below it are then walked afresh and copied file by file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"

// The most entries a plan looks at, in the folder to move and in the folders of the target it moves into; a
// folder that holds more is refused rather than walked to its end.
constexpr std::size_t kMostEntriesPlanned = 1000000;

// One step of carrying out the plan: a file or a folder by its path below the source, which is also its path
// below the target.
struct PlannedEntry {
  enum class Step {
    kRename,        // on one volume: renamed whole, with everything it holds
    kMakeFolder,    // across volumes: made at the target, and given its attributes and times once it is filled
    kCopy,          // across volumes: a file copied
    kJoin,          // a folder the target holds already: what it holds is planned entry by entry
    kAlreadyThere,  // the target holds a file of this name with the same bytes: nothing to copy; deleted here later
  };
  std::string path;
  Step step = Step::kCopy;
  platform::TreeEntry entry;  // as the source's folder lists it
};

// Another special folder whose location lies inside the one that moves (or is the same): it is planned to point
// at the same place inside the target.
struct FollowingFolder {
  const ShellFolder* folder = nullptr;
  std::string oldLocation;  // expanded, as the window shows it
  // Its new User Shell Folders value: the target as given, then the rest of its own value, references kept.
  std::string newStored;
  std::string newLocation;  // newStored expanded
};

struct FolderMovePlan {
  enum class Way {
    kNoSource,     // the folder's location does not exist: nothing moves, the relocation goes on as ever
    kEmptySource,  // it holds nothing: the same
    kSamePlace,    // the target is where the folder is now: the same
    kRename,       // on one volume
    kCopy,         // across volumes: every file copied, then deleted here
  };

  const ShellFolder* folder = nullptr;
  std::string source;        // where the folder lives now, expanded, as the window shows it
  std::string targetStored;  // the new location as the user gave it
  std::string target;        // expanded
  // Whether the target is a folder already; else the mover makes it, with the folders above it, first.
  bool targetThere = false;
  Way way = Way::kNoSource;
  // Why the files may not move, each a sentence; the plan is carried out only when there is none.
  std::vector<std::string> refusals;
  // Folders before what they hold.
  std::vector<PlannedEntry> entries;
  std::uint64_t files = 0;  // the files that move (renamed or copied), without those already there
  std::uint64_t bytes = 0;  // what they hold
  std::uint64_t filesAlreadyThere = 0;
  std::vector<FollowingFolder> following;

  bool Refused() const { return !refusals.empty(); }
  bool MovesFiles() const { return way == Way::kRename || way == Way::kCopy; }
};

// Plans the move of folder's files to targetStored (its references expanded here), reading the registry, the
// environment and the file tree only. The folders of leftOut (locations, expanded) that lie inside the source
// move on their own before it: they are neither walked nor counted. mostEntries bounds the entries looked at.
FolderMovePlan PlanFolderMove(platform::Platform& platform, const ShellFolder& folder, const std::string& targetStored,
                              const std::vector<std::string>& leftOut = {},
                              std::size_t mostEntries = kMostEntriesPlanned);

// Whether the path is the folder or lies inside it: ASCII letters compared without regard to case, trailing
// backslashes left out.
bool IsOrLiesInside(const std::string& path, const std::string& folder);

// The plan as a dry run prints it, a line each: what would move, or why nothing does, or why it may not; then
// the folders that follow.
std::string DescribeFolderMove(const FolderMovePlan& plan);
