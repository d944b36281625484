// zolvane-cli's commands for many folders and many machines: layout, apply and check.
#pragma once

#include <string>

#include "cli/cli_output.h"
#include "platform/platform.h"

// Prints the current layout as a layout file.
int PrintLayout(platform::Platform& platform, CliOutput& output);
// Reads a layout file and moves the folders it names, all or nothing; a dry run only tells what it would do.
int ApplyLayoutFile(platform::Platform& platform, CliOutput& output, const std::string& file, bool dryRun);
// Prints every problem of every folder, one a line, then their count (CSV: a header and the rows, the count on
// standard error); 2 when there is one.
int CheckFolderProblems(platform::Platform& platform, CliOutput& output, bool csv);
