// The fifteen special folders: display name, registry value name, hive and stock path of each, in list order.
#include "core/catalogue.h"

#include "text/ascii_case.h"
#include "text/trimmed.h"

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::array<ShellFolder, kShellFolderCount> kShellFolders = {{
    {"Common Desktop", "Common Desktop", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Desktop", true},
    {"Common Startup", "Common Startup", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Start Menu\\Programs\\Startup", false},
    {"Desktop", "Desktop", kHkeyCurrentUser, "%USERPROFILE%\\Desktop", false},
    {"Favorites", "Favorites", kHkeyCurrentUser, "%USERPROFILE%\\Favorites", false},
    {"My Documents", "Personal", kHkeyCurrentUser, "%USERPROFILE%\\My Documents", false},
    {"My Music", "My Music", kHkeyCurrentUser, "%USERPROFILE%\\My Music", false},
    {"My Pictures", "My Pictures", kHkeyCurrentUser, "%USERPROFILE%\\My Pictures", false},
    {"SendTo", "SendTo", kHkeyCurrentUser, "%USERPROFILE%\\SendTo", false},
    {"Shared Documents", "Common Documents", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents", false},
    {"Shared Music", "CommonMusic", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Music", false},
    {"Shared Pictures", "CommonPictures", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Pictures", false},
    {"Shared Video", "CommonVideo", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Videos", false},
    {"Start Menu", "Start Menu", kHkeyCurrentUser, "%USERPROFILE%\\Start Menu", false},
    {"Startup", "Startup", kHkeyCurrentUser, "%USERPROFILE%\\Start Menu\\Programs\\Startup", false},
    {"Temporary Internet Files", "Cache", kHkeyCurrentUser, "%USERPROFILE%\\Local Settings\\Temporary Internet Files",
     false},
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
  if (listPosition < 0 || listPosition >= static_cast<int>(kShellFolderCount)) return nullptr;
  return &kShellFolders[static_cast<std::size_t>(listPosition)];
}

int ListPositionOf(const ShellFolder& folder) {
  return static_cast<int>(&folder - kShellFolders.data());
}
