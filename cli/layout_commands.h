// zolvane-cli's commands for many folders and many machines: layout, apply and check.
#pragma once

#include <string>

#include "cli/cli_output.h"
#include "features/folder_locations.h"
#include "features/layout.h"
#include "platform/platform.h"

struct CheckOptions {
  bool csv = false;
  bool noHeader = false;    // CSV rows without their header line, for appending to a file that has it
  platform::HKey hive = 0;  // only this hive's folders; 0 for both
};

// Why set or apply may not write this path (JudgePath), for the user; empty text when it is usable.
std::string UnusablePathText(FolderLocations& locations, const std::string& path);

// Prints the current layout as a layout file: every folder, or those of one hive.
int PrintLayout(platform::Platform& platform, CliOutput& output, platform::HKey hive);
// Reads a layout file, holds every path to the rule, and moves the folders it names, all or nothing; a dry run
// only tells what it would do.
int ApplyLayoutFile(platform::Platform& platform, CliOutput& output, const std::string& file,
                    const LayoutOptions& options);
// Prints every problem of every folder, one a line, then their count; as CSV, a row a problem with the computer,
// the user and the time, or one "ok" row, and the count on standard error. 2 when there is a problem.
int CheckFolderProblems(platform::Platform& platform, CliOutput& output, const CheckOptions& options);
