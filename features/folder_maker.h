// A folder made where a special folder is to live, with the folders above it that are missing, as folder
// redirection makes a user's folder: zolvane-cli's --create.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// Makes the folder at this full path and each missing folder above it, below its drive's root or its share (its
// RootLength), "/" taken as "\" as Windows takes it; each takes the rights of the folder it is made in. 0 once the
// folder is there (made or not), else the system's code of the first that could not be made; *made gets the
// folders made, outermost first.
std::int32_t MakeFolderAndParents(platform::Files& files, const std::string& path, std::vector<std::string>* made);

// A location as a folder is about to move there: whether its folder is there, and the folders made for it.
struct ReadiedLocation {
  bool there = false;
  std::vector<std::string> made;  // outermost first
};

// With create, makes the location's folder and those above it when it is not there; without, only looks. Throws
// Failure, "Cannot make the folder ..." and the system's reason, when one cannot be made.
ReadiedLocation ReadyLocation(platform::Platform& platform, const std::string& location, bool create);
