// zolvane-cli as the logon scripts of many machines run it, over the fakes: its own log, a server folder made
// again, where the folders were before the first layout kept and put back, and one state file a computer and user.
#include <gtest/gtest.h>

#include "cli/run_log.h"
#include "cli_fixture.h"
#include "features/feature_texts.h"
#include "text/utf8.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kLog = "\\\\srv\\share\\logs\\zolvane.log";
const std::string kUsersKept = "C:\\Documents and Settings\\Ann\\Application Data\\Zolvane\\before-layout.txt";

// José on PC-7, his folders at Windows' places and there; the share \\srv\logs holds no folder yet.
class FleetTest : public CliTest {
 protected:
  FleetTest() {
    fake.environment.Set("COMPUTERNAME", "PC-7");
    fake.environment.Set("USERNAME", "Jos\xC3\xA9 M\xC3\xBCller");
    FolderLocations locations(fake.platform());
    for (const ShellFolder& folder : kShellFolders) {
      locations.RestoreDefault(folder);
      fake.files.folders.insert(locations.ExpandText(folder.stockDefaultPath));
    }
  }
  std::string Log() { return fake.files.files[kLog]; }
};

TEST(RunLogLineTest, FieldsAreSeparatedByTabsAndEachStaysOnItsLine) {
  EXPECT_EQ(RunLogLine({2026, 1, 2, 3, 4, 5}, "PC", "Ann\tB", "check --csv", 2, "1 problem.\r"),
            "2026-01-02 03:04:05\tPC\tAnn B\tcheck --csv\t2\t1 problem. \r\n");
  // However much a run said, its line stays one small write, cut at a character's start.
  std::string said;
  for (int i = 0; i < 5000; ++i) said += "\xC3\xA9";
  std::string line = RunLogLine({2026, 1, 2, 3, 4, 5}, "PC", "Ann", "check", 6, said);
  EXPECT_LT(line.size(), 2100u);
  EXPECT_TRUE(IsValidUtf8(line));
}

// One line a run, in UTF-8, its folder made at the first; a failure's line holds all it said on standard error.
TEST_F(FleetTest, EachRunAddsOneLineToTheLogAndMakesItsFolder) {
  const std::string layout = "My Documents = \\\\srv\\home\\%USERNAME%\\Docs";
  EXPECT_EQ(Apply(layout, {"--create", "--log", kLog}), 0) << output.err;
  EXPECT_TRUE(fake.files.folders.count("\\\\srv\\share\\logs"));
  EXPECT_EQ(Apply(layout, {"--log", kLog, "--hive", "HKCU"}), 0);
  EXPECT_EQ(Apply("Nowhere = D:\\x", {"--log", kLog}), 3);
  fake.files.folders.erase("C:\\Documents and Settings\\Ann\\My Documents\\My Music");
  EXPECT_EQ(Run({"check", "--log", kLog}), 2);
  std::vector<std::string> lines = Lines(Log());
  ASSERT_EQ(lines.size(), 4u);
  const std::string who = "2026-12-09 01:57:00\tPC-7\tJos\xC3\xA9 M\xC3\xBCller\t";
  EXPECT_EQ(lines[0], who + "apply D:\\layout.txt --create\t0\t1 moved, 0 unchanged.");
  EXPECT_EQ(lines[1], who + "apply D:\\layout.txt --hive HKCU\t0\t0 moved, 1 unchanged.");
  EXPECT_EQ(lines[2], who + "apply D:\\layout.txt\t3\t\"D:\\layout.txt\"" + kNotALayout + " Line 1: Nowhere = D:\\x " +
                          UnknownFolderName("Nowhere"));
  EXPECT_EQ(lines[3].substr(lines[3].size() - 13), "\t2\t1 problem.");
}

// A line that cannot be added is said, with the line; a result (0, or 2) then ends with 6, a failure keeps its
// code; a log another program holds is tried again a little later.
TEST_F(FleetTest, ALogThatCannotBeWrittenIsSaidAndTurnsAResultIntoSix) {
  fake.files.folders.insert("\\\\srv\\share\\logs");
  fake.log.Fail("AppendToFile(" + kLog + ")", 0, 5);
  EXPECT_EQ(Run({"restore", "--all", "--hive", "HKCU", "--log", kLog}), 6);
  EXPECT_NE(output.err.find(std::string(kProgramPrefix) + kCannotWriteLogAction + " \"" + kLog +
                            "\": Access is denied. (error 5)\r\n" + kLineNotLogged + "2026-12-09 01:57:00\tPC-7\t"),
            std::string::npos)
      << output.err;
  fake.log.Fail("AppendToFile(" + kLog + ")", 0, 5);
  EXPECT_EQ(Apply("Nowhere = D:\\x", {"--log", kLog}), 3);
  fake.log.Fail("AppendToFile(" + kLog + ")", 0, platform::kErrorSharingViolation);
  EXPECT_EQ(Apply("My Documents = %USERPROFILE%\\My Documents", {"--log", kLog}), 0);
  EXPECT_EQ(Lines(Log()).size(), 1u);
  EXPECT_EQ(fake.system.pauses.size(), 1u);
}

// The values already hold the server folder, which was deleted: without --create the line says it is missing, with
// it the folder is made again; no value is written either way, with or without --move.
TEST_F(FleetTest, ADeletedServerFolderIsMadeAgainWithCreate) {
  const std::string layout = "My Documents = \\\\srv\\home\\%USERNAME%\\Docs";
  const std::string location = "\\\\srv\\home\\Jos\xC3\xA9 M\xC3\xBCller\\Docs";
  ASSERT_EQ(Apply(layout, {"--create"}), 0);
  fake.files.folders.erase(location);
  EXPECT_EQ(Apply(layout), 0);
  EXPECT_EQ(output.out,
            "My Documents: " + UnchangedButMissing(location) + "\r\n" + LayoutSummary(0, false, 1, 0) + "\r\n");
  for (std::vector<std::string> switches : {std::vector<std::string>{"--create"}, {"--create", "--move"}}) {
    fake.files.folders.erase(location);
    EXPECT_EQ(Apply(layout, switches), 0) << output.err;
    EXPECT_EQ(output.out,
              "My Documents: " + std::string(kFolderMadeAgain) + "\r\n" + LayoutSummary(0, false, 0, 0, 1) + "\r\n");
    EXPECT_TRUE(fake.files.folders.count(location));
    EXPECT_TRUE(fake.registry.changes.empty());
  }
  fake.files.folders.erase(location);
  EXPECT_EQ(Apply(layout, {"--create", "--dry-run"}), 2);
  EXPECT_FALSE(fake.files.folders.count(location));
}

// The first apply keeps each hive's folders as they were, in its own place; a later one only adds the folders it
// does not name yet, and what it wrote. The undo puts back exactly those, but a folder moved elsewhere since, says
// which, and retires what was kept.
TEST_F(FleetTest, TheFirstApplyKeepsWhereTheFoldersWereAndTheUndoPutsThemBack) {
  const std::string sharedKept = std::string(kCommonAppData) + "\\Zolvane\\before-layout (shared folders).txt";
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Favorites", platform::kRegExpandSz,
                          "%USERPROFILE%\\Old Favorites");
  ASSERT_EQ(Apply("My Documents = D:\\Docs\r\nShared Music = M:\\", {"--create"}), 0);
  ASSERT_EQ(Apply("My Documents = E:\\Docs\r\nFavorites = E:\\Fav\r\nMy Music = E:\\Music", {"--create"}), 0);
  const std::string keptBytes = fake.files.files[kUsersKept];
  EXPECT_EQ(keptBytes, std::string(kKeptLayoutHeading) +
                           "\r\nMy Documents = %USERPROFILE%\\My Documents\r\n; applied: My Documents = E:\\Docs\r\n"
                           "Favorites = %USERPROFILE%\\Old Favorites\r\n; applied: Favorites = E:\\Fav\r\n"
                           "My Music = %USERPROFILE%\\My Documents\\My Music\r\n; applied: My Music = E:\\Music\r\n");
  EXPECT_EQ(fake.files.files[sharedKept], std::string(kKeptLayoutHeading) +
                                              "\r\nShared Music = %ALLUSERSPROFILE%\\Documents\\My Music\r\n"
                                              "; applied: Shared Music = M:\\\r\n");
  // The next logon's apply writes nothing of it.
  fake.files.files[kUsersKept] = keptBytes;
  ASSERT_EQ(Apply("My Documents = E:\\Docs\r\nFavorites = E:\\Fav\r\nMy Music = E:\\Music", {"--create"}), 0);
  EXPECT_TRUE(fake.registry.changes.empty());
  EXPECT_EQ(fake.files.files[kUsersKept], keptBytes);
  // The user moves My Music since: the undo leaves it there.
  ASSERT_EQ(Run({"set", "My Music", "F:\\Mine", "--create"}), 0);

  EXPECT_EQ(Run({"apply", "--undo", "--hive", "HKCU"}), 0) << output.err;
  EXPECT_EQ(Lines(output.out).front(), MovedSinceLayoutText("My Music"));
  EXPECT_EQ(Lines(output.out).back(), PutBackAsBeforeText("My Documents, Favorites"));
  EXPECT_EQ(Stored("Personal"), "%USERPROFILE%\\My Documents");
  EXPECT_EQ(Stored("Favorites"), "%USERPROFILE%\\Old Favorites");
  EXPECT_EQ(Stored("My Music"), "F:\\Mine");
  EXPECT_TRUE(fake.files.folders.count("C:\\Documents and Settings\\Ann\\Old Favorites"));
  EXPECT_EQ(Stored("CommonMusic", kHkeyLocalMachine), "M:\\");
  EXPECT_FALSE(fake.files.files.count(kUsersKept));
  ExpectRun({"apply", "--undo", "--hive", "HKCU"}, 0, AsLines(kNothingToUndo), "");
  EXPECT_EQ(Run({"apply", "--undo"}), 0);
  EXPECT_EQ(Stored("CommonMusic", kHkeyLocalMachine), "%ALLUSERSPROFILE%\\Documents\\My Music");
  EXPECT_FALSE(fake.files.files.count(sharedKept));
}

// A layout that failed is not taken for one that moved the folder: the undo still puts it back.
TEST_F(FleetTest, ALayoutThatFailedIsNotTakenForTheOneThatMovedTheFolder) {
  ASSERT_EQ(Apply("My Documents = D:\\Docs", {"--create"}), 0);
  fake.log.Fail("CreateFolder(E:\\Docs)", CallLog::kEvery, platform::kErrorAccessDenied);
  EXPECT_NE(Apply("My Documents = E:\\Docs", {"--create"}), 0);
  EXPECT_EQ(Run({"apply", "--undo", "--hive", "HKCU"}), 0) << output.out;
  EXPECT_EQ(Stored("Personal"), "%USERPROFILE%\\My Documents");
}

// A kept layout that cannot be written stops the apply before anything moves; one that cannot be read, the undo.
TEST_F(FleetTest, AKeptLayoutThatCannotBeWrittenOrReadChangesNothing) {
  fake.log.Fail("WriteNewFile", 0, 5);
  EXPECT_EQ(Apply("My Documents = D:\\Docs"), 5);
  EXPECT_TRUE(fake.registry.changes.empty());
  fake.files.files[kUsersKept] = "My Documents D:\\Docs";
  EXPECT_EQ(Run({"apply", "--undo"}), 6);
  EXPECT_EQ(output.err, AsLines(KeptLayoutUnreadable(kUsersKept, kNoEqualsSign) + kNothingWritten));
  EXPECT_TRUE(fake.registry.changes.empty());
}

// The state of one computer and user, replaced whole at each run: the header and the latest rows only.
TEST_F(FleetTest, CheckOutReplacesTheStateFileWhole) {
  const std::string state = "\\\\srv\\share\\logs\\state\\PC-7-Jos\xC3\xA9.csv";
  const std::string music = "C:\\Documents and Settings\\Ann\\My Documents\\My Music";
  fake.files.folders.erase(music);
  EXPECT_EQ(Run({"check", "--csv", "--out", state}), 2);
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(Lines(fake.files.files[state]).size(), 2u);
  fake.files.folders.insert(music);
  EXPECT_EQ(Run({"check", "--csv", "--out", state}), 0);
  EXPECT_EQ(fake.files.files[state],
            std::string(kCheckCsvHeader) + "\r\nPC-7,Jos\xC3\xA9 M\xC3\xBCller,2026-12-09T01:57:00,,ok,\r\n");
  fake.log.Fail("Replace", 0, 5);
  EXPECT_EQ(Run({"check", "--csv", "--out", state}), 5);
  EXPECT_FALSE(fake.files.files.count(state + kBesideSuffix));
}

}  // namespace
