// The file tree in memory, over FakeFiles' files and folders (one disk, seen through two interfaces), with what
// moving a folder needs beyond them: attributes, times, reparse points, volumes and their free space, and files
// another program holds open; any call made to fail through the CallLog.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_files.h"
#include "platform/platform.h"

class FakeFileTree : public platform::FileTree {
 public:
  // Attributes beyond read-only (which is FakeFiles::readOnly) and the times, of a file or a folder.
  struct Details {
    std::uint32_t attributes = 0;
    std::uint64_t created = 0;
    std::uint64_t lastWritten = 0;
  };

  FakeFileTree(CallLog& log, FakeFiles& files) : log_(log), files_(files) {}
  std::int32_t List(const std::string& folder, std::vector<platform::TreeEntry>* entries) override;
  std::int32_t Describe(const std::string& path, platform::TreeEntry* entry) override;
  std::int32_t Volume(const std::string& path, platform::VolumeInfo* volume) override;
  std::int32_t Rename(const std::string& from, const std::string& to) override;
  std::int32_t CopyToNew(const std::string& from, const std::string& to, const Progress& progress) override;
  std::int32_t CompareBytes(const std::string& one, const std::string& other, bool* same) override;
  std::int32_t SetFolderDetails(const std::string& folder, std::uint32_t attributes, std::uint64_t created,
                                std::uint64_t lastWritten) override;
  std::int32_t MakeFolder(const std::string& folder) override;
  std::int32_t RemoveFile(const std::string& path, bool evenReadOnly) override;
  std::int32_t RemoveFolder(const std::string& folder, bool evenReadOnly) override;

  // An entry not listed here has the archive attribute (a file) or none (a folder), and the time it is first met.
  std::map<std::string, Details, CaseInsensitiveLess> details;
  // Folders that stand for another place: junctions, symbolic links, mount points.
  std::set<std::string, CaseInsensitiveLess> reparsePoints;
  // Files another program holds open without sharing them.
  std::set<std::string, CaseInsensitiveLess> heldOpen;
  // Files being copied now, which nobody may write meanwhile.
  std::set<std::string, CaseInsensitiveLess> beingRead;
  // Volumes by where they begin ("D:\\", "C:\\Mounted\\") and their free bytes: a path is on the longest that
  // begins it, else on its drive's or its share's own, which has defaultFreeBytes.
  std::map<std::string, std::uint64_t, CaseInsensitiveLess> volumes;
  std::uint64_t defaultFreeBytes = 1ull << 40;
  // The clock of every change: a file made, renamed or deleted in a folder gives the folder a new last-write time.
  static constexpr std::uint64_t kFirstTime = 134000000000000000ull;  // in 2025
  std::uint64_t now = kFirstTime;
  // Called as each call begins, before it does anything: a test throws from it to end the process there.
  std::function<void()> onCall;

 private:
  // Records the call, once onCall has let it begin; the code it must fail with, when one is due.
  std::optional<std::int32_t> Record(std::string call);
  bool IsFolder(const std::string& path) const;
  bool Exists(const std::string& path) const;
  // The volume's root: its key in volumes, or the drive's or share's root.
  std::string VolumeRoot(const std::string& path) const;
  std::uint64_t& FreeBytes(const std::string& root);
  // ERROR_PATH_NOT_FOUND when the folder that would hold the path is not there.
  std::int32_t ParentMissing(const std::string& path) const;
  void Touch(const std::string& path);
  platform::TreeEntry EntryOf(const std::string& path);

  CallLog& log_;
  FakeFiles& files_;
};
