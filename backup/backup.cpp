// The backup procedure: regedit exports the four shell-folder keys, and their lines become one registry file.
#include "backup/backup.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "backup/registry_editor.h"
#include "backup/system_error.h"
#include "text/ascii_case.h"

const char* const kBackupFileName = "specialfolders.bak";

namespace {

// The new backup is made beside the old one under this name, and takes its place only once it is complete.
const char* const kNewBackupSuffix = ".new";
const char* const kHeaderText = "Windows Registry Editor Version 5.00";
constexpr std::uint32_t kShgfpTypeCurrent = 0;

// In export order, which is the order of the sections in the backup file.
const char* const kExportKeys[4] = {
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
};

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

std::string ExportCommandLine(const std::string& tempFile, const char* key) {
  return "regedit /e \"" + tempFile + "\" \"" + key + "\"";
}

// A file that takes in UTF-16LE lines becomes UTF-16LE as a whole, the encoding regedit imports; it is UTF-8
// only when every export was.
void AppendLines(TextFile& destination, const std::vector<std::string>& lines, TextEncoding encoding) {
  destination.lines.insert(destination.lines.end(), lines.begin(), lines.end());
  if (encoding == TextEncoding::kUtf16Le) destination.encoding = TextEncoding::kUtf16Le;
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
  // True when every export ended within its time with exit code 0.
  bool WaitForAll();

 private:
  struct Export {
    platform::ProcessHandle process;
    bool ended;
  };

  bool WaitFor(platform::ProcessHandle process);
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
  exports_.push_back(Export{process, false});
}

// The exports run side by side; each wait has its own limit, so a hung editor costs at most that long.
bool ExportProcesses::WaitForAll() {
  bool allSucceeded = true;
  for (Export& started : exports_) {
    allSucceeded = WaitFor(started.process) && allSucceeded;
    started.ended = true;
  }
  return allSucceeded;
}

bool ExportProcesses::WaitFor(platform::ProcessHandle process) {
  if (processes_.WaitForSingleObject(process, kExportTimeoutMs) != platform::kWaitObject0) {
    End(process);
    return false;
  }
  std::uint32_t exitCode = 0;
  return processes_.GetExitCodeProcess(process, &exitCode) != 0 && exitCode == 0;
}

// TerminateProcess only asks; the wait lets the process let go of its file before it is deleted.
void ExportProcesses::End(platform::ProcessHandle process) {
  processes_.TerminateProcess(process, kEndedEditorExitCode);
  processes_.WaitForSingleObject(process, kExportTimeoutMs);
}

// Registry names match without regard to case, and regedit writes a key as the registry holds it.
bool HasSection(const std::vector<std::string>& lines, const char* key) {
  std::string heading = std::string("[") + key + "]";
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return SameIgnoringAsciiCase(line, heading); });
}

}  // namespace

BackupOutcome RegistryBackup::Run(const std::string& targetFile) {
  notices_.clear();
  backupFile = targetFile.empty() ? DesktopBackupFile() : targetFile;
  std::string tempDir = GetTempDir();
  for (std::size_t i = 0; i < exportFiles.size(); ++i) {
    exportFiles[i] = tempDir + "splfolders" + std::to_string(i + 1) + ".txt";
  }

  BackupOutcome outcome;
  try {
    outcome.succeeded = SaveKeys();
    if (!outcome.succeeded) outcome.code = platform::kErrorCantRead;
  } catch (const BackupFailure& failure) {
    outcome.failure = failure.what();
    outcome.code = failure.code();
  } catch (const std::exception& failure) {
    outcome.failure = failure.what();
    outcome.code = platform::kErrorNotEnoughMemory;
  }
  // The outcome above stands: a file that cannot be deleted now goes at the start of the next run, which
  // reports it if it still cannot.
  DeleteExportFiles();
  outcome.notices = std::move(notices_);
  return outcome;
}

// Whether the backup file now holds all four keys; a failing operation throws BackupFailure. Once the verified
// new file has taken the old one's place, the backup is there: the move does it in one step.
bool RegistryBackup::SaveKeys() {
  std::int32_t leftoverCode = 0;
  std::string leftoverFailure = DeleteExportFiles(&leftoverCode);
  if (!leftoverFailure.empty()) throw BackupFailure(leftoverFailure, leftoverCode);
  if (!ExportKeys()) return false;

  // From the last into the first: each file then holds its own export and all that follow it.
  for (std::size_t i = exportFiles.size() - 1; i > 0; --i) JoinFile(exportFiles[i], exportFiles[i - 1]);
  std::string newBackup = backupFile + kNewBackupSuffix;
  try {
    WriteNewBackup(newBackup);
    CheckNewBackup(newBackup);
    std::int32_t code = platform_.files.MoveFileExW(
        newBackup, backupFile, platform::kMovefileReplaceExisting | platform::kMovefileWriteThrough);
    if (code != 0) throw BackupFailure(DescribeFailure("Cannot replace", backupFile, code), code);
  } catch (const std::exception&) {
    // Nothing half-made stays beside the previous backup, which is untouched.
    platform_.files.DeleteFileW(newBackup);
    throw;
  }
  return true;
}

// One header for the whole file in place of the four exports' own, which the filter leaves out, so that
// regedit can import the backup again.
void RegistryBackup::WriteNewBackup(const std::string& path) {
  WriteText(path, TextFile{TextEncoding::kUtf8, {kHeaderText}});
  FilterFile(exportFiles[0], path, kHeaderText);
}

// Read back from the disk, the new backup must be one whole registry file: the header first, and a section
// for each of the four keys. An export read short, or a write that did not reach the disk, fails here.
void RegistryBackup::CheckNewBackup(const std::string& path) {
  TextFile written = ReadText(path);
  bool complete = !written.lines.empty() && written.lines.front() == kHeaderText;
  for (const char* key : kExportKeys) complete = complete && HasSection(written.lines, key);
  if (!complete)
    throw BackupFailure("The new backup \"" + path + "\" does not hold all four keys.", platform::kErrorInvalidData);
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

bool RegistryBackup::ExportKeys() {
  std::string regedit = FindRegistryEditor();
  ExportProcesses exports(platform_.processes);
  for (std::size_t i = 0; i < exportFiles.size(); ++i)
    exports.Start(regedit, ExportCommandLine(exportFiles[i], kExportKeys[i]));
  return exports.WaitForAll() && ExportsWritten();
}

// regedit can end with exit code 0 without having written anything (Wine's does when it cannot open the key).
bool RegistryBackup::ExportsWritten() {
  for (const std::string& path : exportFiles) {
    if (!FileExists(path) || ReadBytes(path).empty()) return false;
  }
  return true;
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

void RegistryBackup::JoinFile(const std::string& sourcePath, const std::string& destinationPath) {
  TextFile source = ReadText(sourcePath);
  TextFile destination = ReadTextOrEmpty(destinationPath);
  AppendLines(destination, source.lines, source.encoding);
  WriteText(destinationPath, destination);
}

std::int32_t RegistryBackup::FilterFile(const std::string& source, const std::string& destination,
                                        const std::string& text) {
  TextFile from = ReadText(source);
  TextFile to = ReadTextOrEmpty(destination);
  std::vector<std::string> kept;
  for (const std::string& line : from.lines) {
    if (line.find(text) == std::string::npos) kept.push_back(line);
  }
  AppendLines(to, kept, from.encoding);
  WriteText(destination, to);
  return static_cast<std::int32_t>(from.lines.size() - kept.size());
}

std::string RegistryBackup::DeleteExportFiles(std::int32_t* firstCode) {
  std::string firstFailure;
  for (const std::string& path : exportFiles) {
    if (!FileExists(path)) continue;
    std::int32_t code = platform_.files.DeleteFileW(path);
    if (code == 0 || !firstFailure.empty()) continue;
    firstFailure = DescribeFailure("Cannot delete", path, code);
    if (firstCode != nullptr) *firstCode = code;
  }
  return firstFailure;
}

std::string RegistryBackup::ReadBytes(const std::string& path) {
  std::string bytes;
  std::int32_t code = platform_.files.ReadWholeFile(path, &bytes);
  if (code != 0) throw BackupFailure(DescribeFailure("Cannot read", path, code), code);
  return bytes;
}

TextFile RegistryBackup::ReadText(const std::string& path) {
  return DecodeTextFile(ReadBytes(path));
}

// Appending to a file that does not exist yet creates it.
TextFile RegistryBackup::ReadTextOrEmpty(const std::string& path) {
  std::string bytes;
  std::int32_t code = platform_.files.ReadWholeFile(path, &bytes);
  if (code == platform::kErrorFileNotFound) return TextFile();
  if (code != 0) throw BackupFailure(DescribeFailure("Cannot read", path, code), code);
  return DecodeTextFile(bytes);
}

void RegistryBackup::WriteText(const std::string& path, const TextFile& file) {
  std::int32_t code = platform_.files.WriteWholeFile(path, EncodeTextFile(file));
  if (code != 0) throw BackupFailure(DescribeFailure("Cannot write", path, code), code);
}
