// zolvane-cli's commands over the platform: the window's rules and words, written as lines and exit codes.
#pragma once

#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "platform/platform.h"

constexpr int kExitSuccess = 0;
constexpr int kExitBadUsage = 1;
constexpr int kExitInvalidBackupFile = 3;

// The usage and the exit codes, as --help prints them.
const char* UsageText();

// Carries out the request and gives the program's exit code: 0, 1 for bad usage, an unknown folder or a system
// other than Windows XP, 3 for a file that is no backup of the four keys, else the system's code of the first
// failed write or step.
int RunCliRequest(platform::Platform& platform, CliOutput& output, const CliRequest& request);
