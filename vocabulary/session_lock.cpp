// The one lock of the backup and the restore, and what the user hears when it cannot be had.
#include "vocabulary/session_lock.h"

#include "vocabulary/failure.h"

const char* const kSessionLockName = "Zolvane backup and restore";

SessionLock::SessionLock(platform::Locks& locks)
    : locks_(locks), code_(locks.Acquire(kSessionLockName, kSessionLockTimeoutMs, &lock_)) {}

SessionLock::~SessionLock() {
  if (code_ == 0) locks_.Release(lock_);
}

std::string SessionLock::FailureText(platform::System& system) const {
  if (code_ == platform::kErrorWaitTimeout) {
    return WithSystemReason(system,
                            "Another Zolvane is backing up or restoring the special folder paths and has not finished "
                            "within " +
                                std::to_string(kSessionLockTimeoutMs / 1000) + " seconds; nothing was changed",
                            code_);
  }
  return WithSystemReason(system, "Cannot wait for another Zolvane's backup or restore to finish", code_);
}
