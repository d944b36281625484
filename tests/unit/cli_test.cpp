// zolvane-cli's portable part: reading the arguments, and each command's lines and exit code over the fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "fakes/fake_output.h"
#include "fakes/fake_platform.h"
#include "main_presenter_fixture.h"
#include "product_version.h"
#include "vocabulary/catalogue.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

struct ParseCase {
  std::vector<std::string> arguments;
  const char* command;  // its names (with " --all" for restore --all), or how the arguments were refused
  const char* folder;   // display name, or nullptr
  std::string path;
  bool csv;
  bool create = false;
  platform::HKey hive = 0;
};

const char* const kBad = "bad usage";
const char* const kUnknownFolder = "unknown folder";

std::string CommandOf(const CliRequest& request) {
  if (request.command == nullptr) return request.unknownFolder ? kUnknownFolder : kBad;
  return request.command->names + std::string(request.Has(CliSwitch::kAll) ? " --all" : "");
}

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, ReadsCommandFolderAndPath) {
  const ParseCase& expected = GetParam();
  CliRequest request = ParseCommandLine(expected.arguments);
  EXPECT_EQ(CommandOf(request), expected.command);
  EXPECT_EQ(request.folder, expected.folder ? FindShellFolder(expected.folder) : nullptr);
  EXPECT_EQ(request.path, expected.path);
  EXPECT_EQ(request.Has(CliSwitch::kCsv), expected.csv);
  EXPECT_EQ(request.Has(CliSwitch::kCreate), expected.create);
  EXPECT_EQ(request.hive, expected.hive);
  EXPECT_EQ(request.error.empty(), request.command != nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, ParseCommandLineTest,
    ::testing::Values(
        ParseCase{{"--help"}, "--help -h /?", nullptr, "", false},
        ParseCase{{"/?"}, "--help -h /?", nullptr, "", false}, ParseCase{{"-H"}, "--help -h /?", nullptr, "", false},
        ParseCase{{"--version"}, "--version", nullptr, "", false}, ParseCase{{"list"}, "list", nullptr, "", false},
        ParseCase{{"LIST", "--CSV"}, "list", nullptr, "", true},
        ParseCase{{"show", "My Documents"}, "show", "My Documents", "", false},
        ParseCase{{"show", "  my DOCUMENTS "}, "show", "My Documents", "", false},
        ParseCase{{"show", "personal"}, "show", "My Documents", "", false},
        ParseCase{{"show", "COMMONVIDEO"}, "show", "Shared Video", "", false},
        ParseCase{{"set", "Desktop", "  D:\\Desk  "}, "set", "Desktop", "D:\\Desk", false},
        ParseCase{{"restore", "cache"}, "restore", "Temporary Internet Files", "", false},
        ParseCase{{"restore", "--all"}, "restore --all", nullptr, "", false},
        ParseCase{{"backup"}, "backup", nullptr, "", false},
        ParseCase{{"backup", "keys.bak"}, "backup", nullptr, "keys.bak", false},
        ParseCase{{"import", "keys.bak"}, "import", nullptr, "keys.bak", false},
        ParseCase{{"layout"}, "layout", nullptr, "", false},
        ParseCase{{"apply", " d.txt "}, "apply", nullptr, "d.txt", false},
        ParseCase{{"apply", "--DRY-RUN", "d.txt"}, "apply", nullptr, "d.txt", false},
        ParseCase{{"check", "--csv"}, "check", nullptr, "", true},
        ParseCase{{"apply", "--create", "d.txt", "--HIVE", " hkcu "},
                  "apply",
                  nullptr,
                  "d.txt",
                  false,
                  true,
                  kHkeyCurrentUser},
        ParseCase{{"set", "--create", "Desktop", "D:\\D"}, "set", "Desktop", "D:\\D", false, true},
        ParseCase{{"check", "--hive", "HKLM"}, "check", nullptr, "", false, false, kHkeyLocalMachine},
        ParseCase{{"check", "--hive", "HKCR"}, kBad, nullptr, "", false},
        ParseCase{{"check", "--hive"}, kBad, nullptr, "", false},
        ParseCase{{"check", "--no-header"}, kBad, nullptr, "", false},
        ParseCase{{"layout", "--create"}, kBad, nullptr, "", false},
        ParseCase{{"--version", "list"}, kBad, nullptr, "", false},
        ParseCase{{"layout", "x"}, kBad, nullptr, "", false}, ParseCase{{"apply"}, kBad, nullptr, "", false},
        ParseCase{{"apply", "a", "b"}, kBad, nullptr, "", false},
        ParseCase{{"apply", "--dry-run", "--dry-run"}, kBad, nullptr, "", false},
        ParseCase{{"show", "My Docs"}, kUnknownFolder, nullptr, "", false},
        ParseCase{{"set", "Nowhere", "D:\\"}, kUnknownFolder, nullptr, "D:\\", false},
        ParseCase{{}, kBad, nullptr, "", false}, ParseCase{{"move"}, kBad, nullptr, "", false},
        ParseCase{{"--help", "list"}, kBad, nullptr, "", false}, ParseCase{{"list", "--tsv"}, kBad, nullptr, "", false},
        ParseCase{{"show"}, kBad, nullptr, "", false}, ParseCase{{"set", "Desktop"}, kBad, nullptr, "", false},
        ParseCase{{"set", "Desktop", "   "}, kBad, nullptr, "", false},
        ParseCase{{"restore"}, kBad, nullptr, "", false}, ParseCase{{"backup", "a", "b"}, kBad, nullptr, "", false},
        ParseCase{{"import"}, kBad, nullptr, "", false}, ParseCase{{"import", " "}, kBad, nullptr, "", false}));

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "a line without CR LF";
  return lines;
}

class CliCommandsTest : public ::testing::Test {
 protected:
  CliCommandsTest() { SetUpAnnOnWindowsXp(fake); }

  int Run(std::vector<std::string> arguments) {
    return RunCliRequest(fake.platform(), output, ParseCommandLine(arguments));
  }
  std::string Stored(platform::HKey hive, const char* key, const char* name) {
    return fake.registry.GetString(hive, key, name);
  }

  FakePlatform fake;
  FakeOutput output;
};

TEST_F(CliCommandsTest, ListGivesTheFifteenFoldersInListOrderSeparatedByTabs) {
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", platform::kRegExpandSz,
                          "%USERPROFILE%\\Docs");
  EXPECT_EQ(Run({"list"}), 0);
  std::vector<std::string> lines = Lines(output.out);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "Common Desktop\tHKLM\t\t");
  EXPECT_EQ(lines[4], "My Documents\tHKCU\t%USERPROFILE%\\Docs\tC:\\Documents and Settings\\Ann\\Docs");
  EXPECT_EQ(lines[14], "Temporary Internet Files\tHKCU\t\t");
  EXPECT_EQ(output.err, "");
}

TEST_F(CliCommandsTest, ListAsCsvQuotesCommasAndDoublesQuotes) {
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", platform::kRegExpandSz, "D:\\a,\"b\"");
  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop", platform::kRegExpandSz, "D:\\plain");
  EXPECT_EQ(Run({"list", "--csv"}), 0);
  std::vector<std::string> lines = Lines(output.out);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], kListCsvHeader);
  EXPECT_EQ(lines[3], "Desktop,HKCU,D:\\plain,D:\\plain");
  EXPECT_EQ(lines[5], "My Documents,HKCU,\"D:\\a,\"\"b\"\"\",\"D:\\a,\"\"b\"\"\"");
}

TEST_F(CliCommandsTest, ShowGivesTheLocationOnOneLine) {
  fake.registry.SetString(kHkeyCurrentUser, kShellFoldersKey, "Personal", platform::kRegSz, "E:\\Docs");
  EXPECT_EQ(Run({"show", "personal"}), 0);
  EXPECT_EQ(output.out, "E:\\Docs\r\n");
}

TEST_F(CliCommandsTest, SetWritesBothKeysAndSaysSo) {
  EXPECT_EQ(Run({"set", "My Documents", "%USERPROFILE%\\Docs"}), 0);
  EXPECT_EQ(output.out, "Successfully done!\r\n");
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Personal"), "%USERPROFILE%\\Docs");
  EXPECT_EQ(Stored(kHkeyCurrentUser, kShellFoldersKey, "Personal"), "C:\\Documents and Settings\\Ann\\Docs");
}

TEST_F(CliCommandsTest, SetSaysWhenTheLocationIsNotThereAndCreateMakesIt) {
  EXPECT_EQ(Run({"set", "Desktop", "D:\\New\\Desk"}), 0);
  EXPECT_EQ(output.out, "Successfully done!\r\n");
  EXPECT_EQ(output.err, AsLines(NotThereYetText("D:\\New\\Desk")));
  EXPECT_EQ(fake.files.folders.count("D:\\New\\Desk"), 0u);
  output = FakeOutput();
  EXPECT_EQ(Run({"set", "Desktop", "D:\\New\\Desk", "--create"}), 0);
  EXPECT_EQ(output.out, "Successfully done!\r\n");
  EXPECT_EQ(output.err, AsLines(MadeFolderText("D:\\New\\Desk")));
  EXPECT_EQ(fake.files.folders.count("D:\\New"), 1u);
  EXPECT_EQ(fake.files.folders.count("D:\\New\\Desk"), 1u);
  // A location that cannot be made writes nothing.
  output = FakeOutput();
  fake.log.Fail("CreateFolder", 0, 5);
  EXPECT_EQ(Run({"set", "Favorites", "E:\\Fav", "--create"}), 5);
  EXPECT_EQ(output.err, AsLines("Cannot make the folder \"E:\\Fav\": Access is denied. (error 5)" +
                                std::string(kNotMadeNothingWritten)));
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Favorites"), "");
}

TEST_F(CliCommandsTest, SetRefusedEndsWithAccessDenied) {
  fake.registry.DenyWrites(kHkeyLocalMachine, kUserShellFoldersKey);
  EXPECT_EQ(Run({"set", "Shared Music", "M:\\"}), 5);
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(output.err, "Access Denied. No changes were made. (error 5)\r\n");
}

TEST_F(CliCommandsTest, RestoreWritesTheStockPath) {
  EXPECT_EQ(Run({"restore", "Start Menu"}), 0);
  EXPECT_EQ(output.out, "Restored the default values!\r\n");
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Start Menu"), "%USERPROFILE%\\Start Menu");
}

// All fifteen in one change: a folder that cannot be restored leaves every folder as it was.
TEST_F(CliCommandsTest, RestoreAllIsWholeOrNotAtAllAndEndsWithItsCode) {
  EXPECT_EQ(Run({"restore", "--all"}), 0);
  std::vector<std::string> restored = Lines(output.out);
  ASSERT_EQ(restored.size(), 15u);
  EXPECT_EQ(restored[0], "Common Desktop: Restored the default values!");
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop"), "%USERPROFILE%\\Desktop");

  fake.registry.SetString(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop", platform::kRegExpandSz, "D:\\Desk");
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "Common Desktop", platform::kRegSz, "D:\\All");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  output = FakeOutput();
  EXPECT_EQ(Run({"restore", "--all"}), 5);
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(output.err, "Access Denied. No changes were made. (error 5)\r\n");
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "Desktop"), "D:\\Desk");
  // Another system error: 6, whatever its own code (2 here, which once came out as "not a backup").
  fake.log.Fail("WriteValue", 0, 2);
  output.err.clear();
  EXPECT_EQ(Run({"restore", "Desktop"}), 6);
  EXPECT_EQ(output.err, "Error 2\r\nAn error occurred.\r\n");
}

// A file named relative to the current folder that would also set another key: refused as a whole, by its full path.
TEST_F(CliCommandsTest, ImportOfAFileThatIsNoBackupEndsWithThreeAndWritesNothing) {
  fake.files.files["C:\\Work\\foreign.reg"] = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" +
                                              std::string(kUserShellFoldersKey) +
                                              "]\r\n\"My Music\"=\"D:\\\\Foreign\"\r\n\r\n"
                                              "[HKEY_CURRENT_USER\\Software\\Foreign]\r\n\"planted\"=\"yes\"\r\n";
  EXPECT_EQ(Run({"import", "foreign.reg"}), 3);
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(output.err.rfind("\"C:\\Work\\foreign.reg\"", 0), 0u) << output.err;
  EXPECT_NE(output.err.find("nothing was imported"), std::string::npos) << output.err;
  EXPECT_EQ(Stored(kHkeyCurrentUser, kUserShellFoldersKey, "My Music"), "");
}

TEST_F(CliCommandsTest, AnotherWindowsIsRefusedButHelpIsGiven) {
  fake.system.SetVersion(2, 6, 1);
  EXPECT_EQ(Run({"list"}), 4);
  EXPECT_EQ(output.err, "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit\r\n");
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(Run({"/?"}), 0);
  EXPECT_EQ(output.out, AsLines(UsageText()));
  output = FakeOutput();
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(output.out, AsLines(kVersionLine));
  EXPECT_EQ(output.err, "");
}

TEST_F(CliCommandsTest, BadUsageAndUnknownFoldersEndWithOneOnStandardError) {
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(output.err, AsLines(kProgramPrefix + std::string(kNoCommandGiven) + "\n\n" + UsageText()));
  output.err.clear();
  EXPECT_EQ(Run({"show", "Downloads"}), 1);
  EXPECT_EQ(output.err, AsLines(kProgramPrefix + UnknownFolderText("Downloads")));
  EXPECT_EQ(output.out, "");
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
      {takes("set"), "\"set\" takes a folder and a path, and --create."},
      {takes("restore"), "\"restore\" takes a folder or --all."},
      {takes("backup"), "\"backup\" takes at most one file."},
      {takes("import"), "\"import\" takes one file."},
      {takes("layout"), "\"layout\" takes no argument but --hive."},
      {takes("apply"), "\"apply\" takes one file, and --dry-run, --create and --hive."},
      {takes("check"), "\"check\" takes no argument but --csv, --no-header and --hive."},
      {kListCsvHeader, "Folder,Hive,Stored,Location"},
      {kNothingWritten, " Nothing was written."},
      {kNotMadeNothingWritten, "; nothing was written."},
      {MadeFolderText("D:\\A"), "Made the folder \"D:\\A\"."},
      {NotThereYetText("D:\\A"), "The folder \"D:\\A\" does not exist yet; --create makes it."},
      {NoFolderCanLiveText("Docs", "it is not a full path"),
       "The path \"Docs\" cannot be where a folder lives: it is not a full path."},
      {kBackupFileLabel, "\nBackup file: "},
      {kCannotRead, "Cannot read"},
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
  };
  for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
}

}  // namespace
