// The folder browser and the eight ways to the product's web pages.
#include "core/about_presenter.h"
#include "main_presenter_fixture.h"

namespace {

class BrowseTest : public MainPresenterTest {
 protected:
  BrowseTest() {
    SetShell(platform::kHkeyCurrentUser, "Desktop", "C:\\Desktop");
    Select("Desktop");
  }
};

TEST_F(BrowseTest, ConfirmingPutsThePathInThePathBoxAndEnablesApply) {
  fake.shell.browsePath = kWidePath;
  view.Type("%USERPROFILE%\\typed");
  presenter.OnBrowse();
  EXPECT_EQ(view.pathText, kWidePath);
  EXPECT_TRUE(view.applyEnabled);
  ASSERT_EQ(fake.shell.browses.size(), 1u);
  EXPECT_EQ(fake.shell.browses[0].hwndOwner, FakeMainView::kWindow);
  EXPECT_EQ(fake.shell.browses[0].pidlRoot, platform::ItemIdList::kNone);
  EXPECT_EQ(fake.shell.browses[0].lpszTitle, "Select the new folder");
  EXPECT_EQ(fake.shell.browses[0].ulFlags, 3u);
  EXPECT_EQ(fake.shell.freed, std::vector<platform::ItemIdList>{FakeShell::kPickedPidl});
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(BrowseTest, ComIsInitialisedApartmentThreadedOnceBeforeTheFirstDialog) {
  fake.log.Clear();
  presenter.OnBrowse();
  presenter.OnBrowse();
  std::vector<std::string> calls = fake.log.calls();
  EXPECT_EQ(fake.log.CallsStartingWith("CoInitializeEx"), std::vector<std::string>{"CoInitializeEx(2)"});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "CoInitializeEx(2)");
}

TEST_F(BrowseTest, CancellingChangesNothing) {
  fake.shell.browseConfirms = false;
  view.Type("D:\\typed");
  presenter.OnBrowse();
  EXPECT_EQ(view.pathText, "D:\\typed");
  EXPECT_TRUE(view.applyEnabled);
  EXPECT_TRUE(fake.log.CallsStartingWith("SHGetPathFromIDListW").empty());
  EXPECT_TRUE(fake.shell.freed.empty());
}

TEST_F(BrowseTest, ABufferWithoutAZeroByteGivesEmptyText) {
  fake.shell.browseLeavesNoZero = true;
  presenter.OnBrowse();
  EXPECT_EQ(view.pathText, "");
  EXPECT_FALSE(view.applyEnabled);
  EXPECT_EQ(fake.shell.freed.size(), 1u);
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
    fake.shell.executions.clear();
    trigger.click();
    ASSERT_EQ(fake.shell.executions.size(), 1u) << trigger.name;
    const FakeShell::Execution& run = fake.shell.executions[0];
    EXPECT_EQ(run.hwnd, FakeShell::kDesktopWindow) << trigger.name;
    EXPECT_EQ(run.operation, "open") << trigger.name;
    EXPECT_EQ(run.file, std::string("http://www.zolvane.org") + trigger.path) << trigger.name;
    EXPECT_FALSE(run.parameters.has_value()) << trigger.name;
    EXPECT_FALSE(run.directory.has_value()) << trigger.name;
    EXPECT_EQ(run.showCmd, 1) << trigger.name;
  }
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(aboutClosed);
  about.OnOk();
  EXPECT_TRUE(aboutClosed);
}

}  // namespace
