// Start-up: the version table, the refusal of every system but Windows XP, and how the program closes.
#include "main_presenter_fixture.h"
#include "presenters/presenter_texts.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/windows_version.h"

namespace {

// Each row of the version table is named; at start-up every system but Windows XP is refused, before the
// registry is read, with the one message titled with the window's caption, and the window closes.
TEST(StartupTest, EachVersionIsNamedAndEverySystemButWindowsXpRefused) {
  const struct {
    std::uint32_t platformId, major, minor;
    const char* name;
  } rows[] = {
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
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.platformId) + " " + std::to_string(row.major) + "." + std::to_string(row.minor));
    FakePlatform fake;
    FakeMainView view;
    MainPresenter presenter(fake.platform(), view);
    view.Attach(&presenter);
    fake.system.SetVersion(row.platformId, row.major, row.minor);
    EXPECT_EQ(GetWindowsVersionName(fake.system), row.name);
    presenter.OnLoad();
    bool xp = std::string(row.name) == "Windows XP";
    EXPECT_EQ(view.closed, !xp);
    if (xp) continue;
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].prompt, kRefusalText);
    EXPECT_EQ(view.messages[0].title, kWindowCaption);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(view.folderIndex, -1);
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
