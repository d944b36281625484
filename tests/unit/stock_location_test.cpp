// Restore Default on a Windows of any language: the shell's own stock location with the profile's variable put
// back in front, and the catalogue's English path on an English system or where the shell gives none.
#include "features/feature_texts.h"
#include "main_presenter_fixture.h"

namespace {

constexpr std::uint16_t kEnglishUs = 0x0409, kEnglishUk = 0x0809, kGerman = 0x0407, kFrench = 0x040c, kChinese = 0x0804;

struct StockCase {
  const char* what;
  std::uint16_t language;
  const char* folder;
  const char* shellAnswer;  // nullptr: the shell gives no path
  const char* userShellFolders;
  const char* shellFolders;
};

const StockCase kStockCases[] = {
    {"English keeps the catalogue's path", kEnglishUs, "My Documents", "C:\\Elsewhere\\Documents",
     "%USERPROFILE%\\My Documents", "C:\\Documents and Settings\\Ann\\My Documents"},
    {"any English does", kEnglishUk, "Shared Documents", "C:\\Elsewhere\\Documents", "%ALLUSERSPROFILE%\\Documents",
     "C:\\Documents and Settings\\All Users\\Documents"},
    {"My Music lives in My Documents", kEnglishUs, "My Music", nullptr, "%USERPROFILE%\\My Documents\\My Music",
     "C:\\Documents and Settings\\Ann\\My Documents\\My Music"},
    {"German My Documents", kGerman, "My Documents", "C:\\Documents and Settings\\Ann\\Eigene Dateien",
     "%USERPROFILE%\\Eigene Dateien", "C:\\Documents and Settings\\Ann\\Eigene Dateien"},
    {"German cache", kGerman, "Temporary Internet Files",
     "C:\\Documents and Settings\\Ann\\Lokale Einstellungen\\Temporary Internet Files",
     "%USERPROFILE%\\Lokale Einstellungen\\Temporary Internet Files",
     "C:\\Documents and Settings\\Ann\\Lokale Einstellungen\\Temporary Internet Files"},
    {"French shared music", kFrench, "Shared Music", "C:\\Documents and Settings\\All Users\\Documents\\Ma musique",
     "%ALLUSERSPROFILE%\\Documents\\Ma musique", "C:\\Documents and Settings\\All Users\\Documents\\Ma musique"},
    {"Chinese Start Menu", kChinese, "Start Menu",
     "C:\\Documents and Settings\\Ann\\\xE3\x80\x8C\xE5\xBC\x80\xE5\xA7\x8B\xE3\x80\x8D\xE8\x8F\x9C\xE5\x8D\x95",
     "%USERPROFILE%\\\xE3\x80\x8C\xE5\xBC\x80\xE5\xA7\x8B\xE3\x80\x8D\xE8\x8F\x9C\xE5\x8D\x95",
     "C:\\Documents and Settings\\Ann\\\xE3\x80\x8C\xE5\xBC\x80\xE5\xA7\x8B\xE3\x80\x8D\xE8\x8F\x9C\xE5\x8D\x95"},
    {"the profile matched without regard to case", kGerman, "Favorites", "c:\\DOCUMENTS AND SETTINGS\\ann\\Favoriten",
     "%USERPROFILE%\\Favoriten", "C:\\Documents and Settings\\Ann\\Favoriten"},
    {"a path outside the profile is kept whole", kGerman, "Common Desktop", "D:\\Gemeinsam\\Desktop",
     "D:\\Gemeinsam\\Desktop", "D:\\Gemeinsam\\Desktop"},
    {"a neighbour of the profile is not inside it", kGerman, "My Documents",
     "C:\\Documents and Settings\\Anna\\Eigene Dateien", "C:\\Documents and Settings\\Anna\\Eigene Dateien",
     "C:\\Documents and Settings\\Anna\\Eigene Dateien"},
    {"no answer from the shell", kGerman, "SendTo", nullptr, "%USERPROFILE%\\SendTo",
     "C:\\Documents and Settings\\Ann\\SendTo"},
    {"an empty answer from the shell", kGerman, "Startup", "", "%USERPROFILE%\\Start Menu\\Programs\\Startup",
     "C:\\Documents and Settings\\Ann\\Start Menu\\Programs\\Startup"},
};

class StockLocationTest : public MainPresenterTest {};

TEST_F(StockLocationTest, RestoreDefaultWritesWhereTheSystemOfItsLanguageKeepsTheFolder) {
  for (const StockCase& row : kStockCases) {
    const ShellFolder& folder = *FindShellFolder(row.folder);
    fake.system.uiLanguage = row.language;
    fake.shell.stockFolders.clear();
    if (row.shellAnswer != nullptr) fake.shell.stockFolders[folder.csidl] = row.shellAnswer;
    Select(row.folder);
    presenter.OnRestoreDefault();

    std::uint32_t userType = 0, shellType = 0;
    EXPECT_EQ(Stored(folder.hive, kUserShellFoldersKey, folder.valueName, &userType), row.userShellFolders) << row.what;
    EXPECT_EQ(userType, platform::kRegExpandSz) << row.what;
    EXPECT_EQ(Stored(folder.hive, kShellFoldersKey, folder.valueName, &shellType), row.shellFolders) << row.what;
    EXPECT_EQ(shellType, platform::kRegSz) << row.what;
    EXPECT_EQ(LastMessage(), kDefaultsRestored) << row.what;
    EXPECT_EQ(view.pathText, row.shellFolders) << row.what;
  }
}

}  // namespace
