// Restoring a backup of the shell-folder keys: the file is read once and parsed, and its values are written
// by Zolvane itself, all or nothing. No other program ever reads the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backup/registry_file.h"
#include "platform/platform.h"

struct ImportOutcome {
  enum class Result { kImported, kInvalidFile, kFailed };
  Result result = Result::kFailed;
  // 0 when imported; otherwise the system's error code of the step that failed (kInvalidFile: 13).
  std::int32_t code = 0;
  // For the user, in the window's words: what happened, and for a failure why.
  std::string message;
};

class RegistryImport {
 public:
  explicit RegistryImport(platform::Platform& platform) : platform_(platform) {}

  // Waits for any other backup or restore of the user's to finish, reads the file (bounded) and parses it, then
  // writes every value it sets in the four keys, and deletes those it deletes. Every value's state is read
  // first; when a write fails, or a value does not read back as written, every value already written is put
  // back. It shows nothing, so it may run away from the window's thread; no failure escapes. A refused file
  // changes nothing.
  ImportOutcome Run(const std::string& file);

 private:
  std::string ReadFile(const std::string& file);
  void WriteAllOrNothing(const std::vector<RegistryFileValue>& values);

  platform::Platform& platform_;
};
