// zolvane-cli's commands over the platform: the window's rules and words, written as lines and exit codes.
#pragma once

#include <string>

#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "platform/platform.h"

// The usage and the exit codes, as --help prints them: built from the commands' rows.
std::string UsageText();

// Carries out the request and gives the program's exit code (ExitCode of cli_words.h).
int RunCliRequest(platform::Platform& platform, CliOutput& output, const CliRequest& request);
