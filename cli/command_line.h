// What zolvane-cli was asked to do, read from its arguments.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"

enum class CliCommand {
  kHelp,
  kVersion,
  kList,
  kShow,
  kSet,
  kRestore,
  kRestoreAll,
  kBackup,
  kImport,
  kLayout,
  kApply,
  kCheck,
  kBadUsage,
  kUnknownFolder
};

struct CliRequest {
  CliCommand command = CliCommand::kBadUsage;
  bool csv = false;         // list and check
  bool noHeader = false;    // check --csv
  bool dryRun = false;      // apply
  bool create = false;      // set and apply: a location that is not there is made
  platform::HKey hive = 0;  // layout, apply and check: only this hive's folders; 0 for both
  const ShellFolder* folder = nullptr;
  // set: the new location, trimmed; backup, import and apply: the file (empty for the desktop's backup).
  std::string path;
  // kBadUsage and kUnknownFolder: what was wrong, in a sentence.
  std::string error;
};

// The arguments after the program's name, as UTF-8.
CliRequest ParseCommandLine(const std::vector<std::string>& arguments);
