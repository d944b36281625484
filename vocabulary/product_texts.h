// The product's name and the words its windows and its command line share: one place for each text.
#pragma once

#include "product_version.h"

// The title of every message box that is given no title of its own.
inline constexpr char kAppTitle[] = "Zolvane";
// The caption of the main window and of the About window, also the title of the refusal at start-up.
inline constexpr char kWindowCaption[] = "Zolvane for Windows\xC2\xAE XP";
// The copyright line at the foot of the main window and in the About window.
inline constexpr char kCopyrightLine[] = ZOLVANE_COPYRIGHT;
// The About window's title: the product's name and version.
inline constexpr char kAboutTitle[] = "Zolvane v" ZOLVANE_VERSION_SHORT;
// What the user is told, before the program quits, on any system but Windows XP.
inline constexpr char kRefusalText[] =
    "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit";
