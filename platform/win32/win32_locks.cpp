// Locks of the user's session: named mutexes, waited for with a bound.
#include <windows.h>

#include "platform/win32/conversions.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

// "Local\\": the namespace of the user's session, so that two users of one machine never wait for each other.
std::int32_t Win32Locks::Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock, bool* abandoned) {
  ScopedHandle mutex(::CreateMutexW(nullptr, FALSE, Widen("Local\\" + name).data()));
  if (!mutex.valid()) return static_cast<std::int32_t>(GetLastError());
  DWORD waited = ::WaitForSingleObject(mutex.get(), timeoutMs);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    *abandoned = waited == WAIT_ABANDONED;
    *lock = FromHandle<LockHandle>(mutex.Release());
    return 0;
  }
  return static_cast<std::int32_t>(waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError());
}

void Win32Locks::Release(LockHandle lock) {
  ScopedHandle mutex(ToHandle(lock));
  ::ReleaseMutex(mutex.get());
}

}  // namespace platform
