// The window-procedure plumbing shared by Form1 and frmAbout.
#include "ui/window_base.h"

#include <exception>
#include <vector>

#include "core/form1_view.h"

void WindowBase::RegisterWindowClass(HINSTANCE instance, const char* className, HICON icon, HICON smallIcon) {
  WNDCLASSEXA windowClass = {};
  if (GetClassInfoExA(instance, className, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowBase::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hIconSm = smallIcon;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);
}

bool WindowBase::CreateTopLevel(HINSTANCE instance, const char* className, const std::string& caption, DWORD style,
                                DWORD exStyle, const RECT& bounds, HWND owner, HMENU menu) {
  CreateWindowExA(exStyle, className, Ansi(caption).c_str(), style, bounds.left, bounds.top, bounds.right - bounds.left,
                  bounds.bottom - bounds.top, owner, menu, instance, this);
  return hwnd_ != nullptr;
}

void WindowBase::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    ReportFailure(failure.what());
  } catch (...) {
    ReportFailure("An unexpected error occurred.");
  }
}

void WindowBase::ReportFailure(const std::string& description) {
  HWND owner = hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
  MessageBoxA(owner, Ansi(description).c_str(), Ansi(kAppTitle).c_str(), MB_OK);
}

LRESULT WindowBase::ColouredLabel(HDC dc, COLORREF text) {
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool WindowBase::KeepFocusAcrossActivation(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    focusBeforeDeactivation_ = IsChild(hwnd_, focus) ? focus : nullptr;
    return false;
  }
  if (focusBeforeDeactivation_ == nullptr || !IsWindow(focusBeforeDeactivation_)) return false;
  SetFocus(focusBeforeDeactivation_);
  return true;
}

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  // Nothing may unwind through the system's callback.
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& failure) {
    self->ReportFailure(failure.what());
  } catch (...) {
    self->ReportFailure("An unexpected error occurred.");
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

std::string WindowTextOf(HWND hwnd, platform::CodePage& codePage) {
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
  return codePage.FromAnsi(std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0));
}

void SetWindowTextTo(HWND hwnd, platform::CodePage& codePage, const std::string& utf8) {
  SetWindowTextA(hwnd, codePage.ToAnsi(utf8).c_str());
}
