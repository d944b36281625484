// Lines, fields and exit codes: the command line's way of telling what happened.
#include "cli/cli_words.h"

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

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

int FailureExitCode(std::int32_t code) {
  return code == platform::kErrorAccessDenied ? kExitAccessDenied : kExitFailed;
}

int Tell(CliOutput& output, const Outcome& outcome) {
  for (const std::string& notice : outcome.notices) output.Err(AsLines(notice));
  if (outcome.done()) {
    output.Out(AsLines(outcome.message));
    return kExitSuccess;
  }
  if (outcome.result == Outcome::Result::kRefused) {
    output.Err(AsLines(outcome.message));
    return kExitNotAFileOfOurs;
  }
  bool saysCode = outcome.message.find(ErrorNumber(outcome.code)) != std::string::npos ||
                  outcome.message.find("Error " + std::to_string(outcome.code)) != std::string::npos;
  output.Err(AsLines(outcome.message + (saysCode ? "" : " " + ErrorNumber(outcome.code))));
  return FailureExitCode(outcome.code);
}
