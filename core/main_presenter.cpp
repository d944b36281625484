// The main window's behaviour: display, Apply, Restore Default, the backup, the folder dialog and the links.
#include "core/main_presenter.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/product_texts.h"
#include "core/web_page.h"
#include "core/windows_version.h"
#include "text/utf16.h"

namespace {

const char* const kRefusalText =
    "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit";
const char* const kBrowseTitle = "Select the new folder";
const char* const kBackupSuccessText = "Shell folder registry keys are now backed up.";
const char* const kBackupFailureText = "Could not backup the shell folder registry keys";
const char* const kWindowNotMadeText = "Zolvane could not make its main window.";
constexpr int kWindowNotMadeExitCode = 1;

std::string WriteFailureText(std::int32_t code) {
  if (code == platform::kErrorAccessDenied) return "Access Denied. No changes were made.";
  return "Error " + std::to_string(code) + "\nAn error occurred.";
}

// The last part of a key's path: "Shell Folders" for the Shell Folders key.
std::string KeyName(const char* keyPath) {
  const char* name = std::strrchr(keyPath, '\\');
  return name == nullptr ? keyPath : name + 1;
}

// What a value held before it was written, as the user can read it.
std::string HeldBefore(const StoredValue& value) {
  bool text = value.type == platform::kRegSz || value.type == platform::kRegExpandSz;
  if (value.state == StoredValue::State::kAbsent) return "has no value, as before.";
  if (value.state == StoredValue::State::kUnknown || !text) return "is as it was.";
  std::string bytes = value.bytes.size() >= 2 ? value.bytes.substr(0, value.bytes.size() - 2) : std::string();
  return "still holds \"" + Utf16LeToUtf8(bytes) + "\".";
}

// When one write failed and the other could not be undone, the user learns where each value now stands.
std::string PartialChangeText(std::int32_t code, const std::string& valueName, const std::string& changedKey,
                              const std::string& newData, const std::string& unchangedKey,
                              const StoredValue& unchanged) {
  std::string headline =
      code == platform::kErrorAccessDenied ? "Access Denied." : "Error " + std::to_string(code) + ".";
  return headline + " Only part of the change was made, and it could not be undone:\n" + changedKey + "\\" + valueName +
         " now holds \"" + newData + "\".\n" + unchangedKey + "\\" + valueName + " " + HeldBefore(unchanged);
}

}  // namespace

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

MainPresenter::MainPresenter(platform::Platform& platform, MainView& view)
    : platform_(platform), view_(view), registry_(platform.registry), backup_(platform) {}

void MainPresenter::OnLoad() {
  if (GetWindowsVersionName(platform_.system) != "Windows XP") {
    view_.ShowMessage(kRefusalText, kMbOk | kMbIconInformation, kWindowCaption);
    view_.CloseMainWindow();
    return;
  }
  view_.SelectFolderAt(0);
}

bool MainPresenter::OnCloseRequested() {
  if (!backupRunning_) return true;
  closeAfterBackup_ = true;
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
    view_.SetPathText(GetCurrentFolderPath(folder->hive, folder->valueName).ToDisplayText());
  }
  view_.EnableApply(false);
  view_.EnableRestoreDefault(true);
}

RegValue MainPresenter::GetCurrentFolderPath(platform::HKey hive, const std::string& valueName) {
  RegValue value = registry_.ReadRegValue(hive, kUserShellFoldersKey, valueName);
  bool unusable =
      value.IsEmpty() || (value.IsText() && value.text().empty()) || (value.IsInteger() && value.integer() == 2);
  if (unusable) value = registry_.ReadRegValue(hive, kShellFoldersKey, valueName);
  return ExpandPath(value);
}

RegValue MainPresenter::ExpandPath(const RegValue& path) {
  if (!path.IsText()) return path;
  return RegValue::FromText(ExpandText(path.text()));
}

// Expands the way ExpandEnvironmentStrings does: every %NAME% of a defined variable becomes its value;
// undefined references, a lone "%" and all other text stay as written.
std::string MainPresenter::ExpandText(const std::string& text) {
  std::string result;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t open = text.find('%', pos);
    if (open == std::string::npos) break;
    result.append(text, pos, open - pos);
    std::size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      pos = open;
      break;
    }
    std::string name = text.substr(open + 1, close - open - 1);
    std::optional<std::string> value;
    if (!name.empty()) value = platform_.environment.GetEnvironmentVariableW(name);
    if (value) {
      result += *value;
    } else {
      result.append(text, open, close - open + 1);
    }
    pos = close + 1;
  }
  if (pos < text.size()) result.append(text, pos, std::string::npos);
  return result;
}

void MainPresenter::WriteBothAndReport(const ShellFolder& folder, const FolderWrite (&writes)[2],
                                       const char* successText) {
  StoredValue before[2];
  for (int i = 0; i < 2; ++i) before[i] = registry_.ReadStoredValue(folder.hive, writes[i].keyPath, folder.valueName);
  std::int32_t codes[2];
  for (int i = 0; i < 2; ++i) {
    codes[i] =
        registry_.WriteRegValue(folder.hive, writes[i].keyPath, folder.valueName, writes[i].data, writes[i].type);
  }
  if (codes[0] == 0 && codes[1] == 0) return view_.ShowMessage(successText, kMbOk, kAppTitle);

  std::int32_t failure = codes[0] != 0 ? codes[0] : codes[1];
  std::string message = WriteFailureText(failure);
  // Only one of the two can have succeeded; it is put back so that "No changes were made." is true.
  for (int i = 0; i < 2; ++i) {
    if (codes[i] != 0) continue;
    if (registry_.PutBack(folder.hive, writes[i].keyPath, folder.valueName, before[i]) != 0) {
      message = PartialChangeText(failure, folder.valueName, KeyName(writes[i].keyPath), writes[i].data,
                                  KeyName(writes[1 - i].keyPath), before[1 - i]);
    }
  }
  view_.ShowMessage(message, kMbOk, kAppTitle);
}

void MainPresenter::OnApply() {
  std::string newPath = Trimmed(view_.PathText());
  if (newPath.empty()) return;
  std::string name = Trimmed(view_.SelectedFolderName());
  if (name.empty()) return;
  const ShellFolder* folder = FindShellFolder(name);
  if (folder == nullptr) return;

  FolderWrite userShellFolders{kUserShellFoldersKey, newPath, platform::kRegExpandSz};
  FolderWrite shellFolders{kShellFoldersKey, ExpandText(newPath), platform::kRegSz};
  // Common Desktop has always had its Shell Folders value written first.
  if (std::strcmp(folder->displayName, "Common Desktop") != 0) {
    WriteBothAndReport(*folder, {userShellFolders, shellFolders}, "Successfully done!");
  } else {
    WriteBothAndReport(*folder, {shellFolders, userShellFolders}, "Successfully done!");
  }
  view_.EnableApply(false);
  view_.EnableRestoreDefault(true);
  ShowCurrentLocation();
}

void MainPresenter::OnRestoreDefault() {
  std::string name = Trimmed(view_.SelectedFolderName());
  if (name.empty()) return;
  const ShellFolder* folder = FindShellFolder(name);
  if (folder == nullptr) return;

  WriteBothAndReport(*folder,
                     {{kShellFoldersKey, ExpandText(folder->stockDefaultPath), platform::kRegSz},
                      {kUserShellFoldersKey, folder->stockDefaultPath, platform::kRegExpandSz}},
                     "Restored the default values!");
  view_.EnableApply(false);
  ShowCurrentLocation();
}

// The exports run away from the window's thread, so that the window keeps painting and answering; its
// buttons and menu wait meanwhile, so that nothing starts twice.
void MainPresenter::OnBackup() {
  if (backupRunning_) return;
  backupRunning_ = true;
  view_.SetBusy(true);
  view_.RunInBackground([this] { backupOutcome_ = backup_.Run(); }, [this] { FinishBackup(); });
}

void MainPresenter::FinishBackup() {
  for (const std::string& notice : backupOutcome_.notices) view_.ShowMessage(notice, kMbOk, kAppTitle);
  std::string message = backupOutcome_.succeeded ? kBackupSuccessText : kBackupFailureText;
  if (!backupOutcome_.succeeded && !backupOutcome_.failure.empty()) message += "\n" + backupOutcome_.failure;
  view_.ShowMessage(message, kMbOk, kAppTitle);
  backupRunning_ = false;
  view_.SetBusy(false);
  if (closeAfterBackup_) view_.CloseMainWindow();
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
