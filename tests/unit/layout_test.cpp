// Many folders at once: the layout file read and written, "apply" all or nothing with its dry run, and "check".
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "features/feature_texts.h"
#include "features/layout_file.h"
#include "text/utf16.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

TEST(ParseLayoutFileTest, ReadsEachNamedFolderAndRefusesTheWholeFileAtItsFirstBadLine) {
  const struct {
    std::string bytes;
    int line;  // of the refusal; 0 for the whole file; -1 when readable
    std::string reason;
    std::size_t entries;
  } cases[] = {
      {"; mine\r\n# also mine\r\n\r\n  my documents =  D:\\Docs  \nPersonal2 = x", 5, UnknownFolderName("Personal2"),
       0},
      {"My Documents = D:\\Docs\r\nCACHE=E:\\Cache=old\r\n\tShared Music\t= \\\\srv\\music", -1, "", 3},
      {"\xEF\xBB\xBFPersonal = D:\\Docs", -1, "", 1},
      {"\xFF\xFE" + Utf8ToUtf16Le("Desktop = D:\\\xD0\x94\r\n"), -1, "", 1},
      {"Downloads = D:\\Down", 1, UnknownFolderName("Downloads"), 0},
      {"Desktop = D:\\A\r\ndesktop = D:\\B", 2, FolderNamedTwice("Desktop", 1), 0},
      {"Desktop D:\\A", 1, kNoEqualsSign, 0},
      {"Desktop =    ", 1, kNoPathAfterEquals, 0},
      {"Desktop = D:\\\x01", 1, kLayoutLineControlCharacter, 0},
      {"; nothing\r\n\r\n", 0, kLayoutNamesNoFolder, 0},
      {"Desktop = D:\\\xC3", 0, kLayoutNotText, 0},
      {Utf8ToUtf16Le("Desktop = D:\\Desk\r\n"), 0, kLayoutHoldsNulBytes, 0},
  };
  for (const auto& c : cases) {
    LayoutFile file = ParseLayoutFile(c.bytes);
    EXPECT_EQ(file.readable, c.line < 0) << c.bytes;
    EXPECT_EQ(file.offendingLineNumber, std::max(c.line, 0)) << c.bytes;
    EXPECT_EQ(file.reason, c.reason) << c.bytes;
    EXPECT_EQ(file.entries.size(), c.entries) << c.bytes;
  }
  LayoutFile file = ParseLayoutFile("My Documents = D:\\Docs\r\nCACHE=E:\\Cache=old");
  ASSERT_EQ(file.entries.size(), 2u);
  EXPECT_EQ(file.entries[0].folder, FindShellFolder("My Documents"));
  EXPECT_EQ(file.entries[0].path, "D:\\Docs");
  EXPECT_EQ(file.entries[1].folder, FindShellFolder("Temporary Internet Files"));
  EXPECT_EQ(file.entries[1].path, "E:\\Cache=old");
}

class LayoutCommandsTest : public CliTest {
 protected:
  // Every folder at its stock place, as a relocation leaves it, and there.
  LayoutCommandsTest() {
    FolderLocations locations(fake.platform());
    for (const ShellFolder& folder : kShellFolders) {
      locations.RestoreDefault(folder);
      fake.files.folders.insert(locations.ExpandText(folder.stockDefaultPath));
    }
  }
  int Apply(const std::string& layout, bool dryRun = false) {
    fake.files.files["D:\\layout.txt"] = layout;
    return dryRun ? Run({"apply", "D:\\layout.txt", "--dry-run"}) : Run({"apply", "D:\\layout.txt"});
  }
  std::size_t Writes() const { return fake.registry.changes.size(); }
};

TEST_F(LayoutCommandsTest, TheLayoutPrintedAppliesAgainAndChangesNothing) {
  fake.registry.DeleteValue(kHkeyLocalMachine, kUserShellFoldersKey, "CommonVideo");
  EXPECT_EQ(Run({"layout"}), 0);
  std::string layout = output.out;
  EXPECT_EQ(layout.rfind(std::string(kLayoutFileHeading) + "\r\n", 0), 0u);
  EXPECT_NE(layout.find("\r\nMy Documents = %USERPROFILE%\\My Documents\r\n"), std::string::npos);
  EXPECT_NE(layout.find("\r\n" + NoPathComment("Shared Video") + "\r\n"), std::string::npos);

  EXPECT_EQ(Apply(layout), 0);
  EXPECT_EQ(Writes(), 0u);
  EXPECT_NE(output.out.find("My Documents: " + std::string(kUnchanged) + "\r\n"), std::string::npos);
  EXPECT_NE(output.out.find("\r\n" + LayoutSummary(0, false, 14, 0) + "\r\n"), std::string::npos);
  EXPECT_EQ(output.err, "");
}

TEST_F(LayoutCommandsTest, ApplyMovesWhatIsElsewhereInFileOrderAndADryRunOnlySaysSo) {
  const std::string layout = "Desktop = D:\\Desk\r\nPersonal = %USERPROFILE%\\My Documents\r\nshared music = M:\\";
  const std::string unchanged = "My Documents: " + std::string(kUnchanged) + "\r\n";
  EXPECT_EQ(Apply(layout, true), 2);
  EXPECT_EQ(output.out, "Desktop: " + WouldMoveDetail("%USERPROFILE%\\Desktop", "D:\\Desk") + "\r\n" + unchanged +
                            "Shared Music: " + WouldMoveDetail("%ALLUSERSPROFILE%\\Documents\\My Music", "M:\\") +
                            "\r\n" + LayoutSummary(2, true, 1, 0) + "\r\n");
  EXPECT_EQ(Writes(), 0u);

  fake.files.folders.insert("M:\\");
  EXPECT_EQ(Apply(layout), 0);
  EXPECT_EQ(output.out, "Desktop: " + MovedBeforeFolderExists("D:\\Desk") + "\r\n" + unchanged +
                            "Shared Music: " + kFolderMoved + "\r\n" + LayoutSummary(2, false, 1, 0) + "\r\n");
  EXPECT_EQ(Stored("Desktop"), "D:\\Desk");
  EXPECT_EQ(Stored("CommonMusic", kHkeyLocalMachine, kShellFoldersKey), "M:\\");
  // Now all there: the dry run finds nothing to do.
  EXPECT_EQ(Apply(layout, true), 0);
  // Half written by a run cut off: only the Shell Folders value would change, and the dry run says so.
  fake.registry.SetString(kHkeyCurrentUser, kShellFoldersKey, "Desktop", platform::kRegSz, "C:\\Old");
  EXPECT_EQ(Apply(layout, true), 2);
  EXPECT_EQ(output.out.substr(0, output.out.find("\r\n")),
            "Desktop: " + ShellFoldersWouldFollow("C:\\Old", "D:\\Desk"));
}

// One change for the whole layout: each folder's line says how it stands once the refused write is put back.
TEST_F(LayoutCommandsTest, AFolderThatCannotBeMovedPutsBackEveryFolderMovedBeforeIt) {
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(Apply("Desktop = D:\\Desk\r\nMy Music = D:\\Music\r\nShared Music = M:\\\r\nFavorites = D:\\Fav"), 5);
  EXPECT_EQ(output.out, "Desktop: " + std::string(kPutBack) + "\r\nMy Music: " + kPutBack +
                            "\r\nShared Music: " + WriteFailureText(5) + "\r\nFavorites: " + kNotReached + "\r\n");
  EXPECT_EQ(output.err, FolderNotMovedOthersPutBack("Shared Music", 2) + " (error 5)\r\n");
}

TEST_F(LayoutCommandsTest, CreateMakesTheMissingFoldersAndHiveLeavesTheOtherHivesFolders) {
  const std::string layout = "Desktop = \\\\srv\\home\\%USERNAME%\\Desktop\r\nShared Music = M:\\Music";
  fake.files.files["D:\\layout.txt"] = layout;
  EXPECT_EQ(Run({"apply", "D:\\layout.txt", "--create", "--hive", "HKCU"}), 0);
  EXPECT_EQ(output.out, "Desktop: " + std::string(kFolderCreatedAndMoved) + "\r\nShared Music: " +
                            PassedOverDetail("HKLM") + "\r\n" + LayoutSummary(1, false, 0, 1) + "\r\n");
  EXPECT_EQ(Stored("Desktop"), "\\\\srv\\home\\%USERNAME%\\Desktop");
  EXPECT_EQ(Stored("CommonMusic", kHkeyLocalMachine), "%ALLUSERSPROFILE%\\Documents\\My Music");

  // A location that cannot be made fails its folder before anything is written; the folders made stay.
  fake.files.folders.erase("\\\\srv\\home\\Ann\\Desktop");
  fake.files.folders.erase("\\\\srv\\home\\Ann");
  FolderLocations(fake.platform()).RestoreDefault(*FindShellFolder("Desktop"));
  fake.log.Fail("CreateFolder(M:\\Music)", 0, 5);
  EXPECT_EQ(Run({"apply", "D:\\layout.txt", "--create"}), 5);
  EXPECT_EQ(output.out, "Desktop: " + std::string(kNotReached) + "\r\nShared Music: " + kCannotMakeFolder +
                            " \"M:\\Music\": Access is denied. (error 5)\r\n");
  EXPECT_EQ(output.err, FolderNotMoved("Shared Music") +
                            FoldersMadeStay({"\\\\srv\\home\\Ann", "\\\\srv\\home\\Ann\\Desktop"}) + " (error 5)\r\n");
  EXPECT_EQ(Stored("Desktop"), "%USERPROFILE%\\Desktop");
  // The server out of reach: the other hive's folder is still passed over, with or without its files.
  fake.files.folders.erase("\\\\srv\\home\\Ann\\Desktop");
  fake.files.folders.erase("\\\\srv\\home\\Ann");
  fake.log.Fail("CreateFolder(\\\\srv\\home\\Ann)", CallLog::kEvery, 53);
  std::vector<std::string> apply = {"apply", "D:\\layout.txt", "--create", "--hive", "HKCU"};
  for (int withFiles = 0; withFiles < 2; ++withFiles) {
    if (withFiles) apply.push_back("--move");
    EXPECT_EQ(Run(apply), 6);
    EXPECT_NE(output.out.find("Shared Music: " + PassedOverDetail("HKLM") + "\r\n"), std::string::npos) << output.out;
  }
}

TEST_F(LayoutCommandsTest, AFileThatIsNoLayoutOrCannotBeReadWritesNothing) {
  EXPECT_EQ(Apply("Desktop = D:\\Desk\r\nDownloads = D:\\Down"), 3);
  EXPECT_EQ(output.err, AsLines("\"D:\\layout.txt\"" + std::string(kNotALayout) + "\n" +
                                OffendingLine(2, "Downloads = D:\\Down") + UnknownFolderName("Downloads")));
  EXPECT_EQ(Writes(), 0u);
  // The line is shown as the user can read it: no control character as itself (and cut, as FailureWordsTest has).
  EXPECT_EQ(Apply("Desktop = D:\\Desk\x01"), 3);
  EXPECT_EQ(output.err, AsLines("\"D:\\layout.txt\"" + std::string(kNotALayout) + "\n" +
                                OffendingLine(1, "Desktop = D:\\Desk<0x01>") + kLayoutLineControlCharacter));
  ExpectRun({"apply", "D:\\missing.txt"}, 6, "",
            kCannotReadAction +
                std::string(" \"D:\\missing.txt\": The system cannot find the file specified. (error 2)\r\n"));
}

TEST_F(LayoutCommandsTest, CheckNamesEachProblemOnceAndNothingForAHealthyFolder) {
  FolderLocations locations(fake.platform());
  fake.files.folders.insert("D:\\Good");
  fake.files.files["D:\\AFile"] = "x";
  auto set = [&](const char* folder, const char* path) { locations.Relocate(*FindShellFolderByAnyName(folder), path); };
  for (const ShellFolder& folder : kShellFolders) locations.Relocate(folder, "D:\\Good");
  set("Desktop", "D:\\Missing");
  set("Favorites", "D:\\AFile");
  set("My Music", "Music");
  set("My Pictures", "%NOPE%\\Pictures");
  fake.registry.SetString(kHkeyCurrentUser, kShellFoldersKey, "SendTo", platform::kRegSz, "D:\\Elsewhere");
  fake.registry.SetValue(kHkeyCurrentUser, kUserShellFoldersKey, "Start Menu", platform::kRegDword,
                         std::string(4, '\0'));
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Startup", platform::kRegExpandSz, "");
  fake.environment.Set("COMPUTERNAME", "PC-7");

  auto row = [](const char* folder, const char* problem, const std::string& detail) {
    return std::string(folder) + "\t" + problem + "\t" + detail + "\r\n";
  };
  EXPECT_EQ(Run({"check"}), 2);
  EXPECT_EQ(output.out, row("Desktop", kLocationMissingProblem, LocationDoesNotExist("D:\\Missing")) +
                            row("Favorites", kNotAFolderProblem, LocationIsAFile("D:\\AFile")) +
                            row("My Music", kUnusableValueProblem, UserShellFoldersUnusable("Music", kPathNotFull)) +
                            row("My Pictures", kUnusableValueProblem,
                                UserShellFoldersUnusable("%NOPE%\\Pictures", NamesNoVariable("NOPE"))) +
                            row("SendTo", kValuesDisagreeProblem, ShellFoldersDisagree("D:\\Elsewhere", "D:\\Good")) +
                            row("Start Menu", kUnusableValueProblem, UserShellFoldersNotAPath(platform::kRegDword)) +
                            row("Startup", kUnusableValueProblem, kUserShellFoldersEmpty) +
                            AsLines(ProblemCountText(7)));
  EXPECT_EQ(Writes(), 0u);
  fake.environment.Set("USERNAME", "Tom&Jerry, \"Admin\"");
  const std::string who = "PC-7,\"Tom&Jerry, \"\"Admin\"\"\",2026-12-09T01:57:00,";
  EXPECT_EQ(Run({"check", "--csv"}), 2);
  EXPECT_EQ(
      output.out.rfind(kCheckCsvHeader + std::string("\r\n") + who + "Desktop," + kLocationMissingProblem + ",", 0),
      0u);
  EXPECT_EQ(output.err, AsLines(ProblemCountText(7)));
  // HKEY_LOCAL_MACHINE's folders alone have none of these problems.
  EXPECT_EQ(Run({"check", "--hive", "hklm"}), 0);

  // A healthy machine says so in a row of its own, and --no-header leaves the header to the file's first run.
  for (const ShellFolder& folder : kShellFolders) locations.Relocate(folder, "D:\\Good");
  ExpectRun({"check"}, 0, AsLines(ProblemCountText(0)), "");
  ExpectRun({"check", "--csv", "--no-header"}, 0, AsLines(who + "," + kHealthyProblem + ","),
            AsLines(ProblemCountText(0)));
}

}  // namespace
