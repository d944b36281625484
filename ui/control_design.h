// The one shape of both windows' design tables: each control's class, styles, place in twips, caption, tool tip,
// font and text colour; and the fonts those tables name, made at the screen's resolution.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/win32/scoped_handle.h"
#include "ui/design_units.h"

enum class DesignFont {
  kDialog,       // the system's message font
  kTitle,        // Verdana 9.75 point bold
  kFooter,       // Tahoma 8.25 point
  kDescription,  // Verdana 8.25 point italic
  kLink,         // MS Sans Serif 8.25 point underlined
  kCount
};

// The text colour of a control that keeps the system's.
constexpr COLORREF kSystemColours = CLR_INVALID;

struct ControlDesign {
  int id;
  const wchar_t* className;
  DWORD style;  // beyond WS_CHILD and WS_VISIBLE
  DWORD exStyle;
  TwipsRect place;      // in the window's client area, or in the folder frame when inFolderFrame
  bool inFolderFrame;   // the main window's controls that sit on its folder frame
  const char* caption;  // UTF-8
  const char* toolTip;  // UTF-8, or nullptr
  DesignFont font;
  COLORREF textColour;
};

// A table's design for a control id, or nullptr.
const ControlDesign* FindDesign(const ControlDesign* table, std::size_t count, int id);

// The fonts of a window's design, each made when first asked for and deleted with the object.
class DesignFonts {
 public:
  explicit DesignFonts(const DesignUnits& units) : units_(units) {}
  DesignFonts(const DesignFonts&) = delete;
  DesignFonts& operator=(const DesignFonts&) = delete;

  HFONT Get(DesignFont font);

 private:
  const DesignUnits& units_;
  platform::ScopedFont fonts_[static_cast<std::size_t>(DesignFont::kCount)];
};
