// A special folder moved with its files: planned under the session's lock, journalled before the first file is
// touched, the files renamed on one volume or copied and verified across volumes, the folder's values (and those
// of the folders inside it that follow) switched in one change of the registry, and only then the sources
// deleted. A failure before the switch puts everything back as it was; a run cut off at any instant is finished
// or undone by the next (FinishOrUndoCutOffMove), so that every file is always whole in one place at least.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "features/folder_move_plan.h"
#include "platform/platform.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/outcome.h"

// How long a file another program holds open is waited for: tried again after each pause, a few seconds at most.
struct FileInUseWait {
  int tries = 5;
  std::uint32_t pauseMs = 500;
  // Waits that long; the tests wait not at all.
  std::function<void(std::uint32_t ms)> pause;
};

// How far the files of a move have come: told before each file or folder is carried, and as a file's bytes are
// copied. A folder renamed whole on its volume counts its files once all of the move's files are in.
struct MoveProgress {
  std::uint64_t filesDone = 0;
  std::uint64_t files = 0;  // the plan's, as FolderMovePlan counts them
  std::uint64_t bytesDone = 0;
  std::uint64_t bytes = 0;
  std::string current;  // the file or folder being carried, by its path below the folder
};
using MoveProgressReport = std::function<void(const MoveProgress&)>;

struct FolderMoveOutcome {
  Outcome outcome;
  // What the command line exits with: 0 done; 3 the plan refused the move; 5 access denied; 6 any other failure.
  int exitCode = 6;
  // Source files changed after they were copied: kept in the old place, the copy in the new one.
  std::vector<std::string> keptChanged;
  // The plan carried out (or refused), made under the session's lock: where from, how many files, who followed.
  FolderMovePlan plan;
};

// Moves folder to targetStored (as the user gave it, its references kept in the values) with its files: the
// whole move, or nothing of it. A folder with no files to move (none there, or empty, or there already) is only
// relocated. The folders inside it that follow are relocated in the same change.
// progress, when given, is told how far the files have come.
FolderMoveOutcome MoveFolderWithFiles(platform::Platform& platform, const ShellFolder& folder,
                                      const std::string& targetStored, const FileInUseWait& wait = FileInUseWait(),
                                      const MoveProgressReport& progress = nullptr);
