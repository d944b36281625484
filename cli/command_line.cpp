// Reading zolvane-cli's arguments: the command, its switches, its folder, path or file, and what was wrong.
#include "cli/command_line.h"

#include "text/ascii_case.h"
#include "text/trimmed.h"
#include "vocabulary/failure.h"

namespace {

// The switches, one bit each.
enum Switch : unsigned {
  kCsv = 1,
  kNoHeader = 2,
  kDryRun = 4,
  kCreate = 8,
  kHive = 16,
  kAll = 32,
};

struct SwitchName {
  Switch bit;
  const char* name;
};
const SwitchName kSwitchNames[] = {{kCsv, "--csv"},       {kNoHeader, "--no-header"}, {kDryRun, "--dry-run"},
                                   {kCreate, "--create"}, {kHive, "--hive"},          {kAll, "--all"}};

// What each command takes: its switches, and how many arguments besides them (a folder, a path, a file).
struct CommandShape {
  const char* name;
  CliCommand command;
  unsigned switches;
  std::size_t leastArguments;
  std::size_t mostArguments;
  const char* takes;  // what the user is told when the arguments are not these
};
const CommandShape kCommands[] = {
    {"list", CliCommand::kList, kCsv, 0, 0, "\"list\" takes no argument but --csv."},
    {"show", CliCommand::kShow, 0, 1, 1, "\"show\" takes a folder."},
    {"set", CliCommand::kSet, kCreate, 2, 2, "\"set\" takes a folder and a path, and --create."},
    {"restore", CliCommand::kRestore, kAll, 1, 1, "\"restore\" takes a folder or --all."},
    {"backup", CliCommand::kBackup, 0, 0, 1, "\"backup\" takes at most one file."},
    {"import", CliCommand::kImport, 0, 1, 1, "\"import\" takes one file."},
    {"layout", CliCommand::kLayout, kHive, 0, 0, "\"layout\" takes no argument but --hive."},
    {"apply", CliCommand::kApply, kDryRun | kCreate | kHive, 1, 1,
     "\"apply\" takes one file, and --dry-run, --create and --hive."},
    {"check", CliCommand::kCheck, kCsv | kNoHeader | kHive, 0, 0,
     "\"check\" takes no argument but --csv, --no-header and --hive."},
};

CliRequest BadUsage(const std::string& error) {
  CliRequest request;
  request.error = error;
  return request;
}

// The folder a request is about, or the refusal that names the folder no one knows.
void NameFolder(CliRequest* request, const std::string& name) {
  request->folder = FindShellFolderByAnyName(name);
  if (request->folder != nullptr) return;
  request->command = CliCommand::kUnknownFolder;
  request->error = "Unknown folder " + Quoted(name) + ": \"zolvane-cli list\" names the fifteen folders.";
}

// "HKCU" or "HKLM", in any case; 0 for anything else.
platform::HKey HiveNamed(const std::string& name) {
  if (SameIgnoringAsciiCase(name, "HKCU")) return platform::kHkeyCurrentUser;
  if (SameIgnoringAsciiCase(name, "HKLM")) return platform::kHkeyLocalMachine;
  return 0;
}

// The switches out of the arguments, each at most once; the other arguments, trimmed, in their order.
bool ReadSwitches(const CommandShape& shape, const std::vector<std::string>& arguments, CliRequest* request,
                  std::vector<std::string>* rest) {
  unsigned seen = 0;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::string word = AsciiLowered(Trimmed(arguments[i]));
    const SwitchName* found = nullptr;
    for (const SwitchName& name : kSwitchNames) found = word == name.name ? &name : found;
    if (found == nullptr) {
      if (word.compare(0, 2, "--") == 0) {
        *request = BadUsage(Quoted(arguments[i]) + " is no switch of zolvane-cli. " + shape.takes);
        return false;
      }
      rest->push_back(Trimmed(arguments[i]));
      continue;
    }
    if ((shape.switches & found->bit) == 0) {
      *request = BadUsage(shape.takes);
      return false;
    }
    if ((seen & found->bit) != 0) {
      *request = BadUsage(Quoted(found->name) + " is given twice.");
      return false;
    }
    seen |= found->bit;
    if (found->bit == kHive) {
      request->hive = i + 1 < arguments.size() ? HiveNamed(Trimmed(arguments[++i])) : 0;
      if (request->hive == 0) {
        *request = BadUsage("\"--hive\" takes HKCU or HKLM.");
        return false;
      }
    }
  }
  request->csv = (seen & kCsv) != 0;
  request->noHeader = (seen & kNoHeader) != 0;
  request->dryRun = (seen & kDryRun) != 0;
  request->create = (seen & kCreate) != 0;
  if (request->noHeader && !request->csv) {
    *request = BadUsage("\"--no-header\" goes with --csv.");
    return false;
  }
  if ((seen & kAll) != 0) request->command = CliCommand::kRestoreAll;
  return true;
}

CliRequest Parse(const CommandShape& shape, const std::vector<std::string>& arguments) {
  CliRequest request;
  request.command = shape.command;
  std::vector<std::string> rest;
  if (!ReadSwitches(shape, arguments, &request, &rest)) return request;
  bool all = request.command == CliCommand::kRestoreAll;
  // restore --all takes no folder.
  std::size_t least = all ? 0 : shape.leastArguments;
  std::size_t most = all ? 0 : shape.mostArguments;
  if (rest.size() < least || rest.size() > most) return BadUsage(shape.takes);
  for (const std::string& argument : rest) {
    if (argument.empty())
      return BadUsage(shape.command == CliCommand::kSet ? "\"set\" needs a path that is not empty."
                                                        : "The file name is empty.");
  }
  switch (shape.command) {
    case CliCommand::kShow:
    case CliCommand::kRestore:
      if (!all) NameFolder(&request, rest[0]);
      break;
    case CliCommand::kSet:
      request.path = rest[1];
      NameFolder(&request, rest[0]);
      break;
    default:
      if (!rest.empty()) request.path = rest[0];
  }
  return request;
}

}  // namespace

CliRequest ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return BadUsage("No command given.");
  // Windows users type commands in any case.
  std::string command = AsciiLowered(arguments[0]);
  bool help = command == "--help" || command == "-h" || command == "/?";
  if (help || command == "--version") {
    if (arguments.size() != 1) return BadUsage(Quoted(arguments[0]) + " takes no argument.");
    CliRequest request;
    request.command = help ? CliCommand::kHelp : CliCommand::kVersion;
    return request;
  }
  for (const CommandShape& shape : kCommands) {
    if (command == shape.name) return Parse(shape, arguments);
  }
  return BadUsage("Unknown command " + Quoted(arguments[0]) + ".");
}
