// The journal of a change of the registry: each value the change writes, as it was and as the change writes it,
// on the disk before the first write and gone after the last. A change cut off at any instant (the process ended,
// the power gone) is undone from it by the next run of Zolvane, which puts back only the values that still hold
// what the cut-off change wrote: a value another program has set since is that program's.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/shell_folder_keys.h"
#include "vocabulary/shell_folder_registry.h"

// What a change does: its journal says so, and the undo of a cut-off one names it.
enum class ChangeKind { kRelocation, kDefaultRestore, kBackupRestore, kLayout };

// One value of a change: as it was, and as the change writes it (present with its type and bytes, or absent).
// An older Zolvane's journal kept only what a value was: its after is kUnknown.
struct JournalEntry {
  const ShellFolderKey* key = nullptr;
  std::string name;
  StoredValue before;
  StoredValue after;
};

// The largest journal Zolvane writes, and so the largest it reads back. A restore of the largest backup
// (kMaxRegistryFileBytes) notes the values it writes in at most one and a half times the backup's size (a
// character of two bytes there takes at most three here), and the values they replace in about as much again; a
// change whose journal would be larger still is refused before anything is written.
constexpr std::size_t kMaxJournalBytes = 4 * kMaxRegistryFileBytes;

// A journal as its file holds it: a header line, the change's kind, a line a value, and an end line that counts
// them. Texts are UTF-8 with their terminators, so that a journal takes about the room of the values it holds.
std::string JournalBytes(ChangeKind kind, const std::vector<JournalEntry>& entries);

// A journal read back, or why it cannot be.
struct ParsedJournal {
  bool readable = false;
  int offendingLineNumber = 0;
  std::string offendingLine;
  std::string reason;
  // "A restore", "A layout", ...: what was cut off, as the user is told.
  std::string run;
  std::vector<JournalEntry> entries;
};
// This format, or the registry file of an older Zolvane's journal.
ParsedJournal ParseJournal(const std::string& bytes);

// Where the journal goes: "Zolvane\unfinished.reg" in the user's application-data folder, as the shell names it.
// Empty text when it names none, or none that is a full path.
std::string JournalPath(platform::Platform& platform);

// A file of Zolvane's own beside the journal ("Zolvane\\moving.txt"): empty text where JournalPath is.
std::string JournalPathNamed(platform::Platform& platform, const char* name);

// What every journal shares: a text in quotes on a line, escaped so that the line holds all of it and nothing but
// it; a value's state ("-", or its type and its text or bytes); the journal written whole beside its place,
// flushed and moved there in one step (throwing Failure in the user's words, a journal already there refused),
// or put in the place of an earlier one the same way; and retired once it has served (deleted, else renamed
// ".done": empty text, or why it is still there and what then happens). A journal is at most kMaxJournalBytes.
void AppendJournalText(std::string& out, const std::string& text);
bool ReadJournalText(const std::string& line, std::size_t* pos, std::string* text);
void AppendJournalState(std::string& out, const StoredValue& value);
bool ReadJournalState(const std::string& line, std::size_t* pos, StoredValue* value);
void WriteNewJournal(platform::Platform& platform, const std::string& path, const std::string& bytes);
// A file's bytes replaced whole: written beside it (its path and besideSuffix), then moved into its place in one
// step, so that a reader finds the old bytes or the new, never half of them. 0 or the system's code.
std::int32_t ReplaceFileWhole(platform::Files& files, const std::string& path, const std::string& bytes,
                              const char* besideSuffix);
void RewriteJournal(platform::Platform& platform, const std::string& path, const std::string& bytes);
std::string RetireJournal(platform::Platform& platform, const std::string& path, const char* otherwise);

// The journal of one change.
class ChangeJournal {
 public:
  explicit ChangeJournal(platform::Platform& platform) : platform_(platform) {}
  ChangeJournal(const ChangeJournal&) = delete;
  ChangeJournal& operator=(const ChangeJournal&) = delete;

  // Writes the journal whole beside its place, flushed, and moves it there in one step; throws Failure, in the
  // user's words, when it cannot, and then the change must write nothing. A journal already there is an earlier
  // change's that could not be undone: it is kept, and this change refused.
  void Begin(ChangeKind kind, const std::vector<JournalEntry>& entries);
  // Once every value holds what the change wrote, or what it held before: the journal goes. Empty text, or what
  // the user must know when it could not be deleted.
  std::string End();

 private:
  platform::Platform& platform_;
  std::string path_;
};

// The first thing a run that holds the session's lock does, before it reads or writes a value: a journal that is
// there is a cut-off change's, undone now and then deleted, or marked done where it cannot be deleted, so that
// it is undone once only; then a move of a folder's files that was cut off is finished or undone
// (FinishOrUndoCutOffMove); a lock whose last holder ended without letting go is a cut-off run too. What was found
// and done, for the user to hear first; nothing when there was nothing.
std::vector<std::string> UndoCutOffChange(platform::Platform& platform, bool lockAbandoned);
