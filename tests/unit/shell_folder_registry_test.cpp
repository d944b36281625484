// The registry module over the fake registry: each value type, odd sizes, failures, and the write's bytes.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/catalogue.h"
#include "core/shell_folder_registry.h"
#include "fakes/fake_platform.h"
#include "main_presenter_fixture.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const char* const kKey = "Software\\Test";

class ShellFolderRegistryTest : public ::testing::Test {
 protected:
  ShellFolderRegistryTest() : registry(fake.registry) { fake.registry.CreateKey(kHkeyCurrentUser, kKey); }

  RegValue Read(const std::string& name) { return registry.ReadRegValue(kHkeyCurrentUser, kKey, name); }

  // Queries through an open key, starting from a value that shows whether the query touched it.
  std::int32_t Query(const std::string& name, RegValue& value) {
    platform::HKey key = 0;
    EXPECT_EQ(fake.registry.RegOpenKeyExW(kHkeyCurrentUser, kKey, 0, platform::kKeyQueryValue, &key), 0);
    std::int32_t code = registry.QueryRegValue(key, name, value);
    fake.registry.RegCloseKey(key);
    return code;
  }

  FakePlatform fake;
  ShellFolderRegistry registry;
};

TEST_F(ShellFolderRegistryTest, StringTypesComeBackAsStoredWithoutTheirTerminatingZero) {
  fake.registry.SetString(kHkeyCurrentUser, kKey, "sz", platform::kRegSz, "C:\\Docs");
  fake.registry.SetString(kHkeyCurrentUser, kKey, "expand", platform::kRegExpandSz, "%USERPROFILE%\\Docs");
  fake.registry.SetString(kHkeyCurrentUser, kKey, "wide", platform::kRegSz, kWidePath);
  EXPECT_EQ(Read("sz"), RegValue::FromText("C:\\Docs"));
  EXPECT_EQ(Read("expand"), RegValue::FromText("%USERPROFILE%\\Docs"));
  EXPECT_EQ(Read("wide"), RegValue::FromText(kWidePath));
}

TEST_F(ShellFolderRegistryTest, StringEdgeSizes) {
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "onlyzero", platform::kRegSz, std::string(2, '\0'));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "onebyte", platform::kRegSz, std::string(1, '\0'));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "nobytes", platform::kRegSz, "");
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "unterminated", platform::kRegSz, std::string("a\0b\0c\0", 6));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "oddsize", platform::kRegSz, std::string("a\0b\0\0", 5));

  for (const char* name : {"onlyzero", "onebyte"}) {
    RegValue value = RegValue::FromText("before");
    EXPECT_EQ(Query(name, value), 0) << name;
    EXPECT_EQ(value, RegValue::FromText("")) << name;
  }

  RegValue value = RegValue::FromText("before");
  EXPECT_EQ(Query("nobytes", value), 0);
  EXPECT_EQ(value, RegValue::FromText("before"));
  EXPECT_TRUE(Read("nobytes").IsEmpty());

  // The last stored code unit is taken for the terminator even when it is not one; a stray odd byte is its stand-in.
  EXPECT_EQ(Read("unterminated"), RegValue::FromText("ab"));
  EXPECT_EQ(Read("oddsize"), RegValue::FromText("ab"));
}

TEST_F(ShellFolderRegistryTest, DwordValues) {
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "seven", platform::kRegDword, std::string("\x07\0\0\0", 4));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "negative", platform::kRegDword, std::string("\xFE\xFF\xFF\xFF", 4));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "long", platform::kRegDword, std::string("\x01\0\0\0\x02\0\0\0", 8));
  EXPECT_EQ(Read("seven"), RegValue::FromInteger(7));
  EXPECT_EQ(Read("negative"), RegValue::FromInteger(-2));
  EXPECT_EQ(Read("negative").ToDisplayText(), "-2");

  RegValue value = RegValue::FromText("before");
  EXPECT_EQ(Query("long", value), platform::kErrorMoreData);
  EXPECT_EQ(value, RegValue::FromText("before"));
}

TEST_F(ShellFolderRegistryTest, UnsupportedTypesAnswerMinusOneAndLeaveTheValue) {
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "multi", platform::kRegMultiSz, std::string("a\0b\0\0", 5));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "binary", platform::kRegBinary, "\x01\x02");
  for (const char* name : {"multi", "binary"}) {
    RegValue value = RegValue::FromInteger(9);
    EXPECT_EQ(Query(name, value), kUnsupportedValueType) << name;
    EXPECT_EQ(value, RegValue::FromInteger(9)) << name;
    EXPECT_TRUE(Read(name).IsEmpty()) << name;
  }
}

TEST_F(ShellFolderRegistryTest, FailedQueriesReturnTheirCode) {
  fake.registry.SetString(kHkeyCurrentUser, kKey, "sz", platform::kRegSz, "C:\\Docs");

  RegValue value = RegValue::FromText("before");
  EXPECT_EQ(Query("missing", value), platform::kErrorFileNotFound);
  EXPECT_EQ(value, RegValue::FromText("before"));

  // The size query succeeds, the data query fails: the value is emptied.
  fake.log.Clear();
  fake.log.FailCall(2, 21);
  value = RegValue::FromText("before");
  EXPECT_EQ(Query("sz", value), 21);
  EXPECT_TRUE(value.IsEmpty());
}

TEST_F(ShellFolderRegistryTest, AFailureInsideTheReadIsTrappedAndLeavesTheValue) {
  // A registry whose data query throws, as an allocation or a broken conversion might.
  class ThrowingRegistry : public FakeRegistry {
   public:
    using FakeRegistry::FakeRegistry;
    std::int32_t RegQueryValueExW(platform::HKey hKey, const std::string& valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* cbData) override {
      if (data != nullptr) throw std::runtime_error("no data");
      return FakeRegistry::RegQueryValueExW(hKey, valueName, type, data, cbData);
    }
  } failing(fake.log);
  failing.SetString(kHkeyCurrentUser, kKey, "sz", platform::kRegSz, "C:\\Docs");
  ShellFolderRegistry module(failing);
  platform::HKey key = 0;
  failing.RegOpenKeyExW(kHkeyCurrentUser, kKey, 0, platform::kKeyQueryValue, &key);
  RegValue value = RegValue::FromText("before");
  EXPECT_EQ(module.QueryRegValue(key, "sz", value), 0);
  EXPECT_EQ(value, RegValue::FromText("before"));
}

TEST_F(ShellFolderRegistryTest, ReadOpensForQueryOnlyAndAlwaysCloses) {
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "CommonMusic", platform::kRegSz, "E:\\Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(registry.ReadRegValue(kHkeyLocalMachine, kShellFoldersKey, "CommonMusic"), RegValue::FromText("E:\\Music"));
  EXPECT_EQ(fake.log.CallsStartingWith("RegOpenKeyExW").at(0),
            std::string("RegOpenKeyExW(0x80000002, ") + kShellFoldersKey + ", 0, 0x1)");
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(ShellFolderRegistryTest, ReadOfAMissingOrDeniedKeyIsEmpty) {
  EXPECT_TRUE(registry.ReadRegValue(kHkeyCurrentUser, "Software\\Missing", "v").IsEmpty());
  fake.registry.SetString(kHkeyCurrentUser, "Software\\Denied", "v", platform::kRegSz, "x");
  fake.registry.DenyOpen(kHkeyCurrentUser, "Software\\Denied");
  EXPECT_TRUE(registry.ReadRegValue(kHkeyCurrentUser, "Software\\Denied", "v").IsEmpty());
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(ShellFolderRegistryTest, WriteStoresUtf16AndOneTerminator) {
  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "v", "D:\\Docs", platform::kRegSz), 0);
  const FakeRegistry::Value* written = fake.registry.GetValue(kHkeyCurrentUser, kKey, "v");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->type, platform::kRegSz);
  EXPECT_EQ(written->bytes, std::string("D\0:\0\\\0D\0o\0c\0s\0\0\0", 16));

  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "e", "", platform::kRegExpandSz), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "e")->bytes, std::string(2, '\0'));

  // Two bytes a UTF-16 code unit, a surrogate pair for U+1F3B5, not the UTF-8 length: 21 units and the terminator.
  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "w", kWidePath, platform::kRegSz), 0);
  EXPECT_EQ(fake.log.calls().back(),
            "SHSetValueW(0x80000001, Software\\Test, w, 1, " + kWidePath + std::string(1, '\0') + ", 44)");
  EXPECT_EQ(fake.registry.GetString(kHkeyCurrentUser, kKey, "w"), kWidePath);
}

TEST_F(ShellFolderRegistryTest, WriteReturnsTheSystemCodeUnchanged) {
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(registry.WriteRegValue(kHkeyLocalMachine, kShellFoldersKey, "v", "x", platform::kRegSz),
            platform::kErrorAccessDenied);
  fake.log.Clear();
  fake.log.FailCall(0, 1016);
  EXPECT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "v", "x", platform::kRegSz), 1016);
}

}  // namespace
