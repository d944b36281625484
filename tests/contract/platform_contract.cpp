// The platform contract: each behaviour of platform.h that the product relies on, checked the same way against
// whichever implementation it is given.
#include "tests/contract/platform_contract.h"

#include <optional>
#include <vector>

namespace contract {

namespace {

using platform::kHkeyCurrentUser;

class Checks {
 public:
  explicit Checks(const Setting& setting) : setting_(setting) {}

  void That(bool held, const std::string& what) { setting_.check(held, what); }
  void Code(std::int32_t got, std::int32_t expected, const std::string& what) {
    That(got == expected, what + ": answered " + std::to_string(got) + ", expected " + std::to_string(expected));
  }

 private:
  const Setting& setting_;
};

// A missing value or key is ERROR_FILE_NOT_FOUND to every call; a value is read back as written, of any type
// and length, its name matched without regard to case; a write makes the key it needs.
void RegistryContract(platform::Registry& registry, const Setting& setting, Checks& checks) {
  const std::string key = setting.scratchKey;
  const std::string missingKey = key + "\\No such key";
  platform::RegistryValue value;
  checks.Code(registry.ReadValue(kHkeyCurrentUser, missingKey, "x", &value), platform::kErrorFileNotFound,
              "a value of a missing key");
  std::vector<platform::RegistryValue> values;
  checks.Code(registry.ReadValues(kHkeyCurrentUser, missingKey, &values), platform::kErrorFileNotFound,
              "the values of a missing key");
  checks.Code(registry.DeleteValue(kHkeyCurrentUser, missingKey, "x"), platform::kErrorFileNotFound,
              "a deletion in a missing key");

  const platform::RegistryValue written[] = {
      {"Text", platform::kRegExpandSz, std::string("%\0A\0\0\0", 6)},
      {"Odd", platform::kRegSz, std::string("A\0B", 3)},  // no terminator, and half a character
      {"Nothing", platform::kRegSz, std::string()},
      {"Number", platform::kRegDword, std::string("\x07\0\0\0", 4)},
      {"Long", platform::kRegBinary, std::string(70000, '\xAB')},
  };
  for (const platform::RegistryValue& one : written) {
    checks.Code(registry.WriteValue(kHkeyCurrentUser, key + "\\Made", one), 0, "a write of " + one.name);
  }
  for (const platform::RegistryValue& one : written) {
    platform::RegistryValue read;
    checks.Code(registry.ReadValue(kHkeyCurrentUser, key + "\\Made", one.name, &read), 0, "a read of " + one.name);
    checks.That(read.type == one.type && read.bytes == one.bytes, one.name + " reads back as written");
  }
  checks.Code(registry.ReadValue(kHkeyCurrentUser, key + "\\Made", "NUMBER", &value), 0, "a name in another case");
  checks.Code(registry.ReadValue(kHkeyCurrentUser, key + "\\Made", "Missing", &value), platform::kErrorFileNotFound,
              "a missing value of a key that exists");
  checks.Code(registry.ReadValues(kHkeyCurrentUser, key + "\\Made", &values), 0, "the values of a key");
  checks.That(values.size() == sizeof written / sizeof written[0], "every value of the key is listed");

  for (const platform::RegistryValue& one : written) {
    checks.Code(registry.DeleteValue(kHkeyCurrentUser, key + "\\Made", one.name), 0, "a deletion of " + one.name);
  }
  checks.Code(registry.DeleteValue(kHkeyCurrentUser, key + "\\Made", "Text"), platform::kErrorFileNotFound,
              "a value deleted twice");
}

// A defined variable is found whatever the case of its name; an undefined one is none.
void EnvironmentContract(platform::Environment& environment, Checks& checks) {
  std::optional<std::string> profile = environment.Variable("USERPROFILE");
  checks.That(profile.has_value() && !profile->empty(), "USERPROFILE is defined");
  checks.That(environment.Variable("userprofile") == profile, "a variable's name in another case");
  checks.That(!environment.Variable("ZOLVANE_NO_SUCH_VARIABLE").has_value(), "an undefined variable is none");
}

// A temporary folder ends in a backslash; the system's words for an error have no line end.
void SystemContract(platform::System& system, Checks& checks) {
  std::string temp = system.TempFolder();
  checks.That(!temp.empty() && temp.back() == '\\', "the temporary folder ends in a backslash");
  std::string denied = system.ErrorText(platform::kErrorAccessDenied);
  checks.That(!denied.empty() && denied.find_first_of("\r\n") == std::string::npos && denied.back() != ' ',
              "the words for access denied, on one line");
  platform::LocalTime now = system.Now();
  checks.That(now.year >= 2000 && now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31 && now.hour >= 0 &&
                  now.hour < 24 && now.minute >= 0 && now.minute < 60 && now.second >= 0 && now.second < 61,
              "now is a moment of the calendar");
}

// A new file is made only where there is none, and read back whole; a read is refused, before anything is read,
// for a folder and for more than it may take; a replacement takes the other's place in one step; appends land one
// after another.
void FilesContract(platform::Files& files, const Setting& setting, Checks& checks) {
  const std::string file = setting.scratchFolder + "contract file.txt";
  const std::string other = setting.scratchFolder + "contract other.txt";
  const std::string folder = setting.scratchFolder.substr(0, setting.scratchFolder.size() - 1);
  checks.That(files.FullPath(file) == file, "a full path stays as it is");
  std::string madeFull = files.FullPath("relative.txt");
  checks.That(
      madeFull.size() > 13 && madeFull.compare(madeFull.size() - 13, 13, "\\relative.txt") == 0 && madeFull[1] == ':',
      "a relative name made full against a folder of a drive: " + madeFull);

  checks.Code(files.WriteNewFile(file, "first"), 0, "a new file");
  checks.Code(files.WriteNewFile(file, "second"), platform::kErrorFileExists, "a new file over one that exists");
  std::string bytes;
  checks.Code(files.ReadWholeFile(file, 1024, &bytes), 0, "a whole file read");
  checks.That(bytes == "first", "the file that was there is kept");
  checks.Code(files.ReadWholeFile(file, 4, &bytes), platform::kErrorFileTooLarge, "a file beyond the limit");
  checks.Code(files.ReadWholeFile(folder, 1024, &bytes), platform::kErrorBadFileType, "a folder read as a file");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), platform::kErrorFileNotFound, "a missing file read");
  checks.That(files.Exists(file) && !files.IsFolder(file), "a file is there, and no folder");
  checks.That(files.Exists(folder) && files.IsFolder(folder), "a folder is there, and a folder");

  checks.Code(files.WriteNewFile(other, std::string()), 0, "an empty new file");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), 0, "an empty file read");
  checks.That(bytes.empty(), "an empty file reads as nothing");
  checks.Code(files.MoveToNewName(file, other), platform::kErrorAlreadyExists, "a move to a name a file has");
  checks.Code(files.Replace(file, other), 0, "a file put in the place of another");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), 0, "the replaced file read");
  checks.That(bytes == "first" && !files.Exists(file), "the replacement holds the moved file, which is gone");
  setting.setReadOnly(other, true);
  checks.That(files.IsReadOnly(other), "a read-only file");
  setting.setReadOnly(other, false);
  checks.That(!files.IsReadOnly(other), "a writable file");
  checks.That(files.LongFullPath(other) == other, "a long full path stays as it is");
  checks.That(files.LongFullPath("\\\\?\\" + other) == other, "a path behind \\\\?\\ is the same file");
  checks.That(files.LongFullPath(folder + "\\none.txt") == folder + "\\none.txt", "a missing file in a folder");
  checks.Code(files.MoveToNewName(other, file), 0, "a move to a new name");
  checks.That(files.Exists(file) && !files.Exists(other), "the moved file has its new name only");
  checks.Code(files.Replace(file, other), 0, "the file moved back");
  checks.Code(files.Delete(other), 0, "a file deleted");
  checks.Code(files.Delete(other), platform::kErrorFileNotFound, "a file deleted twice");

  checks.Code(files.AppendToFile(other, "one\r\n"), 0, "an append makes the file");
  checks.Code(files.AppendToFile(other, "two\r\n"), 0, "an append to a file");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), 0, "the appended file read");
  checks.That(bytes == "one\r\ntwo\r\n", "each append lands after the last: " + bytes);
  checks.Code(files.AppendToFile(folder + "\\none\\log.txt", "x"), platform::kErrorPathNotFound,
              "an append in a folder that is not there");
  checks.Code(files.Delete(other), 0, "the appended file deleted");

  const std::string made = setting.scratchFolder + "made";
  checks.Code(files.CreateFolder(made), 0, "a folder made");
  checks.That(files.IsFolder(made), "the folder made is there");
  checks.Code(files.CreateFolder(made), platform::kErrorAlreadyExists, "a folder made twice");
  checks.Code(files.CreateFolder(made + "\\in\\deeper"), platform::kErrorPathNotFound,
              "a folder in a folder that is not there");
}

// Names no code page holds, with characters a command line treats apart: Папка & (1).txt, and 空.
const char kCyrillicName[] = "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 & (1).txt";
const char kChineseName[] = "\xE7\xA9\xBA";

std::vector<platform::TreeEntry>::const_iterator Find(const std::vector<platform::TreeEntry>& entries,
                                                      const std::string& name) {
  std::vector<platform::TreeEntry>::const_iterator found = entries.begin();
  while (found != entries.end() && found->name != name) ++found;
  return found;
}

void FileTreeListingContract(platform::Platform& platform, const std::string& tree, Checks& checks) {
  platform::FileTree& fileTree = platform.fileTree;
  const std::string cyrillic = kCyrillicName;
  checks.Code(platform.files.WriteNewFile(tree + "\\" + cyrillic, "12345"), 0, "a file with a Cyrillic name");
  checks.Code(fileTree.MakeFolder(tree + "\\" + kChineseName), 0, "an empty folder with a Chinese name");
  checks.Code(fileTree.MakeFolder(tree + "\\" + kChineseName), platform::kErrorAlreadyExists, "a folder made twice");
  std::vector<platform::TreeEntry> entries;
  checks.Code(fileTree.List(tree, &entries), 0, "a folder listed");
  auto file = Find(entries, cyrillic);
  auto folder = Find(entries, kChineseName);
  checks.That(entries.size() == 2 && file != entries.end() && folder != entries.end(), "both entries, no . or ..");
  if (file == entries.end() || folder == entries.end()) return;
  checks.That(!file->folder && !file->reparsePoint && file->size == 5 && file->lastWritten >= file->created &&
                  file->created > 0,
              "a file listed with its size and times");
  checks.That(folder->folder && (folder->attributes & platform::kAttributeFolder) && folder->size == 0,
              "a folder listed as a folder");
  platform::TreeEntry described;
  checks.Code(fileTree.Describe(tree + "\\" + cyrillic, &described), 0, "a file described");
  checks.That(described.name == cyrillic && described.size == 5 && described.lastWritten == file->lastWritten,
              "described as listed");
  checks.Code(fileTree.Describe(tree + "\\none", &described), platform::kErrorFileNotFound, "a missing entry");
  checks.Code(fileTree.Describe(tree + "\\none\\none", &described), platform::kErrorPathNotFound,
              "an entry of a missing folder");
}

void FileTreeCopyContract(platform::Platform& platform, const Setting& setting, const std::string& tree,
                          Checks& checks) {
  platform::FileTree& fileTree = platform.fileTree;
  const std::string source = tree + "\\source.bin", copy = tree + "\\copy.bin", other = tree + "\\other.bin";
  std::string bytes(2500000, 'z');  // more than a piece of a copy
  checks.Code(platform.files.WriteNewFile(source, bytes), 0, "a large file");
  setting.setReadOnly(source, true);
  std::vector<std::uint64_t> progress;
  bool writable = false;
  checks.Code(fileTree.CopyToNew(source, copy,
                                 [&](std::uint64_t done) {
                                   progress.push_back(done);
                                   writable = writable || setting.canOpenForWriting(source);
                                 }),
              0, "a copy");
  checks.That(progress.size() > 1 && progress.back() == bytes.size(), "a copy's progress, piece by piece");
  checks.That(!writable, "nobody may write a file while it is copied");
  platform::TreeEntry from, to;
  checks.That(fileTree.Describe(source, &from) == 0 && fileTree.Describe(copy, &to) == 0, "the copy and its source");
  checks.That(
      to.size == from.size && to.attributes == from.attributes && (to.attributes & platform::kAttributeReadOnly),
      "the copy keeps the attributes, read-only too: " + std::to_string(to.attributes));
  checks.That(to.created == from.created && to.lastWritten == from.lastWritten, "the copy keeps both times");
  checks.Code(fileTree.CopyToNew(source, copy, nullptr), platform::kErrorFileExists, "a copy over a file");
  bool same = false;
  checks.Code(fileTree.CompareBytes(source, copy, &same), 0, "a copy compared");
  checks.That(same, "the copy holds the same bytes");
  bytes.back() = 'y';
  checks.Code(platform.files.WriteNewFile(other, bytes), 0, "a file differing in its last byte");
  checks.Code(fileTree.CompareBytes(source, other, &same), 0, "two files compared");
  checks.That(!same, "a difference in the last byte is seen");
  // Files smaller than a piece, empty too, are read in pieces of their own size; made plainly, they have the
  // archive attribute alone, which their copy is made with.
  for (std::size_t size : {std::size_t{0}, std::size_t{5000}}) {
    const std::string small = tree + "\\small.bin", smallCopy = tree + "\\small copy.bin";
    std::string smallBytes(size, 's');
    checks.Code(platform.files.WriteNewFile(small, smallBytes), 0, "a small file");
    checks.Code(fileTree.CopyToNew(small, smallCopy, nullptr), 0, "a small file copied");
    checks.That(fileTree.CompareBytes(small, smallCopy, &same) == 0 && same, "a small copy holds the same bytes");
    platform::TreeEntry smallFrom, smallTo;
    checks.That(fileTree.Describe(small, &smallFrom) == 0 && fileTree.Describe(smallCopy, &smallTo) == 0 &&
                    smallTo.attributes == smallFrom.attributes,
                "a copy of a file made plainly has its attributes: " + std::to_string(smallTo.attributes));
    if (size > 0) {
      smallBytes.back() = 't';
      checks.That(fileTree.RemoveFile(smallCopy, false) == 0 && platform.files.WriteNewFile(smallCopy, smallBytes) == 0,
                  "a small file written anew");
      checks.That(fileTree.CompareBytes(small, smallCopy, &same) == 0 && !same, "a small file's last byte compared");
    }
    checks.That(fileTree.RemoveFile(small, false) == 0 && fileTree.RemoveFile(smallCopy, false) == 0,
                "the small files removed");
  }

  setting.holdOpen(other, true);
  checks.Code(fileTree.CopyToNew(other, tree + "\\held.bin", nullptr), platform::kErrorSharingViolation,
              "a copy of a file held open without sharing");
  setting.holdOpen(other, false);
  checks.Code(fileTree.Describe(tree + "\\held.bin", &to), platform::kErrorFileNotFound, "no copy left behind");

  checks.Code(fileTree.Rename(other, copy), platform::kErrorAlreadyExists, "a rename onto a file");
  checks.Code(fileTree.CompareBytes(source, copy, &same), 0, "the file in the way");
  checks.That(same, "a rename replaces nothing");
  checks.Code(fileTree.RemoveFile(copy, false), platform::kErrorAccessDenied, "a read-only file removed unasked");
  checks.Code(fileTree.RemoveFile(copy, true), 0, "a read-only file removed when asked");
  checks.Code(fileTree.RemoveFile(source, true), 0, "the source removed");
  checks.Code(fileTree.Rename(other, copy), 0, "a rename to a free name");
  checks.That(fileTree.Describe(other, &from) == platform::kErrorFileNotFound && fileTree.Describe(copy, &to) == 0,
              "the renamed file has its new name only");
  checks.Code(fileTree.RemoveFile(copy, false), 0, "a file removed");
}

void FileTreeFolderContract(platform::FileTree& fileTree, const Setting& setting, const std::string& tree,
                            Checks& checks) {
  const std::string folder = tree + "\\" + kChineseName;
  const std::uint64_t created = 126000000000000000ull, written = 127000000000000000ull;  // 2000, 2003
  checks.Code(
      fileTree.SetFolderDetails(folder, platform::kAttributeReadOnly | platform::kAttributeSystem, created, written), 0,
      "a folder's attributes and times set");
  platform::TreeEntry entry;
  checks.Code(fileTree.Describe(folder, &entry), 0, "the folder described");
  checks.That(entry.folder && entry.lastWritten == written, "the folder's last-write time");
  checks.That(entry.created == (setting.creationTimesKept ? created : written),
              "the folder's creation time: " + std::to_string(entry.created));
  // The system attribute is what the shell needs to read a folder's desktop.ini; Wine drops a folder's read-only.
  checks.That(entry.attributes & platform::kAttributeSystem,
              "the folder's attributes: " + std::to_string(entry.attributes));
  checks.Code(fileTree.Rename(folder, tree + "\\renamed"), 0, "a folder renamed");
  checks.Code(fileTree.RemoveFolder(tree, false), platform::kErrorDirNotEmpty, "a folder that holds one removed");
  checks.Code(fileTree.RemoveFolder(tree + "\\renamed", true), 0, "an empty read-only folder removed when asked");
}

// Three folders of a hundred characters each: a path well beyond MAX_PATH.
void FileTreeLongPathContract(platform::FileTree& fileTree, const std::string& tree, const std::string& small,
                              Checks& checks) {
  std::vector<std::string> folders;
  std::string path = tree;
  for (char letter : {'a', 'b', 'c'}) {
    path += "\\" + std::string(100, letter);
    folders.push_back(path);
    checks.Code(fileTree.MakeFolder(path), 0, "a folder " + std::to_string(path.size()) + " characters long");
  }
  const std::string file = path + "\\deep.txt";
  checks.Code(fileTree.CopyToNew(small, file, nullptr), 0, "a copy beyond MAX_PATH");
  std::vector<platform::TreeEntry> entries;
  checks.Code(fileTree.List(path, &entries), 0, "a folder beyond MAX_PATH listed");
  checks.That(entries.size() == 1 && entries[0].name == "deep.txt", "the file beyond MAX_PATH listed");
  bool same = false;
  checks.Code(fileTree.CompareBytes(small, file, &same), 0, "a file beyond MAX_PATH compared");
  checks.That(same, "the copy beyond MAX_PATH holds the bytes");
  checks.Code(fileTree.Rename(file, path + "\\moved.txt"), 0, "a file beyond MAX_PATH renamed");
  checks.Code(fileTree.RemoveFile(path + "\\moved.txt", false), 0, "a file beyond MAX_PATH removed");
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
    checks.Code(fileTree.RemoveFolder(*folder, false), 0, "an empty folder removed");
  }
}

// Two paths of one folder are on one volume, which has room; another volume is another.
void FileTreeVolumeContract(platform::FileTree& fileTree, const Setting& setting, Checks& checks) {
  platform::VolumeInfo one, two, other;
  checks.Code(fileTree.Volume(setting.scratchFolder + "a.txt", &one), 0, "a volume");
  checks.Code(fileTree.Volume(setting.scratchFolder + "not there\\b.txt", &two), 0, "the volume of a path to be");
  checks.That(!one.id.empty() && one.id == two.id && one.freeBytes > 0, "one folder, one volume with room");
  checks.Code(fileTree.Volume(setting.otherVolumeFolder + "c.txt", &other), 0, "another volume");
  checks.That(other.id != one.id, "another volume has another id: " + other.root + " " + one.root);
  checks.Code(fileTree.Rename(setting.scratchFolder + "tree", setting.otherVolumeFolder + "tree"),
              platform::kErrorNotSameDevice, "a rename to another volume");
  if (setting.reparsePoint.empty()) return;
  platform::TreeEntry entry;
  checks.Code(fileTree.Describe(setting.reparsePoint, &entry), 0, "a reparse point described");
  checks.That(entry.folder && entry.reparsePoint, "a reparse point is said to be one");
}

// A folder's entries listed and described as they are; a copy is made only where nothing is, holds the bytes,
// attributes and times of its source and is refused for a file held open; a rename never replaces; removal
// keeps read-only files and full folders; all of it for names beyond the code pages and paths beyond MAX_PATH.
void FileTreeContract(platform::Platform& platform, const Setting& setting, Checks& checks) {
  const std::string tree = setting.scratchFolder + "tree";
  checks.Code(platform.fileTree.MakeFolder(tree), 0, "a folder for the tree");
  FileTreeListingContract(platform, tree, checks);
  FileTreeCopyContract(platform, setting, tree, checks);
  FileTreeFolderContract(platform.fileTree, setting, tree, checks);
  const std::string small = tree + "\\" + kCyrillicName;
  FileTreeLongPathContract(platform.fileTree, tree, small, checks);
  FileTreeVolumeContract(platform.fileTree, setting, checks);
  checks.Code(platform.fileTree.RemoveFile(small, false), 0, "the last file removed");
  checks.Code(platform.fileTree.RemoveFolder(tree, false), 0, "the emptied folder removed");
}

// A lock is its holder's: the holder may take it again, another waits for it and times out, and once it is let
// go another has it at once.
void LocksContract(platform::Locks& locks, const Setting& setting, Checks& checks) {
  const std::string name = "Zolvane platform contract";
  platform::LockHandle held = platform::LockHandle::kNone;
  bool abandoned = true;
  checks.Code(locks.Acquire(name, 0, &held, &abandoned), 0, "a free lock");
  checks.That(!abandoned, "a free lock is not abandoned");
  std::int32_t elsewhere = 0;
  setting.runOnAnotherThread([&] {
    platform::LockHandle other = platform::LockHandle::kNone;
    bool otherAbandoned = false;
    elsewhere = locks.Acquire(name, 50, &other, &otherAbandoned);
    if (elsewhere == 0) locks.Release(other);
  });
  checks.Code(elsewhere, platform::kErrorWaitTimeout, "a busy lock, waited for elsewhere");
  platform::LockHandle again = platform::LockHandle::kNone;
  checks.Code(locks.Acquire(name, 0, &again, &abandoned), 0, "the holder taking its lock again");
  if (again != platform::LockHandle::kNone) locks.Release(again);
  locks.Release(held);
  // A holder that ends without letting go: the next has the lock, and learns that it was abandoned.
  setting.runOnAnotherThread([&] {
    platform::LockHandle other = platform::LockHandle::kNone;
    bool otherAbandoned = false;
    elsewhere = locks.Acquire(name, 0, &other, &otherAbandoned);
  });
  checks.Code(elsewhere, 0, "a lock let go, taken elsewhere");
  checks.Code(locks.Acquire(name, 0, &held, &abandoned), 0, "a lock whose holder ended");
  checks.That(abandoned, "a lock whose holder ended is said to be abandoned");
  locks.Release(held);
  checks.Code(locks.Acquire(name, 0, &held, &abandoned), 0, "the lock let go again");
  checks.That(!abandoned, "a lock let go properly is not abandoned");
  locks.Release(held);
}

// A process ends with its exit code; one that runs too long is ended, and said so.
void ProcessesContract(platform::Processes& processes, const Setting& setting, Checks& checks) {
  platform::ProcessHandle quick = platform::ProcessHandle::kNone;
  checks.Code(processes.Start(setting.quickProgram, setting.quickCommandLine, &quick), 0, "a program started");
  platform::ProcessEnd end = processes.Finish(quick, 30000);
  checks.That(end.how == platform::ProcessEnd::How::kExited && end.exitCode == 3, "it ended by itself, with code 3");

  platform::ProcessHandle slow = platform::ProcessHandle::kNone;
  checks.Code(processes.Start(setting.longRunningProgram, setting.longRunningCommandLine, &slow), 0,
              "a program that runs on started");
  end = processes.Finish(slow, 200);
  checks.That(end.how == platform::ProcessEnd::How::kEnded, "a program that runs too long is ended");
}

// The desktop is a folder of the user's; a stock folder has a path.
void ShellContract(platform::Shell& shell, Checks& checks) {
  platform::DesktopFolderAnswer desktop = shell.DesktopFolder();
  checks.That(desktop.result == platform::DesktopFolderAnswer::Result::kFound && !desktop.path.empty(),
              "the desktop folder's path");
  constexpr int kCsidlPersonal = 0x05;
  std::optional<std::string> documents = shell.StockFolderPath(kCsidlPersonal);
  checks.That(documents.has_value() && !documents->empty(), "My Documents' stock location");
  std::optional<std::string> applicationData = shell.ApplicationDataFolder();
  checks.That(applicationData.has_value() && !applicationData->empty(), "the application-data folder");
}

}  // namespace

void RunPlatformContract(platform::Platform& platform, const Setting& setting) {
  Checks checks(setting);
  RegistryContract(platform.registry, setting, checks);
  EnvironmentContract(platform.environment, checks);
  SystemContract(platform.system, checks);
  FilesContract(platform.files, setting, checks);
  FileTreeContract(platform, setting, checks);
  LocksContract(platform.locks, setting, checks);
  ProcessesContract(platform.processes, setting, checks);
  ShellContract(platform.shell, checks);
}

}  // namespace contract
