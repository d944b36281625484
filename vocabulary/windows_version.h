// The name of the running Windows version, by which start-up tells Windows XP from every other system.
#pragma once

#include <string>

#include "platform/platform.h"

// "Windows XP", "Windows 2000", ... or "" for a system the table does not name, "Failed" for an unknown platform.
std::string GetWindowsVersionName(platform::System& system);
