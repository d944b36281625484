// What can be a special folder's location: the one rule, as one table of paths, each usable or refused with its
// reason; set and apply refusing by it and leaving the registry as it was, and the folder maker making what it
// accepts (check reports by the same rule: layout_test).
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

// Ann's profile (SetUpAnnOnWindowsXp), and a variable that only the script running zolvane-cli set.
void SetUpEnvironment(FakePlatform& fake) {
  SetUpAnnOnWindowsXp(fake);
  fake.environment.SetHereOnly("SCRIPTED", "D:\\Scripted");
}

const PathCase kPaths[] = {
    // A drive's path or a share's, "/" taken as "\", references expanded.
    {"D:\\Docs", ""},
    {"D:\\", ""},
    {"C:/fwd/slash", ""},
    {"C:\\fwd/mixed/deep", ""},
    {"%USERPROFILE%\\Eigene Dateien", ""},
    {"\\\\fileserver\\home\\%USERNAME%\\My Documents", ""},
    {"\\\\fileserver\\home", ""},
    // A "%" that begins no variable's name stays as written, as Windows expands it.
    {"C:\\50% off\\and 20% more", ""},
    {"C:\\%NOPE%\\Music", ""},
    // Names that only begin or end like a device's, or hold a dot inside.
    {"D:\\CONSOLE\\com10\\Nul-Music\\.music\\v1.0", ""},
    {PathOfCharacters(kLongestUsablePath), ""},
    {"D:\\a\tb", kPathHoldsControlCharacter},
    {"%SCRIPTED%\\Music", DefinedOnlyHere("SCRIPTED")},
    {"\\\\.\\NUL", kPathIsDevicePath},
    {"\\\\?\\C:\\Docs", kPathIsDevicePath},
    {"//./C:/Docs", kPathIsDevicePath},
    {"C:\\a|b", HoldsReservedCharacter('|')},
    {"C:\\a*b?", HoldsReservedCharacter('*')},
    {"C:\\a<b>", HoldsReservedCharacter('<')},
    {"\"D:\\Quoted Path\\Docs\"", HoldsReservedCharacter('"')},
    {"Docs", kPathNotFull},
    {"relative\\docs", kPathNotFull},
    {"\\Docs", kPathNotFull},
    {"D:Docs", kPathNotFull},
    {"\\\\server", kPathNotFull},
    {"\\\\server\\", kPathNotFull},
    {"\\\\\\\\", kPathNotFull},
    {"%NOPE%\\Music", NamesNoVariable("NOPE")},
    {"C:\\x:y", kPathHoldsColon},
    {"\\\\server\\share\\x:y", kPathHoldsColon},
    // Doubled up: "C:\Documents and Settings\AnnC:\Documents and Settings\Ann".
    {"%USERPROFILE%%USERPROFILE%", kPathHoldsColon},
    {"C:\\CON", NamesADevice("CON")},
    {"C:\\NUL\\x", NamesADevice("NUL")},
    {"D:\\Music\\lpt1.txt", NamesADevice("lpt1.txt")},
    {"\\\\server\\share\\Com9 .x\\Music", NamesADevice("Com9 .x")},
    {"D:\\Music.", NameEndsInDotOrSpace("Music.")},
    {"D:\\Music \\Rock", NameEndsInDotOrSpace("Music ")},
    {"D:\\Music\\..\\Docs", NameEndsInDotOrSpace("..")},
    {PathOfCharacters(kLongestUsablePath + 1), PathTooLong(kLongestUsablePath)},
    // Short as typed, too long once %USERPROFILE% (31 characters) is expanded.
    {"%USERPROFILE%\\" + std::string(230, 'a'), PathTooLong(kLongestUsablePath)},
};

TEST(UsablePathTest, EachKindOfPathIsUsableOrToldByItsReason) {
  FakePlatform fake;
  SetUpEnvironment(fake);
  FolderLocations locations(fake.platform());
  for (const PathCase& c : kPaths) {
    PathVerdict verdict = JudgePath(locations, c.path);
    EXPECT_EQ(verdict.usable, c.why.empty()) << c.path;
    EXPECT_EQ(verdict.why, c.why) << c.path;
  }
  EXPECT_EQ(JudgePath(locations, "%USERPROFILE%\\Docs").expanded, "C:\\Documents and Settings\\Ann\\Docs");
  EXPECT_EQ(JudgePath(locations, "C:/fwd/slash").expanded, "C:/fwd/slash");
}

class UsablePathCliTest : public CliTest {
 protected:
  UsablePathCliTest() { fake.environment.SetHereOnly("SCRIPTED", "D:\\Scripted"); }
};

TEST_F(UsablePathCliTest, SetAndApplyOfAnUnusablePathWriteNothingAndExitThree) {
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

TEST_F(UsablePathCliTest, SetCreateMakesEachFolderOfAPathWithForwardSlashes) {
  EXPECT_EQ(Run({"set", "My Music", "C:\\fwd/mixed/deep", "--create"}), 0) << output.err;
  EXPECT_EQ(Stored("My Music"), "C:\\fwd/mixed/deep");
  EXPECT_EQ(fake.files.folders.count("C:\\fwd"), 1u);
  EXPECT_EQ(fake.files.folders.count("C:\\fwd/mixed"), 1u);
  EXPECT_EQ(fake.files.folders.count("C:\\fwd/mixed/deep"), 1u);
}

}  // namespace
