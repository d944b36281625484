// Making a folder and the missing ones above it: found from the inside out, made from the outside in.
#include "features/folder_maker.h"

#include "features/feature_texts.h"
#include "features/usable_path.h"
#include "vocabulary/failure.h"

std::int32_t MakeFolderAndParents(platform::Files& files, const std::string& path, std::vector<std::string>* made) {
  std::string folder = path;
  std::size_t root = RootLength(folder);
  while (folder.size() > root && IsPathSeparator(folder.back())) folder.pop_back();
  std::vector<std::string> missing;
  for (std::string at = folder; at.size() > root && !files.IsFolder(at);) {
    missing.push_back(at);
    std::size_t separator = at.find_last_of("\\/");
    if (separator == std::string::npos || separator < root) break;
    at = at.substr(0, separator);
    while (at.size() > root && IsPathSeparator(at.back())) at.pop_back();
  }
  for (auto at = missing.rbegin(); at != missing.rend(); ++at) {
    std::int32_t code = files.CreateFolder(*at);
    if (code == platform::kErrorAlreadyExists && files.IsFolder(*at)) continue;
    if (code != 0) return code;
    made->push_back(*at);
  }
  return 0;
}

ReadiedLocation ReadyLocation(platform::Platform& platform, const std::string& location, bool create) {
  ReadiedLocation readied;
  readied.there = platform.files.IsFolder(location);
  if (readied.there || !create) return readied;
  std::int32_t code = MakeFolderAndParents(platform.files, location, &readied.made);
  if (code != 0) throw Failure(code, DescribeFailure(platform.system, kCannotMakeFolder, location, code));
  readied.there = true;
  return readied;
}
