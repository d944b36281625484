// Exit codes, lines and fields: the command line's way of telling what happened.
#include "cli/cli_words.h"

#include <cstdio>

#include "platform/platform.h"
#include "vocabulary/failure.h"

std::string AsLines(const std::string& text) {
  std::string lines;
  for (char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  return lines + "\r\n";
}

std::string LocalTimeText(const platform::LocalTime& time, char between) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", time.year, time.month, time.day, between,
                time.hour, time.minute, time.second);
  return text;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

int ExitCode(const CliResult& result) {
  return result.kind == CliResult::kFailed && result.code == platform::kErrorAccessDenied ? 5 : result.kind;
}

CliResult TellError(CliOutput& output, CliResult result, const std::string& message) {
  output.Err(AsLines(message));
  return result;
}

CliResult Tell(CliOutput& output, const Outcome& outcome) {
  for (const std::string& notice : outcome.notices) output.Err(AsLines(notice));
  if (outcome.done()) {
    output.Out(AsLines(outcome.message));
    return {};
  }
  if (outcome.result == Outcome::Result::kRefused) {
    output.Err(AsLines(outcome.message));
    return {CliResult::kUnusableInput};
  }
  bool saysCode = outcome.message.find(ErrorNumber(outcome.code)) != std::string::npos ||
                  outcome.message.find("Error " + std::to_string(outcome.code)) != std::string::npos;
  output.Err(AsLines(outcome.message + (saysCode ? "" : " " + ErrorNumber(outcome.code))));
  return {CliResult::kFailed, outcome.code};
}
