// The one rule of what can be a special folder's location, which check reports on the values stored and which
// zolvane-cli's set and apply hold every path to before they write anything.
#pragma once

#include <string>

#include "features/folder_locations.h"

// The longest path the shell of Windows XP takes: MAX_PATH characters with the terminator.
constexpr std::size_t kLongestUsablePath = 259;

struct PathVerdict {
  bool usable = false;
  // Why it is not, for the user, in a clause of its own: "it is not a full path".
  std::string why;
  // The path with its references expanded, as the shell will look for the folder.
  std::string expanded;
};

// A location is a full path (a drive's "C:\..." or a share's "\\server\share...") once its references are
// expanded, each reference names a variable defined here, it holds no control character and no quote, and it is
// at most kLongestUsablePath characters long.
PathVerdict JudgePath(FolderLocations& locations, const std::string& path);
