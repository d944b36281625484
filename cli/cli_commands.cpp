// zolvane-cli's commands, one row each: each one is a button of the main window, with its outcome told on the
// console.
#include "cli/cli_commands.h"

#include "cli/cli_texts.h"
#include "cli/cli_words.h"
#include "cli/layout_commands.h"
#include "cli/move_commands.h"
#include "cli/run_log.h"
#include "features/backup.h"
#include "features/folder_locations.h"
#include "features/folder_maker.h"
#include "features/registry_import.h"
#include "features/stock_location.h"
#include "text/ascii_case.h"
#include "vocabulary/failure.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/shell_folder_keys.h"
#include "vocabulary/windows_version.h"

namespace {

CliResult Help(platform::Platform&, CliOutput& output, const CliRequest&) {
  output.Out(AsLines(UsageText()));
  return {};
}

CliResult Version(platform::Platform&, CliOutput& output, const CliRequest&) {
  output.Out(AsLines(kVersionLine));
  return {};
}

CliResult List(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  FolderLocations locations(platform);
  bool csv = request.Has(CliSwitch::kCsv);
  if (csv) output.Out(AsLines(kListCsvHeader));
  for (const ShellFolder& folder : kShellFolders) {
    RegValue stored = locations.StoredLocation(folder);
    std::string fields[] = {folder.displayName, ShortHiveName(folder.hive), stored.ToDisplayText(),
                            locations.LocationFrom(folder.hive, folder.valueName, stored).ToDisplayText()};
    std::string line;
    for (std::size_t i = 0; i < 4; ++i)
      line += (i == 0 ? "" : csv ? "," : "\t") + (csv ? CsvField(fields[i]) : fields[i]);
    output.Out(line + "\r\n");
  }
  return {};
}

CliResult Show(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  output.Out(AsLines(FolderLocations(platform).CurrentLocation(*request.folder).ToDisplayText()));
  return {};
}

// A path that no folder can live at is refused before anything is written; with --create a location that is not
// there is made first, with the folders above it; with --move the files go with the folder.
CliResult Set(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  FolderLocations locations(platform);
  std::string refused = UnusablePathText(locations, request.path);
  if (!refused.empty()) return TellError(output, {CliResult::kUnusableInput}, refused + kNothingWritten);
  if (request.Has(CliSwitch::kMove)) {
    return MoveFolderCommand(platform, output, *request.folder, request.path, request.Has(CliSwitch::kDryRun),
                             request.Has(CliSwitch::kCreate));
  }
  std::string location = locations.ExpandText(request.path);
  ReadiedLocation readied;
  try {
    readied = ReadyLocation(platform, location, request.Has(CliSwitch::kCreate));
  } catch (const Failure& failure) {
    return TellError(output, {CliResult::kFailed, failure.code()},
                     failure.what() + std::string(kNotMadeNothingWritten));
  }
  Outcome outcome = locations.Relocate(*request.folder, request.path);
  if (!readied.made.empty()) outcome.notices.push_back(MadeFolderText(location));
  if (outcome.done() && !readied.there) outcome.notices.push_back(NotThereYetText(location));
  return Tell(output, outcome);
}

// One folder, or all fifteen in one change, whole or not at all: then a line a folder once done. One folder may
// take its files with it.
CliResult Restore(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  if (request.Has(CliSwitch::kMove)) {
    return MoveFolderCommand(platform, output, *request.folder, StockLocation(platform, *request.folder),
                             request.Has(CliSwitch::kDryRun), false);
  }
  FolderLocations locations(platform);
  if (!request.Has(CliSwitch::kAll)) return Tell(output, locations.RestoreDefault(*request.folder));
  std::vector<const ShellFolder*> folders;
  for (const ShellFolder& folder : kShellFolders) {
    if (request.hive == 0 || folder.hive == request.hive) folders.push_back(&folder);
  }
  Outcome outcome = locations.RestoreDefaults(folders);
  if (!outcome.done()) return Tell(output, outcome);
  for (const std::string& notice : outcome.notices) output.Err(AsLines(notice));
  for (const ShellFolder* folder : folders)
    output.Out(AsLines(std::string(folder->displayName) + ": " + outcome.message));
  return {};
}

// regedit runs in the system folder: a file named relative to the current folder is handed to it by its full path.
CliResult Backup(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  Outcome outcome = RegistryBackup(platform).Run(request.path.empty() ? "" : platform.files.FullPath(request.path));
  if (outcome.done()) outcome.message += kBackupFileLabel + outcome.file;
  return Tell(output, outcome);
}

// The file is named by its full path in what the user is told.
CliResult Import(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  return Tell(output, RegistryImport(platform).Run(platform.files.FullPath(request.path)));
}

// The commands, in the order --help lists them.
const CliCommand kCommands[] = {
    {"list", CliSwitch::kCsv, CliArguments::kNone, List, "\"list\" takes no argument but --csv.",
     "  zolvane-cli list [--csv]          the fifteen folders: name, hive, stored value, location\n"},
    {"show", 0, CliArguments::kFolder, Show, "\"show\" takes a folder.",
     "  zolvane-cli show FOLDER           where a folder lives now\n"},
    {"set", CliSwitch::kCreate | CliSwitch::kMove | CliSwitch::kDryRun, CliArguments::kFolderAndPath, Set,
     "\"set\" takes a folder and a path, and --create and --move (with --dry-run).",
     "  zolvane-cli set FOLDER PATH [--create] [--move [--dry-run]]\n"
     "                                    moves a folder to PATH (what Apply does); --create makes\n"
     "                                    the folder there when it is missing; --move takes its files\n"},
    {"restore", CliSwitch::kAll | CliSwitch::kMove | CliSwitch::kDryRun | CliSwitch::kHive | CliSwitch::kLog,
     CliArguments::kFolder, Restore,
     "\"restore\" takes a folder (with --move and --dry-run) or --all (with --hive), and --log.",
     "  zolvane-cli restore FOLDER [--move [--dry-run]] [--log FILE]\n"
     "                                    puts a folder back where Windows had it\n"
     "  zolvane-cli restore --all [--hive HKCU|HKLM] [--log FILE]\n"
     "                                    puts all fifteen back, or one hive's\n"},
    {"backup", 0, CliArguments::kFileOrNone, Backup, "\"backup\" takes at most one file.",
     "  zolvane-cli backup [FILE]         saves the four shell folder keys; FILE defaults to\n"
     "                                    specialfolders.bak on the desktop\n"},
    {"import", 0, CliArguments::kFile, Import, "\"import\" takes one file.",
     "  zolvane-cli import FILE           restores such a backup\n"},
    {"layout", CliSwitch::kHive, CliArguments::kNone, PrintLayout, "\"layout\" takes no argument but --hive.",
     "  zolvane-cli layout [--hive HKCU|HKLM]\n"
     "                                    prints where the folders live, as a layout file\n"},
    {"apply",
     CliSwitch::kDryRun | CliSwitch::kCreate | CliSwitch::kHive | CliSwitch::kMove | CliSwitch::kLog | CliSwitch::kUndo,
     CliArguments::kFile, ApplyLayoutFile,
     "\"apply\" takes one file (or --undo), and --dry-run, --create, --move, --hive and --log.",
     "  zolvane-cli apply FILE [--dry-run] [--create] [--move] [--hive HKCU|HKLM] [--log FILE]\n"
     "                                    moves the folders a layout file names, all or nothing;\n"
     "                                    a folder already there is left alone; with --move, one\n"
     "                                    by one with their files\n"
     "  zolvane-cli apply --undo [--dry-run] [--move] [--hive HKCU|HKLM] [--log FILE]\n"
     "                                    puts back the folders as they were before the first layout\n"},
    {"check", CliSwitch::kCsv | CliSwitch::kNoHeader | CliSwitch::kHive | CliSwitch::kLog | CliSwitch::kOut,
     CliArguments::kNone, CheckFolderProblems,
     "\"check\" takes no argument but --csv, --no-header, --out, --hive and --log.",
     "  zolvane-cli check [--csv [--no-header] [--out FILE]] [--hive HKCU|HKLM] [--log FILE]\n"
     "                                    lists what is wrong with where the folders live\n"},
    {"--help -h /?", 0, CliArguments::kNone, Help, nullptr, "  zolvane-cli --help | -h | /?      this text\n", true},
    {"--version", 0, CliArguments::kNone, Version, nullptr,
     "  zolvane-cli --version             the program's version\n", true},
};

// Whatever the command but --help and --version, Windows XP alone, and a change that was cut off undone first
// (unless another run is at work now).
CliResult Run(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  if (request.command == nullptr) {
    std::string usage = request.unknownFolder ? "" : "\n\n" + UsageText();
    return TellError(output, {CliResult::kBadUsage}, kProgramPrefix + request.error + usage);
  }
  if (!request.command->anySystem) {
    if (!IsWindowsXp(platform.system)) return TellError(output, {CliResult::kNotWindowsXp}, kRefusalText);
    for (const std::string& notice : UndoCutOffChangeAtStart(platform)) output.Err(AsLines(notice));
  }
  return request.command->run(platform, output, request);
}

}  // namespace

const CliCommand* FindCliCommand(const std::string& typed) {
  for (const CliCommand& command : kCommands) {
    std::string names = command.names;
    for (std::size_t start = 0, end = 0; start < names.size(); start = end + 1) {
      end = std::min(names.find(' ', start), names.size());
      if (SameIgnoringAsciiCase(typed, names.substr(start, end - start))) return &command;
    }
  }
  return nullptr;
}

std::string UsageText() {
  std::string usage = kUsageHeading;
  for (const CliCommand& command : kCommands) usage += command.usage;
  return usage + "\n" + kFolderParagraph + "\n\n" + kExitCodesParagraph;
}

int RunCliRequest(platform::Platform& platform, CliOutput& output, const CliRequest& request) {
  if (request.command == nullptr || request.logFile.empty()) return ExitCode(Run(platform, output, request));
  RecordedOutput said(output);
  return LogRun(platform, output, request, said, ExitCode(Run(platform, said, request)));
}
