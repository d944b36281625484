// Shell and operating-system procedures: the running Windows version's name, and opening web pages.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

// "Windows XP", "Windows 2000", ... or "" for a system the table does not name, "Failed" for an unknown platform.
std::string GetWindowsVersionName(platform::System& system);

// Hands a document or address to the shell with the desktop as owner; the outcome is not examined.
void ShellOpen(platform::Shell& shell, const std::string& operation, const std::string& file,
               const std::optional<std::string>& parameters, const std::optional<std::string>& directory,
               int showCommand);
