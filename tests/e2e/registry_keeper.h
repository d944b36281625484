// Registry access for the scenarios: reading what Zolvane wrote, and putting back whatever a scenario
// changed (the backup file on the desktop too), even after a run that was ended half-way (a journal in the registry
// remembers the originals).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/wine/scratch.h"

namespace e2e {

constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A string value's text, without its terminating zeros; empty when absent.
std::string ReadText(HKEY root, const std::string& key, const std::string& name);
// Every value of a key, by name.
std::map<std::string, RawValue> ReadKey(HKEY root, const std::string& key);
// Both values of a folder hold exactly what storing stored writes: User Shell Folders the text as REG_EXPAND_SZ,
// Shell Folders its expansion as Windows expands it as REG_SZ, each its UTF-16LE units and one terminator.
void CheckFolderValues(HKEY root, const std::string& valueName, const std::wstring& stored);

// Remembers values before a scenario changes them and restores them when it goes out of scope.
class RegistryKeeper {
 public:
  RegistryKeeper();
  ~RegistryKeeper();
  RegistryKeeper(const RegistryKeeper&) = delete;
  RegistryKeeper& operator=(const RegistryKeeper&) = delete;

  // Call before the value may change.
  void Keep(HKEY root, const std::string& key, const std::string& name);
  // Removes on restore whatever part of a key's path did not exist before (call it before creating the key).
  void KeepKeyAbsence(HKEY root, const std::string& key);

  // Restores what an earlier run, ended before it could restore, left in the journal.
  static void RecoverFromJournal();

 private:
  struct Kept {
    HKEY root;
    std::string key;
    std::string name;
    RawValue original;
  };
  void RestoreAll();

  std::vector<Kept> kept_;
  std::vector<std::pair<HKEY, std::string>> createdKeys_;
};

// Whether a backup left any of its exports' temporary files (splfolders*.txt) in the temporary folder.
bool BackupTempFilesLeft();

// The backup file on the prefix's desktop, put back as it was (or removed) when the keeper goes.
class BackupFileKeeper {
 public:
  BackupFileKeeper();
  ~BackupFileKeeper();
  BackupFileKeeper(const BackupFileKeeper&) = delete;
  BackupFileKeeper& operator=(const BackupFileKeeper&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool existed_ = false;
  std::string bytes_;
};

}  // namespace e2e
