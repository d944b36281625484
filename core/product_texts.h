// The product's name as its windows show it: one place for the texts both windows and every message box share.
#pragma once

// The title of every message box that is given no title of its own.
extern const char* const kAppTitle;
// The caption of the main window and of the About window, also the title of the refusal at start-up.
extern const char* const kWindowCaption;
// The copyright line at the foot of the main window and in the About window.
extern const char* const kCopyrightLine;
