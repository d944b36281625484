// What zolvane-cli's commands share: its exit codes, its lines, CSV fields, and how an outcome is told.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_output.h"
#include "vocabulary/outcome.h"

// Each exit code means one thing.
constexpr int kExitSuccess = 0;
constexpr int kExitBadUsage = 1;        // bad usage, or an unknown folder
constexpr int kExitFoundSomething = 2;  // check found problems; apply --dry-run would change something
constexpr int kExitNotAFileOfOurs = 3;  // the input (a backup, a layout or a path) is unusable: nothing was written
constexpr int kExitNotWindowsXp = 4;
constexpr int kExitAccessDenied = 5;
constexpr int kExitFailed = 6;  // any other failure; the system's code is in the message

// Console lines end in CR LF, also those inside a message of several lines.
std::string AsLines(const std::string& text);

// RFC 4180: a field holding a comma, a double quote, CR or LF goes in quotes, its quotes doubled.
std::string CsvField(const std::string& text);

// The exit code of a failure with this system code.
int FailureExitCode(std::int32_t code);

// The notices and a failure on standard error, a success on standard output; a failure's message ends with the
// system's code when it does not already say it. Gives the exit code.
int Tell(CliOutput& output, const Outcome& outcome);
