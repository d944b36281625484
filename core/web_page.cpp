// The product's web pages, and opening one through the shell.
#include "core/web_page.h"

// One host for all three pages.
#define ZOLVANE_SITE "http://www.zolvane.org"
const char* const kHomePageUrl = ZOLVANE_SITE "/index.html";
const char* const kFeedbackPageUrl = ZOLVANE_SITE "/feedback.htm";
const char* const kDonationPageUrl = ZOLVANE_SITE "/donate.htm";

void OpenWebPage(platform::Shell& shell, const std::string& address) {
  platform::WindowHandle owner = shell.GetDesktopWindow();
  shell.ShellExecuteW(owner, "open", address, std::nullopt, std::nullopt, platform::kSwShowNormal);
}
