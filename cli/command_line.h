// What zolvane-cli was asked to do, read from its arguments by its commands' rows.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_output.h"
#include "cli/cli_words.h"
#include "platform/platform.h"
#include "vocabulary/catalogue.h"

// The switches, one bit each. --create: set and apply make a location that is not there; --all: restore all fifteen;
// --move: set, restore and apply move the folders' files with them; --log FILE: apply, check and restore add their
// run's line to FILE; --undo: apply puts back the folders as they were before the first layout; --out FILE: check
// writes its rows to FILE, replacing it whole.
struct CliSwitch {
  enum : unsigned {
    kCsv = 1,
    kNoHeader = 2,
    kDryRun = 4,
    kCreate = 8,
    kHive = 16,
    kAll = 32,
    kMove = 64,
    kLog = 128,
    kUndo = 256,
    kOut = 512
  };
};

struct CliCommand;

struct CliRequest {
  const CliCommand* command = nullptr;  // nullptr: the arguments were refused, for the reason in error
  bool unknownFolder = false;           // the refusal names a folder no one knows (told without the usage)
  unsigned switches = 0;                // those given, of CliSwitch
  platform::HKey hive = 0;              // layout, apply and check: only this hive's folders; 0 for both
  const ShellFolder* folder = nullptr;
  // set: the new location, trimmed; backup, import and apply: the file (empty for the desktop's backup).
  std::string path;
  std::string logFile;  // --log's file, as given
  std::string outFile;  // --out's file, as given
  // The arguments but --log and its file, each with a space in quotes: what the log says was run.
  std::string typed;
  std::string error;  // what was wrong, in a sentence

  bool Has(unsigned which) const { return (switches & which) != 0; }
};

// What a command takes besides its switches, which also says how many.
enum class CliArguments { kNone, kFolder, kFolderAndPath, kFile, kFileOrNone };

// One command: how it is typed, what it takes, what runs it, and what --help says of it.
struct CliCommand {
  const char* names;  // in any case; the first is its name, any others follow it after a space
  unsigned switches;  // of CliSwitch
  CliArguments arguments;
  CliResult (*run)(platform::Platform& platform, CliOutput& output, const CliRequest& request);
  const char* takes;       // what the user is told when the arguments are not these; nullptr: "X takes no argument."
  const char* usage;       // its lines of --help
  bool anySystem = false;  // runs on any Windows, and undoes no cut-off change first: --help and --version
};

// The command typed, in any case, or nullptr. The rows are in cli_commands.cpp, beside their functions.
const CliCommand* FindCliCommand(const std::string& typed);

// The arguments after the program's name, as UTF-8.
CliRequest ParseCommandLine(const std::vector<std::string>& arguments);
