// Finding and starting the Windows folder's registry editor.
#include "backup/registry_editor.h"

std::string RegistryEditorPath(platform::System& system) {
  std::string windowsFolder;
  if (system.GetWindowsDirectoryW(&windowsFolder) == 0) return std::string();
  return windowsFolder + "\\regedit.exe";
}

std::int32_t StartRegistryEditor(platform::Processes& processes, const std::string& editorPath,
                                 const std::string& commandLine, platform::ProcessHandle* process) {
  std::int32_t code = processes.CreateProcessW(editorPath, commandLine, platform::kSwShowMinimized, process);
  // Wine's CreateProcess now and then answers ERROR_INTERNAL_ERROR while other editors are starting, and the same
  // start made again succeeds; no other answer is worth a second try.
  if (code == platform::kErrorInternalError) {
    code = processes.CreateProcessW(editorPath, commandLine, platform::kSwShowMinimized, process);
  }
  return code;
}
