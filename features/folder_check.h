// What is broken about where the special folders live, as a user or an administrator would want to know it. It
// only reads.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"

struct FolderProblem {
  const ShellFolder* folder = nullptr;
  std::string problem;  // "unusable value", "values disagree", "location missing" or "not a folder"
  std::string detail;   // for the user, with the values concerned
};

// Every folder in list order, each with all its problems: its User Shell Folders value empty, not a string, a
// relative path or naming a variable that is not defined; its Shell Folders value not that value's expansion;
// the location not there, or not a folder. A healthy folder has none.
std::vector<FolderProblem> CheckFolders(platform::Platform& platform);
