// The registry module over the fake registry: how each type and odd size is shown (and UTF-16 decoded), and a value
// stored back exactly as it was, or found unreadable.
#include <gtest/gtest.h>

#include "main_presenter_fixture.h"
#include "vocabulary/shell_folder_registry.h"

namespace {

using platform::kHkeyCurrentUser;

const char* const kKey = "Software\\Test";

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

TEST(Utf16Test, UndecodableUnitsBecomeReplacementCharactersAndAPairIsTwoUnits) {
  // A lone low surrogate, a high surrogate followed by a letter, and half a code unit at the end ("A", "B", "C").
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xDC\x41\x00\x3D\xD8\x42\x00\x43", 9)),
            "\xEF\xBF\xBD\x41\xEF\xBF\xBD\x42\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16Le("\xFF\x41"), std::string("\xFD\xFF\x41\x00", 4));
  // Two bytes a code unit, a surrogate pair for U+1F3B5: 21 units.
  EXPECT_EQ(Utf8ToUtf16Le(kWidePath).size(), 42u);
}

TEST(ShellFolderRegistryTest, AValueReadAsStoredIsStoredBackExactlyOrDeletedWhenItWasAbsent) {
  FakePlatform fake;
  ShellFolderRegistry registry(fake.registry);
  const std::string odd("\x01\x02\x03", 3);
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "odd", platform::kRegExpandSz, odd);
  StoredValue present = registry.ReadStoredValue(kHkeyCurrentUser, kKey, "odd");
  StoredValue absent = registry.ReadStoredValue(kHkeyCurrentUser, kKey, "new");
  EXPECT_TRUE(present.Holds(StoredValue::Present(platform::kRegExpandSz, odd)));
  EXPECT_TRUE(absent.Holds(StoredValue::Absent()));

  fake.registry.SetString(kHkeyCurrentUser, kKey, "odd", platform::kRegSz, "changed");
  fake.registry.SetString(kHkeyCurrentUser, kKey, "new", platform::kRegSz, "added");
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "odd", present), 0);
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "new", absent), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "odd")->bytes, odd);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "new"), nullptr);
  // Deleting what is already gone is no failure; what could not be read cannot be stored.
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "new", absent), 0);
  fake.log.Fail("ReadValue", 0, platform::kErrorAccessDenied);
  StoredValue unknown = registry.ReadStoredValue(kHkeyCurrentUser, kKey, "odd");
  EXPECT_EQ(unknown.state, StoredValue::State::kUnknown);
  EXPECT_EQ(unknown.code, platform::kErrorAccessDenied);
  EXPECT_EQ(registry.Store(kHkeyCurrentUser, kKey, "odd", unknown), platform::kErrorInvalidData);
}

}  // namespace
