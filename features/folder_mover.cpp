// A folder's move carried out: the journal first, then the files, then the values, then the sources; a failure
// before the values switch puts the files back from the same journal a cut-off run's successor reads.
#include "features/folder_mover.h"

#include <algorithm>
#include <map>
#include <utility>

#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "features/folder_move_plan.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/failure.h"
#include "vocabulary/move_journal.h"
#include "vocabulary/registry_change.h"

namespace {

using Kind = MoveStep::Kind;
using Step = PlannedEntry::Step;
using platform::TreeEntry;

std::string ParentOf(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos || slash < 3 ? std::string() : path.substr(0, slash);
}

Kind KindOf(Step step) {
  switch (step) {
    case Step::kRename:
      return Kind::kRename;
    case Step::kMakeFolder:
      return Kind::kMakeFolder;
    case Step::kCopy:
      return Kind::kCopy;
    case Step::kJoin:
      return Kind::kJoin;
    case Step::kAlreadyThere:
      break;
  }
  return Kind::kAlreadyThere;
}

// A step with the entry it was planned from, whose attributes and times a folder made is given.
struct Carried {
  MoveStep step;
  TreeEntry entry;
};

Carried CarriedOf(const std::string& path, Kind kind, const TreeEntry& entry) {
  bool file = kind == Kind::kCopy || kind == Kind::kAlreadyThere;
  return Carried{MoveStep{kind, path, file ? entry.size : 0, file ? entry.lastWritten : 0}, entry};
}

class FolderMover {
 public:
  FolderMover(platform::Platform& platform, const FolderMovePlan& plan, const FileInUseWait& wait,
              const MoveProgressReport& report)
      : platform_(platform), plan_(plan), wait_(wait), report_(report) {
    progress_.files = plan.files;
    progress_.bytes = plan.bytes;
  }

  // Journals the move, then moves the files; false, with the files as they were, when any stops it.
  bool MoveFiles(std::vector<ValueChange> values) {
    journal_.folder = plan_.folder;
    journal_.source = plan_.source;
    journal_.target = plan_.target;
    journal_.values = std::move(values);
    for (ValueChange& value : journal_.values) value.after = AsTheRegistryHoldsIt(value.after);
    if (!plan_.targetThere) journal_.madeAbove = FoldersToMake(plan_.target);
    for (const PlannedEntry& entry : plan_.entries)
      carried_.push_back(CarriedOf(entry.path, KindOf(entry.step), entry.entry));
    // The source folder's own details, before anything taken out of it changes its time.
    if (std::int32_t code = Tree().Describe(plan_.source, &sourceFolder_))
      throw Failure(code, DescribeFailure(platform_.system, kCannotReadAction, plan_.source, code));
    path_ = MoveJournalPath(platform_);
    if (path_.empty()) throw Failure(platform::kErrorPathNotFound, kNoJournalFolder);
    WriteNewJournal(platform_, path_, Journalled());
    journalWritten_ = true;
    for (const std::string& folder : journal_.madeAbove) {
      std::int32_t code = Tree().MakeFolder(folder);
      if (code != 0 && code != platform::kErrorAlreadyExists) return Stopped(folder, code);
    }
    // The first file that stops the move stops the carrying too: the rest would only be copied to be put back.
    for (std::size_t i = 0; i < carried_.size() && stoppers_.empty();) i += Carry(i);
    if (stoppers_.empty()) {
      carriedOut_ = carried_.size();
      SetFolderDetails();
    }
    if (!stoppers_.empty()) return false;
    progress_.filesDone = progress_.files;
    progress_.bytesDone = progress_.bytes;
    Report("");
    return true;
  }

  // Puts every file back as it was before the move; the journal goes once every copy is removed. Only the steps
  // carried out are undone: at the target of a step not reached, or of the one that stopped the move (which
  // leaves nothing of its own), a file can only be another program's.
  void PutBack() {
    if (!journalWritten_) return;
    MoveJournal carriedOut = journal_;
    carriedOut.steps.resize(std::min(carriedOut_, carriedOut.steps.size()));
    MoveAftermath done = UndoMove(platform_, carriedOut);
    if (!done.notDone.empty()) notices.push_back(CopiesNotRemoved(NamedOnce(done.notDone, "\n")));
    Retire(done);
  }
  // The values point at the target: the sources go, but one changed since it was copied.
  MoveAftermath Finish() {
    MoveAftermath done = FinishMove(platform_, journal_);
    Retire(done);
    return done;
  }

  // Why the files stopped the move: each reason once, then the files it stopped, at most ten.
  std::string Stoppers() const {
    std::map<std::string, std::vector<std::string>> byReason;
    for (const auto& [path, why] : stoppers_) byReason[why].push_back(path);
    std::string text;
    for (const auto& [why, paths] : byReason) text += "\n" + why + "\n  " + NamedOnce(paths, "\n  ");
    return text;
  }
  // 5 when the user may not touch any of them, else 6.
  int ExitCode() const { return allDenied_ ? 5 : 6; }
  std::int32_t FirstCode() const { return firstCode_; }
  std::vector<std::string> notices;

 private:
  platform::FileTree& Tree() { return platform_.fileTree; }
  std::string Source(const MoveStep& step) const { return JoinedPath(plan_.source, step.path); }
  std::string Target(const MoveStep& step) const { return JoinedPath(plan_.target, step.path); }

  std::string Journalled() {
    journal_.steps.clear();
    for (const Carried& carried : carried_) journal_.steps.push_back(carried.step);
    return MoveJournalBytes(journal_);
  }

  void Retire(const MoveAftermath& done) {
    std::string left = RetireMoveJournalWhenDone(platform_, path_, done);
    if (!left.empty()) notices.push_back(left);
  }

  // The target and the folders above it that are not there, the outermost first.
  std::vector<std::string> FoldersToMake(const std::string& target) {
    std::vector<std::string> missing;
    TreeEntry entry;
    for (std::string folder = target; !folder.empty() && Tree().Describe(folder, &entry) != 0;
         folder = ParentOf(folder))
      missing.insert(missing.begin(), folder);
    return missing;
  }

  bool Stopped(const std::string& path, std::int32_t code, const char* ownWords = nullptr) {
    std::string why = ownWords ? std::string(ownWords) : SystemReason(platform_.system, code);
    if (stoppers_.empty()) firstCode_ = code;
    allDenied_ = allDenied_ && code == platform::kErrorAccessDenied;
    stoppers_.emplace_back(path, why);
    return false;
  }

  // A call tried again while another program holds the file open, a few times at the most.
  template <typename Call>
  std::int32_t WhileInUse(Call call) {
    for (int attempt = 1;; ++attempt) {
      std::int32_t code = call();
      if (code != platform::kErrorSharingViolation || attempt >= wait_.tries) return code;
      if (wait_.pause) wait_.pause(wait_.pauseMs);
    }
  }

  void Report(const std::string& current) {
    if (!report_) return;
    progress_.current = current;
    report_(progress_);
  }

  // A file renamed or copied whole counts once it is in.
  void Counted(const Carried& carried) {
    if (carried.entry.folder) return;
    ++progress_.filesDone;
    progress_.bytesDone += carried.entry.size;
  }

  // Carries out the step and those that take its place; how many steps that was.
  std::size_t Carry(std::size_t i) {
    const MoveStep step = carried_[i].step;
    carriedOut_ = i;
    std::size_t stopped = stoppers_.size();
    Report(step.path);
    if (step.kind == Kind::kMakeFolder) {
      if (std::int32_t code = Tree().MakeFolder(Target(step))) Stopped(Target(step), code);
    } else if (step.kind == Kind::kCopy) {
      Copy(step);
    } else if (step.kind == Kind::kRename) {
      std::int32_t code = WhileInUse([&] { return Tree().Rename(Source(step), Target(step)); });
      if (code == platform::kErrorNotSameDevice) return CopyInstead(i);
      if (code != 0) Stopped(Source(step), code);
    }
    if (stoppers_.size() == stopped && (step.kind == Kind::kCopy || step.kind == Kind::kRename)) Counted(carried_[i]);
    return 1;
  }

  void Copy(const MoveStep& step) {
    std::uint64_t before = progress_.bytesDone;
    platform::FileTree::Progress copied = [&](std::uint64_t bytesDone) {
      progress_.bytesDone = before + bytesDone;
      Report(step.path);
    };
    std::int32_t code = WhileInUse([&] { return Tree().CopyToNew(Source(step), Target(step), copied); });
    progress_.bytesDone = before;
    if (code != 0) return static_cast<void>(Stopped(Source(step), code));
    bool same = false;
    code = Tree().CompareBytes(Source(step), Target(step), &same);
    if (code == 0 && same) return;
    // This run's own copy, which is not whole: it goes now.
    Tree().RemoveFile(Target(step), true);
    Stopped(Source(step), code, code == 0 ? kCopyNotTheSame : nullptr);
  }

  // An entry that would not rename to another volume is copied there instead: walked afresh, journalled again
  // in its place, then made and copied step by step.
  std::size_t CopyInstead(std::size_t i) {
    Carried renamed = carried_[i];
    std::vector<Carried> walked;
    if (!Walk(renamed, &walked)) return 1;
    carried_.erase(carried_.begin() + static_cast<std::ptrdiff_t>(i));
    carried_.insert(carried_.begin() + static_cast<std::ptrdiff_t>(i), walked.begin(), walked.end());
    RewriteJournal(platform_, path_, Journalled());
    for (std::size_t k = i; k < i + walked.size() && stoppers_.empty();) k += Carry(k);
    return walked.size();
  }

  bool Walk(const Carried& top, std::vector<Carried>* walked) {
    if (!top.entry.folder) {
      walked->push_back(CarriedOf(top.step.path, Kind::kCopy, top.entry));
      return true;
    }
    std::vector<std::string> pending{top.step.path};
    walked->push_back(CarriedOf(top.step.path, Kind::kMakeFolder, top.entry));
    while (!pending.empty()) {
      std::string folder = std::move(pending.back());
      pending.pop_back();
      std::vector<TreeEntry> listed;
      if (std::int32_t code = Tree().List(JoinedPath(plan_.source, folder), &listed))
        return Stopped(JoinedPath(plan_.source, folder), code);
      for (const TreeEntry& entry : listed) {
        std::string path = JoinedPath(folder, entry.name);
        if (entry.reparsePoint)
          return Stopped(JoinedPath(plan_.source, path), platform::kErrorAccessDenied, kLinkNotFollowed);
        walked->push_back(CarriedOf(path, entry.folder ? Kind::kMakeFolder : Kind::kCopy, entry));
        if (entry.folder) pending.push_back(path);
      }
    }
    // Folders before what they hold: a folder's own line comes before those it lists, as walked.
    return true;
  }

  // The folders made are given their attributes and times once their content is in, the deepest first; the
  // target itself, when made, those of the source.
  void SetFolderDetails() {
    for (auto carried = carried_.rbegin(); carried != carried_.rend(); ++carried) {
      if (carried->step.kind != Kind::kMakeFolder) continue;
      const TreeEntry& entry = carried->entry;
      std::string target = Target(carried->step);
      if (std::int32_t code = Tree().SetFolderDetails(target, entry.attributes, entry.created, entry.lastWritten))
        Stopped(target, code);
    }
    if (plan_.targetThere || !stoppers_.empty()) return;
    const TreeEntry& source = sourceFolder_;
    if (std::int32_t code =
            Tree().SetFolderDetails(plan_.target, source.attributes, source.created, source.lastWritten))
      Stopped(plan_.target, code);
  }

  platform::Platform& platform_;
  const FolderMovePlan& plan_;
  const FileInUseWait& wait_;
  const MoveProgressReport& report_;
  MoveProgress progress_;
  MoveJournal journal_;
  TreeEntry sourceFolder_;
  std::vector<Carried> carried_;
  std::string path_;
  // The steps carried out before the one being carried, or all of them.
  std::size_t carriedOut_ = 0;
  std::vector<std::pair<std::string, std::string>> stoppers_;
  std::int32_t firstCode_ = 0;
  bool allDenied_ = true;
  bool journalWritten_ = false;
};

FolderMoveOutcome Failed(std::int32_t code, std::string message, int exitCode) {
  FolderMoveOutcome told;
  told.outcome.code = code;
  told.outcome.message = std::move(message);
  told.exitCode = exitCode;
  return told;
}

int ExitCodeOf(std::int32_t code) {
  return code == platform::kErrorAccessDenied ? 5 : 6;
}

}  // namespace

FolderMoveOutcome MoveFolderWithFiles(platform::Platform& platform, const ShellFolder& folder,
                                      const std::string& targetStored, const FileInUseWait& wait,
                                      const MoveProgressReport& progress) {
  // The lock first, which finishes or undoes what a cut-off run left; only then is the plan made.
  RegistryChange change(platform, ChangeKind::kRelocation);
  FolderLocations locations(platform);
  std::vector<ValueChange> values = locations.RelocationOf(folder, targetStored);
  if (!change.ready()) {
    ChangeResult result = change.Write(values);
    FolderMoveOutcome told = Failed(result.code, FailedChangeText(result), ExitCodeOf(result.code));
    told.outcome.notices = result.notices;
    return told;
  }
  // A move the lock could not finish or undo in full keeps its journal: this one waits until that one is done.
  std::string earlier = MoveJournalPath(platform);
  if (!earlier.empty() && platform.files.Exists(earlier)) {
    FolderMoveOutcome told = Failed(platform::kErrorFileExists, EarlierMoveNotDone(earlier), 6);
    told.outcome.notices = change.notices();
    return told;
  }
  FolderMovePlan plan = PlanFolderMove(platform, folder, targetStored);
  if (plan.Refused()) {
    FolderMoveOutcome told = Failed(platform::kErrorInvalidData, DescribeFolderMove(plan), 3);
    told.outcome.result = Outcome::Result::kRefused;
    told.plan = std::move(plan);
    return told;
  }
  for (const FollowingFolder& follower : plan.following) {
    for (ValueChange& value : locations.RelocationOf(*follower.folder, follower.newStored))
      values.push_back(std::move(value));
  }
  FolderMover mover(platform, plan, wait, progress);
  try {
    if (plan.MovesFiles() && !mover.MoveFiles(values)) {
      mover.PutBack();
      FolderMoveOutcome told =
          Failed(mover.FirstCode(), FilesStoppedMove(folder.displayName) + mover.Stoppers(), mover.ExitCode());
      told.outcome.notices = mover.notices;
      told.plan = std::move(plan);
      return told;
    }
  } catch (const Failure& failure) {
    // The journal could not be written (nothing was touched), or written again (everything goes back).
    mover.PutBack();
    FolderMoveOutcome told = Failed(failure.code(), failure.what(), ExitCodeOf(failure.code()));
    told.plan = std::move(plan);
    return told;
  }
  ChangeResult result = change.Write(values);
  if (!result.done()) {
    if (plan.MovesFiles()) mover.PutBack();
    FolderMoveOutcome told =
        Failed(result.code, FailedChangeText(result) + result.Aftermath(), ExitCodeOf(result.code));
    told.outcome.notices = result.notices;
    told.plan = std::move(plan);
    return told;
  }
  FolderMoveOutcome told;
  told.exitCode = 0;
  told.outcome.result = Outcome::Result::kDone;
  told.outcome.notices = result.notices;
  MoveAftermath done = plan.MovesFiles() ? mover.Finish() : MoveAftermath();
  told.keptChanged = done.kept;
  told.outcome.message = FolderMovedWithFiles(folder.displayName, plan.target, plan.files, NamedOnce(done.kept, "\n"),
                                              NamedOnce(done.notDone, "\n"));
  for (std::string& notice : mover.notices) told.outcome.notices.push_back(std::move(notice));
  told.plan = std::move(plan);
  return told;
}
