// Every text Zolvane's core tells the user, pinned here once to its exact words: the other tests name the texts,
// so that a changed text is one line of this table. A text with parameters is pinned by an example.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "features/feature_texts.h"
#include "platform/platform.h"
#include "presenters/presenter_texts.h"
#include "vocabulary/product_texts.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

struct Pinned {
  std::string text;
  const char* words;
};

const std::string kValue = "the value \"V\" of HKEY_X";
constexpr std::size_t kMegabyte = 1024 * 1024;

TEST(TextsTest, EachTextHasTheWordsPinnedHere) {
  const Pinned pinned[] = {
      // The product's name and the refusal at start-up.
      {kAppTitle, "Zolvane"},
      {kWindowCaption, "Zolvane for Windows\xC2\xAE XP"},
      {kRefusalText, "This utility is intended for Windows\xC2\xAE XP systems only. This utility will now quit"},

      // The vocabulary: failures, registry files, the change of the registry, the lock and the journal.
      {kCannotReadAction, "Cannot read"},
      {kCannotWriteAction, "Cannot write"},
      {kCannotDeleteAction, "Cannot delete"},
      {OwnWordsFor(platform::kErrorFileNotFound), "The file was not found."},
      {OwnWordsFor(platform::kErrorPathNotFound), "The folder was not found."},
      {OwnWordsFor(platform::kErrorAccessDenied), "Access is denied."},
      {OwnWordsFor(platform::kErrorInvalidData), "The data is invalid."},
      {OwnWordsFor(platform::kErrorFileExists), "The file exists."},
      {OwnWordsFor(platform::kErrorFileTooLarge), "The file is too large."},
      {OwnWordsFor(platform::kErrorWaitTimeout), "The wait operation timed out."},
      {OwnWordsFor(platform::kErrorCantRead), "The configuration registry key could not be read."},
      {OwnWordsFor(platform::kErrorCantWrite), "The configuration registry key could not be written."},
      {ErrorNumber(5), "(error 5)"},
      {OffendingLine(6, "[HKEY_X]"), "Line 6: [HKEY_X]\n"},
      {FileLargerThan(kMegabyte), "The file is larger than 1 MB"},
      {WithThousands(0), "0"},
      {WithThousands(999), "999"},
      {WithThousands(1234567), "1,234,567"},
      {ByteSize(1023), "1,023 bytes"},
      {ByteSize(1024), "1.0 KB"},
      {ByteSize(1075), "1.0 KB"},
      {ByteSize(1076), "1.1 KB"},
      {ByteSize(99 * kMegabyte + kMegabyte / 2), "99.5 MB"},
      {ByteSize(140 * kMegabyte + kMegabyte / 2), "141 MB"},
      {ByteSize(3000ull << 40), "3,000 TB"},
      {kNotARegularFile, "It is a folder, a device or a pipe, not a file."},
      {kRegistryFileNotText, "The file is neither UTF-16 text behind a byte-order mark nor UTF-8 text."},
      {kRegistryFileEmpty, "The file is empty."},
      {kNoRegistryFileHeader, "The file does not begin with the header of a registry file."},
      {kRegistryLineControlCharacter, "This line holds a control character, which no line of a registry file holds."},
      {kSetsNoFolderValue, "The file sets no special folder value."},
      {kNotARegistryLine, "This is not a value, a key or a comment of a registry file."},
      {kNotOneOfTheFourKeys, "This key is not one of the four keys that hold the special folder paths."},
      {kDeletesAWholeKey, "This would delete a whole key."},
      {kValueBeforeAnyKey, "This value comes before any key is named."},
      {kByteListBroken,
       "A list of bytes that goes on in the next line must not be broken by a blank line or a comment."},
      {kEndsInsideByteList, "The file ends inside a list of bytes that was to go on."},
      {kRegedit4CodePage,
       "A REGEDIT4 file holds its text in a code page, so only ASCII characters can be read from it."},
      {kNoByteOrderMarkCodePage,
       "A file without a byte-order mark is read in a code page by the registry editor, so only ASCII characters can "
       "be read from it."},
      {RegistryFileTooLarge(), "The file is larger than 16 MB, far too large to be a backup."},
      {ListedValueName("HKEY_X", "Personal"), "HKEY_X\\Personal"},
      {ListedValueName("HKEY_X", ""), "HKEY_X\\(Default)"},
      {ValueInSentence("HKEY_X", "V"), "the value \"V\" of HKEY_X"},
      {ValueInSentence("HKEY_X", ""), "the default value of HKEY_X"},
      {NotReadBeforeReplaced(kValue), "Cannot read the value \"V\" of HKEY_X before it is replaced"},
      {NotReadBack(kValue), "Cannot read the value \"V\" of HKEY_X back once written"},
      {NotHeldAsWritten(kValue), "The value \"V\" of HKEY_X does not hold what was written"},
      {ChangedWhileWriting(kValue),
       "The value \"V\" of HKEY_X changed while Zolvane was writing it, so another program is at work on it; nothing "
       "was lost. Try again once it is done."},
      {kNothingChanged, "\nNothing was changed."},
      {kAllPutBack, "\nNothing was changed: every value already written was put back as it was."},
      {kSomeNotPutBack,
       "\nOnly part of the change was made, and these values could not be put back; they hold what the change "
       "writes, until the next run of Zolvane puts them back from its journal:\n"},
      {kSomeChangedElsewhere,
       "\nThese values were changed by another program while Zolvane wrote, and were left as it made them:\n"},
      {OtherRunNotFinished(60),
       "Another Zolvane is changing or backing up the special folder paths and has not finished within 60 seconds; "
       "nothing was changed"},
      {kCannotWaitForOtherRun, "Cannot wait for another Zolvane to finish its work"},
      {kRelocationRun, "A relocation"},
      {kDefaultRestoreRun, "A restore of default locations"},
      {kBackupRestoreRun, "A restore"},
      {kLayoutRun, "A layout"},
      {kUnnamedRun, "A run"},
      {kCutOffLeftNothing,
       "A Zolvane that was changing or backing up the special folder paths was cut off, and left nothing to undo."},
      {kNoJournalFolder,
       "Zolvane keeps a note of each change in the user's application-data folder, so that a change cut off can be "
       "undone; Windows names no such folder that is a full path, so nothing was changed."},
      {kJournalNotUtf8, "The journal is not UTF-8 text."},
      {kNoJournalHeader, "The file does not begin with the header of Zolvane's journal."},
      {kNotAJournalLine, "This is not a line of Zolvane's journal."},
      {kJournalNotWhole, "The journal ends before its last line: it was not written whole."},
      {kChangedSinceLeft, "\nChanged since, left as it is:\n"},
      {kUndoneOnceMore, "it will be undone once more."},
      {kThisChangeUndone, "this change will be undone."},
      {JournalFolderUnwritable("C:\\AD", "why."),
       "Zolvane keeps a note of each change in \"C:\\AD\", so that a change cut off can be undone; that folder cannot "
       "be written: why.\nNothing was changed."},
      {FolderInJournalsPlace("j.reg"), "a folder named \"j.reg\" is in the journal's place."},
      {EarlierJournalStillThere("C:\\J"),
       "The journal of an earlier Zolvane run that was cut off, \"C:\\J\", is still there and could not be undone, so "
       "nothing was changed."},
      {ChangeTooLargeToJournal(64 * kMegabyte),
       "The values this change writes and those it replaces take more than 64 MB to note down in its journal, so "
       "nothing was changed."},
      {JournalNotDeleted("C:\\J", "why", "otherwise."),
       "The journal \"C:\\J\" could not be deleted: why; delete it before Zolvane writes again, or otherwise."},
      {JournalUnreadable("C:\\J", "why"),
       "The journal of a Zolvane run that was cut off, \"C:\\J\", cannot be read, so it was kept: why"},
      {JournalNotOurs("C:\\J", "refusal"),
       "The journal of a Zolvane run that was cut off, \"C:\\J\", is not a journal Zolvane can read, so it was "
       "kept:\nrefusal"},
      {CutOffUndone("A run", 1), "A run that was cut off has been undone: 1 value put back."},
      {CutOffUndone("A run", 1234567), "A run that was cut off has been undone: 1,234,567 values put back."},
      {CutOffUndoneInPart("A run", "C:\\J", 2, "HKEY_X\\V"),
       "A run that was cut off could be undone only in part, so its journal \"C:\\J\" was kept: 2 values put back, "
       "and these could not be:\nHKEY_X\\V"},

      // The features: Apply and Restore Default.
      {kRelocated, "Successfully done!"},
      {kDefaultsRestored, "Restored the default values!"},
      {kErrorOccurred, "An error occurred."},
      {WriteFailureText(5), "Access Denied. No changes were made."},
      {WriteFailureText(1013), "Error 1013\nAn error occurred."},
      {PartlyWrittenHeadline(5), "Access Denied. Only part of the change was made, and it could not be undone:"},
      {PartlyWrittenHeadline(1013), "Error 1013. Only part of the change was made, and it could not be undone:"},
      {NowHolds("E:\\M"), "now holds \"E:\\M\"."},
      {StillHolds("C:\\M"), "still holds \"C:\\M\"."},
      {kHasNoValueAsBefore, "has no value, as before."},
      {kIsAsItWas, "is as it was."},
      // The backup.
      {kBackedUp, "Shell folder registry keys are now backed up."},
      {kNotBackedUp, "Could not backup the shell folder registry keys"},
      {kBackupBrokeOff, "The backup broke off"},
      {kNoTempFolder,
       "Windows names no temporary folder the backup can use (TMP and TEMP are not set, or name a folder longer than "
       "260 characters), so no backup was made and no file was touched."},
      {kNoWindowsFolder, "Cannot find the Windows folder, which holds the registry editor."},
      {kNewBackupNotRestorable, "The new backup could not be restored, so it was not kept."},
      {kInvalidFolderId, "An invalid folder ID was specified"},
      {kFolderDoesNotExist, "The folder does not exist"},
      {kCannotStart, "Cannot start"},
      {kCannotFinishExportOf, "Cannot finish the export of"},
      {kExportEndUnknown, "Cannot learn how the registry editor ended the export of"},
      {kCannotDeleteLeftover, "Cannot delete the leftover"},
      {kCannotReplace, "Cannot replace"},
      {kHoldsControlCharacter, "holds a control character"},
      {kHoldsHalfACharacterPair, "holds half of a UTF-16 character pair"},
      {kDwordTooLong, "is a REG_DWORD longer than 4 bytes"},
      {kDwordTooShort, "is a REG_DWORD shorter than 4 bytes"},
      {KeysTooLargeToRestore(),
       "The four keys take more than 16 MB as a registry file, more than a restore reads, so no backup was made."},
      {ExportEndedWithCode(1, "HKEY_X"), "The registry editor ended with exit code 1 while exporting \"HKEY_X\""},
      {ExportNotText("HKEY_X"), "The registry editor's export of \"HKEY_X\" is neither UTF-16 nor UTF-8 text."},
      {ExportEmpty("HKEY_X", "C:\\T"), "The registry editor wrote nothing for \"HKEY_X\" into \"C:\\T\""},
      {ExportFileAsTarget("C:\\T"), "\"C:\\T\" is a temporary file of the backup's own; choose another file."},
      {ReadOnlyTarget("D:\\b"), "\"D:\\b\" is read-only, so it was kept as it is, and no backup was made."},
      {NotCarriable("HKEY_X", "V", "holds it"),
       "The value \"V\" of HKEY_X holds it, which a registry file cannot carry, so no backup was made."},
      {ChangedWhileBackingUp("HKEY_X", ""),
       "The default value of HKEY_X changed while Zolvane was backing it up, so another program is at work on it; "
       "nothing was lost, and no backup was made. Try again once it is done."},
      {MissingFromNewBackup("HKEY_X", "V"),
       "The value \"V\" of HKEY_X is missing from the new backup, so it was not kept."},
      {NotRestoredAsHeld("HKEY_X", "V"),
       "The value \"V\" of HKEY_X would not be restored as the registry holds it, so the new backup was not kept."},
      {ExtraValuesInNewBackup("HKEY_X"),
       "The new backup holds values of HKEY_X that the registry does not, so it was not kept."},
      {NoSectionInNewBackup("HKEY_X"), "The new backup holds no section for HKEY_X."},
      {NewBackupNotReadBack("D:\\b.new"), "The new backup \"D:\\b.new\" does not read back as it was written."},
      // The restore from a backup.
      {NotRestoredHeadline("D:\\b"), "Could not restore the special folder paths from \"D:\\b\"."},
      {NotABackupRefusal("D:\\b"), "\"D:\\b\" is not a backup of the special folder paths, so nothing was imported."},
      {RestoredFromBackup("D:\\b", {}, {}), "Restored the special folder paths from \"D:\\b\"."},
      {RestoredFromBackup("D:\\b", {"Shared Video (CommonVideo)"}, {"HKEY_X\\Sub"}),
       "Restored the special folder paths from \"D:\\b\".\nNot in the backup, left as they are: Shared Video "
       "(CommonVideo)\nThe file also holds keys below the four keys; they were left as they are:\nHKEY_X\\Sub"},
      {kCannotHoldFile, "Cannot hold the file"},
      {kImportBrokeOff, "The import broke off"},
      // What can be a folder's location, and the check of every folder.
      {kPathHoldsControlCharacter, "it holds a control character"},
      {kPathHoldsQuote, "it holds a quote, which no path holds"},
      {kPathNotFull, "it is not a full path"},
      {NamesNoVariable("NOPE"), "%NOPE% names no variable"},
      {PathTooLong(259), "it is longer than 259 characters once expanded, more than Windows XP's shell takes"},
      {kCannotMakeFolder, "Cannot make the folder"},
      {kUnusableValueProblem, "unusable value"},
      {kValuesDisagreeProblem, "values disagree"},
      {kLocationMissingProblem, "location missing"},
      {kNotAFolderProblem, "not a folder"},
      {kUserShellFoldersUnreadable, "User Shell Folders cannot be read"},
      {kNoUserShellFoldersValue, "User Shell Folders holds no value for it"},
      {kUserShellFoldersEmpty, "User Shell Folders holds empty text"},
      {UserShellFoldersNotAPath(platform::kRegBinary), "User Shell Folders holds a REG_BINARY, not a path"},
      {UserShellFoldersNotAPath(platform::kRegDword), "User Shell Folders holds a REG_DWORD, not a path"},
      {UserShellFoldersNotAPath(platform::kRegMultiSz), "User Shell Folders holds a REG_MULTI_SZ, not a path"},
      {UserShellFoldersNotAPath(11), "User Shell Folders holds a value of type 11, not a path"},
      {UserShellFoldersUnusable("Docs", "why"), "User Shell Folders holds \"Docs\": why"},
      {ShellFoldersHoldNoPath("D:\\X"), "Shell Folders holds no path, User Shell Folders \"D:\\X\""},
      {ShellFoldersDisagree("D:\\Y", "D:\\X"), "Shell Folders holds \"D:\\Y\", User Shell Folders \"D:\\X\""},
      {LocationDoesNotExist("D:\\X"), "\"D:\\X\" does not exist"},
      {LocationIsAFile("D:\\X"), "\"D:\\X\" is a file, not a folder"},
      // Layout files, and a layout applied.
      {kLayoutNotText, "The file is neither UTF-8 text nor UTF-16 text behind a byte-order mark."},
      {kLayoutLineControlCharacter, "This line holds a control character."},
      {kNoEqualsSign, "This line has no \"=\" between a folder and a path."},
      {kNoPathAfterEquals, "The path after \"=\" is empty."},
      {kLayoutNamesNoFolder, "The file names no folder."},
      {UnknownFolderName("Nope"), "\"Nope\" is none of the fifteen folders; \"zolvane-cli list\" names them."},
      {FolderNamedTwice("Desktop", 2), "Desktop is named twice; line 2 names it first."},
      {kLayoutFileHeading,
       "; Zolvane layout: where each special folder lives, as \"zolvane-cli apply\" reads it (the User Shell Folders "
       "value as stored)."},
      {NoPathComment("Desktop"), "; Desktop has no path under User Shell Folders."},
      {kFolderMoved, "moved"},
      {kFolderCreatedAndMoved, "created and moved"},
      {kNoPathShown, "(no path)"},
      {MovedBeforeFolderExists("E:\\N"), "moved (the folder \"E:\\N\" does not exist yet)"},
      {WouldMoveDetail("D:\\Old", "E:\\New"), "would move: D:\\Old -> E:\\New"},
      {PassedOverDetail("HKLM"), "passed over: a folder of HKLM"},
      {LayoutSummary(1, false, 2, 1), "1 moved, 2 unchanged, 1 passed over."},
      {LayoutSummary(3, true, 0, 0), "3 would move, 0 unchanged."},
      {FolderNotMoved("Desktop"), "Nothing was changed: Desktop could not be moved."},
      {FolderNotMovedOthersPutBack("Desktop", 1),
       "Nothing was changed: Desktop could not be moved, and the 1 folder moved before it was put back."},
      {FolderNotMovedOthersPutBack("Desktop", 2),
       "Nothing was changed: Desktop could not be moved, and the 2 folders moved before it were put back."},
      {LayoutAppliedInPart("Desktop", 2),
       "Only part of the layout was applied: Desktop could not be moved, and 2 folders moved before it could not be "
       "put back."},
      {FoldersMadeStay({"E:\\A", "E:\\A\\B"}), " The folders made for it stay: E:\\A, E:\\A\\B."},
      // A folder's files moved with it.
      {MoveTargetUnusable("Docs", "why"), "The files cannot move to \"Docs\": why."},
      {TargetInsideSource("D:\\A\\B", "D:\\A"),
       "\"D:\\A\\B\" lies inside \"D:\\A\", so the files cannot move into it."},
      {SourceInsideTarget("D:\\A\\B", "D:\\A"), "\"D:\\A\\B\" lies inside \"D:\\A\", so its files cannot move there."},
      {SourceNotMovable("C:\\", kIsADriveRoot), "\"C:\\\" is a drive's root, whose files Zolvane does not move."},
      {kHoldsWindowsFolder, "is or holds the Windows folder"},
      {kHoldsProfileFolder, "is or holds the whole profile folder (%USERPROFILE%)"},
      {kHoldsAllUsersProfile, "is or holds All Users' profile (%ALLUSERSPROFILE%)"},
      {kIsALink, "is a junction or another link to another place"},
      {TargetFilesDiffer("D:\\A", {"a.txt", "B\\c.txt"}),
       "\"D:\\A\" already holds files of these names with other content: a.txt, B\\c.txt."},
      {HoldsReparsePoints("D:\\A", {"Link"}),
       "\"D:\\A\" holds junctions or other links to other places, which Zolvane never follows: Link."},
      {PathsTooLongAtTarget("D:\\A", {"b"}, 259),
       "In \"D:\\A\" these would be longer than 259 characters, more than Windows XP's shell opens: b."},
      {NotEnoughFreeSpace("D:\\A", 2469606195ull, 1023),
       "The files need 2.3 GB at \"D:\\A\", where only 1,023 bytes are free."},
      {TooManyEntries("D:\\A", 1000000),
       "\"D:\\A\" holds more than 1,000,000 files and folders, more than Zolvane moves at once."},
      {FollowerUnusable("My Music", "D:\\M", "why"),
       "My Music would follow to \"D:\\M\", which cannot be where a folder lives: why."},
      {kCannotFindDiskAction, "Cannot find the disk of"},
      {kCannotCompareAction, "Cannot compare the file"},
      {FilesWouldMove("My Documents", 1234, 2469606195ull, "C:\\D", "D:\\Docs", false),
       "My Documents: 1,234 files (2.3 GB) would move from C:\\D to D:\\Docs, copied to another disk"},
      {FilesWouldMove("Desktop", 1, 1, "C:\\D", "C:\\E", true),
       "Desktop: 1 file (1 byte) would move from C:\\D to C:\\E, renamed on their disk"},
      {FilesAlreadyThere("Desktop", 1, "C:\\D", "D:\\E"),
       "Desktop: 1 file is in D:\\E already, with the same content, and would only be deleted from C:\\D"},
      {FilesAlreadyThere("Desktop", 2, "C:\\D", "D:\\E"),
       "Desktop: 2 files are in D:\\E already, with the same content, and would only be deleted from C:\\D"},
      {NoFilesToMove("Desktop", "C:\\D", kDoesNotExist), "Desktop: no files to move, C:\\D does not exist"},
      {NoFilesToMove("Desktop", "C:\\D", kIsEmpty), "Desktop: no files to move, C:\\D is empty"},
      {AlreadyAtTarget("Desktop", "C:\\D"), "Desktop: no files to move, it is at C:\\D already"},
      {FilesMayNotMove("Desktop"), "Desktop: the files may not move:"},
      {FollowsFolder("My Music", "My Documents", "D:\\Docs\\My Music"),
       "My Music: follows My Documents to D:\\Docs\\My Music"},
      {FolderMovedWithFiles("My Documents", "D:\\Docs", 1, "", ""),
       "My Documents now lives at \"D:\\Docs\", with its 1 file."},
      {FolderMovedWithFiles("My Documents", "D:\\Docs", 1234, "C:\\a", "C:\\b: Busy."),
       "My Documents now lives at \"D:\\Docs\", with its 1,234 files.\nChanged after they were copied, so kept in "
       "the old place as well as the new:\nC:\\a\nThese could not be deleted from the old place:\nC:\\b: Busy."},
      {FilesStoppedMove("My Documents"),
       "My Documents was not moved: it stopped at what is named below, the files after it were not tried, and "
       "every file was left where it was."},
      {kCopyNotTheSame, "The copy does not hold the same bytes as the file, so it was deleted."},
      {kLinkNotFollowed, "A junction or another link to another place, which Zolvane never follows."},
      {CutOffMoveTold("My Documents", true, 1, "", ""),
       "A move of My Documents that was cut off has been finished: 1 file deleted from the old place, whose copies "
       "are in the new one."},
      {CutOffMoveTold("My Documents", true, 2, "C:\\a", "C:\\b: Busy."),
       "A move of My Documents that was cut off has been finished: 2 files deleted from the old place, whose copies "
       "are in the new one.\nChanged since they were copied, so kept in the old place as well:\nC:\\a\nThese could "
       "not be taken care of, and are left as they are:\nC:\\b: Busy."},
      {CutOffMoveTold("My Documents", false, 3, "D:\\a", ""),
       "A move of My Documents that was cut off has been undone: the files are in the old place again, 3 taken back "
       "from the new one.\nDifferent from the files they were copied from, so kept in the new place:\nD:\\a"},
      {MoveJournalKept("C:\\J"),
       "The move's journal \"C:\\J\" was kept, so that the next run of Zolvane tries again; until then no folder is "
       "moved with its files. Close the programs that hold these files and run Zolvane again, or, to leave them as "
       "they are, delete \"C:\\J\"."},
      {EarlierMoveNotDone("C:\\J"),
       "A move of a folder's files that could not be finished or undone in full is still noted in \"C:\\J\" (what "
       "is left of it is told before this), so nothing was moved. Close the programs that hold its files and run "
       "Zolvane again, or, to leave them as they are, delete \"C:\\J\"."},
      {CopiesNotRemoved("D:\\a"), "These copies could not be removed from the new place, and are left there:\nD:\\a"},
      {kNotAMoveJournal, "It is not a whole journal of a move of a folder's files."},
      {kMoveFinishedOrUndoneOnceMore, "the move will be finished or undone once more."},

      // The main window's behaviour.
      {kBrowseTitle, "Select the new folder"},
      {kWindowNotMadeText, "Zolvane could not make its main window."},
      {kWorkBrokeOff, "The work broke off before it could tell how it ended."},
      {kImportDialogTitle, "Restore from backup"},
      {kImportFilter, "Zolvane backups (*.bak)|*.bak|Registry files (*.reg)|*.reg|All files (*.*)|*.*"},
      {LocationCaption("My Documents"), "My Documents location"},
      {RestoreQuestion("D:\\b", 0),
       "Replace the current special folder paths with those in D:\\b?\nIt changes no value: the registry holds each "
       "of them already."},
      {RestoreQuestion("D:\\b", 1),
       "Replace the current special folder paths with those in D:\\b?\nIt changes 1 value."},
      {RestoreQuestion("D:\\b", 2),
       "Replace the current special folder paths with those in D:\\b?\nIt changes 2 values."},
      {FileDialogFailed(12291), "The file dialog could not be shown (error 12291)."},
  };
  for (const Pinned& text : pinned) EXPECT_EQ(text.text, text.words);
}

}  // namespace
