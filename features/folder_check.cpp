// The check of every folder: its stored value, the agreement of its two values, and its location on the disk.
#include "features/folder_check.h"

#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "features/usable_path.h"
#include "vocabulary/failure.h"
#include "vocabulary/shell_folder_registry.h"

namespace {

class FolderCheck {
 public:
  FolderCheck(platform::Platform& platform, const ShellFolder& folder, std::vector<FolderProblem>& problems)
      : platform_(platform), locations_(platform), folder_(folder), problems_(problems) {}

  void Run();

 private:
  // The User Shell Folders value's text when it is usable as a path, else nothing (and the problem said).
  bool UsableValue(const StoredValue& value, std::string* text);
  void Add(const char* problem, const std::string& detail) {
    problems_.push_back(FolderProblem{&folder_, problem, detail});
  }

  platform::Platform& platform_;
  FolderLocations locations_;
  const ShellFolder& folder_;
  std::vector<FolderProblem>& problems_;
};

void FolderCheck::Run() {
  FolderLocations::SavedValues values = locations_.Save(folder_);
  std::string stored;
  if (!UsableValue(values.userShellFolders, &stored)) return;
  PathVerdict verdict = JudgePath(locations_, stored);
  if (!verdict.usable) {
    Add(kUnusableValueProblem, UserShellFoldersUnusable(stored, verdict.why));
    return;
  }
  const std::string& location = verdict.expanded;
  RegValue shell = values.shellFolders.HoldsText()
                       ? RegValueFromStored(values.shellFolders.type, values.shellFolders.bytes)
                       : RegValue();
  if (!shell.IsText()) {
    Add(kValuesDisagreeProblem, ShellFoldersHoldNoPath(location));
  } else if (shell.text() != location) {
    Add(kValuesDisagreeProblem, ShellFoldersDisagree(shell.text(), location));
  }
  if (!platform_.files.Exists(location)) {
    Add(kLocationMissingProblem, LocationDoesNotExist(location));
  } else if (!platform_.files.IsFolder(location)) {
    Add(kNotAFolderProblem, LocationIsAFile(location));
  }
}

bool FolderCheck::UsableValue(const StoredValue& value, std::string* text) {
  if (value.state == StoredValue::State::kUnknown) {
    Add(kUnusableValueProblem, WithSystemReason(platform_.system, kUserShellFoldersUnreadable, value.code));
    return false;
  }
  if (value.state == StoredValue::State::kAbsent) {
    Add(kUnusableValueProblem, kNoUserShellFoldersValue);
    return false;
  }
  if (!value.HoldsText()) {
    Add(kUnusableValueProblem, UserShellFoldersNotAPath(value.type));
    return false;
  }
  *text = RegValueFromStored(value.type, value.bytes).text();
  if (text->empty()) {
    Add(kUnusableValueProblem, kUserShellFoldersEmpty);
    return false;
  }
  return true;
}

}  // namespace

std::vector<FolderProblem> CheckFolders(platform::Platform& platform, platform::HKey hive) {
  std::vector<FolderProblem> problems;
  for (const ShellFolder& folder : kShellFolders) {
    if (hive == 0 || folder.hive == hive) FolderCheck(platform, folder, problems).Run();
  }
  return problems;
}
