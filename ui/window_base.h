// The window-procedure plumbing, written once: a C++ object behind each HWND, and a guard at the callback.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/wide_text.h"

class WindowBase {
 public:
  WindowBase() = default;
  virtual ~WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  // False when the system refused: GetLastError says why.
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon, HICON smallIcon);
  // Creates the top-level window of this object (hidden); false when the system refused.
  bool CreateTopLevel(HINSTANCE instance, const wchar_t* className, const std::string& caption, DWORD style,
                      DWORD exStyle, const RECT& bounds, HWND owner, HMENU menu);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Runs one event handler; a failure becomes a message box with its description and the program goes on.
  void Guarded(const std::function<void()>& handler);
  void ReportFailure(const std::string& description);

  // WM_ACTIVATE: a window that is left remembers its focused control and gets it back on return.
  // True when the message is handled.
  bool KeepFocusAcrossActivation(WPARAM wParam);

  // WM_CTLCOLORSTATIC for a label of its own colour on the dialog background.
  static LRESULT ColouredLabel(HDC dc, COLORREF text);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND focusBeforeDeactivation_ = nullptr;
};

// The system's own description of an error code, without its line end.
std::string SystemErrorText(DWORD code);
// A window's text, in UTF-8.
std::string WindowTextOf(HWND hwnd);
// Sets a window's text, given in UTF-8.
void SetWindowTextTo(HWND hwnd, const std::string& utf8);
