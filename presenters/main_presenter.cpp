// The main window's behaviour: display, Apply, Restore Default, the backup, the folder dialog and the links.
#include "presenters/main_presenter.h"

#include "features/feature_texts.h"
#include "presenters/presenter_texts.h"
#include "text/trimmed.h"
#include "vocabulary/failure.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/web_page.h"
#include "vocabulary/windows_version.h"

namespace {

constexpr int kWindowNotMadeExitCode = 1;

// What a run that has not told its outcome comes to: a failure, never the last run's outcome.
Outcome BrokeOff(const std::string& verdict) {
  Outcome outcome;
  outcome.code = platform::kErrorFunctionFailed;
  outcome.message = verdict.empty() ? kWorkBrokeOff : verdict + "\n" + kWorkBrokeOff;
  return outcome;
}

}  // namespace

MainPresenter::MainPresenter(platform::Platform& platform, MainView& view)
    : platform_(platform), view_(view), locations_(platform), backup_(platform), import_(platform) {}

void MainPresenter::OnLoad() {
  if (!IsWindowsXp(platform_.system)) {
    view_.ShowMessage(kRefusalText, kWindowCaption, MessageIcon::kInformation);
    view_.CloseMainWindow();
    return;
  }
  view_.SelectFolderAt(0);
  // A change of Zolvane's that was cut off is undone first, unless another run is at work now: away from the
  // window's thread, for a large one takes seconds, and the window shows meanwhile.
  workOutcome_ = Outcome();
  RunAwayFromTheWindow([this] { workOutcome_.notices = UndoCutOffChangeAtStart(platform_); },
                       [this] {
                         for (const std::string& notice : workOutcome_.notices) Say(notice);
                         if (!workOutcome_.notices.empty()) ShowCurrentLocation();
                       });
}

void MainPresenter::OnExit() {
  view_.CloseMainWindow();
}

bool MainPresenter::OnCloseRequested() {
  if (!workRunning_) return true;
  closeAfterWork_ = true;
  return false;
}

void MainPresenter::OnUnload() {
  view_.CloseAbout();
}

int MainPresenter::OnWindowNotMade(std::int32_t code) {
  Say(std::string(kWindowNotMadeText) + "\n" + SystemReason(platform_.system, code));
  return kWindowNotMadeExitCode;
}

void MainPresenter::OnFolderSelected() {
  ShowCurrentLocation();
}

void MainPresenter::OnPathEdited() {
  view_.EnableApply(!Trimmed(view_.PathText()).empty());
}

void MainPresenter::ShowCurrentLocation() {
  view_.SetPathText(std::string());
  const ShellFolder* folder = SelectedFolder();
  view_.SetLocationCaption(LocationCaption(folder != nullptr ? folder->displayName : ""));
  if (folder == nullptr) return;
  view_.SetPathText(locations_.CurrentLocation(*folder).ToDisplayText());
  view_.EnableApply(false);
  view_.EnableRestoreDefault(true);
}

void MainPresenter::OnApply() {
  std::string newPath = Trimmed(view_.PathText());
  const ShellFolder* folder = SelectedFolder();
  if (workRunning_ || newPath.empty() || folder == nullptr) return;
  workOutcome_ = BrokeOff(std::string());
  RunAwayFromTheWindow([this, folder, newPath] { workOutcome_ = locations_.Relocate(*folder, newPath); },
                       [this] {
                         Tell(workOutcome_);
                         view_.EnableApply(false);
                         view_.EnableRestoreDefault(true);
                         ShowCurrentLocation();
                       });
}

void MainPresenter::OnRestoreDefault() {
  const ShellFolder* folder = SelectedFolder();
  if (workRunning_ || folder == nullptr) return;
  workOutcome_ = BrokeOff(std::string());
  RunAwayFromTheWindow([this, folder] { workOutcome_ = locations_.RestoreDefault(*folder); },
                       [this] {
                         Tell(workOutcome_);
                         view_.EnableApply(false);
                         ShowCurrentLocation();
                       });
}

// The catalogue row at the list's selection, or nullptr while nothing is selected.
const ShellFolder* MainPresenter::SelectedFolder() {
  return ShellFolderAtListPosition(view_.SelectedFolderIndex());
}

void MainPresenter::Say(const std::string& text) {
  view_.ShowMessage(text, kAppTitle, MessageIcon::kNone);
}

void MainPresenter::Tell(const Outcome& outcome) {
  for (const std::string& notice : outcome.notices) Say(notice);
  Say(outcome.message);
}

// The exports run away from the window's thread, so that the window keeps painting and answering; its
// buttons and menu wait meanwhile, so that nothing starts twice.
void MainPresenter::OnBackup() {
  if (workRunning_) return;
  workOutcome_ = BrokeOff(kNotBackedUp);
  RunAwayFromTheWindow([this] { workOutcome_ = backup_.Run(); }, [this] { Tell(workOutcome_); });
}

// The file is judged first, away from the window's thread: a file that is no backup is refused without a
// question, and the question says how many values the restore changes.
void MainPresenter::OnRestoreFromBackup() {
  if (workRunning_) return;
  std::string file = ChooseBackupFile();
  if (file.empty()) return;
  judged_ = JudgedBackup();
  judged_.refusal = BrokeOff(NotRestoredHeadline(file));
  RunAwayFromTheWindow([this, file] { judged_ = import_.Judge(file); }, [this] { AskToRestore(); });
}

void MainPresenter::AskToRestore() {
  if (!judged_.usable) {
    Tell(judged_.refusal);
    return;
  }
  if (!view_.AskYesNo(RestoreQuestion(judged_.file, judged_.changing), kAppTitle)) {
    judged_ = JudgedBackup();
    return;
  }
  workOutcome_ = BrokeOff(NotRestoredHeadline(judged_.file));
  RunAwayFromTheWindow([this] { workOutcome_ = import_.Write(judged_); },
                       [this] {
                         judged_ = JudgedBackup();
                         TellImportOutcome();
                       });
}

// The open-file dialog at the desktop, with the backup preselected when there is one; empty text when the
// user cancelled.
std::string MainPresenter::ChooseBackupFile() {
  std::vector<std::string> notices;
  std::string desktop = backup_.DesktopFolder(&notices);
  bool hasBackup = !desktop.empty() && platform_.files.Exists(desktop + "\\" + kBackupFileName);
  platform::FileChoice choice = platform_.shell.ChooseFile(view_.Window(), kImportDialogTitle, desktop,
                                                           hasBackup ? kBackupFileName : "", kImportFilter);
  if (choice.result == platform::FileChoice::Result::kChosen) return choice.path;
  if (choice.result == platform::FileChoice::Result::kFailed) {
    Say(FileDialogFailed(static_cast<std::int32_t>(choice.error)));
  }
  return std::string();
}

// After an import that wrote, the window shows what the registry holds: the file's value, or after a failure the
// value put back. A file that was refused changed nothing, and the window stays as the user left it.
void MainPresenter::TellImportOutcome() {
  Tell(workOutcome_);
  if (workOutcome_.result != Outcome::Result::kRefused) ShowCurrentLocation();
}

// The work starts first and the window then shows that it is busy: greying the buttons and the menu takes the
// window system a few milliseconds, which the work need not wait for. The outcome reaches the window only from
// its message loop, after this; a view that ran the work and told its outcome at once has no busy time to show.
void MainPresenter::RunAwayFromTheWindow(std::function<void()> work, std::function<void()> tell) {
  workRunning_ = true;
  view_.RunInBackground(std::move(work), [this, tell] {
    workRunning_ = false;
    tell();
    // A tell may start the next work (the restore after its question): the window stays busy for it.
    if (workRunning_) return;
    busy_ = false;
    view_.SetBusy(false);
    if (closeAfterWork_) view_.CloseMainWindow();
  });
  if (workRunning_ && !busy_) {
    busy_ = true;
    view_.SetBusy(true);
  }
}

void MainPresenter::OnBrowse() {
  std::optional<std::string> folder = platform_.shell.BrowseForFolder(view_.Window(), kBrowseTitle);
  if (folder) view_.SetPathText(*folder);
}

void MainPresenter::OnOpenHomePage() {
  platform_.shell.OpenWebPage(kHomePageUrl);
}

void MainPresenter::OnOpenFeedbackPage() {
  platform_.shell.OpenWebPage(kFeedbackPageUrl);
}

void MainPresenter::OnOpenDonationPage() {
  platform_.shell.OpenWebPage(kDonationPageUrl);
}

void MainPresenter::OnShowAbout() {
  view_.ShowAbout();
}
