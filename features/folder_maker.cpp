// Making a folder and the missing ones above it: found from the inside out, made from the outside in.
#include "features/folder_maker.h"

#include "features/feature_texts.h"
#include "vocabulary/failure.h"

namespace {

// Where the folders that may be made begin: past "C:\" or past "\\server\share\".
std::size_t FirstMakeable(const std::string& path) {
  if (path.compare(0, 2, "\\\\") != 0) return 3;
  std::size_t share = path.find('\\', 2);
  if (share == std::string::npos) return path.size();
  std::size_t end = path.find('\\', share + 1);
  return end == std::string::npos ? path.size() : end + 1;
}

}  // namespace

std::int32_t MakeFolderAndParents(platform::Files& files, const std::string& path, std::vector<std::string>* made) {
  std::string folder = path;
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  std::vector<std::string> missing;
  for (std::string at = folder; at.size() > FirstMakeable(folder) && !files.IsFolder(at);) {
    missing.push_back(at);
    std::size_t slash = at.find_last_of('\\');
    if (slash == std::string::npos) break;
    at = at.substr(0, slash);
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
