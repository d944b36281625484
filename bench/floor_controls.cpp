// The least Zolvane's design can cost: a bare program that shows Form1's thirteen controls at their designed
// places, with Text1 filled, and nothing else (no fonts, tool tips, menu, icon, visual styles or registry).
// It is measured beside Zolvane to tell the cost of the design from the cost of the program.
#include <windows.h>

#include "bench/bare_window.h"
#include "resources/control_ids.h"
#include "ui/form1_layout.h"

namespace {

const char* ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::Frame:
    case ControlKind::Button:
      return "BUTTON";
    case ControlKind::DropDownList:
      return "COMBOBOX";
    case ControlKind::TextBox:
      return "EDIT";
    case ControlKind::Label:
    default:
      return "STATIC";
  }
}

DWORD StyleFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::Frame:
      return BS_GROUPBOX;
    case ControlKind::Button:
      return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::DropDownList:
      return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::TextBox:
      return ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER;
    case ControlKind::Label:
    default:
      return SS_LEFT;
  }
}

void CreateControls(HWND window, HINSTANCE instance) {
  DesignUnits units;
  for (std::size_t i = 0; i < kForm1ControlCount; ++i) {
    const ControlDesign& design = kForm1Controls[i];
    TwipsRect place = design.place;
    if (design.inFrame2) {
      place.left += Frame2Design().place.left;
      place.top += Frame2Design().place.top;
    }
    RECT pixels = units.Pixels(place);
    CreateWindowExA(0, ClassFor(design.kind), design.caption, WS_CHILD | WS_VISIBLE | StyleFor(design.kind),
                    pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
  }
  SetDlgItemTextA(window, IDC_TEXT1, "C:\\Documents and Settings\\All Users\\Desktop");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  HWND window = CreateBareWindow(instance, "ZolvaneBenchControlsFloor", "Controls floor");
  CreateControls(window, instance);
  return ShowAndRun(window, showCommand);
}
