// Trimmed text, as the window and the command line take a typed path or a folder's name.
#pragma once

#include <string>

// Text with leading and trailing spaces (U+0020 only) removed.
std::string Trimmed(const std::string& text);
