// The Apply floor: a window with one button that, when clicked, makes the two registry writes Apply makes
// for My Documents and then shows the same message box.
// Usage: floor_apply.exe "<User Shell Folders data>" "<Shell Folders data>"
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "bench/bare_window.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char* gUserShellFoldersData = "";
const char* gShellFoldersData = "";

LONG Write(const char* key, DWORD type, const char* data) {
  char path[256];
  lstrcpyA(path, kExplorer);
  lstrcatA(path, key);
  HKEY opened = nullptr;
  LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, &opened);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExA(opened, "Personal", 0, type, reinterpret_cast<const BYTE*>(data),
                          static_cast<DWORD>(std::strlen(data) + 1));
  RegCloseKey(opened);
  return result;
}

void ApplyClicked(HWND window) {
  Write("User Shell Folders", REG_EXPAND_SZ, gUserShellFoldersData);
  LONG result = Write("Shell Folders", REG_SZ, gShellFoldersData);
  MessageBoxA(window, result == ERROR_SUCCESS ? "Successfully done!" : "An error occurred.", "Zolvane", MB_OK);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    if (LOWORD(wParam) == 1 && HIWORD(wParam) == BN_CLICKED) ApplyClicked(window);
    return 0;
  }
  return BareWindowProc(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (__argc > 2) {
    gUserShellFoldersData = __argv[1];
    gShellFoldersData = __argv[2];
  }
  HWND window = CreateBareWindow(instance, "ZolvaneBenchApplyFloor", "Apply floor", FloorProc);
  CreateWindowExA(0, "BUTTON", "&Apply", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 20, 20, 100, 28, window,
                  reinterpret_cast<HMENU>(1), instance, nullptr);
  return ShowAndRun(window, showCommand);
}
