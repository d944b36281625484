// Apply and Restore Default: what is written where, in which order and type, and what the user is told.
#include "features/feature_texts.h"
#include "main_presenter_fixture.h"
#include "vocabulary/product_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

class ApplyRestoreTest : public MainPresenterTest {
 protected:
  // The values written, in the order the registry took them.
  const std::vector<FakeRegistry::Change>& Writes() const { return fake.registry.changes; }
  static FakeRegistry::Change Write(platform::HKey hive, const char* key, const char* name, std::uint32_t type,
                                    const std::string& data) {
    return FakeRegistry::Change{hive, key, name, false, type, Utf8ToUtf16Le(data) + std::string(2, '\0')};
  }
};

TEST_F(ApplyRestoreTest, ApplyWritesUserShellFoldersFirstForAPerUserFolder) {
  Select("My Documents");
  view.Type("  D:\\Data\\Docs  ");
  fake.registry.changes.clear();
  presenter.OnApply();
  EXPECT_EQ(Writes(), (std::vector<FakeRegistry::Change>{
                          Write(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", 2, "D:\\Data\\Docs"),
                          Write(kHkeyCurrentUser, kShellFoldersKey, "Personal", 1, "D:\\Data\\Docs"),
                      }));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].prompt, kRelocated);
  EXPECT_EQ(view.messages[0].title, kAppTitle);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::kNone);
  // The box shows what the registry now holds, read again.
  EXPECT_EQ(view.pathText, "D:\\Data\\Docs");
  EXPECT_FALSE(view.applyEnabled);
  EXPECT_TRUE(view.restoreEnabled);
}

TEST_F(ApplyRestoreTest, ApplyStoresTheReferenceUnexpandedAndItsExpansionBesideIt) {
  Select("Desktop");
  view.Type("%USERPROFILE%\\Docs");
  presenter.OnApply();
  std::uint32_t type = 0;
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop", &type), "%USERPROFILE%\\Docs");
  EXPECT_EQ(type, platform::kRegExpandSz);
  EXPECT_EQ(Stored(kHkeyCurrentUser, kShellFoldersKey, "Desktop", &type), "C:\\Documents and Settings\\Ann\\Docs");
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(view.pathText, "C:\\Documents and Settings\\Ann\\Docs");
}

// No code page in the way: what is typed is stored and shown exactly, and a profile of any name expands.
TEST_F(ApplyRestoreTest, AWidePathRoundTripsThroughApplyTheDisplayAndRestore) {
  const std::string profile = "C:\\Documents and Settings\\\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0 \xF0\x9F\x8E\xB5";
  fake.environment.Set("USERPROFILE", profile);
  Select("My Music");
  view.Type(kWidePath);
  fake.registry.changes.clear();
  presenter.OnApply();
  // 21 UTF-16 code units and one terminator: 44 bytes.
  EXPECT_EQ(Writes(), (std::vector<FakeRegistry::Change>{
                          Write(kHkeyCurrentUser, kUserShellFoldersKey, "My Music", 2, kWidePath),
                          Write(kHkeyCurrentUser, kShellFoldersKey, "My Music", 1, kWidePath),
                      }));
  EXPECT_EQ(Writes().at(0).bytes.size(), 44u);
  EXPECT_EQ(LastMessage(), kRelocated);
  EXPECT_EQ(view.pathText, kWidePath);

  fake.registry.changes.clear();
  presenter.OnRestoreDefault();
  EXPECT_EQ(Writes(),
            (std::vector<FakeRegistry::Change>{
                Write(kHkeyCurrentUser, kShellFoldersKey, "My Music", 1, profile + "\\My Documents\\My Music"),
                Write(kHkeyCurrentUser, kUserShellFoldersKey, "My Music", 2, "%USERPROFILE%\\My Documents\\My Music"),
            }));
  EXPECT_EQ(view.pathText, profile + "\\My Documents\\My Music");
}

TEST_F(ApplyRestoreTest, ApplyWritesShellFoldersFirstForCommonDesktopOnly) {
  Select("Common Desktop");
  view.Type("E:\\Desk");
  fake.registry.changes.clear();
  presenter.OnApply();
  EXPECT_EQ(Writes(), (std::vector<FakeRegistry::Change>{
                          Write(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", 1, "E:\\Desk"),
                          Write(kHkeyLocalMachine, kUserShellFoldersKey, "Common Desktop", 2, "E:\\Desk"),
                      }));

  Select("Shared Video");
  view.Type("E:\\Video");
  fake.registry.changes.clear();
  presenter.OnApply();
  EXPECT_EQ(Writes().at(0), Write(kHkeyLocalMachine, kUserShellFoldersKey, "CommonVideo", 2, "E:\\Video"));
}

TEST_F(ApplyRestoreTest, RestoreWritesTheStockPathShellFoldersFirstAndDiscardsAnEdit) {
  SetUserShell(kHkeyCurrentUser, "Personal", platform::kRegExpandSz, "D:\\Elsewhere");
  Select("My Documents");
  view.Type("D:\\Typed but not applied");
  fake.registry.changes.clear();
  presenter.OnRestoreDefault();
  EXPECT_EQ(
      Writes(),
      (std::vector<FakeRegistry::Change>{
          Write(kHkeyCurrentUser, kShellFoldersKey, "Personal", 1, "C:\\Documents and Settings\\Ann\\My Documents"),
          Write(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", 2, "%USERPROFILE%\\My Documents"),
      }));
  EXPECT_EQ(LastMessage(), kDefaultsRestored);
  EXPECT_EQ(view.pathText, "C:\\Documents and Settings\\Ann\\My Documents");
  EXPECT_FALSE(view.applyEnabled);

  Select("Temporary Internet Files");
  presenter.OnRestoreDefault();
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Cache"),
            "%USERPROFILE%\\Local Settings\\Temporary Internet Files");
}

struct Outcome {
  int failingWrite;  // 0: none, 1: the first write, 2: the second
  std::int32_t code;
};

TEST_F(ApplyRestoreTest, TheMessageReflectsBothWrites) {
  const Outcome outcomes[] = {{0, 0}, {1, 5}, {2, 5}, {1, 2}, {2, 1016}};
  for (const Outcome& outcome : outcomes) {
    for (bool restore : {false, true}) {
      SetUserShell(kHkeyCurrentUser, "Favorites", platform::kRegExpandSz, "D:\\Elsewhere");
      SetShell(kHkeyCurrentUser, "Favorites", "D:\\Elsewhere");
      Select("Favorites");
      view.Type("D:\\Fav");
      auto before = fake.registry.keys();
      fake.log.Clear();
      if (outcome.failingWrite) fake.log.Fail("WriteValue", outcome.failingWrite - 1, outcome.code);
      restore ? presenter.OnRestoreDefault() : presenter.OnApply();
      // When one write fails, the other is put back: nothing was changed.
      if (outcome.failingWrite) {
        EXPECT_EQ(fake.registry.keys(), before);
      }
      std::string done = restore ? kDefaultsRestored : kRelocated;
      EXPECT_EQ(LastMessage(), outcome.failingWrite ? WriteFailureText(outcome.code) : done)
          << (restore ? "restore " : "apply ") << outcome.failingWrite << " " << outcome.code;
      EXPECT_FALSE(view.applyEnabled);
      EXPECT_TRUE(view.restoreEnabled);
    }
  }
}

TEST_F(ApplyRestoreTest, APutBackThatFailsTellsWhereEachValueStands) {
  SetUserShell(kHkeyLocalMachine, "CommonMusic", platform::kRegExpandSz, "%ALLUSERSPROFILE%\\Documents\\My Music");
  SetShell(kHkeyLocalMachine, "CommonMusic", "C:\\Shared Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  Select("Shared Music");
  view.Type("E:\\Music");
  fake.log.Clear();
  // The User Shell Folders write succeeds, the Shell Folders one is refused, and putting the first back fails.
  fake.log.Fail("WriteValue", 2, 1016);
  presenter.OnApply();
  EXPECT_EQ(LastMessage(), PartlyWrittenHeadline(5) + "\nUser Shell Folders\\CommonMusic " + NowHolds("E:\\Music") +
                               "\nShell Folders\\CommonMusic " + StillHolds("C:\\Shared Music"));
  // The window shows what the registry holds: the User Shell Folders value, as written.
  EXPECT_EQ(view.pathText, "E:\\Music");
}

TEST_F(ApplyRestoreTest, GuardsWriteNothingShowNothingAndChangeNothing) {
  Select("Desktop");
  view.Type("   ");
  view.restoreEnabled = true;
  fake.registry.changes.clear();
  presenter.OnApply();
  EXPECT_TRUE(Writes().empty());
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.pathText, "   ");
  EXPECT_FALSE(view.applyEnabled);

  view.folderIndex = -1;
  view.Type("D:\\Docs");
  fake.registry.changes.clear();
  presenter.OnApply();
  presenter.OnRestoreDefault();
  EXPECT_TRUE(Writes().empty());
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.pathText, "D:\\Docs");
  EXPECT_TRUE(view.applyEnabled);
  EXPECT_TRUE(view.restoreEnabled);
}

}  // namespace
