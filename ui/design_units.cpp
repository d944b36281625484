// Design values (twips, points) turned into pixels and fonts at the screen's resolution.
#include "ui/design_units.h"

namespace {

struct ScreenDpi {
  int x = 96;
  int y = 96;
};

ScreenDpi ReadScreenDpi() {
  ScreenDpi dpi;
  platform::ScopedScreenDc screen(GetDC(nullptr));
  if (screen.valid()) {
    dpi.x = GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpi.y = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  return dpi;
}

}  // namespace

// The resolution is the system's for the life of the process: read once, for every window.
DesignUnits::DesignUnits() {
  static const ScreenDpi dpi = ReadScreenDpi();
  dpiX_ = dpi.x;
  dpiY_ = dpi.y;
}

RECT DesignUnits::Pixels(const TwipsRect& rect) const {
  RECT pixels;
  pixels.left = X(rect.left);
  pixels.top = Y(rect.top);
  pixels.right = X(rect.left + rect.width);
  pixels.bottom = Y(rect.top + rect.height);
  return pixels;
}

platform::ScopedFont DesignUnits::CreateFontAt(const wchar_t* face, int centiPoints, int styles) const {
  LOGFONTW font = {};
  // A negative height asks for the character height, which is what a point size measures.
  font.lfHeight = -MulDiv(centiPoints, dpiY_, 7200);
  font.lfWeight = (styles & kBold) != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (styles & kItalic) != 0 ? TRUE : FALSE;
  font.lfUnderline = (styles & kUnderline) != 0 ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return platform::ScopedFont(CreateFontIndirectW(&font));
}

platform::ScopedFont DesignUnits::CreateDialogFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return platform::ScopedFont(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  return platform::ScopedFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

RECT CentredWindowBounds(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu) {
  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, hasMenu ? TRUE : FALSE, exStyle);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  RECT workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  RECT bounds;
  bounds.left = workArea.left + (workArea.right - workArea.left - width) / 2;
  bounds.top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
  bounds.right = bounds.left + width;
  bounds.bottom = bounds.top + height;
  return bounds;
}
