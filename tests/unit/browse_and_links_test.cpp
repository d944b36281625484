// The folder browser and the eight ways to the product's web pages.
#include "core/frm_about.h"
#include "form1_fixture.h"

namespace {

class BrowseTest : public Form1Test {
 protected:
  BrowseTest() {
    SetShell(platform::kHkeyCurrentUser, "Desktop", "C:\\Desktop");
    Select("Desktop");
  }
};

TEST_F(BrowseTest, ConfirmingPutsThePathInText1AndEnablesApply) {
  fake.shell.browsePath = kWidePath;
  view.Type("%USERPROFILE%\\typed");
  form.Command5_Click();
  EXPECT_EQ(view.text1, kWidePath);
  EXPECT_TRUE(view.command1Enabled);
  ASSERT_EQ(fake.shell.browses.size(), 1u);
  EXPECT_EQ(fake.shell.browses[0].hwndOwner, FakeForm1View::kHwnd);
  EXPECT_EQ(fake.shell.browses[0].pidlRoot, platform::ItemIdList::kNone);
  EXPECT_EQ(fake.shell.browses[0].lpszTitle, "Select the new folder");
  EXPECT_EQ(fake.shell.browses[0].ulFlags, 3u);
  EXPECT_EQ(fake.shell.freed, std::vector<platform::ItemIdList>{FakeShell::kPickedPidl});
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(BrowseTest, ComIsInitialisedApartmentThreadedOnceBeforeTheFirstDialog) {
  fake.log.Clear();
  form.Command5_Click();
  form.Command5_Click();
  std::vector<std::string> calls = fake.log.calls();
  EXPECT_EQ(fake.log.CallsStartingWith("CoInitializeEx"), std::vector<std::string>{"CoInitializeEx(2)"});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "CoInitializeEx(2)");
}

TEST_F(BrowseTest, CancellingChangesNothing) {
  fake.shell.browseConfirms = false;
  view.Type("D:\\typed");
  form.Command5_Click();
  EXPECT_EQ(view.text1, "D:\\typed");
  EXPECT_TRUE(view.command1Enabled);
  EXPECT_TRUE(fake.log.CallsStartingWith("SHGetPathFromIDListW").empty());
  EXPECT_TRUE(fake.shell.freed.empty());
}

TEST_F(BrowseTest, ABufferWithoutAZeroByteGivesEmptyText) {
  fake.shell.browseLeavesNoZero = true;
  form.Command5_Click();
  EXPECT_EQ(view.text1, "");
  EXPECT_FALSE(view.command1Enabled);
  EXPECT_EQ(fake.shell.freed.size(), 1u);
}

class LinksTest : public Form1Test, public FrmAboutView {
 protected:
  void Unload() override { aboutUnloaded = true; }
  bool aboutUnloaded = false;
};

TEST_F(LinksTest, EachTriggerOpensItsPageOnTheProductSite) {
  frmAbout about(fake.shell, *this);
  struct Trigger {
    const char* name;
    std::function<void()> click;
    const char* path;
  } triggers[] = {
      {"Command6", [&] { form.Command6_Click(); }, "/index.html"},
      {"mnuHomepage", [&] { form.mnuHomepage_Click(); }, "/index.html"},
      {"About Label2", [&] { about.Label2_Click(); }, "/index.html"},
      {"Command7", [&] { form.Command7_Click(); }, "/feedback.htm"},
      {"mnuFeedback", [&] { form.mnuFeedback_Click(); }, "/feedback.htm"},
      {"Command4", [&] { form.Command4_Click(); }, "/donate.htm"},
      {"mnuDonate", [&] { form.mnuDonate_Click(); }, "/donate.htm"},
      {"About Label3", [&] { about.Label3_Click(); }, "/donate.htm"},
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
  EXPECT_FALSE(aboutUnloaded);
  about.cmdOK_Click();
  EXPECT_TRUE(aboutUnloaded);
}

}  // namespace
