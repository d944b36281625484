// The kept layout of where folders were before: found, read, added to (never changed) and written whole.
#include "features/kept_layout.h"

#include <algorithm>

#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/failure.h"

namespace {

constexpr int kCommonAppDataCsidl = 0x23;  // CSIDL_COMMON_APPDATA: "All Users\Application Data"
const char* const kUsersKeptLayout = "before-layout.txt";
const char* const kSharedKeptLayout = "Zolvane\\before-layout (shared folders).txt";

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

void KeepHive(platform::Platform& platform, const std::vector<LayoutEntry>& entries, platform::HKey hive) {
  auto ofHive = [hive](const LayoutEntry& entry) { return entry.folder->hive == hive; };
  if (std::none_of(entries.begin(), entries.end(), ofHive)) return;
  std::string path = KeptLayoutPath(platform, hive);
  if (path.empty()) throw Failure(platform::kErrorPathNotFound, kNoPlaceForKeptLayout);
  std::string bytes = ReadKeptBytes(platform, path);
  std::vector<const ShellFolder*> named;
  if (!bytes.empty()) {
    for (const LayoutEntry& entry : ParseKept(path, bytes).entries) named.push_back(entry.folder);
  }
  FolderLocations locations(platform);
  std::string added;
  for (const LayoutEntry& entry : entries) {
    if (!ofHive(entry) || std::count(named.begin(), named.end(), entry.folder) != 0) continue;
    RegValue stored = locations.StoredLocation(*entry.folder);
    // A folder stored as no path cannot be put back as it was: undo leaves it where the layout put it.
    if (!stored.IsText() || stored.text().empty()) continue;
    added += std::string(entry.folder->displayName) + " = " + stored.text() + "\r\n";
    named.push_back(entry.folder);
  }
  if (added.empty()) return;
  if (bytes.empty()) {
    WriteNewJournal(platform, path, std::string(kKeptLayoutHeading) + "\r\n" + added);
  } else {
    if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) bytes += "\r\n";
    RewriteJournal(platform, path, bytes + added);
  }
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
    if (hive == 0 || hive == each) KeepHive(platform, entries, each);
  }
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
    kept.push_back(KeptLayout{path, entries});
  }
  return kept;
}
