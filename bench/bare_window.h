// The window that every reference program shows: one class, one fixed-size top-level window and one message
// loop, the same in each, so that the programs differ only in what they add to it.
#pragma once

#include <windows.h>

inline LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Registers the class and creates the window, not yet shown.
inline HWND CreateBareWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                             WNDPROC procedure = BareWindowProc) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, className, caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                         400, 300, nullptr, nullptr, instance, nullptr);
}

// Shows and paints the window, then takes messages until it has closed.
inline int ShowAndRun(HWND window, int showCommand) {
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
