// ASCII letters without regard to case: how registry key and value names, the folders' names on the command
// line and its switches are matched. Other characters must match exactly.
#pragma once

#include <string>

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b);
std::string AsciiLowered(std::string text);
