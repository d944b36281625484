// The fifteen special folders: display name, registry value name, hive and stock path of each.
#include "core/catalogue.h"

#include "core/folder_locations.h"
#include "text/ascii_case.h"

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::array<ShellFolder, kShellFolderCount> kShellFolders = {{
    {"Desktop", "Desktop", kHkeyCurrentUser, "%USERPROFILE%\\Desktop", 2},
    {"Favorites", "Favorites", kHkeyCurrentUser, "%USERPROFILE%\\Favorites", 3},
    {"My Music", "My Music", kHkeyCurrentUser, "%USERPROFILE%\\My Music", 5},
    {"My Pictures", "My Pictures", kHkeyCurrentUser, "%USERPROFILE%\\My Pictures", 6},
    {"SendTo", "SendTo", kHkeyCurrentUser, "%USERPROFILE%\\SendTo", 7},
    {"My Documents", "Personal", kHkeyCurrentUser, "%USERPROFILE%\\My Documents", 4},
    {"Temporary Internet Files", "Cache", kHkeyCurrentUser, "%USERPROFILE%\\Local Settings\\Temporary Internet Files",
     14},
    {"Start Menu", "Start Menu", kHkeyCurrentUser, "%USERPROFILE%\\Start Menu", 12},
    {"Startup", "Startup", kHkeyCurrentUser, "%USERPROFILE%\\Start Menu\\Programs\\Startup", 13},
    {"Common Startup", "Common Startup", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Start Menu\\Programs\\Startup", 1},
    {"Common Desktop", "Common Desktop", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Desktop", 0},
    {"Shared Documents", "Common Documents", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents", 8},
    {"Shared Music", "CommonMusic", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Music", 9},
    {"Shared Pictures", "CommonPictures", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Pictures", 10},
    {"Shared Video", "CommonVideo", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Videos", 11},
}};

const ShellFolder* FindShellFolder(const std::string& displayName) {
  for (const ShellFolder& entry : kShellFolders) {
    if (displayName == entry.displayName) return &entry;
  }
  return nullptr;
}

const ShellFolder* FindShellFolderByAnyName(const std::string& name) {
  std::string trimmed = Trimmed(name);
  for (const ShellFolder& entry : kShellFolders) {
    if (SameIgnoringAsciiCase(trimmed, entry.displayName) || SameIgnoringAsciiCase(trimmed, entry.valueName)) {
      return &entry;
    }
  }
  return nullptr;
}

const ShellFolder* ShellFolderAtListPosition(int listPosition) {
  for (const ShellFolder& entry : kShellFolders) {
    if (entry.listPosition == listPosition) return &entry;
  }
  return nullptr;
}
