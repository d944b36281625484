// The product's web pages, on one host.
#include "vocabulary/web_page.h"

#define ZOLVANE_SITE "http://www.zolvane.org"
const char* const kHomePageUrl = ZOLVANE_SITE "/index.html";
const char* const kFeedbackPageUrl = ZOLVANE_SITE "/feedback.htm";
const char* const kDonationPageUrl = ZOLVANE_SITE "/donate.htm";
