// The product's name as its windows show it.
#include "core/product_texts.h"

const char* const kAppTitle = "Zolvane";
const char* const kWindowCaption = "Zolvane for Windows\xC2\xAE XP";
const char* const kCopyrightLine = "Copyright \xC2\xA9 2026 Zolvane developers";
