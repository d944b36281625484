// Where a special folder lives, and moving it or putting it back: the rules the window and the command line share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/outcome.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/shell_folder_registry.h"

// How a failed change of folders' values is told: a failed write in the window's words (WriteFailureText), any
// other failure in its own words.
std::string FailedChangeText(const ChangeResult& result);

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

  // The folder's two values as a relocation to path writes them: the path unexpanded as REG_EXPAND_SZ under User
  // Shell Folders, expanded as REG_SZ under Shell Folders, in the folder's order. The path is trimmed, not empty.
  std::vector<ValueChange> RelocationOf(const ShellFolder& folder, const std::string& path);
  // Stores a new path (RelocationOf) through one change of the registry, whole or not at all. The outcome's code
  // is the system's code of the step that failed.
  Outcome Relocate(const ShellFolder& folder, const std::string& path);
  // Stores the folders' stock paths (StockLocation), Shell Folders first, the same way: whole or not at all.
  Outcome RestoreDefaults(const std::vector<const ShellFolder*>& folders);
  Outcome RestoreDefault(const ShellFolder& folder) { return RestoreDefaults({&folder}); }

  // Both of a folder's values exactly as stored.
  struct SavedValues {
    StoredValue userShellFolders;
    StoredValue shellFolders;
  };
  SavedValues Save(const ShellFolder& folder);

  RegValue ExpandPath(const RegValue& path);
  // What an expansion met besides text: the names of references that name no variable, and of the variables
  // defined here that the user's environment at logon lacks (Environment::AtLogon).
  struct ExpansionNotes {
    std::vector<std::string> undefined;
    std::vector<std::string> notAtLogon;
  };
  // Expands the way ExpandEnvironmentStrings does: every %NAME% of a defined variable becomes its value;
  // undefined references, a lone "%" and all other text stay as written. *notes, when given, gets what it met.
  std::string ExpandText(const std::string& text, ExpansionNotes* notes = nullptr);

 private:
  // The outcome of a change of folders' values, in the window's words.
  Outcome Told(const ChangeResult& result, const std::vector<ValueChange>& changes, const char* successText);

  platform::Platform& platform_;
  ShellFolderRegistry registry_;
};
