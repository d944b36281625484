// zolvane-cli's commands: each one is a button of the main window, with its outcome told on the console.
#include "cli/cli_commands.h"

#include "cli/cli_words.h"
#include "cli/layout_commands.h"
#include "features/backup.h"
#include "features/folder_locations.h"
#include "features/folder_maker.h"
#include "features/registry_import.h"
#include "product_version.h"
#include "text/text_file.h"
#include "vocabulary/failure.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/shell_folder_keys.h"
#include "vocabulary/windows_version.h"

namespace {

const char* const kUsage =
    "Usage:\n"
    "  zolvane-cli list [--csv]          the fifteen folders: name, hive, stored value, location\n"
    "  zolvane-cli show FOLDER           where a folder lives now\n"
    "  zolvane-cli set FOLDER PATH [--create]\n"
    "                                    moves a folder to PATH (what Apply does); --create makes\n"
    "                                    the folder there when it is missing\n"
    "  zolvane-cli restore FOLDER        puts a folder back where Windows had it\n"
    "  zolvane-cli restore --all         puts all fifteen back\n"
    "  zolvane-cli backup [FILE]         saves the four shell folder keys; FILE defaults to\n"
    "                                    specialfolders.bak on the desktop\n"
    "  zolvane-cli import FILE           restores such a backup\n"
    "  zolvane-cli layout [--hive HKCU|HKLM]\n"
    "                                    prints where the folders live, as a layout file\n"
    "  zolvane-cli apply FILE [--dry-run] [--create] [--hive HKCU|HKLM]\n"
    "                                    moves the folders a layout file names, all or nothing;\n"
    "                                    a folder already there is left alone\n"
    "  zolvane-cli check [--csv [--no-header]] [--hive HKCU|HKLM]\n"
    "                                    lists what is wrong with where the folders live\n"
    "  zolvane-cli --help | -h | /?      this text\n"
    "  zolvane-cli --version             the program's version\n"
    "\n"
    "FOLDER is a name as the window lists it (\"My Documents\") or its registry value name\n"
    "(\"Personal\"), in any case. A layout file has one line a folder, \"FOLDER = PATH\";\n"
    "lines that begin with ; or # are comments. --hive takes only that hive's folders.\n"
    "\n"
    "Exit codes:\n"
    "  0  success (check: no problem; apply --dry-run: nothing would change)\n"
    "  1  bad usage, or an unknown folder\n"
    "  2  check found a problem, or apply --dry-run would change something\n"
    "  3  the input (a backup, a layout or a path) is unusable; nothing was written\n"
    "  4  the system is not Windows XP\n"
    "  5  access denied\n"
    "  6  any other failure; the system's error code is in the message";

const char* const kVersionLine = "zolvane-cli " ZOLVANE_VERSION_SHORT;

// A path that no folder can live at is refused before anything is written; with --create a location that is not
// there is made first, with the folders above it.
int Set(platform::Platform& platform, FolderLocations& locations, CliOutput& output, const CliRequest& request) {
  std::string refused = UnusablePathText(locations, request.path);
  if (!refused.empty()) {
    output.Err(AsLines(refused + " Nothing was written."));
    return kExitNotAFileOfOurs;
  }
  std::string location = locations.ExpandText(request.path);
  ReadiedLocation readied;
  try {
    readied = ReadyLocation(platform, location, request.create);
  } catch (const Failure& failure) {
    output.Err(AsLines(std::string(failure.what()) + "; nothing was written."));
    return FailureExitCode(failure.code());
  }
  Outcome outcome = locations.Relocate(*request.folder, request.path);
  if (!readied.made.empty()) outcome.notices.push_back("Made the folder " + Quoted(location) + ".");
  if (outcome.done() && !readied.there) {
    outcome.notices.push_back("The folder " + Quoted(location) + " does not exist yet; --create makes it.");
  }
  return Tell(output, outcome);
}

int List(FolderLocations& locations, CliOutput& output, bool csv) {
  const char* separator = csv ? "," : "\t";
  if (csv) output.Out(AsLines("Folder,Hive,Stored,Location"));
  for (const ShellFolder& folder : kShellFolders) {
    RegValue stored = locations.StoredLocation(folder);
    std::string fields[] = {folder.displayName, ShortHiveName(folder.hive), stored.ToDisplayText(),
                            locations.LocationFrom(folder.hive, folder.valueName, stored).ToDisplayText()};
    std::string line;
    for (std::size_t i = 0; i < 4; ++i) {
      if (i > 0) line += separator;
      line += csv ? CsvField(fields[i]) : fields[i];
    }
    output.Out(line + "\r\n");
  }
  return kExitSuccess;
}

// All fifteen in one change, whole or not at all: a line a folder once done.
int RestoreAll(FolderLocations& locations, CliOutput& output) {
  std::vector<const ShellFolder*> folders;
  for (const ShellFolder& folder : kShellFolders) folders.push_back(&folder);
  Outcome outcome = locations.RestoreDefaults(folders);
  if (!outcome.done()) return Tell(output, outcome);
  for (const std::string& notice : outcome.notices) output.Err(AsLines(notice));
  for (const ShellFolder* folder : folders)
    output.Out(AsLines(std::string(folder->displayName) + ": " + outcome.message));
  return kExitSuccess;
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
      return Set(platform, locations, output, request);
    case CliCommand::kRestore:
      return Tell(output, locations.RestoreDefault(*request.folder));
    case CliCommand::kRestoreAll:
      return RestoreAll(locations, output);
    case CliCommand::kBackup:
      return Backup(platform, output, request.path);
    case CliCommand::kImport:
      return Tell(output, RegistryImport(platform).Run(request.path));
    case CliCommand::kLayout:
      return PrintLayout(platform, output, request.hive);
    case CliCommand::kApply:
      return ApplyLayoutFile(platform, output, request.path,
                             LayoutOptions{request.dryRun, request.create, request.hive});
    case CliCommand::kCheck:
      return CheckFolderProblems(platform, output, CheckOptions{request.csv, request.noHeader, request.hive});
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
    case CliCommand::kVersion:
      output.Out(AsLines(kVersionLine));
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
  if (!IsWindowsXp(platform.system)) {
    output.Err(AsLines(kRefusalText));
    return kExitNotWindowsXp;
  }
  // Whatever the command, a change that was cut off is undone first, unless another run is at work now.
  for (const std::string& notice : UndoCutOffChangeAtStart(platform)) output.Err(AsLines(notice));
  // regedit runs in the system folder: a backup's file named relative to the current folder is handed to it by
  // its full path, and an import's or a layout's is named so in what the user is told.
  bool namesFile = request.command == CliCommand::kBackup || request.command == CliCommand::kImport ||
                   request.command == CliCommand::kApply;
  if (!namesFile || request.path.empty()) return RunOnWindowsXp(platform, output, request);
  CliRequest withFullPath = request;
  withFullPath.path = platform.files.FullPath(request.path);
  return RunOnWindowsXp(platform, output, withFullPath);
}
