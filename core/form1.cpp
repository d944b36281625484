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

std::string WriteFailureText(std::int32_t code) {
  if (code == platform::kErrorAccessDenied) return "Access Denied. No changes were made.";
  return "Error " + std::to_string(code) + "\nAn error occurred.";
}

}  // namespace

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

Form1::Form1(platform::Platform& platform, Form1View& view)
    : platform_(platform), view_(view), module2_(platform.registry), backup_(platform, view) {}

void Form1::Form_Load() {
  if (GetWindowsVersionName(platform_.system) != "Windows XP") {
    view_.MsgBox(kRefusalText, kMbOk | kMbIconInformation, kWindowCaption);
    view_.CloseForm();
    return;
  }
  view_.SetCombo1ListIndex(0);
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

void Form1::ReportWrites(std::int32_t firstCode, std::int32_t secondCode, const char* successText) {
  // Both writes matter: the shell reads one key and older programs the other.
  std::int32_t code = firstCode != 0 ? firstCode : secondCode;
  view_.MsgBox(code == 0 ? successText : WriteFailureText(code), kMbOk, kAppTitle);
}

void Form1::Command1_Click() {
  std::string newPath = Trimmed(view_.Text1Text());
  if (newPath.empty()) return;
  std::string name = Trimmed(view_.Combo1Text());
  if (name.empty()) return;
  const SplFolderEntry* entry = FindSplFolderEntry(name);
  if (entry == nullptr) return;

  std::int32_t firstCode = 0;
  std::int32_t secondCode = 0;
  if (std::strcmp(entry->displayName, "Common Desktop") != 0) {
    firstCode =
        module2_.WriteRegValue(entry->hive, kUserShellFoldersKey, entry->valueName, newPath, platform::kRegExpandSz);
    std::string expanded = ExpandText(newPath);
    secondCode = module2_.WriteRegValue(entry->hive, kShellFoldersKey, entry->valueName, expanded, platform::kRegSz);
  } else {
    // Common Desktop has always had its Shell Folders value written first.
    std::string expanded = ExpandText(newPath);
    firstCode = module2_.WriteRegValue(entry->hive, kShellFoldersKey, entry->valueName, expanded, platform::kRegSz);
    secondCode =
        module2_.WriteRegValue(entry->hive, kUserShellFoldersKey, entry->valueName, newPath, platform::kRegExpandSz);
  }
  ReportWrites(firstCode, secondCode, "Successfully done!");
  view_.SetCommand1Enabled(false);
  view_.SetCommand2Enabled(true);
  Retriever();
}

void Form1::Command2_Click() {
  std::string name = Trimmed(view_.Combo1Text());
  if (name.empty()) return;
  const SplFolderEntry* entry = FindSplFolderEntry(name);
  if (entry == nullptr) return;

  std::string expanded = ExpandText(entry->stockDefaultPath);
  std::int32_t firstCode =
      module2_.WriteRegValue(entry->hive, kShellFoldersKey, entry->valueName, expanded, platform::kRegSz);
  std::int32_t secondCode = module2_.WriteRegValue(entry->hive, kUserShellFoldersKey, entry->valueName,
                                                   entry->stockDefaultPath, platform::kRegExpandSz);
  ReportWrites(firstCode, secondCode, "Restored the default values!");
  view_.SetCommand1Enabled(false);
  Retriever();
}

void Form1::Command3_Click() {
  backup_.Run();
}

void Form1::Command5_Click() {
  platform::BrowseInfo browseInfo;
  browseInfo.hwndOwner = view_.Hwnd();
  browseInfo.lpszTitle = kBrowseTitle;
  browseInfo.ulFlags = platform::kBifReturnOnlyFsDirs | platform::kBifDontGoBelowDomain;
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
