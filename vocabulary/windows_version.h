// The name of the running Windows version, by which start-up tells Windows XP from every other system.
#pragma once

#include <string>

#include "platform/platform.h"

// "Windows XP", "Windows 2000", ... or "" for a system the table does not name, "Failed" for an unknown platform.
std::string GetWindowsVersionName(platform::System& system);

// The one system Zolvane runs on: XP and XP x64 are both "Windows XP".
bool IsWindowsXp(platform::System& system);
