// Locks of the user's session: named mutexes, waited for with a bound.
#include <windows.h>

#include "platform/win32/conversions.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

// "Local\\": the namespace of the user's session, so that two users of one machine never wait for each other.
std::int32_t Win32Locks::Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Widen("Local\\" + name).data());
  if (mutex == nullptr) return static_cast<std::int32_t>(GetLastError());
  DWORD waited = ::WaitForSingleObject(mutex, timeoutMs);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    *lock = FromHandle<LockHandle>(mutex);
    return 0;
  }
  DWORD code = waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError();
  ::CloseHandle(mutex);
  return static_cast<std::int32_t>(code);
}

void Win32Locks::Release(LockHandle lock) {
  HANDLE mutex = ToHandle(lock);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

}  // namespace platform
