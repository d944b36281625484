// The product's web pages, and how one is opened: handed to the shell, which starts the user's browser.
#pragma once

#include <string>

#include "platform/platform.h"

extern const char* const kHomePageUrl;
extern const char* const kFeedbackPageUrl;
extern const char* const kDonationPageUrl;

// Opens the address with the desktop as the owner of whatever the shell shows; the outcome is not examined,
// since a browser that cannot be started tells the user itself.
void OpenWebPage(platform::Shell& shell, const std::string& address);
