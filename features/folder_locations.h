// Where a special folder lives, and moving it or putting it back: the rules the window and the command line share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/outcome.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/shell_folder_registry.h"

class FolderLocations {
 public:
  explicit FolderLocations(platform::Platform& platform) : platform_(platform), registry_(platform.registry) {}

  // Where a folder lives now: its User Shell Folders value when that is usable, else its Shell Folders value,
  // expanded.
  RegValue CurrentLocation(platform::HKey hive, const std::string& valueName);
  RegValue CurrentLocation(const ShellFolder& folder) { return CurrentLocation(folder.hive, folder.valueName); }
  // The same from the User Shell Folders value already read (StoredLocation), which is not read again.
  RegValue LocationFrom(platform::HKey hive, const std::string& valueName, RegValue stored);
  // The folder's User Shell Folders value as stored, unexpanded.
  RegValue StoredLocation(const ShellFolder& folder);

  // Stores a new path: unexpanded under User Shell Folders, expanded under Shell Folders, under the session's
  // lock, so that no other Zolvane writes between the two. The path must be trimmed and not empty. The outcome's
  // code is the system's code of the first failed write, or of the wait for the lock.
  Outcome Relocate(const ShellFolder& folder, const std::string& path);
  // The same, for a caller that holds the session's lock already.
  Outcome RelocateHoldingLock(const ShellFolder& folder, const std::string& path);
  // Stores the folder's stock path (StockLocation) the same way.
  Outcome RestoreDefault(const ShellFolder& folder);

  // Both of a folder's values exactly as stored, to be put back with PutBack.
  struct SavedValues {
    StoredValue userShellFolders;
    StoredValue shellFolders;
  };
  SavedValues Save(const ShellFolder& folder);
  // 0, or the system's code of the first value that could not be put back.
  std::int32_t PutBack(const ShellFolder& folder, const SavedValues& saved);

  // Whether a folder whose values are these (Save) is at path as a relocation to it leaves it: its User Shell
  // Folders value the path as REG_EXPAND_SZ, its Shell Folders value the path's expansion as REG_SZ.
  bool IsAt(const SavedValues& now, const std::string& path);

  RegValue ExpandPath(const RegValue& path);
  // Expands the way ExpandEnvironmentStrings does: every %NAME% of a defined variable becomes its value;
  // undefined references, a lone "%" and all other text stay as written. The names of the undefined ones go into
  // *undefined, when given.
  std::string ExpandText(const std::string& text, std::vector<std::string>* undefined = nullptr);

 private:
  // One of the two writes of a relocation or a restore.
  struct FolderWrite {
    const char* keyPath;
    std::string data;
    std::uint32_t type;
  };
  // Makes both writes in order. When one fails, the other, if it succeeded, is put back as it was, so that
  // the two keys never disagree without the user being told.
  Outcome WriteBoth(const ShellFolder& folder, const FolderWrite (&writes)[2], const char* successText);

  platform::Platform& platform_;
  ShellFolderRegistry registry_;
};
