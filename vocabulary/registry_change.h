// The one way Zolvane changes the registry: a list of values, each to be set or deleted, written whole or not at
// all under the session's lock, journalled first so that a change cut off at any instant is undone by the next
// run, and never written over another program's value. Every writer builds its list and words the result; none
// repeats the transaction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/shell_folder_keys.h"
#include "vocabulary/shell_folder_registry.h"

// One value a change sets or deletes: each value at most once in a change.
struct ValueChange {
  const ShellFolderKey* key = nullptr;
  std::string name;
  StoredValue after;  // present: the type and bytes written; absent: the value is deleted
};

// What became of one value of a change.
enum class ValueFate {
  kAlreadySo,         // it held what the change writes, and was not written
  kWritten,           // it holds what the change wrote
  kFailed,            // the change stopped at it: its write failed, or it did not read back as written
  kPutBack,           // written, then put back as it was, since the change failed
  kNotPutBack,        // written, and could not be put back: the journal keeps it for the next run
  kChangedElsewhere,  // written, then changed by another program: left as that program made it
  kNotReached,        // never written
};

struct ChangeResult {
  enum class Stop {
    kNone,              // every value holds what the change writes
    kLock,              // another run held the lock past the wait, or the wait failed
    kUnreadable,        // a value could not be read before it would be replaced
    kJournal,           // the journal could not be written
    kWrite,             // a write or a deletion failed
    kNotTaken,          // a write the registry took with success does not read back
    kChangedMeanwhile,  // a value read back as another program made it while Zolvane wrote
  };
  Stop stop = Stop::kNone;
  // 0 when done, else the system's code of the step that failed.
  std::int32_t code = 0;
  // The failed step in the user's words, with the system's reason; empty when done.
  std::string failure;
  // One for each value of the change, in its order.
  std::vector<ValueFate> fates;
  // Named as messages name them: "HKEY_CURRENT_USER\...\Shell Folders\Personal".
  std::vector<std::string> notPutBack;
  std::vector<std::string> changedElsewhere;
  // What the undo of a cut-off change found and did, and a journal that could not be retired: for the user first.
  std::vector<std::string> notices;

  bool done() const { return stop == Stop::kNone; }
  std::size_t Count(ValueFate fate) const;
  // After a failure: that nothing was changed, or which values are not as they were and why. Begins with a line
  // break; empty when done.
  std::string Aftermath() const;
};

class RegistryChange {
 public:
  // Waits for the session's lock, bounded, and once it holds it undoes a change that was cut off.
  RegistryChange(platform::Platform& platform, ChangeKind kind, std::uint32_t timeoutMs = kSessionLockTimeoutMs);
  RegistryChange(const RegistryChange&) = delete;
  RegistryChange& operator=(const RegistryChange&) = delete;

  // Whether the lock is held; Write without it changes nothing and says why.
  bool ready() const { return lock_.code() == 0; }
  // What undoing a cut-off run said as the lock was taken; Write's result carries them too.
  const std::vector<std::string>& notices() const { return notices_; }
  // Reads what each value holds (one that cannot be read stops the change), journals those it changes, writes
  // them in order, reads each back, and puts back every value it wrote when one fails, but a value another program
  // changed since. Once for each RegistryChange.
  ChangeResult Write(const std::vector<ValueChange>& changes);

 private:
  platform::Platform& platform_;
  ChangeKind kind_;
  SessionLock lock_;
  std::vector<std::string> notices_;
};

// A text value as the registry holds it: its text with a terminating NUL, added where the data has none, so that
// what is written reads back the same on every system.
StoredValue AsTheRegistryHoldsIt(StoredValue value);

// For each value, whether it already holds what the change writes: a dry run's answer, read without the lock.
std::vector<bool> AlreadySo(platform::Registry& registry, const std::vector<ValueChange>& changes);

// At a program's start: a change that was cut off is undone now, unless another run holds the lock (which undoes
// it itself); what was done.
std::vector<std::string> UndoCutOffChangeAtStart(platform::Platform& platform);
