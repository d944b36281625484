// The one lock of the user's session that every write and every backup of Zolvane takes, from any number of
// windows and command lines, so that no two of them interleave; and the undoing of a run that was cut off.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// The lock's name in the session.
extern const char* const kSessionLockName;

// How long a run waits for another one to finish before it gives up and changes nothing.
constexpr std::uint32_t kSessionLockTimeoutMs = 60000;

// Waits for the lock when made, bounded, and lets it go when it goes. Once it holds the lock, a run that was cut
// off (its journal is there, or it left the lock abandoned) is undone first.
class SessionLock {
 public:
  explicit SessionLock(platform::Platform& platform, std::uint32_t timeoutMs = kSessionLockTimeoutMs);
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  ~SessionLock();

  // 0 once the lock is held, else the system's code of the wait.
  std::int32_t code() const { return code_; }
  // What undoing a cut-off run found and did, for the user to hear first.
  const std::vector<std::string>& notices() const { return notices_; }
  // Why the lock is not held, for the user.
  std::string FailureText() const;

 private:
  platform::Platform& platform_;
  platform::LockHandle lock_ = platform::LockHandle::kNone;
  bool abandoned_ = false;
  std::int32_t code_;
  std::vector<std::string> notices_;
};

// At a program's start: when no other run holds the lock, a run that was cut off is undone now; what was done.
std::vector<std::string> UndoCutOffRunAtStart(platform::Platform& platform);
