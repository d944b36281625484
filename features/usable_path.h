// The one rule of what can be a special folder's location, as Windows names files and folders: check reports on
// the values stored by it, zolvane-cli's set and apply hold every path to it before they write anything, and the
// folder maker makes folders only below the root it finds.
#pragma once

#include <string>

#include "features/folder_locations.h"

// The longest path the shell of Windows XP takes: MAX_PATH characters with the terminator.
constexpr std::size_t kLongestUsablePath = 259;

struct PathVerdict {
  bool usable = false;
  // Why it is not, for the user, in a clause of its own: "it is not a full path ...".
  std::string why;
  // The path with its references expanded, as the shell will look for the folder ("/" left as typed).
  std::string expanded;
};

// Windows takes "/" for "\" in a path.
inline bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

// Where a full path's root ends: past "C:\" of a drive, past "\\server\share\" (or at the end of
// "\\server\share") of a share; 0 when the path begins with neither.
std::size_t RootLength(const std::string& path);

// A location is, once its references are expanded (a %NAME% that names no variable stays as written, as Windows
// expands it): a full path, not a device path (\\.\ or \\?\), with no control character, no < > " | ? *, no ":"
// but the drive's, no folder named as a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension) or ending
// in a dot or a space, at most kLongestUsablePath characters long; and every variable it names is one of the
// user's environment at logon, where the shell expands it, not one set only where this runs.
PathVerdict JudgePath(FolderLocations& locations, const std::string& path);
