// zolvane-cli's portable part: reading the arguments, and each command's lines and exit code over the fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "features/feature_texts.h"
#include "product_version.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

// The request in a line: the command's names, then what it was given; or how the arguments were refused.
std::string Described(const CliRequest& request) {
  EXPECT_EQ(request.error.empty(), request.command != nullptr) << request.error;
  if (request.command == nullptr) return request.unknownFolder ? "unknown folder" : "bad usage";
  std::string line = request.command->names;
  if (request.folder != nullptr) line += std::string(" [") + request.folder->displayName + "]";
  if (!request.path.empty()) line += " <" + request.path + ">";
  const std::pair<unsigned, const char*> switches[] = {{CliSwitch::kCsv, " --csv"},
                                                       {CliSwitch::kNoHeader, " --no-header"},
                                                       {CliSwitch::kDryRun, " --dry-run"},
                                                       {CliSwitch::kCreate, " --create"},
                                                       {CliSwitch::kAll, " --all"}};
  for (const auto& [which, name] : switches) {
    if (request.Has(which)) line += name;
  }
  if (request.hive != 0) line += request.hive == kHkeyCurrentUser ? " HKCU" : " HKLM";
  return line;
}

// What the commands' own tests run (list, show personal, /?, --version, import, layout, apply --dry-run,
// restore --all, check with its switches, no command, an unknown folder) is read there; this table holds the rest:
// one row a rule of reading, one a way of refusal.
TEST(ParseCommandLineTest, ReadsCommandFolderPathAndSwitchesAndRefusesAnythingElse) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--help"}, "--help -h /?"},
      {{"-H"}, "--help -h /?"},
      {{"LIST", "--CSV"}, "list --csv"},
      {{"show", "  my DOCUMENTS "}, "show [My Documents]"},
      {{"show", "COMMONVIDEO"}, "show [Shared Video]"},
      {{"set", "Desktop", "  D:\\Desk  "}, "set [Desktop] <D:\\Desk>"},
      {{"set", "--create", "Desktop", "D:\\D"}, "set [Desktop] <D:\\D> --create"},
      {{"restore", "cache"}, "restore [Temporary Internet Files]"},
      {{"backup"}, "backup"},
      {{"backup", "keys.bak"}, "backup <keys.bak>"},
      {{"apply", " d.txt "}, "apply <d.txt>"},
      {{"apply", "--create", "d.txt", "--HIVE", " hkcu "}, "apply <d.txt> --create HKCU"},
      {{"set", "Nowhere", "D:\\"}, "unknown folder"},
      {{"check", "--hive", "HKCR"}, "bad usage"},
      {{"check", "--hive"}, "bad usage"},
      {{"check", "--no-header"}, "bad usage"},
      {{"layout", "--create"}, "bad usage"},
      {{"--version", "list"}, "bad usage"},
      {{"layout", "x"}, "bad usage"},
      {{"apply"}, "bad usage"},
      {{"apply", "a", "b"}, "bad usage"},
      {{"apply", "--dry-run", "--dry-run"}, "bad usage"},
      {{"move"}, "bad usage"},
      {{"list", "--tsv"}, "bad usage"},
      {{"show"}, "bad usage"},
      {{"set", "Desktop"}, "bad usage"},
      {{"set", "Desktop", "   "}, "bad usage"},
      {{"restore"}, "bad usage"},
      {{"backup", "a", "b"}, "bad usage"},
      {{"import", " "}, "bad usage"},
  };
  for (const auto& [arguments, described] : cases) {
    EXPECT_EQ(Described(ParseCommandLine(arguments)), described) << ::testing::PrintToString(arguments);
  }
}

using CliCommandsTest = CliTest;

// list: the fifteen folders in list order, tab-separated, or as CSV, a field with a comma or a quote quoted; show:
// one folder's location on a line.
TEST_F(CliCommandsTest, ListAndShowGiveTheLocationsOneALine) {
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", platform::kRegExpandSz,
                          "%USERPROFILE%\\a,\"b\"");
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop", platform::kRegExpandSz, "D:\\plain");
  EXPECT_EQ(Run({"list"}), 0);
  std::vector<std::string> lines = Lines(output.out);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "Common Desktop\tHKLM\t\t");
  EXPECT_EQ(lines[4], "My Documents\tHKCU\t%USERPROFILE%\\a,\"b\"\tC:\\Documents and Settings\\Ann\\a,\"b\"");
  EXPECT_EQ(lines[14], "Temporary Internet Files\tHKCU\t\t");
  EXPECT_EQ(Run({"list", "--csv"}), 0);
  lines = Lines(output.out);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], kListCsvHeader);
  EXPECT_EQ(lines[3], "Desktop,HKCU,D:\\plain,D:\\plain");
  EXPECT_EQ(lines[5],
            "My Documents,HKCU,\"%USERPROFILE%\\a,\"\"b\"\"\",\"C:\\Documents and Settings\\Ann\\a,\"\"b\"\"\"");
  EXPECT_EQ(Run({"show", "personal"}), 0);
  EXPECT_EQ(output.out, "C:\\Documents and Settings\\Ann\\a,\"b\"\r\n");
  EXPECT_EQ(output.err, "");
}

TEST_F(CliCommandsTest, SetSaysWhenTheLocationIsNotThereAndCreateMakesIt) {
  ExpectRun({"set", "Desktop", "D:\\New\\Desk"}, 0, AsLines(kRelocated), AsLines(NotThereYetText("D:\\New\\Desk")));
  // Made with the folder above it, which the fake makes only in order (the maker's part is layout_test's).
  ExpectRun({"set", "Desktop", "D:\\New\\Desk", "--create"}, 0, AsLines(kRelocated),
            AsLines(MadeFolderText("D:\\New\\Desk")));
  // A location that cannot be made writes nothing.
  fake.log.Fail("CreateFolder", 0, 5);
  ExpectRun(
      {"set", "Favorites", "E:\\Fav", "--create"}, 5, "",
      AsLines(kCannotMakeFolder + std::string(" \"E:\\Fav\": Access is denied. (error 5)") + kNotMadeNothingWritten));
  EXPECT_EQ(Stored("Favorites"), "");
}

// One folder, or all fifteen in one change: a folder that cannot be restored leaves every folder as it was. A
// refused write ends with 5, any other system error with 6, whatever its own code (2 here, which once came out as
// "not a backup").
TEST_F(CliCommandsTest, RestoreOfOneOrAllIsWholeOrNotAtAllAndEndsWithItsCode) {
  ExpectRun({"restore", "Start Menu"}, 0, AsLines(kDefaultsRestored), "");
  EXPECT_EQ(Stored("Start Menu"), "%USERPROFILE%\\Start Menu");
  EXPECT_EQ(Run({"restore", "--all"}), 0);
  std::vector<std::string> restored = Lines(output.out);
  ASSERT_EQ(restored.size(), 15u);
  EXPECT_EQ(restored[0], "Common Desktop: " + std::string(kDefaultsRestored));
  EXPECT_EQ(Stored("Desktop"), "%USERPROFILE%\\Desktop");

  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop", platform::kRegExpandSz, "D:\\Desk");
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", platform::kRegSz, "D:\\All");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  ExpectRun({"restore", "--all"}, 5, "", AsLines(WriteFailureText(5) + " " + ErrorNumber(5)));
  EXPECT_EQ(Stored("Desktop"), "D:\\Desk");
  fake.log.Fail("WriteValue", 0, 2);
  ExpectRun({"restore", "Desktop"}, 6, "", AsLines(WriteFailureText(2)));

  // One hive's folders, and none of the other's (whose writes are still denied); a single folder has its hive.
  EXPECT_EQ(Run({"restore", "--all", "--hive", "HKCU"}), 0) << output.err;
  auto users = [](const ShellFolder& folder) { return folder.hive == kHkeyCurrentUser; };
  EXPECT_EQ(Lines(output.out).size(),
            static_cast<std::size_t>(std::count_if(std::begin(kShellFolders), std::end(kShellFolders), users)));
  EXPECT_EQ(Stored("Desktop"), "%USERPROFILE%\\Desktop");
  EXPECT_EQ(Stored("Common Desktop", kHkeyLocalMachine, kShellFoldersKey), "D:\\All");
  EXPECT_EQ(Run({"restore", "Desktop", "--hive", "HKCU"}), 1);
}

// A file named relative to the current folder is refused by its full path, with exit code 3 (which files are
// refused, and that a refusal writes nothing, is registry_import_test's).
TEST_F(CliCommandsTest, ImportOfAFileThatIsNoBackupEndsWithThree) {
  fake.files.files["C:\\Work\\foreign.reg"] = "no registry file";
  EXPECT_EQ(Run({"import", "foreign.reg"}), 3);
  EXPECT_EQ(output.out, "");
  EXPECT_NE(output.err.find(NotABackupRefusal("C:\\Work\\foreign.reg")), std::string::npos) << output.err;
}

TEST_F(CliCommandsTest, AnotherWindowsIsRefusedButHelpIsGiven) {
  fake.system.version = {2, 6, 1};
  ExpectRun({"list"}, 4, "", AsLines(kRefusalText));
  ExpectRun({"/?"}, 0, AsLines(UsageText()), "");
  ExpectRun({"--version"}, 0, AsLines(kVersionLine), "");
}

TEST_F(CliCommandsTest, BadUsageAndUnknownFoldersEndWithOneOnStandardError) {
  ExpectRun({}, 1, "", AsLines(kProgramPrefix + std::string(kNoCommandGiven) + "\n\n" + UsageText()));
  ExpectRun({"show", "Downloads"}, 1, "", AsLines(kProgramPrefix + UnknownFolderText("Downloads")));
}

// Each of zolvane-cli's own texts, worded once here; the usage as a whole is README.md's (readme_shows_the_usage).
TEST(CliTextsTest, EachTextReadsSo) {
  auto takes = [](const char* command) { return std::string(FindCliCommand(command)->takes); };
  const std::pair<std::string, std::string> texts[] = {
      {kVersionLine, "zolvane-cli " ZOLVANE_VERSION_SHORT},
      {kProgramPrefix, "zolvane-cli: "},
      {kNoCommandGiven, "No command given."},
      {kHiveTakesAHive, "\"--hive\" takes HKCU or HKLM."},
      {kNoHeaderGoesWithCsv, "\"--no-header\" goes with --csv."},
      {kSetNeedsAPath, "\"set\" needs a path that is not empty."},
      {kFileNameIsEmpty, "The file name is empty."},
      {UnknownCommandText("move"), "Unknown command \"move\"."},
      {kTakesNoArgument, " takes no argument."},
      {NoSuchSwitchText("--tsv", "It takes this."), "\"--tsv\" is no switch of zolvane-cli. It takes this."},
      {kGivenTwice, " is given twice."},
      {UnknownFolderText("Downloads"), "Unknown folder \"Downloads\": \"zolvane-cli list\" names the fifteen folders."},
      {takes("list"), "\"list\" takes no argument but --csv."},
      {takes("show"), "\"show\" takes a folder."},
      {takes("set"), "\"set\" takes a folder and a path, and --create and --move (with --dry-run)."},
      {takes("restore"), "\"restore\" takes a folder (with --move and --dry-run) or --all (with --hive), and --log."},
      {takes("backup"), "\"backup\" takes at most one file."},
      {takes("import"), "\"import\" takes one file."},
      {takes("layout"), "\"layout\" takes no argument but --hive."},
      {takes("apply"), "\"apply\" takes one file (or --undo), and --dry-run, --create, --move, --hive and --log."},
      {takes("check"), "\"check\" takes no argument but --csv, --no-header, --out, --hive and --log."},
      {kTakesAFile, " takes a file."},
      {kOutGoesWithCsv, "\"--out\" goes with --csv."},
      {kCannotWriteLogAction, "Cannot add this run's line to the log"},
      {kNothingToUndo,
       "Nothing to undo: no layout moved these folders since the last undo, or none kept where they were."},
      {PutBackAsBeforeText("My Documents, Favorites"),
       "Put back as they were before the first layout: My Documents, Favorites."},
      {MovedSinceLayoutText("My Music"), "Moved elsewhere since the layout, so not put back: My Music."},
      {kListCsvHeader, "Folder,Hive,Stored,Location"},
      {kNothingWritten, " Nothing was written."},
      {kNotMadeNothingWritten, "; nothing was written."},
      {MadeFolderText("D:\\A"), "Made the folder \"D:\\A\"."},
      {NotThereYetText("D:\\A"), "The folder \"D:\\A\" does not exist yet; --create makes it."},
      {NoFolderCanLiveText("Docs", "it is not a full path"),
       "The path \"Docs\" cannot be where a folder lives: it is not a full path."},
      {kBackupFileLabel, "\nBackup file: "},
      {kNotALayout, " is not a layout of the special folders, so nothing was changed."},
      {kPutsFolderWhereNoneCanLive, " puts a folder where no folder can live, so nothing was changed."},
      {kUnchanged, "unchanged"},
      {kWouldMove, "would move"},
      {kMoved, "moved"},
      {kPutBack, "put back"},
      {kNotPutBack, "moved, and could not be put back"},
      {kChangedElsewhere, "moved, then changed by another program: left as it made it"},
      {kNotReached, "not moved: the layout stopped before it"},
      {kCheckCsvHeader, "Computer,User,Time,Folder,Problem,Detail"},
      {kHealthyProblem, "ok"},
      {ProblemCountText(0), "No problem found."},
      {ProblemCountText(1), "1 problem."},
      {ProblemCountText(7), "7 problems."},
      {ProgressText("Desktop", 0, 1, 0, 1), "Desktop: 0 of 1 file, 0 bytes of 1 byte"},
      {ProgressText("Desktop", 2, 1234, 2048, 3 * 1024 * 1024), "Desktop: 2 of 1,234 files, 2.0 KB of 3.0 MB"},
  };
  for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
}

}  // namespace
