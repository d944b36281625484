// The least Zolvane's design can cost: a bare program that shows Form1's thirteen controls, with the same window
// classes, styles and places as Zolvane's and Text1 filled, and nothing else (no fonts, tool tips, menu, icon,
// visual styles or registry). It is measured beside Zolvane to tell the cost of the design from that of the program.
#include <windows.h>

#include "bench/bare_window.h"
#include "resources/control_ids.h"
#include "ui/form1_layout.h"

namespace {

void CreateControls(HWND window, HINSTANCE instance) {
  DesignUnits units;
  for (std::size_t i = 0; i < kForm1ControlCount; ++i) {
    const ControlDesign& design = kForm1Controls[i];
    RECT pixels = units.Pixels(PlaceInForm1(design));
    ControlClass controlClass = ClassFor(design);
    CreateWindowExA(controlClass.exStyle, controlClass.className, design.caption,
                    WS_CHILD | WS_VISIBLE | controlClass.style, pixels.left, pixels.top, pixels.right - pixels.left,
                    pixels.bottom - pixels.top, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                    instance, nullptr);
  }
  SetDlgItemTextA(window, IDC_TEXT1, "C:\\Documents and Settings\\All Users\\Desktop");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  HWND window = CreateBareWindow(instance, "ZolvaneBenchControlsFloor", "Controls floor");
  CreateControls(window, instance);
  return ShowAndRun(window, showCommand);
}
