// Trimming spaces, and spaces only: a tab or another blank is part of what the user typed.
#include "text/trimmed.h"

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}
