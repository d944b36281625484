// The main window's behaviour: display, Apply, Restore Default, the backup, the folder dialog and the links.
#include "core/main_presenter.h"

#include <algorithm>
#include <iterator>

#include "core/product_texts.h"
#include "core/web_page.h"
#include "core/windows_version.h"
#include "text/utf16.h"

namespace {

const char* const kBrowseTitle = "Select the new folder";
const char* const kWindowNotMadeText = "Zolvane could not make its main window.";
const char* const kImportDialogTitle = "Restore from backup";
const char* const kWorkBrokeOff = "The work broke off before it could tell how it ended.";
const char* const kImportFilter = "Zolvane backups (*.bak)|*.bak|Registry files (*.reg)|*.reg|All files (*.*)|*.*";
constexpr int kWindowNotMadeExitCode = 1;

}  // namespace

MainPresenter::MainPresenter(platform::Platform& platform, MainView& view)
    : platform_(platform), view_(view), locations_(platform), backup_(platform), import_(platform) {}

void MainPresenter::OnLoad() {
  if (GetWindowsVersionName(platform_.system) != "Windows XP") {
    view_.ShowMessage(kRefusalText, kMbOk | kMbIconInformation, kWindowCaption);
    view_.CloseMainWindow();
    return;
  }
  view_.SelectFolderAt(0);
}

bool MainPresenter::OnCloseRequested() {
  if (!workRunning_) return true;
  closeAfterWork_ = true;
  return false;
}

int MainPresenter::OnWindowNotMade(const std::string& systemErrorText) {
  std::string text = kWindowNotMadeText;
  if (!systemErrorText.empty()) text += "\n" + systemErrorText;
  view_.ShowMessage(text, kMbOk, kAppTitle);
  return kWindowNotMadeExitCode;
}

void MainPresenter::OnUnload() {
  view_.CloseAbout();
  view_.CloseMainWindow();
}

void MainPresenter::OnExit() {
  view_.CloseAbout();
  view_.CloseMainWindow();
}

void MainPresenter::OnFolderSelected() {
  ShowCurrentLocation();
}

void MainPresenter::OnPathEdited() {
  view_.EnableApply(!Trimmed(view_.PathText()).empty());
}

void MainPresenter::ShowCurrentLocation() {
  view_.SetPathText(std::string());
  std::string selection = view_.SelectedFolderName();
  view_.SetLocationCaption(selection + " location");
  std::string name = Trimmed(selection);
  if (name.empty()) return;
  const ShellFolder* folder = FindShellFolder(name);
  if (folder != nullptr) {
    view_.SetPathText(locations_.CurrentLocation(*folder).ToDisplayText());
  }
  view_.EnableApply(false);
  view_.EnableRestoreDefault(true);
}

void MainPresenter::OnApply() {
  std::string newPath = Trimmed(view_.PathText());
  if (newPath.empty()) return;
  const ShellFolder* folder = SelectedFolder();
  if (folder == nullptr) return;
  view_.ShowMessage(locations_.Relocate(*folder, newPath).message, kMbOk, kAppTitle);
  view_.EnableApply(false);
  view_.EnableRestoreDefault(true);
  ShowCurrentLocation();
}

void MainPresenter::OnRestoreDefault() {
  const ShellFolder* folder = SelectedFolder();
  if (folder == nullptr) return;
  view_.ShowMessage(locations_.RestoreDefault(*folder).message, kMbOk, kAppTitle);
  view_.EnableApply(false);
  ShowCurrentLocation();
}

// The trimmed selection's catalogue row, or nullptr when nothing known is selected.
const ShellFolder* MainPresenter::SelectedFolder() {
  std::string name = Trimmed(view_.SelectedFolderName());
  return name.empty() ? nullptr : FindShellFolder(name);
}

// The exports run away from the window's thread, so that the window keeps painting and answering; its
// buttons and menu wait meanwhile, so that nothing starts twice.
// Each run starts from a failure of its own, so that work that broke off early never tells the last run's outcome.
void MainPresenter::OnBackup() {
  backupOutcome_ = BackupOutcome();
  backupOutcome_.code = platform::kErrorFunctionFailed;
  backupOutcome_.failure = kWorkBrokeOff;
  RunAwayFromTheWindow([this] { backupOutcome_ = backup_.Run(); }, [this] { TellBackupOutcome(); });
}

void MainPresenter::TellBackupOutcome() {
  for (const std::string& notice : backupOutcome_.notices) view_.ShowMessage(notice, kMbOk, kAppTitle);
  view_.ShowMessage(BackupOutcomeText(backupOutcome_), kMbOk, kAppTitle);
}

void MainPresenter::OnRestoreFromBackup() {
  if (workRunning_) return;
  std::string file = ChooseBackupFile();
  if (file.empty()) return;
  if (!view_.AskYesNo("Replace the current special folder paths with those in " + file + "?", kAppTitle)) return;
  importOutcome_ = ImportOutcome{ImportOutcome::Result::kFailed, platform::kErrorFunctionFailed,
                                 "Could not restore the special folder paths from \"" + file + "\".\n" + kWorkBrokeOff};
  RunAwayFromTheWindow([this, file] { importOutcome_ = import_.Run(file); }, [this] { TellImportOutcome(); });
}

// The open-file dialog at the desktop, with the backup preselected when there is one; empty text when the
// user cancelled.
std::string MainPresenter::ChooseBackupFile() {
  platform::OpenFileName dialog;
  dialog.hwndOwner = view_.Window();
  dialog.lpstrFilter = kImportFilter;
  dialog.lpstrInitialDir = backup_.GetFolderPath(platform::kCsidlDesktop);
  std::string backupFile = dialog.lpstrInitialDir + "\\" + kBackupFileName;
  if (!dialog.lpstrInitialDir.empty() && backup_.FileExists(backupFile)) dialog.lpstrFile = kBackupFileName;
  dialog.lpstrTitle = kImportDialogTitle;
  dialog.flags = platform::kOfnFileMustExist | platform::kOfnPathMustExist | platform::kOfnHideReadOnly |
                 platform::kOfnNoChangeDir;
  std::string file;
  if (platform_.shell.GetOpenFileNameW(dialog, &file) != 0) return file;
  std::uint32_t error = platform_.shell.CommDlgExtendedError();
  if (error != 0) {
    view_.ShowMessage("The file dialog could not be shown (error " + std::to_string(error) + ").", kMbOk, kAppTitle);
  }
  return std::string();
}

// After an import that wrote, the window shows what the registry holds: the file's value, or after a failure the
// value put back. A file that was refused changed nothing, and the window stays as the user left it.
void MainPresenter::TellImportOutcome() {
  view_.ShowMessage(importOutcome_.message, kMbOk, kAppTitle);
  if (importOutcome_.result != ImportOutcome::Result::kInvalidFile) ShowCurrentLocation();
}

void MainPresenter::RunAwayFromTheWindow(std::function<void()> work, std::function<void()> tell) {
  if (workRunning_) return;
  workRunning_ = true;
  view_.SetBusy(true);
  view_.RunInBackground(std::move(work), [this, tell] {
    tell();
    workRunning_ = false;
    view_.SetBusy(false);
    if (closeAfterWork_) view_.CloseMainWindow();
  });
}

void MainPresenter::OnBrowse() {
  platform::BrowseInfo browseInfo;
  browseInfo.hwndOwner = view_.Window();
  browseInfo.lpszTitle = kBrowseTitle;
  browseInfo.ulFlags = platform::kBifReturnOnlyFsDirs | platform::kBifDontGoBelowDomain;
  // The folder dialog needs COM, apartment-threaded, on its thread: the window's, which asks once.
  if (!comInitialised_) {
    platform_.shell.CoInitializeEx(platform::kCoinitApartmentThreaded);
    comInitialised_ = true;
  }
  platform::ItemIdList pidl = platform_.shell.SHBrowseForFolderW(browseInfo);
  if (pidl == platform::ItemIdList::kNone) return;

  char16_t buffer[platform::kMaxPath];
  std::fill(std::begin(buffer), std::end(buffer), u' ');
  platform_.shell.SHGetPathFromIDListW(pidl, buffer);
  platform_.shell.CoTaskMemFree(pidl);
  // Without a terminating zero there is no path to take: the text becomes empty, nothing past the buffer is read.
  const char16_t* end = std::find(std::begin(buffer), std::end(buffer), u'\0');
  view_.SetPathText(end == std::end(buffer) ? std::string()
                                            : Utf16ToUtf8(buffer, static_cast<std::size_t>(end - buffer)));
}

void MainPresenter::OnOpenHomePage() {
  OpenWebPage(platform_.shell, kHomePageUrl);
}

void MainPresenter::OnOpenFeedbackPage() {
  OpenWebPage(platform_.shell, kFeedbackPageUrl);
}

void MainPresenter::OnOpenDonationPage() {
  OpenWebPage(platform_.shell, kDonationPageUrl);
}

void MainPresenter::OnShowAbout() {
  view_.ShowAbout();
}
