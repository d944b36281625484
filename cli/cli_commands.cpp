// zolvane-cli's commands: each one is a button of the main window, with its outcome told on the console.
#include "cli/cli_commands.h"

#include "backup/backup.h"
#include "core/folder_locations.h"
#include "core/product_texts.h"
#include "core/registry_import.h"
#include "core/windows_version.h"

namespace {

const char* const kUsage =
    "Usage:\n"
    "  zolvane-cli list [--csv]          the fifteen folders: name, hive, stored value, location\n"
    "  zolvane-cli show FOLDER           where a folder lives now\n"
    "  zolvane-cli set FOLDER PATH       moves a folder to PATH (what Apply does)\n"
    "  zolvane-cli restore FOLDER        puts a folder back where Windows had it\n"
    "  zolvane-cli restore --all         puts all fifteen back\n"
    "  zolvane-cli backup [FILE]         saves the four shell folder keys; FILE defaults to\n"
    "                                    specialfolders.bak on the desktop\n"
    "  zolvane-cli import FILE           restores such a backup\n"
    "  zolvane-cli --help | /?           this text\n"
    "\n"
    "FOLDER is a name as the window lists it (\"My Documents\") or its registry value name\n"
    "(\"Personal\"), in any case.\n"
    "\n"
    "Exit codes:\n"
    "  0      success\n"
    "  1      bad usage, an unknown folder, or a system other than Windows XP\n"
    "  3      the file is not a backup of the shell folder keys; nothing was imported\n"
    "  other  the system's error code of the first failed write or step (5: access denied)";

// Console lines end in CR LF, also those inside a message of several lines.
std::string AsLines(const std::string& text) {
  std::string lines;
  for (char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  return lines + "\r\n";
}

// One line for a message of several: for the listings of restore --all.
std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

// A failure always ends with a code that is not success, even when the system gave none.
int FailureCode(std::int32_t code) {
  return code != 0 ? code : kExitBadUsage;
}

// RFC 4180: a field holding a comma, a double quote, CR or LF goes in quotes, its quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

const char* HiveName(platform::HKey hive) {
  return hive == platform::kHkeyLocalMachine ? "HKLM" : "HKCU";
}

int List(FolderLocations& locations, CliOutput& output, bool csv) {
  const char* separator = csv ? "," : "\t";
  if (csv) output.Out(AsLines("Folder,Hive,Stored,Location"));
  for (const ShellFolder& folder : kShellFolders) {
    std::string fields[] = {folder.displayName, HiveName(folder.hive), locations.StoredLocation(folder).ToDisplayText(),
                            locations.CurrentLocation(folder).ToDisplayText()};
    std::string line;
    for (std::size_t i = 0; i < 4; ++i) {
      if (i > 0) line += separator;
      line += csv ? CsvField(fields[i]) : fields[i];
    }
    output.Out(line + "\r\n");
  }
  return kExitSuccess;
}

// The notices and a failure on standard error, a success on standard output; the exit code says which.
int Tell(CliOutput& output, const Outcome& outcome) {
  for (const std::string& notice : outcome.notices) output.Err(AsLines(notice));
  if (outcome.done()) {
    output.Out(AsLines(outcome.message));
    return kExitSuccess;
  }
  output.Err(AsLines(outcome.message));
  return outcome.result == Outcome::Result::kRefused ? kExitInvalidBackupFile : FailureCode(outcome.code);
}

// Every folder, in list order, on past a failure: the first failure's code is the exit code.
int RestoreAll(FolderLocations& locations, CliOutput& output) {
  int exitCode = kExitSuccess;
  for (const ShellFolder& folder : kShellFolders) {
    Outcome outcome = locations.RestoreDefault(folder);
    std::string line = AsLines(std::string(folder.displayName) + ": " + OnOneLine(outcome.message));
    if (outcome.done()) {
      output.Out(line);
    } else {
      output.Err(line);
      if (exitCode == kExitSuccess) exitCode = outcome.code;
    }
  }
  return exitCode;
}

int Backup(platform::Platform& platform, CliOutput& output, const std::string& file) {
  Outcome outcome = RegistryBackup(platform).Run(file);
  if (outcome.done()) outcome.message += "\nBackup file: " + outcome.file;
  return Tell(output, outcome);
}

int RunOnWindowsXp(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  FolderLocations locations(platform);
  switch (request.command) {
    case CliCommand::kList:
      return List(locations, output, request.csv);
    case CliCommand::kShow:
      output.Out(AsLines(locations.CurrentLocation(*request.folder).ToDisplayText()));
      return kExitSuccess;
    case CliCommand::kSet:
      return Tell(output, locations.Relocate(*request.folder, request.path));
    case CliCommand::kRestore:
      return Tell(output, locations.RestoreDefault(*request.folder));
    case CliCommand::kRestoreAll:
      return RestoreAll(locations, output);
    case CliCommand::kBackup:
      return Backup(platform, output, request.path);
    case CliCommand::kImport:
      return Tell(output, RegistryImport(platform).Run(request.path));
    default:
      return kExitBadUsage;
  }
}

}  // namespace

const char* UsageText() {
  return kUsage;
}

int RunCliRequest(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  switch (request.command) {
    case CliCommand::kHelp:
      output.Out(AsLines(kUsage));
      return kExitSuccess;
    case CliCommand::kBadUsage:
      output.Err(AsLines("zolvane-cli: " + request.error + "\n\n" + kUsage));
      return kExitBadUsage;
    case CliCommand::kUnknownFolder:
      output.Err(AsLines("zolvane-cli: " + request.error));
      return kExitBadUsage;
    default:
      break;
  }
  if (GetWindowsVersionName(platform.system) != "Windows XP") {
    output.Err(AsLines(kRefusalText));
    return kExitBadUsage;
  }
  return RunOnWindowsXp(platform, output, request);
}
