// What zolvane-cli's commands share: what a command came to and its exit code, lines, CSV fields, and how an
// outcome is told.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_output.h"
#include "platform/platform.h"
#include "vocabulary/outcome.h"

// What a command came to; ExitCode alone turns it into the program's exit code.
struct CliResult {
  // Each kind with the exit code it ends with. kBadUsage: also an unknown folder; kFoundSomething: check found a
  // problem, or a dry run would change something; kUnusableInput: a backup, a layout or a path, and nothing was
  // written; kFailed: 6, or 5 when access was denied.
  enum Kind { kDone = 0, kBadUsage = 1, kFoundSomething = 2, kUnusableInput = 3, kNotWindowsXp = 4, kFailed = 6 };
  Kind kind = kDone;
  std::int32_t code = 0;  // kFailed: the system's error code of the step that failed
};

int ExitCode(const CliResult& result);

// Console lines end in CR LF, also those inside a message of several lines.
std::string AsLines(const std::string& text);

// "2026-12-09T01:57:00" (ISO 8601) with 'T' between the date and the time, or "2026-12-09 01:57:00" with ' '.
std::string LocalTimeText(const platform::LocalTime& time, char between);

// RFC 4180: a field holding a comma, a double quote, CR or LF goes in quotes, its quotes doubled.
std::string CsvField(const std::string& text);

// What the command came to, with the message that says why on standard error.
CliResult TellError(CliOutput& output, CliResult result, const std::string& message);

// The notices and a failure on standard error, a success on standard output; a failure's message ends with the
// system's code when it does not already say it.
CliResult Tell(CliOutput& output, const Outcome& outcome);
