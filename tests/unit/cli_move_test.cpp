// zolvane-cli's --move over the fakes: set across volumes, restore, a layout of two folders one inside the other,
// dry runs, a refusal, a file in use and a file denied, and the progress line on a console against a file.
#include <gtest/gtest.h>

#include <numeric>

#include "cli_fixture.h"
#include "vocabulary/shell_folder_keys.h"

namespace {

const std::string kDocs = "C:\\Documents and Settings\\Ann\\My Documents";

// Ann's folders at Windows' places: My Documents holds two files and My Pictures, which holds one.
class CliMoveTest : public CliTest {
 protected:
  CliMoveTest() {
    for (const ShellFolder& folder : kShellFolders) {
      fake.registry.SetString(folder.hive, kUserShellFoldersKey, folder.valueName, platform::kRegExpandSz,
                              folder.stockDefaultPath);
    }
    for (const char* folder : {"C:\\Documents and Settings", "C:\\Documents and Settings\\Ann", "D:\\", "E:\\"})
      fake.files.folders.insert(folder);
    Put(kDocs + "\\a.txt", "abc");
    Put(kDocs + "\\Sub\\b.txt", "bbbbb");
    Put(kDocs + "\\My Pictures\\p.jpg", "jpeg");
  }
  void Put(const std::string& path, const std::string& bytes) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
      fake.files.folders.insert(path.substr(0, slash));
    fake.files.files[path] = bytes;
  }
  bool Has(const std::string& path, const std::string& bytes) {
    auto found = fake.files.files.find(path);
    return found != fake.files.files.end() && found->second == bytes;
  }
  // Each file where it was, and no value written.
  void ExpectNothingMoved() {
    EXPECT_TRUE(Has(kDocs + "\\a.txt", "abc") && Has(kDocs + "\\My Pictures\\p.jpg", "jpeg"));
    EXPECT_TRUE(fake.registry.changes.empty());
  }
};

TEST_F(CliMoveTest, SetAcrossVolumesMovesTheFilesAndTheFolderInsideFollows) {
  ExpectRun({"set", "my documents", "D:\\Docs", "--move"}, 0,
            "My Documents: 3 files (12 bytes) moved from " + kDocs +
                " to D:\\Docs\r\n"
                "My Music: follows My Documents to D:\\Docs\\My Music\r\n"
                "My Pictures: follows My Documents to D:\\Docs\\My Pictures\r\n",
            "");
  EXPECT_TRUE(Has("D:\\Docs\\Sub\\b.txt", "bbbbb") && Has("D:\\Docs\\My Pictures\\p.jpg", "jpeg"));
  EXPECT_FALSE(fake.files.files.count(kDocs + "\\a.txt"));
  EXPECT_EQ(Stored("Personal"), "D:\\Docs");
  EXPECT_EQ(Stored("My Pictures"), "D:\\Docs\\My Pictures");
}

TEST_F(CliMoveTest, RestoreMovesTheFilesBackToWindowsPlace) {
  ASSERT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move"}), 0);
  EXPECT_EQ(Run({"restore", "Personal", "--move"}), 0) << output.err;
  EXPECT_TRUE(Has(kDocs + "\\a.txt", "abc") && Has(kDocs + "\\My Pictures\\p.jpg", "jpeg"));
  EXPECT_FALSE(fake.files.folders.count("D:\\Docs"));
  EXPECT_EQ(Stored("Personal"), "%USERPROFILE%\\My Documents");
}

// The folder inside moves first, so its files are carried once; the other's lines say nothing of it.
TEST_F(CliMoveTest, ALayoutMovesTheFolderInsideFirstAndEachFolderSaysWhatBecameOfIt) {
  const std::string layout = "My Documents = D:\\Docs\nMy Pictures = E:\\Pictures\n";
  EXPECT_EQ(Apply(layout, {"--move"}), 0) << output.err;
  EXPECT_EQ(output.out, "My Pictures: 1 file (4 bytes) moved from " + kDocs +
                            "\\My Pictures to E:\\Pictures\r\n"
                            "My Documents: 2 files (8 bytes) moved from " +
                            kDocs +
                            " to D:\\Docs\r\n"
                            "My Music: follows My Documents to D:\\Docs\\My Music\r\n"
                            "2 moved, 0 unchanged.\r\n");
  EXPECT_TRUE(Has("E:\\Pictures\\p.jpg", "jpeg") && Has("D:\\Docs\\a.txt", "abc"));
  EXPECT_FALSE(fake.files.folders.count("D:\\Docs\\My Pictures"));
  // Applied again, as the next logon does: nothing left to move.
  EXPECT_EQ(Apply(layout, {"--move"}), 0);
  EXPECT_EQ(output.out, "My Documents: unchanged\r\nMy Pictures: unchanged\r\n0 moved, 2 unchanged.\r\n");
  EXPECT_TRUE(fake.registry.changes.empty());
}

// The undo carries the files back to where the folder was before the first layout, whose folder the move had
// removed, and a second undo has nothing to do.
TEST_F(CliMoveTest, AnUndoWithMoveBringsTheFilesBackToTheFolderAsItWas) {
  ASSERT_EQ(Apply("My Documents = D:\\Docs\n", {"--move"}), 0) << output.err;
  ASSERT_FALSE(fake.files.folders.count(kDocs));
  EXPECT_EQ(Run({"apply", "--undo", "--move"}), 0) << output.err;
  EXPECT_TRUE(Has(kDocs + "\\a.txt", "abc") && Has(kDocs + "\\My Pictures\\p.jpg", "jpeg"));
  EXPECT_FALSE(fake.files.folders.count("D:\\Docs"));
  EXPECT_EQ(Stored("Personal"), "%USERPROFILE%\\My Documents");
  EXPECT_EQ(Run({"apply", "--undo", "--move"}), 0);
  EXPECT_EQ(output.out, AsLines(kNothingToUndo));
}

// As apply's own dry run, 2 says that something would change, 0 that nothing would; a folder that moves on its
// own is not counted again in the one it lies inside.
TEST_F(CliMoveTest, ADryRunTellsEachPlanAndTouchesNothing) {
  EXPECT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move", "--dry-run"}), 2);
  EXPECT_NE(output.out.find("3 files (12 bytes) would move from " + kDocs + " to D:\\Docs"), std::string::npos)
      << output.out;
  EXPECT_EQ(Apply("My Documents = D:\\Docs\nMy Pictures = E:\\Pictures\n", {"--move", "--dry-run"}), 2);
  EXPECT_NE(output.out.find("My Documents: 2 files (8 bytes) would move"), std::string::npos) << output.out;
  EXPECT_NE(output.out.find("My Pictures: 1 file (4 bytes) would move"), std::string::npos) << output.out;
  EXPECT_EQ(output.out.find("My Pictures: follows"), std::string::npos) << output.out;
  ExpectNothingMoved();
  EXPECT_FALSE(fake.files.folders.count("D:\\Docs"));
  Put("D:\\Docs\\a.txt", "other");
  EXPECT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move", "--dry-run"}), 3);
  EXPECT_NE(output.out.find("the files may not move"), std::string::npos) << output.out;
  ASSERT_EQ(Run({"set", "My Documents", "E:\\Docs", "--move"}), 0);
  EXPECT_EQ(Run({"set", "My Documents", "E:\\Docs", "--move", "--dry-run"}), 0) << output.out;
  EXPECT_EQ(Apply("My Documents = E:\\Docs\n", {"--move", "--dry-run"}), 0) << output.out;
}

// One folder that may not move refuses the whole layout, the one that could move too.
TEST_F(CliMoveTest, AMoveRefusedRefusesTheWholeLayoutBeforeAnythingIsTouched) {
  Put("D:\\Docs\\a.txt", "other");
  EXPECT_EQ(Apply("My Pictures = E:\\Pictures\nMy Documents = D:\\Docs\n", {"--move"}), 3);
  EXPECT_NE(output.err.find("a.txt"), std::string::npos) << output.err;
  EXPECT_EQ(output.out, "");
  ExpectNothingMoved();
  EXPECT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move"}), 3);
  ExpectNothingMoved();
  // Kept where it is by the layout, My Pictures would leave with My Documents and come back at the next run.
  EXPECT_EQ(Apply("My Documents = E:\\Docs\nMy Pictures = %USERPROFILE%\\My Documents\\My Pictures\n", {"--move"}), 3);
  EXPECT_NE(output.err.find(KeptInsideText("My Pictures", kDocs + "\\My Pictures")), std::string::npos) << output.err;
  ExpectNothingMoved();
}

TEST_F(CliMoveTest, AFileInUseStopsTheMoveAfterAFewSecondsAndAFileDeniedSaysSo) {
  fake.fileTree.heldOpen = {kDocs + "\\a.txt", kDocs + "\\Sub\\b.txt"};
  EXPECT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move"}), 6);
  ExpectNothingMoved();
  EXPECT_FALSE(fake.system.pauses.empty());
  EXPECT_LE(std::accumulate(fake.system.pauses.begin(), fake.system.pauses.end(), 0u), 3000u);
  fake.fileTree.heldOpen.clear();
  fake.log.Fail("CopyToNew(" + kDocs, CallLog::kEvery, platform::kErrorAccessDenied);
  EXPECT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move"}), 5);
  EXPECT_NE(output.err.find("Access is denied."), std::string::npos) << output.err;
  ExpectNothingMoved();
}

// The layout stops at the folder that fails: the one moved before it stays moved, and the lines say so.
TEST_F(CliMoveTest, ALayoutStoppedByAFailureKeepsWhatItMoved) {
  fake.fileTree.heldOpen.insert(kDocs + "\\a.txt");
  EXPECT_EQ(Apply("My Documents = D:\\Docs\nMy Pictures = E:\\Pictures\n", {"--move"}), 6);
  EXPECT_TRUE(Has("E:\\Pictures\\p.jpg", "jpeg") && Has(kDocs + "\\a.txt", "abc"));
  EXPECT_EQ(Stored("My Pictures"), "E:\\Pictures");
  EXPECT_NE(output.out.find("My Pictures: 1 file (4 bytes) moved"), std::string::npos) << output.out;
  EXPECT_NE(output.err.find(LayoutStoppedText("My Documents")), std::string::npos) << output.err;
}

// On a console the line is written over itself, never wider than the console; into a file only the summary.
TEST_F(CliMoveTest, AConsoleShowsTheProgressOnOneLineAndAFileOnlyTheSummary) {
  fake.system.consoleColumns = 70;
  fake.system.ticksPerCall = 300;
  Put(kDocs + "\\A folder with a long name\\a file with a long name.txt", "long");
  ASSERT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move"}), 0);
  std::size_t summary = output.out.find("My Documents: 4 files");
  ASSERT_NE(summary, std::string::npos) << output.out;
  std::string progress = output.out.substr(0, summary);
  EXPECT_NE(progress.find("\rMy Documents: 0 of 4 files, 0 bytes of 16 bytes"), std::string::npos) << progress;
  EXPECT_NE(progress.find("of 16 bytes: ... a long name.txt"), std::string::npos) << progress;
  for (std::size_t at = 0, next; at < progress.size(); at = next) {
    next = std::min(progress.find('\r', at + 1), progress.size());
    EXPECT_LE(next - at - 1, 69u) << progress.substr(at, next - at);
  }
  EXPECT_EQ(progress.back(), '\r');
  // No time passes between the reports: the line is written once.
  fake.system.ticksPerCall = 0;
  ASSERT_EQ(Run({"restore", "My Documents", "--move"}), 0);
  EXPECT_EQ(output.out.find("\rMy Documents: 0 of 4"), 0u) << output.out;
  EXPECT_EQ(output.out.find(" of 4 files", 1), output.out.rfind(" of 4 files")) << output.out;
  fake.system.consoleColumns = 0;
  ASSERT_EQ(Run({"set", "My Documents", "D:\\Docs", "--move"}), 0);
  EXPECT_EQ(output.out.find("My Documents: 4 files"), 0u) << output.out;
}

TEST_F(CliMoveTest, MoveGoesWithOneFolderAndADryRunOfSetOrRestoreWithAMove) {
  EXPECT_EQ(Run({"restore", "--all", "--move"}), 1);
  EXPECT_NE(output.err.find(kMoveTakesOneFolder), std::string::npos);
  EXPECT_EQ(Run({"set", "My Documents", "D:\\Docs", "--dry-run"}), 1);
  EXPECT_NE(output.err.find(kDryRunGoesWithMove), std::string::npos);
}

}  // namespace
