// zolvane-cli's moves of folders with their files (--move): one folder for set and restore, a layout's folders
// for apply; a dry run tells each plan and writes nothing.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_output.h"
#include "cli/cli_words.h"
#include "features/layout_file.h"
#include "platform/platform.h"
#include "vocabulary/catalogue.h"

// The folder moved to targetStored (as given, its references kept in the values) with its files; with dryRun,
// the plan told. create: the location is made first when it is not there.
CliResult MoveFolderCommand(platform::Platform& platform, CliOutput& output, const ShellFolder& folder,
                            const std::string& targetStored, bool dryRun, bool create);

// Every folder of the layout (of the hive, when one is given) that is elsewhere, moved with its files. Every
// move is planned first, and one refused refuses the whole file; then folder by folder, those inside another
// first, each told once done. A move that fails stops the layout there: those moved before it stay moved.
// create: a location that is not there is made first.
CliResult ApplyLayoutWithFiles(platform::Platform& platform, CliOutput& output, const std::string& file,
                               const std::vector<LayoutEntry>& entries, platform::HKey hive, bool dryRun, bool create);
