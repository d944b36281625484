// The lock that lets one backup or restore run at a time among all of the user's Zolvane windows and command lines.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// How long a backup or a restore waits for another one to finish before it gives up and changes nothing.
constexpr std::uint32_t kBackupLockTimeoutMs = 60000;

// Waits for the lock when made, bounded, and lets it go when it goes.
class BackupLock {
 public:
  explicit BackupLock(platform::Locks& locks);
  BackupLock(const BackupLock&) = delete;
  BackupLock& operator=(const BackupLock&) = delete;
  ~BackupLock();

  // 0 once the lock is held, else the system's code of the wait.
  std::int32_t code() const { return code_; }
  // Why the lock is not held, for the user.
  std::string FailureText(platform::System& system) const;

 private:
  platform::Locks& locks_;
  platform::LockHandle lock_ = platform::LockHandle::kNone;
  std::int32_t code_;
};
