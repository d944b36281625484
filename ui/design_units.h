// The windows are designed in twips and points; these turn design values into pixels and fonts at the
// screen's resolution (15 twips a pixel at 96 dots per inch).
#pragma once

#include <windows.h>

#include "platform/win32/scoped_handle.h"

// A control's place in its container, in twips.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

class DesignUnits {
 public:
  // The screen's resolution, read once in the process.
  DesignUnits();

  int X(int twips) const { return MulDiv(twips, dpiX_, 1440); }
  int Y(int twips) const { return MulDiv(twips, dpiY_, 1440); }
  RECT Pixels(const TwipsRect& rect) const;

  enum FontStyle { kRegular = 0, kBold = 1, kItalic = 2, kUnderline = 4 };
  // A font of the given face at a size in hundredths of a point (975 for 9.75 point).
  platform::ScopedFont CreateFontAt(const wchar_t* face, int centiPoints, int styles) const;
  // The system's dialog font: the font its message boxes use (a stock font, which deleting leaves alone, when
  // the system does not say).
  static platform::ScopedFont CreateDialogFont();

 private:
  int dpiX_ = 96;
  int dpiY_ = 96;
};

// The size of a top-level window whose client area (below the menu bar, if any) is clientWidth x
// clientHeight pixels, centred in the screen's work area.
RECT CentredWindowBounds(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu);
