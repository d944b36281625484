// The one lock of the backup and the restore, and what the user hears when it cannot be had.
#include "backup/backup_lock.h"

#include "backup/failure.h"

namespace {

const char* const kLockName = "Zolvane backup and restore";

}  // namespace

BackupLock::BackupLock(platform::Locks& locks)
    : locks_(locks), code_(locks.Acquire(kLockName, kBackupLockTimeoutMs, &lock_)) {}

BackupLock::~BackupLock() {
  if (code_ == 0) locks_.Release(lock_);
}

std::string BackupLock::FailureText(platform::System& system) const {
  if (code_ == platform::kErrorWaitTimeout) {
    return WithSystemReason(system,
                            "Another Zolvane is backing up or restoring the special folder paths and has not finished "
                            "within " +
                                std::to_string(kBackupLockTimeoutMs / 1000) + " seconds; nothing was changed",
                            code_);
  }
  return WithSystemReason(system, "Cannot wait for another Zolvane's backup or restore to finish", code_);
}
