// The kept layout of where folders were before: found, read, added to (never changed) and written whole.
#include "features/kept_layout.h"

#include <algorithm>
#include <cstring>

#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "text/ascii_case.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/failure.h"

namespace {

constexpr int kCommonAppDataCsidl = 0x23;  // CSIDL_COMMON_APPDATA: "All Users\Application Data"
const char* const kUsersKeptLayout = "before-layout.txt";
const char* const kSharedKeptLayout = "Zolvane\\before-layout (shared folders).txt";
// A comment line of the kept layout that holds what the last layout applied to a folder wrote, as a layout line.
const char* const kAppliedPrefix = "; applied: ";

// The kept layout's bytes, or empty text when there is none; throws Failure when it cannot be read.
std::string ReadKeptBytes(platform::Platform& platform, const std::string& path) {
  std::string bytes;
  std::int32_t code = platform.files.ReadWholeFile(path, kMaxLayoutFileBytes, &bytes);
  if (code == platform::kErrorFileNotFound || code == platform::kErrorPathNotFound) return std::string();
  if (code != 0) throw Failure(code, DescribeFailure(platform.system, kCannotReadAction, path, code));
  return bytes;
}

LayoutFile ParseKept(const std::string& path, const std::string& bytes) {
  LayoutFile file = ParseLayoutFile(bytes);
  if (!file.readable) throw Failure(platform::kErrorInvalidData, KeptLayoutUnreadable(path, file.reason));
  return file;
}

// What was applied to each folder: the comment lines that begin kAppliedPrefix, read as the layout lines they hold.
std::map<const ShellFolder*, std::string> ParseApplied(const std::string& bytes) {
  std::string lines;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    if (bytes.compare(at, std::strlen(kAppliedPrefix), kAppliedPrefix) == 0)
      lines += bytes.substr(at + std::strlen(kAppliedPrefix), end - at - std::strlen(kAppliedPrefix)) + "\n";
    at = end + 1;
  }
  std::map<const ShellFolder*, std::string> applied;
  LayoutFile file = ParseLayoutFile(lines);
  for (const LayoutEntry& entry : file.entries) applied[entry.folder] = entry.path;
  return applied;
}

std::string KeptBytes(const std::vector<LayoutEntry>& entries,
                      const std::map<const ShellFolder*, std::string>& applied) {
  std::string text = std::string(kKeptLayoutHeading) + "\r\n";
  for (const LayoutEntry& entry : entries) {
    std::string name = entry.folder->displayName;
    text += name + " = " + entry.path + "\r\n";
    auto wrote = applied.find(entry.folder);
    if (wrote != applied.end()) text += kAppliedPrefix + name + " = " + wrote->second + "\r\n";
  }
  return text;
}

// The hive's kept layout read, mended and written back when anything of it changed. Before a layout: each of its
// folders not named yet is added with where it is now. After it: each folder that now holds what the layout puts
// there has that as what was applied to it, so that a layout that failed or stopped before a folder is not
// taken for one that moved it.
void KeepHive(platform::Platform& platform, const std::vector<LayoutEntry>& entries, platform::HKey hive,
              bool applied) {
  auto ofHive = [hive](const LayoutEntry& entry) { return entry.folder->hive == hive; };
  if (std::none_of(entries.begin(), entries.end(), ofHive)) return;
  std::string path = KeptLayoutPath(platform, hive);
  if (path.empty()) throw Failure(platform::kErrorPathNotFound, kNoPlaceForKeptLayout);
  std::string bytes = ReadKeptBytes(platform, path);
  if (applied && bytes.empty()) return;
  std::vector<LayoutEntry> kept;
  std::map<const ShellFolder*, std::string> wrote;
  if (!bytes.empty()) {
    kept = ParseKept(path, bytes).entries;
    wrote = ParseApplied(bytes);
  }
  FolderLocations locations(platform);
  bool changed = false;
  for (const LayoutEntry& entry : entries) {
    if (!ofHive(entry)) continue;
    RegValue stored = locations.StoredLocation(*entry.folder);
    std::string now = stored.IsText() ? stored.text() : std::string();
    bool named =
        std::any_of(kept.begin(), kept.end(), [&](const LayoutEntry& other) { return other.folder == entry.folder; });
    if (applied) {
      auto was = wrote.find(entry.folder);
      if (!named || !SameIgnoringAsciiCase(now, entry.path) ||
          (was != wrote.end() && SameIgnoringAsciiCase(was->second, entry.path)))
        continue;
      wrote[entry.folder] = entry.path;
    } else {
      // A folder stored as no path cannot be put back as it was: undo leaves it where the layout put it.
      if (named || now.empty()) continue;
      kept.push_back(LayoutEntry{entry.folder, now, 0, std::string()});
    }
    changed = true;
  }
  if (!changed) return;
  if (bytes.empty()) return WriteNewJournal(platform, path, KeptBytes(kept, wrote));
  RewriteJournal(platform, path, KeptBytes(kept, wrote));
}

}  // namespace

std::string KeptLayoutPath(platform::Platform& platform, platform::HKey hive) {
  if (hive == platform::kHkeyCurrentUser) return JournalPathNamed(platform, kUsersKeptLayout);
  std::optional<std::string> folder = platform.shell.StockFolderPath(kCommonAppDataCsidl);
  if (!folder || folder->size() < 3) return std::string();
  if (folder->back() != '\\') *folder += '\\';
  return *folder + kSharedKeptLayout;
}

void KeepLayoutBefore(platform::Platform& platform, const std::vector<LayoutEntry>& entries, platform::HKey hive) {
  for (platform::HKey each : {platform::kHkeyCurrentUser, platform::kHkeyLocalMachine}) {
    if (hive == 0 || hive == each) KeepHive(platform, entries, each, false);
  }
}

void KeepLayoutApplied(platform::Platform& platform, const std::vector<LayoutEntry>& entries, platform::HKey hive) {
  for (platform::HKey each : {platform::kHkeyCurrentUser, platform::kHkeyLocalMachine}) {
    if (hive == 0 || hive == each) KeepHive(platform, entries, each, true);
  }
}

bool KeptLayout::Undoes(FolderLocations& locations, const LayoutEntry& entry) const {
  auto wrote = applied.find(entry.folder);
  if (wrote == applied.end()) return true;
  RegValue stored = locations.StoredLocation(*entry.folder);
  std::string now = stored.IsText() ? stored.text() : std::string();
  return SameIgnoringAsciiCase(now, wrote->second) || SameIgnoringAsciiCase(now, entry.path);
}

std::vector<KeptLayout> ReadKeptLayouts(platform::Platform& platform, platform::HKey hive) {
  std::vector<KeptLayout> kept;
  for (platform::HKey each : {platform::kHkeyCurrentUser, platform::kHkeyLocalMachine}) {
    if (hive != 0 && hive != each) continue;
    std::string path = KeptLayoutPath(platform, each);
    std::string bytes = path.empty() ? std::string() : ReadKeptBytes(platform, path);
    if (bytes.empty()) continue;
    std::vector<LayoutEntry> entries;
    for (const LayoutEntry& entry : ParseKept(path, bytes).entries) {
      if (entry.folder->hive == each) entries.push_back(entry);
    }
    kept.push_back(KeptLayout{path, entries, ParseApplied(bytes)});
  }
  return kept;
}
