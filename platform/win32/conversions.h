// The platform's own handle types as the Win32 calls take them, for the files of the Win32 layer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// The predefined roots are 32-bit values that Win64 sign-extends.
inline HKEY ToHkey(HKey hive) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(hive))));
}

template <typename Handle>
HANDLE ToHandle(Handle handle) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle));
}

template <typename Handle>
Handle FromHandle(HANDLE handle) {
  return static_cast<Handle>(reinterpret_cast<std::uintptr_t>(handle));
}

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

}  // namespace platform
