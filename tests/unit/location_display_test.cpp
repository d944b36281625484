// Showing where the selected folder lives: its User Shell Folders value expanded, else Shell Folders, the buttons,
// a selection of none, editing the path, and how references expand.
#include "main_presenter_fixture.h"
#include "presenters/presenter_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

// A shared folder stays visible to a user who may not change it, and nothing shown is a message.
TEST_F(MainPresenterTest, SelectingAFolderShowsItsExpandedValueElseShellFolders) {
  fake.registry.DenyWrites(kHkeyLocalMachine, kUserShellFoldersKey);
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  const struct {
    const char* folder;
    std::uint32_t type;  // of the User Shell Folders value; 0: there is none
    std::string bytes;
    const char* shellFolders;  // nullptr: no value
    const char* shown;
  } cases[] = {
      {"My Documents", platform::kRegExpandSz, StringValueBytes("%USERPROFILE%\\My Documents"), "D:\\Stale",
       "C:\\Documents and Settings\\Ann\\My Documents"},
      {"Temporary Internet Files", 0, "", "D:\\Cache", "D:\\Cache"},
      {"Startup", platform::kRegExpandSz, StringValueBytes(""), "D:\\Startup", "D:\\Startup"},
      {"SendTo", platform::kRegDword, std::string("\x02\0\0\0", 4), "D:\\SendTo", "D:\\SendTo"},
      {"Start Menu", platform::kRegBinary, "\x01", "D:\\Start", "D:\\Start"},
      {"Favorites", platform::kRegDword, std::string("\x07\0\0\0", 4), "D:\\Favorites", "7"},
      {"Shared Music", 0, "", nullptr, ""},
      {"Shared Pictures", platform::kRegExpandSz, StringValueBytes("%ALLUSERSPROFILE%\\Documents\\My Pictures"),
       nullptr, "C:\\Documents and Settings\\All Users\\Documents\\My Pictures"},
  };
  for (const auto& c : cases) {
    const ShellFolder& folder = *FindShellFolder(c.folder);
    if (c.type != 0) fake.registry.SetValue(folder.hive, kUserShellFoldersKey, folder.valueName, c.type, c.bytes);
    if (c.shellFolders) SetShell(folder.hive, folder.valueName, c.shellFolders);
    view.Type("typed");
    view.restoreEnabled = false;
    Select(c.folder);
    EXPECT_EQ(view.locationCaption, LocationCaption(c.folder));
    EXPECT_EQ(view.pathText, c.shown) << c.folder;
    EXPECT_FALSE(view.applyEnabled) << c.folder;
    EXPECT_TRUE(view.restoreEnabled) << c.folder;
  }
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(MainPresenterTest, NoSelectionLeavesABareCaptionAndRestoreAsItWas) {
  view.restoreEnabled = false;
  view.Type("something");
  presenter.OnFolderSelected();
  EXPECT_EQ(view.locationCaption, LocationCaption(""));
  EXPECT_EQ(view.pathText, "");
  EXPECT_FALSE(view.applyEnabled);
  EXPECT_FALSE(view.restoreEnabled);
}

TEST_F(MainPresenterTest, EditingThePathEnablesApplyOnlyForNonBlankText) {
  Select("Desktop");
  view.Type(" ");
  EXPECT_FALSE(view.applyEnabled);
  view.Type(" x");
  EXPECT_TRUE(view.applyEnabled);
  view.Type("");
  EXPECT_FALSE(view.applyEnabled);
  // A tab is not a space: the text is not blank.
  view.Type("\t");
  EXPECT_TRUE(view.applyEnabled);
}

// Every defined reference expands, in any case, and what is not one stays as written; a variable defined but
// empty goes, as the shell's own expansion has it; no code page is in the way of a profile of any name. Each
// folder's stock path expands in full, to its own profile or All Users'.
TEST_F(MainPresenterTest, ExpandPathExpandsEveryDefinedReferenceAndKeepsTheRest) {
  FolderLocations locations(fake.platform());
  auto expand = [&](const std::string& text) { return locations.ExpandPath(RegValue::FromText(text)).text(); };
  EXPECT_EQ(expand("C:\\Docs"), "C:\\Docs");
  EXPECT_EQ(expand("%USERPROFILE%"), "C:\\Documents and Settings\\Ann");
  EXPECT_EQ(expand("%userprofile%\\Docs"), "C:\\Documents and Settings\\Ann\\Docs");
  EXPECT_EQ(expand("D:\\Data\\%USERNAME%\\Docs"), "D:\\Data\\Ann\\Docs");
  EXPECT_EQ(expand("%USERNAME%%USERNAME%\\Docs"), "AnnAnn\\Docs");
  EXPECT_EQ(expand("%NOSUCHVARIABLE%\\Docs"), "%NOSUCHVARIABLE%\\Docs");
  EXPECT_EQ(expand("D:\\Share\\50%"), "D:\\Share\\50%");
  EXPECT_EQ(expand("%%Docs"), "%%Docs");
  EXPECT_EQ(expand("%"), "%");
  EXPECT_EQ(expand("100% %USERNAME%"), "100% %USERNAME%") << "the reference is \"% \", undefined";
  EXPECT_EQ(expand("%NOSUCH%USERNAME%"), "%NOSUCH%USERNAME%");
  EXPECT_EQ(locations.ExpandPath(RegValue()), RegValue());
  EXPECT_EQ(locations.ExpandPath(RegValue::FromInteger(2)), RegValue::FromInteger(2));
  for (const ShellFolder& entry : kShellFolders) {
    std::string stock = entry.stockDefaultPath;
    std::string root =
        entry.hive == kHkeyLocalMachine ? "C:\\Documents and Settings\\All Users" : "C:\\Documents and Settings\\Ann";
    EXPECT_EQ(expand(stock), root + stock.substr(stock.find('\\'))) << entry.displayName;
  }
  fake.environment.Set("EMPTY", "");
  EXPECT_EQ(expand("%EMPTY%\\x"), "\\x");
  fake.environment.Set("USERPROFILE", kWidePath);
  EXPECT_EQ(expand("%USERPROFILE%\\My Music"), kWidePath + "\\My Music");
}

}  // namespace
