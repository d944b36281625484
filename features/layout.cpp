// Applying a layout: every folder it moves changed in one change of the registry, whole or not at all, and each
// folder's line told from what became of its two values.
#include "features/layout.h"

#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "features/folder_maker.h"
#include "text/text_file.h"
#include "vocabulary/failure.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/registry_change.h"

namespace {

using State = LayoutResult::State;

// A folder's stored value as a dry run tells where it moves from.
std::string StoredPath(const StoredValue& stored) {
  RegValue value = RegValueFromStored(stored.type, stored.bytes);
  return stored.state == StoredValue::State::kPresent && value.IsText() ? value.text() : kNoPathShown;
}

// What became of a folder from what became of its two values.
State StateOf(ValueFate first, ValueFate second, bool done) {
  auto either = [&](ValueFate fate) { return first == fate || second == fate; };
  if (first == ValueFate::kAlreadySo && second == ValueFate::kAlreadySo) return State::kUnchanged;
  if (done) return State::kMoved;
  if (either(ValueFate::kFailed)) return State::kFailed;
  if (either(ValueFate::kNotPutBack)) return State::kNotPutBack;
  if (either(ValueFate::kChangedElsewhere)) return State::kChangedElsewhere;
  if (either(ValueFate::kPutBack)) return State::kPutBack;
  return State::kNotReached;
}

// A failed layout's summary: the folder that could not be moved, and what became of those moved before it.
std::string FailureText(const std::vector<LayoutResult>& results, const ChangeResult& change) {
  const LayoutResult* failed = nullptr;
  std::size_t putBack = 0, notPutBack = 0;
  for (const LayoutResult& result : results) {
    if (result.state == State::kFailed) failed = &result;
    putBack += result.state == State::kPutBack;
    notPutBack += result.state == State::kNotPutBack;
  }
  if (failed == nullptr) return change.failure + change.Aftermath();
  std::string name = failed->folder->displayName;
  if (notPutBack > 0) return LayoutAppliedInPart(name, notPutBack);
  if (putBack == 0) return FolderNotMoved(name);
  return FolderNotMovedOthersPutBack(name, putBack);
}

// kFolderMoved, kFolderCreatedAndMoved or MovedBeforeFolderExists; the folder is made first when asked. Throws Failure,
// in the folder's words, when it cannot be made.
std::string ReadyFolder(platform::Platform& platform, FolderLocations& locations, const LayoutEntry& entry, bool create,
                        std::vector<std::string>* made) {
  std::string location = locations.ExpandText(entry.path);
  ReadiedLocation readied = ReadyLocation(platform, location, create);
  made->insert(made->end(), readied.made.begin(), readied.made.end());
  if (!readied.made.empty()) return kFolderCreatedAndMoved;
  return readied.there ? kFolderMoved : MovedBeforeFolderExists(location);
}

class LayoutApplier {
 public:
  LayoutApplier(platform::Platform& platform, const std::vector<LayoutEntry>& entries, const LayoutOptions& options)
      : platform_(platform), locations_(platform), entries_(entries), options_(options) {}

  LayoutRun Run() {
    Plan();
    if (options_.dryRun) return DryRun();
    RegistryChange change(platform_, ChangeKind::kLayout);
    std::vector<bool> already = AlreadySo(platform_.registry, changes_);
    std::vector<std::string> made;
    std::vector<std::string> details(entries_.size());
    std::vector<LayoutResult> there(entries_.size());
    for (std::size_t i = 0; i < entries_.size() && change.ready(); ++i) {
      if (first_[i] == kPassedOver) continue;
      try {
        if (already[first_[i]] && already[first_[i] + 1]) {
          there[i] = AlreadyThere(platform_, entries_[i], options_.create, false, &made);
        } else {
          details[i] = ReadyFolder(platform_, locations_, entries_[i], options_.create, &made);
        }
      } catch (const Failure& failure) {
        return FolderNotMade(i, failure, made);
      }
    }
    ChangeResult result = change.Write(changes_);
    run_.outcome.notices = result.notices;
    if (result.stop == ChangeResult::Stop::kLock) {
      run_.results.clear();
      return Failed(result.code, result.failure);
    }
    std::size_t moved = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (first_[i] == kPassedOver) continue;
      LayoutResult& line = run_.results[i];
      line.state = StateOf(result.fates[first_[i]], result.fates[first_[i] + 1], result.done());
      line.detail = line.state == State::kMoved ? details[i] : std::string();
      if (line.state == State::kUnchanged && there[i].folder != nullptr) line = there[i];
      if (line.state == State::kFailed) line.detail = OnOneLine(FailedChangeText(result));
      moved += line.state == State::kMoved;
    }
    if (!result.done()) {
      std::string text = FailureText(run_.results, result);
      if (!made.empty()) text += FoldersMadeStay(made);
      return Failed(result.code, text);
    }
    return Done(moved, false);
  }

 private:
  static constexpr std::size_t kPassedOver = static_cast<std::size_t>(-1);

  // Each folder's line, and the two values of each folder of the run's hive.
  void Plan() {
    for (const LayoutEntry& entry : entries_) {
      LayoutResult result{entry.folder, State::kNotReached, std::string()};
      bool passedOver = options_.hive != 0 && entry.folder->hive != options_.hive;
      if (passedOver) {
        result.state = State::kPassedOver;
        result.detail = PassedOverDetail(ShortHiveName(entry.folder->hive));
        ++passedOver_;
      }
      first_.push_back(passedOver ? kPassedOver : changes_.size());
      if (!passedOver) {
        std::vector<ValueChange> values = locations_.RelocationOf(*entry.folder, entry.path);
        changes_.insert(changes_.end(), values.begin(), values.end());
      }
      run_.results.push_back(result);
    }
  }

  // Read without the lock: a dry run writes nothing, and so never waits for another run.
  LayoutRun DryRun() {
    std::vector<bool> already = AlreadySo(platform_.registry, changes_);
    std::size_t moving = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (first_[i] == kPassedOver) continue;
      LayoutResult& line = run_.results[i];
      if (already[first_[i]] && already[first_[i] + 1]) {
        std::vector<std::string> made;
        line = AlreadyThere(platform_, entries_[i], options_.create, true, &made);
        run_.wouldChange = run_.wouldChange || line.state == State::kMadeAgain;
        continue;
      }
      line.state = State::kWouldMove;
      line.detail = WouldChange(entries_[i], already[first_[i]], already[first_[i] + 1]);
      ++moving;
    }
    run_.wouldChange = run_.wouldChange || moving > 0;
    return Done(moving, true);
  }

  // What a dry run says would change of a folder whose two values are not both so: its User Shell Folders value,
  // or only its Shell Folders value when a cut-off run left the other one written already.
  std::string WouldChange(const LayoutEntry& entry, bool firstSo, bool secondSo) {
    FolderLocations::SavedValues saved = locations_.Save(*entry.folder);
    bool userShellFoldersSo = entry.folder->shellFoldersFirst ? secondSo : firstSo;
    if (!userShellFoldersSo) return WouldMoveDetail(StoredPath(saved.userShellFolders), entry.path);
    return ShellFoldersWouldFollow(StoredPath(saved.shellFolders), locations_.ExpandText(entry.path));
  }

  LayoutRun FolderNotMade(std::size_t index, const Failure& failure, const std::vector<std::string>& made) {
    run_.results[index].state = State::kFailed;
    run_.results[index].detail = OnOneLine(failure.what());
    std::string text = FolderNotMoved(entries_[index].folder->displayName);
    if (!made.empty()) text += FoldersMadeStay(made);
    return Failed(failure.code(), text);
  }

  LayoutRun Failed(std::int32_t code, const std::string& message) {
    run_.outcome.code = code;
    run_.outcome.message = message;
    return run_;
  }

  LayoutRun Done(std::size_t changing, bool dryRun) {
    std::size_t unchanged = 0, madeAgain = 0;
    for (const LayoutResult& result : run_.results) {
      unchanged += result.state == State::kUnchanged;
      madeAgain += result.state == State::kMadeAgain;
    }
    run_.outcome.result = Outcome::Result::kDone;
    run_.outcome.message = LayoutSummary(changing, dryRun, unchanged, passedOver_, madeAgain);
    return run_;
  }

  platform::Platform& platform_;
  FolderLocations locations_;
  const std::vector<LayoutEntry>& entries_;
  const LayoutOptions& options_;
  std::vector<ValueChange> changes_;
  std::vector<std::size_t> first_;  // for each entry, where its two values begin in changes_, or kPassedOver
  std::size_t passedOver_ = 0;
  LayoutRun run_;
};

}  // namespace

LayoutResult AlreadyThere(platform::Platform& platform, const LayoutEntry& entry, bool create, bool dryRun,
                          std::vector<std::string>* made) {
  LayoutResult result{entry.folder, State::kUnchanged, std::string()};
  std::string location = FolderLocations(platform).ExpandText(entry.path);
  if (platform.files.IsFolder(location)) return result;
  if (!create) {
    result.detail = UnchangedButMissing(location);
    return result;
  }
  result.state = State::kMadeAgain;
  result.detail = dryRun ? kFolderWouldBeMadeAgain : kFolderMadeAgain;
  if (!dryRun) {
    ReadiedLocation readied = ReadyLocation(platform, location, true);
    made->insert(made->end(), readied.made.begin(), readied.made.end());
  }
  return result;
}

LayoutRun ApplyLayout(platform::Platform& platform, const std::vector<LayoutEntry>& entries,
                      const LayoutOptions& options) {
  return LayoutApplier(platform, entries, options).Run();
}
