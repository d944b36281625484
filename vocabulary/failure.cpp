// A failure told in the system's own words, so that the backup, the restore and the window say it the same way.
#include "vocabulary/failure.h"

std::string ErrorNumber(std::int32_t code) {
  return "(error " + std::to_string(code) + ")";
}

std::string SystemReason(platform::System& system, std::int32_t code) {
  std::string reason = system.ErrorText(code);
  return (reason.empty() ? std::string() : reason + " ") + ErrorNumber(code);
}

std::string WithSystemReason(platform::System& system, const std::string& what, std::int32_t code) {
  return what + ": " + SystemReason(system, code);
}

std::string DescribeFailure(platform::System& system, const char* action, const std::string& target,
                            std::int32_t code) {
  return WithSystemReason(system, std::string(action) + " " + Quoted(target), code);
}

std::string OffendingLine(int lineNumber, const std::string& line) {
  return lineNumber > 0 ? "Line " + std::to_string(lineNumber) + ": " + line + "\n" : std::string();
}

std::string FileLargerThan(std::size_t maxBytes) {
  return "The file is larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MB";
}

const char* const kNotARegularFile = "It is a folder, a device or a pipe, not a file.";

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}
