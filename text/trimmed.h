// Trimmed text, as the window and the command line take a typed path or a folder's name, and as the lines of
// a registry file or a layout file are read.
#pragma once

#include <string>

// Text with leading and trailing spaces (U+0020 only) removed.
std::string Trimmed(const std::string& text);

// A line of a file with the spaces and tabs around it removed.
std::string WithoutOuterBlanks(const std::string& line);

// A space or a tab.
bool IsBlank(char c);
