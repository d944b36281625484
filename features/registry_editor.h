// The system's registry editor, which exports each of the four keys for the backup: where it is, and the command
// line of an export.
#pragma once

#include <string>

#include "platform/platform.h"
#include "vocabulary/shell_folder_keys.h"

// The registry editor of the Windows folder, by its full path, so that a program of the same name in the current
// or the program's own folder never runs in its place; empty text when the system names no Windows folder.
std::string RegistryEditorPath(platform::System& system);

// "regedit /e "FILE" "KEY"": the key exported into the file.
std::string ExportCommandLine(const std::string& file, const ShellFolderKey& key);
