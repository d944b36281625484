// The journal of a special folder's files being moved: written before the first file is touched, beside the
// change journal, and read by the next run when the move was cut off, which finishes the move when the folder's
// own value already points at the new place and undoes it otherwise. It lives here, below the features, because
// every run that takes the session's lock (the window as it starts, every command, every change of the
// registry and every backup) first clears what a cut-off run left, and that is done in this layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/registry_change.h"

// One step of a move, by its path below the source, which is also its path below the target.
struct MoveStep {
  enum class Kind {
    kRename,        // renamed whole from the source to the target
    kMakeFolder,    // made at the target, to hold copies
    kCopy,          // a file copied to the target, deleted from the source once the values point there
    kAlreadyThere,  // the target held the same bytes already: deleted from the source once the values point there
    kJoin,          // a folder the target held already: emptied at the source, never removed at the target
  };
  Kind kind = Kind::kCopy;
  std::string path;
  // kCopy and kAlreadyThere: the source file as it was when the move began; one that differs later was changed
  // since, and is kept.
  std::uint64_t size = 0;
  std::uint64_t lastWritten = 0;
};

struct MoveJournal {
  const ShellFolder* folder = nullptr;
  std::string source;
  std::string target;
  // The folders made for the target itself, the outermost first: removed again by an undo when empty.
  std::vector<std::string> madeAbove;
  // Folders before what they hold.
  std::vector<MoveStep> steps;
  // What the move's one change of the registry writes, as the registry holds it once written: the folder's own
  // value under User Shell Folders held means the values were switched.
  std::vector<ValueChange> values;
};

// "D:\Docs" and "Sub\a.txt" as "D:\Docs\Sub\a.txt"; a drive's root keeps its one backslash.
std::string JoinedPath(const std::string& folder, const std::string& below);

// "Zolvane\moving.txt" beside the change journal; empty text where Windows names no folder for it.
std::string MoveJournalPath(platform::Platform& platform);

// A header line, a line each for the folder, the source, the target, each folder made above it, each value and
// each step, and an end line that counts those lines. UTF-8.
std::string MoveJournalBytes(const MoveJournal& journal);
// The journal read back; false when it is not one whole.
bool ParseMoveJournal(const std::string& bytes, MoveJournal* journal);

// Whether the moved folder's own value under User Shell Folders (or, where the move wrote none, under Shell
// Folders) holds what the move writes: the files then belong at the target.
bool MoveValuesSwitched(platform::Platform& platform, const MoveJournal& journal);

// What finishing or undoing a move did, file by file.
struct MoveAftermath {
  std::size_t files = 0;             // finished: sources deleted; undone: copies removed or entries renamed back
  std::vector<std::string> kept;     // files kept in two places: changed since they were copied, or not verified
  std::vector<std::string> notDone;  // files that could not be deleted or renamed back, with why
};
// The values point at the target: each source file whose copy holds its bytes is deleted, but one changed since
// the journal was written (its size or its last-write time), then the emptied source folders, deepest first.
MoveAftermath FinishMove(platform::Platform& platform, const MoveJournal& journal);
// The values point at the source: each copy that holds its source's bytes is removed, each renamed entry renamed
// back, the folders made removed when empty; a copy that differs from its source is kept.
MoveAftermath UndoMove(platform::Platform& platform, const MoveJournal& journal);

// Retires the journal once every step of a finish or an undo is done: empty text, or why it is still there. A step
// not done keeps it, for the next run to try again, and says so with what the user can do.
std::string RetireMoveJournalWhenDone(platform::Platform& platform, const std::string& path, const MoveAftermath& done);

// What the next run does first, once the session's lock is held and no change journal is left: a move that was
// cut off is finished or undone, as the values say, and its journal retired once every step is done; what the user
// hears, or nothing.
std::vector<std::string> FinishOrUndoCutOffMove(platform::Platform& platform);
