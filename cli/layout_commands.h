// zolvane-cli's commands for many folders and many machines: layout, apply and check.
#pragma once

#include <string>

#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "features/folder_locations.h"
#include "platform/platform.h"

// Why set or apply may not write this path (JudgePath), for the user; empty text when it is usable.
std::string UnusablePathText(FolderLocations& locations, const std::string& path);

// Prints the current layout as a layout file: every folder, or those of one hive.
CliResult PrintLayout(platform::Platform& platform, CliOutput& output, const CliRequest& request);
// Reads a layout file, holds every path to the rule, and moves the folders it names, all or nothing; a dry run
// only tells what it would do. With --move, the folders go one by one with their files (ApplyLayoutWithFiles).
CliResult ApplyLayoutFile(platform::Platform& platform, CliOutput& output, const CliRequest& request);
// Prints every problem of every folder, one a line, then their count; as CSV, a row a problem with the computer,
// the user and the time, or one "ok" row, and the count on standard error.
CliResult CheckFolderProblems(platform::Platform& platform, CliOutput& output, const CliRequest& request);
