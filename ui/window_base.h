// The window-procedure plumbing, written once: a C++ object behind each HWND, the one guard at the callback, and
// the making and colouring of the controls of a design table.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "ui/control_design.h"

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

  // A control of the design at its place in pixels, with its font.
  HWND CreateDesignedControl(HINSTANCE instance, const ControlDesign& design, const RECT& pixels, HFONT font);
  // WM_CTLCOLORSTATIC: a label of the table with a colour of its own is drawn in it on the dialog background;
  // any other keeps the system's colours.
  LRESULT ColourOfLabel(HDC dc, HWND control, const ControlDesign* table, std::size_t count);

  // WM_ACTIVATE: a window that is left remembers its focused control and gets it back on return.
  // True when the message is handled.
  bool KeepFocusAcrossActivation(WPARAM wParam);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // A failure that reached the window procedure becomes a message box with its description; the program goes on.
  void ReportFailure(const std::string& description);

  HWND focusBeforeDeactivation_ = nullptr;
};

// A window's text, in UTF-8.
std::string WindowTextOf(HWND hwnd);
// Sets a window's text, given in UTF-8.
void SetWindowTextTo(HWND hwnd, const std::string& utf8);
