// The words the vocabulary tells the user: each fixed text a constant, each text with parameters one function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What could not be done, as a failure begins (the action DescribeFailure takes): `Cannot read "C:\x": ...`.
inline constexpr char kCannotReadAction[] = "Cannot read";
inline constexpr char kCannotWriteAction[] = "Cannot write";
inline constexpr char kCannotDeleteAction[] = "Cannot delete";

// Zolvane's own words for the codes it meets, where the system has none; empty for any other code.
std::string OwnWordsFor(std::int32_t code);
// The code as every message shows it: "(error 5)".
std::string ErrorNumber(std::int32_t code);
// Why a file the user picked is refused: its first offending line, Shortened, "Line 6: [HKEY_...]" and a line
// break, or nothing when the refusal is of the whole file.
std::string OffendingLine(int lineNumber, const std::string& line);
// "16 MB", for a limit of whole megabytes.
std::string Megabytes(std::size_t bytes);
// "1,234,567": a count as every message shows it.
std::string WithThousands(std::uint64_t number);
// "512 bytes", "2.3 GB", "140 MB": a size in units of 1024, as Explorer shows one, tenths below a hundred.
std::string ByteSize(std::uint64_t bytes);
// "The file is larger than 16 MB": why a file beyond such a limit is not read.
std::string FileLargerThan(std::size_t maxBytes);
// The refusal of a path that names no regular file.
inline constexpr char kNotARegularFile[] = "It is a folder, a device or a pipe, not a file.";

// Why a registry file is refused: the whole file, or its offending line.
inline constexpr char kRegistryFileNotText[] =
    "The file is neither UTF-16 text behind a byte-order mark nor UTF-8 text.";
inline constexpr char kRegistryFileEmpty[] = "The file is empty.";
inline constexpr char kNoRegistryFileHeader[] = "The file does not begin with the header of a registry file.";
inline constexpr char kRegistryLineControlCharacter[] =
    "This line holds a control character, which no line of a registry file holds.";
inline constexpr char kSetsNoFolderValue[] = "The file sets no special folder value.";
inline constexpr char kNotARegistryLine[] = "This is not a value, a key or a comment of a registry file.";
inline constexpr char kNotOneOfTheFourKeys[] =
    "This key is not one of the four keys that hold the special folder paths.";
inline constexpr char kDeletesAWholeKey[] = "This would delete a whole key.";
inline constexpr char kValueBeforeAnyKey[] = "This value comes before any key is named.";
inline constexpr char kByteListBroken[] =
    "A list of bytes that goes on in the next line must not be broken by a blank line or a comment.";
inline constexpr char kEndsInsideByteList[] = "The file ends inside a list of bytes that was to go on.";
inline constexpr char kRegedit4CodePage[] =
    "A REGEDIT4 file holds its text in a code page, so only ASCII characters can be read from it.";
inline constexpr char kNoByteOrderMarkCodePage[] =
    "A file without a byte-order mark is read in a code page by the registry editor, so only ASCII characters can "
    "be read from it.";
// A file above the largest registry file a restore reads.
std::string RegistryFileTooLarge();

// A value as a list names it, "HKEY_CURRENT_USER\...\Shell Folders\Personal" ("(Default)" for the default
// value), and as a sentence does, `the value "Personal" of HKEY_...` or "the default value of HKEY_...".
std::string ListedValueName(const std::string& keyFullName, const std::string& name);
std::string ValueInSentence(const std::string& keyFullName, const std::string& name);
// The text with its first letter upper case, for a sentence that begins with a value.
std::string Capitalised(std::string text);

// How a change of the registry failed, and what became of the values it had written.
std::string NotReadBeforeReplaced(const std::string& valueInSentence);
std::string NotReadBack(const std::string& valueInSentence);
std::string NotHeldAsWritten(const std::string& valueInSentence);
std::string ChangedWhileWriting(const std::string& valueInSentence);
inline constexpr char kNothingChanged[] = "\nNothing was changed.";
inline constexpr char kAllPutBack[] = "\nNothing was changed: every value already written was put back as it was.";
inline constexpr char kSomeNotPutBack[] =
    "\nOnly part of the change was made, and these values could not be put back; they hold what the change "
    "writes, until the next run of Zolvane puts them back from its journal:\n";
inline constexpr char kSomeChangedElsewhere[] =
    "\nThese values were changed by another program while Zolvane wrote, and were left as it made them:\n";

// The session's lock not had.
std::string OtherRunNotFinished(std::uint32_t seconds);
inline constexpr char kCannotWaitForOtherRun[] = "Cannot wait for another Zolvane to finish its work";

// What was cut off, as the undo of its journal names it.
inline constexpr char kRelocationRun[] = "A relocation";
inline constexpr char kDefaultRestoreRun[] = "A restore of default locations";
inline constexpr char kBackupRestoreRun[] = "A restore";
inline constexpr char kLayoutRun[] = "A layout";
inline constexpr char kUnnamedRun[] = "A run";
// The journal: why it cannot be kept or read, and what its undo did.
inline constexpr char kCutOffLeftNothing[] =
    "A Zolvane that was changing or backing up the special folder paths was cut off, and left nothing to undo.";
inline constexpr char kNoJournalFolder[] =
    "Zolvane keeps a note of each change in the user's application-data folder, so that a change cut off can be "
    "undone; Windows names no such folder that is a full path, so nothing was changed.";
inline constexpr char kJournalNotUtf8[] = "The journal is not UTF-8 text.";
inline constexpr char kNoJournalHeader[] = "The file does not begin with the header of Zolvane's journal.";
inline constexpr char kNotAJournalLine[] = "This is not a line of Zolvane's journal.";
inline constexpr char kJournalNotWhole[] = "The journal ends before its last line: it was not written whole.";
inline constexpr char kChangedSinceLeft[] = "\nChanged since, left as it is:\n";
inline constexpr char kUndoneOnceMore[] = "it will be undone once more.";
inline constexpr char kThisChangeUndone[] = "this change will be undone.";
std::string JournalFolderUnwritable(const std::string& folder, const std::string& why);
std::string FolderInJournalsPlace(const std::string& journalName);
std::string EarlierJournalStillThere(const std::string& path);
std::string ChangeTooLargeToJournal(std::size_t maxBytes);
std::string JournalNotDeleted(const std::string& path, const std::string& reason, const char* otherwise);
std::string JournalUnreadable(const std::string& path, const std::string& reason);
std::string JournalNotOurs(const std::string& path, const std::string& refusal);
std::string CutOffUndone(const std::string& run, std::size_t putBack);
std::string CutOffUndoneInPart(const std::string& run, const std::string& path, std::size_t putBack,
                               const std::string& notPutBack);

// A move of a folder's files that was cut off, as the next run finishes or undoes it.
inline constexpr char kNotAMoveJournal[] = "It is not a whole journal of a move of a folder's files.";
inline constexpr char kMoveFinishedOrUndoneOnceMore[] = "the move will be finished or undone once more.";
// finished: the folder's values pointed at the new place, so the old copies went; else the new copies went.
// kept and notDone are lists of files, a line each, or empty.
std::string CutOffMoveTold(const std::string& folder, bool finished, std::size_t files, const std::string& kept,
                           const std::string& notDone);
// A move's journal kept because a file of its finish or undo was not taken care of; and a later move refused
// while it is there. What the user can do: free the files and run again, or delete the journal.
std::string MoveJournalKept(const std::string& path);
std::string EarlierMoveNotDone(const std::string& path);
