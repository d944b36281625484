// The window-procedure plumbing, written once: a C++ object behind each HWND, and a guard at the callback.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/platform.h"

class WindowBase {
 public:
  explicit WindowBase(platform::CodePage& codePage) : codePage_(codePage) {}
  virtual ~WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  static void RegisterWindowClass(HINSTANCE instance, const char* className, HICON icon, HICON smallIcon);
  // Creates the top-level window of this object (hidden); false when the system refused.
  bool CreateTopLevel(HINSTANCE instance, const char* className, const std::string& caption, DWORD style, DWORD exStyle,
                      const RECT& bounds, HWND owner, HMENU menu);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Runs one event handler; a failure becomes a message box with its description and the program goes on.
  void Guarded(const std::function<void()>& handler);
  void ReportFailure(const std::string& description);

  // WM_ACTIVATE: a window that is left remembers its focused control and gets it back on return.
  // True when the message is handled.
  bool KeepFocusAcrossActivation(WPARAM wParam);

  // WM_CTLCOLORSTATIC for a label of its own colour on the dialog background.
  static LRESULT ColouredLabel(HDC dc, COLORREF text);

  std::string Ansi(const std::string& utf8) { return codePage_.ToAnsi(utf8); }
  platform::CodePage& codePage() { return codePage_; }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  platform::CodePage& codePage_;
  HWND focusBeforeDeactivation_ = nullptr;
};

// A window's text, converted from the ANSI code page.
std::string WindowTextOf(HWND hwnd, platform::CodePage& codePage);
// Sets a window's text through the ANSI API.
void SetWindowTextTo(HWND hwnd, platform::CodePage& codePage, const std::string& utf8);
