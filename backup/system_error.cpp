// Error codes in the system's words, so that the backup and the import tell a failure the same way.
#include "backup/system_error.h"

const char* SystemErrorText(std::int32_t code) {
  switch (code) {
    case 2:
      return "The system cannot find the file specified.";
    case 3:
      return "The system cannot find the path specified.";
    case 5:
      return "Access is denied.";
    case 6:
      return "The handle is invalid.";
    case 8:
      return "Not enough memory resources are available to process this command.";
    case 13:
      return "The data is invalid.";
    case 32:
      return "The process cannot access the file because it is being used by another process.";
    case 80:
      return "The file exists.";
    case 112:
      return "There is not enough space on the disk.";
    case 123:
      return "The filename, directory name, or volume label syntax is incorrect.";
    case 222:
      return "The file type being saved or retrieved has been blocked.";
    case 223:
      return "The file size exceeds the limit allowed and cannot be saved.";
    case 258:
      return "The wait operation timed out.";
    case 1012:
      return "The configuration registry key could not be read.";
    case 1013:
      return "The configuration registry key could not be written.";
    default:
      return nullptr;
  }
}

std::string WithSystemReason(const std::string& what, std::int32_t code) {
  std::string text = what + ": ";
  if (const char* reason = SystemErrorText(code)) text += std::string(reason) + " ";
  return text + "(error " + std::to_string(code) + ")";
}

std::string DescribeFailure(const char* action, const std::string& target, std::int32_t code) {
  return WithSystemReason(std::string(action) + " \"" + target + "\"", code);
}
