// Applying a layout: the folders already there counted, the others moved one by one, and every folder moved by
// the run put back as it was when one of them cannot be moved.
#include "features/layout.h"

#include "features/folder_locations.h"
#include "text/text_file.h"
#include "vocabulary/failure.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/write_journal.h"

namespace {

std::string Folders(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " folder" : " folders");
}

// The folders moved so far are put back, last first; the summary says how that went.
std::string PutBackMoved(FolderLocations& locations, const std::vector<LayoutEntry>& entries,
                         std::vector<LayoutResult>& results, const std::vector<FolderLocations::SavedValues>& saved,
                         const std::string& failed) {
  std::size_t putBack = 0;
  std::size_t notPutBack = 0;
  for (std::size_t i = results.size(); i-- > 0;) {
    if (results[i].state != LayoutResult::State::kMoved) continue;
    // A folder another program has moved since is its: it stays where that program put it.
    if (!locations.IsAt(locations.Save(*results[i].folder), entries[i].path)) {
      results[i].state = LayoutResult::State::kChangedElsewhere;
      continue;
    }
    std::int32_t code = locations.PutBack(*results[i].folder, saved[i]);
    if (code == 0) {
      results[i].state = LayoutResult::State::kPutBack;
      ++putBack;
    } else {
      results[i].state = LayoutResult::State::kNotPutBack;
      results[i].detail = "error " + std::to_string(code);
      ++notPutBack;
    }
  }
  if (notPutBack > 0) {
    return "Only part of the layout was applied: " + failed + " could not be moved, and " + Folders(notPutBack) +
           " moved before it could not be put back.";
  }
  if (putBack == 0) return "Nothing was changed: " + failed + " could not be moved.";
  return "Nothing was changed: " + failed + " could not be moved, and the " + Folders(putBack) +
         " moved before it were put back.";
}

// The two values of every folder that moves, as they were, for the journal: a value that cannot be read stops
// the layout before anything is written.
std::vector<JournalEntry> JournalOf(const std::vector<LayoutEntry>& entries,
                                    const std::vector<FolderLocations::SavedValues>& saved,
                                    const std::vector<LayoutResult>& results) {
  std::vector<JournalEntry> journal;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (results[i].state == LayoutResult::State::kUnchanged) continue;
    const ShellFolder& folder = *entries[i].folder;
    const StoredValue* values[2] = {&saved[i].userShellFolders, &saved[i].shellFolders};
    const char* keys[2] = {kUserShellFoldersKey, kShellFoldersKey};
    for (int k = 0; k < 2; ++k) {
      if (values[k]->state == StoredValue::State::kUnknown) {
        throw Failure(values[k]->code, std::string("Nothing was changed: ") + folder.displayName + "'s value under " +
                                           keys[k] + " cannot be read before it is moved " +
                                           ErrorNumber(values[k]->code) + ".");
      }
      journal.push_back(JournalEntry{&FindShellFolderKey(folder.hive, keys[k]), folder.valueName, *values[k]});
    }
  }
  return journal;
}

// The folders that are not there yet moved in file order, under the journal; when one cannot be moved, those
// moved before it are put back, and the run ends as that folder's failure.
void MoveAll(platform::Platform& platform, FolderLocations& locations, const std::vector<LayoutEntry>& entries,
             const std::vector<FolderLocations::SavedValues>& saved, LayoutRun* run) {
  WriteJournal journal(platform);
  journal.Begin(JournalKind::kLayout, JournalOf(entries, saved, run->results));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    LayoutResult& result = run->results[i];
    if (result.state == LayoutResult::State::kUnchanged) continue;
    Outcome outcome = locations.RelocateHoldingLock(*entries[i].folder, entries[i].path);
    if (outcome.done()) {
      result.state = LayoutResult::State::kMoved;
      continue;
    }
    result.state = LayoutResult::State::kFailed;
    result.detail = OnOneLine(outcome.message);
    for (std::size_t j = i + 1; j < entries.size(); ++j) run->results[j].state = LayoutResult::State::kNotReached;
    run->outcome.code = outcome.code;
    run->outcome.message = PutBackMoved(locations, entries, run->results, saved, entries[i].folder->displayName);
    break;
  }
  bool allPutBack = true;
  for (const LayoutResult& result : run->results)
    allPutBack = allPutBack && result.state != LayoutResult::State::kNotPutBack;
  // What could not be put back, the journal's next run puts back.
  if (!allPutBack) return;
  std::string left = journal.End();
  if (!left.empty()) run->outcome.notices.push_back(left);
}

}  // namespace

LayoutRun ApplyLayout(platform::Platform& platform, const std::vector<LayoutEntry>& entries, bool dryRun) {
  LayoutRun run;
  SessionLock lock(platform);
  run.outcome.notices = lock.notices();
  if (lock.code() != 0) {
    run.outcome.code = lock.code();
    run.outcome.message = lock.FailureText();
    return run;
  }
  FolderLocations locations(platform);
  std::vector<FolderLocations::SavedValues> saved;
  std::size_t unchanged = 0;
  std::size_t moving = 0;
  for (const LayoutEntry& entry : entries) {
    saved.push_back(locations.Save(*entry.folder));
    bool there = locations.IsAt(saved.back(), entry.path);
    LayoutResult::State state = there    ? LayoutResult::State::kUnchanged
                                : dryRun ? LayoutResult::State::kWouldMove
                                         : LayoutResult::State::kNotReached;
    run.results.push_back(LayoutResult{entry.folder, state, std::string()});
    ++(there ? unchanged : moving);
  }
  if (!dryRun && moving > 0) {
    try {
      MoveAll(platform, locations, entries, saved, &run);
    } catch (const Failure& failure) {
      run.outcome.code = failure.code();
      run.outcome.message = failure.what();
    }
    if (run.outcome.code != 0) return run;
  }
  run.wouldChange = dryRun && moving > 0;
  run.outcome.result = Outcome::Result::kDone;
  run.outcome.message =
      std::to_string(moving) + (dryRun ? " would move, " : " moved, ") + std::to_string(unchanged) + " unchanged.";
  return run;
}
