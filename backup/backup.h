// The backup of the four shell-folder keys into "specialfolders.bak" on the user's desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "backup/text_file.h"
#include "platform/platform.h"

// How long each registry-editor export may take before it is ended and the backup fails.
constexpr std::uint32_t kExportTimeoutMs = 30000;

// The backup's name in the user's desktop folder.
extern const char* const kBackupFileName;

// What a run came to, for the user: whether the backup file now holds the four keys, and if not, why, as
// far as it is known; and what the user should hear first about the desktop folder.
struct BackupOutcome {
  bool succeeded = false;
  // 0, or the system's error code of the step that failed (ERROR_CANTREAD when an export failed, and
  // ERROR_INVALID_DATA when the new backup read back incomplete).
  std::int32_t code = 0;
  std::string failure;
  std::vector<std::string> notices;
};

class RegistryBackup {
 public:
  explicit RegistryBackup(platform::Platform& platform) : platform_(platform) {}

  // Saves the four keys into the backup file: targetFile, or "specialfolders.bak" on the desktop when that is
  // empty. It shows nothing and touches no window, so it
  // may run away from the window's thread; no failure escapes. The previous backup file is replaced only by
  // a complete, verified new one: a failed run leaves it exactly as it was.
  BackupOutcome Run(const std::string& targetFile = std::string());

  // The folder's path, or empty text when none was obtained (S_FALSE and E_INVALIDARG become notices).
  std::string GetFolderPath(int folder);
  // The temporary directory with its trailing backslash, or empty text when the system gives none.
  std::string GetTempDir();
  bool FileExists(const std::string& path);
  // Appends the lines of the source file to the destination file, each read in its own encoding; the
  // destination becomes UTF-16LE when either of them is.
  void JoinFile(const std::string& sourcePath, const std::string& destinationPath);
  // Appends the lines of source that do not contain text to destination, with the same rule of encodings;
  // returns how many lines it left out.
  std::int32_t FilterFile(const std::string& source, const std::string& destination, const std::string& text);
  // Deletes those of the four export files that exist, trying each one; returns the description of the first
  // delete that failed (its code in *firstCode), or empty text.
  std::string DeleteExportFiles(std::int32_t* firstCode = nullptr);

  // Where the backup goes, and the temporary files regedit exports the four keys into, in export order: set
  // afresh by every run and kept afterwards.
  std::string backupFile;
  std::array<std::string, 4> exportFiles;

 private:
  bool SaveKeys();
  void WriteNewBackup(const std::string& path);
  void CheckNewBackup(const std::string& path);
  std::string DesktopBackupFile();
  std::string FindRegistryEditor();
  bool ExportKeys();
  bool ExportsWritten();
  std::string ReadBytes(const std::string& path);
  TextFile ReadText(const std::string& path);
  TextFile ReadTextOrEmpty(const std::string& path);
  void WriteText(const std::string& path, const TextFile& file);

  platform::Platform& platform_;
  std::vector<std::string> notices_;
};
