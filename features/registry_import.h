// Restoring a backup of the shell-folder keys: the file is read once and parsed, and its values are written
// by Zolvane itself, all or nothing. No other program ever reads the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/outcome.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/shell_folder_registry.h"

// The first line of every failure of a restore from file.
std::string NotRestoredHeadline(const std::string& file);

class RegistryImport {
 public:
  explicit RegistryImport(platform::Platform& platform) : platform_(platform) {}

  // Waits for any other run of Zolvane's to finish, reads the file (bounded) and parses it, then writes every
  // value it sets in the four keys, and deletes those it deletes. Every value's state is read first and written
  // into the journal, so that the restore is never left half done, whenever it is cut off; when a write fails,
  // or a value does not read back as written, every value already written is put back (but one that another
  // program changed meanwhile). It shows nothing, so it may run away from the window's thread; no failure
  // escapes. A refused file changes nothing.
  // The outcome is kRefused, with code 13, for a file that is no backup.
  Outcome Run(const std::string& file);

 private:
  std::string ReadFile(const std::string& file);
  void WriteAllOrNothing(const std::vector<RegistryFileValue>& values);
  std::string PutBack(const std::vector<RegistryFileValue>& values, const std::vector<StoredValue>& before,
                      std::size_t written, bool* allPutBack);

  platform::Platform& platform_;
  std::vector<std::string> notices_;
};
