// The backup procedure: regedit exports the four shell-folder keys, and their lines become one registry file
// that the restore is proven to read back as the registry holds the keys.
#include "features/backup.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "features/feature_texts.h"
#include "features/registry_editor.h"
#include "text/ascii_case.h"
#include "text/text_file.h"
#include "text/utf16.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/failure.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/shell_folder_keys.h"

const char* const kBackupFileName = "specialfolders.bak";

namespace {

// The new backup is made beside the old one under this name, and takes its place only once it is proven.
const char* const kNewBackupSuffix = ".new";
// A value that changed while it was backed up: ERROR_INVALID_DATA, as for a backup that would not restore.
constexpr std::int32_t kChangedMeanwhileCode = platform::kErrorInvalidData;

// The registry editors of one run. Whatever a failure abandons is ended and closed, so that no export goes on
// writing into a temporary file that is about to be deleted.
class ExportProcesses {
 public:
  explicit ExportProcesses(platform::Platform& platform) : platform_(platform) {}
  ExportProcesses(const ExportProcesses&) = delete;
  ExportProcesses& operator=(const ExportProcesses&) = delete;
  ~ExportProcesses() {
    for (const Export& started : exports_) platform_.processes.Finish(started.process, 0);
  }

  void Start(const std::string& program, const ShellFolderKey& key, const std::string& file);
  // The exports run side by side; each must end within its own time with exit code 0, so a hung editor costs at
  // most that long. The first that does not ends the backup.
  void WaitForAll();

 private:
  struct Export {
    platform::ProcessHandle process;
    std::string key;
  };

  platform::Platform& platform_;
  std::vector<Export> exports_;
};

void ExportProcesses::Start(const std::string& program, const ShellFolderKey& key, const std::string& file) {
  std::string commandLine = ExportCommandLine(file, key);
  platform::ProcessHandle process = platform::ProcessHandle::kNone;
  std::int32_t code = platform_.processes.Start(program, commandLine, &process);
  if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotStart, commandLine, code));
  exports_.push_back(Export{process, key.FullName()});
}

void ExportProcesses::WaitForAll() {
  platform::System& system = platform_.system;
  while (!exports_.empty()) {
    Export started = exports_.front();
    exports_.erase(exports_.begin());
    platform::ProcessEnd end = platform_.processes.Finish(started.process, kExportTimeoutMs);
    if (end.how == platform::ProcessEnd::How::kEnded) {
      throw Failure(platform::kErrorWaitTimeout,
                    DescribeFailure(system, kCannotFinishExportOf, started.key, platform::kErrorWaitTimeout));
    }
    if (end.how == platform::ProcessEnd::How::kLost) {
      throw Failure(platform::kErrorInvalidHandle,
                    DescribeFailure(system, kExportEndUnknown, started.key, platform::kErrorInvalidHandle));
    }
    if (end.exitCode != 0) {
      throw Failure(platform::kErrorCantRead,
                    WithSystemReason(system, ExportEndedWithCode(end.exitCode, started.key), platform::kErrorCantRead));
    }
  }
}

// The four exports as one registry file: every line of each export but its header line, in export order, in
// UTF-16LE whatever each export came in. Only a line that is the header itself is left out: a value may hold
// the header's words.
std::string MergedExports(const std::array<std::string, 4>& exports) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < exports.size(); ++i) {
    DecodedText decoded = DecodeTextFile(exports[i]);
    if (!decoded.valid) {
      throw Failure(platform::kErrorInvalidData, ExportNotText(kShellFolderKeys[i].FullName()));
    }
    for (std::string& line : SplitLines(decoded.text)) {
      if (line != kRegistryFileHeader) lines.push_back(std::move(line));
    }
  }
  std::string merged = RegistryFileBytes(lines);
  if (merged.size() > kMaxRegistryFileBytes) throw Failure(platform::kErrorFileTooLarge, KeysTooLargeToRestore());
  return merged;
}

// Whether restoring the backup gives the value back. A text value is exported as its characters up to the first
// NUL, which the restore writes back with one terminator: the same text, whatever else followed it.
bool RestoresAsHeld(const platform::RegistryValue& held, const RegistryFileValue& backedUp) {
  if (backedUp.deleted || held.type != backedUp.type) return false;
  if (IsTextType(held.type)) return TextUpToNul(held.bytes) == TextUpToNul(backedUp.bytes);
  return held.bytes == backedUp.bytes;
}

// A control character that no registry file can hold in a line; a tab, a CR and a LF have their escapes.
bool HoldsUnwritableControl(const std::string& text) {
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') return true;
  }
  return false;
}

// The first value of held that now does not hold as it did, by name without regard to case; empty when none.
std::string FirstChanged(const std::vector<platform::RegistryValue>& held,
                         const std::vector<platform::RegistryValue>& now) {
  std::unordered_map<std::string, const platform::RegistryValue*> current;
  for (const platform::RegistryValue& value : now) current[AsciiLowered(value.name)] = &value;
  for (const platform::RegistryValue& value : held) {
    auto found = current.find(AsciiLowered(value.name));
    if (found == current.end() || found->second->type != value.type || found->second->bytes != value.bytes) {
      return value.name;
    }
  }
  return std::string();
}

// The key's values as the backup holds them against those the registry held while it was exported: the same
// names, and each restored as it is held.
void CheckKeyRestorable(const ShellFolderKey& key, const std::vector<platform::RegistryValue>& held,
                        const std::vector<RegistryFileValue>& values) {
  std::unordered_map<std::string, const RegistryFileValue*> backedUp;
  for (const RegistryFileValue& value : values) backedUp[AsciiLowered(value.name)] = &value;
  for (const platform::RegistryValue& value : held) {
    auto found = backedUp.find(AsciiLowered(value.name));
    if (found == backedUp.end()) {
      throw Failure(platform::kErrorInvalidData, MissingFromNewBackup(key.FullName(), value.name));
    }
    if (!RestoresAsHeld(value, *found->second)) {
      throw Failure(platform::kErrorInvalidData, NotRestoredAsHeld(key.FullName(), value.name));
    }
  }
  if (values.size() != held.size()) {
    throw Failure(platform::kErrorInvalidData, ExtraValuesInNewBackup(key.FullName()));
  }
}

// Deletes the four export files when it goes, whatever ended the exports: before anything is written.
class ExportFilesRemover {
 public:
  explicit ExportFilesRemover(std::function<void()> remove) : remove_(std::move(remove)) {}
  ExportFilesRemover(const ExportFilesRemover&) = delete;
  ExportFilesRemover& operator=(const ExportFilesRemover&) = delete;
  ~ExportFilesRemover() { remove_(); }

 private:
  std::function<void()> remove_;
};

}  // namespace

Outcome RegistryBackup::Run(const std::string& targetFile) {
  Outcome outcome;
  try {
    outcome.file = targetFile.empty() ? DesktopFolder(&outcome.notices) + "\\" + kBackupFileName : targetFile;
    SetExportFiles();
    RefuseExportFileAsTarget(outcome.file);
    RefuseReadOnlyTarget(outcome.file);
    SessionLock lock(platform_);
    if (lock.code() != 0) throw Failure(lock.code(), lock.FailureText());
    // A change that was cut off is undone before the keys are saved: a backup never holds half a change.
    for (const std::string& notice : UndoCutOffChange(platform_, lock.abandoned())) outcome.notices.push_back(notice);
    SaveKeys(outcome.file);
    outcome.result = Outcome::Result::kDone;
    outcome.message = kBackedUp;
    return outcome;
  } catch (const Failure& failure) {
    outcome.code = failure.code();
    outcome.message = failure.what();
  } catch (const std::bad_alloc&) {
    outcome.code = platform::kErrorNotEnoughMemory;
    outcome.message = WithSystemReason(platform_.system, kBackupBrokeOff, outcome.code);
  } catch (const std::exception& failure) {
    outcome.code = platform::kErrorFunctionFailed;
    outcome.message =
        WithSystemReason(platform_.system, std::string(kBackupBrokeOff) + ": " + failure.what(), outcome.code);
  }
  outcome.message = std::string(kNotBackedUp) + "\n" + outcome.message;
  return outcome;
}

// The exports are named by full paths in a temporary folder, always: a bare name would be the current folder's
// file to Zolvane and the system folder's to regedit, and files of neither are the backup's own.
void RegistryBackup::SetExportFiles() {
  std::string tempFolder = platform_.system.TempFolder();
  bool full = tempFolder.size() >= 3 &&
              ((tempFolder[1] == ':' && tempFolder[2] == '\\') || tempFolder.compare(0, 2, "\\\\") == 0);
  if (!full) {
    throw Failure(platform::kErrorPathNotFound, kNoTempFolder);
  }
  for (std::size_t i = 0; i < exportFiles_.size(); ++i) {
    exportFiles_[i] = tempFolder + "splfolders" + std::to_string(i + 1) + ".txt";
  }
}

// The exports are deleted before the backup is written: a backup into one of them would be lost. The files are
// compared, not their names: "SPLF~LWB.TXT" and "\\\\?\\C:\\..." name the same file as its long path.
void RegistryBackup::RefuseExportFileAsTarget(const std::string& target) {
  std::string targetFile = platform_.files.LongFullPath(target);
  for (const std::string& exportFile : exportFiles_) {
    if (!SameIgnoringAsciiCase(targetFile, platform_.files.LongFullPath(exportFile))) continue;
    throw Failure(platform::kErrorInvalidData, ExportFileAsTarget(target));
  }
}

// The system may let a read-only file be replaced (Wine does, Windows does not): the backup never does.
void RegistryBackup::RefuseReadOnlyTarget(const std::string& target) {
  if (!platform_.files.IsReadOnly(target)) return;
  throw Failure(platform::kErrorAccessDenied, ReadOnlyTarget(target));
}

// Only the verified new file takes the old one's place, in one step; a failing operation throws Failure.
void RegistryBackup::SaveKeys(const std::string& backupFile) {
  std::array<std::string, 4> exports;
  {
    ExportFilesRemover remover([this] { DeleteExportFiles(); });
    std::int32_t leftoverCode = 0;
    std::string leftoverFailure = DeleteExportFiles(&leftoverCode);
    if (!leftoverFailure.empty()) throw Failure(leftoverCode, leftoverFailure);
    exports = ExportKeys();
  }
  std::string bytes = MergedExports(exports);
  CheckRestorable(bytes);
  ReplaceBackup(backupFile, bytes);
}

// The editor's full path; without a Windows folder there is none to run, and that ends the run.
std::string RegistryBackup::FindRegistryEditor() {
  std::string path = RegistryEditorPath(platform_.system);
  if (path.empty()) throw Failure(platform::kErrorFileNotFound, kNoWindowsFolder);
  return path;
}

std::array<std::string, 4> RegistryBackup::ExportKeys() {
  std::string regedit = FindRegistryEditor();
  {
    ExportProcesses exports(platform_);
    for (std::size_t i = 0; i < exportFiles_.size(); ++i) exports.Start(regedit, kShellFolderKeys[i], exportFiles_[i]);
    // The values the exports must hold are read while the editors write them, which the check then need not
    // wait for. A value changed meanwhile makes the two differ, and the new backup is not kept.
    ReadHeldValues();
    for (std::size_t i = 0; i < kShellFolderKeys.size(); ++i) CheckCarriable(i);
    exports.WaitForAll();
  }
  std::array<std::string, 4> bytes;
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = ReadExport(i);
  CheckUnchanged();
  return bytes;
}

// What no registry file carries as the registry holds it stops the backup before its file is read, saying which
// value and why: a control character (but a tab and a line break, which the editor writes as escapes), half of
// a UTF-16 pair (which a value's name shows as U+FFFD), or a REG_DWORD that is not 4 bytes long.
void RegistryBackup::CheckCarriable(std::size_t index) {
  const ShellFolderKey& key = kShellFolderKeys[index];
  for (const platform::RegistryValue& value : heldValues_[index]) {
    std::string text = IsTextType(value.type) ? TextUpToNul(value.bytes) : std::string();
    std::string units;  // a text value's code units up to its first NUL
    for (std::size_t i = 0; IsTextType(value.type) && i + 1 < value.bytes.size(); i += 2) {
      if (value.bytes[i] == '\0' && value.bytes[i + 1] == '\0') break;
      units.append(value.bytes, i, 2);
    }
    const char* reason = nullptr;
    if (HoldsUnwritableControl(value.name) || HoldsUnwritableControl(text)) {
      reason = kHoldsControlCharacter;
    } else if (value.name.find("\xEF\xBF\xBD") != std::string::npos || !IsValidUtf16Le(units)) {
      reason = kHoldsHalfACharacterPair;
    } else if (value.type == platform::kRegDword && value.bytes.size() != 4) {
      reason = value.bytes.size() > 4 ? kDwordTooLong : kDwordTooShort;
    }
    if (reason == nullptr) continue;
    throw Failure(platform::kErrorInvalidData, NotCarriable(key.FullName(), value.name, reason));
  }
}

// The keys read again once the exports are read: a value another program changed in the meantime would make the
// backup differ from the registry.
void RegistryBackup::CheckUnchanged() {
  for (std::size_t i = 0; i < kShellFolderKeys.size(); ++i) {
    const ShellFolderKey& key = kShellFolderKeys[i];
    std::vector<platform::RegistryValue> now;
    std::int32_t code = platform_.registry.ReadValues(key.hive, key.path, &now);
    if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotReadAction, key.FullName(), code));
    std::string changed = FirstChanged(heldValues_[i], now);
    if (changed.empty() && now.size() == heldValues_[i].size()) continue;
    if (changed.empty()) changed = now.size() > heldValues_[i].size() ? now.back().name : heldValues_[i].back().name;
    throw Failure(kChangedMeanwhileCode, ChangedWhileBackingUp(key.FullName(), changed));
  }
}

void RegistryBackup::ReadHeldValues() {
  for (std::size_t i = 0; i < kShellFolderKeys.size(); ++i) {
    const ShellFolderKey& key = kShellFolderKeys[i];
    std::int32_t code = platform_.registry.ReadValues(key.hive, key.path, &heldValues_[i]);
    if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotReadAction, key.FullName(), code));
  }
}

// regedit can end with exit code 0 without having written anything (Wine's does when it cannot open the key).
std::string RegistryBackup::ReadExport(std::size_t index) {
  const std::string& path = exportFiles_[index];
  std::string bytes;
  std::int32_t code =
      platform_.files.Exists(path) ? platform_.files.ReadWholeFile(path, kMaxRegistryFileBytes, &bytes) : 0;
  if (code == platform::kErrorFileTooLarge) throw Failure(code, KeysTooLargeToRestore());
  if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotReadAction, path, code));
  if (bytes.empty()) {
    throw Failure(platform::kErrorCantRead,
                  WithSystemReason(platform_.system, ExportEmpty(kShellFolderKeys[index].FullName(), path),
                                   platform::kErrorCantRead));
  }
  return bytes;
}

// The new backup read the way the restore reads it: a section for each of the four keys, and for each key
// exactly the values the registry holds now.
void RegistryBackup::CheckRestorable(const std::string& bytes) {
  RegistryFile parsed = ParseRegistryFile(bytes);
  if (!parsed.readable) {
    throw Failure(platform::kErrorInvalidData, std::string(kNewBackupNotRestorable) + "\n" +
                                                   OffendingLine(parsed.offendingLineNumber, parsed.offendingLine) +
                                                   parsed.reason);
  }
  for (std::size_t i = 0; i < kShellFolderKeys.size(); ++i) {
    if (!parsed.sections[i]) {
      throw Failure(platform::kErrorInvalidData, NoSectionInNewBackup(kShellFolderKeys[i].FullName()));
    }
    std::vector<RegistryFileValue> values;
    for (const RegistryFileValue& value : parsed.values) {
      if (value.key == &kShellFolderKeys[i]) values.push_back(value);
    }
    CheckKeyRestorable(kShellFolderKeys[i], heldValues_[i], values);
  }
}

// The lock lets no other run make this file now: one that is there was left by a run that ended on the way.
void RegistryBackup::ReplaceBackup(const std::string& backupFile, const std::string& bytes) {
  platform::Files& files = platform_.files;
  std::string newBackup = backupFile + kNewBackupSuffix;
  if (files.Exists(newBackup)) {
    std::int32_t code = files.Delete(newBackup);
    if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotDeleteLeftover, newBackup, code));
  }
  std::int32_t code = files.WriteNewFile(newBackup, bytes);
  if (code != 0) {
    // A file that was there after all is another's, and stays.
    if (code != platform::kErrorFileExists) files.Delete(newBackup);
    throw Failure(code, DescribeFailure(platform_.system, kCannotWriteAction, newBackup, code));
  }
  try {
    std::string written;
    code = files.ReadWholeFile(newBackup, bytes.size(), &written);
    if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotReadAction, newBackup, code));
    if (written != bytes) {
      throw Failure(platform::kErrorInvalidData, NewBackupNotReadBack(newBackup));
    }
    code = files.Replace(newBackup, backupFile);
    if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotReplace, backupFile, code));
  } catch (const std::exception&) {
    // Nothing half-made stays beside the previous backup, which is untouched.
    files.Delete(newBackup);
    throw;
  }
}

std::string RegistryBackup::DesktopFolder(std::vector<std::string>* notices) {
  using Result = platform::DesktopFolderAnswer::Result;
  platform::DesktopFolderAnswer answer = platform_.shell.DesktopFolder();
  if (answer.result == Result::kInvalidFolder) notices->push_back(kInvalidFolderId);
  if (answer.result == Result::kMissing) notices->push_back(kFolderDoesNotExist);
  return answer.result == Result::kFound ? answer.path : std::string();
}

std::string RegistryBackup::DeleteExportFiles(std::int32_t* firstCode) {
  std::string firstFailure;
  for (const std::string& path : exportFiles_) {
    if (!platform_.files.Exists(path)) continue;
    std::int32_t code = platform_.files.Delete(path);
    if (code == 0 || !firstFailure.empty()) continue;
    firstFailure = DescribeFailure(platform_.system, kCannotDeleteAction, path, code);
    if (firstCode != nullptr) *firstCode = code;
  }
  return firstFailure;
}
