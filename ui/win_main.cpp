// Zolvane's entry point: the main window and the message loop that runs until it has closed.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/win32_platform.h"
#include "ui/main_window.h"
#include "ui/startup_marks.h"

namespace {

int RunMessageLoop(MainWindow& mainWindow) {
  MSG message;
  STARTUP_MARK("message loop entered");
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (mainWindow.TranslateShortcut(message)) continue;
    if (mainWindow.TranslateDialogKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  STARTUP_MARK("runtime started, wWinMain entered");
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  STARTUP_MARK("InitCommonControlsEx");
  platform::Win32Platform win32;
  MainWindow mainWindow(instance, win32.platform());
  // A window that could not be made would leave the loop waiting for ever.
  if (std::optional<int> exitCode = mainWindow.Open(showCommand)) return *exitCode;
  return RunMessageLoop(mainWindow);
}
