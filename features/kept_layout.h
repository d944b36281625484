// Where a user's (or the machine's) folders were before the first layout moved them: a layout file kept beside
// Zolvane's journals until "apply --undo" puts those folders back, and then retired.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "features/folder_locations.h"
#include "features/layout_file.h"
#include "platform/platform.h"

// The kept layout of a hive's folders: the user's in the user's application-data folder, beside Zolvane's journals,
// so that it follows the user from machine to machine with a roaming profile; the shared ones in the all-users
// application-data folder, the machine's own, which the startup script (run as the computer) and every administrator
// reach and which no user's profile carries to another machine. Empty text when the shell names no such folder.
std::string KeptLayoutPath(platform::Platform& platform, platform::HKey hive);

// Before a layout is applied: each of its folders (of the hive, or of both when it is 0) that its hive's kept layout
// does not name yet is added to it, with its User Shell Folders value as stored now (references kept); the first
// apply makes the file, written beside its place and moved there. A folder the kept layout names keeps where it
// was, whatever later layouts do. A run that changes nothing of it writes nothing. Throws Failure, in the user's
// words, when a kept layout cannot be read or written: then nothing may move.
void KeepLayoutBefore(platform::Platform& platform, const std::vector<LayoutEntry>& entries, platform::HKey hive);
// After a layout ran, whole or in part: beside each kept folder that now holds what the layout puts there, that as
// what was applied to it (a comment line, so that the file stays a layout). Throws Failure as KeepLayoutBefore.
void KeepLayoutApplied(platform::Platform& platform, const std::vector<LayoutEntry>& entries, platform::HKey hive);

// A hive's kept layout as read back: where each folder was, and what the last layout applied to it wrote, by which
// an undo tells a folder that layout moved from one another program or the user has moved since.
struct KeptLayout {
  std::string path;
  std::vector<LayoutEntry> entries;
  std::map<const ShellFolder*, std::string> applied;

  // Whether the undo puts the folder back: it holds what the last layout wrote, or still where it was before. One
  // moved elsewhere since (by the user, or another program) is not.
  bool Undoes(FolderLocations& locations, const LayoutEntry& entry) const;
};

// The kept layouts there are, of the hive or of both; none when no layout was applied since the last undo. Throws
// Failure when one is there but cannot be read.
std::vector<KeptLayout> ReadKeptLayouts(platform::Platform& platform, platform::HKey hive);
