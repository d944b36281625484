// The words the features tell the user: each fixed text a constant, each text with parameters one function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Apply and Restore Default, in the window's words.
inline constexpr char kRelocated[] = "Successfully done!";
inline constexpr char kDefaultsRestored[] = "Restored the default values!";
inline constexpr char kErrorOccurred[] = "An error occurred.";
// A failed write, headed "Access Denied" when the user has no right to it, else "Error 1013": told whole, or
// headed so when a value written could not be put back, each value then told by what it holds.
std::string WriteFailureText(std::int32_t code);
std::string PartlyWrittenHeadline(std::int32_t code);
std::string NowHolds(const std::string& text);
std::string StillHolds(const std::string& text);
inline constexpr char kHasNoValueAsBefore[] = "has no value, as before.";
inline constexpr char kIsAsItWas[] = "is as it was.";

// The backup: its verdicts (the failure's first line), what could not be done, and why a value or a file stops it.
inline constexpr char kBackedUp[] = "Shell folder registry keys are now backed up.";
inline constexpr char kNotBackedUp[] = "Could not backup the shell folder registry keys";
inline constexpr char kBackupBrokeOff[] = "The backup broke off";
inline constexpr char kNoTempFolder[] =
    "Windows names no temporary folder the backup can use (TMP and TEMP are not set, or name a folder longer than "
    "260 characters), so no backup was made and no file was touched.";
inline constexpr char kNoWindowsFolder[] = "Cannot find the Windows folder, which holds the registry editor.";
inline constexpr char kNewBackupNotRestorable[] = "The new backup could not be restored, so it was not kept.";
inline constexpr char kInvalidFolderId[] = "An invalid folder ID was specified";
inline constexpr char kFolderDoesNotExist[] = "The folder does not exist";
inline constexpr char kCannotStart[] = "Cannot start";
inline constexpr char kCannotFinishExportOf[] = "Cannot finish the export of";
inline constexpr char kExportEndUnknown[] = "Cannot learn how the registry editor ended the export of";
inline constexpr char kCannotDeleteLeftover[] = "Cannot delete the leftover";
inline constexpr char kCannotReplace[] = "Cannot replace";
inline constexpr char kHoldsControlCharacter[] = "holds a control character";
inline constexpr char kHoldsHalfACharacterPair[] = "holds half of a UTF-16 character pair";
inline constexpr char kDwordTooLong[] = "is a REG_DWORD longer than 4 bytes";
inline constexpr char kDwordTooShort[] = "is a REG_DWORD shorter than 4 bytes";
std::string KeysTooLargeToRestore();
std::string ExportEndedWithCode(std::uint32_t exitCode, const std::string& key);
std::string ExportNotText(const std::string& key);
std::string ExportEmpty(const std::string& key, const std::string& file);
std::string ExportFileAsTarget(const std::string& target);
std::string ReadOnlyTarget(const std::string& target);
// A value of a key, by its name ("" for the default value), that stops the backup.
std::string NotCarriable(const std::string& key, const std::string& name, const char* reason);
std::string ChangedWhileBackingUp(const std::string& key, const std::string& name);
std::string MissingFromNewBackup(const std::string& key, const std::string& name);
std::string NotRestoredAsHeld(const std::string& key, const std::string& name);
std::string ExtraValuesInNewBackup(const std::string& key);
std::string NoSectionInNewBackup(const std::string& key);
std::string NewBackupNotReadBack(const std::string& file);

// The restore from a backup: the first line of its every failure, and its refusal of a file that is no backup.
std::string NotRestoredHeadline(const std::string& file);
std::string NotABackupRefusal(const std::string& file);
// Its success, naming the folders the file leaves as they are ("Shared Video (CommonVideo)") and the keys below
// the four that it holds.
std::string RestoredFromBackup(const std::string& file, const std::vector<std::string>& foldersLeft,
                               const std::vector<std::string>& keysPassedOver);
inline constexpr char kCannotHoldFile[] = "Cannot hold the file";
inline constexpr char kImportBrokeOff[] = "The import broke off";

// What can be a folder's location: why a path cannot, in a clause of its own.
inline constexpr char kPathHoldsControlCharacter[] = "it holds a control character";
std::string DefinedOnlyHere(const std::string& variable);
inline constexpr char kPathIsDevicePath[] = "it is a device path (\\\\.\\ or \\\\?\\), not a folder's";
std::string HoldsReservedCharacter(char reserved);
inline constexpr char kPathNotFull[] = "it is not a full path such as C:\\Folder or \\\\server\\share\\Folder";
// Not a full path once expanded, a reference left as written being why.
std::string NamesNoVariable(const std::string& variable);
inline constexpr char kPathHoldsColon[] = "it holds a \":\" other than its drive's";
std::string NamesADevice(const std::string& name);
std::string NameEndsInDotOrSpace(const std::string& name);
std::string PathTooLong(std::size_t longest);
inline constexpr char kCannotMakeFolder[] = "Cannot make the folder";

// The check of every folder: each problem's name, and its detail.
inline constexpr char kUnusableValueProblem[] = "unusable value";
inline constexpr char kValuesDisagreeProblem[] = "values disagree";
inline constexpr char kLocationMissingProblem[] = "location missing";
inline constexpr char kNotAFolderProblem[] = "not a folder";
inline constexpr char kUserShellFoldersUnreadable[] = "User Shell Folders cannot be read";
inline constexpr char kNoUserShellFoldersValue[] = "User Shell Folders holds no value for it";
inline constexpr char kUserShellFoldersEmpty[] = "User Shell Folders holds empty text";
std::string UserShellFoldersNotAPath(std::uint32_t type);
std::string UserShellFoldersUnusable(const std::string& stored, const std::string& why);
std::string ShellFoldersHoldNoPath(const std::string& location);
std::string ShellFoldersDisagree(const std::string& shellFolders, const std::string& location);
std::string LocationDoesNotExist(const std::string& location);
std::string LocationIsAFile(const std::string& location);

// A layout file: why it is refused, and the comments of one written.
inline constexpr char kLayoutNotText[] = "The file is neither UTF-8 text nor UTF-16 text behind a byte-order mark.";
inline constexpr char kLayoutHoldsNulBytes[] =
    "The file holds NUL bytes, as UTF-16 text without a byte-order mark does, so Zolvane cannot tell its encoding: "
    "save it as UTF-8, or as Unicode (UTF-16 with its byte-order mark).";
inline constexpr char kLayoutLineControlCharacter[] = "This line holds a control character.";
inline constexpr char kNoEqualsSign[] = "This line has no \"=\" between a folder and a path.";
inline constexpr char kNoPathAfterEquals[] = "The path after \"=\" is empty.";
inline constexpr char kLayoutNamesNoFolder[] = "The file names no folder.";
std::string UnknownFolderName(const std::string& name);
std::string FolderNamedTwice(const std::string& name, int firstLineNumber);
inline constexpr char kLayoutFileHeading[] =
    "; Zolvane layout: where each special folder lives, as \"zolvane-cli apply\" reads it (the User Shell Folders "
    "value as stored).";
std::string NoPathComment(const std::string& name);

// A layout applied: each folder's line, the run's summary, and how a failed run left the folders.
inline constexpr char kFolderMoved[] = "moved";
inline constexpr char kFolderCreatedAndMoved[] = "created and moved";
inline constexpr char kNoPathShown[] = "(no path)";
std::string MovedBeforeFolderExists(const std::string& location);
std::string WouldMoveDetail(const std::string& from, const std::string& to);
// A folder whose User Shell Folders value is so already, and only its Shell Folders value would follow it.
std::string ShellFoldersWouldFollow(const std::string& from, const std::string& to);
std::string PassedOverDetail(const char* shortHiveName);
// "1 moved, 2 unchanged, 1 passed over." or, for a dry run, "1 would move, 2 unchanged."; with folders made again,
// "0 moved, 1 made again, 1 unchanged."
std::string LayoutSummary(std::size_t changing, bool dryRun, std::size_t unchanged, std::size_t passedOver,
                          std::size_t madeAgain = 0);
// A folder whose values already hold the layout's path, and whose location is not there: made again (--create), or
// said to be missing.
inline constexpr char kFolderMadeAgain[] = "made again";
inline constexpr char kFolderWouldBeMadeAgain[] = "would be made again";
std::string UnchangedButMissing(const std::string& location);

// The kept layout of where folders were before the first layout, and its undo.
inline constexpr char kKeptLayoutHeading[] =
    "; Zolvane: where these folders were before the first layout moved them; \"zolvane-cli apply --undo\" puts "
    "them back.";
inline constexpr char kNoPlaceForKeptLayout[] =
    "Cannot keep where the folders were before: the shell names no application-data folder, so nothing was changed.";
std::string KeptLayoutUnreadable(const std::string& path, const std::string& reason);
std::string FolderNotMoved(const std::string& name);
std::string FolderNotMovedOthersPutBack(const std::string& name, std::size_t putBack);
std::string LayoutAppliedInPart(const std::string& name, std::size_t notPutBack);
std::string FoldersMadeStay(const std::vector<std::string>& made);

// A folder's files moved with it: why they may not move, each a sentence, and what a dry run says would happen.
std::string MoveTargetUnusable(const std::string& target, const std::string& why);
std::string TargetInsideSource(const std::string& target, const std::string& source);
std::string SourceInsideTarget(const std::string& source, const std::string& target);
// What a folder is whose files are never moved, as SourceNotMovable says it.
inline constexpr char kIsADriveRoot[] = "is a drive's root";
inline constexpr char kHoldsWindowsFolder[] = "is or holds the Windows folder";
inline constexpr char kHoldsProfileFolder[] = "is or holds the whole profile folder (%USERPROFILE%)";
inline constexpr char kHoldsAllUsersProfile[] = "is or holds All Users' profile (%ALLUSERSPROFILE%)";
inline constexpr char kIsALink[] = "is a junction or another link to another place";
std::string SourceNotMovable(const std::string& source, const char* what);
// Names are paths below the folder, at most ten listed, then "and N more".
std::string TargetFilesDiffer(const std::string& target, const std::vector<std::string>& names);
std::string HoldsReparsePoints(const std::string& source, const std::vector<std::string>& names);
std::string PathsTooLongAtTarget(const std::string& target, const std::vector<std::string>& names, std::size_t longest);
std::string NotEnoughFreeSpace(const std::string& target, std::uint64_t needed, std::uint64_t free);
std::string TooManyEntries(const std::string& folder, std::size_t most);
std::string FollowerUnusable(const std::string& name, const std::string& newStored, const std::string& why);
inline constexpr char kCannotFindDiskAction[] = "Cannot find the disk of";
inline constexpr char kCannotCompareAction[] = "Cannot compare the file";
// A dry run's lines, one a folder.
std::string FilesWouldMove(const std::string& name, std::uint64_t files, std::uint64_t bytes, const std::string& from,
                           const std::string& to, bool renamed);
std::string FilesAlreadyThere(const std::string& name, std::uint64_t files, const std::string& from,
                              const std::string& to);
inline constexpr char kDoesNotExist[] = "does not exist";
inline constexpr char kIsEmpty[] = "is empty";
std::string NoFilesToMove(const std::string& name, const std::string& source, const char* why);
std::string AlreadyAtTarget(const std::string& name, const std::string& target);
std::string FilesMayNotMove(const std::string& name);
std::string FollowsFolder(const std::string& name, const std::string& leader, const std::string& newLocation);

// A folder moved with its files: done, or stopped by some of them (each reason a line, then the files it stopped).
std::string FolderMovedWithFiles(const std::string& name, const std::string& target, std::uint64_t files,
                                 const std::string& keptChanged, const std::string& notDeleted);
std::string FilesStoppedMove(const std::string& name);
// The copies a move that failed could not remove again from the new place, a line each.
std::string CopiesNotRemoved(const std::string& copies);
inline constexpr char kCopyNotTheSame[] = "The copy does not hold the same bytes as the file, so it was deleted.";
inline constexpr char kLinkNotFollowed[] = "A junction or another link to another place, which Zolvane never follows.";
