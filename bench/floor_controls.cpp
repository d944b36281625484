// The least Zolvane's design can cost: a bare program that shows the main window's thirteen controls, with the same
// window classes, styles and places as Zolvane's and the path box filled, and nothing else (no fonts, tool tips, menu,
// icon or registry). Built twice: plain, and as floor_controls_styled with Zolvane's visual styles manifest and the
// version 6 common controls, the floor Zolvane is measured against.
#include <windows.h>

#include "bench/bare_window.h"
#include "resources/control_ids.h"
#include "ui/main_window_layout.h"

namespace {

void CreateControls(HWND window, HINSTANCE instance) {
  DesignUnits units;
  for (std::size_t i = 0; i < kMainWindowControlCount; ++i) {
    const ControlDesign& design = kMainWindowControls[i];
    RECT pixels = units.Pixels(PlaceInMainWindow(design));
    WCHAR caption[128];
    MultiByteToWideChar(CP_UTF8, 0, design.caption, -1, caption, 128);
    CreateWindowExW(design.exStyle, design.className, caption, WS_CHILD | WS_VISIBLE | design.style, pixels.left,
                    pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
    PROFILE_MARK_AT("control created", i);
  }
  SetDlgItemTextW(window, IDC_PATH, L"C:\\Documents and Settings\\All Users\\Desktop");
  PROFILE_MARK("path shown");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  HWND window = CreateBareWindow(instance, L"ZolvaneBenchControlsFloor", L"Controls floor");
  CreateControls(window, instance);
  return ShowAndRun(window, showCommand);
}
