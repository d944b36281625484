// What is broken about where the special folders live, as a user or an administrator would want to know it. It
// only reads.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"

struct FolderProblem {
  const ShellFolder* folder = nullptr;
  std::string problem;  // one of the four problems' names: k...Problem of feature_texts.h
  std::string detail;   // for the user, with the values concerned
};

// Every folder in list order, each with all its problems: its User Shell Folders value empty, not a string, or
// no usable location (JudgePath); its Shell Folders value not that value's expansion; the location not there, or
// not a folder. A healthy folder has none. hive: only the folders of that hive, or of both when it is 0.
std::vector<FolderProblem> CheckFolders(platform::Platform& platform, platform::HKey hive = 0);
