// The fifteen special folders: display name, registry value name, hive, stock path and the shell's number of
// each, in list order.
#include "vocabulary/catalogue.h"

#include "text/ascii_case.h"
#include "text/trimmed.h"

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

namespace {

// The shell's numbers for the folders (CSIDL_PERSONAL and the others of shlobj.h).
enum Csidl : int {
  kCsidlPersonal = 0x05,
  kCsidlFavorites = 0x06,
  kCsidlStartup = 0x07,
  kCsidlSendTo = 0x09,
  kCsidlStartMenu = 0x0b,
  kCsidlMyMusic = 0x0d,
  kCsidlDesktopDirectory = 0x10,
  kCsidlCommonStartup = 0x18,
  kCsidlCommonDesktopDirectory = 0x19,
  kCsidlInternetCache = 0x20,
  kCsidlMyPictures = 0x27,
  kCsidlCommonDocuments = 0x2e,
  kCsidlCommonMusic = 0x35,
  kCsidlCommonPictures = 0x36,
  kCsidlCommonVideo = 0x37,
};

}  // namespace

const std::array<ShellFolder, kShellFolderCount> kShellFolders = {{
    {"Common Desktop", "Common Desktop", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Desktop", kCsidlCommonDesktopDirectory,
     true},
    {"Common Startup", "Common Startup", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Start Menu\\Programs\\Startup",
     kCsidlCommonStartup, false},
    {"Desktop", "Desktop", kHkeyCurrentUser, "%USERPROFILE%\\Desktop", kCsidlDesktopDirectory, false},
    {"Favorites", "Favorites", kHkeyCurrentUser, "%USERPROFILE%\\Favorites", kCsidlFavorites, false},
    {"My Documents", "Personal", kHkeyCurrentUser, "%USERPROFILE%\\My Documents", kCsidlPersonal, false},
    // My Music and My Pictures live inside My Documents on Windows XP.
    {"My Music", "My Music", kHkeyCurrentUser, "%USERPROFILE%\\My Documents\\My Music", kCsidlMyMusic, false},
    {"My Pictures", "My Pictures", kHkeyCurrentUser, "%USERPROFILE%\\My Documents\\My Pictures", kCsidlMyPictures,
     false},
    {"SendTo", "SendTo", kHkeyCurrentUser, "%USERPROFILE%\\SendTo", kCsidlSendTo, false},
    {"Shared Documents", "Common Documents", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents", kCsidlCommonDocuments,
     false},
    {"Shared Music", "CommonMusic", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Music", kCsidlCommonMusic,
     false},
    {"Shared Pictures", "CommonPictures", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Pictures",
     kCsidlCommonPictures, false},
    {"Shared Video", "CommonVideo", kHkeyLocalMachine, "%ALLUSERSPROFILE%\\Documents\\My Videos", kCsidlCommonVideo,
     false},
    {"Start Menu", "Start Menu", kHkeyCurrentUser, "%USERPROFILE%\\Start Menu", kCsidlStartMenu, false},
    {"Startup", "Startup", kHkeyCurrentUser, "%USERPROFILE%\\Start Menu\\Programs\\Startup", kCsidlStartup, false},
    {"Temporary Internet Files", "Cache", kHkeyCurrentUser, "%USERPROFILE%\\Local Settings\\Temporary Internet Files",
     kCsidlInternetCache, false},
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
