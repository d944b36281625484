// The main window's folder frame, a group box that draws its own caption: group boxes do not all honour a
// caption colour (visual styles and Wine draw it in their own), and the design wants the system highlight colour.
#pragma once

#include <windows.h>

// Makes the group box draw itself so, from its next paint on.
void DrawCaptionInHighlightColour(HWND frame);
