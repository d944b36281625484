// Showing where the selected folder lives: Retriever, its fallback rules, expansion and the button states.
#include "form1_fixture.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

TEST_F(Form1Test, SelectingAFolderShowsItsExpandedUserShellFoldersValue) {
  SetUserShell(kHkeyCurrentUser, "Personal", platform::kRegExpandSz, "%USERPROFILE%\\My Documents");
  SetShell(kHkeyCurrentUser, "Personal", "D:\\Stale");
  view.Type("typed");
  Select("My Documents");
  EXPECT_EQ(view.label1, "My Documents location");
  EXPECT_EQ(view.text1, "C:\\Documents and Settings\\Ann\\My Documents");
  EXPECT_FALSE(view.command1Enabled);
  EXPECT_TRUE(view.command2Enabled);
  EXPECT_TRUE(fake.log.CallsStartingWith("RegOpenKeyExW(0x80000001, " + std::string(kShellFoldersKey)).empty());
}

TEST_F(Form1Test, FallsBackToShellFoldersWhenUserShellFoldersHasNothingUsable) {
  SetShell(kHkeyCurrentUser, "Cache", "D:\\Cache");
  Select("Temporary Internet Files");
  EXPECT_EQ(view.text1, "D:\\Cache") << "missing";

  SetUserShell(kHkeyCurrentUser, "Cache", platform::kRegExpandSz, "");
  Select("Temporary Internet Files");
  EXPECT_EQ(view.text1, "D:\\Cache") << "empty text";

  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Cache", platform::kRegDword,
                         std::string("\x02\0\0\0", 4));
  Select("Temporary Internet Files");
  EXPECT_EQ(view.text1, "D:\\Cache") << "the integer 2";

  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Cache", platform::kRegBinary, "\x01");
  Select("Temporary Internet Files");
  EXPECT_EQ(view.text1, "D:\\Cache") << "an unsupported type";
}

TEST_F(Form1Test, ADwordValueIsShownAsItsDigitsWithoutASecondRead) {
  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Favorites", platform::kRegDword,
                         std::string("\x07\0\0\0", 4));
  SetShell(kHkeyCurrentUser, "Favorites", "D:\\Favorites");
  Select("Favorites");
  EXPECT_EQ(view.text1, "7");
  EXPECT_FALSE(view.command1Enabled);
}

TEST_F(Form1Test, AFolderFoundNowhereShowsAnEmptyBoxAndNoMessage) {
  view.Type("old text");
  Select("Shared Music");
  EXPECT_EQ(view.label1, "Shared Music location");
  EXPECT_EQ(view.text1, "");
  EXPECT_FALSE(view.command1Enabled);
  EXPECT_TRUE(view.command2Enabled);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(Form1Test, SharedFoldersStayVisibleToAUserWhoMayNotChangeThem) {
  SetUserShell(kHkeyLocalMachine, "CommonMusic", platform::kRegExpandSz, "%ALLUSERSPROFILE%\\Documents\\My Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kUserShellFoldersKey);
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  Select("Shared Music");
  EXPECT_EQ(view.text1, "C:\\Documents and Settings\\All Users\\Documents\\My Music");
}

TEST_F(Form1Test, NoSelectionLeavesABareCaptionAndRestoreAsItWas) {
  view.command2Enabled = false;
  view.Type("something");
  form.Retriever();
  EXPECT_EQ(view.label1, " location");
  EXPECT_EQ(view.text1, "");
  EXPECT_FALSE(view.command1Enabled);
  EXPECT_FALSE(view.command2Enabled);
  EXPECT_TRUE(fake.log.CallsStartingWith("RegOpenKeyExW").empty());
}

TEST_F(Form1Test, EditingThePathEnablesApplyOnlyForNonBlankText) {
  SetShell(kHkeyCurrentUser, "Desktop", "C:\\Desktop");
  Select("Desktop");
  view.Type(" ");
  EXPECT_FALSE(view.command1Enabled);
  view.Type(" x");
  EXPECT_TRUE(view.command1Enabled);
  view.Type("");
  EXPECT_FALSE(view.command1Enabled);
  // A tab is not a space: the text is not blank.
  view.Type("\t");
  EXPECT_TRUE(view.command1Enabled);
  EXPECT_TRUE(view.command2Enabled);
}

class ExpandPathTest : public Form1Test {
 protected:
  std::string Expand(const std::string& text) { return form.ExpandPath(RegValue::FromText(text)).text(); }
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
  for (const SplFolderEntry& entry : SplFolderCatalogue) {
    std::string expanded = Expand(entry.stockDefaultPath);
    std::string rest = std::string(entry.stockDefaultPath).substr(std::string(entry.stockDefaultPath).find('\\'));
    std::string root =
        entry.hive == kHkeyLocalMachine ? "C:\\Documents and Settings\\All Users" : "C:\\Documents and Settings\\Ann";
    EXPECT_EQ(expanded, root + rest) << entry.displayName;
  }
}

TEST_F(ExpandPathTest, EmptyAndIntegerComeBackUnchanged) {
  EXPECT_EQ(form.ExpandPath(RegValue()), RegValue());
  EXPECT_EQ(form.ExpandPath(RegValue::FromInteger(2)), RegValue::FromInteger(2));
}

}  // namespace
