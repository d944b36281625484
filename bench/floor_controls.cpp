// The least Zolvane's design can cost: a bare program that shows the main window's thirteen controls, with the same
// window classes, styles and places as Zolvane's and the path box filled, and nothing else (no fonts, tool tips, menu,
// icon, visual styles or registry). It is measured beside Zolvane to tell the cost of the design from that of the
// program.
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
    ControlClass controlClass = ClassFor(design);
    WCHAR caption[128];
    MultiByteToWideChar(CP_UTF8, 0, design.caption, -1, caption, 128);
    CreateWindowExW(controlClass.exStyle, controlClass.className, caption, WS_CHILD | WS_VISIBLE | controlClass.style,
                    pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
  }
  SetDlgItemTextW(window, IDC_PATH, L"C:\\Documents and Settings\\All Users\\Desktop");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  HWND window = CreateBareWindow(instance, L"ZolvaneBenchControlsFloor", L"Controls floor");
  CreateControls(window, instance);
  return ShowAndRun(window, showCommand);
}
