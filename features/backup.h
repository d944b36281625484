// The backup of the four shell-folder keys into "specialfolders.bak" on the user's desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/outcome.h"

// How long each registry-editor export may take before it is ended and the backup fails.
constexpr std::uint32_t kExportTimeoutMs = 30000;

// The backup's name in the user's desktop folder.
extern const char* const kBackupFileName;

class RegistryBackup {
 public:
  explicit RegistryBackup(platform::Platform& platform) : platform_(platform) {}

  // Saves the four keys into the backup file: targetFile, or "specialfolders.bak" on the desktop when that is
  // empty. It shows nothing and touches no window, so it may run away from the window's thread; no failure
  // escapes. It waits for any other backup or restore of the user's to finish first. The previous backup file
  // is replaced only by a complete new one that the restore reads back as the registry holds the keys: a failed
  // run leaves it exactly as it was. The outcome's code is the failed step's (ERROR_CANTREAD when an export
  // failed, ERROR_INVALID_DATA when the new backup would not restore the keys as they are).
  Outcome Run(const std::string& targetFile = std::string());

  // The desktop folder's path, or empty text when none was obtained (S_FALSE and E_INVALIDARG add a notice).
  std::string DesktopFolder(std::vector<std::string>* notices);

 private:
  void SetExportFiles();
  void RefuseExportFileAsTarget(const std::string& target);
  void RefuseReadOnlyTarget(const std::string& target);
  void CheckCarriable(std::size_t index);
  void CheckUnchanged();
  void SaveKeys(const std::string& backupFile);
  std::array<std::string, 4> ExportKeys();
  void ReadHeldValues();
  std::string ReadExport(std::size_t index);
  void CheckRestorable(const std::string& bytes);
  void ReplaceBackup(const std::string& backupFile, const std::string& bytes);
  std::string FindRegistryEditor();
  // Deletes those of the four export files that exist, trying each one; returns the description of the first
  // delete that failed (its code in *firstCode), or empty text.
  std::string DeleteExportFiles(std::int32_t* firstCode = nullptr);

  platform::Platform& platform_;
  // The temporary files regedit exports the four keys into, in export order.
  std::array<std::string, 4> exportFiles_;
  // What the registry held of each key while it was exported.
  std::array<std::vector<platform::RegistryValue>, 4> heldValues_;
};
