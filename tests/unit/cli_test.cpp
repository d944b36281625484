// zolvane-cli's portable part: reading the arguments, and each command's lines and exit code over the fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_commands.h"
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
  CliCommand command;
  const char* folder;  // display name, or nullptr
  std::string path;
  bool csv;
  bool create = false;
  platform::HKey hive = 0;
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, ReadsCommandFolderAndPath) {
  const ParseCase& expected = GetParam();
  CliRequest request = ParseCommandLine(expected.arguments);
  EXPECT_EQ(request.command, expected.command);
  EXPECT_EQ(request.folder, expected.folder ? FindShellFolder(expected.folder) : nullptr);
  EXPECT_EQ(request.path, expected.path);
  EXPECT_EQ(request.csv, expected.csv);
  EXPECT_EQ(request.create, expected.create);
  EXPECT_EQ(request.hive, expected.hive);
  bool refused = expected.command == CliCommand::kBadUsage || expected.command == CliCommand::kUnknownFolder;
  EXPECT_EQ(request.error.empty(), !refused);
}

const CliCommand kBad = CliCommand::kBadUsage;
INSTANTIATE_TEST_SUITE_P(
    Cli, ParseCommandLineTest,
    ::testing::Values(
        ParseCase{{"--help"}, CliCommand::kHelp, nullptr, "", false},
        ParseCase{{"/?"}, CliCommand::kHelp, nullptr, "", false},
        ParseCase{{"-H"}, CliCommand::kHelp, nullptr, "", false},
        ParseCase{{"--version"}, CliCommand::kVersion, nullptr, "", false},
        ParseCase{{"list"}, CliCommand::kList, nullptr, "", false},
        ParseCase{{"LIST", "--CSV"}, CliCommand::kList, nullptr, "", true},
        ParseCase{{"show", "My Documents"}, CliCommand::kShow, "My Documents", "", false},
        ParseCase{{"show", "  my DOCUMENTS "}, CliCommand::kShow, "My Documents", "", false},
        ParseCase{{"show", "personal"}, CliCommand::kShow, "My Documents", "", false},
        ParseCase{{"show", "COMMONVIDEO"}, CliCommand::kShow, "Shared Video", "", false},
        ParseCase{{"set", "Desktop", "  D:\\Desk  "}, CliCommand::kSet, "Desktop", "D:\\Desk", false},
        ParseCase{{"restore", "cache"}, CliCommand::kRestore, "Temporary Internet Files", "", false},
        ParseCase{{"restore", "--all"}, CliCommand::kRestoreAll, nullptr, "", false},
        ParseCase{{"backup"}, CliCommand::kBackup, nullptr, "", false},
        ParseCase{{"backup", "keys.bak"}, CliCommand::kBackup, nullptr, "keys.bak", false},
        ParseCase{{"import", "keys.bak"}, CliCommand::kImport, nullptr, "keys.bak", false},
        ParseCase{{"layout"}, CliCommand::kLayout, nullptr, "", false},
        ParseCase{{"apply", " d.txt "}, CliCommand::kApply, nullptr, "d.txt", false},
        ParseCase{{"apply", "--DRY-RUN", "d.txt"}, CliCommand::kApply, nullptr, "d.txt", false},
        ParseCase{{"check", "--csv"}, CliCommand::kCheck, nullptr, "", true},
        ParseCase{{"apply", "--create", "d.txt", "--HIVE", " hkcu "},
                  CliCommand::kApply,
                  nullptr,
                  "d.txt",
                  false,
                  true,
                  kHkeyCurrentUser},
        ParseCase{{"set", "--create", "Desktop", "D:\\D"}, CliCommand::kSet, "Desktop", "D:\\D", false, true},
        ParseCase{{"check", "--hive", "HKLM"}, CliCommand::kCheck, nullptr, "", false, false, kHkeyLocalMachine},
        ParseCase{{"check", "--hive", "HKCR"}, kBad, nullptr, "", false},
        ParseCase{{"check", "--hive"}, kBad, nullptr, "", false},
        ParseCase{{"check", "--no-header"}, kBad, nullptr, "", false},
        ParseCase{{"layout", "--create"}, kBad, nullptr, "", false},
        ParseCase{{"--version", "list"}, kBad, nullptr, "", false},
        ParseCase{{"layout", "x"}, kBad, nullptr, "", false}, ParseCase{{"apply"}, kBad, nullptr, "", false},
        ParseCase{{"apply", "a", "b"}, kBad, nullptr, "", false},
        ParseCase{{"apply", "--dry-run", "--dry-run"}, kBad, nullptr, "", false},
        ParseCase{{"show", "My Docs"}, CliCommand::kUnknownFolder, nullptr, "", false},
        ParseCase{{"set", "Nowhere", "D:\\"}, CliCommand::kUnknownFolder, nullptr, "D:\\", false},
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
  EXPECT_EQ(lines[0], "Folder,Hive,Stored,Location");
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
  EXPECT_EQ(output.err, "The folder \"D:\\New\\Desk\" does not exist yet; --create makes it.\r\n");
  EXPECT_EQ(fake.files.folders.count("D:\\New\\Desk"), 0u);
  output = FakeOutput();
  EXPECT_EQ(Run({"set", "Desktop", "D:\\New\\Desk", "--create"}), 0);
  EXPECT_EQ(output.out, "Successfully done!\r\n");
  EXPECT_EQ(output.err, "Made the folder \"D:\\New\\Desk\".\r\n");
  EXPECT_EQ(fake.files.folders.count("D:\\New"), 1u);
  EXPECT_EQ(fake.files.folders.count("D:\\New\\Desk"), 1u);
  // A location that cannot be made writes nothing.
  output = FakeOutput();
  fake.log.Fail("CreateFolder", 0, 5);
  EXPECT_EQ(Run({"set", "Favorites", "E:\\Fav", "--create"}), 5);
  EXPECT_EQ(output.err, "Cannot make the folder \"E:\\Fav\": Access is denied. (error 5); nothing was written.\r\n");
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

TEST_F(CliCommandsTest, AnotherWindowsIsRefusedButHelpIsGiven) {
  fake.system.SetVersion(2, 6, 1);
  EXPECT_EQ(Run({"list"}), 4);
  EXPECT_EQ(output.err, "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit\r\n");
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(Run({"/?"}), 0);
  EXPECT_EQ(output.out.rfind("Usage:\r\n", 0), 0u);
  EXPECT_EQ(Lines(output.out).back(), "  6  any other failure; the system's error code is in the message");
  output = FakeOutput();
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(output.out, "zolvane-cli " ZOLVANE_VERSION_SHORT "\r\n");
  EXPECT_EQ(output.err, "");
}

TEST_F(CliCommandsTest, BadUsageAndUnknownFoldersEndWithOneOnStandardError) {
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(output.err.find("No command given."), std::string::npos);
  EXPECT_NE(output.err.find("Exit codes:"), std::string::npos);
  output.err.clear();
  EXPECT_EQ(Run({"show", "Downloads"}), 1);
  EXPECT_EQ(output.err.find("Unknown folder \"Downloads\""), 13u);
  EXPECT_EQ(output.out, "");
}

}  // namespace
