// The features' texts that have parameters, each composed in one place.
#include "features/feature_texts.h"

#include "platform/platform.h"
#include "vocabulary/failure.h"
#include "vocabulary/registry_file.h"

namespace {

// A value of a key as a sentence begins with it: `The value "Personal" of HKEY_...`.
std::string ValueOfKey(const std::string& key, const std::string& name) {
  return Capitalised(ValueInSentence(key, name));
}

std::string TypeName(std::uint32_t type) {
  switch (type) {
    case platform::kRegBinary:
      return "a REG_BINARY";
    case platform::kRegDword:
      return "a REG_DWORD";
    case platform::kRegMultiSz:
      return "a REG_MULTI_SZ";
    default:
      return "a value of type " + std::to_string(type);
  }
}

std::string CountedFolders(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " folder" : " folders");
}

std::string WriteFailureHeadline(std::int32_t code) {
  return code == platform::kErrorAccessDenied ? "Access Denied" : "Error " + std::to_string(code);
}

}  // namespace

std::string WriteFailureText(std::int32_t code) {
  if (code == platform::kErrorAccessDenied) return WriteFailureHeadline(code) + ". No changes were made.";
  return WriteFailureHeadline(code) + "\n" + kErrorOccurred;
}
std::string PartlyWrittenHeadline(std::int32_t code) {
  return WriteFailureHeadline(code) + ". Only part of the change was made, and it could not be undone:";
}
std::string NowHolds(const std::string& text) {
  return "now holds " + Quoted(text) + ".";
}
std::string StillHolds(const std::string& text) {
  return "still holds " + Quoted(text) + ".";
}

std::string KeysTooLargeToRestore() {
  return "The four keys take more than " + Megabytes(kMaxRegistryFileBytes) +
         " as a registry file, more than a restore reads, so no backup was made.";
}
std::string ExportEndedWithCode(std::uint32_t exitCode, const std::string& key) {
  return "The registry editor ended with exit code " + std::to_string(exitCode) + " while exporting " + Quoted(key);
}
std::string ExportNotText(const std::string& key) {
  return "The registry editor's export of " + Quoted(key) + " is neither UTF-16 nor UTF-8 text.";
}
std::string ExportEmpty(const std::string& key, const std::string& file) {
  return "The registry editor wrote nothing for " + Quoted(key) + " into " + Quoted(file);
}
std::string ExportFileAsTarget(const std::string& target) {
  return Quoted(target) + " is a temporary file of the backup's own; choose another file.";
}
std::string ReadOnlyTarget(const std::string& target) {
  return Quoted(target) + " is read-only, so it was kept as it is, and no backup was made.";
}
std::string NotCarriable(const std::string& key, const std::string& name, const char* reason) {
  return ValueOfKey(key, name) + " " + reason + ", which a registry file cannot carry, so no backup was made.";
}
std::string ChangedWhileBackingUp(const std::string& key, const std::string& name) {
  return ValueOfKey(key, name) +
         " changed while Zolvane was backing it up, so another program is at work on it; nothing was lost, and no "
         "backup was made. Try again once it is done.";
}
std::string MissingFromNewBackup(const std::string& key, const std::string& name) {
  return ValueOfKey(key, name) + " is missing from the new backup, so it was not kept.";
}
std::string NotRestoredAsHeld(const std::string& key, const std::string& name) {
  return ValueOfKey(key, name) + " would not be restored as the registry holds it, so the new backup was not kept.";
}
std::string ExtraValuesInNewBackup(const std::string& key) {
  return "The new backup holds values of " + key + " that the registry does not, so it was not kept.";
}
std::string NoSectionInNewBackup(const std::string& key) {
  return "The new backup holds no section for " + key + ".";
}
std::string NewBackupNotReadBack(const std::string& file) {
  return "The new backup " + Quoted(file) + " does not read back as it was written.";
}

std::string NotRestoredHeadline(const std::string& file) {
  return "Could not restore the special folder paths from " + Quoted(file) + ".";
}
std::string NotABackupRefusal(const std::string& file) {
  return Quoted(file) + " is not a backup of the special folder paths, so nothing was imported.";
}
std::string RestoredFromBackup(const std::string& file, const std::vector<std::string>& foldersLeft,
                               const std::vector<std::string>& keysPassedOver) {
  std::string text = "Restored the special folder paths from " + Quoted(file) + ".";
  if (!foldersLeft.empty()) text += "\nNot in the backup, left as they are: " + NamedOnce(foldersLeft, ", ");
  if (keysPassedOver.empty()) return text;
  return text + "\nThe file also holds keys below the four keys; they were left as they are:\n" +
         NamedOnce(keysPassedOver, "\n");
}

std::string DefinedOnlyHere(const std::string& variable) {
  return "%" + variable +
         "% is set only where this runs, not in the user's environment at logon, where the shell expands it";
}
std::string HoldsReservedCharacter(char reserved) {
  return "it holds " + Quoted(std::string(1, reserved)) + ", which no folder's name can hold";
}
std::string NamesNoVariable(const std::string& variable) {
  return "it is not a full path once expanded: %" + variable + "% names no variable, so it stays as written";
}
std::string NamesADevice(const std::string& name) {
  return "a folder is named " + Quoted(name) + ", which Windows keeps for a device";
}
std::string NameEndsInDotOrSpace(const std::string& name) {
  return "a folder is named " + Quoted(name) + ", ending in a dot or a space, which Windows cuts off";
}
std::string PathTooLong(std::size_t longest) {
  return "it is longer than " + std::to_string(longest) +
         " characters once expanded, more than Windows XP's shell takes";
}

std::string UserShellFoldersNotAPath(std::uint32_t type) {
  return "User Shell Folders holds " + TypeName(type) + ", not a path";
}
std::string UserShellFoldersUnusable(const std::string& stored, const std::string& why) {
  return "User Shell Folders holds " + Quoted(stored) + ": " + why;
}
std::string ShellFoldersHoldNoPath(const std::string& location) {
  return "Shell Folders holds no path, User Shell Folders " + Quoted(location);
}
std::string ShellFoldersDisagree(const std::string& shellFolders, const std::string& location) {
  return "Shell Folders holds " + Quoted(shellFolders) + ", User Shell Folders " + Quoted(location);
}
std::string LocationDoesNotExist(const std::string& location) {
  return Quoted(location) + " does not exist";
}
std::string LocationIsAFile(const std::string& location) {
  return Quoted(location) + " is a file, not a folder";
}

std::string UnknownFolderName(const std::string& name) {
  return Quoted(name) + " is none of the fifteen folders; \"zolvane-cli list\" names them.";
}
std::string FolderNamedTwice(const std::string& name, int firstLineNumber) {
  return name + " is named twice; line " + std::to_string(firstLineNumber) + " names it first.";
}
std::string NoPathComment(const std::string& name) {
  return "; " + name + " has no path under User Shell Folders.";
}

std::string MovedBeforeFolderExists(const std::string& location) {
  return "moved (the folder " + Quoted(location) + " does not exist yet)";
}
std::string WouldMoveDetail(const std::string& from, const std::string& to) {
  return "would move: " + from + " -> " + to;
}
std::string ShellFoldersWouldFollow(const std::string& from, const std::string& to) {
  return "Shell Folders would follow: " + from + " -> " + to;
}
std::string PassedOverDetail(const char* shortHiveName) {
  return std::string("passed over: a folder of ") + shortHiveName;
}
std::string UnchangedButMissing(const std::string& location) {
  return "unchanged, but the folder " + Quoted(location) + " is missing; --create makes it again";
}
std::string KeptLayoutUnreadable(const std::string& path, const std::string& reason) {
  return "Where the folders were before is kept in " + Quoted(path) + ", which cannot be read: " + reason;
}
std::string LayoutSummary(std::size_t changing, bool dryRun, std::size_t unchanged, std::size_t passedOver,
                          std::size_t madeAgain) {
  std::string again =
      madeAgain == 0 ? "" : std::to_string(madeAgain) + (dryRun ? " would be made again, " : " made again, ");
  return std::to_string(changing) + (dryRun ? " would move, " : " moved, ") + again + std::to_string(unchanged) +
         " unchanged" + (passedOver > 0 ? ", " + std::to_string(passedOver) + " passed over." : ".");
}
std::string FolderNotMoved(const std::string& name) {
  return "Nothing was changed: " + name + " could not be moved.";
}
std::string FolderNotMovedOthersPutBack(const std::string& name, std::size_t putBack) {
  return "Nothing was changed: " + name + " could not be moved, and the " + CountedFolders(putBack) +
         " moved before it " + (putBack == 1 ? "was" : "were") + " put back.";
}
std::string LayoutAppliedInPart(const std::string& name, std::size_t notPutBack) {
  return "Only part of the layout was applied: " + name + " could not be moved, and " + CountedFolders(notPutBack) +
         " moved before it could not be put back.";
}
std::string FoldersMadeStay(const std::vector<std::string>& made) {
  return " The folders made for it stay: " + NamedOnce(made, ", ") + ".";
}

std::string MoveTargetUnusable(const std::string& target, const std::string& why) {
  return "The files cannot move to " + Quoted(target) + ": " + why + ".";
}
std::string TargetInsideSource(const std::string& target, const std::string& source) {
  return Quoted(target) + " lies inside " + Quoted(source) + ", so the files cannot move into it.";
}
std::string SourceInsideTarget(const std::string& source, const std::string& target) {
  return Quoted(source) + " lies inside " + Quoted(target) + ", so its files cannot move there.";
}
std::string SourceNotMovable(const std::string& source, const char* what) {
  return Quoted(source) + " " + what + ", whose files Zolvane does not move.";
}
std::string TargetFilesDiffer(const std::string& target, const std::vector<std::string>& names) {
  return Quoted(target) + " already holds files of these names with other content: " + NamedOnce(names, ", ") + ".";
}
std::string HoldsReparsePoints(const std::string& source, const std::vector<std::string>& names) {
  return Quoted(source) +
         " holds junctions or other links to other places, which Zolvane never follows: " + NamedOnce(names, ", ") +
         ".";
}
std::string PathsTooLongAtTarget(const std::string& target, const std::vector<std::string>& names,
                                 std::size_t longest) {
  return "In " + Quoted(target) + " these would be longer than " + std::to_string(longest) +
         " characters, more than Windows XP's shell opens: " + NamedOnce(names, ", ") + ".";
}
std::string NotEnoughFreeSpace(const std::string& target, std::uint64_t needed, std::uint64_t free) {
  return "The files need " + ByteSize(needed) + " at " + Quoted(target) + ", where only " + ByteSize(free) +
         (free == 1 ? " is free." : " are free.");
}
std::string TooManyEntries(const std::string& folder, std::size_t most) {
  return Quoted(folder) + " holds more than " + WithThousands(most) +
         " files and folders, more than Zolvane moves at once.";
}
std::string FollowerUnusable(const std::string& name, const std::string& newStored, const std::string& why) {
  return name + " would follow to " + Quoted(newStored) + ", which cannot be where a folder lives: " + why + ".";
}

std::string FilesWouldMove(const std::string& name, std::uint64_t files, std::uint64_t bytes, const std::string& from,
                           const std::string& to, bool renamed) {
  return name + ": " + WithThousands(files) + (files == 1 ? " file (" : " files (") + ByteSize(bytes) +
         ") would move from " + Shortened(from) + " to " + Shortened(to) +
         (renamed ? ", renamed on their disk" : ", copied to another disk");
}
std::string FilesAlreadyThere(const std::string& name, std::uint64_t files, const std::string& from,
                              const std::string& to) {
  return name + ": " + WithThousands(files) + (files == 1 ? " file is" : " files are") + " in " + Shortened(to) +
         " already, with the same content, and would only be deleted from " + Shortened(from);
}
std::string NoFilesToMove(const std::string& name, const std::string& source, const char* why) {
  return name + ": no files to move, " + Shortened(source) + " " + why;
}
std::string AlreadyAtTarget(const std::string& name, const std::string& target) {
  return name + ": no files to move, it is at " + Shortened(target) + " already";
}
std::string FilesMayNotMove(const std::string& name) {
  return name + ": the files may not move:";
}
std::string FollowsFolder(const std::string& name, const std::string& leader, const std::string& newLocation) {
  return name + ": follows " + leader + " to " + Shortened(newLocation);
}

std::string FolderMovedWithFiles(const std::string& name, const std::string& target, std::uint64_t files,
                                 const std::string& keptChanged, const std::string& notDeleted) {
  std::string text = name + " now lives at " + Quoted(target) + ", with its " + WithThousands(files) +
                     (files == 1 ? " file." : " files.");
  if (!keptChanged.empty())
    text += "\nChanged after they were copied, so kept in the old place as well as the new:\n" + keptChanged;
  if (!notDeleted.empty()) text += "\nThese could not be deleted from the old place:\n" + notDeleted;
  return text;
}
std::string CopiesNotRemoved(const std::string& copies) {
  return "These copies could not be removed from the new place, and are left there:\n" + copies;
}
std::string FilesStoppedMove(const std::string& name) {
  return name +
         " was not moved: it stopped at what is named below, the files after it were not tried, and every file was "
         "left where it was.";
}
