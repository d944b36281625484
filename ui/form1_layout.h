// Form1 as designed: every control with its container, place and size in twips, caption, tool tip and look.
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
  bool inFrame2;  // placed relative to Frame2 rather than the window's client area
  TwipsRect place;
  const char* caption;  // UTF-8
  const char* toolTip;  // UTF-8, or nullptr
  ControlLook look;
};

// The client area below the menu bar, in twips.
constexpr int kForm1ClientWidth = 5775;
constexpr int kForm1ClientHeight = 3825;

// The controls in tab order: creating them in this order gives the designed focus order.
extern const ControlDesign kForm1Controls[];
extern const std::size_t kForm1ControlCount;

// Frame2's place in the client area, the origin of the controls inside it.
const ControlDesign& Frame2Design();

// The window class and styles a control of the design is created with (beyond WS_CHILD and WS_VISIBLE).
struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};
ControlClass ClassFor(const ControlDesign& design);

// A control's window rectangle in Form1's client area, in twips: a control inside Frame2 is offset by the
// frame's place, and the drop-down list takes room below itself for its open list.
TwipsRect PlaceInForm1(const ControlDesign& design);

// The copyright line of Form1's footer and of the About window.
extern const char* const kCopyrightLine;
