// A folder's move planned: the refusals that need no walk first, then one walk of the source beside the target,
// then the free space and the folders that follow.
#include "features/folder_move_plan.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "features/usable_path.h"
#include "text/ascii_case.h"
#include "text/utf16.h"
#include "vocabulary/failure.h"
#include "vocabulary/move_journal.h"

namespace {

using platform::TreeEntry;
using Step = PlannedEntry::Step;
using Way = FolderMovePlan::Way;

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::size_t Utf16Length(const std::string& text) {
  return Utf8ToUtf16Le(text).size() / 2;
}

// Whether the path is the folder or lies inside it, both in the form paths are compared in (MovePlanner::Compared).
bool IsOrInside(const std::string& path, const std::string& folder) {
  if (path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || folder.back() == '\\' || path[folder.size()] == '\\';
}

// What lies below the folder on the path ("My Music"; empty for the folder itself), or nothing when the path is
// not inside it: ASCII letters compared without regard to case, trailing backslashes left out.
std::optional<std::string> Below(std::string path, std::string folder) {
  path = WithoutTrailingBackslash(path);
  folder = WithoutTrailingBackslash(folder);
  if (folder.empty() || !IsOrInside(AsciiLowered(path), AsciiLowered(folder))) return std::nullopt;
  bool joint = path.size() > folder.size() && folder.back() != '\\';
  return path.substr(folder.size() + (joint ? 1 : 0));
}

bool IsRoot(const std::string& path) {
  if (path.size() <= 3 && path.size() >= 2 && path[1] == ':') return true;
  std::size_t server = path.find('\\', 2);
  return path.compare(0, 2, "\\\\") == 0 && (server == std::string::npos || path.find('\\', server + 1) == path.npos);
}

bool IsNotThere(std::int32_t code) {
  return code == platform::kErrorFileNotFound || code == platform::kErrorPathNotFound;
}

// A folder still to walk, by its path below the source.
struct Pending {
  std::string path;
  bool joined = false;   // the target holds a folder of this path already
  bool renamed = false;  // it rides with a folder renamed whole
};

class MovePlanner {
 public:
  MovePlanner(platform::Platform& platform, FolderMovePlan& plan, std::size_t mostEntries)
      : platform_(platform), locations_(platform), plan_(plan), mostEntries_(mostEntries) {}

  void Plan(const std::string& targetStored, const std::vector<std::string>& leftOut) {
    PathVerdict verdict = JudgePath(locations_, targetStored);
    plan_.target = verdict.expanded;
    if (!verdict.usable) return Refuse(MoveTargetUnusable(targetStored, verdict.why));
    RegValue current = locations_.CurrentLocation(*plan_.folder);
    if (current.IsText()) plan_.source = current.text();
    TreeEntry source;
    std::int32_t code = plan_.source.empty() ? platform::kErrorFileNotFound : Tree().Describe(plan_.source, &source);
    if (IsNotThere(code)) return;
    if (code != 0) return Refuse(DescribeFailure(platform_.system, kCannotReadAction, plan_.source, code));
    if (!source.folder) return Refuse(LocationIsAFile(plan_.source) + ".");
    for (const std::string& folder : leftOut) {
      std::optional<std::string> below = Below(folder, plan_.source);
      if (below && !below->empty()) leftOut_.insert(AsciiLowered(*below));
    }
    if (!RefuseSourceOrTarget(source) && !RefuseTargetEntry() && ChooseWay() && Walk()) PlanFollowers();
  }

 private:
  platform::FileTree& Tree() { return platform_.fileTree; }
  void Refuse(std::string why) { plan_.refusals.push_back(std::move(why)); }

  // The path's long full form without a trailing backslash, ASCII letters lowered: as two paths are compared.
  std::string Compared(const std::string& path) {
    return AsciiLowered(WithoutTrailingBackslash(platform_.files.LongFullPath(path)));
  }

  // Whether the source or the target, as places, forbid the move; the same place moves nothing.
  bool RefuseSourceOrTarget(const TreeEntry& source) {
    sourceCompared_ = Compared(plan_.source);
    std::string target = Compared(plan_.target);
    if (target == sourceCompared_) {
      plan_.way = Way::kSamePlace;
      return true;
    }
    if (IsRoot(sourceCompared_)) Refuse(SourceNotMovable(plan_.source, kIsADriveRoot));
    RefuseIfHeld(platform_.system.WindowsFolder(), kHoldsWindowsFolder);
    RefuseIfHeld(platform_.environment.Variable("USERPROFILE").value_or(""), kHoldsProfileFolder);
    RefuseIfHeld(platform_.environment.Variable("ALLUSERSPROFILE").value_or(""), kHoldsAllUsersProfile);
    if (source.reparsePoint) Refuse(SourceNotMovable(plan_.source, kIsALink));
    if (IsOrInside(target, sourceCompared_)) Refuse(TargetInsideSource(plan_.target, plan_.source));
    if (IsOrInside(sourceCompared_, target)) Refuse(SourceInsideTarget(plan_.source, plan_.target));
    return plan_.Refused();
  }
  void RefuseIfHeld(const std::string& folder, const char* what) {
    if (!folder.empty() && IsOrInside(Compared(folder), sourceCompared_)) Refuse(SourceNotMovable(plan_.source, what));
  }

  // Whether what the target names already refuses it; else whether it is a folder to move into.
  bool RefuseTargetEntry() {
    TreeEntry target;
    std::int32_t code = Tree().Describe(plan_.target, &target);
    if (IsNotThere(code)) return false;
    if (code != 0) Refuse(DescribeFailure(platform_.system, kCannotReadAction, plan_.target, code));
    if (code == 0 && !target.folder) Refuse(LocationIsAFile(plan_.target) + ".");
    plan_.targetThere = code == 0;
    return plan_.Refused();
  }

  bool ChooseWay() {
    platform::VolumeInfo from, to;
    for (auto [path, volume] : {std::pair{&plan_.source, &from}, std::pair{&plan_.target, &to}}) {
      if (std::int32_t code = Tree().Volume(*path, volume)) {
        Refuse(DescribeFailure(platform_.system, kCannotFindDiskAction, *path, code));
        return false;
      }
    }
    plan_.way = from.id == to.id ? Way::kRename : Way::kCopy;
    targetFreeBytes_ = to.freeBytes;
    return true;
  }

  // Walks the source, folder by folder from a list rather than by recursion, and plans each entry beside what the
  // target holds of the same name; whether files move (the source holds any).
  bool Walk() {
    std::vector<Pending> pending{Pending{std::string(), plan_.targetThere, false}};
    while (!pending.empty() && !stopped_) {
      Pending folder = std::move(pending.back());
      pending.pop_back();
      std::vector<TreeEntry> listed;
      if (!ListOrRefuse(plan_.source, folder.path, &listed)) break;
      if (folder.path.empty() && listed.empty()) {
        plan_.way = Way::kEmptySource;
        return false;
      }
      std::unordered_map<std::string, TreeEntry> there;
      if (folder.joined && !IndexTarget(folder.path, &there)) break;
      for (TreeEntry& entry : listed) {
        if (!Count(1)) break;
        PlanEntry(folder, std::move(entry), there, &pending);
        if (stopped_) break;
      }
    }
    RefuseWhatTheWalkFound();
    return true;
  }

  bool Count(std::size_t entries) {
    seen_ += entries;
    if (seen_ <= mostEntries_) return true;
    Refuse(TooManyEntries(plan_.source, mostEntries_));
    stopped_ = true;
    return false;
  }

  bool ListOrRefuse(const std::string& root, const std::string& below, std::vector<TreeEntry>* listed) {
    std::string path = JoinedPath(root, below);
    std::int32_t code = Tree().List(path, listed);
    if (code == 0) return true;
    Refuse(DescribeFailure(platform_.system, kCannotReadAction, path, code));
    stopped_ = true;
    return false;
  }

  // The target's folder of this path, by its names without regard to case, looked up in constant time.
  bool IndexTarget(const std::string& below, std::unordered_map<std::string, TreeEntry>* there) {
    std::vector<TreeEntry> listed;
    if (!ListOrRefuse(plan_.target, below, &listed) || !Count(listed.size())) return false;
    there->reserve(listed.size());
    for (TreeEntry& entry : listed) there->emplace(AsciiLowered(entry.name), std::move(entry));
    return true;
  }

  void PlanEntry(const Pending& folder, TreeEntry entry, const std::unordered_map<std::string, TreeEntry>& there,
                 std::vector<Pending>* pending) {
    std::string path = JoinedPath(folder.path, entry.name);
    if (entry.folder && !leftOut_.empty() && leftOut_.count(AsciiLowered(path))) return;
    if (Utf16Length(JoinedPath(plan_.target, path)) > kLongestUsablePath) tooLong_.push_back(path);
    if (entry.reparsePoint) return reparsePoints_.push_back(path);
    auto clash = folder.joined ? there.find(AsciiLowered(entry.name)) : there.end();
    if (clash != there.end()) return PlanBeside(path, std::move(entry), clash->second, pending);
    if (!entry.folder) {
      ++plan_.files;
      plan_.bytes += entry.size;
    }
    bool renamed = folder.renamed || plan_.way == Way::kRename;
    if (entry.folder) pending->push_back(Pending{path, false, renamed});
    if (folder.renamed) return;
    Step step = renamed ? Step::kRename : entry.folder ? Step::kMakeFolder : Step::kCopy;
    plan_.entries.push_back(PlannedEntry{std::move(path), step, std::move(entry)});
  }

  // An entry whose name the target's folder holds already: a folder is moved into, a file of the same bytes is
  // there already, anything else would be lost.
  void PlanBeside(std::string path, TreeEntry entry, const TreeEntry& there, std::vector<Pending>* pending) {
    bool same = false;
    if (entry.folder && there.folder && !there.reparsePoint) {
      pending->push_back(Pending{path, true, false});
      plan_.entries.push_back(PlannedEntry{std::move(path), Step::kJoin, std::move(entry)});
      return;
    }
    if (!entry.folder && !there.folder) {
      std::string targetPath = JoinedPath(plan_.target, path);
      if (std::int32_t code = Tree().CompareBytes(JoinedPath(plan_.source, path), targetPath, &same)) {
        stopped_ = true;
        return Refuse(DescribeFailure(platform_.system, kCannotCompareAction, targetPath, code));
      }
    }
    if (!same) return clashes_.push_back(path);
    ++plan_.filesAlreadyThere;
    plan_.entries.push_back(PlannedEntry{std::move(path), Step::kAlreadyThere, std::move(entry)});
  }

  void RefuseWhatTheWalkFound() {
    if (!reparsePoints_.empty()) Refuse(HoldsReparsePoints(plan_.source, reparsePoints_));
    if (!clashes_.empty()) Refuse(TargetFilesDiffer(plan_.target, clashes_));
    if (!tooLong_.empty()) Refuse(PathsTooLongAtTarget(plan_.target, tooLong_, kLongestUsablePath));
    if (plan_.way == Way::kCopy && plan_.bytes > targetFreeBytes_)
      Refuse(NotEnoughFreeSpace(plan_.target, plan_.bytes, targetFreeBytes_));
  }

  // Every other folder whose location is the source or lies inside it points at the same place in the target,
  // the rest of its stored value kept as it is when that value begins with the source's.
  void PlanFollowers() {
    std::string sourceLong = platform_.files.LongFullPath(plan_.source);
    std::string sourceStored = StoredText(*plan_.folder);
    for (const ShellFolder& other : kShellFolders) {
      RegValue location = locations_.CurrentLocation(other);
      if (&other == plan_.folder || !location.IsText() || location.text().empty()) continue;
      std::optional<std::string> below = Below(platform_.files.LongFullPath(location.text()), sourceLong);
      if (!below) continue;
      below = Below(StoredText(other), sourceStored).value_or(*below);
      FollowingFolder follower{&other, location.text(),
                               JoinedPath(WithoutTrailingBackslash(plan_.targetStored), *below), ""};
      PathVerdict verdict = JudgePath(locations_, follower.newStored);
      follower.newLocation = verdict.expanded;
      if (!verdict.usable) Refuse(FollowerUnusable(other.displayName, follower.newStored, verdict.why));
      plan_.following.push_back(std::move(follower));
    }
  }

  std::string StoredText(const ShellFolder& folder) {
    RegValue stored = locations_.StoredLocation(folder);
    return stored.IsText() ? stored.text() : std::string();
  }

  platform::Platform& platform_;
  FolderLocations locations_;
  FolderMovePlan& plan_;
  std::size_t mostEntries_;
  std::string sourceCompared_;
  std::uint64_t targetFreeBytes_ = 0;
  std::size_t seen_ = 0;
  bool stopped_ = false;
  std::vector<std::string> reparsePoints_, clashes_, tooLong_;
  std::unordered_set<std::string> leftOut_;  // by their paths below the source, lowered
};

}  // namespace

FolderMovePlan PlanFolderMove(platform::Platform& platform, const ShellFolder& folder, const std::string& targetStored,
                              const std::vector<std::string>& leftOut, std::size_t mostEntries) {
  FolderMovePlan plan;
  plan.folder = &folder;
  plan.targetStored = targetStored;
  MovePlanner(platform, plan, mostEntries).Plan(targetStored, leftOut);
  return plan;
}

bool IsOrLiesInside(const std::string& path, const std::string& folder) {
  return Below(path, folder).has_value();
}

std::string DescribeFolderMove(const FolderMovePlan& plan) {
  std::string name = plan.folder->displayName;
  if (plan.Refused()) {
    std::string text = FilesMayNotMove(name);
    for (const std::string& why : plan.refusals) text += "\n  " + why;
    return text;
  }
  std::string source = plan.source.empty() ? kNoPathShown : plan.source;
  switch (plan.way) {
    case Way::kNoSource:
      return NoFilesToMove(name, source, kDoesNotExist);
    case Way::kEmptySource:
      return NoFilesToMove(name, source, kIsEmpty);
    case Way::kSamePlace:
      return AlreadyAtTarget(name, plan.target);
    case Way::kRename:
    case Way::kCopy:
      break;
  }
  std::string text = FilesWouldMove(name, plan.files, plan.bytes, source, plan.target, plan.way == Way::kRename);
  if (plan.filesAlreadyThere > 0) text += "\n" + FilesAlreadyThere(name, plan.filesAlreadyThere, source, plan.target);
  for (const FollowingFolder& follower : plan.following)
    text += "\n" + FollowsFolder(follower.folder->displayName, name, follower.newLocation);
  return text;
}
