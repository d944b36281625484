// A Form1 over the fake platform and the fake view, with Windows XP reported and a user's profile set.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/catalogue.h"
#include "core/form1.h"
#include "fakes/fake_form1_view.h"
#include "fakes/fake_platform.h"

// Windows XP, logged on as Ann.
inline void SetUpAnnOnWindowsXp(FakePlatform& fake) {
  fake.system.SetVersion(2, 5, 1);
  fake.environment.Set("USERPROFILE", "C:\\Documents and Settings\\Ann");
  fake.environment.Set("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users");
  fake.environment.Set("USERNAME", "Ann");
}

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() : form(fake.platform(), view) {
    view.Attach(&form);
    SetUpAnnOnWindowsXp(fake);
  }

  void SetUserShell(platform::HKey hive, const char* name, std::uint32_t type, const std::string& text) {
    fake.registry.SetString(hive, kUserShellFoldersKey, name, type, text);
  }
  void SetShell(platform::HKey hive, const char* name, const std::string& text) {
    fake.registry.SetString(hive, kShellFoldersKey, name, platform::kRegSz, text);
  }
  // The text of a stored string value, without its terminator; "<none>" when it is missing.
  std::string Stored(platform::HKey hive, const char* key, const char* name, std::uint32_t* type = nullptr) {
    const FakeRegistry::Value* value = fake.registry.GetValue(hive, key, name);
    if (value == nullptr) return "<none>";
    if (type) *type = value->type;
    std::string bytes = value->bytes;
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
  }
  void Select(const char* displayName) { view.SetCombo1ListIndex(FindSplFolderEntry(displayName)->listPosition); }
  std::string LastMessage() const { return view.messages.empty() ? std::string() : view.messages.back().prompt; }

  FakePlatform fake;
  FakeForm1View view;
  Form1 form;
};
