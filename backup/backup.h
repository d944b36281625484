// The backup of the four shell-folder keys into "specialfolders.bak" on the user's desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// How long each registry-editor export may take before it is ended and the backup fails.
constexpr std::uint32_t kExportTimeoutMs = 30000;

// The backup's name in the user's desktop folder.
extern const char* const kBackupFileName;

// What a run came to, for the user: whether the backup file now holds the four keys, and if not, why; and what
// the user should hear first about the desktop folder.
struct BackupOutcome {
  bool succeeded = false;
  // Where the backup went, or was to go.
  std::string file;
  // 0, or the system's error code of the step that failed (ERROR_CANTREAD when an export failed, and
  // ERROR_INVALID_DATA when the new backup could not be restored as the registry holds the keys).
  std::int32_t code = 0;
  std::string failure;
  std::vector<std::string> notices;
};

class RegistryBackup {
 public:
  explicit RegistryBackup(platform::Platform& platform) : platform_(platform) {}

  // Saves the four keys into the backup file: targetFile, or "specialfolders.bak" on the desktop when that is
  // empty. It shows nothing and touches no window, so it may run away from the window's thread; no failure
  // escapes. It waits for any other backup or restore of the user's to finish first. The previous backup file
  // is replaced only by a complete new one that the restore reads back as the registry holds the keys: a failed
  // run leaves it exactly as it was.
  BackupOutcome Run(const std::string& targetFile = std::string());

  // The folder's path, or empty text when none was obtained (S_FALSE and E_INVALIDARG become notices).
  std::string GetFolderPath(int folder);
  bool FileExists(const std::string& path);

 private:
  void SetExportFiles();
  void RefuseExportFileAsTarget(const std::string& target);
  void SaveKeys(const std::string& backupFile);
  std::array<std::string, 4> ExportKeys();
  std::string ReadExport(std::size_t index);
  void CheckRestorable(const std::string& bytes);
  void ReplaceBackup(const std::string& backupFile, const std::string& bytes);
  std::string DesktopBackupFile();
  std::string FindRegistryEditor();
  std::string GetTempDir();
  // Deletes those of the four export files that exist, trying each one; returns the description of the first
  // delete that failed (its code in *firstCode), or empty text.
  std::string DeleteExportFiles(std::int32_t* firstCode = nullptr);

  platform::Platform& platform_;
  // The temporary files regedit exports the four keys into, in export order.
  std::array<std::string, 4> exportFiles_;
  std::vector<std::string> notices_;
};
