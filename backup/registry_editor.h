// The system's registry editor, which the backup's exports and the import run: where it is, and starting it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// The exit code a registry editor that had to be ended is given.
constexpr std::uint32_t kEndedEditorExitCode = 1;

// The registry editor of the Windows folder, by its full path, so that a program of the same name in the current
// or the program's own folder never runs in its place; empty text when the system names no Windows folder.
std::string RegistryEditorPath(platform::System& system);

// CreateProcessW of the editor at that path, minimised: 0 and the process, or the system's code.
std::int32_t StartRegistryEditor(platform::Processes& processes, const std::string& editorPath,
                                 const std::string& commandLine, platform::ProcessHandle* process);
