// The product's name and the words its windows and its command line share.
#include "vocabulary/product_texts.h"

#include "product_version.h"

const char* const kAppTitle = "Zolvane";
const char* const kWindowCaption = "Zolvane for Windows\xC2\xAE XP";
const char* const kCopyrightLine = ZOLVANE_COPYRIGHT;
const char* const kAboutTitle = "Zolvane v" ZOLVANE_VERSION_SHORT;
const char* const kRefusalText =
    "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit";
