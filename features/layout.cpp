// Applying a layout: the folders already there counted, the others moved one by one, and every folder moved by
// the run put back as it was when one of them cannot be moved.
#include "features/layout.h"

#include "features/folder_locations.h"
#include "text/text_file.h"
#include "vocabulary/session_lock.h"

namespace {

std::string Folders(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " folder" : " folders");
}

// The folders moved so far are put back, last first; the summary says how that went.
std::string PutBackMoved(FolderLocations& locations, std::vector<LayoutResult>& results,
                         const std::vector<FolderLocations::SavedValues>& saved, const std::string& failed) {
  std::size_t putBack = 0;
  std::size_t notPutBack = 0;
  for (std::size_t i = results.size(); i-- > 0;) {
    if (results[i].state != LayoutResult::State::kMoved) continue;
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

}  // namespace

LayoutRun ApplyLayout(platform::Platform& platform, const std::vector<LayoutEntry>& entries, bool dryRun) {
  LayoutRun run;
  SessionLock lock(platform.locks);
  if (lock.code() != 0) {
    run.outcome.code = lock.code();
    run.outcome.message = lock.FailureText(platform.system);
    return run;
  }
  FolderLocations locations(platform);
  std::vector<FolderLocations::SavedValues> saved;
  std::size_t unchanged = 0;
  std::size_t moving = 0;
  for (const LayoutEntry& entry : entries) {
    LayoutResult result;
    result.folder = entry.folder;
    saved.push_back(locations.Save(*entry.folder));
    bool there = locations.IsAt(saved.back(), entry.path);
    if (there || dryRun) {
      result.state = there ? LayoutResult::State::kUnchanged : LayoutResult::State::kWouldMove;
      ++(there ? unchanged : moving);
      run.results.push_back(result);
      continue;
    }
    Outcome outcome = locations.Relocate(*entry.folder, entry.path);
    if (!outcome.done()) {
      result.state = LayoutResult::State::kFailed;
      result.detail = OnOneLine(outcome.message);
      run.outcome.code = outcome.code;
      run.results.push_back(result);
      run.outcome.message = PutBackMoved(locations, run.results, saved, entry.folder->displayName);
      for (std::size_t i = run.results.size(); i < entries.size(); ++i) {
        run.results.push_back(LayoutResult{entries[i].folder, LayoutResult::State::kNotReached, std::string()});
      }
      return run;
    }
    result.state = LayoutResult::State::kMoved;
    ++moving;
    run.results.push_back(result);
  }
  run.wouldChange = dryRun && moving > 0;
  run.outcome.result = Outcome::Result::kDone;
  run.outcome.message =
      std::to_string(moving) + (dryRun ? " would move, " : " moved, ") + std::to_string(unchanged) + " unchanged.";
  return run;
}
