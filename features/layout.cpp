// Applying a layout: the folders already there counted, the others moved one by one, and every folder moved by
// the run put back as it was when one of them cannot be moved.
#include "features/layout.h"

#include "features/folder_locations.h"
#include "features/folder_maker.h"
#include "text/text_file.h"
#include "vocabulary/failure.h"
#include "vocabulary/reg_value.h"
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
  return "Nothing was changed: " + failed + " could not be moved, and the " + Folders(putBack) + " moved before it " +
         (putBack == 1 ? "was" : "were") + " put back.";
}

// The two values of every folder that moves, as they were, for the journal: a value that cannot be read stops
// the layout before anything is written.
std::vector<JournalEntry> JournalOf(const std::vector<LayoutEntry>& entries,
                                    const std::vector<FolderLocations::SavedValues>& saved,
                                    const std::vector<LayoutResult>& results) {
  std::vector<JournalEntry> journal;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (results[i].state != LayoutResult::State::kNotReached) continue;
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

// The location made when it is asked for and not there; what the folder's line says of it. Throws Failure, in
// the folder's words, when it cannot be made.
std::string MakeLocation(platform::Platform& platform, FolderLocations& locations, const std::string& path, bool create,
                         std::vector<std::string>* made) {
  std::string location = locations.ExpandText(path);
  ReadiedLocation readied = ReadyLocation(platform, location, create);
  made->insert(made->end(), readied.made.begin(), readied.made.end());
  if (!readied.made.empty()) return "created and moved";
  return readied.there ? "moved" : "moved (the folder " + Quoted(location) + " does not exist yet)";
}

// The folders that are not there yet moved in file order, under the journal; when one cannot be moved, those
// moved before it are put back, and the run ends as that folder's failure. Folders made for it stay.
void MoveAll(platform::Platform& platform, FolderLocations& locations, const std::vector<LayoutEntry>& entries,
             const std::vector<FolderLocations::SavedValues>& saved, bool create, LayoutRun* run) {
  WriteJournal journal(platform);
  journal.Begin(JournalKind::kLayout, JournalOf(entries, saved, run->results));
  std::vector<std::string> made;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    LayoutResult& result = run->results[i];
    if (result.state != LayoutResult::State::kNotReached) continue;
    Outcome outcome;
    std::string moved;
    try {
      moved = MakeLocation(platform, locations, entries[i].path, create, &made);
      outcome = locations.RelocateHoldingLock(*entries[i].folder, entries[i].path);
    } catch (const Failure& failure) {
      outcome.code = failure.code();
      outcome.message = failure.what();
    }
    if (outcome.done()) {
      result.state = LayoutResult::State::kMoved;
      result.detail = moved;
      continue;
    }
    result.state = LayoutResult::State::kFailed;
    result.detail = OnOneLine(outcome.message);
    for (std::size_t j = i + 1; j < entries.size(); ++j) run->results[j].state = LayoutResult::State::kNotReached;
    run->outcome.code = outcome.code;
    run->outcome.message = PutBackMoved(locations, entries, run->results, saved, entries[i].folder->displayName);
    if (!made.empty()) run->outcome.message += " The folders made for it stay: " + NamedOnce(made, ", ") + ".";
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

// "D:\\Old -> E:\\New": a folder's stored value and the layout's, as a dry run tells them.
std::string FromTo(const StoredValue& stored, const std::string& path) {
  RegValue value = RegValueFromStored(stored.type, stored.bytes);
  std::string from = stored.state == StoredValue::State::kPresent && value.IsText() ? value.text() : "(no path)";
  return from + " -> " + path;
}

}  // namespace

LayoutRun ApplyLayout(platform::Platform& platform, const std::vector<LayoutEntry>& entries,
                      const LayoutOptions& options) {
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
  std::size_t unchanged = 0, moving = 0, passedOver = 0;
  for (const LayoutEntry& entry : entries) {
    saved.push_back(locations.Save(*entry.folder));
    LayoutResult result{entry.folder, LayoutResult::State::kNotReached, std::string()};
    if (options.hive != 0 && entry.folder->hive != options.hive) {
      result.state = LayoutResult::State::kPassedOver;
      result.detail = std::string("passed over: a folder of ") + ShortHiveName(entry.folder->hive);
      ++passedOver;
    } else if (locations.IsAt(saved.back(), entry.path)) {
      result.state = LayoutResult::State::kUnchanged;
      ++unchanged;
    } else {
      if (options.dryRun) {
        result.state = LayoutResult::State::kWouldMove;
        result.detail = "would move: " + FromTo(saved.back().userShellFolders, entry.path);
      }
      ++moving;
    }
    run.results.push_back(result);
  }
  if (!options.dryRun && moving > 0) {
    try {
      MoveAll(platform, locations, entries, saved, options.create, &run);
    } catch (const Failure& failure) {
      run.outcome.code = failure.code();
      run.outcome.message = failure.what();
    }
    if (run.outcome.code != 0) return run;
  }
  run.wouldChange = options.dryRun && moving > 0;
  run.outcome.result = Outcome::Result::kDone;
  run.outcome.message = std::to_string(moving) + (options.dryRun ? " would move, " : " moved, ") +
                        std::to_string(unchanged) + " unchanged" +
                        (passedOver > 0 ? ", " + std::to_string(passedOver) + " passed over." : ".");
  return run;
}
