// A layout applied to the registry: every folder it names moved by the rules of a relocation, in one change of
// the registry, all or nothing, and a folder already where the layout puts it left alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "features/layout_file.h"
#include "platform/platform.h"
#include "vocabulary/outcome.h"

struct LayoutResult {
  enum class State {
    kUnchanged,         // already there: nothing was written; detail: that its location is missing, when it is
    kMadeAgain,         // already there, and its location, missing, was made again (a dry run: would be)
    kPassedOver,        // of the other hive than the run's: left alone
    kWouldMove,         // a dry run's: it would be moved, from and to as detail says
    kMoved,             // moved, and stays so; detail: whether its folder was made, or is not there yet
    kFailed,            // its writes failed: why is in detail, in the window's words
    kPutBack,           // moved by this run, then put back because a later folder failed
    kNotPutBack,        // moved by this run, and could not be put back: the journal's next run puts it back
    kChangedElsewhere,  // moved by this run, then by another program: left where that one put it
    kNotReached,        // after the folder that failed: left alone
  };
  const ShellFolder* folder = nullptr;
  State state = State::kNotReached;
  std::string detail;
};

struct LayoutRun {
  // Every folder of the layout in file order, each as it ended.
  std::vector<LayoutResult> results;
  // Done when every folder is where the layout puts it (or, for a dry run, could be checked), else failed with
  // the system's code of the failure; its message says what the run came to.
  Outcome outcome;
  // A dry run that found a folder to move.
  bool wouldChange = false;
};

struct LayoutOptions {
  bool dryRun = false;      // reads only, and tells what would move
  bool create = false;      // a location that is not there is made, with the folders above it, before the move
  platform::HKey hive = 0;  // only the folders of this hive; 0 for both
};

// A folder whose two values already hold where the layout puts it: kUnchanged, with UnchangedButMissing as its
// detail when its location is not there; kMadeAgain when create made it (a dry run only says it would be), with the
// folders made added to made. Throws Failure, in the folder's words, when it cannot be made.
LayoutResult AlreadyThere(platform::Platform& platform, const LayoutEntry& entry, bool create, bool dryRun,
                          std::vector<std::string>* made);

// A run waits for any other run of Zolvane's to finish first; a dry run reads only, and never waits. The paths are
// usable ones (JudgePath).
LayoutRun ApplyLayout(platform::Platform& platform, const std::vector<LayoutEntry>& entries,
                      const LayoutOptions& options);
