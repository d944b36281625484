// Scenario of the web links: each of the eight triggers hands its page to the shell, which starts the
// program registered for http addresses; in this prefix that is our recorder, which logs the address. A
// double-click on a link opens its page once.
#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

const char* const kHttpCommand = "Software\\Classes\\http\\shell\\open\\command";
const char* const kHome = "http://www.zolvane.org/index.html";
const char* const kFeedback = "http://www.zolvane.org/feedback.htm";
const char* const kDonation = "http://www.zolvane.org/donate.htm";

std::vector<std::string> LoggedAddresses(const std::string& log) {
  std::vector<std::string> lines;
  std::string content = ReadFileBytes(Wide(log));
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

class LinkCheck {
 public:
  explicit LinkCheck(const std::string& log) : log_(log) {}
  // Waits for the next address the recorder logs and compares it with the page expected.
  void Expect(const char* trigger, const char* page) {
    ++count_;
    bool logged = WaitUntil([&] { return LoggedAddresses(log_).size() >= count_; });
    if (!CHECK(logged)) {
      std::printf("  %s opened nothing\n", trigger);
      count_ = LoggedAddresses(log_).size();
      return;
    }
    if (!CHECK_EQ(LoggedAddresses(log_)[count_ - 1], page)) std::printf("  from %s\n", trigger);
  }
  std::size_t count() const { return count_; }

 private:
  std::string log_;
  std::size_t count_ = 0;
};

void FocusMain(ZolvaneApp& app, int controlId) {
  // Out of the way of the window's tool tips, which the window waits to see closed.
  ParkPointer();
  SetForegroundWindow(app.main());
  CHECK(WaitUntilInFrontAndIdle(app.main()));
  // The shortcuts work whichever control has the focus: give it to another one each time.
  AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(app.main(), nullptr), TRUE);
  SetFocus(app.Control(controlId));
  AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(app.main(), nullptr), FALSE);
  CHECK(WaitUntil([&] { return FocusOf(app.main()) == app.Control(controlId); }));
}

}  // namespace

E2E_SCENARIO(ScenarioWebLinks, "web-links", false) {
  RegistryKeeper keeper;
  keeper.Keep(HKEY_LOCAL_MACHINE, kHttpCommand, "");
  std::string log = DriverFolder() + "opened-addresses.log";
  DeleteFileW(Wide(log).c_str());
  std::string recorder = "\"" + DriverFolder() + "url_recorder.exe\" \"" + log + "\" \"%1\"";
  if (!CHECK(WriteRawValue(HKEY_LOCAL_MACHINE, kHttpCommand, "", TextValue(REG_SZ, Wide(recorder))))) return;

  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  LinkCheck links(log);
  CHECK(app.Click(IDC_HOME_PAGE));
  links.Expect("Visit Homepage", kHome);
  CHECK(app.Click(IDC_FEEDBACK));
  links.Expect("Feedback", kFeedback);
  CHECK(app.Click(IDC_DONATE));
  links.Expect("Donate", kDonation);

  app.ChooseMenu(IDM_HOMEPAGE);
  links.Expect("menu Visit Homepage", kHome);
  app.ChooseMenu(IDM_FEEDBACK);
  links.Expect("menu Send feedback", kFeedback);
  app.ChooseMenu(IDM_DONATE);
  links.Expect("menu Donations", kDonation);

  FocusMain(app, IDC_PATH);
  SendKey('H', VK_CONTROL);
  links.Expect("Ctrl+H", kHome);
  FocusMain(app, IDC_FOLDER_LIST);
  SendKey('F', VK_CONTROL);
  links.Expect("Ctrl+F", kFeedback);
  FocusMain(app, IDC_BACKUP);
  SendKey('D', VK_CONTROL);
  links.Expect("Ctrl+D", kDonation);
  app.ChooseMenu(IDM_ABOUT);
  HWND about = app.WaitForWindow(ZOLVANE_ABOUT_CLASS, kCaption);
  if (CHECK(about != nullptr)) {
    // A click while the window is still being brought to the front may be spent on activating it.
    CHECK(WaitUntilInFrontAndIdle(about));
    // A double-click on a link opens its page once.
    DoubleClickCentre(GetDlgItem(about, IDC_ABOUT_HOME_LINK));
    links.Expect("About: Telvik's Windows site", kHome);
    ClickCentre(GetDlgItem(about, IDC_ABOUT_DONATE_LINK));
    links.Expect("About: To Donate", kDonation);
    // The other labels and the picture open nothing.
    ClickCentre(GetDlgItem(about, IDC_ABOUT_TITLE));
    ClickCentre(GetDlgItem(about, IDC_ABOUT_ICON));
  }
  // Alt+D is the Donate button's access key.
  FocusMain(app, IDC_PATH);
  SendKey('D', VK_MENU);
  links.Expect("Alt+D", kDonation);
  // No button is the default or the cancel button: Enter and Esc on a link button press nothing.
  FocusMain(app, IDC_HOME_PAGE);
  SendKey(VK_RETURN);
  SendKey(VK_ESCAPE);

  // Every trigger opened its page once, and nothing else opened any. (Keys arrive after posted messages,
  // so the keys above come last.)
  Sleep(1000);
  CHECK_EQ(LoggedAddresses(log).size(), links.count());
  // Exit ends the program with the About window still open.
  app.ChooseMenu(IDM_EXIT);
  CHECK(app.WaitForExit());
  DeleteFileW(Wide(log).c_str());
}

}  // namespace e2e
