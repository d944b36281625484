// The main window as designed: every control with its container, place and size in twips, caption, tool tip, font
// and colour.
#pragma once

#include <cstddef>

#include "ui/control_design.h"

// The client area below the menu bar, in twips.
constexpr int kMainClientWidth = 5775;
constexpr int kMainClientHeight = 3825;

// The controls in tab order: creating them in this order gives the designed focus order. The folder frame is
// the first row.
extern const ControlDesign kMainWindowControls[];
extern const std::size_t kMainWindowControlCount;

// A control's window rectangle in the main window's client area, in twips: a control inside the folder frame is
// offset by the frame's place, and the drop-down list takes room below itself for its open list.
TwipsRect PlaceInMainWindow(const ControlDesign& design);
