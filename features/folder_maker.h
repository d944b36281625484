// A folder made where a special folder is to live, with the folders above it that are missing, as folder
// redirection makes a user's folder: zolvane-cli's --create.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// Makes the folder at this full path and each missing folder above it, below its drive's root or its share; each
// takes the rights of the folder it is made in. 0 once the folder is there (made or not), else the system's code
// of the first that could not be made; *made gets the folders made, outermost first.
std::int32_t MakeFolderAndParents(platform::Files& files, const std::string& path, std::vector<std::string>* made);
