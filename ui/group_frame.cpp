// The folder frame's own painting: an etched edge, and its caption in the system highlight colour over the edge.
#include "ui/group_frame.h"

#include <commctrl.h>

#include "platform/win32/scoped_handle.h"

namespace {

void PaintFrame(HWND frame) {
  platform::ScopedPaint paint(frame);
  HDC dc = paint.dc();
  platform::ScopedSelection font(dc, reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  RECT client;
  GetClientRect(frame, &client);
  RECT edge = client;
  edge.top += metrics.tmHeight / 2 - 1;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  wchar_t caption[128] = {};
  int length = GetWindowTextW(frame, caption, static_cast<int>(sizeof caption / sizeof caption[0]));
  RECT text = {client.left + 7, client.top, client.right - 7, client.top + metrics.tmHeight};
  DrawTextW(dc, caption, length, &text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
  InflateRect(&text, 1, 0);
  FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  DrawTextW(dc, caption, length, &text, DT_CENTER | DT_SINGLELINE);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_PAINT) {
    PaintFrame(frame);
    return 0;
  }
  return DefSubclassProc(frame, message, wParam, lParam);
}

}  // namespace

void DrawCaptionInHighlightColour(HWND frame) {
  SetWindowSubclass(frame, &FrameProc, 0, 0);
}
