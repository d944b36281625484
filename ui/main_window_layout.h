// The main window as designed: every control with its container, place and size in twips, caption, tool tip and look.
#pragma once

#include <cstddef>

#include "ui/design_units.h"

enum class ControlKind { Frame, DropDownList, TextBox, Button, Label };

// How a control is drawn beyond the dialog font and the system colours.
enum class ControlLook {
  Plain,
  Title,         // grey, Verdana 9.75 point bold, centred
  Footer,        // grey, Tahoma 8.25 point, centred
  FrameCaption,  // caption in the system highlight colour, drawn by the window
  WrappedNote,   // text wraps within the label's width
  PathBox,       // white background, one line
};

struct ControlDesign {
  int id;
  ControlKind kind;
  bool inFolderFrame;  // placed relative to the folder frame rather than the window's client area
  TwipsRect place;
  const char* caption;  // UTF-8
  const char* toolTip;  // UTF-8, or nullptr
  ControlLook look;
};

// The client area below the menu bar, in twips.
constexpr int kMainClientWidth = 5775;
constexpr int kMainClientHeight = 3825;

// The controls in tab order: creating them in this order gives the designed focus order.
extern const ControlDesign kMainWindowControls[];
extern const std::size_t kMainWindowControlCount;

// The folder frame's place in the client area, the origin of the controls inside it.
const ControlDesign& FolderFrameDesign();

// The window class and styles a control of the design is created with (beyond WS_CHILD and WS_VISIBLE).
struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};
ControlClass ClassFor(const ControlDesign& design);

// A control's window rectangle in the main window's client area, in twips: a control inside the folder frame is
// offset by the
// frame's place, and the drop-down list takes room below itself for its open list.
TwipsRect PlaceInMainWindow(const ControlDesign& design);
