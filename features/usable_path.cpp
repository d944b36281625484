// What can be a special folder's location: checked in the order a user would mend it.
#include "features/usable_path.h"

#include <algorithm>

#include "features/feature_texts.h"
#include "text/utf16.h"

namespace {

// A drive's root and what lies below it, or a share: "C:\...", "\\server\share\...".
bool IsFullPath(const std::string& path) {
  bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
               path[1] == ':' && path[2] == '\\';
  return drive || (path.size() > 2 && path.compare(0, 2, "\\\\") == 0);
}

bool HoldsControlCharacter(const std::string& path) {
  return std::any_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

PathVerdict JudgePath(FolderLocations& locations, const std::string& path) {
  PathVerdict verdict;
  std::vector<std::string> undefined;
  verdict.expanded = locations.ExpandText(path, &undefined);
  if (HoldsControlCharacter(path)) {
    verdict.why = kPathHoldsControlCharacter;
  } else if (path.find('"') != std::string::npos) {
    verdict.why = kPathHoldsQuote;
  } else if (!undefined.empty()) {
    verdict.why = NamesNoVariable(undefined.front());
  } else if (!IsFullPath(verdict.expanded)) {
    verdict.why = kPathNotFull;
  } else if (Utf8ToUtf16Le(verdict.expanded).size() / 2 > kLongestUsablePath) {
    verdict.why = PathTooLong(kLongestUsablePath);
  } else {
    verdict.usable = true;
  }
  return verdict;
}
