// The backup of the four shell-folder keys into "specialfolders.bak" on the user's desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "backup/text_file.h"
#include "core/form1_view.h"
#include "platform/platform.h"

// How long each registry-editor export may take before it is ended and the backup fails.
constexpr std::uint32_t kExportTimeoutMs = 30000;

class RegistryBackup {
 public:
  RegistryBackup(platform::Platform& platform, Form1View& view) : platform_(platform), view_(view) {}

  // The click of "&Backup special folder paths". The outcome is told in one message box; no failure escapes.
  void Run();

  // The folder's path, or empty text when none was obtained (S_FALSE and E_INVALIDARG are told to the user).
  std::string GetSplFolderPath(int SelectedFolder);
  // The temporary directory with its trailing backslash, or empty text when the system gives none.
  std::string GetTempDir();
  bool FileExists(const std::string& Fname);
  // Appends the lines of strFile1 to strFile2, each file read in its own encoding; strFile2 becomes UTF-16LE
  // when either of them is.
  void JoinFile(const std::string& strFile1, const std::string& strFile2);
  // Appends the lines of source that do not contain text to destination, with the same rule of encodings;
  // returns how many lines it left out.
  std::int32_t FilterFile(const std::string& source, const std::string& destination, const std::string& text);
  // Deletes those of the four temporary files that exist, trying each one; returns the description of the
  // first delete that failed, or empty text.
  std::string KillTempFiles();

  // The five path variables; set afresh by every run and kept afterwards.
  std::string strBackupFile;
  std::string strTempFile1;
  std::string strTempFile2;
  std::string strTempFile3;
  std::string strTempFile4;

 private:
  bool SaveKeys();
  bool ExportKeys();
  bool ExportsWritten();
  std::array<const std::string*, 4> TempFiles() const;
  void RemoveFile(const std::string& path);
  std::string ReadBytes(const std::string& path);
  TextFile ReadText(const std::string& path);
  TextFile ReadTextOrEmpty(const std::string& path);
  void WriteText(const std::string& path, const TextFile& file);

  platform::Platform& platform_;
  Form1View& view_;
};
