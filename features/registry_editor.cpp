// Where the Windows folder's registry editor is, and how it is told to export a key.
#include "features/registry_editor.h"

std::string RegistryEditorPath(platform::System& system) {
  std::string windowsFolder = system.WindowsFolder();
  return windowsFolder.empty() ? std::string() : windowsFolder + "\\regedit.exe";
}

std::string ExportCommandLine(const std::string& file, const ShellFolderKey& key) {
  return "regedit /e \"" + file + "\" \"" + key.FullName() + "\"";
}
