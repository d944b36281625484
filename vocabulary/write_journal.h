// The journal of a run that writes many values, a restore from a backup or a layout: what each value held before
// the run, on the disk before the run's first write, so that a run cut off at any instant (killed, or the power
// gone) is undone by the next run of Zolvane that takes the session's lock, and nothing stays half done.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/shell_folder_keys.h"
#include "vocabulary/shell_folder_registry.h"

enum class JournalKind { kRestore, kLayout };

// A value as it was before the run: present with its type and bytes, or absent.
struct JournalEntry {
  const ShellFolderKey* key;
  std::string name;
  StoredValue before;
};

// %APPDATA%\Zolvane\unfinished.reg, a registry file of the project's own format; empty text when Windows gives
// the user no application-data folder.
std::string JournalPath(platform::Platform& platform);

class WriteJournal {
 public:
  explicit WriteJournal(platform::Platform& platform) : platform_(platform) {}
  WriteJournal(const WriteJournal&) = delete;
  WriteJournal& operator=(const WriteJournal&) = delete;

  // Writes the journal of these values and flushes it; throws Failure, saying why, when it cannot, and then the
  // run must write nothing. A journal already there is an earlier run's, which could not be undone: it is kept.
  void Begin(JournalKind kind, const std::vector<JournalEntry>& entries);
  // Once the run has finished, or put everything back: the journal goes. Empty text, or what the user must know
  // when it cannot be deleted (the next run would undo this one).
  std::string End();

 private:
  platform::Platform& platform_;
  std::string path_;
};

// What a run that has just taken the session's lock does first: a journal that is there is a cut-off run's, whose
// values are put back; a lock whose last holder ended without letting go is a cut-off run too. What was found and
// done, for the user to hear first; nothing when there was nothing.
std::vector<std::string> UndoCutOffRun(platform::Platform& platform, bool lockAbandoned);
