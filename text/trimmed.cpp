// Trimming what the user typed removes spaces, and spaces only: a tab or another blank is part of it. A file's
// lines lose tabs too, as text editors indent with them.
#include "text/trimmed.h"

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string WithoutOuterBlanks(const std::string& line) {
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  return line.substr(begin, end - begin);
}
