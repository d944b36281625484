// The session's lock, and what the user hears when it cannot be had.
#include "vocabulary/session_lock.h"

#include "vocabulary/failure.h"
#include "vocabulary/vocabulary_texts.h"

const char* const kSessionLockName = "Zolvane backup and restore";

SessionLock::SessionLock(platform::Platform& platform, std::uint32_t timeoutMs)
    : platform_(platform), code_(platform.locks.Acquire(kSessionLockName, timeoutMs, &lock_, &abandoned_)) {}

SessionLock::~SessionLock() {
  if (code_ == 0) platform_.locks.Release(lock_);
}

std::string SessionLock::FailureText() const {
  if (code_ == platform::kErrorWaitTimeout) {
    return WithSystemReason(platform_.system, OtherRunNotFinished(kSessionLockTimeoutMs / 1000), code_);
  }
  return WithSystemReason(platform_.system, kCannotWaitForOtherRun, code_);
}
