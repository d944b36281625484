// The product's name and the words its windows and its command line share: one place for each text.
#pragma once

// The title of every message box that is given no title of its own.
extern const char* const kAppTitle;
// The caption of the main window and of the About window, also the title of the refusal at start-up.
extern const char* const kWindowCaption;
// The copyright line at the foot of the main window and in the About window.
extern const char* const kCopyrightLine;
// The About window's title: the product's name and version.
extern const char* const kAboutTitle;
// What the user is told, before the program quits, on any system but Windows XP.
extern const char* const kRefusalText;
