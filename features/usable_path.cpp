// What can be a special folder's location: checked in the order a user would mend it.
#include "features/usable_path.h"

#include <algorithm>

#include "features/feature_texts.h"
#include "text/ascii_case.h"
#include "text/utf16.h"

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The names Windows keeps for devices in every folder: "CON" or "con.txt" opens the console, not a file.
bool IsDeviceName(const std::string& name) {
  std::string base = AsciiLowered(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  bool numbered = base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0);
  return numbered && base[3] >= '1' && base[3] <= '9';
}

// Why one of the folders' names below the root cannot be: a device's, or one Windows would cut its end from.
std::string WhyNameUnusable(const std::string& name) {
  if (name.empty()) return std::string();
  if (IsDeviceName(name)) return NamesADevice(name);
  if (name.back() == '.' || name.back() == ' ') return NameEndsInDotOrSpace(name);
  return std::string();
}

std::string WhyNamesUnusable(const std::string& path, std::size_t root) {
  for (std::size_t start = root; start < path.size();) {
    std::size_t end = start;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    std::string why = WhyNameUnusable(path.substr(start, end - start));
    if (!why.empty()) return why;
    start = end + 1;
  }
  return std::string();
}

bool IsDevicePath(const std::string& path) {
  return path.size() >= 4 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) &&
         (path[2] == '.' || path[2] == '?') && IsPathSeparator(path[3]);
}

std::string WhyUnusable(const std::string& expanded, const FolderLocations::ExpansionNotes& notes) {
  if (std::any_of(expanded.begin(), expanded.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return kPathHoldsControlCharacter;
  if (!notes.notAtLogon.empty()) return DefinedOnlyHere(notes.notAtLogon.front());
  if (IsDevicePath(expanded)) return kPathIsDevicePath;
  std::size_t reserved = expanded.find_first_of("<>\"|?*");
  if (reserved != std::string::npos) return HoldsReservedCharacter(expanded[reserved]);
  std::size_t root = RootLength(expanded);
  if (root == 0) return notes.undefined.empty() ? std::string(kPathNotFull) : NamesNoVariable(notes.undefined.front());
  if (expanded.find(':', IsAsciiLetter(expanded[0]) ? 2 : 0) != std::string::npos) return kPathHoldsColon;
  std::string why = WhyNamesUnusable(expanded, root);
  if (!why.empty()) return why;
  if (Utf8ToUtf16Le(expanded).size() / 2 > kLongestUsablePath) return PathTooLong(kLongestUsablePath);
  return std::string();
}

}  // namespace

std::size_t RootLength(const std::string& path) {
  if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsPathSeparator(path[2])) return 3;
  if (path.size() < 2 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1])) return 0;
  // "\\server\share": each a name of its own, neither empty.
  std::size_t server = 2;
  std::size_t share = server;
  while (share < path.size() && !IsPathSeparator(path[share])) ++share;
  if (share == server || share + 1 >= path.size() || IsPathSeparator(path[share + 1])) return 0;
  std::size_t end = share + 1;
  while (end < path.size() && !IsPathSeparator(path[end])) ++end;
  return end < path.size() ? end + 1 : end;
}

PathVerdict JudgePath(FolderLocations& locations, const std::string& path) {
  PathVerdict verdict;
  FolderLocations::ExpansionNotes notes;
  verdict.expanded = locations.ExpandText(path, &notes);
  verdict.why = WhyUnusable(verdict.expanded, notes);
  verdict.usable = verdict.why.empty();
  return verdict;
}
