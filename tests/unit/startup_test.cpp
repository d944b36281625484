// Start-up: the refusal of every system but Windows XP, and how the program closes.
#include "main_presenter_fixture.h"
#include "presenters/presenter_texts.h"
#include "vocabulary/product_texts.h"

namespace {

// At start-up every system but Windows XP (5.2, its x64 edition, too) is refused before the registry is read, with
// the one message titled with the window's caption, and the window closes. Each row is one way to be refused.
TEST(StartupTest, EverySystemButWindowsXpIsRefused) {
  const struct {
    std::uint32_t platformId, major, minor;
    bool xp;
  } rows[] = {{2, 5, 1, true},  {2, 5, 2, true},  {1, 5, 1, false}, {1, 4, 10, false}, {2, 5, 0, false},
              {2, 4, 1, false}, {2, 6, 1, false}, {0, 5, 1, false}, {3, 5, 1, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.platformId) + " " + std::to_string(row.major) + "." + std::to_string(row.minor));
    AnnsWindow w;
    w.fake.system.version = {row.platformId, row.major, row.minor};
    w.presenter.OnLoad();
    EXPECT_EQ(w.view.closed, !row.xp);
    if (row.xp) continue;
    ASSERT_EQ(w.view.messages.size(), 1u);
    EXPECT_EQ(w.view.messages[0].prompt, kRefusalText);
    EXPECT_EQ(w.view.messages[0].title, kWindowCaption);
    EXPECT_EQ(w.view.messages[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(w.view.folderIndex, -1);
  }
}

TEST_F(MainPresenterTest, OnWindowsXpLoadSelectsCommonDesktopAndShowsIt) {
  SetUserShell(platform::kHkeyLocalMachine, "Common Desktop", platform::kRegExpandSz, "%ALLUSERSPROFILE%\\Desktop");
  presenter.OnLoad();
  EXPECT_EQ(view.folderIndex, 0);
  EXPECT_EQ(view.pathText, "C:\\Documents and Settings\\All Users\\Desktop");
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(view.closed);
}

TEST_F(MainPresenterTest, ExitClosesTheMainWindowAndItsClosingTheAboutWindow) {
  presenter.OnShowAbout();
  EXPECT_TRUE(view.aboutOpen);
  presenter.OnExit();
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(view.aboutOpen);
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
