// The four keys that hold the special folder paths: User Shell Folders and Shell Folders under both hives.
#pragma once

#include <array>
#include <string>

#include "platform/platform.h"

extern const char* const kUserShellFoldersKey;
extern const char* const kShellFoldersKey;

struct ShellFolderKey {
  platform::HKey hive;
  const char* path;  // below the hive

  // With the hive's name in front, as the registry editor names a key: "HKEY_CURRENT_USER\Software\...".
  std::string FullName() const;
};

// In the backup's order, which is the order of the sections in its file.
extern const std::array<ShellFolderKey, 4> kShellFolderKeys;
// The one of the four under this hive with this path (kUserShellFoldersKey or kShellFoldersKey).
const ShellFolderKey& FindShellFolderKey(platform::HKey hive, const char* path);

// "HKEY_CURRENT_USER", as the registry editor names a hive, and "HKCU", as the command line shows it.
const char* HiveName(platform::HKey hive);
const char* ShortHiveName(platform::HKey hive);
