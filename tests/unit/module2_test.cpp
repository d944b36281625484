// The registry module over the fake registry: each value type, odd sizes, failures, and the write's bytes.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/catalogue.h"
#include "core/module2.h"
#include "fakes/fake_platform.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const char* const kKey = "Software\\Test";

class Module2Test : public ::testing::Test {
 protected:
  Module2Test() : module2(fake.registry, fake.codePage) { fake.registry.CreateKey(kHkeyCurrentUser, kKey); }

  RegValue Read(const std::string& name) { return module2.ReadRegValue(kHkeyCurrentUser, kKey, name); }

  // Queries through an open key, starting from a value that shows whether the query touched it.
  std::int32_t Query(const std::string& name, RegValue& value) {
    platform::HKey key = 0;
    EXPECT_EQ(fake.registry.RegOpenKeyExA(kHkeyCurrentUser, kKey, 0, platform::kKeyQueryValue, &key), 0);
    std::int32_t code = module2.QueryRegValue(key, name, value);
    fake.registry.RegCloseKey(key);
    return code;
  }

  FakePlatform fake;
  Module2 module2;
};

TEST_F(Module2Test, StringTypesComeBackAsStoredWithoutTheirTerminatingZero) {
  fake.registry.SetString(kHkeyCurrentUser, kKey, "sz", platform::kRegSz, "C:\\Docs");
  fake.registry.SetString(kHkeyCurrentUser, kKey, "expand", platform::kRegExpandSz, "%USERPROFILE%\\Docs");
  fake.registry.SetString(kHkeyCurrentUser, kKey, "ansi", platform::kRegSz, "D:\\Caf\xE9");
  EXPECT_EQ(Read("sz"), RegValue::FromText("C:\\Docs"));
  EXPECT_EQ(Read("expand"), RegValue::FromText("%USERPROFILE%\\Docs"));
  EXPECT_EQ(Read("ansi"), RegValue::FromText("D:\\Caf\xC3\xA9"));
}

TEST_F(Module2Test, StringEdgeSizes) {
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "onlyzero", platform::kRegSz, std::string(1, '\0'));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "nobytes", platform::kRegSz, "");
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "unterminated", platform::kRegSz, "abc");

  RegValue value = RegValue::FromText("before");
  EXPECT_EQ(Query("onlyzero", value), 0);
  EXPECT_EQ(value, RegValue::FromText(""));

  value = RegValue::FromText("before");
  EXPECT_EQ(Query("nobytes", value), 0);
  EXPECT_EQ(value, RegValue::FromText("before"));
  EXPECT_TRUE(Read("nobytes").IsEmpty());

  // The last stored byte is taken for the terminator even when it is not one.
  EXPECT_EQ(Read("unterminated"), RegValue::FromText("ab"));
}

TEST_F(Module2Test, DwordValues) {
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

TEST_F(Module2Test, UnsupportedTypesAnswerMinusOneAndLeaveTheValue) {
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "multi", platform::kRegMultiSz, std::string("a\0b\0\0", 5));
  fake.registry.SetValue(kHkeyCurrentUser, kKey, "binary", platform::kRegBinary, "\x01\x02");
  for (const char* name : {"multi", "binary"}) {
    RegValue value = RegValue::FromInteger(9);
    EXPECT_EQ(Query(name, value), kUnsupportedValueType) << name;
    EXPECT_EQ(value, RegValue::FromInteger(9)) << name;
    EXPECT_TRUE(Read(name).IsEmpty()) << name;
  }
}

TEST_F(Module2Test, FailedQueriesReturnTheirCode) {
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

TEST_F(Module2Test, AFailureInsideTheReadIsTrappedAndLeavesTheValue) {
  class FailingCodePage : public FakeCodePage {
   public:
    std::string FromAnsi(const std::string&) override { throw std::runtime_error("no conversion"); }
  } failing;
  fake.registry.SetString(kHkeyCurrentUser, kKey, "sz", platform::kRegSz, "C:\\Docs");
  Module2 module(fake.registry, failing);
  platform::HKey key = 0;
  fake.registry.RegOpenKeyExA(kHkeyCurrentUser, kKey, 0, platform::kKeyQueryValue, &key);
  RegValue value = RegValue::FromText("before");
  EXPECT_EQ(module.QueryRegValue(key, "sz", value), 0);
  EXPECT_EQ(value, RegValue::FromText("before"));
}

TEST_F(Module2Test, ReadOpensForQueryOnlyAndAlwaysCloses) {
  fake.registry.SetString(kHkeyLocalMachine, kShellFoldersKey, "CommonMusic", platform::kRegSz, "E:\\Music");
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(module2.ReadRegValue(kHkeyLocalMachine, kShellFoldersKey, "CommonMusic"), RegValue::FromText("E:\\Music"));
  EXPECT_EQ(fake.log.CallsStartingWith("RegOpenKeyExA").at(0),
            std::string("RegOpenKeyExA(0x80000002, ") + kShellFoldersKey + ", 0, 0x1)");
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(Module2Test, ReadOfAMissingOrDeniedKeyIsEmpty) {
  EXPECT_TRUE(module2.ReadRegValue(kHkeyCurrentUser, "Software\\Missing", "v").IsEmpty());
  fake.registry.SetString(kHkeyCurrentUser, "Software\\Denied", "v", platform::kRegSz, "x");
  fake.registry.DenyOpen(kHkeyCurrentUser, "Software\\Denied");
  EXPECT_TRUE(module2.ReadRegValue(kHkeyCurrentUser, "Software\\Denied", "v").IsEmpty());
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(Module2Test, WriteStoresAnsiBytesAndTheirTerminator) {
  EXPECT_EQ(module2.WriteRegValue(kHkeyCurrentUser, kKey, "v", "D:\\Docs", platform::kRegSz), 0);
  const FakeRegistry::Value* written = fake.registry.GetValue(kHkeyCurrentUser, kKey, "v");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->type, platform::kRegSz);
  EXPECT_EQ(written->bytes, std::string("D:\\Docs\0", 8));

  EXPECT_EQ(module2.WriteRegValue(kHkeyCurrentUser, kKey, "e", "", platform::kRegExpandSz), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "e")->bytes, std::string(1, '\0'));

  // One byte a character in the ANSI code page, not the UTF-8 length.
  EXPECT_EQ(module2.WriteRegValue(kHkeyCurrentUser, kKey, "c", "Caf\xC3\xA9", platform::kRegSz), 0);
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kKey, "c")->bytes, std::string("Caf\xE9\0", 5));
}

TEST_F(Module2Test, WriteReturnsTheSystemCodeUnchanged) {
  fake.registry.DenyWrites(kHkeyLocalMachine, kShellFoldersKey);
  EXPECT_EQ(module2.WriteRegValue(kHkeyLocalMachine, kShellFoldersKey, "v", "x", platform::kRegSz),
            platform::kErrorAccessDenied);
  fake.log.Clear();
  fake.log.FailCall(0, 1016);
  EXPECT_EQ(module2.WriteRegValue(kHkeyCurrentUser, kKey, "v", "x", platform::kRegSz), 1016);
}

}  // namespace
