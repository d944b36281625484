// The product's web pages, which the shell opens in the user's browser.
#pragma once

extern const char* const kHomePageUrl;
extern const char* const kFeedbackPageUrl;
extern const char* const kDonationPageUrl;
