// Reading zolvane-cli's arguments: the command, its folder, path or file, and what was wrong with them.
#include "cli/command_line.h"

#include "text/ascii_case.h"
#include "text/trimmed.h"
#include "vocabulary/failure.h"

namespace {

CliRequest BadUsage(const std::string& error) {
  CliRequest request;
  request.error = error;
  return request;
}

// A request about one folder, or the refusal that names the folder no one knows.
CliRequest ForFolder(CliCommand command, const std::string& name) {
  CliRequest request;
  request.folder = FindShellFolderByAnyName(name);
  request.command = request.folder != nullptr ? command : CliCommand::kUnknownFolder;
  if (request.folder == nullptr) {
    request.error = "Unknown folder \"" + name + "\": \"zolvane-cli list\" names the fifteen folders.";
  }
  return request;
}

// list and check: nothing, or --csv.
CliRequest ParseListing(CliCommand command, const std::vector<std::string>& arguments) {
  CliRequest request;
  request.command = command;
  if (arguments.size() == 1) return request;
  if (arguments.size() == 2 && AsciiLowered(arguments[1]) == "--csv") {
    request.csv = true;
    return request;
  }
  return BadUsage(Quoted(AsciiLowered(arguments[0])) + " takes no argument but --csv.");
}

// apply FILE [--dry-run], in either order.
CliRequest ParseApply(const std::vector<std::string>& arguments) {
  CliRequest request;
  request.command = CliCommand::kApply;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (AsciiLowered(arguments[i]) == "--dry-run") {
      if (request.dryRun) return BadUsage("\"--dry-run\" is given twice.");
      request.dryRun = true;
    } else if (request.path.empty()) {
      request.path = Trimmed(arguments[i]);
      if (request.path.empty()) return BadUsage("The file name is empty.");
    } else {
      return BadUsage("\"apply\" takes one file and --dry-run.");
    }
  }
  if (request.path.empty()) return BadUsage("\"apply\" takes a layout file.");
  return request;
}

CliRequest ParseSet(const std::vector<std::string>& arguments) {
  if (arguments.size() != 3) return BadUsage("\"set\" takes a folder and a path.");
  std::string path = Trimmed(arguments[2]);
  if (path.empty()) return BadUsage("\"set\" needs a path that is not empty.");
  CliRequest request = ForFolder(CliCommand::kSet, arguments[1]);
  request.path = path;
  return request;
}

CliRequest ParseRestore(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) return BadUsage("\"restore\" takes a folder or --all.");
  if (AsciiLowered(arguments[1]) != "--all") return ForFolder(CliCommand::kRestore, arguments[1]);
  CliRequest request;
  request.command = CliCommand::kRestoreAll;
  return request;
}

// backup [FILE] and import FILE.
CliRequest ParseFileCommand(CliCommand command, const std::vector<std::string>& arguments) {
  bool optional = command == CliCommand::kBackup;
  const char* word = optional ? "\"backup\" takes at most one file." : "\"import\" takes one file.";
  if (arguments.size() > 2 || (!optional && arguments.size() < 2)) return BadUsage(word);
  CliRequest request;
  request.command = command;
  if (arguments.size() == 2) request.path = Trimmed(arguments[1]);
  if (arguments.size() == 2 && request.path.empty()) return BadUsage("The file name is empty.");
  return request;
}

}  // namespace

CliRequest ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return BadUsage("No command given.");
  // Windows users type commands in any case.
  std::string command = AsciiLowered(arguments[0]);
  if (command == "--help" || command == "/?") {
    if (arguments.size() != 1) return BadUsage(Quoted(arguments[0]) + " takes no argument.");
    CliRequest request;
    request.command = CliCommand::kHelp;
    return request;
  }
  if (command == "list") return ParseListing(CliCommand::kList, arguments);
  if (command == "check") return ParseListing(CliCommand::kCheck, arguments);
  if (command == "apply") return ParseApply(arguments);
  if (command == "layout") {
    if (arguments.size() != 1) return BadUsage("\"layout\" takes no argument.");
    CliRequest request;
    request.command = CliCommand::kLayout;
    return request;
  }
  if (command == "show") {
    return arguments.size() == 2 ? ForFolder(CliCommand::kShow, arguments[1]) : BadUsage("\"show\" takes a folder.");
  }
  if (command == "set") return ParseSet(arguments);
  if (command == "restore") return ParseRestore(arguments);
  if (command == "backup") return ParseFileCommand(CliCommand::kBackup, arguments);
  if (command == "import") return ParseFileCommand(CliCommand::kImport, arguments);
  return BadUsage("Unknown command \"" + arguments[0] + "\".");
}
