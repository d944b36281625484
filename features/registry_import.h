// Restoring a backup of the shell-folder keys: the file is read once and parsed, judged before anything is asked
// or written, and its values are written by Zolvane itself in one change of the registry, all or nothing. No
// other program ever reads the file.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"
#include "vocabulary/outcome.h"
#include "vocabulary/registry_file.h"

// A backup as judged before it is restored: its values, or what the user is told instead.
struct JudgedBackup {
  std::string file;
  bool usable = false;
  // When not usable: kRefused (code 13) for a file that is no backup, kFailed for one that cannot be read.
  Outcome refusal;
  RegistryFile parsed;
  // How many of its values hold something else now, which the restore changes.
  std::size_t changing = 0;
};

class RegistryImport {
 public:
  explicit RegistryImport(platform::Platform& platform) : platform_(platform) {}

  // Reads the file, bounded and while nobody may write it, parses it and counts the values it changes; writes
  // nothing and waits for nobody. No failure escapes.
  JudgedBackup Judge(const std::string& file);
  // Writes the judged file's values: sets and deletes them in one change of the registry, whole or not at all,
  // after waiting for any other run of Zolvane's to finish. It shows nothing, so it may run away from the
  // window's thread; no failure escapes.
  Outcome Write(const JudgedBackup& judged);
  // Judge, then Write what is usable.
  Outcome Run(const std::string& file);

 private:
  std::string ReadFile(const std::string& file);

  platform::Platform& platform_;
};
