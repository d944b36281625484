// Reading zolvane-cli's arguments: the command, its switches, its folder, path or file, and what was wrong.
#include "cli/command_line.h"

#include <utility>

#include "cli/cli_texts.h"
#include "text/ascii_case.h"
#include "text/trimmed.h"

namespace {

using SwitchName = std::pair<unsigned, const char*>;
const SwitchName kSwitchNames[] = {{CliSwitch::kCsv, "--csv"},        {CliSwitch::kNoHeader, "--no-header"},
                                   {CliSwitch::kDryRun, "--dry-run"}, {CliSwitch::kCreate, "--create"},
                                   {CliSwitch::kHive, "--hive"},      {CliSwitch::kAll, "--all"},
                                   {CliSwitch::kMove, "--move"},      {CliSwitch::kLog, "--log"},
                                   {CliSwitch::kUndo, "--undo"},      {CliSwitch::kOut, "--out"}};

CliRequest BadUsage(const std::string& error) {
  CliRequest request;
  request.error = error;
  return request;
}

// The folder a request is about, or the refusal that names the folder no one knows.
void NameFolder(CliRequest* request, const std::string& name) {
  request->folder = FindShellFolderByAnyName(name);
  if (request->folder != nullptr) return;
  request->command = nullptr;
  request->unknownFolder = true;
  request->error = UnknownFolderText(name);
}

// "HKCU" or "HKLM", in any case; 0 for anything else.
platform::HKey HiveNamed(const std::string& name) {
  if (SameIgnoringAsciiCase(name, "HKCU")) return platform::kHkeyCurrentUser;
  if (SameIgnoringAsciiCase(name, "HKLM")) return platform::kHkeyLocalMachine;
  return 0;
}

// The switches out of the arguments, each at most once; the other arguments, trimmed, in their order. Gives the
// refusal of the arguments, or empty text.
std::string ReadSwitches(const CliCommand& command, const std::vector<std::string>& arguments, CliRequest* request,
                         std::vector<std::string>* rest) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::string word = AsciiLowered(Trimmed(arguments[i]));
    const SwitchName* found = nullptr;
    for (const SwitchName& name : kSwitchNames) found = word == name.second ? &name : found;
    if (found == nullptr && word.compare(0, 2, "--") == 0) return NoSuchSwitchText(arguments[i], command.takes);
    if (found == nullptr) {
      rest->push_back(Trimmed(arguments[i]));
      continue;
    }
    if (request->Has(found->first)) return Quoted(found->second) + kGivenTwice;
    if ((command.switches & found->first) == 0) return command.takes;
    request->switches |= found->first;
    if (found->first == CliSwitch::kHive) {
      request->hive = i + 1 < arguments.size() ? HiveNamed(Trimmed(arguments[++i])) : 0;
      if (request->hive == 0) return kHiveTakesAHive;
    }
    if (found->first == CliSwitch::kLog || found->first == CliSwitch::kOut) {
      std::string file = i + 1 < arguments.size() ? Trimmed(arguments[++i]) : std::string();
      if (file.empty() || file.compare(0, 2, "--") == 0) return Quoted(found->second) + kTakesAFile;
      (found->first == CliSwitch::kLog ? request->logFile : request->outFile) = file;
    }
  }
  if (request->Has(CliSwitch::kAll) && request->Has(CliSwitch::kMove)) return kMoveTakesOneFolder;
  if (request->Has(CliSwitch::kHive) && command.arguments == CliArguments::kFolder && !request->Has(CliSwitch::kAll))
    return command.takes;
  if (request->Has(CliSwitch::kOut) && !request->Has(CliSwitch::kCsv)) return kOutGoesWithCsv;
  // set and restore write at once: only their moves with files have a dry run; apply's is a dry run of its own.
  bool ownDryRun = command.arguments == CliArguments::kFile;
  if (request->Has(CliSwitch::kDryRun) && !request->Has(CliSwitch::kMove) && !ownDryRun) return kDryRunGoesWithMove;
  return request->Has(CliSwitch::kNoHeader) && !request->Has(CliSwitch::kCsv) ? kNoHeaderGoesWithCsv : "";
}

// The arguments as one line, each with a space in quotes, without --log and its file.
std::string TypedWithoutLog(const std::vector<std::string>& arguments) {
  std::string typed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (AsciiLowered(Trimmed(arguments[i])) == "--log") {
      ++i;
      continue;
    }
    std::string argument = Trimmed(arguments[i]);
    if (argument.find(' ') != std::string::npos) argument = "\"" + argument + "\"";
    typed += (typed.empty() ? "" : " ") + argument;
  }
  return typed;
}

CliRequest Parse(const CliCommand& command, const std::vector<std::string>& arguments) {
  CliRequest request;
  request.command = &command;
  std::vector<std::string> rest;
  std::string refused = ReadSwitches(command, arguments, &request, &rest);
  if (!refused.empty()) return BadUsage(refused);
  using Arguments = CliArguments;
  // restore --all and apply --undo take no folder and no file.
  Arguments takes =
      request.Has(CliSwitch::kAll) || request.Has(CliSwitch::kUndo) ? Arguments::kNone : command.arguments;
  std::size_t most = takes == Arguments::kNone ? 0 : takes == Arguments::kFolderAndPath ? 2 : 1;
  std::size_t least = takes == Arguments::kFileOrNone ? 0 : most;
  if (rest.size() < least || rest.size() > most) return BadUsage(command.takes);
  for (const std::string& argument : rest) {
    if (argument.empty()) return BadUsage(takes == Arguments::kFolderAndPath ? kSetNeedsAPath : kFileNameIsEmpty);
  }
  if (takes == Arguments::kFolderAndPath) request.path = rest[1];
  if (takes == Arguments::kFolder || takes == Arguments::kFolderAndPath) {
    NameFolder(&request, rest[0]);
  } else if (!rest.empty()) {
    request.path = rest[0];
  }
  request.typed = TypedWithoutLog(arguments);
  return request;
}

}  // namespace

CliRequest ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return BadUsage(kNoCommandGiven);
  const CliCommand* command = FindCliCommand(arguments[0]);
  if (command == nullptr) return BadUsage(UnknownCommandText(arguments[0]));
  if (command->takes != nullptr) return Parse(*command, arguments);
  // --help and --version take nothing at all, and a refusal names them as typed.
  if (arguments.size() != 1) return BadUsage(Quoted(arguments[0]) + kTakesNoArgument);
  CliRequest request;
  request.command = command;
  return request;
}
