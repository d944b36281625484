// Every Win32 handle Zolvane holds is closed by its owner when the owner goes, never by hand: a handle that has
// an owner cannot be leaked by an early return or a failure on the way. One template owns every kind of handle;
// painting's two pairs, which hold more than a handle, have scopes of their own.
#pragma once

#include <windows.h>

namespace platform {

// Frees memory of the COM task allocator, with ole32 bound on first use (win32_shell.cpp).
bool FreeTaskMemory(void* memory);

// What the owner needs to know of each kind of handle: its type (Handle), which values own nothing (IsNone, for
// a failed call's answer) and how one is closed (Close: false when the system refused).
namespace handle_kind {

template <typename Type>
struct NullIsNone {
  using Handle = Type;
  static bool IsNone(Type handle) { return handle == nullptr; }
};

// CreateFile fails with INVALID_HANDLE_VALUE, CreateMutex, CreateThread and their like with null.
struct KernelObject {
  using Handle = HANDLE;
  static bool IsNone(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return ::CloseHandle(handle) != FALSE; }
};

// A folder's listing from FindFirstFile, which fails with INVALID_HANDLE_VALUE.
struct FileSearch {
  using Handle = HANDLE;
  static bool IsNone(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return ::FindClose(handle) != FALSE; }
};

struct RegistryKey : NullIsNone<HKEY> {
  static bool Close(HKEY key) { return ::RegCloseKey(key) == ERROR_SUCCESS; }
};

// A font, brush or other object GDI made (deleting a stock object is harmless).
template <typename Object>
struct GdiObject : NullIsNone<Object> {
  static bool Close(Object object) { return ::DeleteObject(object) != FALSE; }
};

// The whole screen's device context, from GetDC(nullptr).
struct ScreenDc : NullIsNone<HDC> {
  static bool Close(HDC dc) { return ::ReleaseDC(nullptr, dc) != 0; }
};

struct Window : NullIsNone<HWND> {
  static bool Close(HWND window) { return ::DestroyWindow(window) != FALSE; }
};

// Memory a call allocated with LocalAlloc for its caller (FormatMessage's text).
template <typename Type>
struct LocalMemory : NullIsNone<Type*> {
  static bool Close(Type* memory) { return ::LocalFree(memory) == nullptr; }
};

// Memory the shell allocated with the COM task allocator (SHBrowseForFolder's item list).
template <typename Type>
struct TaskMemory : NullIsNone<Type*> {
  static bool Close(Type* memory) { return FreeTaskMemory(memory); }
};

}  // namespace handle_kind

// The one owner of one handle of a kind: it may be moved to another owner, never copied.
template <typename Kind>
class Scoped {
 public:
  using Handle = typename Kind::Handle;

  Scoped() = default;
  // Takes what a call gave; a failed call's answer owns nothing.
  explicit Scoped(Handle handle) : handle_(handle) {}
  Scoped(Scoped&& other) noexcept : handle_(other.Release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  ~Scoped() { Close(); }

  bool valid() const { return !Kind::IsNone(handle_); }
  Handle get() const { return handle_; }
  // Closes it now, which can fail (for a file being written, the last of its data not reaching the disk):
  // false then, and for a kernel object the reason is in GetLastError.
  bool Close() {
    if (!valid()) return true;
    return Kind::Close(Release());
  }
  // Gives the handle to a new owner (across the portable interfaces, which hold handles as plain values).
  Handle Release() {
    Handle handle = handle_;
    handle_ = Handle();
    return handle;
  }

 private:
  Handle handle_ = Handle();
};

using ScopedHandle = Scoped<handle_kind::KernelObject>;
using ScopedFileSearch = Scoped<handle_kind::FileSearch>;
using ScopedKey = Scoped<handle_kind::RegistryKey>;
template <typename Object>
using ScopedGdiObject = Scoped<handle_kind::GdiObject<Object>>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedScreenDc = Scoped<handle_kind::ScreenDc>;
using ScopedWindow = Scoped<handle_kind::Window>;
template <typename Type>
using ScopedLocalMemory = Scoped<handle_kind::LocalMemory<Type>>;
template <typename Type>
using ScopedTaskMemory = Scoped<handle_kind::TaskMemory<Type>>;

// A paint begun and ended: the device context of WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { ::EndPaint(window_, &paint_); }
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_;
  HDC dc_;
};

// An object selected into a device context, with the one it replaced put back.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(::SelectObject(dc, object)) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (replaced_ != nullptr) ::SelectObject(dc_, replaced_);
  }

 private:
  HDC dc_;
  HGDIOBJ replaced_;
};

}  // namespace platform
