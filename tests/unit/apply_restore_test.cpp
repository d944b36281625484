// Apply and Restore Default in the window: what is written where, in which order and type, what the user is told
// and shown afterwards; and the stock location a restore writes on a Windows of any language.
#include "features/feature_texts.h"
#include "main_presenter_fixture.h"
#include "vocabulary/product_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using Writes = std::vector<FakeRegistry::Change>;

// A text value written, as the registry took it: UTF-16LE and one terminator.
FakeRegistry::Change Write(platform::HKey hive, const char* key, const char* name, const std::string& text) {
  std::uint32_t type = key == std::string(kUserShellFoldersKey) ? platform::kRegExpandSz : platform::kRegSz;
  return FakeRegistry::Change{hive, key, name, false, type, Utf8ToUtf16Le(text) + std::string(2, '\0')};
}

class ApplyRestoreTest : public MainPresenterTest {
 protected:
  // Whatever the user did, the window then shows the location the registry holds, its buttons as a selection
  // leaves them, and the outcome in one box titled with the product's name.
  void ExpectTold(const std::string& message, const std::string& shown) {
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].prompt, message);
    EXPECT_EQ(view.messages[0].title, kAppTitle);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::kNone);
    EXPECT_EQ(view.pathText, shown);
    EXPECT_FALSE(view.applyEnabled);
    EXPECT_TRUE(view.restoreEnabled);
  }
  // Selects the folder and types into the path box, with Restore Default greyed, as a test starts from.
  void SelectAndType(const char* folder, const std::string& typed) {
    Select(folder);
    view.Type(typed);
    view.restoreEnabled = false;
    view.messages.clear();
    fake.registry.changes.clear();
  }
};

// A folder of the user's takes User Shell Folders first, Common Desktop alone Shell Folders first. The text typed
// is trimmed, its references stored unexpanded beside their expansion, and a path no code page holds exactly.
TEST_F(ApplyRestoreTest, ApplyWritesBothValuesInTheirOrderAndShowsWhatTheRegistryHolds) {
  const std::string docs = "C:\\Documents and Settings\\Ann\\Docs";
  const struct {
    const char* folder;
    std::string typed;
    Writes writes;
    std::string shown;
  } cases[] = {
      {"My Documents",
       "  D:\\Data\\Docs  ",
       {Write(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", "D:\\Data\\Docs"),
        Write(kHkeyCurrentUser, kShellFoldersKey, "Personal", "D:\\Data\\Docs")},
       "D:\\Data\\Docs"},
      {"Desktop",
       "%USERPROFILE%\\Docs",
       {Write(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop", "%USERPROFILE%\\Docs"),
        Write(kHkeyCurrentUser, kShellFoldersKey, "Desktop", docs)},
       docs},
      {"My Music",
       kWidePath,
       {Write(kHkeyCurrentUser, kUserShellFoldersKey, "My Music", kWidePath),
        Write(kHkeyCurrentUser, kShellFoldersKey, "My Music", kWidePath)},
       kWidePath},
      {"Common Desktop",
       "E:\\Desk",
       {Write(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", "E:\\Desk"),
        Write(kHkeyLocalMachine, kUserShellFoldersKey, "Common Desktop", "E:\\Desk")},
       "E:\\Desk"},
      {"Shared Video",
       "E:\\Video",
       {Write(kHkeyLocalMachine, kUserShellFoldersKey, "CommonVideo", "E:\\Video"),
        Write(kHkeyLocalMachine, kShellFoldersKey, "CommonVideo", "E:\\Video")},
       "E:\\Video"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    SelectAndType(c.folder, c.typed);
    presenter.OnApply();
    EXPECT_EQ(fake.registry.changes, c.writes);
    ExpectTold(kRelocated, c.shown);
  }
}

// Restore Default discards an edit and writes Shell Folders first: the catalogue's English path on an English
// system or where the shell gives none, else the shell's own stock location with the profile's variable put back
// in front.
TEST_F(ApplyRestoreTest, RestoreDefaultWritesWhereTheSystemOfItsLanguageKeepsTheFolder) {
  constexpr std::uint16_t kEnglishUs = 0x0409, kEnglishUk = 0x0809, kGerman = 0x0407, kFrench = 0x040c;
  constexpr std::uint16_t kChinese = 0x0804;
  const std::string ann = "C:\\Documents and Settings\\Ann\\";
  const std::string allUsers = "C:\\Documents and Settings\\All Users\\";
  const std::string startMenu = "\xE3\x80\x8C\xE5\xBC\x80\xE5\xA7\x8B\xE3\x80\x8D\xE8\x8F\x9C\xE5\x8D\x95";
  const struct {
    const char* what;
    std::uint16_t language;
    const char* folder;
    std::optional<std::string> shellAnswer;  // none: the shell gives no path
    std::string userShellFolders;
    std::string shellFolders;
  } cases[] = {
      {"English keeps the catalogue's path", kEnglishUs, "My Documents", "C:\\Elsewhere\\Documents",
       "%USERPROFILE%\\My Documents", ann + "My Documents"},
      {"any English does", kEnglishUk, "Shared Documents", "C:\\Elsewhere\\Documents", "%ALLUSERSPROFILE%\\Documents",
       allUsers + "Documents"},
      {"My Music lives in My Documents", kEnglishUs, "My Music", std::nullopt, "%USERPROFILE%\\My Documents\\My Music",
       ann + "My Documents\\My Music"},
      {"Temporary Internet Files in Local Settings", kEnglishUs, "Temporary Internet Files", std::nullopt,
       "%USERPROFILE%\\Local Settings\\Temporary Internet Files", ann + "Local Settings\\Temporary Internet Files"},
      {"German My Documents", kGerman, "My Documents", "C:\\Documents and Settings\\Ann\\Eigene Dateien",
       "%USERPROFILE%\\Eigene Dateien", ann + "Eigene Dateien"},
      {"French shared music", kFrench, "Shared Music", "C:\\Documents and Settings\\All Users\\Documents\\Ma musique",
       "%ALLUSERSPROFILE%\\Documents\\Ma musique", allUsers + "Documents\\Ma musique"},
      {"Chinese Start Menu", kChinese, "Start Menu", ann + startMenu, "%USERPROFILE%\\" + startMenu, ann + startMenu},
      {"the profile matched without regard to case", kGerman, "Favorites", "c:\\DOCUMENTS AND SETTINGS\\ann\\Favoriten",
       "%USERPROFILE%\\Favoriten", ann + "Favoriten"},
      {"a path outside the profile is kept whole", kGerman, "Common Desktop", "D:\\Gemeinsam\\Desktop",
       "D:\\Gemeinsam\\Desktop", "D:\\Gemeinsam\\Desktop"},
      {"a neighbour of the profile is not inside it", kGerman, "My Documents",
       "C:\\Documents and Settings\\Anna\\Eigene Dateien", "C:\\Documents and Settings\\Anna\\Eigene Dateien",
       "C:\\Documents and Settings\\Anna\\Eigene Dateien"},
      {"no answer from the shell", kGerman, "SendTo", std::nullopt, "%USERPROFILE%\\SendTo", ann + "SendTo"},
      {"an empty answer from the shell", kGerman, "Startup", "", "%USERPROFILE%\\Start Menu\\Programs\\Startup",
       ann + "Start Menu\\Programs\\Startup"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ShellFolder& folder = *FindShellFolder(c.folder);
    fake.system.uiLanguage = c.language;
    fake.shell.stockFolders.clear();
    if (c.shellAnswer) fake.shell.stockFolders[folder.csidl] = *c.shellAnswer;
    SelectAndType(c.folder, "D:\\Typed but not applied");
    presenter.OnRestoreDefault();
    EXPECT_EQ(fake.registry.changes,
              (Writes{Write(folder.hive, kShellFoldersKey, folder.valueName, c.shellFolders),
                      Write(folder.hive, kUserShellFoldersKey, folder.valueName, c.userShellFolders)}));
    ExpectTold(kDefaultsRestored, c.shellFolders);
  }
}

TEST_F(ApplyRestoreTest, APutBackThatFailsTellsWhereEachValueStands) {
  SetUserShell(kHkeyLocalMachine, "CommonMusic", platform::kRegExpandSz, "%ALLUSERSPROFILE%\\Documents\\My Music");
  SetShell(kHkeyLocalMachine, "CommonMusic", "C:\\Shared Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  SelectAndType("Shared Music", "E:\\Music");
  // The User Shell Folders write succeeds, the Shell Folders one is refused, and putting the first back fails.
  fake.log.Fail("WriteValue", 2, 1016);
  presenter.OnApply();
  // The window shows what the registry holds: the User Shell Folders value, as written.
  ExpectTold(PartlyWrittenHeadline(5) + "\nUser Shell Folders\\CommonMusic " + NowHolds("E:\\Music") +
                 "\nShell Folders\\CommonMusic " + StillHolds("C:\\Shared Music"),
             "E:\\Music");
}

TEST_F(ApplyRestoreTest, GuardsWriteNothingShowNothingAndChangeNothing) {
  SelectAndType("Desktop", "   ");
  view.restoreEnabled = true;
  presenter.OnApply();
  EXPECT_TRUE(fake.registry.changes.empty());
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.pathText, "   ");
  EXPECT_FALSE(view.applyEnabled);

  view.folderIndex = -1;
  view.Type("D:\\Docs");
  presenter.OnApply();
  presenter.OnRestoreDefault();
  EXPECT_TRUE(fake.registry.changes.empty());
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.pathText, "D:\\Docs");
  EXPECT_TRUE(view.applyEnabled);
  EXPECT_TRUE(view.restoreEnabled);
}

}  // namespace
