// The check of every folder: its stored value, the agreement of its two values, and its location on the disk.
#include "features/folder_check.h"

#include "features/folder_locations.h"
#include "features/usable_path.h"
#include "vocabulary/failure.h"
#include "vocabulary/shell_folder_registry.h"

namespace {

std::string TypeName(std::uint32_t type) {
  switch (type) {
    case platform::kRegBinary:
      return "a REG_BINARY";
    case platform::kRegDword:
      return "a REG_DWORD";
    case platform::kRegMultiSz:
      return "a REG_MULTI_SZ";
    default:
      return "a value of type " + std::to_string(type);
  }
}

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
    Add("unusable value", "User Shell Folders holds " + Quoted(stored) + ": " + verdict.why);
    return;
  }
  const std::string& location = verdict.expanded;
  RegValue shell = values.shellFolders.HoldsText()
                       ? RegValueFromStored(values.shellFolders.type, values.shellFolders.bytes)
                       : RegValue();
  if (!shell.IsText()) {
    Add("values disagree", "Shell Folders holds no path, User Shell Folders " + Quoted(location));
  } else if (shell.text() != location) {
    Add("values disagree", "Shell Folders holds " + Quoted(shell.text()) + ", User Shell Folders " + Quoted(location));
  }
  if (!platform_.files.Exists(location)) {
    Add("location missing", Quoted(location) + " does not exist");
  } else if (!platform_.files.IsFolder(location)) {
    Add("not a folder", Quoted(location) + " is a file, not a folder");
  }
}

bool FolderCheck::UsableValue(const StoredValue& value, std::string* text) {
  if (value.state == StoredValue::State::kUnknown) {
    Add("unusable value", WithSystemReason(platform_.system, "User Shell Folders cannot be read", value.code));
    return false;
  }
  if (value.state == StoredValue::State::kAbsent) {
    Add("unusable value", "User Shell Folders holds no value for it");
    return false;
  }
  if (!value.HoldsText()) {
    Add("unusable value", "User Shell Folders holds " + TypeName(value.type) + ", not a path");
    return false;
  }
  *text = RegValueFromStored(value.type, value.bytes).text();
  if (text->empty()) {
    Add("unusable value", "User Shell Folders holds empty text");
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
