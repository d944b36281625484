// The window-procedure plumbing shared by the main window and the About window.
#include "ui/window_base.h"

#include <exception>
#include <vector>

#include "vocabulary/product_texts.h"

bool WindowBase::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon, HICON smallIcon) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(instance, className, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowBase::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hIconSm = smallIcon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) != 0;
}

bool WindowBase::CreateTopLevel(HINSTANCE instance, const wchar_t* className, const std::string& caption, DWORD style,
                                DWORD exStyle, const RECT& bounds, HWND owner, HMENU menu) {
  CreateWindowExW(exStyle, className, platform::Widen(caption).data(), style, bounds.left, bounds.top,
                  bounds.right - bounds.left, bounds.bottom - bounds.top, owner, menu, instance, this);
  return hwnd_ != nullptr;
}

void WindowBase::ReportFailure(const std::string& description) {
  HWND owner = hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
  MessageBoxW(owner, platform::Widen(description).data(), platform::Widen(kAppTitle).data(), MB_OK);
}

HWND WindowBase::CreateDesignedControl(HINSTANCE instance, const ControlDesign& design, const RECT& pixels,
                                       HFONT font) {
  HWND control = CreateWindowExW(design.exStyle, design.className, platform::Widen(design.caption).data(),
                                 WS_CHILD | WS_VISIBLE | design.style, pixels.left, pixels.top,
                                 pixels.right - pixels.left, pixels.bottom - pixels.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

LRESULT WindowBase::ColourOfLabel(HDC dc, HWND control, const ControlDesign* table, std::size_t count) {
  const ControlDesign* design = FindDesign(table, count, GetDlgCtrlID(control));
  if (design == nullptr || design->textColour == kSystemColours) {
    return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  SetTextColor(dc, design->textColour);
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
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
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
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

std::string WindowTextOf(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return std::string();
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return platform::Narrow(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void SetWindowTextTo(HWND hwnd, const std::string& utf8) {
  SetWindowTextW(hwnd, platform::Widen(utf8).data());
}
