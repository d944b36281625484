#include "core/form1.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/module1.h"
#include "text/utf16.h"

const char* const kAppTitle = "Zolvane";
const char* const kWindowCaption = "Zolvane for Windows\xC2\xAE XP";

// One host for all three pages.
#define ZOLVANE_SITE "http://www.zolvane.org"
const char* const kHomePageUrl = ZOLVANE_SITE "/index.html";
const char* const kFeedbackPageUrl = ZOLVANE_SITE "/feedback.htm";
const char* const kDonationPageUrl = ZOLVANE_SITE "/donate.htm";

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

Form1::Form1(platform::Platform& platform, Form1View& view)
    : platform_(platform), view_(view), module2_(platform.registry), backup_(platform) {}

void Form1::Form_Load() {
  if (GetWindowsVersionName(platform_.system) != "Windows XP") {
    view_.MsgBox(kRefusalText, kMbOk | kMbIconInformation, kWindowCaption);
    view_.CloseForm();
    return;
  }
  view_.SetCombo1ListIndex(0);
}

bool Form1::OnCloseRequested() {
  if (!backupRunning_) return true;
  closeAfterBackup_ = true;
  return false;
}

int Form1::OnWindowNotMade(const std::string& systemErrorText) {
  std::string text = kWindowNotMadeText;
  if (!systemErrorText.empty()) text += "\n" + systemErrorText;
  view_.MsgBox(text, kMbOk, kAppTitle);
  return kWindowNotMadeExitCode;
}

void Form1::Form_Unload() {
  view_.CloseAbout();
  view_.CloseForm();
}

void Form1::mnuExit_Click() {
  view_.CloseAbout();
  view_.CloseForm();
}

void Form1::Combo1_Click() {
  Retriever();
}

void Form1::Text1_Change() {
  view_.SetCommand1Enabled(!Trimmed(view_.Text1Text()).empty());
}

void Form1::Retriever() {
  view_.SetText1Text(std::string());
  std::string selection = view_.Combo1Text();
  view_.SetLabel1Caption(selection + " location");
  std::string name = Trimmed(selection);
  if (name.empty()) return;
  const SplFolderEntry* entry = FindSplFolderEntry(name);
  if (entry != nullptr) {
    view_.SetText1Text(GetCurrentSplFolderPath(entry->hive, entry->valueName).ToDisplayText());
  }
  view_.SetCommand1Enabled(false);
  view_.SetCommand2Enabled(true);
}

RegValue Form1::GetCurrentSplFolderPath(platform::HKey hKey, const std::string& sVal) {
  RegValue value = module2_.ReadRegValue(hKey, kUserShellFoldersKey, sVal);
  bool unusable =
      value.IsEmpty() || (value.IsText() && value.text().empty()) || (value.IsInteger() && value.integer() == 2);
  if (unusable) value = module2_.ReadRegValue(hKey, kShellFoldersKey, sVal);
  return ExpandPath(value);
}

RegValue Form1::ExpandPath(const RegValue& strPath) {
  if (!strPath.IsText()) return strPath;
  return RegValue::FromText(ExpandText(strPath.text()));
}

// Expands the way ExpandEnvironmentStrings does: every %NAME% of a defined variable becomes its value;
// undefined references, a lone "%" and all other text stay as written.
std::string Form1::ExpandText(const std::string& text) {
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

void Form1::WriteBothAndReport(const SplFolderEntry& entry, const FolderWrite (&writes)[2], const char* successText) {
  StoredValue before[2];
  for (int i = 0; i < 2; ++i) before[i] = module2_.ReadStoredValue(entry.hive, writes[i].keyPath, entry.valueName);
  std::int32_t codes[2];
  for (int i = 0; i < 2; ++i) {
    codes[i] = module2_.WriteRegValue(entry.hive, writes[i].keyPath, entry.valueName, writes[i].data, writes[i].type);
  }
  if (codes[0] == 0 && codes[1] == 0) return view_.MsgBox(successText, kMbOk, kAppTitle);

  std::int32_t failure = codes[0] != 0 ? codes[0] : codes[1];
  std::string message = WriteFailureText(failure);
  // Only one of the two can have succeeded; it is put back so that "No changes were made." is true.
  for (int i = 0; i < 2; ++i) {
    if (codes[i] != 0) continue;
    if (module2_.PutBack(entry.hive, writes[i].keyPath, entry.valueName, before[i]) != 0) {
      message = PartialChangeText(failure, entry.valueName, KeyName(writes[i].keyPath), writes[i].data,
                                  KeyName(writes[1 - i].keyPath), before[1 - i]);
    }
  }
  view_.MsgBox(message, kMbOk, kAppTitle);
}

void Form1::Command1_Click() {
  std::string newPath = Trimmed(view_.Text1Text());
  if (newPath.empty()) return;
  std::string name = Trimmed(view_.Combo1Text());
  if (name.empty()) return;
  const SplFolderEntry* entry = FindSplFolderEntry(name);
  if (entry == nullptr) return;

  FolderWrite userShellFolders{kUserShellFoldersKey, newPath, platform::kRegExpandSz};
  FolderWrite shellFolders{kShellFoldersKey, ExpandText(newPath), platform::kRegSz};
  // Common Desktop has always had its Shell Folders value written first.
  if (std::strcmp(entry->displayName, "Common Desktop") != 0) {
    WriteBothAndReport(*entry, {userShellFolders, shellFolders}, "Successfully done!");
  } else {
    WriteBothAndReport(*entry, {shellFolders, userShellFolders}, "Successfully done!");
  }
  view_.SetCommand1Enabled(false);
  view_.SetCommand2Enabled(true);
  Retriever();
}

void Form1::Command2_Click() {
  std::string name = Trimmed(view_.Combo1Text());
  if (name.empty()) return;
  const SplFolderEntry* entry = FindSplFolderEntry(name);
  if (entry == nullptr) return;

  WriteBothAndReport(*entry,
                     {{kShellFoldersKey, ExpandText(entry->stockDefaultPath), platform::kRegSz},
                      {kUserShellFoldersKey, entry->stockDefaultPath, platform::kRegExpandSz}},
                     "Restored the default values!");
  view_.SetCommand1Enabled(false);
  Retriever();
}

// The exports run away from the window's thread, so that the window keeps painting and answering; its
// buttons and menu wait meanwhile, so that nothing starts twice.
void Form1::Command3_Click() {
  if (backupRunning_) return;
  backupRunning_ = true;
  view_.SetBusy(true);
  view_.RunInBackground([this] { backupOutcome_ = backup_.Run(); }, [this] { FinishBackup(); });
}

void Form1::FinishBackup() {
  for (const std::string& notice : backupOutcome_.notices) view_.MsgBox(notice, kMbOk, kAppTitle);
  std::string message = backupOutcome_.succeeded ? kBackupSuccessText : kBackupFailureText;
  if (!backupOutcome_.succeeded && !backupOutcome_.failure.empty()) message += "\n" + backupOutcome_.failure;
  view_.MsgBox(message, kMbOk, kAppTitle);
  backupRunning_ = false;
  view_.SetBusy(false);
  if (closeAfterBackup_) view_.CloseForm();
}

void Form1::Command5_Click() {
  platform::BrowseInfo browseInfo;
  browseInfo.hwndOwner = view_.Hwnd();
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
  view_.SetText1Text(end == std::end(buffer) ? std::string()
                                             : Utf16ToUtf8(buffer, static_cast<std::size_t>(end - buffer)));
}

void Form1::Command6_Click() {
  ShellOpen(platform_.shell, "open", kHomePageUrl, {}, {}, platform::kSwShowNormal);
}
void Form1::Command7_Click() {
  ShellOpen(platform_.shell, "open", kFeedbackPageUrl, {}, {}, platform::kSwShowNormal);
}
void Form1::Command4_Click() {
  ShellOpen(platform_.shell, "open", kDonationPageUrl, {}, {}, platform::kSwShowNormal);
}
void Form1::mnuHomepage_Click() {
  Command6_Click();
}
void Form1::mnuFeedback_Click() {
  Command7_Click();
}
void Form1::mnuDonate_Click() {
  Command4_Click();
}
void Form1::mnuAbout_Click() {
  view_.ShowAbout();
}
