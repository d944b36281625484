// The Apply floor: a window with one button that, when clicked, makes the two wide registry writes Apply makes
// for My Documents and then shows the same message box. Built with Zolvane's visual styles manifest, so that
// both message boxes are made of the same themed controls.
// Usage: floor_apply.exe "<User Shell Folders data>" "<Shell Folders data>"
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cwchar>

#include "bench/bare_window.h"
#include "features/feature_texts.h"
#include "vocabulary/product_texts.h"

namespace {

// Zolvane's ASCII texts as the wide strings MessageBoxW takes, widened by the compiler: the floor converts nothing
// while it is timed.
template <std::size_t N>
struct WideText {
  constexpr explicit WideText(const char (&ascii)[N]) : text() {
    for (std::size_t i = 0; i < N; ++i) text[i] = static_cast<wchar_t>(ascii[i]);
  }
  wchar_t text[N];
};
constexpr WideText kRelocatedText(kRelocated);
constexpr WideText kErrorOccurredText(kErrorOccurred);
constexpr WideText kAppTitleText(kAppTitle);

const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const wchar_t* gUserShellFoldersData = L"";
const wchar_t* gShellFoldersData = L"";

LONG Write(const wchar_t* key, DWORD type, const wchar_t* data) {
  wchar_t path[256];
  lstrcpyW(path, kExplorer);
  lstrcatW(path, key);
  HKEY opened = nullptr;
  LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, &opened);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExW(opened, L"Personal", 0, type, reinterpret_cast<const BYTE*>(data),
                          static_cast<DWORD>((std::wcslen(data) + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return result;
}

void ApplyClicked(HWND window) {
  Write(L"User Shell Folders", REG_EXPAND_SZ, gUserShellFoldersData);
  LONG result = Write(L"Shell Folders", REG_SZ, gShellFoldersData);
  MessageBoxW(window, result == ERROR_SUCCESS ? kRelocatedText.text : kErrorOccurredText.text, kAppTitleText.text,
              MB_OK);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    if (LOWORD(wParam) == 1 && HIWORD(wParam) == BN_CLICKED) ApplyClicked(window);
    return 0;
  }
  return BareWindowProc(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  if (__argc > 2) {
    gUserShellFoldersData = __wargv[1];
    gShellFoldersData = __wargv[2];
  }
  HWND window = CreateBareWindow(instance, L"ZolvaneBenchApplyFloor", L"Apply floor", FloorProc);
  CreateWindowExW(0, L"BUTTON", L"&Apply", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 20, 20, 100, 28, window,
                  reinterpret_cast<HMENU>(1), instance, nullptr);
  return ShowAndRun(window, showCommand);
}
