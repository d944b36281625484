// The backup procedure: regedit exports the four shell-folder keys, and their lines become one registry file
// that the restore is proven to read back as the registry holds the keys.
#include "backup/backup.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "backup/backup_lock.h"
#include "backup/registry_editor.h"
#include "backup/registry_file.h"
#include "backup/shell_folder_keys.h"
#include "backup/system_error.h"
#include "text/ascii_case.h"
#include "text/text_file.h"
#include "text/utf16.h"

const char* const kBackupFileName = "specialfolders.bak";

namespace {

// The new backup is made beside the old one under this name, and takes its place only once it is proven.
const char* const kNewBackupSuffix = ".new";
constexpr std::uint32_t kShgfpTypeCurrent = 0;

// A file, process-start or delete operation that failed: it ends the backup, never the program.
// It keeps its text in a plain string: std::runtime_error would link a second string implementation.
class BackupFailure : public std::exception {
 public:
  BackupFailure(std::string text, std::int32_t code) : text_(std::move(text)), code_(code) {}
  const char* what() const noexcept override { return text_.c_str(); }
  std::int32_t code() const { return code_; }

 private:
  std::string text_;
  std::int32_t code_;
};

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string ExportCommandLine(const std::string& tempFile, const ShellFolderKey& key) {
  return "regedit /e " + Quoted(tempFile) + " " + Quoted(key.FullName());
}

// The registry editors of one run. Whatever a failure abandons is ended and every handle closed, so that
// no export goes on writing into a temporary file that is about to be deleted.
class ExportProcesses {
 public:
  explicit ExportProcesses(platform::Processes& processes) : processes_(processes) {}
  ExportProcesses(const ExportProcesses&) = delete;
  ExportProcesses& operator=(const ExportProcesses&) = delete;
  ~ExportProcesses();

  void Start(const std::string& program, const std::string& commandLine);
  // Each export must end within its time with exit code 0; the first that does not ends the backup.
  void WaitForAll();

 private:
  struct Export {
    platform::ProcessHandle process;
    std::string key;
    bool ended;
  };

  void WaitFor(Export& started);
  void End(platform::ProcessHandle process);

  platform::Processes& processes_;
  std::vector<Export> exports_;
};

ExportProcesses::~ExportProcesses() {
  for (const Export& started : exports_) {
    if (!started.ended) End(started.process);
    processes_.CloseHandle(started.process);
  }
}

void ExportProcesses::Start(const std::string& program, const std::string& commandLine) {
  platform::ProcessHandle process = platform::ProcessHandle::kNone;
  std::int32_t code = StartRegistryEditor(processes_, program, commandLine, &process);
  if (code != 0) throw BackupFailure(DescribeFailure("Cannot start", commandLine, code), code);
  // The key is the command line's last quoted text.
  std::size_t keyStart = commandLine.rfind('"', commandLine.size() - 2) + 1;
  exports_.push_back(Export{process, commandLine.substr(keyStart, commandLine.size() - 1 - keyStart), false});
}

// The exports run side by side; each wait has its own limit, so a hung editor costs at most that long.
void ExportProcesses::WaitForAll() {
  for (Export& started : exports_) WaitFor(started);
}

void ExportProcesses::WaitFor(Export& started) {
  std::uint32_t waited = processes_.WaitForSingleObject(started.process, kExportTimeoutMs);
  if (waited == platform::kWaitTimeout) {
    throw BackupFailure(DescribeFailure("Cannot finish the export of", started.key, platform::kErrorWaitTimeout),
                        platform::kErrorWaitTimeout);
  }
  std::uint32_t exitCode = 0;
  if (waited != platform::kWaitObject0 || processes_.GetExitCodeProcess(started.process, &exitCode) == 0) {
    throw BackupFailure(DescribeFailure("Cannot learn how the registry editor ended the export of", started.key,
                                        platform::kErrorInvalidHandle),
                        platform::kErrorInvalidHandle);
  }
  started.ended = true;
  if (exitCode != 0) {
    throw BackupFailure(WithSystemReason("The registry editor ended with exit code " + std::to_string(exitCode) +
                                             " while exporting " + Quoted(started.key),
                                         platform::kErrorCantRead),
                        platform::kErrorCantRead);
  }
}

// TerminateProcess only asks; the wait lets the process let go of its file before it is deleted.
void ExportProcesses::End(platform::ProcessHandle process) {
  processes_.TerminateProcess(process, kEndedEditorExitCode);
  processes_.WaitForSingleObject(process, kExportTimeoutMs);
}

// The four exports as one registry file: one header, then every line of each export but its header line, in
// export order, in UTF-16LE whatever each export came in. Only a line that is the header itself is left out:
// a value may hold the header's words.
std::string MergedExports(const std::array<std::string, 4>& exports) {
  std::vector<std::string> lines = {kRegistryFileHeader};
  for (std::size_t i = 0; i < exports.size(); ++i) {
    DecodedText decoded = DecodeTextFile(exports[i]);
    if (!decoded.valid) {
      throw BackupFailure("The registry editor's export of " + Quoted(kShellFolderKeys[i].FullName()) +
                              " is neither UTF-16 nor UTF-8 text.",
                          platform::kErrorInvalidData);
    }
    for (std::string& line : SplitLines(decoded.text)) {
      if (line != kRegistryFileHeader) lines.push_back(std::move(line));
    }
  }
  return EncodeUtf16LeLines(lines);
}

bool IsTextType(std::uint32_t type) {
  return type == platform::kRegSz || type == platform::kRegExpandSz;
}

// A text value's characters up to its first NUL, which is as far as the shell reads it.
std::string TextUpToNul(const std::string& bytes) {
  std::string text = Utf16LeToUtf8(bytes.substr(0, bytes.size() / 2 * 2));
  return text.substr(0, text.find('\0'));
}

// Whether restoring the backup gives the value back. A text value is exported as its characters up to the first
// NUL, which the restore writes back with one terminator: the same text, whatever else followed it.
bool RestoresAsHeld(const platform::RegistryValue& held, const RegistryFileValue& backedUp) {
  if (backedUp.deleted || held.type != backedUp.type) return false;
  if (IsTextType(held.type)) return TextUpToNul(held.bytes) == TextUpToNul(backedUp.bytes);
  return held.bytes == backedUp.bytes;
}

std::string ValueName(const std::string& name, const ShellFolderKey& key) {
  return (name.empty() ? std::string("The default value") : "The value " + Quoted(name)) + " of " + key.FullName();
}

// The key's values as the backup holds them against those the registry holds now: the same names, and each
// restored as it is held.
void CheckKeyRestorable(platform::Registry& registry, const ShellFolderKey& key,
                        const std::vector<RegistryFileValue>& values) {
  std::vector<platform::RegistryValue> held;
  std::int32_t code = registry.ReadValues(key.hive, key.path, &held);
  if (code != 0) throw BackupFailure(DescribeFailure("Cannot read", key.FullName(), code), code);
  for (const platform::RegistryValue& value : held) {
    auto found = std::find_if(values.begin(), values.end(), [&](const RegistryFileValue& backedUp) {
      return SameIgnoringAsciiCase(backedUp.name, value.name);
    });
    if (found == values.end()) {
      throw BackupFailure(ValueName(value.name, key) + " is missing from the new backup, so it was not kept.",
                          platform::kErrorInvalidData);
    }
    if (!RestoresAsHeld(value, *found)) {
      throw BackupFailure(ValueName(value.name, key) +
                              " would not be restored as the registry holds it, so the new backup was not kept.",
                          platform::kErrorInvalidData);
    }
  }
  if (values.size() != held.size()) {
    throw BackupFailure(
        "The new backup holds values of " + key.FullName() + " that the registry does not, so it was not kept.",
        platform::kErrorInvalidData);
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

BackupOutcome RegistryBackup::Run(const std::string& targetFile) {
  notices_.clear();
  BackupOutcome outcome;
  try {
    outcome.file = targetFile.empty() ? DesktopBackupFile() : targetFile;
    SetExportFiles();
    RefuseExportFileAsTarget(outcome.file);
    BackupLock lock(platform_.locks);
    if (lock.code() != 0) throw BackupFailure(lock.FailureText(), lock.code());
    SaveKeys(outcome.file);
    outcome.succeeded = true;
  } catch (const BackupFailure& failure) {
    outcome.failure = failure.what();
    outcome.code = failure.code();
  } catch (const std::bad_alloc&) {
    outcome.code = platform::kErrorNotEnoughMemory;
    outcome.failure = WithSystemReason("The backup broke off", outcome.code);
  } catch (const std::exception& failure) {
    outcome.code = platform::kErrorFunctionFailed;
    outcome.failure = WithSystemReason(std::string("The backup broke off: ") + failure.what(), outcome.code);
  }
  outcome.notices = std::move(notices_);
  return outcome;
}

void RegistryBackup::SetExportFiles() {
  std::string tempDir = GetTempDir();
  for (std::size_t i = 0; i < exportFiles_.size(); ++i) {
    exportFiles_[i] = tempDir + "splfolders" + std::to_string(i + 1) + ".txt";
  }
}

// The exports are deleted before the backup is written: a backup into one of them would be lost.
void RegistryBackup::RefuseExportFileAsTarget(const std::string& target) {
  for (const std::string& exportFile : exportFiles_) {
    if (!SameIgnoringAsciiCase(target, exportFile)) continue;
    throw BackupFailure(Quoted(target) + " is a temporary file of the backup's own; choose another file.",
                        platform::kErrorInvalidData);
  }
}

// Only the verified new file takes the old one's place, in one step; a failing operation throws BackupFailure.
void RegistryBackup::SaveKeys(const std::string& backupFile) {
  std::array<std::string, 4> exports;
  {
    ExportFilesRemover remover([this] { DeleteExportFiles(); });
    std::int32_t leftoverCode = 0;
    std::string leftoverFailure = DeleteExportFiles(&leftoverCode);
    if (!leftoverFailure.empty()) throw BackupFailure(leftoverFailure, leftoverCode);
    exports = ExportKeys();
  }
  std::string bytes = MergedExports(exports);
  CheckRestorable(bytes);
  ReplaceBackup(backupFile, bytes);
}

// The editor's full path; without a Windows folder there is none to run, and that ends the run.
std::string RegistryBackup::FindRegistryEditor() {
  std::string path = RegistryEditorPath(platform_.system);
  if (path.empty()) {
    throw BackupFailure("Cannot find the Windows folder, which holds the registry editor.",
                        platform::kErrorFileNotFound);
  }
  return path;
}

std::array<std::string, 4> RegistryBackup::ExportKeys() {
  std::string regedit = FindRegistryEditor();
  {
    ExportProcesses exports(platform_.processes);
    for (std::size_t i = 0; i < exportFiles_.size(); ++i) {
      exports.Start(regedit, ExportCommandLine(exportFiles_[i], kShellFolderKeys[i]));
    }
    exports.WaitForAll();
  }
  std::array<std::string, 4> bytes;
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = ReadExport(i);
  return bytes;
}

// regedit can end with exit code 0 without having written anything (Wine's does when it cannot open the key).
std::string RegistryBackup::ReadExport(std::size_t index) {
  const std::string& path = exportFiles_[index];
  std::string bytes;
  std::int32_t code = FileExists(path) ? platform_.files.ReadWholeFile(path, kMaxRegistryFileBytes, &bytes) : 0;
  if (code != 0) throw BackupFailure(DescribeFailure("Cannot read", path, code), code);
  if (bytes.empty()) {
    throw BackupFailure(WithSystemReason("The registry editor wrote nothing for " +
                                             Quoted(kShellFolderKeys[index].FullName()) + " into " + Quoted(path),
                                         platform::kErrorCantRead),
                        platform::kErrorCantRead);
  }
  return bytes;
}

// The new backup read the way the restore reads it: a section for each of the four keys, and for each key
// exactly the values the registry holds now.
void RegistryBackup::CheckRestorable(const std::string& bytes) {
  RegistryFile parsed = ParseRegistryFile(bytes);
  if (!parsed.readable) {
    std::string line = parsed.offendingLineNumber > 0
                           ? "Line " + std::to_string(parsed.offendingLineNumber) + ": " + parsed.offendingLine + "\n"
                           : std::string();
    throw BackupFailure("The new backup could not be restored, so it was not kept.\n" + line + parsed.reason,
                        platform::kErrorInvalidData);
  }
  for (std::size_t i = 0; i < kShellFolderKeys.size(); ++i) {
    if (!parsed.sections[i]) {
      throw BackupFailure("The new backup holds no section for " + kShellFolderKeys[i].FullName() + ".",
                          platform::kErrorInvalidData);
    }
    std::vector<RegistryFileValue> values;
    for (const RegistryFileValue& value : parsed.values) {
      if (value.key == &kShellFolderKeys[i]) values.push_back(value);
    }
    CheckKeyRestorable(platform_.registry, kShellFolderKeys[i], values);
  }
}

// The lock lets no other run make this file now: one that is there was left by a run that ended on the way.
void RegistryBackup::ReplaceBackup(const std::string& backupFile, const std::string& bytes) {
  std::string newBackup = backupFile + kNewBackupSuffix;
  if (FileExists(newBackup)) {
    std::int32_t code = platform_.files.DeleteFileW(newBackup);
    if (code != 0) throw BackupFailure(DescribeFailure("Cannot delete the leftover", newBackup, code), code);
  }
  std::int32_t code = platform_.files.WriteNewFile(newBackup, bytes);
  if (code != 0) {
    // A file that was there after all is another's, and stays.
    if (code != platform::kErrorFileExists) platform_.files.DeleteFileW(newBackup);
    throw BackupFailure(DescribeFailure("Cannot write", newBackup, code), code);
  }
  try {
    std::string written;
    code = platform_.files.ReadWholeFile(newBackup, bytes.size(), &written);
    if (code != 0) throw BackupFailure(DescribeFailure("Cannot read", newBackup, code), code);
    if (written != bytes) {
      throw BackupFailure("The new backup " + Quoted(newBackup) + " does not read back as it was written.",
                          platform::kErrorInvalidData);
    }
    code = platform_.files.MoveFileExW(newBackup, backupFile,
                                       platform::kMovefileReplaceExisting | platform::kMovefileWriteThrough);
    if (code != 0) throw BackupFailure(DescribeFailure("Cannot replace", backupFile, code), code);
  } catch (const std::exception&) {
    // Nothing half-made stays beside the previous backup, which is untouched.
    platform_.files.DeleteFileW(newBackup);
    throw;
  }
}

std::string RegistryBackup::GetFolderPath(int folder) {
  std::string path;
  std::int32_t result = platform_.shell.SHGetFolderPathW(
      platform::WindowHandle::kNone, folder | platform::kCsidlFlagCreate, 0, kShgfpTypeCurrent, &path);
  if (result == platform::kEInvalidArg) {
    notices_.push_back("An invalid folder ID was specified");
    return std::string();
  }
  if (result == platform::kSOk) return path;
  if (result == platform::kSFalse) notices_.push_back("The folder does not exist");
  return std::string();
}

std::string RegistryBackup::DesktopBackupFile() {
  return GetFolderPath(platform::kCsidlDesktop) + "\\" + kBackupFileName;
}

std::string RegistryBackup::GetTempDir() {
  std::string buffer;
  std::uint32_t length = platform_.files.GetTempPathW(static_cast<std::uint32_t>(platform::kMaxPath), &buffer);
  return length == 0 ? std::string() : buffer;
}

bool RegistryBackup::FileExists(const std::string& path) {
  return platform_.files.GetFileAttributesW(path) != platform::kInvalidFileAttributes;
}

std::string RegistryBackup::DeleteExportFiles(std::int32_t* firstCode) {
  std::string firstFailure;
  for (const std::string& path : exportFiles_) {
    if (!FileExists(path)) continue;
    std::int32_t code = platform_.files.DeleteFileW(path);
    if (code == 0 || !firstFailure.empty()) continue;
    firstFailure = DescribeFailure("Cannot delete", path, code);
    if (firstCode != nullptr) *firstCode = code;
  }
  return firstFailure;
}
