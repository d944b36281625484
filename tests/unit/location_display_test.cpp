// Showing where the selected folder lives: ShowCurrentLocation, its fallback rules, expansion and the button states.
#include "main_presenter_fixture.h"
#include "presenters/presenter_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

TEST_F(MainPresenterTest, SelectingAFolderShowsItsExpandedUserShellFoldersValue) {
  SetUserShell(kHkeyCurrentUser, "Personal", platform::kRegExpandSz, "%USERPROFILE%\\My Documents");
  SetShell(kHkeyCurrentUser, "Personal", "D:\\Stale");
  view.Type("typed");
  Select("My Documents");
  EXPECT_EQ(view.locationCaption, LocationCaption("My Documents"));
  EXPECT_EQ(view.pathText, "C:\\Documents and Settings\\Ann\\My Documents");
  EXPECT_FALSE(view.applyEnabled);
  EXPECT_TRUE(view.restoreEnabled);
}

TEST_F(MainPresenterTest, FallsBackToShellFoldersWhenUserShellFoldersHasNothingUsable) {
  SetShell(kHkeyCurrentUser, "Cache", "D:\\Cache");
  Select("Temporary Internet Files");
  EXPECT_EQ(view.pathText, "D:\\Cache") << "missing";

  SetUserShell(kHkeyCurrentUser, "Cache", platform::kRegExpandSz, "");
  Select("Temporary Internet Files");
  EXPECT_EQ(view.pathText, "D:\\Cache") << "empty text";

  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Cache", platform::kRegDword,
                         std::string("\x02\0\0\0", 4));
  Select("Temporary Internet Files");
  EXPECT_EQ(view.pathText, "D:\\Cache") << "the integer 2";

  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Cache", platform::kRegBinary, "\x01");
  Select("Temporary Internet Files");
  EXPECT_EQ(view.pathText, "D:\\Cache") << "an unsupported type";
}

TEST_F(MainPresenterTest, ADwordValueIsShownAsItsDigitsWithoutASecondRead) {
  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Favorites", platform::kRegDword,
                         std::string("\x07\0\0\0", 4));
  SetShell(kHkeyCurrentUser, "Favorites", "D:\\Favorites");
  Select("Favorites");
  EXPECT_EQ(view.pathText, "7");
  EXPECT_FALSE(view.applyEnabled);
}

TEST_F(MainPresenterTest, AFolderFoundNowhereShowsAnEmptyBoxAndNoMessage) {
  view.Type("old text");
  Select("Shared Music");
  EXPECT_EQ(view.locationCaption, LocationCaption("Shared Music"));
  EXPECT_EQ(view.pathText, "");
  EXPECT_FALSE(view.applyEnabled);
  EXPECT_TRUE(view.restoreEnabled);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(MainPresenterTest, SharedFoldersStayVisibleToAUserWhoMayNotChangeThem) {
  SetUserShell(kHkeyLocalMachine, "CommonMusic", platform::kRegExpandSz, "%ALLUSERSPROFILE%\\Documents\\My Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kUserShellFoldersKey);
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  Select("Shared Music");
  EXPECT_EQ(view.pathText, "C:\\Documents and Settings\\All Users\\Documents\\My Music");
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
  SetShell(kHkeyCurrentUser, "Desktop", "C:\\Desktop");
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
  EXPECT_TRUE(view.restoreEnabled);
}

class ExpandPathTest : public MainPresenterTest {
 protected:
  FolderLocations locations{fake.platform()};
  std::string Expand(const std::string& text) { return locations.ExpandPath(RegValue::FromText(text)).text(); }
};

TEST_F(ExpandPathTest, ExpandsEveryDefinedReferenceAndKeepsTheRest) {
  EXPECT_EQ(Expand("C:\\Docs"), "C:\\Docs");
  EXPECT_EQ(Expand("%USERPROFILE%"), "C:\\Documents and Settings\\Ann");
  EXPECT_EQ(Expand("%userprofile%\\Docs"), "C:\\Documents and Settings\\Ann\\Docs");
  EXPECT_EQ(Expand("D:\\Data\\%USERNAME%\\Docs"), "D:\\Data\\Ann\\Docs");
  EXPECT_EQ(Expand("%USERNAME%%USERNAME%\\Docs"), "AnnAnn\\Docs");
  EXPECT_EQ(Expand("%NOSUCHVARIABLE%\\Docs"), "%NOSUCHVARIABLE%\\Docs");
  EXPECT_EQ(Expand("D:\\Share\\50%"), "D:\\Share\\50%");
  EXPECT_EQ(Expand("%%Docs"), "%%Docs");
  EXPECT_EQ(Expand("%"), "%");
  EXPECT_EQ(Expand("100% %USERNAME%"), "100% %USERNAME%") << "the reference is \"% \", undefined";
  EXPECT_EQ(Expand("%NOSUCH%USERNAME%"), "%NOSUCH%USERNAME%");
  // Defined, but empty: the reference goes, as the shell's own expansion has it.
  fake.environment.Set("EMPTY", "");
  EXPECT_EQ(Expand("%EMPTY%\\x"), "\\x");
}

TEST_F(ExpandPathTest, EveryStockPathExpandsInFull) {
  for (const ShellFolder& entry : kShellFolders) {
    std::string expanded = Expand(entry.stockDefaultPath);
    std::string rest = std::string(entry.stockDefaultPath).substr(std::string(entry.stockDefaultPath).find('\\'));
    std::string root =
        entry.hive == kHkeyLocalMachine ? "C:\\Documents and Settings\\All Users" : "C:\\Documents and Settings\\Ann";
    EXPECT_EQ(expanded, root + rest) << entry.displayName;
  }
}

TEST_F(ExpandPathTest, EmptyAndIntegerComeBackUnchanged) {
  EXPECT_EQ(locations.ExpandPath(RegValue()), RegValue());
  EXPECT_EQ(locations.ExpandPath(RegValue::FromInteger(2)), RegValue::FromInteger(2));
}

}  // namespace
