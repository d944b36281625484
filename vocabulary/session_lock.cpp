// The session's lock, and what the user hears when it cannot be had.
#include "vocabulary/session_lock.h"

#include "vocabulary/failure.h"

const char* const kSessionLockName = "Zolvane backup and restore";

SessionLock::SessionLock(platform::Platform& platform, std::uint32_t timeoutMs)
    : platform_(platform), code_(platform.locks.Acquire(kSessionLockName, timeoutMs, &lock_, &abandoned_)) {}

SessionLock::~SessionLock() {
  if (code_ == 0) platform_.locks.Release(lock_);
}

std::string SessionLock::FailureText() const {
  if (code_ == platform::kErrorWaitTimeout) {
    return WithSystemReason(platform_.system,
                            "Another Zolvane is changing or backing up the special folder paths and has not finished "
                            "within " +
                                std::to_string(kSessionLockTimeoutMs / 1000) + " seconds; nothing was changed",
                            code_);
  }
  return WithSystemReason(platform_.system, "Cannot wait for another Zolvane to finish its work", code_);
}
