// A kernel object's handle closed by its owner when the owner goes, never by hand: a handle that has an owner
// cannot be leaked by an early return or a failure on the way.
#pragma once

#include <windows.h>

namespace platform {

class ScopedHandle {
 public:
  // Takes a handle that CreateFile, CreateProcess, CreateThread and their like gave; a failed call's
  // (null, or INVALID_HANDLE_VALUE) owns nothing.
  explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { Close(); }

  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes it now, which can fail (for a file being written, the last of its data not reaching the disk):
  // false then, with the reason in GetLastError.
  bool Close() {
    if (!valid()) return true;
    HANDLE handle = handle_;
    handle_ = nullptr;
    return ::CloseHandle(handle) != FALSE;
  }
  // Closes the handle it holds, and owns this one instead.
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // Gives the handle to a new owner.
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  HANDLE handle_;
};

}  // namespace platform
