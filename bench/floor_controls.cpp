// The least Zolvane's design can cost: a bare program that shows Form1's thirteen controls at their designed
// places, with Text1 filled, and nothing else (no fonts, tool tips, menu, icon, visual styles or registry).
// It is measured beside Zolvane to tell the cost of the design from the cost of the program.
#include <windows.h>

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

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "ZolvaneBenchControlsFloor";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Controls floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  CreateControls(window, instance);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
