// The fixed table of the fifteen special folders Zolvane can show, relocate and restore.
#pragma once

#include <array>
#include <string>

#include "platform/platform.h"
#include "vocabulary/shell_folder_keys.h"

struct ShellFolder {
  const char* displayName;
  const char* valueName;
  platform::HKey hive;
  // Where the folder lives on an English Windows XP, from the profile's variable on.
  const char* stockDefaultPath;
  // The shell's number for the folder (its CSIDL), which asks the shell where the folder lives on a system of
  // another language.
  int csidl;
  // A relocation writes the Shell Folders value before the User Shell Folders one, as it always has for Common
  // Desktop; every other folder the other way round.
  bool shellFoldersFirst;
};

constexpr std::size_t kShellFolderCount = 15;

// The rows in the order of the main window's folder list.
extern const std::array<ShellFolder, kShellFolderCount> kShellFolders;

// The row whose display name is exactly displayName (no trimming, no case folding), or nullptr.
const ShellFolder* FindShellFolder(const std::string& displayName);

// The row whose display name ("My Documents") or registry value name ("Personal") is name, trimmed of spaces
// as the window trims, with ASCII letters matched without regard to case; or nullptr.
const ShellFolder* FindShellFolderByAnyName(const std::string& name);

// The row shown at a position of the main window's folder list, or nullptr outside 0..14.
const ShellFolder* ShellFolderAtListPosition(int listPosition);

// A row's position in the folder list.
int ListPositionOf(const ShellFolder& folder);
