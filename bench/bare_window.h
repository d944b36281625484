// The window that every reference program shows: one class, one fixed-size top-level window and one message
// loop, the same in each, so that the programs differ only in what they add to it.
#pragma once

#include <windows.h>
#ifdef ZOLVANE_FLOOR_VISUAL_STYLES
#include <commctrl.h>
#endif

#include "ui/profile_marks.h"

inline LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A floor built with Zolvane's visual styles manifest loads the version 6 common controls as Zolvane does.
inline void LoadCommonControls() {
#ifdef ZOLVANE_FLOOR_VISUAL_STYLES
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
#endif
}

// Registers the class and creates the window, not yet shown.
inline HWND CreateBareWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                             WNDPROC procedure = BareWindowProc) {
  PROFILE_MARK("runtime started, wWinMain entered");
  LoadCommonControls();
  PROFILE_MARK("InitCommonControlsEx");
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  PROFILE_MARK("window class registered");
  HWND window = CreateWindowExW(0, className, caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  PROFILE_MARK("top-level window created");
  return window;
}

// Shows and paints the window, then takes messages until it has closed.
inline int ShowAndRun(HWND window, int showCommand) {
  ShowWindow(window, showCommand);
  PROFILE_MARK("ShowWindow");
  UpdateWindow(window);
  PROFILE_MARK("UpdateWindow: first paint");
  MSG message;
  PROFILE_MARK("message loop entered");
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
