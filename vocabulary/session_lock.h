// The one lock of the user's session that every write and every backup of Zolvane takes, from any number of
// windows and command lines, so that no two of them interleave. Taking it does nothing else.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// The lock's name in the session: an older Zolvane running beside a newer one waits for it too.
extern const char* const kSessionLockName;

// How long a run waits for another one to finish before it gives up and changes nothing.
constexpr std::uint32_t kSessionLockTimeoutMs = 60000;

// Waits for the lock when made, bounded, and lets it go when it goes.
class SessionLock {
 public:
  explicit SessionLock(platform::Platform& platform, std::uint32_t timeoutMs = kSessionLockTimeoutMs);
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  ~SessionLock();

  // 0 once the lock is held, else the system's code of the wait.
  std::int32_t code() const { return code_; }
  // The lock's last holder ended without letting go: a run that was cut off.
  bool abandoned() const { return abandoned_; }
  // Why the lock is not held, for the user.
  std::string FailureText() const;

 private:
  platform::Platform& platform_;
  platform::LockHandle lock_ = platform::LockHandle::kNone;
  bool abandoned_ = false;
  std::int32_t code_;
};
