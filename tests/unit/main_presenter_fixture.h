// A MainPresenter over the fake platform and the fake view, with Windows XP reported and a user's profile set.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "presenters/main_presenter.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"

// A path no ANSI code page holds: Cyrillic, Greek, CJK, and U+1F3B5 outside the Basic Multilingual Plane.
inline const std::string kWidePath =
    "D:\\\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B \xCE\xB1\xCE\xB2 "
    "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5";

// Windows XP, logged on as Ann.
inline void SetUpAnnOnWindowsXp(FakePlatform& fake) {
  fake.system.version = {2, 5, 1};
  fake.environment.Set("USERPROFILE", "C:\\Documents and Settings\\Ann");
  fake.environment.Set("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users");
  fake.environment.Set("USERNAME", "Ann");
}

// Ann's window: the presenter over the fake platform and the fake view.
struct AnnsWindow {
  AnnsWindow() : presenter(fake.platform(), view) {
    view.Attach(&presenter);
    SetUpAnnOnWindowsXp(fake);
  }

  void SetUserShell(platform::HKey hive, const char* name, std::uint32_t type, const std::string& text) {
    fake.registry.SetString(hive, kUserShellFoldersKey, name, type, text);
  }
  void SetShell(platform::HKey hive, const char* name, const std::string& text) {
    fake.registry.SetString(hive, kShellFoldersKey, name, platform::kRegSz, text);
  }
  void Select(const char* displayName) { view.SelectFolderAt(ListPositionOf(*FindShellFolder(displayName))); }

  FakePlatform fake;
  FakeMainView view;
  MainPresenter presenter;
};

class MainPresenterTest : public ::testing::Test, public AnnsWindow {};
