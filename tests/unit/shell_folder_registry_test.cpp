// The registry module over the fake registry: how each type and odd size is shown, failures, the write's bytes,
// and a value stored back exactly as it was.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "main_presenter_fixture.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/shell_folder_registry.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const char* const kKey = "Software\\Test";

class ShellFolderRegistryTest : public ::testing::Test {
 protected:
  ShellFolderRegistryTest() : registry(fake.registry) { fake.registry.CreateKey(kHkeyCurrentUser, kKey); }

  RegValue Read(const std::string& name) { return registry.ReadRegValue(kHkeyCurrentUser, kKey, name); }

  FakePlatform fake;
  ShellFolderRegistry registry;
};

TEST(RegValueFromStoredTest, ShowsTextsUpToTheirFirstNulAndDwordsOfUpToFourBytes) {
  const struct {
    std::uint32_t type;
    std::string bytes;
    RegValue shown;
  } cases[] = {
      {platform::kRegSz, StringValueBytes("C:\\Docs"), RegValue::FromText("C:\\Docs")},
      {platform::kRegExpandSz, StringValueBytes("%USERPROFILE%\\Docs"), RegValue::FromText("%USERPROFILE%\\Docs")},
      {platform::kRegSz, StringValueBytes(kWidePath), RegValue::FromText(kWidePath)},
      {platform::kRegSz, std::string(2, '\0'), RegValue::FromText("")},
      {platform::kRegSz, std::string(1, '\0'), RegValue::FromText("")},
      {platform::kRegSz, "", RegValue()},
      // An unterminated value keeps its last character; a stray odd byte is no character.
      {platform::kRegSz, std::string("D\0:\0\\\0D\0", 8), RegValue::FromText("D:\\D")},
      {platform::kRegExpandSz, std::string("a\0b\0\0", 5), RegValue::FromText("ab")},
      // What follows the first NUL is not read by the shell either.
      {platform::kRegSz, std::string("a\0\0\0b\0\0\0", 8), RegValue::FromText("a")},
      {platform::kRegDword, std::string("\x07\0\0\0", 4), RegValue::FromInteger(7)},
      {platform::kRegDword, std::string("\xFE\xFF\xFF\xFF", 4), RegValue::FromInteger(-2)},
      {platform::kRegDword, std::string("\x05\x01", 2), RegValue::FromInteger(261)},
      {platform::kRegDword, std::string("\x01\0\0\0\x02\0\0\0", 8), RegValue()},
      {platform::kRegMultiSz, std::string("a\0b\0\0", 5), RegValue()},
      {platform::kRegBinary, "\x01\x02", RegValue()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegValueFromStored(c.type, c.bytes), c.shown) << c.type << " " << c.bytes.size() << " bytes";
  }
  EXPECT_EQ(RegValue::FromInteger(-2).ToDisplayText(), "-2");
}

TEST_F(ShellFolderRegistryTest, AMissingDeniedOrFailedReadIsEmptyAndAReadOnlyKeyIsStillRead) {
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "CommonMusic", platform::kRegSz, "E:\\Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(registry.ReadRegValue(kHkeyLocalMachine, kShellFoldersKey, "CommonMusic"), RegValue::FromText("E:\\Music"));

  EXPECT_TRUE(Read("missing").IsEmpty());
  EXPECT_TRUE(registry.ReadRegValue(kHkeyCurrentUser, "Software\\Missing", "v").IsEmpty());
  fake.registry.SetString(kHkeyCurrentUser, "Software\\Denied", "v", platform::kRegSz, "x");
  fake.registry.DenyOpen(kHkeyCurrentUser, "Software\\Denied");
  EXPECT_TRUE(registry.ReadRegValue(kHkeyCurrentUser, "Software\\Denied", "v").IsEmpty());
  fake.registry.SetString(kHkeyCurrentUser, kKey, "sz", platform::kRegSz, "C:\\Docs");
  fake.log.Fail("ReadValue", 0, 21);
  EXPECT_TRUE(Read("sz").IsEmpty());
}

TEST_F(ShellFolderRegistryTest, WriteStoresUtf16AndOneTerminatorAndReturnsTheSystemCode) {
  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "v", "D:\\Docs", platform::kRegSz), 0);
  const FakeRegistry::Value* written = fake.registry.GetValue(kHkeyCurrentUser, kKey, "v");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->type, platform::kRegSz);
  EXPECT_EQ(written->bytes, std::string("D\0:\0\\\0D\0o\0c\0s\0\0\0", 16));

  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "e", "", platform::kRegExpandSz), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "e")->bytes, std::string(2, '\0'));

  // Two bytes a UTF-16 code unit, a surrogate pair for U+1F3B5, not the UTF-8 length: 21 units and the terminator.
  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "w", kWidePath, platform::kRegSz), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "w")->bytes.size(), 44u);
  EXPECT_EQ(fake.registry.GetString(kHkeyCurrentUser, kKey, "w"), kWidePath);

  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(registry.WriteRegValue(kHkeyLocalMachine, kShellFoldersKey, "v", "x", platform::kRegSz),
            platform::kErrorAccessDenied);
  fake.log.Fail("WriteValue", 0, 1016);
  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "v", "x", platform::kRegSz), 1016);
}

TEST_F(ShellFolderRegistryTest, AValueReadAsStoredIsStoredBackExactlyOrDeletedWhenItWasAbsent) {
  const std::string odd("\x01\x02\x03", 3);
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "odd", platform::kRegExpandSz, odd);
  StoredValue present = registry.ReadStoredValue(kHkeyCurrentUser, kKey, "odd");
  StoredValue absent = registry.ReadStoredValue(kHkeyCurrentUser, kKey, "new");
  EXPECT_TRUE(present.Holds(StoredValue::Present(platform::kRegExpandSz, odd)));
  EXPECT_TRUE(absent.Holds(StoredValue::Absent()));

  registry.WriteRegValue(kHkeyCurrentUser, kKey, "odd", "changed", platform::kRegSz);
  registry.WriteRegValue(kHkeyCurrentUser, kKey, "new", "added", platform::kRegSz);
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "odd", present), 0);
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "new", absent), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "odd")->bytes, odd);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "new"), nullptr);
  // Deleting what is already gone is no failure; what could not be read cannot be stored.
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "new", absent), 0);
  fake.registry.DenyOpen(kHkeyCurrentUser, "Software\\Denied");
  StoredValue unknown = registry.ReadStoredValue(kHkeyCurrentUser, "Software\\Denied", "v");
  EXPECT_EQ(unknown.state, StoredValue::State::kUnknown);
  EXPECT_EQ(unknown.code, platform::kErrorAccessDenied);
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "odd", unknown), platform::kErrorInvalidData);
}

}  // namespace
