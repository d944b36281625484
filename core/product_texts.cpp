// The product's name and the words its windows and its command line share.
#include "core/product_texts.h"

const char* const kAppTitle = "Zolvane";
const char* const kWindowCaption = "Zolvane for Windows\xC2\xAE XP";
const char* const kCopyrightLine = "Copyright \xC2\xA9 2026 Zolvane developers";
const char* const kRefusalText =
    "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit";

std::string BackupOutcomeText(const BackupOutcome& outcome) {
  if (outcome.succeeded) return "Shell folder registry keys are now backed up.";
  std::string text = "Could not backup the shell folder registry keys";
  if (!outcome.failure.empty()) text += "\n" + outcome.failure;
  return text;
}
