// Start-up: the version table, the refusal of every system but Windows XP, and how the program closes.
#include "main_presenter_fixture.h"
#include "presenters/presenter_texts.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/windows_version.h"

namespace {

struct VersionRow {
  std::uint32_t platformId, major, minor;
  const char* name;
};

TEST(GetWindowsVersionName, NamesEachRowOfTheTable) {
  const VersionRow rows[] = {
      {1, 4, 0, "Windows 95"},
      {1, 7, 0, "Windows 95"},
      {1, 4, 10, "Windows 98"},
      {1, 4, 90, "Windows Millennium"},
      {1, 4, 5, ""},
      {2, 3, 51, "Windows NT 3.51"},
      {2, 4, 0, "Windows NT 4.0"},
      {2, 5, 0, "Windows 2000"},
      {2, 5, 1, "Windows XP"},
      {2, 5, 2, "Windows XP"},
      {2, 6, 0, ""},
      {2, 6, 1, ""},
      {2, 10, 0, ""},
      {2, 2, 0, ""},
      {0, 5, 1, "Failed"},
      {3, 5, 1, "Failed"},
  };
  for (const VersionRow& row : rows) {
    CallLog log;
    FakeSystem system(log);
    system.SetVersion(row.platformId, row.major, row.minor);
    EXPECT_EQ(GetWindowsVersionName(system), row.name) << row.platformId << " " << row.major << "." << row.minor;
  }
}

TEST_F(MainPresenterTest, OnWindowsXpLoadSelectsCommonDesktopAndShowsIt) {
  SetUserShell(platform::kHkeyLocalMachine, "Common Desktop", platform::kRegExpandSz, "%ALLUSERSPROFILE%\\Desktop");
  presenter.OnLoad();
  EXPECT_EQ(view.folderIndex, 0);
  EXPECT_EQ(view.locationCaption, LocationCaption("Common Desktop"));
  EXPECT_EQ(view.pathText, "C:\\Documents and Settings\\All Users\\Desktop");
  EXPECT_FALSE(view.applyEnabled);
  EXPECT_TRUE(view.restoreEnabled);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(view.closed);
}

TEST_F(MainPresenterTest, EveryOtherSystemIsRefusedBeforeTheRegistryIsRead) {
  const VersionRow refused[] = {{2, 6, 1, "Windows 7"}, {2, 6, 0, "Vista"}, {2, 5, 0, "2000"},
                                {2, 4, 0, "NT 4"},      {1, 4, 10, "98"},   {0, 0, 0, "failed query"}};
  for (const VersionRow& row : refused) {
    FakePlatform platform;
    FakeMainView refusedView;
    MainPresenter refusedPresenter(platform.platform(), refusedView);
    refusedView.Attach(&refusedPresenter);
    platform.system.SetVersion(row.platformId, row.major, row.minor);
    refusedPresenter.OnLoad();
    ASSERT_EQ(refusedView.messages.size(), 1u) << row.name;
    EXPECT_EQ(refusedView.messages[0].prompt, kRefusalText);
    EXPECT_EQ(refusedView.messages[0].title, kWindowCaption);
    EXPECT_EQ(refusedView.messages[0].icon, MessageIcon::kInformation);
    EXPECT_TRUE(refusedView.closed) << row.name;
    EXPECT_EQ(refusedView.folderIndex, -1) << row.name;
  }
}

TEST_F(MainPresenterTest, ExitClosesTheMainWindowAndItsClosingTheAboutWindow) {
  presenter.OnShowAbout();
  presenter.OnShowAbout();
  EXPECT_EQ(view.aboutWindowsCreated, 1);
  presenter.OnExit();
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(view.aboutOpen);

  FakeMainView neverOpened;
  MainPresenter other(fake.platform(), neverOpened);
  other.OnUnload();
  EXPECT_FALSE(neverOpened.aboutOpen);
  EXPECT_EQ(neverOpened.aboutWindowsCreated, 0);
  EXPECT_TRUE(neverOpened.messages.empty());
}

TEST_F(MainPresenterTest, AMainWindowThatCannotBeMadeIsToldWithTheSystemsReasonAndEndsTheProgram) {
  EXPECT_NE(presenter.OnWindowNotMade(8), 0);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].prompt,
            std::string(kWindowNotMadeText) +
                "\nNot enough memory resources are available to process this command. (error 8)");
  EXPECT_EQ(view.messages[0].title, kAppTitle);
}

}  // namespace
