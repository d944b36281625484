// The file tree in memory: FakeFiles' files and folders, with attributes, times, reparse points, volumes and
// files held open, answering each call with the codes Windows gives.
#include "fakes/fake_file_tree.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

using platform::kAttributeFolder;
using platform::kAttributeReadOnly;
using platform::kAttributeReparsePoint;

constexpr std::uint64_t kPieceBytes = 1 << 20;
constexpr std::int32_t kErrorDirectory = 267;  // a folder was expected

// A path as the maps hold it: without a "\\\\?\\" prefix or a trailing backslash (a drive's root is "C:").
std::string Key(std::string path) {
  if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) path = "\\" + path.substr(7);
  if (path.compare(0, 4, "\\\\?\\") == 0) path = path.substr(4);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string Parent(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsRoot(const std::string& path) {
  if (path.size() == 2 && path[1] == ':') return true;
  std::size_t server = path.find('\\', 2);
  return path.compare(0, 2, "\\\\") == 0 && server != std::string::npos &&
         path.find('\\', server + 1) == std::string::npos;
}

// The path itself or anything in it.
bool IsOrWithin(const std::string& path, const std::string& folder) {
  return path.size() >= folder.size() && CaseInsensitiveLess::Equal(path.substr(0, folder.size()), folder) &&
         (path.size() == folder.size() || path[folder.size()] == '\\');
}

template <typename Set>
void RenameKeys(Set& set, const std::string& from, const std::string& to) {
  std::vector<std::string> moved;
  for (auto it = set.begin(); it != set.end();) {
    if (!IsOrWithin(*it, from)) {
      ++it;
      continue;
    }
    moved.push_back(to + it->substr(from.size()));
    it = set.erase(it);
  }
  set.insert(moved.begin(), moved.end());
}

template <typename Value>
void RenameKeys(std::map<std::string, Value, CaseInsensitiveLess>& map, const std::string& from,
                const std::string& to) {
  std::vector<std::pair<std::string, Value>> moved;
  for (auto it = map.begin(); it != map.end();) {
    if (!IsOrWithin(it->first, from)) {
      ++it;
      continue;
    }
    moved.emplace_back(to + it->first.substr(from.size()), it->second);
    it = map.erase(it);
  }
  map.insert(moved.begin(), moved.end());
}

}  // namespace

std::optional<std::int32_t> FakeFileTree::Record(std::string call) {
  if (onCall) onCall();
  return log_.Record(std::move(call));
}

bool FakeFileTree::IsFolder(const std::string& path) const {
  return IsRoot(path) || files_.folders.count(path) != 0;
}

bool FakeFileTree::Exists(const std::string& path) const {
  return IsFolder(path) || files_.files.count(path) != 0;
}

std::string FakeFileTree::VolumeRoot(const std::string& path) const {
  std::string longest;
  for (const auto& [root, free] : volumes) {
    if (IsOrWithin(path, Key(root)) && Key(root).size() > longest.size()) longest = Key(root);
  }
  if (!longest.empty()) return longest;
  if (path.compare(0, 2, "\\\\") != 0) return path.substr(0, 2);
  std::size_t server = path.find('\\', 2);
  return path.substr(0, path.find('\\', server == std::string::npos ? path.size() : server + 1));
}

std::uint64_t& FakeFileTree::FreeBytes(const std::string& root) {
  for (auto& [volume, free] : volumes) {
    if (CaseInsensitiveLess::Equal(Key(volume), root)) return free;
  }
  return volumes.emplace(root + "\\", defaultFreeBytes).first->second;
}

std::int32_t FakeFileTree::ParentMissing(const std::string& path) const {
  return IsFolder(Parent(path)) ? 0 : platform::kErrorPathNotFound;
}

void FakeFileTree::Touch(const std::string& path) {
  std::string parent = Parent(path);
  if (IsRoot(parent)) return;
  auto [found, made] = details.emplace(parent, Details{0, kFirstTime, kFirstTime});
  found->second.lastWritten = ++now;
}

platform::TreeEntry FakeFileTree::EntryOf(const std::string& path) {
  platform::TreeEntry entry;
  entry.name = path.substr(path.find_last_of('\\') + 1);
  entry.folder = IsFolder(path);
  entry.reparsePoint = reparsePoints.count(path) != 0;
  // An entry met for the first time (made through FakeFiles) was made then.
  auto found = details.find(path);
  if (found == details.end()) {
    ++now;
    found = details.emplace(path, Details{entry.folder ? 0 : platform::kAttributeArchive, now, now}).first;
  }
  const Details& shown = found->second;
  entry.attributes = shown.attributes & ~(kAttributeReadOnly | kAttributeFolder | kAttributeReparsePoint);
  if (files_.readOnly.count(path) != 0) entry.attributes |= kAttributeReadOnly;
  if (entry.folder) entry.attributes |= kAttributeFolder;
  if (entry.reparsePoint) entry.attributes |= kAttributeReparsePoint;
  if (entry.attributes == 0 && !entry.folder) entry.attributes = platform::kAttributeNormal;
  entry.size = entry.folder ? 0 : files_.files.at(path).size();
  entry.created = shown.created;
  entry.lastWritten = shown.lastWritten;
  return entry;
}

std::int32_t FakeFileTree::List(const std::string& folder, std::vector<platform::TreeEntry>* entries) {
  std::string path = Key(folder);
  if (auto fail = Record("List(" + path + ")")) return *fail;
  if (!IsFolder(path)) return Exists(path) ? kErrorDirectory : platform::kErrorPathNotFound;
  entries->clear();
  auto addIfIn = [&](const std::string& key) {
    if (CaseInsensitiveLess::Equal(Parent(key), path)) entries->push_back(EntryOf(key));
  };
  for (const auto& [file, bytes] : files_.files) addIfIn(file);
  for (const std::string& inside : files_.folders) addIfIn(inside);
  return 0;
}

std::int32_t FakeFileTree::Describe(const std::string& path, platform::TreeEntry* entry) {
  std::string key = Key(path);
  if (auto fail = Record("Describe(" + key + ")")) return *fail;
  if (!Exists(key)) return IsFolder(Parent(key)) ? platform::kErrorFileNotFound : platform::kErrorPathNotFound;
  *entry = EntryOf(key);
  return 0;
}

std::int32_t FakeFileTree::Volume(const std::string& path, platform::VolumeInfo* volume) {
  std::string key = Key(path);
  if (auto fail = Record("Volume(" + key + ")")) return *fail;
  std::string root = VolumeRoot(key);
  volume->root = root + "\\";
  volume->id = volume->root;
  for (char& letter : volume->id) letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  volume->freeBytes = FreeBytes(root);
  return 0;
}

std::int32_t FakeFileTree::Rename(const std::string& from, const std::string& to) {
  std::string source = Key(from), target = Key(to);
  if (auto fail = Record("Rename(" + source + ", " + target + ")")) return *fail;
  if (!Exists(source)) return ParentMissing(source) ? platform::kErrorPathNotFound : platform::kErrorFileNotFound;
  if (Exists(target)) return platform::kErrorAlreadyExists;
  if (std::int32_t code = ParentMissing(target)) return code;
  if (!CaseInsensitiveLess::Equal(VolumeRoot(source), VolumeRoot(target))) return platform::kErrorNotSameDevice;
  for (const std::string& held : heldOpen) {
    if (IsOrWithin(held, source))
      return held.size() == source.size() ? platform::kErrorSharingViolation : platform::kErrorAccessDenied;
  }
  RenameKeys(files_.files, source, target);
  RenameKeys(files_.folders, source, target);
  RenameKeys(files_.readOnly, source, target);
  RenameKeys(details, source, target);
  RenameKeys(reparsePoints, source, target);
  Touch(source);
  Touch(target);
  return 0;
}

std::int32_t FakeFileTree::CopyToNew(const std::string& from, const std::string& to, const Progress& progress) {
  std::string source = Key(from), target = Key(to);
  if (auto fail = Record("CopyToNew(" + source + ", " + target + ")")) return *fail;
  if (IsFolder(source)) return platform::kErrorAccessDenied;
  if (files_.files.count(source) == 0)
    return ParentMissing(source) ? ParentMissing(source) : platform::kErrorFileNotFound;
  if (heldOpen.count(source) != 0) return platform::kErrorSharingViolation;
  if (Exists(target)) return platform::kErrorFileExists;
  if (std::int32_t code = ParentMissing(target)) return code;
  std::string bytes = files_.files[source];
  std::uint64_t& free = FreeBytes(VolumeRoot(target));
  if (bytes.size() > free) return platform::kErrorDiskFull;
  beingRead.insert(source);
  for (std::uint64_t done = 0; progress && done < bytes.size();) {
    done = std::min<std::uint64_t>(done + kPieceBytes, bytes.size());
    progress(done);
  }
  beingRead.erase(source);
  free -= bytes.size();
  platform::TreeEntry copied = EntryOf(source);
  files_.files[target] = bytes;
  if (copied.attributes & kAttributeReadOnly) files_.readOnly.insert(target);
  details[target] = Details{copied.attributes, copied.created, copied.lastWritten};
  Touch(target);
  return 0;
}

std::int32_t FakeFileTree::CompareBytes(const std::string& one, const std::string& other, bool* same) {
  std::string first = Key(one), second = Key(other);
  if (auto fail = Record("CompareBytes(" + first + ", " + second + ")")) return *fail;
  for (const std::string& path : {first, second}) {
    if (IsFolder(path)) return platform::kErrorAccessDenied;
    if (files_.files.count(path) == 0) return platform::kErrorFileNotFound;
    if (heldOpen.count(path) != 0) return platform::kErrorSharingViolation;
  }
  *same = files_.files[first] == files_.files[second];
  return 0;
}

std::int32_t FakeFileTree::SetFolderDetails(const std::string& folder, std::uint32_t attributes, std::uint64_t created,
                                            std::uint64_t lastWritten) {
  std::string path = Key(folder);
  if (auto fail = Record("SetFolderDetails(" + path + ")")) return *fail;
  if (!IsFolder(path)) return Exists(path) ? kErrorDirectory : platform::kErrorFileNotFound;
  details[path] = Details{attributes & ~(kAttributeFolder | kAttributeReparsePoint), created, lastWritten};
  if (attributes & kAttributeReadOnly) {
    files_.readOnly.insert(path);
  } else {
    files_.readOnly.erase(path);
  }
  return 0;
}

std::int32_t FakeFileTree::MakeFolder(const std::string& folder) {
  std::string path = Key(folder);
  if (auto fail = Record("MakeFolder(" + path + ")")) return *fail;
  if (Exists(path)) return platform::kErrorAlreadyExists;
  if (std::int32_t code = ParentMissing(path)) return code;
  files_.folders.insert(path);
  Touch(path);
  return 0;
}

std::int32_t FakeFileTree::RemoveFile(const std::string& path, bool evenReadOnly) {
  std::string key = Key(path);
  if (auto fail = Record("RemoveFile(" + key + ")")) return *fail;
  if (IsFolder(key)) return platform::kErrorAccessDenied;
  if (files_.files.count(key) == 0) return ParentMissing(key) ? ParentMissing(key) : platform::kErrorFileNotFound;
  if (files_.readOnly.count(key) != 0 && !evenReadOnly) return platform::kErrorAccessDenied;
  if (heldOpen.count(key) != 0) return platform::kErrorSharingViolation;
  FreeBytes(VolumeRoot(key)) += files_.files[key].size();
  files_.files.erase(key);
  files_.readOnly.erase(key);
  details.erase(key);
  Touch(key);
  return 0;
}

std::int32_t FakeFileTree::RemoveFolder(const std::string& folder, bool evenReadOnly) {
  std::string path = Key(folder);
  if (auto fail = Record("RemoveFolder(" + path + ")")) return *fail;
  if (!IsFolder(path)) return Exists(path) ? kErrorDirectory : platform::kErrorFileNotFound;
  for (const auto& [file, bytes] : files_.files) {
    if (IsOrWithin(file, path)) return platform::kErrorDirNotEmpty;
  }
  for (const std::string& inside : files_.folders) {
    if (inside.size() > path.size() && IsOrWithin(inside, path)) return platform::kErrorDirNotEmpty;
  }
  if (files_.readOnly.count(path) != 0 && !evenReadOnly) return platform::kErrorAccessDenied;
  files_.folders.erase(path);
  files_.readOnly.erase(path);
  details.erase(path);
  reparsePoints.erase(path);
  Touch(path);
  return 0;
}
