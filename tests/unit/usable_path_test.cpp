// What can be a special folder's location: the one rule check reports by and set and apply refuse by, and the
// refusals leaving the registry as it was.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "features/feature_texts.h"
#include "features/usable_path.h"

namespace {

struct PathCase {
  std::string path;
  std::string why;  // empty for a usable path
};

// A path of this many characters: "D:\" and then Cyrillic letters, two bytes each in UTF-8, one in UTF-16.
std::string PathOfCharacters(std::size_t characters) {
  std::string path = "D:\\";
  for (std::size_t i = 3; i < characters; ++i) path += "\xD0\x94";
  return path;
}

const PathCase kPaths[] = {
    {"D:\\Docs", ""},
    {"D:\\", ""},
    {"%USERPROFILE%\\Eigene Dateien", ""},
    {"\\\\fileserver\\home\\%USERNAME%\\My Documents", ""},
    {PathOfCharacters(kLongestUsablePath), ""},
    {"\"D:\\Quoted Path\\Docs\"", kPathHoldsQuote},
    {"Docs", kPathNotFull},
    {"relative\\docs", kPathNotFull},
    {"\\Docs", kPathNotFull},
    {"D:Docs", kPathNotFull},
    {"%NOPE%\\Music", NamesNoVariable("NOPE")},
    {"D:\\a\tb", kPathHoldsControlCharacter},
    {PathOfCharacters(kLongestUsablePath + 1), PathTooLong(kLongestUsablePath)},
    // Short as typed, too long once %USERPROFILE% (31 characters) is expanded.
    {"%USERPROFILE%\\" + std::string(230, 'a'), PathTooLong(kLongestUsablePath)},
};

TEST(UsablePathTest, EachKindOfUnusablePathIsToldByItsReason) {
  FakePlatform fake;
  SetUpAnnOnWindowsXp(fake);
  FolderLocations locations(fake.platform());
  for (const PathCase& c : kPaths) {
    PathVerdict verdict = JudgePath(locations, c.path);
    EXPECT_EQ(verdict.usable, c.why.empty()) << c.path;
    EXPECT_EQ(verdict.why, c.why) << c.path;
  }
  EXPECT_EQ(JudgePath(locations, "%USERPROFILE%\\Docs").expanded, "C:\\Documents and Settings\\Ann\\Docs");
}

TEST_F(CliTest, SetAndApplyOfAnUnusablePathWriteNothingAndExitThree) {
  auto before = fake.registry.keys();
  auto foldersBefore = fake.files.folders;
  for (const PathCase& c : kPaths) {
    if (c.why.empty()) continue;
    EXPECT_EQ(Run({"set", "My Documents", c.path}), 3) << c.path;
    EXPECT_EQ(output.err, AsLines(NoFolderCanLiveText(c.path, c.why) + kNothingWritten));
    // One unusable line refuses the whole file, the usable line before it too, and names the line.
    fake.files.files["D:\\layout.txt"] = "Desktop = D:\\Desk\r\n\tMy Documents\t=\t" + c.path + "\t\r\n";
    EXPECT_EQ(Run({"apply", "D:\\layout.txt", "--create"}), 3) << c.path;
    EXPECT_NE(output.err.find("\r\nLine 2: "), std::string::npos) << output.err;
    EXPECT_NE(output.err.find(c.why), std::string::npos) << output.err;
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(fake.registry.keys(), before) << c.path;
    EXPECT_EQ(fake.files.folders, foldersBefore) << c.path;
  }
}

}  // namespace
