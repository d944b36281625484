// The folder browser and the eight ways to the product's web pages.
#include "main_presenter_fixture.h"
#include "presenters/about_presenter.h"
#include "presenters/presenter_texts.h"

namespace {

class BrowseTest : public MainPresenterTest {
 protected:
  BrowseTest() {
    SetShell(platform::kHkeyCurrentUser, "Desktop", "C:\\Desktop");
    Select("Desktop");
  }
};

// A confirmed folder fills the path box (a folder without a path empties it); a cancelled dialog changes nothing.
TEST_F(BrowseTest, TheChosenFolderFillsThePathBoxAndEnablesApplyAsTypingWould) {
  const struct {
    std::optional<std::string> browsed;
    std::string pathText;
    bool applyEnabled;
  } cases[] = {
      {kWidePath, kWidePath, true},
      {std::string(), "", false},
      {std::nullopt, "D:\\typed", true},
  };
  for (const auto& c : cases) {
    fake.shell.browsed = c.browsed;
    view.Type("D:\\typed");
    presenter.OnBrowse();
    EXPECT_EQ(view.pathText, c.pathText);
    EXPECT_EQ(view.applyEnabled, c.applyEnabled);
  }
  ASSERT_EQ(fake.shell.browses.size(), 3u);
  EXPECT_EQ(fake.shell.browses[0].first, FakeMainView::kWindow);
  EXPECT_EQ(fake.shell.browses[0].second, kBrowseTitle);
  EXPECT_TRUE(view.messages.empty());
}

class LinksTest : public MainPresenterTest, public AboutView {
 protected:
  void Close() override { aboutClosed = true; }
  bool aboutClosed = false;
};

// The main window's buttons and its menu commands share these handlers; the About window has its own links.
TEST_F(LinksTest, EachTriggerOpensItsPageOnTheProductSite) {
  AboutPresenter about(fake.shell, *this);
  struct Trigger {
    const char* name;
    std::function<void()> click;
    const char* path;
  } triggers[] = {
      {"Visit Homepage", [&] { presenter.OnOpenHomePage(); }, "/index.html"},
      {"About's home page link", [&] { about.OnOpenHomePage(); }, "/index.html"},
      {"Feedback", [&] { presenter.OnOpenFeedbackPage(); }, "/feedback.htm"},
      {"Donate", [&] { presenter.OnOpenDonationPage(); }, "/donate.htm"},
      {"About's donation link", [&] { about.OnOpenDonationPage(); }, "/donate.htm"},
  };
  for (Trigger& trigger : triggers) {
    fake.shell.openedPages.clear();
    trigger.click();
    EXPECT_EQ(fake.shell.openedPages, std::vector<std::string>{std::string("http://www.zolvane.org") + trigger.path})
        << trigger.name;
  }
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(aboutClosed);
  about.OnOk();
  EXPECT_TRUE(aboutClosed);
}

}  // namespace
