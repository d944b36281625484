// The lock that lets one backup or restore run at a time among all of the user's Zolvane windows and command lines.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// The lock's name in the session.
extern const char* const kSessionLockName;

// How long a backup or a restore waits for another one to finish before it gives up and changes nothing.
constexpr std::uint32_t kSessionLockTimeoutMs = 60000;

// Waits for the lock when made, bounded, and lets it go when it goes.
class SessionLock {
 public:
  explicit SessionLock(platform::Locks& locks);
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  ~SessionLock();

  // 0 once the lock is held, else the system's code of the wait.
  std::int32_t code() const { return code_; }
  // Why the lock is not held, for the user.
  std::string FailureText(platform::System& system) const;

 private:
  platform::Locks& locks_;
  platform::LockHandle lock_ = platform::LockHandle::kNone;
  std::int32_t code_;
};
