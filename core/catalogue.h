// The fixed table of the fifteen special folders Zolvane can show, relocate and restore.
#pragma once

#include <array>
#include <string>

#include "platform/platform.h"

struct SplFolderEntry {
  const char* displayName;
  const char* valueName;
  platform::HKey hive;
  const char* stockDefaultPath;
  int listPosition;
};

constexpr std::size_t kSplFolderCount = 15;

// The rows in table order (per-user folders first), not in list order.
extern const std::array<SplFolderEntry, kSplFolderCount> SplFolderCatalogue;

// The row whose display name is exactly displayName (no trimming, no case folding), or nullptr.
const SplFolderEntry* FindSplFolderEntry(const std::string& displayName);

// The row shown at a list position of Combo1, or nullptr outside 0..14.
const SplFolderEntry* SplFolderAtListPosition(int listPosition);

extern const char* const kUserShellFoldersKey;
extern const char* const kShellFoldersKey;
