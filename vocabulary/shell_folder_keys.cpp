// The four shell-folder keys, named once for the backup's exports, its check and the restore.
#include "vocabulary/shell_folder_keys.h"

const char* const kUserShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const std::array<ShellFolderKey, 4> kShellFolderKeys = {{
    {platform::kHkeyCurrentUser, kUserShellFoldersKey},
    {platform::kHkeyCurrentUser, kShellFoldersKey},
    {platform::kHkeyLocalMachine, kUserShellFoldersKey},
    {platform::kHkeyLocalMachine, kShellFoldersKey},
}};

const ShellFolderKey& FindShellFolderKey(platform::HKey hive, const char* path) {
  for (const ShellFolderKey& key : kShellFolderKeys) {
    if (key.hive == hive && std::string(key.path) == path) return key;
  }
  return kShellFolderKeys[0];
}

const char* HiveName(platform::HKey hive) {
  return hive == platform::kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

const char* ShortHiveName(platform::HKey hive) {
  return hive == platform::kHkeyCurrentUser ? "HKCU" : "HKLM";
}

std::string ShellFolderKey::FullName() const {
  return std::string(HiveName(hive)) + "\\" + path;
}
